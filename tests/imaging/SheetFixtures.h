// Small helpers shared by the imaging and editing tests: placing Panes in
// given slots with solid-coloured cells, and reading Board pixels as colours.
#pragma once
#include "imaging/Sheets.h"
#include "resources/Resources.h"
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
  fill(ws.surfaces.picSprites.Image(), p.SheetX, p.SheetY, w, h, colour);
  return p;
}

// Turns the Pane into a 2 x 2 Cel grid whose four Cels are c1 c2 / c3 c4.
inline void makeCelGrid(Workspace& ws, int slot, Long c1, Long c2, Long c3, Long c4) {
  PaneRecord& p = ws.Pane(slot);
  p.CelsAcross = p.CelsDown = 2;
  p.CelCount = 4;
  p.CelWidth = CelSize(p.Width, 2);
  p.CelHeight = CelSize(p.Height, 2);
  QImage& s = ws.surfaces.picSprites.Image();
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

// Expected colours at points of an image; the first mismatch as a message.
struct At {
  int x, y;
  Long c;
};
inline QByteArray mismatch(const QImage& img, std::initializer_list<At> points) {
  for (const At& a : points)
    if (px(img, a.x, a.y) != a.c)
      return QStringLiteral("(%1, %2) is %3, not %4").arg(a.x).arg(a.y).arg(px(img, a.x, a.y), 6, 16)
          .arg(a.c, 6, 16).toLatin1();
  return {};
}
#define EXPECT_PIXELS(img, ...)                                            \
  do {                                                                     \
    const QByteArray m_ = qv::fixtures::mismatch(img, __VA_ARGS__);        \
    QVERIFY2(m_.isEmpty(), m_.constData());                                \
  } while (false)
#define EXPECT_STAGE(ws, ...) EXPECT_PIXELS((ws).surfaces.picStage.Image(), __VA_ARGS__)

// True when every pixel of the w x h block at (x, y) is colour c.
inline bool blockIs(const QImage& img, int x, int y, int w, int h, Long c) {
  for (int j = y; j < y + h; ++j)
    for (int i = x; i < x + w; ++i)
      if (px(img, i, j) != c) return false;
  return true;
}

// picResize at rest: 200 x 200, no AutoSize, showing bitmap 101.
inline bool picResizeAtRest(const Workspace& ws) {
  const QImage def = LoadResPicture(DefaultPanePictureId);
  return ws.surfaces.picResize.Image() == def && ws.surfaces.picResize.Picture() == def && !ws.surfaces.picResize.AutoSize;
}

}  // namespace qv::fixtures
