// Pane lifecycle: add with defaults, remove after confirmation, composite
// the Board into the Background; the layer list and the Target menu items.
#include "editing/Panes.h"

#include "imaging/BoardRender.h"
#include "imaging/Sheets.h"
#include "shell/Platform.h"
#include "shell/Setups.h"

namespace qv {

const QString DefaultPaneUrl = QStringLiteral("quorvel.example.org");

namespace {
// The position and size a new Pane is given.
constexpr int NewLeft = 50, NewTop = 50, NewSize = 100;
}  // namespace

void AddPane(Workspace& ws) {
  ws.picStage.Pointer = MousePointer::Hourglass;
  ws.PaneCount = Integer(ws.PaneCount + 1);
  if (ws.PaneCount >= MaxPanes + 1) {
    ws.PaneCount = MaxPanes;
    ws.picStage.Pointer = MousePointer::Arrow;
    return;
  }
  const int slot = FindFreeSlot(ws);
  if (slot == 0) {  // the count was out of step with the table
    ws.PaneCount = Integer(ws.PaneCount - 1);
    ws.picStage.Pointer = MousePointer::Arrow;
    return;
  }
  ws.CurrentPane = slot;
  AssignSheetSlot(ws);
  const PaneRecord& p = ws.Pane(slot);
  const QImage& picture = ws.picResize.Picture();
  PaintPicture(ws.picSprites.Image(), picture, p.SheetX, p.SheetY, NewSize, NewSize);
  ws.picSprites.TakeImageAsPicture();
  // The new Pane shows in front of everything until the next redraw.
  PaintPicture(ws.picStage.Image(), picture, NewLeft, NewTop, NewSize, NewSize);
  InitPaneRecord(ws);
  AddZorderItem(ws);
  ws.picStage.Pointer = MousePointer::Arrow;
}

void InitPaneRecord(Workspace& ws) {
  const int n = ws.CurrentPane;
  PaneRecord& p = ws.Pane(n);
  p.InUse = QvTrue;
  p.Left = NewLeft;
  p.Top = NewTop;
  p.Width = NewSize;
  p.Height = NewSize;
  p.BlackTransparent = QvFalse;
  const QPoint o = SheetCellOrigin(n);
  p.SheetX = Integer(o.x());
  p.SheetY = Integer(o.y());
  p.UseWriting = QvFalse;
  p.WritingText = QStringLiteral("none");
  p.WritingFontName = QStringLiteral("MS Sans Serif");
  p.WritingForeColor = Black;
  p.WritingBackColor = White;
  p.WritingFontSize = 10;
  p.WritingBold = p.WritingItalic = p.WritingUnderline = QvFalse;
  p.WritingMode = 0;
  p.WritingWidth = NewSize;
  p.WritingHeight = NewSize;
  p.Sound = 0;
  p.PictureLoaded = QvFalse;
  p.PictureName = QStringLiteral("%1.bmp").arg(n, 2, 10, QLatin1Char('0'));
  p.UseURL = QvFalse;
  p.URL = DefaultPaneUrl;
  p.Process = 0;
  p.StartValue = 20;
  p.ProcessAmount = 1;
  p.Layer = Integer(n);
  p.EffectType = 0;
  p.EffectDuration = 0;
  p.MouseEffect = 1;
  p.Visible = QvTrue;
  p.RevealPane = 0;
  p.RevealValue = 1;
  p.CelWidth = p.CelHeight = 0;
  p.CelsAcross = p.CelsDown = 1;
  p.CelDelay = p.CelDelayCount = 0;
  p.CelCount = 1;
  p.FlipOnBounds = QvFalse;
  p.Label = p.PictureName;
  p.FlipCode = 1;
  p.Direction = 0;
  p.Collision = 1;
  p.MoveType = 0;
  p.Speed = 1;
  p.MoveDelay = 0;
  p.LifeStartValue = 19;
  p.LifeEndValue = 10;
  p.MouseOver = p.SpareFlag = QvFalse;
}

void AddZorderItem(Workspace& ws) {
  ws.win.List_Zorder.append({ws.Pane(ws.CurrentPane).Label, ws.CurrentPane});
}

void ConfirmRemovePane(Workspace& ws) {
  const QString title = QStringLiteral("Remove Pane - ") + QString::number(ws.CurrentPane);
  if (!ws.platform->AskYesNo(title, QStringLiteral("Really remove this Pane ?"))) return;
  RemovePane(ws);
  RedrawBoard(ws);
}

void RemovePane(Workspace& ws) {
  if (ws.win.Shape1[0].Visible) ws.CurrentPane = ws.TargetPane;
  PaneRecord& p = ws.Pane(ws.CurrentPane);
  p.InUse = QvFalse;
  p.PictureLoaded = QvFalse;
  p.Width = p.Height = p.Left = p.Top = 0;
  p.CelCount = 1;
  AssignSheetSlot(ws);
  FreeSheetCells(ws);
  auto& list = ws.win.List_Zorder;
  for (int i = 0; i < list.size(); ++i) {
    if (list[i].ItemData == ws.CurrentPane) {
      list.removeAt(i);
      break;
    }
  }
  ws.PaneCount = Integer(std::max(ws.PaneCount - 1, 0));
  ws.win.Shape1[0].Visible = false;
  ws.Dragging = QvFalse;
  ws.win.Lab_Readouts = IdleReadout;
  ws.HoverFound = QvFalse;
  DisablePaneMenus(ws);
}

void CompositePanes(Workspace& ws) {
  if (!ws.platform->AskYesNo(QStringLiteral("Composite Panes - "),
                             QStringLiteral("Really duplicate Panes to the Background ?")))
    return;
  ws.picBackground.SetSize(ws.picStage.Width(), ws.picStage.Height());
  ws.picBackground.SetPicture(ws.picStage.Image());
}

void List_Zorder_Click(Workspace& ws, int row) {
  if (isSet(ws.DialogFilling) || row < 0 || row >= ws.win.List_Zorder.size()) return;
  ws.win.List_ZorderIndex = row;
  ws.CurrentPane = ws.win.List_Zorder[row].ItemData;
  ws.Dragging = QvFalse;
  ws.win.Shape1[0].Visible = ws.win.Shape1[1].Visible = true;
  ws.win.Frame_ListZ.Visible = false;
  PlaceTargetBox(ws);
  ws.TargetPane = Integer(ws.CurrentPane);
  PlaceHoverBox(ws);
  EnablePaneMenus(ws);
}

void EnablePaneMenus(Workspace& ws) {
  MainWindowState& w = ws.win;
  w.setMenuEnabled("mnu_LoadsPicture", true);
  if (isSet(ws.LibrariesPresent)) w.setMenuEnabled("mnu_LoadPaneLibrary", true);
  for (const char* m : {"mnu_AddCustomPane", "mnu_EditPane", "mnu_ResizePane", "mnu_RemovePane", "mnu_Flip"})
    w.setMenuEnabled(m, true);
}

void DisablePaneMenus(Workspace& ws) {
  MainWindowState& w = ws.win;
  if (!w.menuEnabled("mnu_EditPane") || isSet(ws.HoverFound)) return;
  for (const char* m : {"mnu_LoadsPicture", "mnu_LoadPaneLibrary", "mnu_EditPane", "mnu_ResizePane",
                        "mnu_RemovePane", "mnu_Flip"})
    w.setMenuEnabled(m, false);
  w.setMenuEnabled("mnu_AddCustomPane", true);
}

}  // namespace qv
