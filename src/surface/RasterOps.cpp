// Raster copies and scaled paints over RGB32 scanlines.
#include "surface/RasterOps.h"

#include "surface/Prefetch.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

namespace qv {

// Worked in 64 bits, so extreme arguments cannot wrap around into the images.
bool ClipCopy(int& x, int& y, int& w, int& h, int& sx, int& sy, QSize dst, QSize src) {
  qint64 X = x, Y = y, W = w, H = h, SX = sx, SY = sy;
  const qint64 skipX = std::max({qint64(0), -X, -SX}), skipY = std::max({qint64(0), -Y, -SY});
  X += skipX, SX += skipX, W -= skipX;
  Y += skipY, SY += skipY, H -= skipY;
  W = std::min({W, dst.width() - X, src.width() - SX});
  H = std::min({H, dst.height() - Y, src.height() - SY});
  if (W <= 0 || H <= 0) return false;
  x = int(X), y = int(Y), w = int(W), h = int(H), sx = int(SX), sy = int(SY);
  return true;
}

namespace {

inline quint32* row(QImage& img, int y) { return reinterpret_cast<quint32*>(img.scanLine(y)); }
inline const quint32* row(const QImage& img, int y) {
  return reinterpret_cast<const quint32*>(img.constScanLine(y));
}

// The top-left pixel of a block and the step from one of its rows to the
// next, taken once per copy: scanLine() checks for sharing on every call.
template <typename Pixel>
struct BlockOf {
  Pixel* p;
  qsizetype stride;  // in pixels
  Pixel* rowAt(int j) const { return p + j * stride; }
};
using Block = BlockOf<quint32>;
using ConstBlock = BlockOf<const quint32>;

Block blockAt(QImage& img, int x, int y) {
  return {reinterpret_cast<quint32*>(img.bits()) + y * (img.bytesPerLine() / 4) + x,
          img.bytesPerLine() / 4};
}
ConstBlock blockAt(const QImage& img, int x, int y) {
  return {reinterpret_cast<const quint32*>(img.constBits()) + y * (img.bytesPerLine() / 4) + x,
          img.bytesPerLine() / 4};
}

// Row loops over whole blocks. Each inner loop is a plain element-wise pass
// that the compiler vectorises; on x86-64 Linux the loops are also built for
// AVX2 and the wider build is picked at load time on processors that have it.
#if defined(__x86_64__) && defined(__linux__) && (defined(__GNUC__) || defined(__clang__))
#define QV_WIDE_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define QV_WIDE_CLONES
#endif

void copyRows(Block d, ConstBlock s, int w, int h) {
  for (int j = 0; j < h; ++j) std::memcpy(d.rowAt(j), s.rowAt(j), size_t(w) * 4);
}

QV_WIDE_CLONES void andRows(Block d, ConstBlock s, int w, int h) {
  for (int j = 0; j < h; ++j) {
    quint32* dr = d.rowAt(j);
    const quint32* sr = s.rowAt(j);
    for (int i = 0; i < w; ++i) dr[i] &= sr[i];
  }
}

QV_WIDE_CLONES void orRows(Block d, ConstBlock s, int w, int h) {
  for (int j = 0; j < h; ++j) {
    quint32* dr = d.rowAt(j);
    const quint32* sr = s.rowAt(j);
    for (int i = 0; i < w; ++i) dr[i] |= sr[i];
  }
}

// The two-step transparent draw in one pass: (d AND mask) OR sprite.
QV_WIDE_CLONES void maskPaintRows(Block d, ConstBlock m, ConstBlock s, int w, int h) {
  for (int j = 0; j < h; ++j) {
    if (j + RowsAhead < h) {
      PrefetchPixels(d.rowAt(j + RowsAhead), w);
      PrefetchPixels(m.rowAt(j + RowsAhead), w);
      PrefetchPixels(s.rowAt(j + RowsAhead), w);
    }
    quint32* dr = d.rowAt(j);
    const quint32* mr = m.rowAt(j);
    const quint32* sr = s.rowAt(j);
    for (int i = 0; i < w; ++i) dr[i] = (dr[i] & mr[i]) | sr[i];
  }
}

// A half-open range of steps.
struct Span {
  qint64 lo = 0, hi = 0;
  bool empty() const { return hi <= lo; }
};

// The steps i of a run of n pixels drawn from start in direction dir (+1 or
// -1) whose pixel start + i * dir lies in [0, limit).
Span visibleSteps(qint64 start, qint64 n, int dir, int limit) {
  Span s = dir > 0 ? Span{-start, limit - start} : Span{start - limit + 1, start + 1};
  s.lo = std::max<qint64>(s.lo, 0);
  s.hi = std::min(s.hi, n);
  return s;
}

// The source index under the centre of step i of n destination pixels that
// cover sn source pixels from s0 (nearest pixel).
inline qint64 sample(qint64 s0, qint64 i, qint64 sn, qint64 n) { return s0 + (2 * i + 1) * sn / (2 * n); }

}  // namespace

void BitBlt(QImage& dst, int x, int y, int w, int h, const QImage& src, int sx, int sy, RasterOp op) {
  if (dst.isNull() || dst.depth() != 32 || src.isNull() || !ClipCopy(x, y, w, h, sx, sy, dst.size(), src.size())) return;
  if (src.depth() != 32) {
    // Pixels of another layout are read as RGB32, never as raw words.
    BitBlt(dst, x, y, w, h, src.copy(sx, sy, w, h).convertToFormat(QImage::Format_RGB32), 0, 0, op);
    return;
  }
  if (&dst == &src || dst.constBits() == src.constBits()) {
    // Same image: take the source block first so overlapping copies stay exact.
    const QImage block = src.copy(sx, sy, w, h);
    BitBlt(dst, x, y, w, h, block, 0, 0, op);
    return;
  }
  // The alpha byte stays 0xff because both sides hold it.
  const Block d = blockAt(dst, x, y);
  const ConstBlock s = blockAt(src, sx, sy);
  switch (op) {
    case RasterOp::SRCCOPY: copyRows(d, s, w, h); break;
    case RasterOp::SRCAND: andRows(d, s, w, h); break;
    case RasterOp::SRCPAINT: orRows(d, s, w, h); break;
  }
}

void BlitTransparent(QImage& dst, int x, int y, int w, int h, const QImage& mask,
                     const QImage& sprite, int sx, int sy) {
  // Sheets of different sizes, or drawing into the mask or sprite image
  // itself, take the two separate steps, whose order then matters.
  if (dst.isNull() || mask.size() != sprite.size() || mask.depth() != 32 || sprite.depth() != 32 ||
      dst.constBits() == mask.constBits() || dst.constBits() == sprite.constBits()) {
    BitBlt(dst, x, y, w, h, mask, sx, sy, RasterOp::SRCAND);
    BitBlt(dst, x, y, w, h, sprite, sx, sy, RasterOp::SRCPAINT);
    return;
  }
  if (!ClipCopy(x, y, w, h, sx, sy, dst.size(), mask.size())) return;
  maskPaintRows(blockAt(dst, x, y), blockAt(mask, sx, sy), blockAt(sprite, sx, sy), w, h);
}

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

void PaintPicture(QImage& dst, const QImage& pic, int x, int y, int dw, int dh, int sx, int sy,
                  int sw, int sh) {
  if (dst.isNull() || dst.depth() != 32 || pic.isNull() || dw == 0 || dh == 0 || sw <= 0 || sh <= 0)
    return;
  const int dirX = dw > 0 ? 1 : -1, dirY = dh > 0 ? 1 : -1;
  const qint64 aw = std::abs(qint64(dw)), ah = std::abs(qint64(dh));
  // Only the steps that land inside the destination are walked, so enormous
  // sizes cost no more than the visible part.
  const Span cols = visibleSteps(x, aw, dirX, dst.width());
  const Span rows = visibleSteps(y, ah, dirY, dst.height());
  if (cols.empty() || rows.empty()) return;
  // The source block is taken first, so painting a picture into itself works.
  const QImage source = (pic.depth() != 32) ? pic.convertToFormat(QImage::Format_RGB32)
                        : (dst.constBits() == pic.constBits()) ? pic.copy()
                                                               : pic;
  std::vector<int> srcCol(size_t(cols.hi - cols.lo));
  for (qint64 i = cols.lo; i < cols.hi; ++i) {
    const qint64 c = sample(sx, i, sw, aw);
    srcCol[size_t(i - cols.lo)] = (c >= 0 && c < source.width()) ? int(c) : -1;
  }
  // Unscaled, unmirrored rows are block copies of the part the source covers.
  const bool plain = dirX > 0 && aw == sw;
  const qint64 plainFrom = std::max(cols.lo, -qint64(sx));
  const qint64 plainTo = std::min(cols.hi, qint64(source.width()) - sx);
  for (qint64 j = rows.lo; j < rows.hi; ++j) {
    const qint64 r = sample(sy, j, sh, ah);
    if (r < 0 || r >= source.height()) continue;
    quint32* d = row(dst, int(y + j * dirY));
    const quint32* s = row(source, int(r));
    if (plain) {
      if (plainTo > plainFrom)
        std::memcpy(d + x + plainFrom, s + sx + plainFrom, size_t(plainTo - plainFrom) * 4);
      continue;
    }
    for (qint64 i = cols.lo; i < cols.hi; ++i) {
      const int c = srcCol[size_t(i - cols.lo)];
      if (c >= 0) d[x + i * dirX] = s[c];
    }
  }
}

void PaintPicture(QImage& dst, const QImage& pic, int x, int y, int dw, int dh) {
  PaintPicture(dst, pic, x, y, dw, dh, 0, 0, pic.width(), pic.height());
}

}  // namespace qv
