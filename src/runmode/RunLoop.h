// The RunMode switch and the run loop. The loop is driven one pass at a
// time by a pump: the app calls RunLoopPass from a 30 ms timer on the UI
// thread, so user events are handled only between frames; the CLI and the
// tests call it N times with no sleep. The same input gives the same frames.
#pragma once
#include "shell/Workspace.h"

namespace qv {

void CopyPanesForRun(Workspace& ws);
void PrepareFullBoard(Workspace& ws);
void PrepareRunControls(Workspace& ws);
void mnu_RunFullscreen_Click(Workspace& ws);
void mnu_RunInWindow_Click(Workspace& ws);
// Starts the loop: "Project is Running", first frame next.
void RunProject(Workspace& ws);
// One pass after the pending events ran: restore the base picture, one frame,
// and, once Running was cleared, the loop's end (the mirrors RunMode left are
// undone and the Board is redrawn in Design). False when no loop is running.
bool RunLoopPass(Workspace& ws);
void RunFrame(Workspace& ws);

// The three forms of Stop.
enum class StopForm { StopIcon, FullBoardStopIcon, EscKey };
void StopRun(Workspace& ws, StopForm form);

}  // namespace qv
