// Picture surface operations.
#include "surface/Surface.h"

#include "surface/TextMask.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace qv {

QImage toSurfaceFormat(const QImage& img) {
  if (img.isNull() || img.format() == QImage::Format_RGB32) return img;
  return img.convertToFormat(QImage::Format_RGB32);
}

void Surface::SetSize(int w, int h) {
  doMirrors();
  w = std::max(w, 0);
  h = std::max(h, 0);
  if (w == Width() && h == Height() && !image_.isNull()) return;
  QImage next(w, h, QImage::Format_RGB32);
  next.fill(toQRgb(BackColor));
  if (!image_.isNull()) BitBlt(next, 0, 0, w, h, image_, 0, 0, RasterOp::SRCCOPY);
  image_ = next;
}

void Surface::SetPicture(const QImage& picture) {
  doMirrors();
  if (picture.isNull()) {
    ClearPicture();
    return;
  }
  picture_ = toSurfaceFormat(picture);
  if (AutoSize && !picture_.isNull()) {
    image_ = QImage();
    SetSize(picture_.width(), picture_.height());
  }
  Cls();
}

void Surface::ClearPicture() {
  doMirrors();
  picture_ = QImage();
  if (!image_.isNull()) image_.fill(toQRgb(BackColor));
  CurrentX = CurrentY = 0;
}

void Surface::AssignPictureUnpainted(const QImage& picture) {
  doMirrors();
  picture_ = toSurfaceFormat(picture);
  CurrentX = CurrentY = 0;
}

void Surface::MirrorLater(const QRect& block, MirrorAxis axis) {
  const QRect b = block.intersected(image_.rect());
  if (b.isEmpty()) return;
  auto m = std::find_if(mirrors_.begin(), mirrors_.end(), [&](const BlockMirror& n) { return n.block == b; });
  if (m == mirrors_.end()) {
    // A block that overlaps another noted one cannot be mirrored apart from it.
    if (std::any_of(mirrors_.begin(), mirrors_.end(), [&](const BlockMirror& n) { return n.block.intersects(b); }))
      applyMirrors();
    mirrors_.push_back({b});
    m = mirrors_.end() - 1;
  }
  bool& flag = axis == MirrorAxis::LeftRight ? m->leftRight : m->topBottom;
  flag = !flag;
  if (!m->leftRight && !m->topBottom) mirrors_.erase(m);
}

std::optional<Surface::BlockMirror> Surface::MirrorOver(const QRect& area) const {
  for (const BlockMirror& m : mirrors_) {
    const QRect& b = m.block;
    if (area.left() > b.right() || area.right() < b.left() || area.top() > b.bottom() || area.bottom() < b.top())
      continue;
    if (area.left() >= b.left() && area.right() <= b.right() && area.top() >= b.top() && area.bottom() <= b.bottom())
      return m;
    return std::nullopt;
  }
  return BlockMirror{};
}

void Surface::applyMirrors() const {
  for (const BlockMirror& m : mirrors_) {
    const QRect& b = m.block;
    if (m.leftRight) MirrorBlock(image_, b.x(), b.y(), b.width(), b.height(), MirrorAxis::LeftRight);
    if (m.topBottom) MirrorBlock(image_, b.x(), b.y(), b.width(), b.height(), MirrorAxis::TopBottom);
  }
  mirrors_.clear();
}

void Surface::Cls() {
  doMirrors();
  if (image_.isNull()) return;
  CurrentX = CurrentY = 0;
  if (DrawingIsPicture && picture_.isNull()) return;
  if (picture_.isNull() || picture_.width() < Width() || picture_.height() < Height())
    image_.fill(toQRgb(BackColor));
  BitBlt(image_, 0, 0, Width(), Height(), picture_, 0, 0, RasterOp::SRCCOPY);
  // A drawing surface holds its picture only as its drawing.
  if (DrawingIsPicture) picture_ = QImage();
}

void Surface::PSet(int x, int y, Long colour) {
  doMirrors();
  if (x < 0 || y < 0 || x >= Width() || y >= Height()) return;
  reinterpret_cast<quint32*>(image_.scanLine(y))[x] = toQRgb(colour);
}

void Surface::Line(int x1, int y1, int x2, int y2, Long colour) {
  // Bresenham from the first point up to, but not including, the last one,
  // as a pen line is drawn.
  const int dx = std::abs(x2 - x1), dy = -std::abs(y2 - y1);
  const int sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
  int err = dx + dy;
  int x = x1, y = y1;
  while (x != x2 || y != y2) {
    PSet(x, y, colour);
    const int e2 = 2 * err;
    if (e2 >= dy) { err += dy; x += sx; }
    if (e2 <= dx) { err += dx; y += sy; }
  }
  CurrentX = x2;
  CurrentY = y2;
}

QRect Surface::Print(const QString& text) {
  doMirrors();
  // The text is one colour over the picture, without antialiasing, so that
  // the exported web page prints the same pixels from the text's picture.
  const TextMask t = RenderTextMask(Font, text);
  const int x0 = roundHalfEven(CurrentX) + t.offset.x(), y0 = roundHalfEven(CurrentY) + t.offset.y();
  for (int y = 0; y < t.mask.height(); ++y) {
    const uchar* row = t.mask.constScanLine(y);
    for (int x = 0; x < t.mask.width(); ++x)
      if (row[x]) PSet(x0 + x, y0 + y, ForeColor);
  }
  CurrentX = 0;
  CurrentY += t.lineHeight;
  return QRect(x0, y0, t.mask.width(), t.mask.height()) & image_.rect();
}

}  // namespace qv
