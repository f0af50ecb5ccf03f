// The motion model of RunMode: stepping, Board-edge bounces, mirroring on
// bounces and collisions between Rebound Panes. Everything acts on the Pane
// named by ws.CurrentPane in RunPaneTable.
#pragma once
#include "model/Workspace.h"

namespace qv {

void MoveHorizontal(Workspace& ws);
void MoveVertical(Workspace& ws);
void MoveDiagonal(Workspace& ws);
void FlipPaneOnBounds(Workspace& ws);
void TestCollisions(Workspace& ws);
void ReboundHorizontal(Workspace& ws);
void ReboundVertical(Workspace& ws);
void ReboundDiagonal(Workspace& ws);

}  // namespace qv
