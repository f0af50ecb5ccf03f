// The layered paint of a Board: resolving the draws, the coverage, the base,
// the layers back to front, and the plain way for what it cannot show.
#include "surface/LayeredPaint.h"

#include "surface/Prefetch.h"
#include "surface/RasterOps.h"
#include "surface/Surface.h"

#include <algorithm>
#include <cstring>
#include <utility>

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

// n pixels to d from s read right to left (s points at the first one).
inline void copyReversed(quint32* d, const quint32* s, int n) {
  int i = 0;
#if defined(__GNUC__) || defined(__clang__)
  // Four at a time, turned round in a register.
  using Four = quint32 __attribute__((vector_size(16)));
  for (; i + 4 <= n; i += 4) {
    Four v;
    std::memcpy(&v, s - i - 3, sizeof v);
    v = __builtin_shufflevector(v, v, 3, 2, 1, 0);
    std::memcpy(d + i, &v, sizeof v);
  }
#endif
  for (; i < n; ++i) d[i] = s[-i];
}

// Pixels [from, to) of a Board row from the stored sheet row s, whose pixel
// for Board column x0 is s[c0], read with step dir.
inline void copyRun(quint32* d, const quint32* s, int x0, int c0, int dir, int from, int to) {
  if (dir > 0)
    std::memcpy(d + from, s + c0 + (from - x0), size_t(to - from) * 4);
  else
    copyReversed(d + from, s + c0 - (from - x0), to - from);
}

inline void mixRun(quint32* d, const quint32* m, const quint32* s, int x0, int c0, int dir, int from, int to) {
  const int at = c0 + dir * (from - x0);
  for (int i = 0, n = to - from; i < n; ++i) d[from + i] = (d[from + i] & m[at + dir * i]) | s[at + dir * i];
}

inline void orRun(quint32* d, const quint32* s, int x0, int c0, int dir, int from, int to) {
  const int at = c0 + dir * (from - x0);
  for (int i = 0, n = to - from; i < n; ++i) d[from + i] |= s[at + dir * i];
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

bool LayeredPaint::Reads(const QRect& area) const {
  return std::any_of(draws_.begin(), draws_.end(),
                     [&](const SheetDraw& d) { return QRect(d.sx, d.sy, d.w, d.h).intersects(area); });
}

void LayeredPaint::End(const Surface& board) { imageKey_ = board.StoredImage().cacheKey(); }

size_t LayeredPaint::Bytes() const {
  return runs_.bytes() + drawn_.bytes() + before_.bytes() + covered_.bytes() +
         draws_.capacity() * sizeof(SheetDraw) + layers_.capacity() * sizeof(Layer) +
         sources_.capacity() * sizeof(QRect);
}

bool LayeredPaint::solidPicture(const QImage& picture) {
  if (picture.cacheKey() != solidKey_) {
    quint32 alpha = 0xff000000u;
    const Rows<const quint32> rows = rowsOf(picture);
    const int w = picture.width(), h = picture.height();
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) alpha &= rows[y][x];
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
  const QSize sheetSize = sheet.size(), boardSize = board.size();
  if (sheet.format() != QImage::Format_RGB32 || maskSheet.format() != QImage::Format_RGB32 ||
      sheetSize != maskSheet.size() || sheet.constBits() == board.constBits() ||
      maskSheet.constBits() == board.constBits())
    return false;
  // The mirroring noted over a draw's source; nothing when it cannot be read
  // through (noted on a block that only overlaps the source, or noted apart
  // on the two sheets).
  const auto mirrorOf = [&](SheetDraw::Ink ink, const QRect& src) -> std::optional<Surface::BlockMirror> {
    const auto s = sprites.MirrorOver(src);
    if (ink != SheetDraw::Ink::Masked || !s) return s;
    const auto m = masks.MirrorOver(src);
    if (!m || m->block != s->block || m->leftRight != s->leftRight || m->topBottom != s->topBottom)
      return std::nullopt;
    return s;
  };
  // The draws clipped (the source point kept in cx0, cy0 for now); a
  // mirroring that cannot be read through is done in place, before any pixel
  // is read.
  layers_.clear();
  sources_.clear();
  bool readThrough = true;
  for (const SheetDraw& d : draws_) {
    Layer l{d.ink, d.x, d.y, d.w, d.h, d.sx, d.sy, 1, 1, nullptr};
    if (!ClipCopy(l.x0, l.y0, l.w, l.h, l.cx0, l.cy0, boardSize, sheetSize)) continue;
    const QRect src(l.cx0, l.cy0, l.w, l.h);
    readThrough = readThrough && mirrorOf(d.ink, src);
    layers_.push_back(l);
    sources_.push_back(d.block);
  }
  if (!readThrough) {
    sprites.Image();
    masks.Image();
  }
  runs_.use(maskSheet, sheet);
  for (size_t i = 0; i < layers_.size(); ++i) {
    Layer& l = layers_[i];
    const QRect src(l.cx0, l.cy0, l.w, l.h);
    const Surface::BlockMirror mirror = *mirrorOf(l.ink, src);
    const QRect& b = mirror.block;
    l.cx0 = storedStart(src.x(), b.x(), b.width(), mirror.leftRight);
    l.cy0 = storedStart(src.y(), b.y(), b.height(), mirror.topBottom);
    l.dirX = mirror.leftRight ? -1 : 1;
    l.dirY = mirror.topBottom ? -1 : 1;
    if (l.ink == SheetDraw::Ink::Or) continue;
    // The runs of the whole block serve every Cel in it; a source outside
    // its block keeps runs of its own.
    const QRect block = sources_[i].intersected(QRect(QPoint(0, 0), sheetSize));
    const bool inBlock = src.left() >= block.left() && src.right() <= block.right() &&
                         src.top() >= block.top() && src.bottom() <= block.bottom();
    const QRect kept = !b.isEmpty() ? b : inBlock ? block : src;
    if (l.ink == SheetDraw::Ink::Copy) {
      if (!runs_.solidSprite(sheet, kept)) return false;
      continue;
    }
    l.runs = &runs_.runsOf(maskSheet, sheet, kept);
    if (!l.runs->solidSprite()) return false;
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

template <typename F>
void LayeredPaint::forEachRun(const Layer& l, F&& f) const {
  const int firstCol = l.dirX > 0 ? l.cx0 : l.cx0 - l.w + 1;
  const QRect block = l.ink == SheetDraw::Ink::Masked ? l.runs->block() : QRect();
  // The layer's stored columns [lo, hi), counted from its block's left; a
  // stored run [a, e) lands on the Board from x0 + (a - lo) reading
  // forwards, or from x0 + (hi - e) reading backwards.
  const int lo = firstCol - block.x(), hi = lo + l.w;
  for (int j = 0; j < l.h; ++j) {
    const int y = l.y0 + j, sr = l.cy0 + l.dirY * j;
    if (l.ink != SheetDraw::Ink::Masked) {
      f(j, y, sr, l.x0, l.x0 + l.w, l.ink == SheetDraw::Ink::Copy, nullptr);
      continue;
    }
    const int r = sr - block.y();
    for (const MaskRun *run = l.runs->rowBegin(r), *end = l.runs->rowEnd(r); run != end; ++run) {
      const int a = std::max(run->from, lo), e = std::min(run->to, hi);
      if (a >= e) continue;
      const int from = l.dirX > 0 ? l.x0 + (a - lo) : l.x0 + (hi - e);
      // An opaque run's kept pixels, from the one for the Board pixel at from.
      const quint32* px = !run->opaque()        ? nullptr
                          : l.dirX > 0          ? l.runs->pixels() + run->at + (a - run->from)
                                                : l.runs->pixels() + run->at + (e - 1 - run->from);
      f(j, y, sr, from, from + (e - a), run->opaque(), px);
    }
  }
}

void LayeredPaint::paintLayers(QImage& board, const Surface& surface, const Surface& sprites,
                               const Surface& masks) {
  ++layeredCount_;
  const int W = board.width(), H = board.height();
  const Rows<quint32> out = rowsOf(board);
  const Rows<const quint32> spr = rowsOf(sprites.StoredImage()), msk = rowsOf(masks.StoredImage());

  if (baseDue_) {
    // Which pixels the draws cover: drawn_ (empty until now) takes those of
    // opaque runs, covered_ those of mixing runs.
    bool mixing = false;
    for (const Layer& l : layers_)
      forEachRun(l, [&](int, int y, int, int from, int to, bool opaque, const quint32*) {
        if (opaque) return drawn_.set(y, from, to);
        if (!std::exchange(mixing, true)) {
          if (covered_.width() != W || covered_.height() != H) covered_.reset(W, H);
          covered_.clear();
        }
        covered_.set(y, from, to);
      });
    // The base where a pixel may differ from it and no opaque run covers it.
    const QImage& picture = surface.Picture();
    const Rows<const quint32> pic = rowsOf(picture);
    const int pw = picture.width(), ph = picture.height();
    const int y0 = beforeKnown_ ? before_.rowsFrom() : 0, y1 = beforeKnown_ ? before_.rowsTo() : H;
    for (int y = y0; y < y1; ++y) {
      const quint64* c = drawn_.row(y);
      const quint64* was = beforeKnown_ ? before_.row(y) : nullptr;
      quint32* d = out[y];
      ForEachRun(0, W, [c, was](int i) { return (was ? was[i] : ~0ull) & ~c[i]; }, [&](int a, int b) {
        // The picture where it reaches, the back colour elsewhere.
        const int split = y < ph ? std::max(a, std::min(b, pw)) : a;
        if (split > a) std::memcpy(d + a, pic[y] + a, size_t(split - a) * 4);
        std::fill(d + split, d + b, back_);
      });
    }
    if (mixing) drawn_.add(covered_);
  }

  // The layers back to front, each run over what lies below it.
  for (const Layer& l : layers_) {
    const int firstCol = l.dirX > 0 ? l.cx0 : l.cx0 - l.w + 1;
    forEachRun(l, [&](int j, int y, int sr, int from, int to, bool opaque, const quint32* px) {
      // Board rows, and the rows of a block in the sheets, lie a whole row
      // apart, where the processor's own prefetching starts over: the next
      // ones are asked for. A Transparent layer's opaque runs read their kept
      // pixels in order instead.
      if (j + RowsAhead < l.h) {
        PrefetchPixels(out[y + RowsAhead] + from, to - from, true);
        if (l.ink != SheetDraw::Ink::Masked) PrefetchLine(spr[sr + RowsAhead * l.dirY] + firstCol);
      }
      quint32* d = out[y];
      if (px && l.dirX > 0)
        std::memcpy(d + from, px, size_t(to - from) * 4);
      else if (px)
        copyReversed(d + from, px, to - from);
      else if (opaque)
        copyRun(d, spr[sr], l.x0, l.cx0, l.dirX, from, to);
      else if (l.ink == SheetDraw::Ink::Or)
        orRun(d, spr[sr], l.x0, l.cx0, l.dirX, from, to);
      else
        mixRun(d, msk[sr], spr[sr], l.x0, l.cx0, l.dirX, from, to);
      if (!baseDue_) drawn_.set(y, from, to);
    });
  }
}

}  // namespace qv
