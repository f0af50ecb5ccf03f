// The Background picture fitted to the Board.
#pragma once
#include "shell/Workspace.h"

namespace qv {

// Stretches a picture to BoardWidth x BoardHeight into picBackground and
// shows it on the Board.
void FitBackgroundToBoard(Workspace& ws, const QImage& picture);

}  // namespace qv
