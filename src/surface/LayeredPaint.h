// Painting a whole Board at once from its layers: the base (the Board's
// picture over its back colour) and the draws from the sprite and mask
// sheets, back to front. The draws are gathered, then painted together: the
// base is written only where the last paint drew over it and no opaque run
// of this paint covers the pixel, then each draw goes from the run-length
// spans of its block (BlockRuns), its opaque runs copied from their kept
// pixels and its left-out pixels skipped. The Board comes out byte for byte
// as restoring the base and drawing each draw in turn with BitBlt and
// BlitTransparent makes it; where that cannot be shown (pixels outside what
// RGB32 allows, sheets that differ in size) the paint takes that plain way.
#pragma once
#include "surface/BlockRuns.h"
#include "surface/PixelBits.h"

#include <QImage>
#include <QRect>

#include <vector>

namespace qv {

class Surface;

// One draw of a w x h block of the sheets at (sx, sy) to (x, y) on the Board.
struct SheetDraw {
  enum class Ink {
    Copy,    // the sprite (SRCCOPY)
    Masked,  // the mask with SRCAND, then the sprite with SRCPAINT
    Or,      // the sprite with SRCPAINT alone
  };
  Ink ink;
  int x, y, w, h;
  int sx, sy;
  // The Pane's block of the sheets, which holds (sx, sy, w, h): its runs are
  // kept per block, and its mirrorings are noted for the block.
  QRect block;
};

class LayeredPaint {
 public:
  // Off: the Board is drawn the plain way, each draw at once.
  bool On = true;

  // Starts a paint of the board: from its base (its picture was just
  // assigned, its image is not yet painted) or over what it shows.
  void Begin(const Surface& board, bool fromBase);
  void Add(const SheetDraw& d) { draws_.push_back(d); }
  // Whether a draw gathered since the last Flush reads the area of the
  // sheets: a change to the area (a mirroring) must wait for a Flush, which
  // paints those draws from the sheets as they were.
  bool Reads(const QRect& area) const;
  // Paints what was gathered since Begin or the last Flush.
  void Flush(Surface& board, const Surface& sprites, const Surface& masks);
  // Notes a drawing made straight into the board (a Label, a line) inside
  // area; call Flush before it.
  void Touched(const QRect& area);
  // Ends the paint: the board's image is the one the kept record describes.
  void End(const Surface& board);

  // Memory held between paints: the runs and the per-pixel records.
  size_t Bytes() const;
  // How many paints were done in layers (the others took the plain way).
  int PaintsInLayers() const { return layeredCount_; }

 private:
  // A draw resolved for painting: its place on the Board, clipped, and where
  // the stored sheet pixel for Board pixel (x0 + i, y0 + j) lies:
  // (cx0 + dirX * i, cy0 + dirY * j), mirrorings noted on the sheets included.
  struct Layer {
    SheetDraw::Ink ink;
    int x0, y0, w, h;
    int cx0, cy0, dirX, dirY;
    const BlockRuns* runs;  // Masked only
  };
  bool resolve(const QImage& board, const Surface& sprites, const Surface& masks);
  // Calls f(j, y, sr, from, to, opaque, px) for each run [from, to) of Board
  // row y = y0 + j that the layer draws from stored sheet row sr, row by row;
  // px: the kept pixels of an opaque run, read in the layer's direction.
  template <typename F>
  void forEachRun(const Layer& l, F&& f) const;
  void paintLayers(QImage& board, const Surface& surface, const Surface& sprites, const Surface& masks);
  void paintPlain(QImage& board, const Surface& surface, const Surface& sprites, const Surface& masks);
  bool solidPicture(const QImage& picture);

  std::vector<SheetDraw> draws_;
  std::vector<Layer> layers_;
  std::vector<QRect> sources_;  // the block of each layer's draw
  BlockRunCache runs_;
  // Pixels that may differ from the base: after the last paint (drawn_), and
  // before the paint in progress (before_); covered_ by the paint's mixing runs.
  PixelBits drawn_, before_, covered_;
  bool drawnKnown_ = false, beforeKnown_ = false;
  bool baseDue_ = false;
  // What drawn_ describes: the image and the base it was painted from.
  qint64 imageKey_ = 0, pictureKey_ = 0;
  QRgb back_ = 0;
  qint64 solidKey_ = 0;
  bool solid_ = false;
  int layeredCount_ = 0;
};

}  // namespace qv
