// Exact raster copies on RGB32 images, written as scanline loops.
#pragma once
#include <QImage>

namespace qv {

enum class MirrorAxis { LeftRight, TopBottom };

enum class RasterOp : quint32 {
  SRCCOPY = 0x00CC0020,
  SRCAND = 0x008800C6,
  SRCPAINT = 0x00EE0086,
};

// Clips a w x h copy from (sx, sy) of a src-sized image to (x, y) of a
// dst-sized one on every edge, as BitBlt does; false when nothing is left.
bool ClipCopy(int& x, int& y, int& w, int& h, int& sx, int& sy, QSize dst, QSize src);

// Copies the w x h block at (sx, sy) of src to (x, y) of dst with op,
// clipped against both images on every edge. Images must be RGB32.
void BitBlt(QImage& dst, int x, int y, int w, int h, const QImage& src, int sx, int sy, RasterOp op);

// The two-step transparent draw (mask with SRCAND, then sprite with SRCPAINT)
// in one pass; the result is pixel-identical to the two BitBlt calls.
void BlitTransparent(QImage& dst, int x, int y, int w, int h, const QImage& mask,
                     const QImage& sprite, int sx, int sy);

// Mirrors the w x h block at (x, y) of img within its own rectangle: column c
// lands in column w - 1 - c (left-right), row r in row h - 1 - r (top-bottom).
// The block is clipped to the image first and mirrored about what is left.
void MirrorBlock(QImage& img, int x, int y, int w, int h, MirrorAxis axis);

// Scaled copy of the (sx, sy, sw, sh) area of pic into the destination
// rectangle starting at (x, y) with size dw x dh, nearest pixel. A negative
// dw (dh) draws mirrored left-right (top-bottom) leftwards (upwards) from x (y):
// with dw = -W source column c lands in column x - c.
void PaintPicture(QImage& dst, const QImage& pic, int x, int y, int dw, int dh, int sx, int sy,
                  int sw, int sh);
void PaintPicture(QImage& dst, const QImage& pic, int x, int y, int dw, int dh);

}  // namespace qv
