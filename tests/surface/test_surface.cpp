// Picture surfaces (picture and image, back colour, lines); raster
// copies and scaled paints compared with a plain per-pixel model over whole
// images, so clipping faults show as changed pixels outside the block as well
// as wrong pixels inside it; picture files: 24-bit bitmaps written and read
// back exactly, other bitmap kinds read whole and refused when cut short,
// the size limits, JPEG, GIF and PNG, and a safe write; sound files of
// every kind decoded by the helper, or refused.
#include "surface/PictureChecks.h"
#include "surface/PictureFile.h"
#include "surface/RasterOps.h"
#include "surface/SafeFiles.h"
#include "surface/SoundDecoding.h"
#include "surface/Surface.h"

#include <climits>
#include <sys/stat.h>

#include "support/Fixtures.h"

using namespace qv;

namespace {

// Every pixel of the surface that is not the given colour.
QList<QPoint> pixelsNot(const Surface& s, Long colour) {
  QList<QPoint> out;
  for (int y = 0; y < s.Height(); ++y)
    for (int x = 0; x < s.Width(); ++x)
      if (s.Image().pixel(x, y) != toQRgb(colour)) out.append(QPoint(x, y));
  return out;
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

class TestSurface : public QObject {
  Q_OBJECT

 private slots:
  void pictureAndBackColour() {
    const Long back = RGB(1, 2, 3);
    Surface s;
    s.BackColor = back;
    s.SetSize(50, 40);
    QCOMPARE(pixelsNot(s, back).size(), 0);
    // A smaller, narrower, shorter or larger picture sits at (0, 0), cut at
    // the surface's size; the rest shows the back colour, also where a larger
    // picture and a drawing were before.
    const QImage cover = randomImage(60, 50, 3), large = randomImage(80, 60, 2);
    for (const QImage& pic : {randomImage(20, 10, 1), randomImage(20, 40, 4), randomImage(60, 10, 5), large}) {
      s.SetPicture(cover);
      s.PSet(45, 35, RGB(7, 7, 7));
      s.SetPicture(pic);
      QCOMPARE(s.Picture(), pic);
      QImage model = boardModel({50, 40}, back, {});
      BitBlt(model, 0, 0, 50, 40, pic, 0, 0, RasterOp::SRCCOPY);
      QCOMPARE(s.Image(), model);
    }
    // With AutoSize the surface takes the picture's size, smaller or larger.
    s.AutoSize = true;
    for (const QImage& pic : {cover.copy(0, 0, 20, 10), large}) {
      s.SetPicture(pic);
      QCOMPARE(s.Image(), pic);
    }
    // Emptying the picture leaves the back colour and keeps the size; a new
    // back colour repaints; growing keeps the drawing and fills the new part.
    s.ClearPicture();
    QVERIFY(s.Picture().isNull() && s.Image().size() == QSize(80, 60) && pixelsNot(s, back).isEmpty());
    s.SetBackColor(RGB(200, 10, 20));
    s.PSet(3, 4, RGB(9, 9, 9));
    s.SetSize(100, 70);
    QCOMPARE(pixelsNot(s, RGB(200, 10, 20)), QList<QPoint>{QPoint(3, 4)});
    // The drawing taken as the picture is a value; repainting keeps only it.
    Surface t;
    t.SetSize(30, 20);
    t.PSet(5, 5, Red);
    t.TakeImageAsPicture();
    t.PSet(6, 6, Green);
    QCOMPARE(t.Picture().pixel(6, 6), toQRgb(White));
    t.Cls();
    QCOMPARE(pixelsNot(t, White), QList<QPoint>{QPoint(5, 5)});
  }

  void lines() {
    Surface s;
    s.SetSize(20, 20);
    // The end point is not drawn, in either direction; the drawing position
    // moves to it. Ties step both ways.
    // The lines and the points they draw are in data/lines.txt.
    for (const QList<int>& c : numberRows(QFINDTESTDATA("data/lines.txt"), 6)) {
      s.Cls();
      s.Line(c[0], c[1], c[2], c[3], Red);
      QList<int> drawn = c.mid(0, 4);
      for (const QPoint p : pixelsNot(s, White)) drawn << p.x() << p.y();
      QCOMPARE(drawn, c);
      QCOMPARE(QPointF(s.CurrentX, s.CurrentY), QPointF(c[2], c[3]));
    }
    // Lines partly or wholly outside draw only what falls inside, past the
    // right edge or the bottom alike; without a GUI application there is no
    // text to print.
    s.Cls();
    s.Line(-5, 3, 30, 3, Red);
    s.Line(8, 15, 8, 30, Red);
    s.Line(-30000, -30000, -30000, 30000, Red);
    s.Print("no fonts here");
    QCOMPARE(pixelsNot(s, White).size(), 20 + 5);
  }

  void copiesMatchThePixelModel() {
    QRandomGenerator rng(1234);
    const QImage src = randomImage(45, 35, rng.generate()), base = randomImage(50, 40, rng.generate());
    struct Call { int x, y, w, h, sx, sy; };
    // The calls of data/copies.txt, then random ones.
    QList<Call> calls;
    for (const QList<int>& c : numberRows(QFINDTESTDATA("data/copies.txt"), 11)) calls.append({c[0], c[1], c[2], c[3], c[4], c[5]});
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
    // Extreme arguments (data/extreme-copies.txt) clip, never wrap.
    for (const QList<int>& c : numberRows(QFINDTESTDATA("data/extreme-copies.txt"), 6)) {
      QImage dst = base.copy();
      BitBlt(dst, c[0], c[1], c[2], c[3], src, c[4], c[5], RasterOp::SRCCOPY);
      COMPARE_IMAGES(dst, c[6] ? model(base, src, 0, 0, 45, 35, 0, 0) : base, where(c[0], c[1], c[2], c[3], c[4], c[5]));
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
    const QImage mask = randomImage(50, 40, rng.generate()), sprite = randomImage(50, 40, rng.generate()),
                 small = sprite.copy(0, 0, 30, 25);
    for (int k = 0; k < 300; ++k) {
      const int x = rng.bounded(-50, 80), y = rng.bounded(-40, 70), w = rng.bounded(0, 60),
                h = rng.bounded(0, 50), sx = rng.bounded(-20, 55), sy = rng.bounded(-20, 45);
      // Drawn on the Board (0), into the sprite (1) or the mask (2) itself,
      // and (3) from a sprite sheet of another size than the mask: the two
      // steps, each clipped against its own sheet.
      for (int into = 0; into < 4; ++into) {
        QImage fused = (into == 1 ? sprite : into == 2 ? mask : base).copy(), twoStep = fused.copy();
        const QImage& other = into == 3 ? small : sprite;
        BlitTransparent(fused, x, y, w, h, into == 2 ? fused : mask, into == 1 ? fused : other, sx, sy);
        BitBlt(twoStep, x, y, w, h, into == 2 ? twoStep : mask, sx, sy, RasterOp::SRCAND);
        BitBlt(twoStep, x, y, w, h, into == 1 ? twoStep : other, sx, sy, RasterOp::SRCPAINT);
        COMPARE_IMAGES(fused, twoStep, QByteArray::number(into) + " " + where(x, y, w, h, sx, sy));
      }
    }
  }

  void unscaledPaintIsACopyAndExtremeSizesStayInside() {
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
      PaintPicture(dst, pic, dw > 0 ? 0 : 49, 0, dw, INT_MAX);
      QCOMPARE(dst, boardModel({50, 40}, px(pic, 0, 0), {}));
    }
  }

  void scaledPaint() {
    QRandomGenerator rng(8);
    // Integer enlargement replicates every pixel into a k x k block; mirrored
    // it is the mirror of that.
    const QImage pic = randomImage(13, 9, rng.generate());
    for (int k : {2, 3, 5}) {
      QImage dst = boardModel({13 * k, 9 * k}, Black, {}), mirrored = dst;
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
    // White is not a colour of the picture.
    QImage dst = boardModel({200, 200}, White, {}), part = boardModel({20, 20}, White, {});
    PaintPicture(dst, big, 10, 20, 100, 100);
    PaintPicture(part, big, 0, 0, 20, 20, 100, 50, 60, 40);
    for (int y = 0; y < 200; ++y)
      for (int x = 0; x < 200; ++x) {
        const int i = x - 10, j = y - 20;
        const QRect covered(i * 64 / 10, j * 48 / 10, 8, 6);
        QVERIFY(i >= 0 && i < 100 && j >= 0 && j < 100 ? covered.contains(origin(dst.pixel(x, y)))
                                                       : px(dst, x, y) == White);
        if (x < 20 && y < 20) QVERIFY(QRect(100, 50, 60, 40).contains(origin(part.pixel(x, y))));
      }
  }

  // Pictures of every row padding and a wide one are written exactly as the
  // golden files (24 bits, 72 dpi, bottom row first as blue, green, red,
  // rows padded with zeros); all read back exactly, up to the largest side.
  void bmpRoundTripIsExact() {
    QTemporaryDir dir;
    quint32 seed = 7;
    for (const QSize s : {QSize(1, 5), QSize(2, 3), QSize(3, 2), QSize(4, 4), QSize(5, 1), QSize(201, 7), QSize(MaxPictureSide, 1)}) {
      const QImage img = randomImage(s.width(), s.height(), ++seed);
      const QString name = QStringLiteral("p%1x%2.bmp").arg(s.width()).arg(s.height()), path = dir.filePath(name);
      QVERIFY(writeFile(path, EncodeBmp24(img)));
      if (s.width() < MaxPictureSide) QCOMPARE(readFile(path), readFile(QFINDTESTDATA("data/" + name)));
      const PictureResult r = LoadPicture(path);
      QVERIFY2(r.ok() && r.image.format() == QImage::Format_RGB32, qPrintable(r.error));
      QCOMPARE(r.image, img);
    }
    // Other formats are stored as the colours they show.
    QImage indexed(3, 1, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(10, 20, 30), qRgb(200, 100, 0)});
    for (int x = 0; x < 3; ++x) indexed.setPixel(x, 0, x % 2);
    QCOMPARE(LoadPictureData(EncodeBmp24(indexed)).image, indexed.convertToFormat(QImage::Format_RGB32));
  }

  // Every file of the reader's own seed corpus: bitmaps of each depth and
  // kind (OS/2 header, 16 and 32-bit colour masks, run-length, top-down) show the same
  // pattern, exactly, and one byte short of their pixel rows are cut short
  // (run-length data has no fixed length); the JPEG shows its flat colour,
  // the GIF (89a, and the same as 87a in data/) red, green / blue, white.
  void everyKindOfPictureReads() {
    const QDir seeds(qEnvironmentVariable("QUORVEL_PICTURE_SEEDS"));
    QImage pattern(6, 4, QImage::Format_RGB32);
    const QRgb palette[] = {qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)};
    const QStringList bitmaps = seeds.entryList({"*.bmp"});
    QCOMPARE(bitmaps.size(), 9);
    for (const QString& name : bitmaps) {
      const int colours = name.contains("1bit") ? 2 : 4;
      for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)  // 5-6-5 bit fields keep each channel's top bits
          pattern.setPixel(x, y, palette[(x + 2 * y) % colours] & (name.contains("16bit") ? 0xfff8fcf8 : ~0u));
      const QByteArray file = readFile(seeds.filePath(name));
      const PictureResult r = LoadPictureData(file), cut = LoadPictureData(file.chopped(1));
      QVERIFY2(r.ok() && r.image == pattern, qPrintable(name + ": " + r.error));
      QVERIFY2(name.contains("rle") || (!cut.ok() && cut.error.contains("cut short")), qPrintable(name + ": " + cut.error));
      for (int keep : {30, 20}) QVERIFY(!LoadPictureData(file.left(keep)).ok());
    }
    const PictureResult jpeg = LoadPicture(seeds.filePath("picture.jpg"));
    QVERIFY2(jpeg.ok() && jpeg.image.size() == QSize(8, 8) && jpeg.image.format() == QImage::Format_RGB32, qPrintable(jpeg.error));
    const QRgb got = jpeg.image.pixel(5, 6);
    QVERIFY(std::abs(qRed(got) - 200) <= 6 && std::abs(qGreen(got) - 40) <= 6 && std::abs(qBlue(got) - 80) <= 6);
    // A marker without a length (TEM) between segments is passed over.
    QCOMPARE(LoadPictureData(readFile(seeds.filePath("picture.jpg")).insert(2, "\xff\x01", 2)).image, jpeg.image);
    const QImage gif = LoadPicture(seeds.filePath("picture.gif")).image;
    QCOMPARE(LoadPicture(QFINDTESTDATA("data/picture87a.gif")).image, gif);
    QCOMPARE(QList<QRgb>({gif.pixel(0, 0), gif.pixel(1, 0), gif.pixel(0, 1), gif.pixel(1, 1)}),
             QList<QRgb>({qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(255, 255, 255)}));
    // The PNGs show the pattern over black: their transparent black stays
    // black, the blue at alpha 127 is half dark; a compressed text changes
    // nothing; a 16-bit grey reads. (Laid over another colour: the Pane
    // picture tests.)
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 6; ++x) pattern.setPixel(x, y, palette[(x + 2 * y) % 4]);
    QImage rgba = pattern;
    rgba.setPixel(5, 3, qRgb(0, 0, 127));
    QCOMPARE(LoadPicture(seeds.filePath("picture-rgba.png")).image, rgba);
    // Over a colour each channel is mixed by the alpha, rounded: (255, 0, 128) at alpha 64 over (200, 100, 50).
    QImage quarter(1, 1, QImage::Format_ARGB32);
    quarter.fill(qRgba(255, 0, 128, 64));
    QCOMPARE(Flattened(quarter, qRgb(200, 100, 50)).pixel(0, 0), qRgb(214, 75, 70));
    QCOMPARE(LoadPicture(seeds.filePath("picture-palette.png")).image, pattern);
    QCOMPARE(LoadPicture(seeds.filePath("picture-text.png")).image, pattern);
    for (const char* grey : {"picture-grey16.png", "picture-grey4.png"}) QVERIFY(LoadPicture(seeds.filePath(grey)).ok());
    // A GIF whose table grows after a code 0 reads whole.
    QImage black(4, 2, QImage::Format_RGB32);
    black.fill(Qt::black);
    QCOMPARE(LoadPicture(seeds.filePath("picture-zeros.gif")).image, black);
    // (The largest pictures allowed: sizeLimits.)
  }

  // An animated GIF cut inside its third frame gives its two whole frames
  // (a whole one's frames, composed, in order and with their delays: the
  // Pane picture tests). A still picture is one frame of no delay, keeping
  // its alpha when it is a PNG; a missing file gives none and says why.
  void framesOfAnAnimation() {
    const QDir seeds(qEnvironmentVariable("QUORVEL_PICTURE_SEEDS"));
    QTemporaryDir dir;
    const QByteArray gif = readFile(seeds.filePath("animation.gif"));
    const QByteArray descriptor("\x2c\0\0\0\0\x08\0\x08\0\0", 10);
    const qsizetype third = gif.indexOf(descriptor, gif.indexOf(descriptor, gif.indexOf(descriptor) + 1) + 1);
    QVERIFY(third > 0 && writeFile(dir.filePath("cut.gif"), gif.left(third + 14)));
    int taken = 0;
    FramesResult r = ReadPictureFrames(dir.filePath("cut.gif"), 25, [&](const QImage&, int) { ++taken; });
    QVERIFY2(r.error.isEmpty() && r.frames == 2 && taken == 2, qPrintable(r.error));
    QImage still;
    r = ReadPictureFrames(seeds.filePath("picture-rgba.png"), 25, [&](const QImage& f, int delay) {
      still = f;
      QCOMPARE(delay, 0);
    });
    QVERIFY(r.frames == 1 && still.format() == QImage::Format_ARGB32 && qAlpha(still.pixel(5, 3)) == 127);
    r = ReadPictureFrames(dir.filePath("none.gif"), 25, [&](const QImage&, int) { ++taken; });
    QVERIFY(r.frames == 0 && !r.error.isEmpty() && taken == 2);
  }

  // A 1-bit bitmap at each size limit reads whole; one pixel more a side or
  // in all is refused before any pixel is decoded.
  void sizeLimits_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<bool>("reads");
    QTest::newRow("widest") << MaxPictureSide << 1 << true;
    QTest::newRow("largest") << MaxPictureSide << int(MaxPicturePixels / MaxPictureSide) << true;
    QTest::newRow("too wide") << MaxPictureSide + 1 << 1 << false;
    QTest::newRow("too tall") << 1 << MaxPictureSide + 1 << false;
    QTest::newRow("too many") << MaxPictureSide << int(MaxPicturePixels / MaxPictureSide) + 1 << false;
  }

  void sizeLimits() {
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(bool, reads);
    // Rows of alternating white and black pixels, the last pixel black.
    const int row = (width + 31) / 32 * 4;
    QByteArray bmp(14 + 40 + 8, '\0');
    const auto put = [&](int at, quint32 v, int n) { for (int i = 0; i < n; ++i) bmp[at + i] = char(v >> 8 * i); };
    bmp[0] = 'B', bmp[1] = 'M';
    put(2, quint32(bmp.size() + qint64(row) * height), 4);
    put(10, quint32(bmp.size()), 4);
    put(14, 40, 4), put(18, quint32(width), 4), put(22, quint32(height), 4), put(26, 1, 2), put(28, 1, 2);
    put(58, 0xffffff, 4);
    bmp.append(QByteArray(qint64(row) * height, '\x55'));
    const PictureResult r = LoadPictureData(bmp);
    QCOMPARE(r.ok(), reads);
    if (!reads) {
      QVERIFY(r.image.isNull() && r.error.contains("too large"));
      return;
    }
    QCOMPARE(r.image.size(), QSize(width, height));
    QCOMPARE(QList<QRgb>({r.image.pixel(0, 0), r.image.pixel(width - 1, height - 1)}),
             QList<QRgb>({qRgb(0, 0, 0), width % 2 ? qRgb(0, 0, 0) : qRgb(255, 255, 255)}));
  }

  // Files that are no picture of ours, too large, damaged or cut short, and
  // paths that are no file: each refused, as a value, with its reason. The
  // files are listed in data/refused.txt with their reasons.
  void refusedWithAReason_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");
    for (const QByteArray& line : dataRows(QFINDTESTDATA("data/refused.txt"), 32)) {
      const QList<QByteArray> f = line.split('\t');
      QTest::newRow(f[0]) << QString(f[0]) << readFile(QFINDTESTDATA("data/refused/" + QString(f[0]))) << QString(f[1]);
    }
    QTest::newRow("folder") << QString("folder.bmp") << QByteArray() << QString("it is a folder, not a file");
    QTest::newRow("pipe") << QString("pipe.bmp") << QByteArray() << QString("it is a named pipe (FIFO), not a file");
  }

  void refusedWithAReason() {
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    if (name == "folder.bmp") QVERIFY(QDir(dir.path()).mkdir(name));
    else if (name == "pipe.bmp") QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    else QVERIFY(writeFile(path, bytes));
    QList<PictureResult> results = {LoadPicture(path)};
    if (!bytes.isEmpty()) results << LoadPictureData(bytes);
    for (const PictureResult& r : results)
      QVERIFY2(!r.ok() && r.image.isNull() && r.error.contains(reason), qPrintable(r.error));
  }

  // Pixels come from the file, never from memory: every picture of the seed
  // corpus and every refused file decodes alike onto pictures cleared to two
  // values. A run-length bitmap whose data is only its end gives colour 0.
  void noPixelDependsOnMemory() {
    QStringList files;
    for (const QString dir : {qEnvironmentVariable("QUORVEL_PICTURE_SEEDS"), QFINDTESTDATA("data/refused")})
      for (const QString& name : QDir(dir).entryList(QDir::Files)) files << dir + "/" + name;
    files << QFINDTESTDATA("data/rle-end.bmp");
    QCOMPARE(files.size(), 20 + 32 + 1);
    for (const QString& file : files) {
      const QByteArray bytes = readFile(file);
      const PictureResult a = DecodePictureOnto(bytes, 0x00), b = DecodePictureOnto(bytes, 0xFF);
      QVERIFY2(a.ok() == b.ok() && SamePixels(a.image, b.image), qPrintable(file));
    }
    QCOMPARE(LoadPicture(QFINDTESTDATA("data/rle-end.bmp")).image, boardModel({8, 8}, RGB(10, 20, 30), {}));
  }

  // A safe write replaces an earlier file whole and leaves nothing beside it.
  void safeWriteReplacesTheFileWhole() {
    QTemporaryDir dir;
    const QString path = dir.filePath("good.bmp");
    const QByteArray bytes = EncodeBmp24(randomImage(3, 2, 12));
    QVERIFY(writeFile(path, QByteArray(5000, 'x')) && WriteFileSafely(path, bytes).succeeded());
    QCOMPARE(readFile(path), bytes);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"good.bmp"});
  }

  // Sound files made now by our WAVE writer and GStreamer's encoders (a
  // missing gst-launch-1.0 fails), as data/sounds.txt lists them: each
  // decodes to its channels (at most two), length and tone (the time between
  // its first and last rising crossings); the others are refused, saying why.
  void soundFilesDecode_data() {
    QTest::addColumn<QStringList>("row");
    const QList<QByteArray> rows = dataRows(QFINDTESTDATA("data/sounds.txt"));
    QCOMPARE(rows.size(), 23);
    for (const QString line : rows) QTest::newRow(qPrintable(line.section('|', 0, 0).trimmed())) << line.split('|').mid(1);
  }
  void soundFilesDecode() {
    QFETCH(QStringList, row);
    QTemporaryDir dir;
    const QString path = dir.filePath(row[0].trimmed()), make = row[1].trimmed();
    const QStringList m = QString(make).remove(QRegularExpression("^cut ")).split(' ');
    QString decoder = qEnvironmentVariable("QUORVEL_SOUND_DECODER");
    if (m[0] == "gst") {
      const QString pipeline = QString("audiotestsrc num-buffers=1 samplesperbuffer=%1 freq=%2 ! audio/x-raw,rate=%3,channels=%4 "
                                       "! audioconvert ! audioresample ! %5 ! filesink location=%6")
                                   .arg(m[1].toInt() * m[3].toInt() / 1000).arg(m[4], m[1], m[2], m.mid(5).join(' '), path);
      QProcess gst;
      gst.start("gst-launch-1.0", QProcess::splitCommand("-q " + pipeline));
      QVERIFY2(gst.waitForFinished(60'000) && gst.exitCode() == 0, qPrintable(gst.errorString() + gst.readAllStandardError()));
    } else if (m[0] == "hex") {
      QVERIFY(writeFile(path, QByteArray::fromHex(m.value(1).toLatin1())));
    } else {
      QVERIFY(writeFile(path, toneWave(m.value(1).toInt(), m.value(2).toInt(), m.value(3).toInt(), m.value(4).toDouble())));
    }
    if (make.startsWith("cut ")) QVERIFY(writeFile(path, readFile(path).left(QFileInfo(path).size() / 2)));
    if (m[0] == "decoder") {
      decoder = dir.filePath("decoder");
      QVERIFY(writeFile(decoder, "#!/bin/sh\n" + make.mid(8).toUtf8() + "\n") && QFile::setPermissions(decoder, QFile::ExeOwner | QFile::ReadOwner));
      QVERIFY(writeFile(path, toneWave(8000, 1, 10, 440)));
    }
    const DecodedSound got = DecodeSoundFile(decoder, path);
    const QStringList want = row[2].trimmed().split(' ');
    if (!want[0][0].isDigit() || want.size() != 4) {
      const QStringList either = row[2].trimmed().split(" / ");
      QVERIFY2(!got.ok() && std::any_of(either.begin(), either.end(), [&](const QString& r) { return got.error.contains(r); }), qPrintable(got.error));
      return;
    }
    QString why;
    const auto w = CheckOwnSound(got.wave, why);
    QVERIFY2(w, qPrintable(got.error + why));
    QCOMPARE(w->channels, want[0].toInt());
    QVERIFY2(std::abs(w->seconds() * 1000 - want[1].toInt()) <= want[3].toInt(), qPrintable(QString::number(w->seconds())));
    // Rising crossings of the first channel, from below -1/4 to above 1/4.
    const auto* pcm = reinterpret_cast<const qint16*>(got.wave.constData() + w->dataOffset);
    qint64 first = -1, last = -1, rises = 0;
    for (qint64 i = 0, low = 0; i < w->frames; ++i) {
      const int v = pcm[i * w->channels];
      if (v < -8192) low = 1;
      if (v > 8192 && low) {
        low = 0, ++rises, last = i;
        if (first < 0) first = i;
      }
    }
    const double hz = double(rises - 1) * OwnSoundRate / double(last - first);
    QVERIFY2(std::abs(hz - want[2].toDouble()) <= want[2].toDouble() / 100, qPrintable(QString::number(hz)));
  }
};

QTEST_GUILESS_MAIN(TestSurface)
#include "test_surface.moc"
