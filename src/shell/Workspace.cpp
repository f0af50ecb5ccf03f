// Workspace start state and the slot rules.
#include "shell/Workspace.h"

#include "resources/Resources.h"

#include <QUuid>

namespace qv {

Workspace::Workspace() {
  Surfaces& s = surfaces;
  s.picStage.BackColor = project.BoardColour;
  s.picStage.SetSize(800, 600);
  s.picStage.Visible = false;
  RestorePicResize(*this);
  NewProjectIdentity(*this);
}

void NewProjectIdentity(Workspace& ws) { ws.session.ProjectIdentity = QUuid::createUuid().toString(QUuid::WithoutBraces); }

PaneRecord& Workspace::RunPane(int n) {
  if (!validSlot(n)) throw SlotOutOfRange(n);
  return RunPaneTable[size_t(n)];
}

void ResetSlot(PaneRecord& r) {
  r.InUse = QvFalse;
  r.CelCount = 1;
  r.Left = r.Top = r.Width = r.Height = 0;
}

int FindFreeSlot(const Workspace& ws) {
  for (int n = 1; n <= MaxPanes; ++n)
    if (!isSet(ws.project.PaneTable[size_t(n)].InUse)) return n;
  return 0;
}

int CountPanesInUse(const Workspace& ws) {
  int count = 0;
  for (int n = 1; n <= MaxPanes; ++n) count += isSet(ws.project.PaneTable[size_t(n)].InUse) ? 1 : 0;
  return count;
}

void SetBoardColour(Workspace& ws, Long colour) {
  ws.project.BoardColour = colour;
  ws.surfaces.picStage.SetBackColor(colour);
}

void RestorePicResize(Workspace& ws) {
  ws.surfaces.picResize.AutoSize = false;
  ws.surfaces.picResize.SetSize(200, 200);
  ws.surfaces.picResize.SetPicture(LoadResPicture(DefaultPanePictureId));
}

}  // namespace qv
