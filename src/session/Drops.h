// Files dropped on the Board from the file manager (our addition): a picture
// dropped on a Pane loads into it as Load a Picture does, a picture dropped
// on free Board space becomes a new Pane there, a sound dropped on a Pane
// becomes the sound its click plays, and a project file is loaded as Load a
// Project does.
#pragma once
#include "model/Outcome.h"

#include <QPoint>
#include <QSize>
#include <QString>

namespace qv {

struct Workspace;
struct PanePicture;

enum class DropKind { Refused, IntoPane, NewPane, Project, SoundIntoPane };
struct DropPlan {
  DropKind kind = DropKind::Refused;
  int slot = 0;      // the Pane a picture or sound goes into
  QString refusal;   // why a refused drop is not taken
};

// What dropping the file at a point of the Board would do. A project is
// known by its name ending in .QV1 (any case), a picture or a sound by its
// first bytes. Refused in RunMode, for a picture or sound while the intro
// shows or off the Board, for a picture on free space at 50 Panes and for a
// sound anywhere but on a Pane; a refusal says why.
DropPlan PlanDrop(const Workspace& ws, const QString& path, QPoint at);

// Carries the drop out. A picture or sound drop is one undo step (a sound
// becomes an own sound of the project, or the same one again); a file that cannot
// be read changes nothing and fails with its reason. A project drop asks
// the save question first when there are unsaved changes. A refused drop
// fails with the reason.
Outcome DropFile(Workspace& ws, const QString& path, QPoint at);

// The drop as the Board takes it: carried out, and a failure or warnings
// reported as Load a Picture (Load a Project for a project) reports them; a
// sound's under "Drop a Sound".
Outcome BoardFileDropped(Workspace& ws, const QString& path, QPoint at);

// A picture as a new Pane, as a picture dropped on free Board becomes one:
// of NewPaneSizeFor its size, centred on the point, named after the title
// (a file's name). Its slot, or 0 at 50 Panes (nothing changes).
int NewPaneForPicture(Workspace& ws, const PanePicture& pic, QPoint at, const QString& title);

// The size a new Pane takes for a picture: its own, shrunk to fit 200 x 200
// with its shape kept, and at least 20 a side.
QSize NewPaneSizeFor(QSize picture);

}  // namespace qv
