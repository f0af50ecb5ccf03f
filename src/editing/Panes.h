// Adding, removing and compositing Panes, and choosing the Target from the
// layer list.
#pragma once
#include "shell/TargetMarks.h"

namespace qv {

void AddPane(Workspace& ws);
// Writes the new-Pane values into the slot's entry.
void InitPaneRecord(Workspace& ws, int slot);
void ConfirmRemovePane(Workspace& ws);
void RemovePane(Workspace& ws);
void CompositePanes(Workspace& ws);
// The default web address of a new Pane.
extern const QString DefaultPaneUrl;

// Choosing an entry of the layer list makes its Pane the Target.
void List_Zorder_Click(Workspace& ws, int row);

}  // namespace qv
