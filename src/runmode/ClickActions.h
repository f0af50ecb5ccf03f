// What a click on a Pane does in RunMode: its Value process and reveal, its
// Writing box with the URL button, its sound; and opening its web address.
#pragma once
#include "shell/Workspace.h"

namespace qv {

// The click actions on the Pane of RunPaneTable in slot, in order.
void PaneClickActions(Workspace& ws, int slot);
void PlayPaneSound(Workspace& ws, int id);
void StopSound(Workspace& ws);
// "http://" + the URL of RunPaneTable(CurrentPane), handed to the desktop.
void OpenPaneUrl(Workspace& ws);

}  // namespace qv
