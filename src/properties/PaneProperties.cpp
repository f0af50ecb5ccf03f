// The Pane properties dialog: opening, loading, validating, the Writing look
// and storing, all on the dialog's control values.
#include "properties/PaneProperties.h"

#include "editing/Panes.h"
#include "imaging/BoardRender.h"
#include "imaging/Pictures.h"
#include "imaging/Sheets.h"
#include "properties/PaneControls.h"
#include "shell/Platform.h"
#include "shell/WindowHost.h"

#include <type_traits>
#include <variant>

namespace qv {
namespace {

// The boxes' rules, in the order of the boxes.
const ValBoxRule ValBoxRules[ValBoxCount] = {
    {99, 1, false, false, 2, 2},    // StartValue
    {99, 1, true, false, 2, 2},     // LifeStartValue
    {99, 1, true, false, 2, 2},     // LifeEndValue
    {9, 0, false, true, 0, 1},      // Speed
    {9, 0, false, false, 1, 1},     // MoveDelay
    {99, 0, false, false, 0, 2},    // not used, not validated
    {99, 1, false, false, 2, 2},    // ProcessAmount
    {5, 1, true, false, 1, 1},      // CelsDown
    {5, 1, true, false, 1, 1},      // CelsAcross
    {200, 20, false, false, 2, 3},  // Height
    {200, 20, false, false, 2, 3},  // Width
    {99, 1, true, false, 2, 2},     // RevealValue
    {3, 0, true, false, 0, 1},      // EffectDuration
    {200, 20, false, false, 2, 3},  // WritingWidth
    {200, 20, false, false, 2, 3},  // WritingHeight
    {99, 0, false, false, 2, 2},    // CelDelay
};

Control boxControl(int box) { return {Control::Box, box}; }
Control listControl(ListState PaneDialogState::*list) { return {Control::List, 0, list}; }
Control optionControl(int PaneDialogState::*option) { return {Control::Option, 0, nullptr, option}; }
Control textControl(QString PaneDialogState::*text) { return {Control::Text, 0, nullptr, nullptr, text}; }
template <typename M>
Control lookControl(M member) {
  Control c{Control::Look};
  c.look = member;
  return c;
}
Control whileWriting(Control c) {
  c.writing = true;
  return c;
}

#define QV_CONTROL_None Control{}
#define QV_CONTROL_Own Control{Control::Own}
#define QV_CONTROL_Box(box) boxControl(box)
#define QV_CONTROL_List(list) listControl(&PaneDialogState::list)
#define QV_CONTROL_Option(option) optionControl(&PaneDialogState::option)
#define QV_CONTROL_Text(text) textControl(&PaneDialogState::text)
#define QV_CONTROL_Look(member) lookControl(&WritingLook::member)
#define QV_CONTROL_Writing(control) whileWriting(QV_CONTROL_##control)
#define QV_CONTROL_ROW(Name, Kind, Start, Added, Token, Page, Control) QV_CONTROL_##Control,

const QString SizeHelp = QStringLiteral("Constants which change the properties of a Pane.");

PaneDialogState& dlg(Workspace& ws) { return ws.dialogs.panes; }

void setVal(Workspace& ws, int k, int value) { Text_Val_Change(ws, k, QString::number(value)); }

// The number in a box, raised to the box's minimum.
int stored(const PaneDialogState& d, int k) { return std::max(ValNumber(d, k), ValBoxRules[k].minimum); }

// A list's selected index, within its entries (0 when none is selected).
int indexOf(const ListState& l) { return l.Index >= 0 && l.Index < l.Entries.size() ? l.Index : 0; }

// Selects an entry in code; an index the list does not have selects none.
void select(ListState& l, int index) { l.Index = index >= 0 && index < l.Entries.size() ? index : -1; }

void openPaneDialog(Workspace& ws) { ws.windows->ShowDialog(DialogKind::Panes); }

void setCaption(Workspace& ws, int slot) {
  dlg(ws).Caption = QStringLiteral("Pane : Properties - Layer ") + QString::number(slot);
}

void selectSizeTab(Workspace& ws) {
  dlg(ws).Tab = 1;
  dlg(ws).Label1 = SizeHelp;
}

}  // namespace

const std::array<Control, PaneFieldCount>& FieldControls() {
  static const std::array<Control, PaneFieldCount> controls = {QV_PANE_FIELDS(QV_CONTROL_ROW)};
  return controls;
}

void ListChosen(Workspace& ws, ListState PaneDialogState::*list) {
  if (list == &PaneDialogState::Combo_ValueType) Combo_ValueType_Click(ws);
  if (list == &PaneDialogState::Combo_EffectType) Combo_EffectType_Change(ws);
}

QString PaneTabInfo(int tab) {
  static const QString info[5] = {
      QStringLiteral("A maximum character (500) quick note which appends to selected Pane."),
      SizeHelp,
      QStringLiteral("Links to items such as Sounds and Urls, which occur on a mouse-Pane click."),
      QStringLiteral("Additional visual patterns which occur on a mouse-Pane click."),
      QStringLiteral("Animation which feeds from the Value first allocated in Data, which occur on a mouse-Pane click."),
  };
  return tab >= 0 && tab < 5 ? info[tab] : QString();
}

const ValBoxRule& ValBoxRuleOf(int k) { return ValBoxRules[std::clamp(k, 0, ValBoxCount - 1)]; }

Long NamedColour(int index) {
  static const Long colours[5] = {Black, White, RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)};
  return index >= 0 && index < 5 ? colours[index] : Black;
}

void FillPaneDialogLists(Workspace& ws) {
  PaneDialogState& d = dlg(ws);
  const QStringList colours = {"Black", "White", "Red", "Green", "Blue", "Define"};
  QStringList sizes;
  for (int s = 8; s <= 72; s += 2) sizes << QString::number(s);
  d.Combo_ValueType.Fill({"none", "Add", "Subtract"}, 0);
  Combo_ValueType_Click(ws);
  d.Combo_AnimationType.Fill({"none", "Horizontal : left to right", "Horizontal : right to left",
                              "Vertical : up and down", "Vertical : down and up", "Diagonal : poly-directional"},
                             0);
  d.Combo_CollisionType.Fill({"none", "Rebound"}, 1);
  d.Combo_EffectType.Fill({"none", "Flash"}, 0);
  Combo_EffectType_Change(ws);
  d.Combo_EffectsMouse.Fill({"none", "Box", "Box and Label", "Label"}, 1);
  FillSoundList(ws);
  d.Combo_Sound.Index = 0;
  d.Combo_Writing.Fill({"Box - (may edit)", "Box - (locked)"}, 1);
  d.cmbStyleTXT.Fill({"Regular", "Bold", "Italic", "Underline"}, 0);
  cmbStyleTXT_Click(ws);
  d.cmbFontColorTXT.Fill(colours, 0);
  cmbFontColorTXT_Click(ws);
  d.cmbBackColorTXT.Fill(colours, 1);
  cmbBackColorTXT_Click(ws);
  d.cmbFontNameTXT.Fill(ws.platform->ScreenFonts(), 0);
  cmbFontNameTXT_Click(ws);
  d.cmbFontSizeTXT.Fill(sizes, 1);
  cmbFontSizeTXT_Click(ws);
}

void mnu_EditPane_Click(Workspace& ws) {
  ws.pointer.CurrentPane = ws.pointer.TargetPane;
  FillRevealList(ws);
  LoadPaneProperties(ws, ws.pointer.TargetPane);
  setCaption(ws, ws.pointer.TargetPane);
  openPaneDialog(ws);
}

void mnu_ResizePane_Click(Workspace& ws) {
  ws.pointer.CurrentPane = ws.pointer.TargetPane;
  FillRevealList(ws);
  LoadPaneProperties(ws, ws.pointer.TargetPane);
  setCaption(ws, ws.pointer.TargetPane);
  selectSizeTab(ws);
  openPaneDialog(ws);
}

void FastIconResize(Workspace& ws) {
  FillRevealList(ws);
  LoadPaneProperties(ws, ws.pointer.TargetPane);
  selectSizeTab(ws);
  openPaneDialog(ws);
}

void FastIconEdit(Workspace& ws) {
  FillRevealList(ws);
  LoadPaneProperties(ws, ws.pointer.TargetPane);
  setCaption(ws, ws.pointer.TargetPane);
  openPaneDialog(ws);
  RedrawBoard(ws);
}

void FillRevealList(Workspace& ws) {
  const DialogFillingScope filling(ws.win);
  ListState& l = dlg(ws).List1;
  l.Clear();
  l.Add(QStringLiteral("none"), 0);
  for (const ZorderEntry& e : ws.project.List_Zorder) l.Add(e.Text, e.ItemData);
  l.Index = 0;
}

void LoadPaneProperties(Workspace& ws, int slot) {
  PaneDialogState& d = dlg(ws);
  const PaneRecord& p = ws.Pane(slot);
  setVal(ws, WidthBox, p.Width);
  setVal(ws, HeightBox, p.Height);
  for (int i = 0; i < PaneFieldCount; ++i) {
    const PaneField& f = PaneFields()[size_t(i)];
    const Control& c = FieldControls()[size_t(i)];
    switch (c.kind) {
      case Control::None:
      case Control::Own: break;
      case Control::Box: setVal(ws, c.box, int(f.number(p))); break;
      case Control::List:
        // Selecting an entry in code runs the list's handler.
        select(d.*c.list, int(f.number(p)));
        ListChosen(ws, c.list);
        break;
      case Control::Option: d.*c.option = isSet(Flag(f.number(p))) ? 1 : 0; break;
      case Control::Text: d.*c.text = f.text(p); break;
      case Control::Look:
        std::visit(
            [&](auto member) {
              auto& shown = d.Text_Writing.*member;
              using Shown = std::remove_reference_t<decltype(shown)>;
              if constexpr (std::is_same_v<Shown, QString>) shown = f.text(p);
              else if constexpr (std::is_same_v<Shown, bool>) shown = isSet(Flag(f.number(p)));
              else shown = Shown(f.number(p));
            },
            c.look);
        break;
    }
  }
  // The other fields with code of their own.
  d.Option_MakeTransparent = isSet(p.BlackTransparent) ? 1 : 0;
  d.Text_URL.Text = p.URL;
  Option_UseURL_Click(ws, isSet(p.UseURL) ? 1 : 0);
  const int reveal = p.RevealPane != 0 ? int(d.List1.ItemData.indexOf(p.RevealPane)) : 0;
  if (reveal >= 0) d.List1.Index = reveal;
  if (p.RevealPane == 0) d.Text_Val[RevealValueBox].Text = QStringLiteral("1");
  d.LoadedSounds.clear();
  FillSoundList(ws);
  SelectSound(ws, p.Sound);
  // Both colour lists show "Define"; no colour dialog opens while filling.
  const DialogFillingScope filling(ws.win);
  d.cmbBackColorTXT.Index = 5;
  d.cmbFontColorTXT.Index = 5;
}

void UpdatePaneProperties(Workspace& ws) {
  const int slot = ws.pointer.TargetPane;
  ws.pointer.CurrentPane = slot;
  if (!validSlot(slot)) return;
  PaneDialogState& d = dlg(ws);
  PaneRecord& p = ws.Pane(slot);

  if (indexOf(d.Combo_EffectType) == 0) d.Text_Val[EffectDurationBox].Text = QStringLiteral("0");
  const bool writing = d.Option_UseWriting == 1;
  for (int i = 0; i < PaneFieldCount; ++i) {
    const PaneField& f = PaneFields()[size_t(i)];
    const Control& c = FieldControls()[size_t(i)];
    if (c.writing && !writing) continue;
    switch (c.kind) {
      case Control::None:
      case Control::Own: break;
      case Control::Box: f.setNumber(p, stored(d, c.box)); break;
      case Control::List: f.setNumber(p, indexOf(d.*c.list)); break;
      case Control::Option: f.setNumber(p, toFlag(d.*c.option == 1)); break;
      case Control::Text: f.text(p) = d.*c.text; break;
      case Control::Look:
        std::visit(
            [&](auto member) {
              const auto& shown = d.Text_Writing.*member;
              using Shown = std::remove_cvref_t<decltype(shown)>;
              if constexpr (std::is_same_v<Shown, QString>) f.text(p) = shown;
              else if constexpr (std::is_same_v<Shown, bool>) f.setNumber(p, toFlag(shown));
              else if constexpr (std::is_same_v<Shown, double>) f.setNumber(p, std::clamp(roundHalfEven(shown), 1, 999));
              else f.setNumber(p, shown);
            },
            c.look);
        break;
    }
  }

  // The fields with code of their own, in the order their effects need.
  MoveZorderEntryToEnd(ws, slot);
  if (d.Option_MakeTransparent == 1) {
    if (!isSet(p.BlackTransparent)) {
      p.BlackTransparent = QvTrue;
      BuildPaneMask(ws, slot);
    }
  } else {
    p.BlackTransparent = QvFalse;
  }
  if (ValNumber(d, WidthBox) != p.Width || ValNumber(d, HeightBox) != p.Height) {
    const int oldWidth = p.Width, oldHeight = p.Height;
    p.Width = Integer(stored(d, WidthBox));
    p.Height = Integer(stored(d, HeightBox));
    RescalePane(ws, slot, oldWidth, oldHeight);
  }
  p.UseURL = toFlag(d.Option_UseURL == 1);
  if (isSet(p.UseURL)) p.URL = d.Text_URL.Text;
  p.RevealPane = Integer(d.List1.SelectedData());
  StoreSound(ws, p);

  // The fields the store derives.
  p.Direction = p.MoveType;
  if (p.MoveType == 5) p.FlipCode = 1;
  p.MoveDelayCount = p.MoveDelay;
  p.CelCount = Integer(p.CelsDown * p.CelsAcross);
  p.CelWidth = CelSize(p.Width, p.CelsAcross);
  p.CelHeight = CelSize(p.Height, p.CelsDown);

  RestorePicResize(ws);
  RedrawBoard(ws);
}

void Button_frmPanes_Click(Workspace& ws, int index) {
  ws.pointer.Dragging = QvFalse;
  ws.win.Shape1[0].Visible = ws.win.Shape1[1].Visible = false;
  ws.pointer.CurrentPane = ws.pointer.TargetPane;
  if (index == 1) {
    UpdatePaneProperties(ws);
    ws.pointer.Dragging = QvFalse;
  }
  ws.windows->HideDialog(DialogKind::Panes);
}

void SSTab1_Click(Workspace& ws, int tab) {
  dlg(ws).Tab = tab;
  dlg(ws).Label1 = PaneTabInfo(tab);
}

std::optional<QChar> Text_Val_KeyPress(Workspace& ws, int k, QChar key) {
  dlg(ws).PopularValueBox = k;
  if (key == QChar(8) || key == QChar(13)) return key;
  if (key < QLatin1Char('0') || key > QLatin1Char('9')) return std::nullopt;
  const ValBoxRule& r = ValBoxRuleOf(k);
  if (r.zeroBecomesOne && key == QLatin1Char('0')) return QLatin1Char('1');
  if (r.refuseFourToNine && key >= QLatin1Char('4')) return std::nullopt;
  return key;
}

std::optional<QString> Text_Val_Insert(Workspace& ws, int k, const QString& head, const QString& inserted,
                                       const QString& tail, qsizetype* typedLength) {
  QString typed;
  for (QChar c : inserted) {
    // Backspace and Enter pass the filter as keys; they are not text.
    if (const auto key = Text_Val_KeyPress(ws, k, c); key && key->isDigit()) typed += *key;
  }
  // The letters go first, then what does not fit: "a1b2c3" into a box of
  // two keeps "12".
  typed.truncate(std::max<qsizetype>(0, ValBoxRuleOf(k).length - head.size() - tail.size()));
  if (!inserted.isEmpty() && typed.isEmpty()) return std::nullopt;
  if (typedLength) *typedLength = typed.size();
  Text_Val_Change(ws, k, head + typed + tail);
  return dlg(ws).Text_Val[size_t(k)].Text;
}

int ValNumber(const PaneDialogState& d, int k) {
  const int maximum = ValBoxRuleOf(k).maximum;
  qint64 n = 0;
  for (QChar c : d.Text_Val[size_t(k)].Text) {
    if (!c.isDigit()) continue;
    n = std::min<qint64>(n * 10 + c.digitValue(), maximum + 1);
  }
  return int(std::min<qint64>(n, maximum));
}

void Text_Val_Change(Workspace& ws, int k, const QString& text) {
  if (k < 0 || k >= ValBoxCount) return;
  PaneDialogState& d = dlg(ws);
  d.PopularValueBox = k;
  TextState& box = d.Text_Val[size_t(k)];
  box.Text = text;
  if (k == UnusedBox) return;
  // Leading zeros vanish and an over-large value is cut to the maximum; an
  // empty or "0" box stays as it is. Minimums apply when storing.
  const int n = ValNumber(d, k);
  if (n != 0) box.Text = QString::number(n);
}

std::array<bool, 6> Text_Val_MouseDown(Workspace& ws, int k) {
  dlg(ws).PopularValueBox = k;
  const int popular = ValBoxRuleOf(k).popular;
  return {popular >= 1, popular == 2, popular == 2, popular == 2, popular == 2, popular == 2};
}

void mnuPopularValues_Click(Workspace& ws, int item) {
  static const int values[6] = {5, 10, 25, 50, 75, 99};
  if (item < 0 || item > 5) return;
  Text_Val_Change(ws, dlg(ws).PopularValueBox, QString::number(values[item]));
}

void Text_Label_Change(Workspace& ws, const QString& text) { dlg(ws).Text_Label = WithoutSeparator(text).left(99); }

void Text_URL_Change(Workspace& ws, const QString& text) { dlg(ws).Text_URL.Text = WithoutSeparator(text); }

bool Text_Writing_KeyPress(Workspace& ws, QChar key) {
  dlg(ws).Option_UseWriting = 1;
  return key != FieldSeparator;
}

void Text_Writing_Change(Workspace& ws, const QString& text) {
  dlg(ws).Text_Writing.Text = WithoutSeparator(text).left(500);
}

void Combo_ValueType_Click(Workspace& ws) {
  PaneDialogState& d = dlg(ws);
  const bool red = d.Combo_ValueType.Index == 0;
  d.Text_Val[StartValueBox].Red = d.Text_Val[ProcessAmountBox].Red = red;
}

void Combo_EffectType_Change(Workspace& ws) {
  if (dlg(ws).Combo_EffectType.Index == 0) dlg(ws).Text_Val[EffectDurationBox].Text = QStringLiteral("0");
}

void Option_UseURL_Click(Workspace& ws, int index) {
  dlg(ws).Option_UseURL = index;
  dlg(ws).Text_URL.Red = index != 1;
}

void cmbFontNameTXT_Click(Workspace& ws) {
  PaneDialogState& d = dlg(ws);
  if (d.cmbFontNameTXT.Index >= 0 && d.cmbFontNameTXT.Index < d.cmbFontNameTXT.Entries.size())
    d.Text_Writing.FontName = d.cmbFontNameTXT.Entries[d.cmbFontNameTXT.Index];
}

void cmbFontSizeTXT_Click(Workspace& ws) {
  PaneDialogState& d = dlg(ws);
  if (d.cmbFontSizeTXT.Index >= 0 && d.cmbFontSizeTXT.Index < d.cmbFontSizeTXT.Entries.size())
    d.Text_Writing.FontSize = d.cmbFontSizeTXT.Entries[d.cmbFontSizeTXT.Index].toDouble();
}

void cmbStyleTXT_Click(Workspace& ws) {
  WritingLook& w = dlg(ws).Text_Writing;
  switch (dlg(ws).cmbStyleTXT.Index) {
    case 0: w.Bold = w.Italic = w.Underline = false; break;
    case 1: w.Bold = true; break;
    case 2: w.Italic = true; break;
    case 3: w.Underline = true; break;
    default: break;
  }
}

void cmbFontColorTXT_Click(Workspace& ws) {
  PaneDialogState& d = dlg(ws);
  const int i = d.cmbFontColorTXT.Index;
  if (i >= 0 && i < 5) {
    d.Text_Writing.ForeColor = d.ColorSwatchTXT = NamedColour(i);
  } else if (i == 5) {
    writingColorChoice(ws, ColorTarget::WritingText);
  }
}

void cmbBackColorTXT_Click(Workspace& ws) {
  if (isSet(ws.win.DialogFilling)) return;
  PaneDialogState& d = dlg(ws);
  const int i = d.cmbBackColorTXT.Index;
  if (i >= 0 && i < 5) {
    d.Text_Writing.BackColor = d.ColorSwatchTXT = NamedColour(i);
  } else if (i == 5) {
    writingColorChoice(ws, ColorTarget::WritingBack);
  }
}

void ColorSwatchTXT_Click(Workspace& ws) {
  if (isSet(ws.win.DialogFilling)) return;
  dlg(ws).Text_Writing.ForeColor = dlg(ws).ColorSwatchTXT;
}

void writingColorChoice(Workspace& ws, ColorTarget target) {
  if (isSet(ws.win.DialogFilling)) return;
  PaneDialogState& d = dlg(ws);
  const auto chosen = ws.platform->ChooseColor(d.ColorDialogColor);
  if (!chosen) return;
  d.ColorDialogColor = *chosen;
  if (target == ColorTarget::WritingText) d.Text_Writing.ForeColor = *chosen;
  else if (target == ColorTarget::WritingBack) d.Text_Writing.BackColor = *chosen;
  d.ColorSwatchTXT = *chosen;
}

}  // namespace qv
