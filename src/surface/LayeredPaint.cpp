// The layered paint of a Board: resolving the draws, the front-to-back pass,
// the base, the mixing runs, and the plain way for what it cannot show.
#include "surface/LayeredPaint.h"

#include "surface/RasterOps.h"
#include "surface/Surface.h"

#include <algorithm>
#include <cstring>

namespace qv {
namespace {

// The rows of an RGB32 image as pixels: the first row and the step.
template <typename Pixel>
struct Rows {
  Pixel* p;
  qsizetype stride;
  Pixel* operator[](int y) const { return p + y * stride; }
};

Rows<quint32> rowsOf(QImage& img) { return {reinterpret_cast<quint32*>(img.bits()), img.bytesPerLine() / 4}; }
Rows<const quint32> rowsOf(const QImage& img) {
  return {reinterpret_cast<const quint32*>(img.constBits()), img.bytesPerLine() / 4};
}

// The stored column and step for the virtual column v of a block that is
// noted as mirrored (or not): a mirrored block reads right to left.
inline int storedStart(int v, int blockStart, int blockSize, bool mirrored) {
  return mirrored ? 2 * blockStart + blockSize - 1 - v : v;
}

// Pixels [from, to) of a Board row from the stored sheet row s, whose pixel
// for Board column x0 is s[c0], read with step dir.
inline void copyRun(quint32* d, const quint32* s, int x0, int c0, int dir, int from, int to) {
  if (dir > 0) {
    std::memcpy(d + from, s + c0 + (from - x0), size_t(to - from) * 4);
    return;
  }
  const quint32* src = s + c0 - (from - x0);
  for (int i = 0, n = to - from; i < n; ++i) d[from + i] = src[-i];
}

inline void mixRun(quint32* d, const quint32* m, const quint32* s, int x0, int c0, int dir, int from, int to) {
  const int at = c0 + dir * (from - x0);
  for (int i = 0, n = to - from; i < n; ++i) d[from + i] = (d[from + i] & m[at + dir * i]) | s[at + dir * i];
}

inline void orRun(quint32* d, const quint32* s, int x0, int c0, int dir, int from, int to) {
  const int at = c0 + dir * (from - x0);
  for (int i = 0, n = to - from; i < n; ++i) d[from + i] |= s[at + dir * i];
}

// The base of a Board over [from, to) of row y: the picture where it
// reaches, the back colour elsewhere.
inline void baseRun(quint32* d, const QImage& picture, Rows<const quint32> pic, QRgb back, int y, int from, int to) {
  int split = from;
  if (y < picture.height()) {
    split = std::max(from, std::min(to, picture.width()));
    if (split > from) std::memcpy(d + from, pic[y] + from, size_t(split - from) * 4);
  }
  std::fill(d + split, d + to, back);
}

}  // namespace

void LayeredPaint::Begin(const Surface& board, bool fromBase) {
  const QImage& img = board.StoredImage();
  const bool same = drawnKnown_ && img.cacheKey() == imageKey_ && img.width() == drawn_.width() &&
                    img.height() == drawn_.height() && board.Picture().cacheKey() == pictureKey_ &&
                    toQRgb(board.BackColor) == back_;
  draws_.clear();
  baseDue_ = fromBase;
  if (fromBase) {
    std::swap(before_, drawn_);
    beforeKnown_ = same;
    if (drawn_.width() != img.width() || drawn_.height() != img.height())
      drawn_.reset(img.width(), img.height());
    drawn_.clear();
    drawnKnown_ = true;
  } else {
    drawnKnown_ = same;
  }
  pictureKey_ = board.Picture().cacheKey();
  back_ = toQRgb(board.BackColor);
}

void LayeredPaint::Touched(const QRect& area) {
  const QRect r = area.intersected(QRect(0, 0, drawn_.width(), drawn_.height()));
  if (drawnKnown_ && !r.isEmpty()) drawn_.setRect(r.left(), r.top(), r.right() + 1, r.bottom() + 1);
}

void LayeredPaint::End(const Surface& board) { imageKey_ = board.StoredImage().cacheKey(); }

size_t LayeredPaint::Bytes() const {
  return runs_.bytes() + drawn_.bytes() + before_.bytes() + covered_.bytes() +
         draws_.capacity() * sizeof(SheetDraw) + layers_.capacity() * sizeof(Layer) + mixes_.capacity() * sizeof(Mix);
}

bool LayeredPaint::solidPicture(const QImage& picture) {
  if (picture.cacheKey() != solidKey_) {
    quint32 alpha = 0xff000000u;
    const Rows<const quint32> rows = rowsOf(picture);
    for (int y = 0; y < picture.height(); ++y)
      for (int x = 0; x < picture.width(); ++x) alpha &= rows[y][x];
    solidKey_ = picture.cacheKey();
    solid_ = (alpha & 0xff000000u) == 0xff000000u;
  }
  return solid_;
}

void LayeredPaint::Flush(Surface& board, const Surface& sprites, const Surface& masks) {
  if (draws_.empty() && !baseDue_) return;
  QImage& img = board.Image();
  if (!img.isNull()) {
    const QImage& picture = board.Picture();
    const bool baseFits = !baseDue_ || picture.isNull() ||
                          (picture.format() == QImage::Format_RGB32 && solidPicture(picture));
    if (drawnKnown_ && img.format() == QImage::Format_RGB32 && baseFits && resolve(img, sprites, masks))
      paintLayers(img, board, sprites, masks);
    else
      paintPlain(img, board, sprites, masks);
  }
  draws_.clear();
  baseDue_ = false;
}

bool LayeredPaint::resolve(const QImage& board, const Surface& sprites, const Surface& masks) {
  const QImage& sheet = sprites.StoredImage();
  const QImage& maskSheet = masks.StoredImage();
  if (sheet.format() != QImage::Format_RGB32 || maskSheet.format() != QImage::Format_RGB32 ||
      sheet.size() != maskSheet.size() || sheet.constBits() == board.constBits() ||
      maskSheet.constBits() == board.constBits())
    return false;
  // A block whose mirrorings cannot be read through (noted on a block that
  // only overlaps the draw, or noted apart on the two sheets) is mirrored in
  // place first, before any pixel is read.
  const auto mirrorOf = [&](const SheetDraw& d, QRect src) -> std::optional<Surface::BlockMirror> {
    const auto s = sprites.MirrorOver(src);
    if (d.ink != SheetDraw::Ink::Masked || !s) return s;
    const auto m = masks.MirrorOver(src);
    if (!m || m->block != s->block || m->leftRight != s->leftRight || m->topBottom != s->topBottom)
      return std::nullopt;
    return s;
  };
  const auto clipped = [&](SheetDraw d) {
    return ClipCopy(d.x, d.y, d.w, d.h, d.sx, d.sy, board, sheet) ? QRect(d.sx, d.sy, d.w, d.h) : QRect();
  };
  for (const SheetDraw& d : draws_) {
    const QRect src = clipped(d);
    if (!src.isEmpty() && !mirrorOf(d, src)) {
      sprites.Image();
      masks.Image();
      break;
    }
  }
  runs_.use(maskSheet, sheet);
  layers_.clear();
  for (const SheetDraw& d : draws_) {
    int x = d.x, y = d.y, w = d.w, h = d.h, sx = d.sx, sy = d.sy;
    if (!ClipCopy(x, y, w, h, sx, sy, board, sheet)) continue;
    const QRect src(sx, sy, w, h);
    const Surface::BlockMirror mirror = *mirrorOf(d, src);
    const QRect& b = mirror.block;
    Layer l{d.ink, x, y, w, h, storedStart(sx, b.x(), b.width(), mirror.leftRight),
            storedStart(sy, b.y(), b.height(), mirror.topBottom), mirror.leftRight ? -1 : 1,
            mirror.topBottom ? -1 : 1, nullptr};
    if (d.ink != SheetDraw::Ink::Or) {
      // The runs of the whole block serve every Cel in it; a source outside
      // its block keeps runs of its own.
      const QRect block = d.block.intersected(sheet.rect());
      const QRect kept = !b.isEmpty() ? b : block.contains(src) ? block : src;
      l.runs = &runs_.runsOf(maskSheet, sheet, kept);
      if (!l.runs->solidSprite()) return false;
    }
    layers_.push_back(l);
  }
  return true;
}

void LayeredPaint::paintPlain(QImage& board, const Surface& surface, const Surface& sprites, const Surface& masks) {
  if (baseDue_) {
    const QImage& picture = surface.Picture();
    if (picture.isNull() || picture.width() < board.width() || picture.height() < board.height()) board.fill(back_);
    BitBlt(board, 0, 0, board.width(), board.height(), picture, 0, 0, RasterOp::SRCCOPY);
  }
  for (const SheetDraw& d : draws_) {
    switch (d.ink) {
      case SheetDraw::Ink::Copy:
        BitBlt(board, d.x, d.y, d.w, d.h, sprites.Image(), d.sx, d.sy, RasterOp::SRCCOPY);
        break;
      case SheetDraw::Ink::Masked:
        BlitTransparent(board, d.x, d.y, d.w, d.h, masks.Image(), sprites.Image(), d.sx, d.sy);
        break;
      case SheetDraw::Ink::Or:
        BitBlt(board, d.x, d.y, d.w, d.h, sprites.Image(), d.sx, d.sy, RasterOp::SRCPAINT);
        break;
    }
  }
  // Which pixels now differ from the base is no longer known.
  drawnKnown_ = false;
}

void LayeredPaint::paintLayers(QImage& board, const Surface& surface, const Surface& sprites,
                               const Surface& masks) {
  const int W = board.width(), H = board.height();
  if (covered_.width() != W || covered_.height() != H) covered_.reset(W, H);
  covered_.clear();
  const Rows<quint32> out = rowsOf(board);
  const Rows<const quint32> spr = rowsOf(sprites.StoredImage()), msk = rowsOf(masks.StoredImage());
  mixes_.clear();

  // Front to back: opaque runs where nothing in front covers them yet; the
  // uncovered parts of mixing runs are kept for after what lies below.
  for (int li = int(layers_.size()) - 1; li >= 0; --li) {
    const Layer& l = layers_[size_t(li)];
    const auto opaque = [&](int y, const quint32* s, int from, int to) {
      quint64* cov = covered_.row(y);
      quint32* d = out[y];
      ForEachRun(from, to, [cov](int i) { return ~cov[i]; },
                 [&](int a, int b) { copyRun(d, s, l.x0, l.cx0, l.dirX, a, b); });
      covered_.set(y, from, to);
    };
    const auto mixing = [&](int y, int from, int to) {
      const quint64* cov = covered_.row(y);
      ForEachRun(from, to, [cov](int i) { return ~cov[i]; }, [&](int a, int b) { mixes_.push_back({li, y, a, b}); });
      drawn_.set(y, from, to);
    };
    for (int j = 0; j < l.h; ++j) {
      const int y = l.y0 + j, sr = l.cy0 + l.dirY * j;
      if (l.ink == SheetDraw::Ink::Copy) {
        opaque(y, spr[sr], l.x0, l.x0 + l.w);
        continue;
      }
      if (l.ink == SheetDraw::Ink::Or) {
        mixing(y, l.x0, l.x0 + l.w);
        continue;
      }
      // The layer's stored columns, counted from the block's left; a stored
      // run [a, b) lands on the Board from x0 + (a - lo) reading forwards,
      // or ending at x0 + (hi - a) reading backwards.
      const QRect& b = l.runs->block();
      const int lo = (l.dirX > 0 ? l.cx0 : l.cx0 - l.w + 1) - b.x(), hi = lo + l.w;
      const int r = sr - b.y();
      for (const MaskRun* run = l.runs->rowBegin(r); run != l.runs->rowEnd(r); ++run) {
        const int a = std::max(run->from, lo), e = std::min(run->to, hi);
        if (a >= e) continue;
        const int from = l.dirX > 0 ? l.x0 + (a - lo) : l.x0 + (hi - e);
        if (run->opaque)
          opaque(y, spr[sr], from, from + (e - a));
        else
          mixing(y, from, from + (e - a));
      }
    }
  }

  // The base where no opaque run covers a pixel that may differ from it.
  if (baseDue_) {
    const QImage& picture = surface.Picture();
    const Rows<const quint32> pic = rowsOf(picture);
    const int y0 = beforeKnown_ ? before_.rowsFrom() : 0, y1 = beforeKnown_ ? before_.rowsTo() : H;
    for (int y = y0; y < y1; ++y) {
      const quint64* cov = covered_.row(y);
      const quint64* was = beforeKnown_ ? before_.row(y) : nullptr;
      quint32* d = out[y];
      ForEachRun(0, W, [cov, was](int i) { return (was ? was[i] : ~0ull) & ~cov[i]; },
                 [&](int a, int b) { baseRun(d, picture, pic, back_, y, a, b); });
    }
  }

  // Mixing runs back to front, each over what now lies below it.
  for (auto m = mixes_.rbegin(); m != mixes_.rend(); ++m) {
    const Layer& l = layers_[size_t(m->layer)];
    const int sr = l.cy0 + l.dirY * (m->y - l.y0);
    if (l.ink == SheetDraw::Ink::Or)
      orRun(out[m->y], spr[sr], l.x0, l.cx0, l.dirX, m->from, m->to);
    else
      mixRun(out[m->y], msk[sr], spr[sr], l.x0, l.cx0, l.dirX, m->from, m->to);
  }
  drawn_.add(covered_, covered_.rowsFrom(), covered_.rowsTo());
}

}  // namespace qv
