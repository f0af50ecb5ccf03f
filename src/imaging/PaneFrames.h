// Pictures as a Pane takes them from a file: transparent pixels become the
// Pane's black transparency, and an animated GIF's frames become its Cels.
// Both are our additions to Load a Picture.
#pragma once
#include "model/Outcome.h"
#include "shell/Workspace.h"

#include <optional>

namespace qv {

// A Pane's size bounds (the Pane dialog's), and its Cels: 1..5 a side.
constexpr int MinPaneSide = 20;
constexpr int MaxCelsASide = 5;
constexpr int MaxCels = MaxCelsASide * MaxCelsASide;

// The Cels an animation is laid out in: CelsAcross x CelsDown, each Cel of
// cel pixels.
struct CelGrid {
  int across = 1, down = 1;
  QSize cel;
  bool operator==(const CelGrid&) const = default;
};

// The grid for frames (2..25) frames of frameSize: the fewest Cels that hold
// them all (with 7 frames, 4 x 2: the last frame fills the Cel left over),
// of these the grid that shows the frames largest, and of those the most
// nearly square, then the widest. A Cel keeps the frame's shape, shrunk
// when the grid would pass 200 x 200, and grown only as far as the Pane
// needs to be 20 x 20.
CelGrid ChooseCelGrid(int frames, QSize frameSize);

// The picture as the sprite sheet holds it under black transparency: a
// pixel with alpha below half becomes black (transparent); an opaque pixel
// that is pure black becomes (1, 1, 1), the nearest grey the mask draws.
QImage MaskReadyPicture(const QImage& picture);
// Whether a picture has a pixel with alpha below half.
bool HasTransparentPixels(const QImage& picture);

// The Cel delay (run-loop frames of 30 ms between Cel changes, 1..99) for
// the frames' delays in ms: their mean. A delay under 20 ms counts as
// 100 ms, as web browsers show such frames.
Integer CelDelayFor(const QVector<int>& delaysMs);

// A picture file read for a Pane.
struct PanePicture {
  QImage picture;  // RGB32: the picture, or the Cel grid laid out
  bool transparent = false;
  std::optional<CelGrid> cels;  // an animation
  Integer celDelay = 0;
};

// Reads a picture file for a Pane: failed with the file and the reason;
// done with a warning when an animation has more frames than a Pane has
// Cels (the last are left out).
Outcome ReadPanePicture(const QString& path, PanePicture& out);
// The same from a picture's bytes (a picture pasted from another program),
// named in what goes wrong as name.
Outcome ReadPanePictureData(const QByteArray& data, const QString& name, PanePicture& out);
// Puts the picture into the slot: black transparency on when the picture
// has transparent pixels; an animation sets the Pane's size and Cels and
// its Cel delay. Then CommitPanePicture.
void TakePanePicture(Workspace& ws, int slot, const PanePicture& pic);

}  // namespace qv
