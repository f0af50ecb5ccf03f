// Undo and Redo in Design: the last step taken back or done again, the
// Board redrawn, and the Pane the step touched made the Target when it is
// still on the Board.
#pragma once
#include "model/Outcome.h"
#include "shell/Workspace.h"

namespace qv {

// Cancelled when there is nothing to undo (redo).
Outcome mnu_Undo_Click(Workspace& ws);
Outcome mnu_Redo_Click(Workspace& ws);

}  // namespace qv
