// Undo and Redo, and what the window shows after them.
#include "editing/UndoRedo.h"

#include "editing/Selection.h"
#include "imaging/BoardRender.h"
#include "shell/TargetMarks.h"

namespace qv {
namespace {

Outcome shown(Workspace& ws, const UndoStep* step) {
  ClearSelection(ws);
  if (!step) return Outcome::cancelled();
  HideHoverMarks(ws);
  ws.pointer.Dragging = QvFalse;
  ws.pointer.HoverFound = QvFalse;
  const int n = step->slot();
  if (n > 0 && isSet(ws.project.PaneTable[size_t(n)].InUse)) {
    ws.pointer.TargetPane = Integer(n);
    ws.win.Shape1[0].Visible = true;
    PlaceTargetBox(ws, n);
    EnablePaneMenus(ws);
  } else {
    ws.pointer.TargetPane = 0;
    ws.win.Shape1[0].Visible = false;
    DisablePaneMenus(ws);
  }
  RedrawBoard(ws);
  return Outcome::done();
}

}  // namespace

Outcome mnu_Undo_Click(Workspace& ws) { return shown(ws, ws.history.Undo(ws)); }

Outcome mnu_Redo_Click(Workspace& ws) { return shown(ws, ws.history.Redo(ws)); }

}  // namespace qv
