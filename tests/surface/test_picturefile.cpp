// Picture files: 24-bit bitmaps written and read back exactly, JPEG and GIF
// reading, and every kind of bad file failing as a value.
#include "surface/PictureFile.h"
#include "surface/Surface.h"

#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using namespace qv;

namespace {

QImage randomImage(int w, int h, quint32 seed) {
  QImage img(w, h, QImage::Format_RGB32);
  QRandomGenerator rng(seed);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) img.setPixel(x, y, 0xff000000u | (rng.generate() & 0xffffffu));
  return img;
}

QByteArray readAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeAll(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

quint32 le32(const QByteArray& b, int off) { return qFromLittleEndian<quint32>(b.constData() + off); }
quint16 le16(const QByteArray& b, int off) { return qFromLittleEndian<quint16>(b.constData() + off); }

// Packs LZW codes of the given bit widths least significant bit first, as a
// GIF image data stream stores them.
QByteArray packCodes(const QList<QPair<int, int>>& codes) {
  QByteArray out;
  quint32 acc = 0;
  int bits = 0;
  for (const auto& [code, width] : codes) {
    acc |= quint32(code) << bits;
    bits += width;
    while (bits >= 8) {
      out.append(char(acc & 0xff));
      acc >>= 8;
      bits -= 8;
    }
  }
  if (bits > 0) out.append(char(acc & 0xff));
  return out;
}

// A 2 x 2 GIF with a 4-colour palette (red, green / blue, white).
QByteArray tinyGif(const char* version) {
  QByteArray g(version);
  g.append("\x02\x00\x02\x00", 4);       // logical screen 2 x 2
  g.append(char(0x91));                   // global table, 2-bit colour, 4 entries
  g.append("\x00\x00", 2);                // background index, aspect
  g.append("\xff\x00\x00\x00\xff\x00\x00\x00\xff\xff\xff\xff", 12);
  g.append("\x2c\x00\x00\x00\x00\x02\x00\x02\x00\x00", 10);  // image descriptor
  g.append(char(2));                      // LZW minimum code size
  // Clear (4), indices 0, 1, 2 at 3 bits; the table reaches 8 entries after
  // the third code, so index 3 and End (5) take 4 bits.
  const QByteArray lzw = packCodes({{4, 3}, {0, 3}, {1, 3}, {2, 3}, {3, 4}, {5, 4}});
  g.append(char(lzw.size()));
  g.append(lzw);
  g.append(char(0));                      // block terminator
  g.append(char(0x3b));                   // trailer
  return g;
}

// A bitmap header declaring w x h at 24 bits (or 8-bit run-length data),
// with no pixel data after it.
QByteArray bmpHeaderOnly(qint32 w, qint32 h, bool runLength = false) {
  QByteArray b(54, '\0');
  uchar* p = reinterpret_cast<uchar*>(b.data());
  p[0] = 'B';
  p[1] = 'M';
  const quint64 data = quint64((qint64(w) * 3 + 3) & ~3) * quint64(std::abs(qint64(h)));
  qToLittleEndian(quint32(std::min<quint64>(54 + data, 0xffffffffu)), p + 2);
  qToLittleEndian(quint32(54), p + 10);
  qToLittleEndian(quint32(40), p + 14);
  qToLittleEndian(w, p + 18);
  qToLittleEndian(h, p + 22);
  qToLittleEndian(quint16(1), p + 26);
  qToLittleEndian(quint16(runLength ? 8 : 24), p + 28);
  if (runLength) qToLittleEndian(quint32(1), p + 30);
  return b;
}

}  // namespace

class TestPictureFile : public QObject {
  Q_OBJECT

 private slots:
  void bmpRoundTripIsExact() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QList<QSize> sizes = {{1, 1}, {1, 5}, {2, 3}, {3, 2}, {4, 4}, {5, 1}, {201, 7}, {200, 200}};
    quint32 seed = 7;
    for (const QSize& s : sizes) {
      const QImage img = randomImage(s.width(), s.height(), ++seed);
      const QString path = dir.filePath(QStringLiteral("p%1x%2.bmp").arg(s.width()).arg(s.height()));
      QCOMPARE(SavePicture(img, path), QString());

      const QByteArray b = readAll(path);
      const int stride = (s.width() * 3 + 3) & ~3;
      QCOMPARE(b.size(), 54 + stride * s.height());
      QCOMPARE(b.left(2), QByteArray("BM"));
      QCOMPARE(le32(b, 2), quint32(b.size()));
      QCOMPARE(le32(b, 10), 54u);
      QCOMPARE(le32(b, 14), 40u);
      QCOMPARE(qint32(le32(b, 18)), s.width());
      QCOMPARE(qint32(le32(b, 22)), s.height());  // positive: bottom-up
      QCOMPARE(le16(b, 26), quint16(1));
      QCOMPARE(le16(b, 28), quint16(24));
      QCOMPARE(le32(b, 30), 0u);  // uncompressed
      // The first stored row is the bottom one, as blue, green, red.
      const QRgb bottomLeft = img.pixel(0, s.height() - 1);
      QCOMPARE(uchar(b[54]), uchar(qBlue(bottomLeft)));
      QCOMPARE(uchar(b[55]), uchar(qGreen(bottomLeft)));
      QCOMPARE(uchar(b[56]), uchar(qRed(bottomLeft)));
      // Row padding is written as zeros.
      for (int y = 0; y < s.height(); ++y)
        for (int i = s.width() * 3; i < stride; ++i) QCOMPARE(int(b[54 + y * stride + i]), 0);

      const PictureResult r = LoadPicture(path);
      QVERIFY2(r.ok(), qPrintable(r.error));
      QCOMPARE(r.image.format(), QImage::Format_RGB32);
      QCOMPARE(r.image.size(), s);
      for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x) QCOMPARE(r.image.pixel(x, y), img.pixel(x, y));
      // The same bytes read from memory give the same picture.
      QCOMPARE(LoadPictureData(b).image, r.image);
    }
  }

  void bmpOfOtherFormatsStoresTheVisibleColours() {
    QTemporaryDir dir;
    QImage indexed(3, 1, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(10, 20, 30), qRgb(200, 100, 0)});
    indexed.setPixel(0, 0, 0);
    indexed.setPixel(1, 0, 1);
    indexed.setPixel(2, 0, 0);
    const QString path = dir.filePath("indexed.bmp");
    QCOMPARE(SavePicture(indexed, path), QString());
    const PictureResult r = LoadPicture(path);
    QVERIFY(r.ok());
    QCOMPARE(r.image.pixel(0, 0), qRgb(10, 20, 30));
    QCOMPARE(r.image.pixel(1, 0), qRgb(200, 100, 0));
    QCOMPARE(r.image.pixel(2, 0), qRgb(10, 20, 30));
  }

  void jpegIsRead() {
    QTemporaryDir dir;
    // Flat 8 x 8 blocks survive JPEG coding almost unchanged.
    QImage img(32, 16, QImage::Format_RGB32);
    img.fill(qRgb(200, 40, 40));
    for (int y = 0; y < 16; ++y)
      for (int x = 16; x < 32; ++x) img.setPixel(x, y, qRgb(30, 60, 220));
    const QString path = dir.filePath("pic.jpg");
    QVERIFY(img.save(path, "JPG", 100));
    const PictureResult r = LoadPicture(path);
    QVERIFY2(r.ok(), qPrintable(r.error));
    QCOMPARE(r.image.format(), QImage::Format_RGB32);
    QCOMPARE(r.image.size(), QSize(32, 16));
    auto near = [](QRgb a, QRgb b) {
      return std::abs(qRed(a) - qRed(b)) <= 6 && std::abs(qGreen(a) - qGreen(b)) <= 6 &&
             std::abs(qBlue(a) - qBlue(b)) <= 6;
    };
    QVERIFY(near(r.image.pixel(4, 4), qRgb(200, 40, 40)));
    QVERIFY(near(r.image.pixel(27, 11), qRgb(30, 60, 220)));
  }

  void gifIsRead() {
    QTemporaryDir dir;
    if (QImageWriter::supportedImageFormats().contains("gif")) {
      QImage img(3, 2, QImage::Format_RGB32);
      img.fill(qRgb(0, 0, 255));
      img.setPixel(1, 1, qRgb(255, 255, 0));
      const QString path = dir.filePath("written.gif");
      QVERIFY(img.save(path, "GIF"));
      const PictureResult r = LoadPicture(path);
      QVERIFY2(r.ok(), qPrintable(r.error));
      QCOMPARE(r.image.pixel(1, 1), qRgb(255, 255, 0));
    }
    for (const char* version : {"GIF87a", "GIF89a"}) {
      const QString path = dir.filePath(QStringLiteral("tiny-%1.gif").arg(version));
      QVERIFY(writeAll(path, tinyGif(version)));
      const PictureResult r = LoadPicture(path);
      QVERIFY2(r.ok(), qPrintable(r.error));
      QCOMPARE(r.image.format(), QImage::Format_RGB32);
      QCOMPARE(r.image.size(), QSize(2, 2));
      QCOMPARE(r.image.pixel(0, 0), qRgb(255, 0, 0));
      QCOMPARE(r.image.pixel(1, 0), qRgb(0, 255, 0));
      QCOMPARE(r.image.pixel(0, 1), qRgb(0, 0, 255));
      QCOMPARE(r.image.pixel(1, 1), qRgb(255, 255, 255));
    }
  }

  void badFilesFailAsValues() {
    QTemporaryDir dir;
    const QString good = dir.filePath("good.bmp");
    QCOMPARE(SavePicture(randomImage(40, 30, 3), good), QString());
    const QByteArray goodBytes = readAll(good);

    // The tiny GIF with its screen and image declared as 60000 x 60000.
    QByteArray enormousGif = tinyGif("GIF89a");
    for (int off : {6, 8, 23, 25}) qToLittleEndian(quint16(60000), enormousGif.data() + off);

    struct Case {
      const char* name;
      QByteArray bytes;
    };
    const QList<Case> cases = {
        {"truncated.bmp", goodBytes.left(100)},
        {"half.bmp", goodBytes.left(goodBytes.size() / 2)},
        {"headeronly.bmp", goodBytes.left(54)},
        {"text.bmp", QByteArray("This is not a picture at all.\nJust some words.\n")},
        {"empty.bmp", QByteArray()},
        {"enormous.bmp", bmpHeaderOnly(60000, 60000)},
        {"enormous-topdown.bmp", bmpHeaderOnly(60000, -60000)},
        {"wide.bmp", bmpHeaderOnly(2'000'000'000, 1)},
        {"enormous-rle.bmp", bmpHeaderOnly(60000, 60000, true)},
        {"enormous.gif", enormousGif},
        {"truncated.gif", tinyGif("GIF89a").left(20)},
        {"garbage.jpg", QByteArray("\xff\xd8\xff\xe0 not really a jpeg", 22)},
    };
    for (const Case& c : cases) {
      const QString path = dir.filePath(c.name);
      QVERIFY(writeAll(path, c.bytes));
      const PictureResult r = LoadPicture(path);
      QVERIFY2(!r.ok(), c.name);
      QVERIFY2(r.image.isNull(), c.name);
      QVERIFY2(!r.error.isEmpty(), c.name);
      const PictureResult m = LoadPictureData(c.bytes);
      QVERIFY2(!m.ok() && !m.error.isEmpty(), c.name);
    }
    const PictureResult missing = LoadPicture(dir.filePath("no-such-file.bmp"));
    QVERIFY(!missing.ok());
    QVERIFY(!missing.error.isEmpty());
    const PictureResult folder = LoadPicture(dir.path());
    QVERIFY(!folder.ok());
    QVERIFY(!folder.error.isEmpty());
    // The good file still reads after all that.
    QVERIFY(LoadPicture(good).ok());
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
    QVERIFY(QFileInfo(folder).isDir());
    QCOMPARE(readAll(folder + "/inside.txt"), QByteArray("keep"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{"target.bmp"});

    // A folder that does not exist.
    QVERIFY(!SavePicture(img, dir.filePath("missing/pic.bmp")).isEmpty());
    QVERIFY(!QFileInfo::exists(dir.filePath("missing")));

    // An empty picture is refused and an earlier good file stays as it was.
    const QString good = dir.filePath("good.bmp");
    QCOMPARE(SavePicture(img, good), QString());
    const QByteArray before = readAll(good);
    QVERIFY(!SavePicture(QImage(), good).isEmpty());
    QCOMPARE(readAll(good), before);

    // Saving over a good file replaces it completely.
    const QImage other = randomImage(3, 2, 12);
    QCOMPARE(SavePicture(other, good), QString());
    QCOMPARE(LoadPicture(good).image, toSurfaceFormat(other));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"good.bmp"});
  }
};

QTEST_GUILESS_MAIN(TestPictureFile)
#include "test_picturefile.moc"
