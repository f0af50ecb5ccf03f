// In-place mirroring of sheet blocks, and undoing RunMode's mirrorings.
#include "imaging/Flip.h"

#include <algorithm>

namespace qv {

void MirrorBlock(QImage& img, int x, int y, int w, int h, MirrorAxis axis) {
  // Clip to the image; the mirror is taken about the clipped block so that a
  // block is always its own inverse.
  const int x0 = std::max(x, 0), y0 = std::max(y, 0);
  const int x1 = std::min(x + w, img.width()), y1 = std::min(y + h, img.height());
  if (x1 <= x0 || y1 <= y0) return;
  if (axis == MirrorAxis::LeftRight) {
    for (int r = y0; r < y1; ++r) {
      auto* row = reinterpret_cast<quint32*>(img.scanLine(r));
      std::reverse(row + x0, row + x1);
    }
  } else {
    for (int top = y0, bottom = y1 - 1; top < bottom; ++top, --bottom) {
      auto* a = reinterpret_cast<quint32*>(img.scanLine(top)) + x0;
      auto* b = reinterpret_cast<quint32*>(img.scanLine(bottom)) + x0;
      std::swap_ranges(a, a + (x1 - x0), b);
    }
  }
}

void RestoreFlipsAfterRun(Workspace& ws) {
  for (int n = 1; n <= MaxPanes; ++n) {
    auto& m = ws.RunMirrors[size_t(n)];
    if (!m.any()) continue;
    const PaneRecord& d = ws.PaneTable[size_t(n)];
    QImage& sprites = ws.picSprites.Image();
    QImage& masks = ws.picMasks.Image();
    if (m.spriteLR) MirrorBlock(sprites, d.SheetX, d.SheetY, d.Width, d.Height, MirrorAxis::LeftRight);
    if (m.spriteTB) MirrorBlock(sprites, d.SheetX, d.SheetY, d.Width, d.Height, MirrorAxis::TopBottom);
    if (m.maskLR) MirrorBlock(masks, d.SheetX, d.SheetY, d.Width, d.Height, MirrorAxis::LeftRight);
    if (m.maskTB) MirrorBlock(masks, d.SheetX, d.SheetY, d.Width, d.Height, MirrorAxis::TopBottom);
    m = {};
    ws.RunPaneTable[size_t(n)].FlipCode = 1;
  }
  RestorePicResize(ws);
}

}  // namespace qv
