// Copy, Cut and Paste through the system clipboard (our addition). Copy
// puts the chosen Panes there under PanesMimeType (a versioned payload:
// the records, their places relative to the first, their cells as PNG)
// and the Target's first Cel as image/png, so other programs receive a
// picture. Paste takes Panes from this or another Quorvel window or
// project or, failing that, a picture from another program as a new Pane.
#pragma once
#include "model/Outcome.h"

#include <QString>

namespace qv {

struct Workspace;

inline const QString PanesMimeType = QStringLiteral("application/x-quorvel-panes");

Outcome CopyPanesToClipboard(Workspace& ws);
// Copy, then the Panes removed without a question.
Outcome CutPanes(Workspace& ws);
// New Panes from the clipboard, the first the Target and all of them the
// selection. Our Panes land at the copied places, 10 pixels further right
// and down for as long as the first would land exactly on a Pane already
// there (its original, or an earlier paste); past 50 Panes what fits is
// pasted and a warning says how many were left out. A picture of another
// program is read through the picture checks, as a dropped file is, and
// becomes a Pane centred on the Board.
Outcome PastePanes(Workspace& ws);

}  // namespace qv
