// Mouse events on the Board in Design and in RunMode, the press hit test and
// the Fast Icons.
#pragma once
#include "shell/Workspace.h"

namespace qv {

// Mouse button codes: 1 left, 2 right, 4 middle; all but 2 act as the left.
constexpr int RightButton = 2;

// shift: the keys held (ShiftMask, CtrlMask, AltMask). Shift or Ctrl on a
// press chooses several Panes; Alt during a drag turns its snap off.
void picStage_MouseDown(Workspace& ws, int button, double x, double y, int shift = 0);
void picStage_MouseMove(Workspace& ws, int button, double x, double y, int shift = 0);
void picStage_MouseUp(Workspace& ws, int button, double x, double y);
void TargetPaneAt(Workspace& ws);
void ShowFastIcons(Workspace& ws);
// The Board dragged over its holder, the pointer at (x, y) in the holder:
// the Board shows again near the holder's edges; the bottom band ends the
// drag (true) with the Board where it was.
bool BoardDragOver(Workspace& ws, int holderX, int holderY);
// The drop: the Board's top-left corner goes to the drop point (in the
// holder) less the grab point.
void BoardMoveDrop(Workspace& ws, int holderX, int holderY);

}  // namespace qv
