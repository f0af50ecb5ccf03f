// Adding, removing and compositing Panes, the layer list entries, and the
// Target menu items.
#pragma once
#include "shell/Workspace.h"

namespace qv {

void AddPane(Workspace& ws);
// Writes the new-Pane values into the slot's entry.
void InitPaneRecord(Workspace& ws, int slot);
void AddZorderItem(Workspace& ws);
// The slot's layer-list entry leaves its place and is appended with the
// Pane's current Label; nothing when the list has no entry for the slot.
void MoveZorderEntryToEnd(Workspace& ws, int slot);
void ConfirmRemovePane(Workspace& ws);
void RemovePane(Workspace& ws);
void CompositePanes(Workspace& ws);
// The default web address of a new Pane.
extern const QString DefaultPaneUrl;

// Choosing an entry of the layer list makes its Pane the Target.
void List_Zorder_Click(Workspace& ws, int row);

// Hides the hover box and the Fast Icons.
void HideHoverMarks(Workspace& ws);

void EnablePaneMenus(Workspace& ws);
void DisablePaneMenus(Workspace& ws);

}  // namespace qv
