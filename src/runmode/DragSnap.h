// Snapping while dragging (our addition): the dragged Panes' box snaps its
// edges and centre to the Board's edges and centre and to the other Panes'
// edges and centres within 5 pixels, each way on its own, and a thin guide
// line shows where it holds. Alt held while dragging turns it off; a nudge
// never snaps.
#pragma once
#include "shell/Workspace.h"

namespace qv {

constexpr int SnapDistance = 5;

// How much further the Panes about to move by `by` go to snap; sets the
// guides (MainWindowState::SnapGuides) of the lines they snap to.
QPoint SnapMove(Workspace& ws, const QVector<int>& moving, QPoint by);
void HideSnapGuides(Workspace& ws);

}  // namespace qv
