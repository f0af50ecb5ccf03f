// Start-up lists and defaults, window layout and design icons.
#include "shell/Setups.h"

#include "shell/BoardSizes.h"
#include "shell/Platform.h"
#include "shell/WindowHost.h"

namespace qv {

const QString IdleReadout = QStringLiteral(" quorvel.example.org");

namespace {

const QStringList kColours = {"Black", "White", "Red", "Green", "Blue", "Define"};

QStringList fontSizes() {
  QStringList sizes;
  for (int s = 8; s <= 72; s += 2) sizes << QString::number(s);
  return sizes;
}

}  // namespace

void FillLists(Workspace& ws) {
  WindowHost& w = *ws.windows;
  ws.win.DialogFilling = QvTrue;
  ws.BoardSettings.WirePanes = QvFalse;
  ws.BoardSettings.FloatPanes = QvFalse;
  ws.pointer.TargetSelection = QvFalse;
  ws.win.Text_Writing.Text.clear();

  ws.surfaces.picSprites.SetSize(1000, 2000);
  ws.surfaces.picMasks.SetSize(1000, 2000);
  ws.pointer.CurrentPane = 1;

  // The Pane properties dialog.
  w.FillList("Combo_ValueType", {"none", "Add", "Subtract"}, 0);
  w.FillList("Combo_AnimationType",
             {"none", "Horizontal : left to right", "Horizontal : right to left",
              "Vertical : up and down", "Vertical : down and up", "Diagonal : poly-directional"},
             0);
  w.FillList("Combo_CollisionType", {"none", "Rebound"}, 1);
  w.FillList("Combo_EffectType", {"none", "Flash"}, 0);
  w.FillList("Combo_EffectsMouse", {"none", "Box", "Box and Label", "Label"}, 1);
  w.FillList("Combo_Sound", {"none", "Ding!"}, 0);
  w.FillList("Combo_Writing", {"Box - (may edit)", "Box - (locked)"}, 1);
  w.FillList("cmbStyleTXT", {"Regular", "Bold", "Italic", "Underline"}, 0);
  w.FillList("cmbFontColorTXT", kColours, 0);
  w.FillList("cmbBackColorTXT", kColours, 1);
  w.FillList("cmbFontNameTXT", ws.platform->ScreenFonts(), 0);
  w.FillList("cmbFontSizeTXT", fontSizes(), 1);

  // The Board properties dialog.
  w.FillList("Combo_Help",
             {"<< Topics >>", "Animation Tab", "Assigned Tab (Board)", "Assigned Tab (Panes)", "Board",
              "Board Sizes", "Composite Panes Background", "Data Tab", "Edit Properties", "Effects Tab",
              "End", "Flip ...", "Ground Tab", "Help ... About", "Load", "New Project", "Panes",
              "Remove Pane", "Resize Pane", "Run", "Save", "Stop", "Writing Tab", "FAQ", "SHORTCUTS"},
             0);
  w.ClearList("List_Help");
  w.ClearList("Text_Help");
  w.FillList("Combo_BackColType", {"Black", "White", "Red", "Green", "Blue", "Grey", "Define"}, 6);
  w.FillList("Combo_LabelCol", kColours, 5);
  w.FillList("Combo_SelectionColor", kColours, 5);
  w.SetSwatchColor("picLabelCol", White);
  w.SetSwatchColor("picBoxSelectColor", White);

  // Board defaults.
  BoardSettingsRecord& b = ws.BoardSettings;
  b.BoardBackColor = Grey;
  b.UseBackPicture = QvFalse;
  b.BackPictureName = QStringLiteral("none");
  b.BackPicturePath = QStringLiteral("none");
  b.LabelColor = White;
  b.SelectionColor = White;
  b.BoardLocked = QvFalse;

  ws.surfaces.picStage.SetBackColor(b.BoardBackColor);
  if (isSet(b.UseBackPicture)) ws.surfaces.picStage.SetPicture(ws.surfaces.picBackground.Picture());

  ws.win.Combo_Board = BoardSizeEntries();
  SelectBoardSize(ws, 2);

  // The pane library list is filled by the library scan.
  ws.project.LibrariesPresent = QvFalse;
  w.ClearList("List_Library");

  ws.win.Shape1[0].Visible = false;
  ws.win.Lab_Readouts = IdleReadout;
  ws.win.KeyPreview = false;
  ws.win.DialogFilling = QvFalse;
}

void PlaceBoardBelowBar(Workspace& ws) {
  ws.surfaces.picStage.Top = ws.win.picFastMenu.Top + ws.win.picFastMenu.Height;
  ws.surfaces.picStage.Left = ws.win.picHolder.Left + 1;
}

void LayoutMainWindow(Workspace& ws) {
  MainWindowState& win = ws.win;
  const QSize inner = ws.windows->MainInnerSize();
  win.picIntro.Width = IntroWidth;
  win.picIntro.Height = IntroHeight;
  win.picHolder.Top = 1;
  win.picHolder.Width = std::max(inner.width() - 2, 0);
  win.picHolder.Height = std::max(inner.height() - 1, 0);
  win.Picture1.Left = 0;
  win.Picture1.Top = ws.surfaces.picStage.Top;
  win.picFastMenu.Width = win.picHolder.Width + 2;
  win.picFastMenu.Left = win.picHolder.Width - win.picFastMenu.Width;
  win.picFastMenu.Top = 0;
  win.Line_FastMenuX2 = win.picHolder.Width + 2;
  PlaceBoardBelowBar(ws);
  if (win.Combo_BoardIndex == MaxBoardEntry)
    ws.surfaces.picStage.SetSize(std::max(win.picHolder.Width - 1, 1),
                        std::max(win.picHolder.Height - (win.picFastMenu.Height + 1), 1));

  // Icons from the right, each left of the previous one.
  auto& icon = win.Img_IconStrip;
  const int w = icon[4].Width;
  icon[4].Left = win.picFastMenu.Width - (w + 5);
  icon[5].Left = icon[4].Left - (w + 2);
  icon[0].Left = icon[5].Left - (w + 2);
  icon[7].Left = icon[0].Left - (w + 10);
  icon[6].Left = icon[7].Left - (w + 2);
  icon[8].Left = icon[6].Left - (w + 10);
  icon[3].Left = icon[8].Left - (w + 2);
  icon[10].Left = win.picFastMenu.Left + 2;
  win.Lab_ReadoutsLeft = icon[10].Left + icon[10].Width + 3;

  ws.project.BoardHeight = ws.surfaces.picStage.Height();
  ws.project.BoardWidth = Integer(ws.surfaces.picStage.Width());
  win.picIntro.Left = 10;
  win.picIntro.Top = 30;

  ws.BoardSettings.FloatPanes = toFlag(win.Option_FloatPanes == 1);
  ws.BoardSettings.WirePanes = toFlag(win.Option_WirePanes == 1);
  ws.BoardSettings.BoardLocked = toFlag(win.Option_BoardMove != 1);
}

void ShowDesignIcons(Workspace& ws) {
  for (int i : DesignIcons) ws.win.Img_IconStrip[size_t(i)].Visible = true;
}

void HideDesignIcons(Workspace& ws) {
  for (int i : DesignIcons) ws.win.Img_IconStrip[size_t(i)].Visible = false;
}

void WaitASec(Workspace& ws, int count) {
  if (count > 0) ws.platform->Wait(count * 30);
}

void RestoreDesignStage(Workspace& ws) {
  ws.win.picFastMenu.Visible = true;
  ws.surfaces.picStage.SetSize(ws.run.SavedWidth, ws.run.SavedHeight);
  PlaceBoardBelowBar(ws);
  ws.win.Picture1.Visible = false;
}

void IntroBlankNewProject(Workspace& ws) {
  ws.win.picIntro.Visible = false;
  ws.surfaces.picStage.Visible = true;
  ShowDesignIcons(ws);
  ws.win.KeyPreview = true;
}

void CloseLayerList(Workspace& ws) { ws.win.Frame_ListZ.Visible = false; }

}  // namespace qv
