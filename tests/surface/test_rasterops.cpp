// Raster copies and scaled paints, compared pixel for pixel with a plain
// per-pixel model over whole images, so clipping faults show as changed pixels
// outside the copied block as well as wrong pixels inside it.
#include "surface/RasterOps.h"

#include <QRandomGenerator>
#include <QTest>

#include <climits>

using namespace qv;

namespace {

QImage randomImage(int w, int h, QRandomGenerator& rng) {
  QImage img(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) img.setPixel(x, y, 0xff000000u | (rng.generate() & 0xffffffu));
  return img;
}

QImage filled(int w, int h, QRgb c) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(c);
  return img;
}

bool inside(const QImage& img, int x, int y) {
  return x >= 0 && y >= 0 && x < img.width() && y < img.height();
}

// The copy as a per-pixel rule: block pixel (i, j) goes from (sx+i, sy+j) to
// (x+i, y+j) when both lie inside their images. The source is read from a
// snapshot, so a copy within one image reads the pixels as they were.
QImage modelBlt(QImage dst, int x, int y, int w, int h, const QImage& srcIn, int sx, int sy,
                RasterOp op) {
  const QImage src = srcIn.copy();
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i) {
      if (!inside(dst, x + i, y + j) || !inside(src, sx + i, sy + j)) continue;
      const QRgb s = src.pixel(sx + i, sy + j), d = dst.pixel(x + i, y + j);
      const QRgb out = op == RasterOp::SRCCOPY ? s : op == RasterOp::SRCAND ? (d & s) : (d | s);
      dst.setPixel(x + i, y + j, out);
    }
  return dst;
}

// Mirrored or plain 1:1 paint as a per-pixel rule: source pixel (sx+i, sy+j)
// lands at (x + i*stepX, y + j*stepY).
QImage modelPaint(QImage dst, const QImage& pic, int x, int y, int stepX, int stepY, int sx, int sy,
                  int w, int h) {
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i) {
      const int tx = x + i * stepX, ty = y + j * stepY;
      if (inside(dst, tx, ty) && inside(pic, sx + i, sy + j)) dst.setPixel(tx, ty, pic.pixel(sx + i, sy + j));
    }
  return dst;
}

// Where the first differing pixel is, for failure messages.
QByteArray firstDifference(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return "sizes differ";
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.pixel(x, y) != b.pixel(x, y))
        return QStringLiteral("(%1, %2): %3 vs %4")
            .arg(x)
            .arg(y)
            .arg(a.pixel(x, y), 8, 16)
            .arg(b.pixel(x, y), 8, 16)
            .toLatin1();
  return {};
}

#define COMPARE_IMAGES(actual, expected, what)                                              \
  do {                                                                                       \
    const QByteArray diff = firstDifference(actual, expected);                               \
    QVERIFY2(diff.isEmpty(), QByteArray(QByteArray(what) + ": " + diff).constData());        \
  } while (false)

const RasterOp AllOps[] = {RasterOp::SRCCOPY, RasterOp::SRCAND, RasterOp::SRCPAINT};

}  // namespace

class TestRasterOps : public QObject {
  Q_OBJECT

 private slots:
  void operationsOnColours() {
    QCOMPARE(quint32(RasterOp::SRCCOPY), 0x00CC0020u);
    QCOMPARE(quint32(RasterOp::SRCAND), 0x008800C6u);
    QCOMPARE(quint32(RasterOp::SRCPAINT), 0x00EE0086u);
    struct Case {
      QRgb dst, src;
      RasterOp op;
      QRgb expected;
    };
    const QRgb black = qRgb(0, 0, 0), white = qRgb(255, 255, 255);
    const QRgb hiNibbles = 0xfff0f0f0, loNibbles = 0xff0f0f0f;
    const QList<Case> cases = {
        {white, black, RasterOp::SRCCOPY, black},
        {black, white, RasterOp::SRCCOPY, white},
        {hiNibbles, qRgb(1, 2, 3), RasterOp::SRCCOPY, qRgb(1, 2, 3)},
        {white, black, RasterOp::SRCAND, black},
        {white, white, RasterOp::SRCAND, white},
        {hiNibbles, loNibbles, RasterOp::SRCAND, black},
        {hiNibbles, white, RasterOp::SRCAND, hiNibbles},
        {qRgb(0x12, 0x34, 0x56), qRgb(0xf0, 0x0f, 0xff), RasterOp::SRCAND, qRgb(0x10, 0x04, 0x56)},
        {black, white, RasterOp::SRCPAINT, white},
        {black, black, RasterOp::SRCPAINT, black},
        {hiNibbles, loNibbles, RasterOp::SRCPAINT, white},
        {black, qRgb(0, 0, 1), RasterOp::SRCPAINT, qRgb(0, 0, 1)},
        {qRgb(0x12, 0x34, 0x56), qRgb(0x80, 0x01, 0x20), RasterOp::SRCPAINT, qRgb(0x92, 0x35, 0x76)},
    };
    for (const Case& c : cases) {
      QImage dst = filled(5, 4, c.dst);
      const QImage src = filled(5, 4, c.src);
      BitBlt(dst, 0, 0, 5, 4, src, 0, 0, c.op);
      for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x) {
          QCOMPARE(dst.pixel(x, y), c.expected);
          QCOMPARE(qAlpha(reinterpret_cast<const quint32*>(dst.constScanLine(y))[x]), 255);
        }
    }
  }

  void clippingMatchesThePixelModel() {
    QRandomGenerator rng(1234);
    const QImage src = randomImage(45, 35, rng);
    const QImage base = randomImage(50, 40, rng);
    struct Call {
      int x, y, w, h, sx, sy;
    };
    QList<Call> calls = {
        {0, 0, 45, 35, 0, 0},       // whole source
        {-10, -7, 30, 20, 0, 0},    // negative destination
        {5, 6, 30, 20, -12, -9},    // negative source
        {-4, 3, 30, 20, -6, 2},     // both negative on one axis
        {40, 30, 30, 20, 0, 0},     // over the right and bottom edges
        {0, 0, 30, 20, 30, 25},     // source over its right and bottom edges
        {50, 0, 10, 10, 0, 0},      // wholly right of the destination
        {0, 40, 10, 10, 0, 0},      // wholly below
        {-10, 0, 10, 10, 0, 0},     // wholly left
        {0, 0, 10, 10, -10, 0},     // source wholly left
        {0, 0, 10, 10, 45, 0},      // source wholly right
        {3, 3, 0, 5, 0, 0},         // empty width
        {3, 3, -5, 5, 0, 0},        // negative width
        {-1000, -1000, 2000, 2000, -1000, -1000},
    };
    for (int k = 0; k < 300; ++k)
      calls.append({rng.bounded(-40, 70), rng.bounded(-40, 60), rng.bounded(0, 70), rng.bounded(0, 60),
                    rng.bounded(-40, 70), rng.bounded(-40, 60)});
    for (const Call& c : calls)
      for (RasterOp op : AllOps) {
        QImage dst = base.copy();
        BitBlt(dst, c.x, c.y, c.w, c.h, src, c.sx, c.sy, op);
        const QImage expected = modelBlt(base, c.x, c.y, c.w, c.h, src, c.sx, c.sy, op);
        COMPARE_IMAGES(dst, expected,
                       QStringLiteral("BitBlt %1,%2 %3x%4 from %5,%6 op %7")
                           .arg(c.x).arg(c.y).arg(c.w).arg(c.h).arg(c.sx).arg(c.sy)
                           .arg(quint32(op), 0, 16).toLatin1());
      }
    // Extreme arguments clip to nothing or to the whole image, never wrap.
    const QList<Call> extremes = {{INT_MIN, 0, INT_MAX, 10, 0, 0},
                                  {0, 0, 10, 10, INT_MIN, INT_MIN},
                                  {INT_MAX, INT_MAX, INT_MAX, INT_MAX, 0, 0},
                                  {0, 0, INT_MAX, INT_MAX, INT_MAX, 0},
                                  {-5, -5, INT_MAX, INT_MAX, INT_MIN, 0}};
    for (const Call& c : extremes) {
      QImage dst = base.copy();
      BitBlt(dst, c.x, c.y, c.w, c.h, src, c.sx, c.sy, RasterOp::SRCCOPY);
      COMPARE_IMAGES(dst, base, "extreme arguments outside");
    }
    QImage whole = base.copy();
    BitBlt(whole, 0, 0, INT_MAX, INT_MAX, src, 0, 0, RasterOp::SRCCOPY);
    COMPARE_IMAGES(whole, modelBlt(base, 0, 0, 45, 35, src, 0, 0, RasterOp::SRCCOPY), "extreme size");
    // Null images on either side are ignored.
    QImage dst = base.copy();
    BitBlt(dst, 0, 0, 10, 10, QImage(), 0, 0, RasterOp::SRCCOPY);
    QCOMPARE(dst, base);
    QImage none;
    BitBlt(none, 0, 0, 10, 10, src, 0, 0, RasterOp::SRCCOPY);
    QVERIFY(none.isNull());
  }

  void copiesWithinOneImage() {
    QRandomGenerator rng(99);
    const QImage base = randomImage(60, 50, rng);
    for (int k = 0; k < 200; ++k) {
      const int w = rng.bounded(1, 40), h = rng.bounded(1, 35);
      const int sx = rng.bounded(-10, 50), sy = rng.bounded(-10, 40);
      // Mostly small shifts, so source and destination overlap.
      const int x = sx + rng.bounded(-6, 7), y = sy + rng.bounded(-6, 7);
      for (RasterOp op : AllOps) {
        QImage img = base.copy();
        BitBlt(img, x, y, w, h, img, sx, sy, op);
        COMPARE_IMAGES(img, modelBlt(base, x, y, w, h, base, sx, sy, op), "same image");
      }
    }
    // Two image values sharing one pixel buffer: the source keeps its pixels.
    QImage a = base.copy();
    const QImage b = a;
    BitBlt(a, 1, 1, 30, 30, b, 0, 0, RasterOp::SRCCOPY);
    QCOMPARE(b, base);
    COMPARE_IMAGES(a, modelBlt(base, 1, 1, 30, 30, base, 0, 0, RasterOp::SRCCOPY), "shared buffer");
  }

  void transparentDrawEqualsTwoSteps() {
    QRandomGenerator rng(4321);
    const QImage base = randomImage(70, 60, rng);
    // A mask of pure black and white, and a sprite whose black pixels are
    // transparent, as the sheets hold them; plus fully random ones.
    QImage mask(50, 40, QImage::Format_RGB32), sprite = randomImage(50, 40, rng);
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 50; ++x) {
        const bool clear = rng.bounded(3) == 0;
        mask.setPixel(x, y, clear ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
        if (clear) sprite.setPixel(x, y, qRgb(0, 0, 0));
      }
    const QImage rndMask = randomImage(50, 40, rng), rndSprite = randomImage(50, 40, rng);
    for (int k = 0; k < 300; ++k) {
      const int x = rng.bounded(-50, 80), y = rng.bounded(-40, 70), w = rng.bounded(0, 60),
                h = rng.bounded(0, 50), sx = rng.bounded(-20, 55), sy = rng.bounded(-20, 45);
      for (const auto& [m, s] : {std::pair{mask, sprite}, std::pair{rndMask, rndSprite}}) {
        QImage fused = base.copy(), twoStep = base.copy();
        BlitTransparent(fused, x, y, w, h, m, s, sx, sy);
        BitBlt(twoStep, x, y, w, h, m, sx, sy, RasterOp::SRCAND);
        BitBlt(twoStep, x, y, w, h, s, sx, sy, RasterOp::SRCPAINT);
        COMPARE_IMAGES(fused, twoStep,
                       QStringLiteral("transparent %1,%2 %3x%4 from %5,%6").arg(x).arg(y).arg(w).arg(h)
                           .arg(sx).arg(sy).toLatin1());
      }
    }
    // Where the mask is white the background shows, except where the sprite
    // is white too; where it is black the sprite replaces the background.
    QImage dst = filled(50, 40, qRgb(10, 200, 30));
    BlitTransparent(dst, 0, 0, 50, 40, mask, sprite, 0, 0);
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 50; ++x)
        QCOMPARE(dst.pixel(x, y), mask.pixel(x, y) == qRgb(0, 0, 0) ? sprite.pixel(x, y) : qRgb(10, 200, 30));

    // The destination is the sprite or the mask sheet itself (overlapping).
    for (int k = 0; k < 50; ++k) {
      const int x = rng.bounded(-10, 30), y = rng.bounded(-10, 25), sx = x + rng.bounded(-5, 6),
                sy = y + rng.bounded(-5, 6);
      QImage spriteDst = rndSprite.copy(), twoStep = rndSprite.copy();
      BlitTransparent(spriteDst, x, y, 30, 20, rndMask, spriteDst, sx, sy);
      BitBlt(twoStep, x, y, 30, 20, rndMask, sx, sy, RasterOp::SRCAND);
      BitBlt(twoStep, x, y, 30, 20, twoStep, sx, sy, RasterOp::SRCPAINT);
      COMPARE_IMAGES(spriteDst, twoStep, "drawn into the sprite image");
      QImage maskDst = rndMask.copy(), twoStepM = rndMask.copy();
      BlitTransparent(maskDst, x, y, 30, 20, maskDst, rndSprite, sx, sy);
      BitBlt(twoStepM, x, y, 30, 20, twoStepM, sx, sy, RasterOp::SRCAND);
      BitBlt(twoStepM, x, y, 30, 20, rndSprite, sx, sy, RasterOp::SRCPAINT);
      COMPARE_IMAGES(maskDst, twoStepM, "drawn into the mask image");
    }
  }

  void unscaledPaintIsACopy() {
    QRandomGenerator rng(5);
    const QImage pic = randomImage(40, 30, rng);
    const QImage base = randomImage(60, 50, rng);
    for (int k = 0; k < 200; ++k) {
      const int x = rng.bounded(-50, 70), y = rng.bounded(-40, 60);
      QImage dst = base.copy();
      PaintPicture(dst, pic, x, y, 40, 30);
      COMPARE_IMAGES(dst, modelBlt(base, x, y, 40, 30, pic, 0, 0, RasterOp::SRCCOPY), "whole picture");
      // A source rectangle, partly outside the picture.
      const int sx = rng.bounded(-10, 40), sy = rng.bounded(-10, 30), w = rng.bounded(1, 30),
                h = rng.bounded(1, 25);
      dst = base.copy();
      PaintPicture(dst, pic, x, y, w, h, sx, sy, w, h);
      COMPARE_IMAGES(dst, modelBlt(base, x, y, w, h, pic, sx, sy, RasterOp::SRCCOPY), "source area");
    }
  }

  void mirroredPaint() {
    QRandomGenerator rng(77);
    const int W = 37, H = 23;
    const QImage pic = randomImage(W, H, rng);
    QImage lr = filled(W, H, qRgb(1, 1, 1)), tb = lr, both = lr;
    PaintPicture(lr, pic, W - 1, 0, -W, H);
    PaintPicture(tb, pic, 0, H - 1, W, -H);
    PaintPicture(both, pic, W - 1, H - 1, -W, -H);
    for (int r = 0; r < H; ++r)
      for (int c = 0; c < W; ++c) {
        QCOMPARE(lr.pixel(W - 1 - c, r), pic.pixel(c, r));
        QCOMPARE(tb.pixel(c, H - 1 - r), pic.pixel(c, r));
        QCOMPARE(both.pixel(W - 1 - c, H - 1 - r), pic.pixel(c, r));
      }

    // In place inside a larger sheet, as a Pane's cell is flipped: only the
    // cell changes, and flipping twice restores every pixel of the sheet.
    const QImage sheet = randomImage(120, 90, rng);
    const int sx = 31, sy = 17;
    struct Flip {
      int x, y, dw, dh;
      const char* name;
    };
    const QList<Flip> flips = {{sx + W - 1, sy, -W, H, "left-right"},
                               {sx, sy + H - 1, W, -H, "top-bottom"},
                               {sx + W - 1, sy + H - 1, -W, -H, "both"}};
    for (const Flip& f : flips) {
      QImage img = sheet.copy();
      PaintPicture(img, img, f.x, f.y, f.dw, f.dh, sx, sy, W, H);
      const int stepX = f.dw < 0 ? -1 : 1, stepY = f.dh < 0 ? -1 : 1;
      COMPARE_IMAGES(img, modelPaint(sheet, sheet, f.x, f.y, stepX, stepY, sx, sy, W, H), f.name);
      QVERIFY(img != sheet);
      PaintPicture(img, img, f.x, f.y, f.dw, f.dh, sx, sy, W, H);
      COMPARE_IMAGES(img, sheet, f.name);
    }
  }

  void mirroredPaintClipsAtTheEdges() {
    QRandomGenerator rng(31);
    const QImage pic = randomImage(30, 20, rng);
    const QImage base = randomImage(50, 40, rng);
    for (int k = 0; k < 300; ++k) {
      const int x = rng.bounded(-35, 85), y = rng.bounded(-25, 65);
      const int stepX = rng.bounded(2) ? -1 : 1, stepY = rng.bounded(2) ? -1 : 1;
      QImage dst = base.copy();
      PaintPicture(dst, pic, x, y, 30 * stepX, 20 * stepY);
      COMPARE_IMAGES(dst, modelPaint(base, pic, x, y, stepX, stepY, 0, 0, 30, 20),
                     QStringLiteral("mirrored paint at %1,%2 steps %3,%4").arg(x).arg(y).arg(stepX).arg(stepY)
                         .toLatin1());
    }
  }

  void scaledPaint() {
    QRandomGenerator rng(8);
    // Integer enlargement replicates every pixel into a k x k block.
    const QImage pic = randomImage(13, 9, rng);
    for (int k : {2, 3, 5}) {
      QImage dst = filled(13 * k, 9 * k, qRgb(0, 0, 0));
      PaintPicture(dst, pic, 0, 0, 13 * k, 9 * k);
      for (int y = 0; y < 9 * k; ++y)
        for (int x = 0; x < 13 * k; ++x) QCOMPARE(dst.pixel(x, y), pic.pixel(x / k, y / k));
      // Mirrored enlargement is the mirror of the enlargement.
      QImage mirrored = filled(13 * k, 9 * k, qRgb(0, 0, 0));
      PaintPicture(mirrored, pic, 13 * k - 1, 0, -13 * k, 9 * k);
      QCOMPARE(mirrored, dst.mirrored(true, false));
    }

    // 640 x 480 into 100 x 100: exactly that rectangle changes, and every
    // pixel comes from the part of the picture it covers. The picture's
    // pixels encode their own position.
    QImage big(640, 480, QImage::Format_RGB32);
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 640; ++x) big.setPixel(x, y, qRgb(x & 255, (x >> 8) | ((y >> 8) << 4), y & 255));
    const QRgb sentinel = qRgb(255, 255, 255);  // not a colour of the picture
    QImage dst = filled(200, 200, sentinel);
    PaintPicture(dst, big, 10, 20, 100, 100);
    for (int y = 0; y < 200; ++y)
      for (int x = 0; x < 200; ++x) {
        const bool in = x >= 10 && x < 110 && y >= 20 && y < 120;
        QCOMPARE(dst.pixel(x, y) != sentinel, in);
        if (!in) continue;
        const QRgb p = dst.pixel(x, y);
        const int px = qRed(p) | ((qGreen(p) & 15) << 8), py = qBlue(p) | ((qGreen(p) >> 4) << 8);
        const int i = x - 10, j = y - 20;
        QVERIFY(px >= i * 640 / 100 && px < (i + 1) * 640 / 100 + 1);
        QVERIFY(py >= j * 480 / 100 && py < (j + 1) * 480 / 100 + 1);
      }

    // Shrinking a source area picks pixels only from that area.
    QImage part = filled(20, 20, sentinel);
    PaintPicture(part, big, 0, 0, 20, 20, 100, 50, 60, 40);
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 20; ++x) {
        const QRgb p = part.pixel(x, y);
        const int px = qRed(p) | ((qGreen(p) & 15) << 8), py = qBlue(p) | ((qGreen(p) >> 4) << 8);
        QVERIFY(px >= 100 && px < 160 && py >= 50 && py < 90);
      }
  }

  void paintWithExtremeSizesStaysInside() {
    QRandomGenerator rng(3);
    const QImage pic = randomImage(8, 6, rng);
    const QImage base = randomImage(40, 30, rng);
    QImage dst = base.copy();
    PaintPicture(dst, pic, 0, 0, 0, 10);
    PaintPicture(dst, pic, 0, 0, 10, 0);
    PaintPicture(dst, pic, 0, 0, 10, 10, 0, 0, 0, 6);
    PaintPicture(dst, QImage(), 0, 0, 10, 10);
    QCOMPARE(dst, base);
    // Enormous destination sizes stretch the picture's first pixels over the
    // visible part without walking the invisible rest.
    for (int dw : {INT_MAX, INT_MIN, 2'000'000'000}) {
      dst = base.copy();
      const int x = dw > 0 ? 0 : 39;
      PaintPicture(dst, pic, x, 0, dw, INT_MAX);
      const QRgb first = pic.pixel(0, 0);
      for (int y = 0; y < 30; ++y)
        for (int xx = 0; xx < 40; ++xx) QCOMPARE(dst.pixel(xx, y), first);
    }
    dst = base.copy();
    PaintPicture(dst, pic, INT_MAX, INT_MAX, 100, 100);
    PaintPicture(dst, pic, INT_MIN, INT_MIN, 100, 100);
    PaintPicture(dst, pic, -100, -100, -50, -50);
    QCOMPARE(dst, base);
  }
};

QTEST_GUILESS_MAIN(TestRasterOps)
#include "test_rasterops.moc"
