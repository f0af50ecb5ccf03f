// Setting Pane fields through the Pane dialog's controls and rules.
#include "properties/PaneSettings.h"

#include "imaging/Pictures.h"
#include "properties/PaneControls.h"
#include "properties/PaneProperties.h"

#include <QDir>
#include <QFileInfo>

namespace qv {
namespace {

using Result = FieldSetting::Result;

PaneDialogState& dlg(Workspace& ws) { return ws.dialogs.panes; }

FieldSetting result(Result r, const QString& field, const QString& value, const QString& rule = {}) {
  return {r, field, value, rule};
}

QString boxRule(int k) {
  const ValBoxRule& r = ValBoxRuleOf(k);
  QString rule = QStringLiteral("the box holds %1 digit%2, at most %3").arg(r.length).arg(r.length > 1 ? "s" : "").arg(r.maximum);
  if (r.minimum > 0) rule += QStringLiteral(" and at least %1").arg(r.minimum);
  if (r.zeroBecomesOne) rule += QStringLiteral(", and its key 0 types 1");
  return rule;
}

// A value typed over the whole box: each key through the box's key filter,
// then its length, its maximum and, as accept stores it, its minimum.
FieldSetting setBox(Workspace& ws, const QString& field, const QString& value, int k) {
  for (QChar c : value) {
    const auto key = Text_Val_KeyPress(ws, k, c);
    if (!key || !key->isDigit())
      return result(Result::Refused, field, value,
                    c.isDigit() ? QStringLiteral("the box refuses the keys 4 to 9") : QStringLiteral("the box takes digits only"));
  }
  Text_Val_Insert(ws, k, {}, value, {});
  bool number = false;
  const qint64 given = value.toLongLong(&number);
  const int kept = std::max(ValNumber(dlg(ws), k), ValBoxRuleOf(k).minimum);
  return result(number && given == kept ? Result::Stored : Result::Clamped, field, value, boxRule(k));
}

// An entry of a list by its index.
FieldSetting setList(Workspace& ws, const QString& field, const QString& value, ListState PaneDialogState::*list) {
  ListState& l = dlg(ws).*list;
  bool number = false;
  const int i = value.toInt(&number);
  if (!number || i < 0 || i >= l.Entries.size()) {
    QStringList entries;
    for (int e = 0; e < l.Entries.size(); ++e) entries << QStringLiteral("%1 %2").arg(e).arg(l.Entries[e]);
    return result(Result::Refused, field, value, QStringLiteral("the list's entries are ") + entries.join(", "));
  }
  l.Index = i;
  ListChosen(ws, list);
  return result(Result::Stored, field, value);
}

// 0 "No" / "Inactive" or 1 "Yes" / "Active"; nullopt for anything else.
std::optional<int> optionOf(const QString& value) {
  if (value == u"0" || value == u"1") return value.toInt();
  return std::nullopt;
}

FieldSetting setOption(Workspace& ws, const QString& field, const QString& value, int PaneDialogState::*option) {
  const auto index = optionOf(value);
  if (!index) return result(Result::Refused, field, value, QStringLiteral("an option pair is 0 or 1"));
  if (option == &PaneDialogState::Option_UseURL) Option_UseURL_Click(ws, *index);
  else dlg(ws).*option = *index;
  return result(Result::Stored, field, value);
}

// A text box: what it keeps of the value.
FieldSetting keptText(const QString& field, const QString& value, const QString& kept, int most) {
  return result(kept == value ? Result::Stored : Result::Clamped, field, value,
                QStringLiteral("the box holds at most %1 characters, and never the character %2").arg(most).arg(FieldSeparator));
}

// An entry of a Writing list by its text.
bool chooseEntry(Workspace& ws, ListState PaneDialogState::*list, const QString& value, void (*handler)(Workspace&)) {
  const int i = int((dlg(ws).*list).Entries.indexOf(value));
  if (i < 0) return false;
  (dlg(ws).*list).Index = i;
  handler(ws);
  return true;
}

FieldSetting setColour(Workspace& ws, const QString& field, const QString& value, Long WritingLook::*member) {
  const bool fore = member == &WritingLook::ForeColor;
  ListState PaneDialogState::*const list = fore ? &PaneDialogState::cmbFontColorTXT : &PaneDialogState::cmbBackColorTXT;
  const int named = int((dlg(ws).*list).Entries.indexOf(value));
  if (named >= 0 && named < 5) {
    chooseEntry(ws, list, value, fore ? cmbFontColorTXT_Click : cmbBackColorTXT_Click);
    return result(Result::Stored, field, value);
  }
  // "Define": a colour chooser's colour, as dump shows it (red in the low
  // byte) or written #RRGGBB.
  bool number = false;
  const qint64 n = value.toLongLong(&number);
  const QColor c(value);
  if (number ? n < 0 || n > 0xFFFFFF : !value.startsWith('#') || value.size() != 7 || !c.isValid())
    return result(Result::Refused, field, value, QStringLiteral("a colour is Black, White, Red, Green, Blue, #RRGGBB or a number as dump shows it"));
  dlg(ws).Text_Writing.*member = dlg(ws).ColorSwatchTXT = number ? Long(n) : fromQRgb(c.rgb());
  return result(Result::Stored, field, value);
}

FieldSetting setLook(Workspace& ws, const QString& field, const QString& value, const Control& c) {
  PaneDialogState& d = dlg(ws);
  if (const auto text = std::get_if<QString WritingLook::*>(&c.look)) {
    if (*text == &WritingLook::Text) {
      // Typing into the Writing makes it "Active".
      d.Option_UseWriting = 1;
      Text_Writing_Change(ws, value);
      return keptText(field, value, d.Text_Writing.Text, MaxWritingLength);
    }
    if (chooseEntry(ws, &PaneDialogState::cmbFontNameTXT, value, cmbFontNameTXT_Click)) return result(Result::Stored, field, value);
    return result(Result::Refused, field, value, QStringLiteral("the font list holds no such font"));
  }
  if (std::holds_alternative<double WritingLook::*>(c.look)) {
    if (chooseEntry(ws, &PaneDialogState::cmbFontSizeTXT, value, cmbFontSizeTXT_Click)) return result(Result::Stored, field, value);
    return result(Result::Refused, field, value, QStringLiteral("the size list holds 8 to 72 in steps of 2"));
  }
  if (const auto flag = std::get_if<bool WritingLook::*>(&c.look)) {
    const auto index = optionOf(value);
    if (!index) return result(Result::Refused, field, value, QStringLiteral("a style is 0 or 1"));
    d.Text_Writing.**flag = *index == 1;
    return result(Result::Stored, field, value);
  }
  return setColour(ws, field, value, std::get<Long WritingLook::*>(c.look));
}

FieldSetting setRevealPane(Workspace& ws, const QString& field, const QString& value) {
  ListState& l = dlg(ws).List1;
  bool number = false;
  const int slot = value.toInt(&number);
  const int i = number ? int(l.ItemData.indexOf(slot)) : -1;
  if (i < 0) return result(Result::Refused, field, value, QStringLiteral("it is 0 or the slot of a Pane in the layer list"));
  l.Index = i;
  return result(Result::Stored, field, value);
}

FieldSetting setSound(Workspace& ws, const QString& field, const QString& value) {
  ListState& l = dlg(ws).Combo_Sound;
  const int entry = int(l.Entries.indexOf(value));
  if (entry >= 0 && entry != LoadSoundEntry) {
    l.Index = entry;
    Combo_Sound_Click(ws);
    return result(Result::Stored, field, value);
  }
  const Outcome loaded = LoadSoundIntoList(ws, value);
  if (loaded.hasFailed())
    return result(Result::Refused, field, value, QDir::toNativeSeparators(loaded.failure().file) + ": " + loaded.failure().reason);
  return result(Result::Stored, field, value);
}

// Fields with code of their own in the dialog.
FieldSetting setOwn(Workspace& ws, const QString& field, const QString& value) {
  PaneDialogState& d = dlg(ws);
  if (field == u"Width") return setBox(ws, field, value, WidthBox);
  if (field == u"Height") return setBox(ws, field, value, HeightBox);
  if (field == u"BlackTransparent") return setOption(ws, field, value, &PaneDialogState::Option_MakeTransparent);
  if (field == u"UseURL") return setOption(ws, field, value, &PaneDialogState::Option_UseURL);
  if (field == u"URL") {
    // The project keeps 2,048 characters of it.
    Text_URL_Change(ws, value);
    return keptText(field, value, ProjectTextOf(d.Text_URL.Text, MaxUrlLength), MaxUrlLength);
  }
  if (field == u"RevealPane") return setRevealPane(ws, field, value);
  return setSound(ws, field, value);
}

}  // namespace

FieldSetting SetPaneControl(Workspace& ws, const QString& field, const QString& value) {
  const PaneField* f = PaneFieldByName(field);
  if (!f) return result(Result::Refused, field, value, QStringLiteral("a Pane has no such field"));
  const Control& c = FieldControls()[size_t(f - PaneFields().data())];
  switch (c.kind) {
    case Control::None: return result(Result::Refused, field, value, QStringLiteral("the Pane dialog does not set it"));
    case Control::Own: return setOwn(ws, field, value);
    case Control::Box: return setBox(ws, field, value, c.box);
    case Control::List: return setList(ws, field, value, c.list);
    case Control::Option: return setOption(ws, field, value, c.option);
    case Control::Text: Text_Label_Change(ws, value); return keptText(field, value, dlg(ws).*c.text, MaxLabelLength);
    case Control::Look: return setLook(ws, field, value, c);
  }
  return {};
}

QVector<FieldSetting> SetPaneFields(Workspace& ws, int slot, const QStringList& assignments) {
  QVector<FieldSetting> out;
  QVector<std::pair<QString, QString>> values;
  for (const QString& a : assignments) {
    const QString field = a.section('=', 0, 0), value = a.section('=', 1);
    if (!a.contains('=')) out.append(result(Result::Refused, a, {}, QStringLiteral("a field is set as FIELD=VALUE")));
    else if (field != u"Picture") values.append({field, value});
    else {
      PanePicture pic;
      const Outcome read = ReadPanePicture(value, pic);
      if (read.hasFailed()) {
        out.append(result(Result::Refused, field, value, read.failure().reason));
        continue;
      }
      // As Load a Picture: the dialog then shows the Label it gave.
      PutPictureIntoPane(ws, slot, pic, QFileInfo(value).fileName());
      out.append(result(Result::Stored, field, value));
    }
  }
  ws.pointer.TargetPane = Integer(slot);
  FillRevealList(ws);
  LoadPaneProperties(ws, slot);
  for (const auto& [field, value] : values) out.append(SetPaneControl(ws, field, value));
  const PaneDialogState& d = dlg(ws);
  bool refused = false;
  for (FieldSetting& s : out) {
    const PaneField* f = PaneFieldByName(s.field);
    const bool writing = f && FieldControls()[size_t(f - PaneFields().data())].writing;
    if (s.result != Result::Refused && writing && d.Option_UseWriting != 1)
      s = result(Result::Refused, s.field, s.value, QStringLiteral("the Writing's fields are stored only while UseWriting is 1"));
    if (s.result != Result::Refused && s.field == u"URL" && d.Option_UseURL != 1)
      s = result(Result::Refused, s.field, s.value, QStringLiteral("the address is stored only while UseURL is 1"));
    refused |= s.result == Result::Refused;
  }
  if (!refused) UpdatePaneProperties(ws);
  return out;
}

}  // namespace qv
