// Mirroring a block of a sheet in place.
#pragma once
#include "shell/Workspace.h"

namespace qv {

// Mirrors a Pane's sprite (mask) block in RunMode and notes it in
// ws.run.Mirrors. The sheet only notes it too (Surface::MirrorLater), so a
// Pane that turns back and forth within a frame costs no pixel work.
void MirrorPaneBlock(Workspace& ws, int slot, MirrorAxis axis, bool mask);

// Puts back every mirroring RunMode left in the sheets (tracked per Pane in
// ws.run.Mirrors) and sets the RunMode FlipCode of each restored Pane to 1.
void RestoreFlipsAfterRun(Workspace& ws);

}  // namespace qv
