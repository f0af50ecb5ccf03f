// In-place mirroring of sheet blocks, and undoing RunMode's mirrorings.
#include "imaging/Flip.h"

#include "imaging/BoardPainter.h"

namespace qv {

namespace {

bool& flagOf(MirrorState& m, MirrorAxis axis, bool mask) {
  if (axis == MirrorAxis::LeftRight) return mask ? m.maskLR : m.spriteLR;
  return mask ? m.maskTB : m.spriteTB;
}

}  // namespace

void MirrorPaneBlock(Workspace& ws, int slot, MirrorAxis axis, bool mask) {
  Surface& stage = ws.surfaces.picStage;
  Surface& sheet = mask ? ws.project.picMasks : ws.project.picSprites;
  const QRect block = PaneBlock(ws.project.PaneTable[size_t(slot)]);
  // A draw gathered earlier in this frame that reads part of the block (a
  // higher slot's, whose block a project file placed over this one) is
  // painted first, from the block as it was, as the plain way drew it.
  if (stage.Layers.Reads(block)) stage.Layers.Flush(stage, ws.project.picSprites, ws.project.picMasks);
  sheet.MirrorLater(block, axis);
  bool& done = flagOf(ws.run.Mirrors[size_t(slot)], axis, mask);
  done = !done;
}

void RestoreFlipsAfterRun(Workspace& ws) {
  for (int n = 1; n <= MaxPanes; ++n) {
    auto& m = ws.run.Mirrors[size_t(n)];
    if (!m.any()) continue;
    const QRect block = PaneBlock(ws.project.PaneTable[size_t(n)]);
    Surface& sprites = ws.project.picSprites;
    Surface& masks = ws.project.picMasks;
    if (m.spriteLR) sprites.MirrorLater(block, MirrorAxis::LeftRight);
    if (m.spriteTB) sprites.MirrorLater(block, MirrorAxis::TopBottom);
    if (m.maskLR) masks.MirrorLater(block, MirrorAxis::LeftRight);
    if (m.maskTB) masks.MirrorLater(block, MirrorAxis::TopBottom);
    m = {};
    ws.RunPaneTable[size_t(n)].FlipCode = 1;
  }
  RestorePicResize(ws);
}

}  // namespace qv
