// Picture files: 24-bit bitmaps written and read back exactly, JPEG and GIF
// reading, and every kind of bad file failing as a value.
#include "surface/PictureFile.h"
#include "surface/Surface.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include "support/PaneFixtures.h"
#include <QtEndian>
#include <sys/stat.h>

using namespace qv;
using fixtures::randomImage;

namespace {

QByteArray readAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeAll(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

quint32 le(const QByteArray& b, int off, int size) {
  return size == 2 ? qFromLittleEndian<quint16>(b.constData() + off) : qFromLittleEndian<quint32>(b.constData() + off);
}

// A 2 x 2 GIF with a 4-colour palette: red, green / blue, white.
QByteArray tinyGif(const char* version) {
  return version + QByteArray::fromHex("02000200910000ff000000ff000000ffffffff2c00000000020002000002034434"
                                       "05003b");
}

// A one-picture GIF: a logical screen of sw x sh, a picture at (left, 0) of
// w x h whose data is one sub-block, and the trailer; 35 bytes.
QByteArray gifOneFrame(quint16 sw, quint16 sh, quint16 left, quint16 w, quint16 h) {
  QByteArray g = "GIF89a" + QByteArray(7, '\0') + QByteArray::fromHex("000000ffffff") + ',' + QByteArray(9, '\0') +
                 QByteArray::fromHex("02024401003b");
  qToLittleEndian(sw, g.data() + 6);
  qToLittleEndian(sh, g.data() + 8);
  g[10] = char(0x80);  // a global colour table of two entries
  qToLittleEndian(left, g.data() + 20);
  qToLittleEndian(w, g.data() + 24);
  qToLittleEndian(h, g.data() + 26);
  return g;
}

// A bitmap header declaring w x h at 24 bits (or 8-bit run-length data),
// with no pixel data after it.
QByteArray bmpHeaderOnly(qint32 w, qint32 h, bool runLength = false) {
  QByteArray b = EncodeBmp24(QImage(1, 1, QImage::Format_RGB32)).left(54);
  qToLittleEndian(w, b.data() + 18);
  qToLittleEndian(h, b.data() + 22);
  if (runLength) qToLittleEndian(quint16(8), b.data() + 28), qToLittleEndian(quint32(1), b.data() + 30);
  return b;
}

}  // namespace

class TestPictureFile : public QObject {
  Q_OBJECT

 private slots:
  void bmpRoundTripIsExact() {
    QTemporaryDir dir;
    quint32 seed = 7;
    for (const QSize s : {QSize(1, 5), QSize(2, 3), QSize(3, 2), QSize(4, 4), QSize(5, 1), QSize(201, 7)}) {
      const QImage img = randomImage(s.width(), s.height(), ++seed);
      const QString path = dir.filePath(QStringLiteral("p%1x%2.bmp").arg(s.width()).arg(s.height()));
      QCOMPARE(SavePicture(img, path), QString());
      const QByteArray b = readAll(path);
      const int stride = (s.width() * 3 + 3) & ~3;
      QCOMPARE(b.size(), 54 + stride * s.height());
      QCOMPARE(b.left(2), QByteArray("BM"));
      // File size, pixel offset, header size, width, height (positive:
      // bottom-up), planes, bits per pixel, no compression.
      const QList<std::array<int, 3>> fields = {{2, 4, int(b.size())}, {10, 4, 54},  {14, 4, 40},
                                                {18, 4, s.width()},    {22, 4, s.height()}, {26, 2, 1},
                                                {28, 2, 24},           {30, 4, 0}};
      for (const auto& [off, size, value] : fields) QCOMPARE(le(b, off, size), quint32(value));
      // The first stored row is the bottom one, as blue, green, red; rows
      // are padded with zeros.
      const QRgb bl = img.pixel(0, s.height() - 1);
      QCOMPARE(QList<int>({uchar(b[54]), uchar(b[55]), uchar(b[56])}), QList<int>({qBlue(bl), qGreen(bl), qRed(bl)}));
      for (int y = 0; y < s.height(); ++y)
        for (int i = s.width() * 3; i < stride; ++i) QCOMPARE(int(b[54 + y * stride + i]), 0);

      const PictureResult r = LoadPicture(path);
      QVERIFY2(r.ok(), qPrintable(r.error));
      QCOMPARE(r.image.format(), QImage::Format_RGB32);
      QCOMPARE(r.image, img);
      QCOMPARE(LoadPictureData(b).image, img);
    }
    // Other formats are stored as the colours they show.
    QImage indexed(3, 1, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(10, 20, 30), qRgb(200, 100, 0)});
    for (int x = 0; x < 3; ++x) indexed.setPixel(x, 0, x % 2);
    QCOMPARE(SavePicture(indexed, dir.filePath("i.bmp")), QString());
    QCOMPARE(LoadPicture(dir.filePath("i.bmp")).image, indexed.convertToFormat(QImage::Format_RGB32));
  }

  void jpegAndGifAreRead() {
    QTemporaryDir dir;
    // A flat colour survives JPEG coding almost unchanged.
    QImage img(32, 16, QImage::Format_RGB32);
    img.fill(qRgb(200, 40, 90));
    QVERIFY(img.save(dir.filePath("pic.jpg"), "JPG", 100));
    const PictureResult r = LoadPicture(dir.filePath("pic.jpg"));
    QVERIFY2(r.ok(), qPrintable(r.error));
    QCOMPARE(r.image.format(), QImage::Format_RGB32);
    QCOMPARE(r.image.size(), QSize(32, 16));
    const QRgb got = r.image.pixel(27, 11);
    for (int shift : {0, 8, 16}) QVERIFY(std::abs(int(got >> shift & 255) - int(img.pixel(0, 0) >> shift & 255)) <= 6);
    for (const char* version : {"GIF87a", "GIF89a"}) {
      const QString path = dir.filePath(QStringLiteral("tiny-%1.gif").arg(version));
      QVERIFY(writeAll(path, tinyGif(version)));
      const PictureResult g = LoadPicture(path);
      QVERIFY2(g.ok(), qPrintable(g.error));
      QCOMPARE(g.image.format(), QImage::Format_RGB32);
      QCOMPARE(g.image.size(), QSize(2, 2));
      QCOMPARE(QList<QRgb>({g.image.pixel(0, 0), g.image.pixel(1, 0), g.image.pixel(0, 1), g.image.pixel(1, 1)}),
               QList<QRgb>({qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(255, 255, 255)}));
    }
  }

  // Every file of the reader's own seed corpus: bitmaps of each depth and
  // kind show the same pattern, exactly; the JPEG its flat colour.
  void everyKindOfPictureReads() {
    const QDir seeds(qEnvironmentVariable("QUORVEL_PICTURE_SEEDS"));
    QImage pattern(6, 4, QImage::Format_RGB32);
    const QRgb palette[] = {qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)};
    const QStringList bitmaps = seeds.entryList({"*.bmp"});
    QCOMPARE(bitmaps.size(), 8);
    for (const QString& name : bitmaps) {
      const int colours = name.contains("1bit") ? 2 : 4;
      for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) pattern.setPixel(x, y, palette[(x + 2 * y) % colours]);
      const PictureResult r = LoadPicture(seeds.filePath(name));
      QVERIFY2(r.ok(), qPrintable(name + ": " + r.error));
      QVERIFY2(r.image == pattern, qPrintable(name));
    }
    const PictureResult jpeg = LoadPicture(seeds.filePath("picture.jpg"));
    QVERIFY2(jpeg.ok(), qPrintable(jpeg.error));
    QCOMPARE(jpeg.image.size(), QSize(8, 8));
    const QRgb got = jpeg.image.pixel(5, 6);
    QVERIFY(std::abs(qRed(got) - 200) <= 6 && std::abs(qGreen(got) - 40) <= 6 && std::abs(qBlue(got) - 80) <= 6);
    QCOMPARE(LoadPicture(seeds.filePath("picture.gif")).image.size(), QSize(2, 2));
  }

  // Files that are no picture of ours, too large, damaged or cut short, and
  // paths that are no file: each refused, as a value, with its reason.
  void refusedWithAReason_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");
    const QByteArray good = EncodeBmp24(randomImage(40, 30, 3));
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    QVERIFY(buffer.open(QIODevice::WriteOnly) && randomImage(64, 64, 5).save(&buffer, "JPG", 90));
    QByteArray png;
    QBuffer pngBuffer(&png);
    QVERIFY(pngBuffer.open(QIODevice::WriteOnly) && randomImage(4, 4, 6).save(&pngBuffer, "PNG"));
    QByteArray hugeJpeg = jpeg;  // its frame header says 20000 x 20000 pixels
    for (int off : {5, 7}) qToBigEndian(quint16(20000), hugeJpeg.data() + hugeJpeg.indexOf("\xFF\xC0") + off);
    // 16384 x 2441 at 8 bits, run-length coded: the pixel data is nothing
    // but skips (delta escapes) and an end of bitmap, 1.2 KB in all.
    QByteArray rleBomb = bmpHeaderOnly(16384, 2441, true) + QByteArray(1024, '\0');
    for (int i = 0; i < 30; ++i) rleBomb += QByteArray::fromHex("0002ffff");
    rleBomb += QByteArray::fromHex("0001");
    qToLittleEndian(quint32(54 + 1024), rleBomb.data() + 10);
    // 54 bytes: 2147483647 x 2147483647 pixels at 65535 bits per pixel.
    QByteArray overflow = bmpHeaderOnly(2147483647, 2147483647);
    qToLittleEndian(quint16(65535), overflow.data() + 28);
    // Compression kinds the bitmap decoder does not read, or not at that
    // depth: JPEG inside, 8-bit run-length at 24 bits, 4-bit run-length at 8.
    QByteArray jpegInBmp = bmpHeaderOnly(4, 4), rle8At24 = bmpHeaderOnly(4, 4), rle4At8 = bmpHeaderOnly(4, 4);
    qToLittleEndian(quint32(4), jpegInBmp.data() + 30);
    qToLittleEndian(quint32(1), rle8At24.data() + 30);
    qToLittleEndian(quint32(2), rle4At8.data() + 30);
    qToLittleEndian(quint16(8), rle4At8.data() + 28);
    QByteArray enormousGif = tinyGif("GIF89a");  // screen and image 60000 x 60000
    for (int off : {6, 8, 30, 32}) qToLittleEndian(quint16(60000), enormousGif.data() + off);
    const QList<std::tuple<const char*, QByteArray, const char*>> rows = {
        {"svg.bmp", "<?xml version=\"1.0\"?><svg xmlns=\"http://www.w3.org/2000/svg\" width=\"99999\" height=\"99999\"/>",
         "not a BMP, JPEG or GIF"},
        {"png.jpg", png, "not a BMP, JPEG or GIF"},
        {"text.bmp", "This is not a picture at all.\n", "not a BMP, JPEG or GIF"},
        {"width0.gif", gifOneFrame(65535, 612, 0, 0, 612), "no width or height"},
        {"offset.gif", gifOneFrame(0, 612, 65535, 1, 612), "too large"},
        {"enormous.gif", enormousGif, "too large"},
        {"noimage.gif", QByteArray("GIF89a\1\0\1\0\0\0\0;", 14), "no picture"},
        {"cut.gif", tinyGif("GIF89a").left(35), "cut short"},
        {"header.gif", tinyGif("GIF89a").left(20), "cut short"},
        {"rlebomb.bmp", rleBomb, "too large"},
        {"overflow.bmp", overflow, "65535 bits per pixel"},
        {"overflow32.bmp", bmpHeaderOnly(2147483647, -2147483647 - 1), "too large"},
        {"enormous.bmp", bmpHeaderOnly(60000, 60000), "too large"},
        {"wide.bmp", bmpHeaderOnly(2'000'000'000, 1), "too large"},
        {"flat.bmp", bmpHeaderOnly(40, 0), "no width or height"},
        {"jpeginside.bmp", jpegInBmp, "compression"},
        {"rle8at24.bmp", rle8At24, "compression"},
        {"rle4at8.bmp", rle4At8, "compression"},
        {"half.bmp", good.left(good.size() / 2), "cut short"},
        {"headeronly.bmp", good.left(54), "cut short"},
        {"short.bmp", good.left(30), "cut short"},
        {"enormous.jpg", hugeJpeg, "too large"},
        {"cut.jpg", jpeg.left(jpeg.size() / 2), "cut short"},
        {"garbage.jpg", QByteArray("\xff\xd8\xff\xe0 not really a jpeg", 22), "cut short"},
        {"empty.bmp", QByteArray(), "empty"},
    };
    for (const auto& [name, bytes, reason] : rows) QTest::newRow(name) << QString(name) << bytes << QString(reason);
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
    else QVERIFY(writeAll(path, bytes));
    QList<PictureResult> results = {LoadPicture(path)};
    if (!bytes.isEmpty()) results << LoadPictureData(bytes);
    for (const PictureResult& r : results)
      QVERIFY2(!r.ok() && r.image.isNull() && r.error.contains(reason), qPrintable(r.error));
  }

  void failedSaveLeavesNothingHalfWritten() {
    QTemporaryDir dir;
    const QImage img = randomImage(9, 9, 11);
    // The target name is an existing folder: refused, the folder untouched,
    // and no stray temporary file beside it.
    QVERIFY(QDir(dir.path()).mkdir("target.bmp"));
    const QString folder = dir.filePath("target.bmp");
    QVERIFY(writeAll(folder + "/inside.txt", "keep"));
    QVERIFY(!SavePicture(img, folder).isEmpty());
    QCOMPARE(readAll(folder + "/inside.txt"), QByteArray("keep"));
    QVERIFY(!SavePicture(img, dir.filePath("missing/pic.bmp")).isEmpty());
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{"target.bmp"});

    // An empty picture is refused and the earlier file stays; a good save
    // replaces it completely.
    const QString good = dir.filePath("good.bmp");
    QCOMPARE(SavePicture(img, good), QString());
    const QByteArray before = readAll(good);
    QVERIFY(!SavePicture(QImage(), good).isEmpty());
    QCOMPARE(readAll(good), before);
    const QImage other = randomImage(3, 2, 12);
    QCOMPARE(SavePicture(other, good), QString());
    QCOMPARE(LoadPicture(good).image, other);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"good.bmp"});
  }
};

QTEST_GUILESS_MAIN(TestPictureFile)
#include "test_picturefile.moc"
