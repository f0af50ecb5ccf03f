// Picture files: 24-bit bitmaps written and read back exactly, JPEG and GIF
// reading, and every kind of bad file failing as a value.
#include "surface/PictureFile.h"
#include "surface/Surface.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include "support/PaneFixtures.h"
#include <QtEndian>

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

  void badFilesFailAsValues() {
    QTemporaryDir dir;
    const QByteArray good = EncodeBmp24(randomImage(40, 30, 3));
    QByteArray enormousGif = tinyGif("GIF89a");  // screen and image 60000 x 60000
    for (int off : {6, 8, 23, 25}) qToLittleEndian(quint16(60000), enormousGif.data() + off);
    const QList<std::pair<const char*, QByteArray>> cases = {
        {"truncated.bmp", good.left(100)}, {"half.bmp", good.left(good.size() / 2)},
        {"headeronly.bmp", good.left(54)}, {"text.bmp", "This is not a picture at all.\n"},
        {"empty.bmp", QByteArray()},       {"enormous.bmp", bmpHeaderOnly(60000, 60000)},
        {"wide.bmp", bmpHeaderOnly(2'000'000'000, 1)}, {"topdown.bmp", bmpHeaderOnly(60000, -60000)},
        {"enormous-rle.bmp", bmpHeaderOnly(60000, 60000, true)}, {"enormous.gif", enormousGif},
        {"truncated.gif", tinyGif("GIF89a").left(20)},
        {"garbage.jpg", QByteArray("\xff\xd8\xff\xe0 not really a jpeg", 22)},
    };
    for (const auto& [name, bytes] : cases) {
      QVERIFY(writeAll(dir.filePath(name), bytes));
      for (const PictureResult& r : {LoadPicture(dir.filePath(name)), LoadPictureData(bytes)})
        QVERIFY2(!r.ok() && r.image.isNull() && !r.error.isEmpty(), name);
    }
    for (const QString& path : {dir.filePath("no-such-file.bmp"), dir.path()}) {
      const PictureResult r = LoadPicture(path);
      QVERIFY(!r.ok() && !r.error.isEmpty());
    }
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
