// Workspace start state and the slot rules.
#include "shell/Workspace.h"

#include "resources/Resources.h"

namespace qv {

Workspace::Workspace() {
  Surfaces& s = surfaces;
  s.picStage.BackColor = Grey;
  s.picStage.SetSize(800, 600);
  s.picStage.Visible = false;
  s.picSprites.DrawingIsPicture = true;
  s.picMasks.DrawingIsPicture = true;
  s.picSprites.SetSize(1000, 2000);
  s.picMasks.SetSize(1000, 2000);
  s.picBackground.SetSize(800, 600);
  RestorePicResize(*this);
}

PaneRecord& Workspace::Pane(int n) {
  if (!validSlot(n)) throw SlotOutOfRange(n);
  return PaneTable[size_t(n)];
}

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
    if (!isSet(ws.PaneTable[size_t(n)].InUse)) return n;
  return 0;
}

int CountPanesInUse(const Workspace& ws) {
  int count = 0;
  for (int n = 1; n <= MaxPanes; ++n) count += isSet(ws.PaneTable[size_t(n)].InUse) ? 1 : 0;
  return count;
}

void RestorePicResize(Workspace& ws) {
  ws.surfaces.picResize.AutoSize = false;
  ws.surfaces.picResize.SetSize(200, 200);
  ws.surfaces.picResize.SetPicture(LoadResPicture(DefaultPanePictureId));
}

}  // namespace qv
