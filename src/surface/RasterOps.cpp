// Raster copies and scaled paints over RGB32 scanlines.
#include "surface/RasterOps.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace qv {
namespace {

// Clips a w x h copy from (sx, sy) to (x, y) against both images.
bool clip(int& x, int& y, int& w, int& h, int& sx, int& sy, const QImage& dst, const QImage& src) {
  if (x < 0) { sx -= x; w += x; x = 0; }
  if (y < 0) { sy -= y; h += y; y = 0; }
  if (sx < 0) { x -= sx; w += sx; sx = 0; }
  if (sy < 0) { y -= sy; h += sy; sy = 0; }
  w = std::min({w, dst.width() - x, src.width() - sx});
  h = std::min({h, dst.height() - y, src.height() - sy});
  return w > 0 && h > 0;
}

inline quint32* row(QImage& img, int y) { return reinterpret_cast<quint32*>(img.scanLine(y)); }
inline const quint32* row(const QImage& img, int y) {
  return reinterpret_cast<const quint32*>(img.constScanLine(y));
}

}  // namespace

void BitBlt(QImage& dst, int x, int y, int w, int h, const QImage& src, int sx, int sy, RasterOp op) {
  if (dst.isNull() || src.isNull() || !clip(x, y, w, h, sx, sy, dst, src)) return;
  if (&dst == &src || dst.constBits() == src.constBits()) {
    // Same image: take the source block first so overlapping copies stay exact.
    const QImage block = src.copy(sx, sy, w, h);
    BitBlt(dst, x, y, w, h, block, 0, 0, op);
    return;
  }
  // Rows are walked top-down; each loop is a plain element-wise pass that the
  // compiler vectorises. The alpha byte stays 0xff because both sides hold it.
  for (int j = 0; j < h; ++j) {
    quint32* d = row(dst, y + j) + x;
    const quint32* s = row(src, sy + j) + sx;
    switch (op) {
      case RasterOp::SRCCOPY: std::memcpy(d, s, size_t(w) * 4); break;
      case RasterOp::SRCAND: for (int i = 0; i < w; ++i) d[i] &= s[i]; break;
      case RasterOp::SRCPAINT: for (int i = 0; i < w; ++i) d[i] |= s[i]; break;
    }
  }
}

void BlitTransparent(QImage& dst, int x, int y, int w, int h, const QImage& mask,
                     const QImage& sprite, int sx, int sy) {
  if (dst.isNull() || mask.size() != sprite.size()) {
    BitBlt(dst, x, y, w, h, mask, sx, sy, RasterOp::SRCAND);
    BitBlt(dst, x, y, w, h, sprite, sx, sy, RasterOp::SRCPAINT);
    return;
  }
  if (!clip(x, y, w, h, sx, sy, dst, mask)) return;
  for (int j = 0; j < h; ++j) {
    quint32* d = row(dst, y + j) + x;
    const quint32* m = row(mask, sy + j) + sx;
    const quint32* s = row(sprite, sy + j) + sx;
    for (int i = 0; i < w; ++i) d[i] = (d[i] & m[i]) | s[i];
  }
}

void PaintPicture(QImage& dst, const QImage& pic, int x, int y, int dw, int dh, int sx, int sy,
                  int sw, int sh) {
  if (dst.isNull() || pic.isNull() || dw == 0 || dh == 0 || sw <= 0 || sh <= 0) return;
  // The source block is taken first, so painting a picture into itself works.
  const QImage source = (dst.constBits() == pic.constBits()) ? pic.copy() : pic;
  const int aw = std::abs(dw), ah = std::abs(dh);
  const int stepX = dw > 0 ? 1 : -1, stepY = dh > 0 ? 1 : -1;
  std::vector<int> srcCol(size_t(aw), -1);
  for (int i = 0; i < aw; ++i) {
    const int c = sx + int((qint64(2 * i + 1) * sw) / (2 * qint64(aw)));
    srcCol[size_t(i)] = (c >= 0 && c < source.width()) ? c : -1;
  }
  for (int j = 0; j < ah; ++j) {
    const int ty = y + j * stepY;
    const int r = sy + int((qint64(2 * j + 1) * sh) / (2 * qint64(ah)));
    if (ty < 0 || ty >= dst.height() || r < 0 || r >= source.height()) continue;
    quint32* d = row(dst, ty);
    const quint32* s = row(source, r);
    if (stepX > 0 && aw == sw && sx >= 0 && sx + sw <= source.width()) {
      // Unscaled, unmirrored row: a clipped block copy.
      const int from = std::max(0, -x), to = std::min(aw, dst.width() - x);
      if (to > from) std::memcpy(d + x + from, s + sx + from, size_t(to - from) * 4);
      continue;
    }
    for (int i = 0; i < aw; ++i) {
      const int tx = x + i * stepX;
      if (tx < 0 || tx >= dst.width() || srcCol[size_t(i)] < 0) continue;
      d[tx] = s[srcCol[size_t(i)]];
    }
  }
}

void PaintPicture(QImage& dst, const QImage& pic, int x, int y, int dw, int dh) {
  PaintPicture(dst, pic, x, y, dw, dh, 0, 0, pic.width(), pic.height());
}

}  // namespace qv
