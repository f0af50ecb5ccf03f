// In-place mirroring of sheet blocks, and undoing RunMode's mirrorings.
#include "imaging/Flip.h"

#include "surface/Prefetch.h"

#include <algorithm>
#include <utility>

namespace qv {

void MirrorBlock(QImage& img, int x, int y, int w, int h, MirrorAxis axis) {
  // Clip to the image; the mirror is taken about the clipped block so that a
  // block is always its own inverse.
  const int x0 = std::max(x, 0), y0 = std::max(y, 0);
  const int x1 = std::min(x + w, img.width()), y1 = std::min(y + h, img.height());
  if (x1 <= x0 || y1 <= y0) return;
  // The row step is taken once: scanLine() checks for sharing on every call.
  quint32* const first = reinterpret_cast<quint32*>(img.scanLine(y0)) + x0;
  const qsizetype stride = img.bytesPerLine() / 4;
  const int n = x1 - x0;
  if (axis == MirrorAxis::LeftRight) {
    for (int r = 0; r < y1 - y0; ++r) {
      quint32* row = first + r * stride;
      if (r + RowsAhead < y1 - y0) PrefetchPixels(row + RowsAhead * stride, n);
      std::reverse(row, row + n);
    }
  } else {
    for (int top = 0, bottom = y1 - y0 - 1; top < bottom; ++top, --bottom) {
      quint32* a = first + top * stride;
      quint32* b = first + bottom * stride;
      if (top + RowsAhead < bottom - RowsAhead) {
        PrefetchPixels(a + RowsAhead * stride, n);
        PrefetchPixels(b - RowsAhead * stride, n);
      }
      std::swap_ranges(a, a + n, b);
    }
  }
}

namespace {

bool& flagOf(MirrorState& m, MirrorAxis axis, bool mask) {
  if (axis == MirrorAxis::LeftRight) return mask ? m.maskLR : m.spriteLR;
  return mask ? m.maskTB : m.spriteTB;
}

}  // namespace

void MirrorPaneBlock(Workspace& ws, int slot, MirrorAxis axis, bool mask) {
  if (ws.run.HoldingMirrors) {
    bool& pending = flagOf(ws.run.PendingMirrors[size_t(slot)], axis, mask);
    pending = !pending;
    return;
  }
  const PaneRecord& d = ws.PaneTable[size_t(slot)];
  Surface& sheet = mask ? ws.surfaces.picMasks : ws.surfaces.picSprites;
  MirrorBlock(sheet.Image(), d.SheetX, d.SheetY, d.Width, d.Height, axis);
  bool& done = flagOf(ws.run.Mirrors[size_t(slot)], axis, mask);
  done = !done;
}

void ApplyPendingMirrors(Workspace& ws, int slot) {
  MirrorState pending = std::exchange(ws.run.PendingMirrors[size_t(slot)], {});
  if (!pending.any()) return;
  const bool holding = std::exchange(ws.run.HoldingMirrors, false);
  for (MirrorAxis axis : {MirrorAxis::LeftRight, MirrorAxis::TopBottom})
    for (bool mask : {false, true})
      if (flagOf(pending, axis, mask)) MirrorPaneBlock(ws, slot, axis, mask);
  ws.run.HoldingMirrors = holding;
}

void RestoreFlipsAfterRun(Workspace& ws) {
  for (int n = 1; n <= MaxPanes; ++n) ApplyPendingMirrors(ws, n);
  for (int n = 1; n <= MaxPanes; ++n) {
    auto& m = ws.run.Mirrors[size_t(n)];
    if (!m.any()) continue;
    const PaneRecord& d = ws.PaneTable[size_t(n)];
    QImage& sprites = ws.surfaces.picSprites.Image();
    QImage& masks = ws.surfaces.picMasks.Image();
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
