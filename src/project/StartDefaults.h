// The start defaults of a session, set again by New Project: every list of
// the three dialogs filled, the Board settings' defaults, the 800 x 600
// Board, the pane library scan.
#pragma once
#include "shell/Workspace.h"

namespace qv {

void FillLists(Workspace& ws);

}  // namespace qv
