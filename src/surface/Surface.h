// A picture surface: an assigned Picture and the drawn Image, with the
// position, size, colours, font, drawing position and pointer shape that the
// window shows. Images are always RGB32.
#pragma once
#include "model/Types.h"
#include "surface/LayeredPaint.h"
#include "surface/RasterOps.h"

#include <QFont>
#include <QImage>
#include <optional>
#include <vector>

namespace qv {

enum class MousePointer { Default = 0, Arrow = 1, Hourglass = 11, FourWayArrow = 15 };

class Surface {
 public:
  int Left = 0;
  int Top = 0;
  bool Visible = true;
  bool Enabled = true;
  bool AutoSize = false;
  Long BackColor = White;
  Long ForeColor = Black;
  QFont Font;
  double CurrentX = 0;
  double CurrentY = 0;
  MousePointer Pointer = MousePointer::Default;
  // A persistent drawing surface whose every drawing is at once its picture
  // (the sprite and mask sheets): taking the image as the picture costs
  // nothing and repainting keeps the drawing.
  bool DrawingIsPicture = false;

  int Width() const { return image_.width(); }
  int Height() const { return image_.height(); }
  // Resizes the drawn image; what was drawn stays where it fits, the rest
  // takes the back colour.
  void SetSize(int w, int h);
  void SetWidth(int w) { SetSize(w, Height()); }
  void SetHeight(int h) { SetSize(Width(), h); }

  // Both do the mirrorings noted with MirrorLater first.
  const QImage& Picture() const { return DrawingIsPicture ? Image() : picture_; }
  const QImage& Image() const {
    doMirrors();
    return image_;
  }
  QImage& Image() {
    doMirrors();
    return image_;
  }

  // Mirrors a block (clipped to the image) later: the mirroring is noted and
  // done to the pixels only when the image is next used, so a block mirrored
  // twice on one axis costs nothing. Everything that reads or draws the image
  // sees it mirrored; a layered paint reads the stored pixels through the
  // notes instead (StoredImage, MirrorOver).
  void MirrorLater(const QRect& block, MirrorAxis axis);
  struct BlockMirror {
    QRect block;  // empty: no mirroring touches the area
    bool leftRight = false, topBottom = false;
  };
  // The mirroring noted for a block that holds all of area; nothing when a
  // noted block only overlaps it.
  std::optional<BlockMirror> MirrorOver(const QRect& area) const;
  const QImage& StoredImage() const { return image_; }

  // Assigns a picture: the image becomes the back colour with the picture at
  // (0, 0). With AutoSize the surface first takes the picture's size.
  void SetPicture(const QImage& picture);
  // Empties the picture: the surface shows its back colour.
  void ClearPicture();
  // Assigns the picture (or none) as SetPicture and ClearPicture do, but
  // leaves the image to the layered paint that follows (no AutoSize).
  void AssignPictureUnpainted(const QImage& picture);
  // Fixes the current drawing as the picture.
  void TakeImageAsPicture() {
    if (!DrawingIsPicture) picture_ = Image();
  }
  // Repaints the image from the back colour and the picture (Cls).
  void Cls();
  // Sets the back colour and repaints, as assigning BackColor does.
  void SetBackColor(Long c) { BackColor = c; Cls(); }

  void Line(int x1, int y1, int x2, int y2, Long colour);
  void PSet(int x, int y, Long colour);
  // Writes text at the drawing position in ForeColor and Font, one colour
  // without antialiasing (RenderTextMask); the drawing position moves to the
  // start of the next line. Draws nothing in a process without a
  // QGuiApplication, which has no fonts. Returns the area of every pixel it
  // changed (empty when it drew nothing).
  QRect Print(const QString& text);

  // What painting the whole surface in layers keeps between paints (used for
  // the Board; see LayeredPaint). Layers.On = false draws every Board the
  // plain way, the reference the layered paint must match.
  LayeredPaint Layers;

 private:
  void doMirrors() const {
    if (!mirrors_.empty()) applyMirrors();
  }
  void applyMirrors() const;

  QImage picture_;
  // Mutable for the mirrorings done when a const reader first looks.
  mutable QImage image_;
  mutable std::vector<BlockMirror> mirrors_;
};

// Converts any image to the surface format.
QImage toSurfaceFormat(const QImage& img);

}  // namespace qv
