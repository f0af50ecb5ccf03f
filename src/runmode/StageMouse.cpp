// Board mouse handling: hover, Target, drags, the layer list, Board moves,
// and clicks in RunMode.
#include "runmode/StageMouse.h"

#include "editing/Panes.h"
#include "imaging/BoardRender.h"
#include "runmode/ClickActions.h"
#include "shell/WindowHost.h"

namespace qv {
namespace {

void hideFastIcons(Workspace& ws) {
  for (auto& icon : ws.win.Img_FastIcons) icon.Visible = false;
}

void designPress(Workspace& ws, int button, double x, double y) {
  MainWindowState& win = ws.win;
  if (win.Frame_ListZ.Visible) win.Frame_ListZ.Visible = false;
  if (button == RightButton) {
    ws.surfaces.picStage.Pointer = MousePointer::Arrow;
    ws.pointer.Dragging = QvFalse;
    hideFastIcons(ws);
    if (win.Shape1[1].Visible) {
      // The quick Target selector: the Pane's entry is selected in code,
      // which runs the list's click handler (the Pane becomes the Target),
      // and the list opens at the pointer.
      win.Shape1[1].Visible = false;
      for (int i = 0; i < ws.project.List_Zorder.size(); ++i) {
        if (ws.project.List_Zorder[i].ItemData == ws.pointer.CurrentPane) {
          win.List_ZorderIndex = i;
          List_Zorder_Click(ws, i);
          break;
        }
      }
      // The list opens at the pointer; the frame lives in the Board's holder.
      win.Frame_ListZ.Left = ws.surfaces.picStage.Left + roundHalfEven(x);
      win.Frame_ListZ.Top = ws.surfaces.picStage.Top + roundHalfEven(y);
      win.Frame_ListZ.Visible = true;
    } else {
      // Modal: the chosen size is applied before the redraw below.
      ws.windows->PopupMenu(Menu::BoardSize);
    }
    RedrawBoard(ws);
    return;
  }
  win.picFastMenu.Enabled = false;
  ws.pointer.MouseX = x;
  ws.pointer.MouseY = Integer(roundHalfEven(y));
  if (isSet(ws.pointer.Dragging)) {
    // A second press during a drag ends it.
    RedrawBoard(ws);
    ws.pointer.Dragging = QvFalse;
    win.Shape1[0].Visible = win.Shape1[1].Visible = false;
    ws.pointer.CurrentPane = ws.pointer.LastTargetPane;
    return;
  }
  ws.pointer.Dragging = QvFalse;
  ws.pointer.CurrentPane = 0;
  ws.pointer.TargetPane = 0;
  win.Shape1[0].Visible = false;
  DisablePaneMenus(ws);
  TargetPaneAt(ws);
  PlaceHoverBox(ws, ws.pointer.CurrentPane);
  if (!isSet(ws.pointer.Dragging) && !isSet(ws.project.BoardSettings.BoardLocked)) {
    // The Board is dragged: hidden while it moves, the press point kept for
    // the drop.
    Surface& stage = ws.surfaces.picStage;
    stage.Enabled = true;
    stage.Pointer = MousePointer::FourWayArrow;
    stage.Visible = false;
    win.BoardMoving = true;
    win.BoardGrabX = roundHalfEven(x);
    win.BoardGrabY = roundHalfEven(y);
    win.Shape1[0].Visible = false;
    DisablePaneMenus(ws);
  }
}

}  // namespace

void picStage_MouseDown(Workspace& ws, int button, double x, double y) {
  if (isSet(ws.run.Running)) {
    // A click acts on the Pane the run loop's hover test marked last.
    const int slot = ws.pointer.CurrentPane;
    if (validSlot(slot) && isSet(ws.RunPane(slot).MouseOver)) PaneClickActions(ws, slot);
    return;
  }
  designPress(ws, button, x, y);
}

void picStage_MouseMove(Workspace& ws, int, double x, double y) {
  MainWindowState& win = ws.win;
  if (!isSet(ws.pointer.Dragging)) win.Shape1[1].Visible = false;
  if (win.Frame_ListZ.Visible) ws.pointer.Dragging = QvFalse;
  ws.pointer.MouseX = x;
  ws.pointer.MouseY = Integer(roundHalfEven(y));
  if (isSet(ws.pointer.Dragging)) {
    win.Shape1[0].Left = roundHalfEven(x);
    win.Shape1[0].Top = roundHalfEven(y);
    win.Shape1[0].Visible = true;
    win.Shape1[1].Visible = false;
    PaneRecord& p = ws.Pane(ws.pointer.CurrentPane);
    p.Left = Integer(roundHalfEven(ws.pointer.MouseX));
    p.Top = ws.pointer.MouseY;
    if (isSet(ws.project.BoardSettings.FloatPanes))
      RedrawBoardDragFloat(ws);
    else if (!isSet(ws.project.BoardSettings.WirePanes))
      RedrawBoardDrag(ws);
    return;
  }
  if (!isSet(ws.run.Running)) {
    HoverPaneAt(ws);
    ShowFastIcons(ws);
  }
}

void picStage_MouseUp(Workspace& ws, int button, double, double) {
  if (isSet(ws.run.Running)) return;
  ws.win.picFastMenu.Enabled = true;
  if (button == RightButton) return;
  PaneRecord& p = ws.Pane(ws.pointer.CurrentPane);
  if (p.Left != ws.pointer.DragStartLeft) p.Left = Integer(roundHalfEven(ws.pointer.MouseX));
  if (p.Top != ws.pointer.DragStartTop) p.Top = ws.pointer.MouseY;
  PlaceTargetBox(ws, ws.pointer.CurrentPane);
  RedrawBoard(ws);
  ws.pointer.Dragging = QvFalse;
  ws.pointer.CurrentPane = ws.pointer.LastTargetPane;
}

void TargetPaneAt(Workspace& ws) {
  for (int n = 1; n <= MaxPanes; ++n) {
    const PaneRecord& p = ws.project.PaneTable[size_t(n)];
    const bool inside = p.Left <= ws.pointer.MouseX && ws.pointer.MouseX <= p.Left + p.Width && p.Top <= ws.pointer.MouseY &&
                        ws.pointer.MouseY <= p.Top + p.Height;
    if (!inside || !isSet(p.InUse)) continue;
    ws.pointer.CurrentPane = ws.pointer.LastTargetPane = n;
    ws.pointer.TargetPane = Integer(n);
    ws.win.Shape1[0].Visible = true;
    ws.pointer.Dragging = QvTrue;
    ws.pointer.DragStartLeft = p.Left;
    ws.pointer.DragStartTop = p.Top;
    EnablePaneMenus(ws);
    PlaceTargetBox(ws, n);
    ws.win.Label1 = QString::number(n);
    return;
  }
}

void ShowFastIcons(Workspace& ws) {
  if (!validSlot(ws.pointer.CurrentPane)) return;
  const PaneRecord& p = ws.Pane(ws.pointer.CurrentPane);
  auto& icons = ws.win.Img_FastIcons;
  const int bottom = p.Top + (p.CelCount > 1 ? p.CelHeight : p.Height);
  const bool inZone = p.Left <= ws.pointer.MouseX && ws.pointer.MouseX <= p.Left + 64 && bottom - 16 <= ws.pointer.MouseY &&
                      ws.pointer.MouseY <= bottom;
  if (inZone) {
    if (icons[0].Visible || !isSet(p.InUse)) return;
    for (int i = 0; i < 4; ++i) {
      icons[size_t(i)].Left = p.Left + 16 * i;
      icons[size_t(i)].Top = bottom - 16;
      icons[size_t(i)].Visible = true;
    }
  } else if (icons[0].Visible) {
    hideFastIcons(ws);
  }
}

bool BoardDragOver(Workspace& ws, int holderX, int holderY) {
  MainWindowState& win = ws.win;
  Surface& stage = ws.surfaces.picStage;
  ws.pointer.MouseX = holderX;
  ws.pointer.MouseY = Integer(holderY);
  const ControlState& holder = win.picHolder;
  if (holderX <= holder.Left + 10 || holderX >= holder.Width - 10 || holderY <= holder.Top + 30)
    stage.Visible = true;
  if (holderY >= holder.Height - (win.picFastMenu.Height + 10)) {
    // The bottom band ends the drag where the Board was.
    stage.Visible = true;
    stage.Pointer = MousePointer::Arrow;
    win.BoardMoving = false;
    win.picFastMenu.Enabled = true;
    return true;
  }
  return false;
}

void BoardMoveDrop(Workspace& ws, int holderX, int holderY) {
  Surface& stage = ws.surfaces.picStage;
  ws.win.BoardMoving = false;
  stage.Pointer = MousePointer::Arrow;
  stage.Left = holderX - ws.win.BoardGrabX;
  stage.Top = holderY - ws.win.BoardGrabY;
  stage.Visible = true;
  ws.win.picFastMenu.Enabled = true;
}

}  // namespace qv
