// Copies of Panes (our addition): a copy is a whole Pane, its record with
// the Cel pictures and mask of its cell and its own sound. Duplicate Pane,
// Copy, Cut and Paste are made of these.
#pragma once
#include "model/Outcome.h"
#include "shell/Workspace.h"

#include <QSet>

namespace qv {

struct PaneCopy {
  int slot = 0;  // the slot it was copied from
  PaneRecord record;
  QImage sprite, mask;  // its 200 x 200 cells
  // The Pane's own sound, when it plays one the project holds.
  std::optional<OwnSound> ownSound;
};

// The Panes in the given slots, as copies.
QVector<PaneCopy> CopyPanes(const Workspace& ws, const QVector<int>& panes);

// The record of a Pane that goes from one slot to another: the fields that
// belong to its slot (model/PaneFieldList.h: its sheet block SheetX,
// SheetY, which keeps its place in the cell, and its Layer) follow it.
void RecordToSlot(PaneRecord& r, int from, int to);

// A Label no Pane in use carries (nor one of those taken): the Label
// itself, or with " 2", " 3", ... in place of such a number it ends with,
// cut to the 99 characters a Label holds.
QString UniqueLabel(const Workspace& ws, const QString& label, const QSet<QString>& taken = {});

// Puts the copies in as new Panes, each in the lowest free slot as Add Pane
// fills them, moved by offset, while there is room for them (the slots
// they went to, in order). A Reveal target inside the copies names the copy;
// one outside them is kept within the project (sameProject) and cleared
// otherwise. A copy's own sound joins the project's (the same sound keeps
// its number, another takes a free one); an own sound the copy lacks plays
// nothing in another project. Each new Pane's layer-list entry goes to the
// end.
QVector<int> PlacePaneCopies(Workspace& ws, const QVector<PaneCopy>& copies, bool sameProject, QPoint offset);

// Duplicate Pane (Ctrl+D): a copy of the Target 10 pixels right of and
// below it, made the Target. Failed at 50 Panes.
Outcome DuplicatePane(Workspace& ws);

}  // namespace qv
