// Raster copies and scaled paints, compared pixel for pixel with a plain
// per-pixel model over whole images, so clipping faults show as changed pixels
// outside the copied block as well as wrong pixels inside it.
#include "surface/RasterOps.h"

#include <QRandomGenerator>
#include <QTest>

#include <climits>

#include "support/Fixtures.h"

using namespace qv;
using qv::fixtures::randomImage;

namespace {

QImage filled(int w, int h, QRgb c) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(c);
  return img;
}

bool inside(const QImage& img, int x, int y) { return x >= 0 && y >= 0 && x < img.width() && y < img.height(); }

// Source pixel (sx+i, sy+j) lands at (x + i*stepX, y + j*stepY) combined by
// op, when both lie inside their images. The source is read from a snapshot,
// so a copy within one image reads the pixels as they were.
QImage model(QImage dst, const QImage& srcIn, int x, int y, int w, int h, int sx, int sy,
             RasterOp op = RasterOp::SRCCOPY, int stepX = 1, int stepY = 1) {
  const QImage src = srcIn.copy();
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i) {
      const int tx = x + i * stepX, ty = y + j * stepY;
      if (!inside(dst, tx, ty) || !inside(src, sx + i, sy + j)) continue;
      const QRgb s = src.pixel(sx + i, sy + j), d = dst.pixel(tx, ty);
      dst.setPixel(tx, ty, op == RasterOp::SRCCOPY ? s : op == RasterOp::SRCAND ? (d & s) : (d | s));
    }
  return dst;
}

// Whole images compared, with the call named on failure.
#define COMPARE_IMAGES(actual, expected, what) QVERIFY2((actual) == (expected), QByteArray(what).constData())

QByteArray where(int x, int y, int w, int h, int sx, int sy) {
  return QStringLiteral("%1,%2 %3x%4 from %5,%6").arg(x).arg(y).arg(w).arg(h).arg(sx).arg(sy).toLatin1();
}

const RasterOp AllOps[] = {RasterOp::SRCCOPY, RasterOp::SRCAND, RasterOp::SRCPAINT};

}  // namespace

class TestRasterOps : public QObject {
  Q_OBJECT

 private slots:
  void operationsOnColours() {
    // AND and OR act on every bit of a colour; the alpha byte stays 0xff.
    const QRgb mixed = qRgb(0x12, 0x34, 0x56), other = qRgb(0xf0, 0x0f, 0x81);
    const std::pair<RasterOp, QRgb> cases[] = {{RasterOp::SRCCOPY, other},
                                               {RasterOp::SRCAND, qRgb(0x10, 0x04, 0x00)},
                                               {RasterOp::SRCPAINT, qRgb(0xf2, 0x3f, 0xd7)}};
    for (const auto& [op, expected] : cases) {
      QImage dst = filled(5, 4, mixed);
      BitBlt(dst, 0, 0, 5, 4, filled(5, 4, other), 0, 0, op);
      for (int i = 0; i < 20; ++i) QCOMPARE(reinterpret_cast<const quint32*>(dst.constBits())[i], expected);
    }
  }

  void copiesMatchThePixelModel() {
    QRandomGenerator rng(1234);
    const QImage src = randomImage(45, 35, rng.generate()), base = randomImage(50, 40, rng.generate());
    struct Call { int x, y, w, h, sx, sy; };
    // Negative destination and source, both at once, far edges, wholly
    // outside on each side, empty and negative sizes; then random ones.
    QList<Call> calls = {{-10, -7, 30, 20, 0, 0}, {5, 6, 30, 20, -12, -9}, {-4, 3, 30, 20, -6, 2},
                         {40, 30, 30, 20, 0, 0},  {0, 0, 30, 20, 30, 25},  {50, 0, 10, 10, 0, 0},
                         {0, 40, 10, 10, 0, 0},   {-10, 0, 10, 10, 0, 0},  {0, 0, 10, 10, 45, 0},
                         {3, 3, -5, 5, 0, 0},     {-1000, -1000, 2000, 2000, -1000, -1000}};
    for (int k = 0; k < 300; ++k)
      calls.append({rng.bounded(-40, 70), rng.bounded(-40, 60), rng.bounded(0, 70), rng.bounded(0, 60),
                    rng.bounded(-40, 70), rng.bounded(-40, 60)});
    for (const auto& [x, y, w, h, sx, sy] : calls)
      for (RasterOp op : AllOps) {
        QImage dst = base.copy(), self = base.copy();
        BitBlt(dst, x, y, w, h, src, sx, sy, op);
        COMPARE_IMAGES(dst, model(base, src, x, y, w, h, sx, sy, op), where(x, y, w, h, sx, sy));
        // Within one image (mostly overlapping) the source reads as it was.
        BitBlt(self, x, y, w, h, self, sx, sy, op);
        COMPARE_IMAGES(self, model(base, base, x, y, w, h, sx, sy, op), "same image " + where(x, y, w, h, sx, sy));
      }
    // Extreme arguments clip to nothing or to the whole image, never wrap.
    for (const auto& [x, y, w, h, sx, sy] :
         QList<Call>{{INT_MIN, 0, INT_MAX, 10, 0, 0}, {0, 0, 10, 10, INT_MIN, INT_MIN},
                     {INT_MAX, INT_MAX, INT_MAX, INT_MAX, 0, 0}, {0, 0, INT_MAX, INT_MAX, INT_MAX, 0},
                     {-5, -5, INT_MAX, INT_MAX, INT_MIN, 0}, {0, 0, INT_MAX, INT_MAX, 0, 0}}) {
      QImage dst = base.copy();
      BitBlt(dst, x, y, w, h, src, sx, sy, RasterOp::SRCCOPY);
      COMPARE_IMAGES(dst, x == 0 && sx == 0 ? model(base, src, 0, 0, 45, 35, 0, 0) : base, where(x, y, w, h, sx, sy));
    }
    // Null images on either side are ignored; a shared pixel buffer is not
    // written through the source.
    QImage dst = base.copy(), none;
    BitBlt(dst, 0, 0, 10, 10, QImage(), 0, 0, RasterOp::SRCCOPY);
    BitBlt(none, 0, 0, 10, 10, src, 0, 0, RasterOp::SRCCOPY);
    QVERIFY(dst == base && none.isNull());
    const QImage shared = dst;
    BitBlt(dst, 1, 1, 30, 30, shared, 0, 0, RasterOp::SRCCOPY);
    QCOMPARE(shared, base);
    COMPARE_IMAGES(dst, model(base, base, 1, 1, 30, 30, 0, 0), "shared buffer");
  }

  void transparentDrawEqualsTwoSteps() {
    QRandomGenerator rng(4321);
    const QImage base = randomImage(70, 60, rng.generate());
    // The fused pass is bitwise, so random masks and sprites cover every case.
    const QImage mask = randomImage(50, 40, rng.generate()), sprite = randomImage(50, 40, rng.generate());
    for (int k = 0; k < 300; ++k) {
      const int x = rng.bounded(-50, 80), y = rng.bounded(-40, 70), w = rng.bounded(0, 60),
                h = rng.bounded(0, 50), sx = rng.bounded(-20, 55), sy = rng.bounded(-20, 45);
      // Drawn on the Board (0), and into the sprite (1) or the mask (2) itself.
      for (int into = 0; into < 3; ++into) {
        QImage fused = (into == 0 ? base : into == 1 ? sprite : mask).copy(), twoStep = fused.copy();
        BlitTransparent(fused, x, y, w, h, into == 2 ? fused : mask, into == 1 ? fused : sprite, sx, sy);
        BitBlt(twoStep, x, y, w, h, into == 2 ? twoStep : mask, sx, sy, RasterOp::SRCAND);
        BitBlt(twoStep, x, y, w, h, into == 1 ? twoStep : sprite, sx, sy, RasterOp::SRCPAINT);
        COMPARE_IMAGES(fused, twoStep, QByteArray::number(into) + " " + where(x, y, w, h, sx, sy));
      }
      // A sprite sheet of another size than the mask: the two steps, each
      // clipped against its own sheet.
      QImage fused = base.copy(), twoStep = base.copy();
      const QImage small = sprite.copy(0, 0, 30, 25);
      BlitTransparent(fused, x, y, w, h, mask, small, sx, sy);
      BitBlt(twoStep, x, y, w, h, mask, sx, sy, RasterOp::SRCAND);
      BitBlt(twoStep, x, y, w, h, small, sx, sy, RasterOp::SRCPAINT);
      COMPARE_IMAGES(fused, twoStep, "sizes differ " + where(x, y, w, h, sx, sy));
    }
  }

  void unscaledPaintIsAPlainOrMirroredCopy() {
    QRandomGenerator rng(31);
    const QImage pic = randomImage(30, 20, rng.generate()), base = randomImage(50, 40, rng.generate());
    for (int k = 0; k < 400; ++k) {
      const int x = rng.bounded(-35, 85), y = rng.bounded(-25, 65);
      const int stepX = rng.bounded(2) ? -1 : 1, stepY = rng.bounded(2) ? -1 : 1;
      QImage dst = base.copy();
      PaintPicture(dst, pic, x, y, 30 * stepX, 20 * stepY);
      COMPARE_IMAGES(dst, model(base, pic, x, y, 30, 20, 0, 0, RasterOp::SRCCOPY, stepX, stepY),
                     where(x, y, stepX, stepY, 0, 0));
      // A source rectangle, partly outside the picture.
      const int sx = rng.bounded(-10, 30), sy = rng.bounded(-10, 20), w = rng.bounded(1, 30), h = rng.bounded(1, 25);
      dst = base.copy();
      PaintPicture(dst, pic, x, y, w, h, sx, sy, w, h);
      COMPARE_IMAGES(dst, model(base, pic, x, y, w, h, sx, sy), where(x, y, w, h, sx, sy));
    }
    // In place inside a larger sheet, as a Pane's cell is flipped: only the
    // cell changes, and flipping twice restores every pixel of the sheet.
    const QImage sheet = randomImage(120, 90, rng.generate());
    const int W = 37, H = 23, sx = 31, sy = 17;
    for (const auto& [stepX, stepY] : {std::pair{-1, 1}, std::pair{1, -1}, std::pair{-1, -1}}) {
      const int x = stepX < 0 ? sx + W - 1 : sx, y = stepY < 0 ? sy + H - 1 : sy;
      QImage img = sheet.copy();
      PaintPicture(img, img, x, y, W * stepX, H * stepY, sx, sy, W, H);
      COMPARE_IMAGES(img, model(sheet, sheet, x, y, W, H, sx, sy, RasterOp::SRCCOPY, stepX, stepY), "flip");
      QVERIFY(img != sheet);
      PaintPicture(img, img, x, y, W * stepX, H * stepY, sx, sy, W, H);
      COMPARE_IMAGES(img, sheet, "flipped twice");
    }
  }

  void scaledPaint() {
    QRandomGenerator rng(8);
    // Integer enlargement replicates every pixel into a k x k block; mirrored
    // it is the mirror of that.
    const QImage pic = randomImage(13, 9, rng.generate());
    for (int k : {2, 3, 5}) {
      QImage dst = filled(13 * k, 9 * k, qRgb(0, 0, 0)), mirrored = dst;
      PaintPicture(dst, pic, 0, 0, 13 * k, 9 * k);
      QCOMPARE(dst, pic.scaled(13 * k, 9 * k));
      PaintPicture(mirrored, pic, 13 * k - 1, 0, -13 * k, 9 * k);
      QCOMPARE(mirrored, dst.mirrored(true, false));
    }
    // Shrinking 640 x 480 (whose pixels encode their position) into 100 x 100
    // at (10, 20): exactly that rectangle changes, and each pixel comes from
    // the part of the picture it covers; likewise from a source area.
    QImage big(640, 480, QImage::Format_RGB32);
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 640; ++x) big.setPixel(x, y, qRgb(x & 255, (x >> 8) | ((y >> 8) << 4), y & 255));
    auto origin = [](QRgb p) { return QPoint(qRed(p) | ((qGreen(p) & 15) << 8), qBlue(p) | ((qGreen(p) >> 4) << 8)); };
    const QRgb sentinel = qRgb(255, 255, 255);  // not a colour of the picture
    QImage dst = filled(200, 200, sentinel), part = filled(20, 20, sentinel);
    PaintPicture(dst, big, 10, 20, 100, 100);
    PaintPicture(part, big, 0, 0, 20, 20, 100, 50, 60, 40);
    for (int y = 0; y < 200; ++y)
      for (int x = 0; x < 200; ++x) {
        const int i = x - 10, j = y - 20;
        const QRect covered(i * 64 / 10, j * 48 / 10, 8, 6);
        QVERIFY(i >= 0 && i < 100 && j >= 0 && j < 100 ? covered.contains(origin(dst.pixel(x, y)))
                                                       : dst.pixel(x, y) == sentinel);
        if (x < 20 && y < 20) QVERIFY(QRect(100, 50, 60, 40).contains(origin(part.pixel(x, y))));
      }
  }

  void paintWithExtremeSizesStaysInside() {
    QRandomGenerator rng(3);
    const QImage pic = randomImage(8, 6, rng.generate()), base = randomImage(40, 30, rng.generate());
    QImage dst = base.copy();
    // Empty sizes, no picture, or wholly outside: nothing changes.
    PaintPicture(dst, pic, 0, 0, 0, 10);
    PaintPicture(dst, pic, 0, 0, 10, 0);
    PaintPicture(dst, pic, 0, 0, 10, 10, 0, 0, 0, 6);
    PaintPicture(dst, QImage(), 0, 0, 10, 10);
    PaintPicture(dst, pic, INT_MAX, INT_MAX, 100, 100);
    PaintPicture(dst, pic, INT_MIN, INT_MIN, 100, 100);
    PaintPicture(dst, pic, -100, -100, -50, -50);
    QCOMPARE(dst, base);
    // Enormous sizes stretch the first pixel over the whole visible part.
    for (int dw : {INT_MAX, INT_MIN, 2'000'000'000}) {
      dst = base.copy();
      PaintPicture(dst, pic, dw > 0 ? 0 : 39, 0, dw, INT_MAX);
      QCOMPARE(dst, filled(40, 30, pic.pixel(0, 0)));
    }
  }
};

QTEST_GUILESS_MAIN(TestRasterOps)
#include "test_rasterops.moc"
