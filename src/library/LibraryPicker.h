// The pane library: the start-up scan of the library modules and the
// picker's steps over its control values (ws.dialogs.library).
#pragma once
#include "shell/Workspace.h"

namespace qv {

// Looks for the library modules once, at start-up: fills the picker's
// library list and sets LibrariesPresent.
void ScanLibraries(Workspace& ws);

}  // namespace qv
