// Full and drag redraws of the Board, the hover test and the two boxes.
#include "imaging/BoardRender.h"

#include "imaging/BoardPainter.h"
#include "imaging/Sheets.h"
#include "shell/Setups.h"
#include "shell/TargetMarks.h"

namespace qv {

QSize shownSize(const PaneRecord& p) {
  return p.CelCount > 1 ? QSize(p.CelWidth, p.CelHeight) : QSize(p.Width, p.Height);
}

namespace {

void drawAt(BoardPainter& painter, const PaneRecord& p, int x, int y, QSize size) {
  painter.DrawPane(x, y, size.width(), size.height(), p.SheetX, p.SheetY, isSet(p.BlackTransparent), PaneBlock(p));
}

void placeBox(ControlState& box, const PaneRecord& p) {
  box.Left = p.Left;
  box.Top = p.Top;
  box.Width = p.Width;
  box.Height = p.Height;
}

}  // namespace

void PaintBoardBase(const Workspace& ws, Surface& stage) {
  if (isSet(ws.project.BoardSettings.UseBackPicture))
    stage.SetPicture(ws.project.picBackground.Picture());
  else
    stage.ClearPicture();
}

void RestoreBoardBase(Workspace& ws) { PaintBoardBase(ws, ws.surfaces.picStage); }

void RedrawBoard(Workspace& ws) {
  BoardPainter painter(ws, BoardPainter::Start::FromBase);
  for (int n = MaxPanes; n >= 1; --n) {
    ws.pointer.CurrentPane = n;
    const PaneRecord& p = ws.project.PaneTable[size_t(n)];
    if (isSet(p.InUse)) drawAt(painter, p, p.Left, p.Top, shownSize(p));
  }
}

namespace {

QPoint pointerPlace(const Workspace& ws) { return {roundHalfEven(ws.pointer.MouseX), ws.pointer.MouseY}; }

}  // namespace

void RedrawBoardDrag(Workspace& ws) { RedrawBoardDrag(ws, pointerPlace(ws)); }
void RedrawBoardDragFloat(Workspace& ws) { RedrawBoardDragFloat(ws, pointerPlace(ws)); }

void RedrawBoardDrag(Workspace& ws, QPoint at) {
  BoardPainter painter(ws, BoardPainter::Start::FromBase);
  for (int n = MaxPanes; n >= 1; --n) {
    const PaneRecord& p = ws.project.PaneTable[size_t(n)];
    if (!isSet(p.InUse)) continue;
    if (n == ws.pointer.CurrentPane)
      drawAt(painter, p, at.x(), at.y(), shownSize(p));
    else
      drawAt(painter, p, p.Left, p.Top, shownSize(p));
  }
}

void RedrawBoardDragFloat(Workspace& ws, QPoint at) {
  BoardPainter painter(ws, BoardPainter::Start::FromBase);
  PaneRecord& dragged = ws.Pane(ws.pointer.CurrentPane);
  PaneRecord& twin = ws.project.PaneTable[0];
  dragged.InUse = QvFalse;
  twin.InUse = QvTrue;
  twin.Width = dragged.Width;
  twin.Height = dragged.Height;
  twin.SheetX = dragged.SheetX;
  twin.SheetY = dragged.SheetY;
  twin.BlackTransparent = dragged.BlackTransparent;
  for (int n = MaxPanes; n >= 0; --n) {
    const PaneRecord& p = ws.project.PaneTable[size_t(n)];
    if (!isSet(p.InUse)) continue;
    const QSize whole(p.Width, p.Height);
    if (n == 0)
      drawAt(painter, p, at.x(), at.y(), whole);
    else
      drawAt(painter, p, p.Left, p.Top, whole);
  }
  dragged.InUse = QvTrue;
  twin.InUse = QvFalse;
}

void PlaceTargetBox(Workspace& ws, int slot) { placeBox(ws.win.Shape1[0], ws.Pane(slot)); }

void PlaceHoverBox(Workspace& ws, int slot) {
  if (!isSet(ws.run.Running)) placeBox(ws.win.Shape1[1], ws.Pane(slot));
}

void RedrawIfBoardGrew(Workspace& ws, QSize before) {
  // Changing the Board's size starts no redraw of its own; the part that a
  // larger Board adds would stay empty where Panes lie until the next
  // redraw. Redrawing then is our addition and changes only what shows.
  const Surface& stage = ws.surfaces.picStage;
  const bool grew = stage.Width() > before.width() || stage.Height() > before.height();
  if (grew && !isSet(ws.run.Running)) RedrawBoard(ws);
}

QString LayerReadout(int n, int left, int top) {
  return QStringLiteral("Layer: %1, (x: %2) (y: %3)").arg(n).arg(left).arg(top);
}

void HoverPaneAt(Workspace& ws) {
  if (ws.surfaces.picStage.Pointer == MousePointer::Hourglass) return;
  ws.win.Lab_Readouts = IdleReadout;
  ws.pointer.HoverFound = QvFalse;
  if (!ws.win.Shape1[0].Visible) DisablePaneMenus(ws);
  const bool running = isSet(ws.run.Running);
  for (int n = 1; n <= MaxPanes; ++n) {
    const PaneRecord& d = ws.project.PaneTable[size_t(n)];
    if (!isSet(d.InUse)) continue;
    PaneRecord& r = ws.RunPaneTable[size_t(n)];
    r.MouseOver = QvFalse;
    const QSize size = shownSize(d);
    const bool runPlace = running && isSet(r.Visible);
    const int left = runPlace ? r.Left : d.Left;
    const int top = runPlace ? r.Top : d.Top;
    const bool inside = left <= ws.pointer.MouseX && ws.pointer.MouseX <= left + size.width() && top <= ws.pointer.MouseY &&
                        ws.pointer.MouseY <= top + size.height();
    if (!inside) continue;
    if (!running) {
      ws.pointer.CurrentPane = n;
      ws.pointer.HoverFound = QvTrue;
      ws.win.Lab_Readouts = LayerReadout(n, left, top);
      PlaceHoverBox(ws, n);
      ws.win.Shape1[1].Visible = true;
      return;
    }
    if (isSet(r.InUse) && isSet(r.Visible)) {
      r.MouseOver = QvTrue;
      ws.pointer.CurrentPane = n;
      ws.pointer.HoverFound = QvTrue;
      ws.win.Lab_Readouts = LayerReadout(n, left, top);
      return;
    }
  }
}

}  // namespace qv
