// Adding, removing and compositing Panes, and choosing the Target from the
// layer list.
#pragma once
#include "model/Outcome.h"
#include "shell/TargetMarks.h"

namespace qv {

// Add Pane: the new Pane's slot, or 0 (nothing changes) at 50 Panes.
int AddPane(Workspace& ws);
// The command: cancelled at 50 Panes.
Outcome mnu_AddCustomPane_Click(Workspace& ws);
// Writes the new-Pane values into the slot's entry.
void InitPaneRecord(Workspace& ws, int slot);
// Remove Pane and Composite Panes Background: cancelled unless the user
// answers Yes.
Outcome ConfirmRemovePane(Workspace& ws);
void RemovePane(Workspace& ws);
// Removes the Panes without a question (Cut, and a selection's Remove).
void RemovePanes(Workspace& ws, const QVector<int>& panes);
Outcome CompositePanes(Workspace& ws);
// The default web address of a new Pane.
extern const QString DefaultPaneUrl;

// Choosing an entry of the layer list makes its Pane the Target.
void List_Zorder_Click(Workspace& ws, int row);

}  // namespace qv
