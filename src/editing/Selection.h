// Several Panes chosen at once (our addition): Shift or Ctrl clicks, a
// rubber band and Select All make a selection; the Target stays the one
// Pane last clicked, and the other selected Panes show a lighter box.
// Nudge, copy, align and remove act on the selection, or on the Target
// when there is none.
#pragma once
#include "model/Outcome.h"
#include "shell/Workspace.h"

namespace qv {

// The Target when one is chosen (its box shows) and in use; 0 otherwise.
int ChosenTarget(const Workspace& ws);
// The selected Panes in use, or the Target alone; in slot order, so the
// front-most first.
QVector<int> ChosenPanes(const Workspace& ws);
// Makes the Pane the Target: its box, its menu items, its slot in Label1.
void MakeTarget(Workspace& ws, int slot);
// Forgets the selection; the Target stays.
void ClearSelection(Workspace& ws);
// Selects the Panes (one or none: the selection is cleared) with the
// Target among them.
void SetSelection(Workspace& ws, const QVector<int>& panes, int target);
// A Shift or Ctrl click on a Pane: a Pane not chosen joins the selection
// (with the Target it had) and becomes the Target; a chosen one leaves it,
// and the Pane chosen before it becomes the Target. True when it joined.
bool ToggleSelected(Workspace& ws, int slot);
// The Panes whose shown part (the first Cel) touches the rectangle, in
// slot order.
QVector<int> PanesTouching(const Workspace& ws, const QRect& r);
// Places the lighter boxes over the selected Panes other than the Target.
void ShowSelectionBoxes(Workspace& ws);
// Select All: every Pane; the Target stays, or the front-most becomes it.
Outcome SelectAllPanes(Workspace& ws);

}  // namespace qv
