// Board mouse handling: hover, Target, drags, the layer list, Board moves,
// and clicks in RunMode.
#include "runmode/StageMouse.h"

#include "editing/Panes.h"
#include "editing/Selection.h"
#include "imaging/BoardRender.h"
#include "runmode/ClickActions.h"
#include "runmode/DragSnap.h"
#include "shell/TargetMarks.h"
#include "shell/WindowHost.h"

#include <algorithm>

namespace qv {
namespace {

void hideFastIcons(Workspace& ws) {
  for (auto& icon : ws.win.Img_FastIcons) icon.Visible = false;
}

// The Pane a press at the pointer finds: the front-most whose whole
// picture holds the point (the edges count); 0 for free Board.
int pressedPane(const Workspace& ws) {
  for (int n = 1; n <= MaxPanes; ++n) {
    const PaneRecord& p = ws.project.PaneTable[size_t(n)];
    const bool inside = p.Left <= ws.pointer.MouseX && ws.pointer.MouseX <= p.Left + p.Width && p.Top <= ws.pointer.MouseY &&
                        ws.pointer.MouseY <= p.Top + p.Height;
    if (inside && isSet(p.InUse)) return n;
  }
  return 0;
}

// A press with Shift or Ctrl held: on a Pane it takes the Pane into the
// selection, which it may then drag, or out of it; on free Board it starts
// a rubber band. Our addition, and a knowing difference: the original
// design takes no notice of Shift or Ctrl on a Board press.
void choosingPress(Workspace& ws, double x) {
  PointerValues& pt = ws.pointer;
  const int hit = pressedPane(ws);
  pt.CurrentPane = 0;
  if (!hit) {
    pt.Banding = true;
    pt.BandStart = {roundHalfEven(x), pt.MouseY};
    ws.win.RubberBand = {pt.BandStart.x(), pt.BandStart.y(), 0, 0, true, true};
    return;
  }
  if (ToggleSelected(ws, hit)) {
    TargetPaneAt(ws);
  } else if (const int t = ChosenTarget(ws)) {
    // Nothing is dragged; the release leaves the Target where it is.
    pt.CurrentPane = pt.LastTargetPane = t;
    pt.DragStartLeft = ws.Pane(t).Left;
    pt.DragStartTop = ws.Pane(t).Top;
  }
  ShowSelectionBoxes(ws);
}

// The rubber band let go: the Panes it touches join the selection; the
// front-most of them becomes the Target when there was none.
void finishBand(Workspace& ws) {
  PointerValues& pt = ws.pointer;
  pt.Banding = false;
  ControlState& band = ws.win.RubberBand;
  band.Visible = false;
  QVector<int> chosen = pt.Selection;
  if (chosen.isEmpty())
    if (const int t = ChosenTarget(ws)) chosen << t;
  for (int n : PanesTouching(ws, QRect(band.Left, band.Top, band.Width + 1, band.Height + 1)))
    if (!chosen.contains(n)) chosen << n;
  const int t = ChosenTarget(ws);
  if (!chosen.isEmpty()) SetSelection(ws, chosen, t ? t : *std::min_element(chosen.begin(), chosen.end()));
}

void designPress(Workspace& ws, int button, double x, double y, int shift) {
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
  ws.pointer.DragSnap = {};
  HideSnapGuides(ws);
  if (isSet(ws.pointer.Dragging)) {
    // A second press during a drag ends it.
    RedrawBoard(ws);
    ws.pointer.Dragging = QvFalse;
    win.Shape1[0].Visible = win.Shape1[1].Visible = false;
    ws.pointer.CurrentPane = ws.pointer.LastTargetPane;
    return;
  }
  if (shift & (ShiftMask | CtrlMask)) return choosingPress(ws, x);
  // A plain press on a selected Pane keeps the selection, to drag it; any
  // other plain press clears it.
  const int hit = pressedPane(ws);
  const bool keep = hit && ChosenPanes(ws).size() > 1 && ws.pointer.Selection.contains(hit);
  if (!keep) ClearSelection(ws);
  ws.pointer.PressKeptSelection = keep;
  ws.pointer.Dragging = QvFalse;
  ws.pointer.CurrentPane = 0;
  ws.pointer.TargetPane = 0;
  win.Shape1[0].Visible = false;
  DisablePaneMenus(ws);
  TargetPaneAt(ws);
  ShowSelectionBoxes(ws);
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

// A drag moves the Pane pressed, or the whole selection when it is one of
// it, its top-left corner to the pointer unless a snap takes it further.
void dragTo(Workspace& ws, double x, int shift) {
  PointerValues& pt = ws.pointer;
  const PaneRecord& dragged = ws.Pane(pt.CurrentPane);
  const QPoint pointer(roundHalfEven(x), pt.MouseY), from(dragged.Left, dragged.Top);
  const QVector<int> chosen = ChosenPanes(ws);
  const QVector<int> moving = chosen.size() > 1 && chosen.contains(pt.CurrentPane) ? chosen : QVector<int>{pt.CurrentPane};
  QPoint place = pointer;
  if (shift & AltMask) HideSnapGuides(ws);
  else place += SnapMove(ws, moving, pointer - from);
  pt.DragSnap = place - pointer;
  const QPoint by = place - from;
  for (int n : moving) {
    PaneRecord& p = ws.Pane(n);
    p.Left = Integer(std::clamp(p.Left + by.x(), -32768, 32767));
    p.Top = Integer(std::clamp(p.Top + by.y(), -32768, 32767));
  }
  ShowSelectionBoxes(ws);
}

}  // namespace

void picStage_MouseDown(Workspace& ws, int button, double x, double y, int shift) {
  if (isSet(ws.run.Running)) {
    // A click acts on the Pane the run loop's hover test marked last.
    const int slot = ws.pointer.CurrentPane;
    if (validSlot(slot) && isSet(ws.RunPane(slot).MouseOver)) PaneClickActions(ws, slot);
    return;
  }
  designPress(ws, button, x, y, shift);
}

void picStage_MouseMove(Workspace& ws, int, double x, double y, int shift) {
  MainWindowState& win = ws.win;
  if (!isSet(ws.pointer.Dragging)) win.Shape1[1].Visible = false;
  if (win.Frame_ListZ.Visible) ws.pointer.Dragging = QvFalse;
  ws.pointer.MouseX = x;
  ws.pointer.MouseY = Integer(roundHalfEven(y));
  if (ws.pointer.Banding) {
    const QPoint at(roundHalfEven(x), ws.pointer.MouseY);
    const QRect band = QRect(ws.pointer.BandStart, at).normalized();
    win.RubberBand = {band.x(), band.y(), band.width() - 1, band.height() - 1, true, true};
    return;
  }
  if (isSet(ws.pointer.Dragging)) {
    dragTo(ws, x, shift);
    const PaneRecord& p = ws.Pane(ws.pointer.CurrentPane);
    const QPoint place(p.Left, p.Top);
    win.Shape1[0].Left = place.x();
    win.Shape1[0].Top = place.y();
    win.Shape1[0].Visible = true;
    win.Shape1[1].Visible = false;
    if (isSet(ws.project.BoardSettings.FloatPanes))
      RedrawBoardDragFloat(ws, place);
    else if (!isSet(ws.project.BoardSettings.WirePanes))
      RedrawBoardDrag(ws, place);
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
  HideSnapGuides(ws);
  if (ws.pointer.Banding) {
    finishBand(ws);
    ws.pointer.CurrentPane = ws.pointer.LastTargetPane;
    return;
  }
  PaneRecord& p = ws.Pane(ws.pointer.CurrentPane);
  // A selection pressed and let go where it was: a plain click, which
  // clears it.
  if (ws.pointer.PressKeptSelection && p.Left == ws.pointer.DragStartLeft && p.Top == ws.pointer.DragStartTop)
    ClearSelection(ws);
  ws.pointer.PressKeptSelection = false;
  if (p.Left != ws.pointer.DragStartLeft) p.Left = Integer(roundHalfEven(ws.pointer.MouseX) + ws.pointer.DragSnap.x());
  if (p.Top != ws.pointer.DragStartTop) p.Top = Integer(ws.pointer.MouseY + ws.pointer.DragSnap.y());
  PlaceTargetBox(ws, ws.pointer.CurrentPane);
  RedrawBoard(ws);
  ws.pointer.Dragging = QvFalse;
  ws.pointer.CurrentPane = ws.pointer.LastTargetPane;
}

void TargetPaneAt(Workspace& ws) {
  if (const int n = pressedPane(ws)) {
    const PaneRecord& p = ws.Pane(n);
    ws.pointer.CurrentPane = ws.pointer.LastTargetPane = n;
    ws.pointer.TargetPane = Integer(n);
    ws.win.Shape1[0].Visible = true;
    ws.pointer.Dragging = QvTrue;
    ws.pointer.DragStartLeft = p.Left;
    ws.pointer.DragStartTop = p.Top;
    EnablePaneMenus(ws);
    PlaceTargetBox(ws, n);
    ws.win.Label1 = QString::number(n);
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
