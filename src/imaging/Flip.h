// Mirroring a block of a sheet in place.
#pragma once
#include "shell/Workspace.h"

namespace qv {

// Mirrors a Pane's sprite (mask) block in RunMode and notes it in
// ws.run.Mirrors; while ws.run.HoldingMirrors is set it is only noted as pending.
void MirrorPaneBlock(Workspace& ws, int slot, MirrorAxis axis, bool mask);
// Does the pending mirrorings of a Pane, once each axis that changed.
void ApplyPendingMirrors(Workspace& ws, int slot);

// Puts back every mirroring RunMode left in the sheets (tracked per Pane in
// ws.run.Mirrors) and sets the RunMode FlipCode of each restored Pane to 1.
void RestoreFlipsAfterRun(Workspace& ws);

}  // namespace qv
