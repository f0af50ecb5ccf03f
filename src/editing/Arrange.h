// Placing several Panes at once (our addition): nudging the selection (or
// the Target) by whole pixels, and aligning and distributing a selection.
// A Pane's size here is its shown size, one Cel for a Pane of several.
#pragma once
#include "model/Outcome.h"
#include "shell/Workspace.h"

namespace qv {

// Moves the chosen Panes by (dx, dy); the Board's edges do not stop them
// (a Pane may stand partly outside, as a drag allows). Cancelled when no
// Pane is chosen.
Outcome NudgePanes(Workspace& ws, int dx, int dy);

enum class AlignTo : uint8_t { Left, Centres, Right, Top, Middles, Bottom };
// Lines the selection (two or more Panes) up on an edge or centre line of
// its bounding box.
Outcome AlignPanes(Workspace& ws, AlignTo to);
// Makes the gaps between the selection's Panes (three or more) equal,
// across (horizontal) or down: taken in order of their left (top) edges,
// the first and the last stay, each gap is the free room over the count of
// gaps, the pixels it does not divide going to the later gaps.
Outcome DistributePanes(Workspace& ws, bool horizontal);

// Greatest integer not above a / b (b > 0).
constexpr int floorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

}  // namespace qv
