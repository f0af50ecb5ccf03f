// Small helpers shared by the imaging and editing tests: placing Panes in
// given slots with solid-coloured cells, and reading pixels as colours.
#pragma once
#include "imaging/Sheets.h"
#include "support/PaneFixtures.h"

#include <QImage>

namespace qv::fixtures {

constexpr Long Red = RGB(255, 0, 0);
constexpr Long Blue = RGB(0, 0, 255);
constexpr Long Green = RGB(0, 160, 0);
constexpr Long Yellow = RGB(250, 240, 10);
constexpr Long Purple = RGB(120, 20, 200);

// Gives slot n a Pane with the new-Pane defaults at (left, top), size w x h,
// its whole used area painted in one colour.
inline PaneRecord& placePane(Workspace& ws, int slot, int left, int top, int w, int h, Long colour) {
  PaneRecord& p = placeAt(ws, slot, left, top, w, h);
  fill(ws.picSprites.Image(), p.SheetX, p.SheetY, w, h, colour);
  return p;
}

// Turns the Pane into a 2 x 2 Cel grid whose four Cels are c1 c2 / c3 c4.
inline void makeCelGrid(Workspace& ws, int slot, Long c1, Long c2, Long c3, Long c4) {
  PaneRecord& p = ws.Pane(slot);
  p.CelsAcross = p.CelsDown = 2;
  p.CelCount = 4;
  p.CelWidth = CelSize(p.Width, 2);
  p.CelHeight = CelSize(p.Height, 2);
  QImage& s = ws.picSprites.Image();
  fill(s, p.SheetX, p.SheetY, p.CelWidth, p.CelHeight, c1);
  fill(s, p.SheetX + p.CelWidth, p.SheetY, p.CelWidth, p.CelHeight, c2);
  fill(s, p.SheetX, p.SheetY + p.CelHeight, p.CelWidth, p.CelHeight, c3);
  fill(s, p.SheetX + p.CelWidth, p.SheetY + p.CelHeight, p.CelWidth, p.CelHeight, c4);
}

// A picture whose every pixel differs from its neighbours: (x, y, 77).
inline QImage patternPicture(int w, int h) {
  QImage img(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) img.setPixel(x, y, qRgb(x & 255, y & 255, 77));
  return img;
}

inline Long patternAt(int x, int y) { return RGB(x & 255, y & 255, 77); }

}  // namespace qv::fixtures
