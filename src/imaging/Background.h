// The Background picture fitted to the Board.
#pragma once
#include "shell/Workspace.h"

namespace qv {

// Stretches picResize's picture to BoardWidth x BoardHeight into
// picBackground, shows it on the Board and puts picResize back to rest.
void FitBackgroundToBoard(Workspace& ws);

}  // namespace qv
