// Mirroring a block of a sheet in place.
#pragma once
#include "shell/Workspace.h"

namespace qv {

enum class MirrorAxis { LeftRight, TopBottom };

// Mirrors the w x h block at (x, y) of img within its own rectangle: column c
// lands in column w - 1 - c (left-right), row r in row h - 1 - r (top-bottom).
void MirrorBlock(QImage& img, int x, int y, int w, int h, MirrorAxis axis);

// Mirrors a Pane's sprite (mask) block in RunMode and notes it in
// ws.run.Mirrors; while ws.run.HoldingMirrors is set it is only noted as pending.
void MirrorPaneBlock(Workspace& ws, int slot, MirrorAxis axis, bool mask);
// Does the pending mirrorings of a Pane, once each axis that changed.
void ApplyPendingMirrors(Workspace& ws, int slot);

// Puts back every mirroring RunMode left in the sheets (tracked per Pane in
// ws.run.Mirrors) and sets the RunMode FlipCode of each restored Pane to 1.
void RestoreFlipsAfterRun(Workspace& ws);

}  // namespace qv
