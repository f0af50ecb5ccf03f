// A picture surface: an assigned Picture and the drawn Image, with the
// position, size, colours, font, drawing position and pointer shape that the
// window shows. Images are always RGB32.
#pragma once
#include "model/Types.h"
#include "surface/RasterOps.h"

#include <QFont>
#include <QImage>

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

  const QImage& Picture() const { return DrawingIsPicture ? image_ : picture_; }
  const QImage& Image() const { return image_; }
  QImage& Image() { return image_; }

  // Assigns a picture: the image becomes the back colour with the picture at
  // (0, 0). With AutoSize the surface first takes the picture's size.
  void SetPicture(const QImage& picture);
  // Empties the picture: the surface shows its back colour.
  void ClearPicture();
  // Fixes the current drawing as the picture.
  void TakeImageAsPicture() {
    if (!DrawingIsPicture) picture_ = image_;
  }
  // Repaints the image from the back colour and the picture (Cls).
  void Cls();
  // Sets the back colour and repaints, as assigning BackColor does.
  void SetBackColor(Long c) { BackColor = c; Cls(); }

  void Line(int x1, int y1, int x2, int y2, Long colour);
  void PSet(int x, int y, Long colour);
  // The colour at (x, y), or -1 outside the surface.
  Long Point(int x, int y) const;
  // Writes text at the drawing position in ForeColor and Font, one colour
  // without antialiasing (RenderTextMask); the drawing position moves to the
  // start of the next line. Draws nothing in a process without a
  // QGuiApplication, which has no fonts.
  void Print(const QString& text);

 private:
  QImage picture_;
  QImage image_;
};

// Converts any image to the surface format.
QImage toSurfaceFormat(const QImage& img);

}  // namespace qv
