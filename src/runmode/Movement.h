// The motion model of RunMode: stepping, Board-edge bounces, mirroring on
// bounces and collisions between Rebound Panes. Everything acts on the Pane
// named by ws.pointer.CurrentPane in RunPaneTable.
#pragma once
#include "shell/Workspace.h"

namespace qv {

// How far outside the leading edge the collision probes lie.
constexpr int ProbeDistance = 4;

// The other Pane's rectangle grown by 2 pixels on every side: a probe inside
// it (edges included) hits.
struct HitRect {
  int Left, Right, Top, Bottom;
  bool holds(double x, double y) const { return Left <= x && x <= Right && Top <= y && y <= Bottom; }
};

void MoveHorizontal(Workspace& ws, int slot);
void MoveVertical(Workspace& ws, int slot);
void MoveDiagonal(Workspace& ws, int slot);
void FlipPaneOnBounds(Workspace& ws, int slot);
// Tests the Pane against every other Rebound Pane and makes it the
// CollisionPane; each touching Pane calls the response for its direction.
void TestCollisions(Workspace& ws, int slot);
void ReboundHorizontal(Workspace& ws, int slot, const HitRect& hit);
void ReboundVertical(Workspace& ws, int slot, const HitRect& hit);
void ReboundDiagonal(Workspace& ws, int slot, const HitRect& hit);

}  // namespace qv
