// What the main window shows of the Target and the Panes, kept in step by
// every command: the Target menu items, the hover box and Fast Icons, and
// the layer list's entries (text = Label, item data = slot).
#pragma once
#include "shell/Workspace.h"

namespace qv {

// A layer-list entry for the Pane in slot, at the end.
void AddZorderItem(Workspace& ws, int slot);
// The slot's layer-list entry leaves its place and is appended with the
// Pane's current Label; nothing when the list has no entry for the slot.
void MoveZorderEntryToEnd(Workspace& ws, int slot);
// Hides the hover box and the Fast Icons.
void HideHoverMarks(Workspace& ws);
// The Pane menu items, enabled whenever a Pane becomes the Target.
void EnablePaneMenus(Workspace& ws);
// Greys them again, unless the pointer rests on a Pane.
void DisablePaneMenus(Workspace& ws);

}  // namespace qv
