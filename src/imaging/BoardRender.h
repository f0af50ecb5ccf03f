// Drawing the Board from the Background and the sheets, the hover test and
// the two highlight boxes.
#pragma once
#include "shell/Workspace.h"

namespace qv {

// Restores the Board's base picture: the Background when it is used,
// otherwise the Board's back colour.
void RestoreBoardBase(Workspace& ws);
// The same onto another surface of the Board's kind (a copy of picStage).
void PaintBoardBase(const Workspace& ws, Surface& stage);
void RedrawBoard(Workspace& ws);
// A drag's redraw: the dragged Pane (CurrentPane) drawn at a place, the
// pointer's unless given.
void RedrawBoardDrag(Workspace& ws);
void RedrawBoardDrag(Workspace& ws, QPoint at);
void RedrawBoardDragFloat(Workspace& ws);
void RedrawBoardDragFloat(Workspace& ws, QPoint at);
void PlaceTargetBox(Workspace& ws, int slot);
void PlaceHoverBox(Workspace& ws, int slot);
void HoverPaneAt(Workspace& ws);
// The drawn size of a Pane: its first Cel when it has several.
QSize shownSize(const PaneRecord& p);
// Redraws the Board in Design when it is larger than `before`, so that
// Panes beyond its old edges show.
void RedrawIfBoardGrew(Workspace& ws, QSize before);
// The readout line for slot n at (left, top).
QString LayerReadout(int n, int left, int top);

}  // namespace qv
