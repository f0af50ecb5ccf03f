// Picture files: 24-bit bitmaps written and read back exactly, bitmaps of
// other header kinds read whole and refused when cut short, the size limits,
// JPEG and GIF reading, and saving through a save file.
#include "surface/PictureFile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include "support/Fixtures.h"

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

quint32 le(const QByteArray& b, int off, int size = 4) {
  return size == 2 ? qFromLittleEndian<quint16>(b.constData() + off) : qFromLittleEndian<quint32>(b.constData() + off);
}

template <typename T>
QByteArray bytes(std::initializer_list<T> values) {
  QByteArray out;
  for (T v : values) out.append(reinterpret_cast<const char*>(&v), sizeof v);  // little-endian machine
  return out;
}

// A bitmap file: the 14-byte file header, then header and data.
QByteArray bmpFile(const QByteArray& header, const QByteArray& data) {
  return "BM" + bytes<quint32>({quint32(14 + header.size() + data.size()), 0, quint32(14 + header.size())}) + header + data;
}

// The pixel rows of EncodeBmp24 under an OS/2 core header.
QByteArray os2Bmp(const QImage& img) {
  return bmpFile(bytes<quint32>({12}) + bytes<quint16>({quint16(img.width()), quint16(img.height()), 1, 24}),
                 EncodeBmp24(img).mid(54));
}

// 32 bits per pixel with colour masks, stored top-down.
QByteArray bitfieldsBmp(const QImage& img) {
  QByteArray rows;
  for (int y = 0; y < img.height(); ++y) rows.append(reinterpret_cast<const char*>(img.constScanLine(y)), img.width() * 4);
  return bmpFile(bytes<quint32>({40, quint32(img.width()), quint32(-img.height())}) + bytes<quint16>({1, 32}) +
                     bytes<quint32>({3, 0, 0, 0, 0, 0, 0xff0000, 0xff00, 0xff}),
                 rows);
}

// 8-bit run-length data for a w x h picture of one colour (palette entry 0).
QByteArray rle8Bmp(int w, int h, QRgb colour) {
  QByteArray data;
  for (int y = 0; y < h; ++y) data += QByteArray::fromHex("ff00").repeated(w / 255) + char(w % 255) + '\0' + QByteArray(2, '\0');
  return bmpFile(bytes<quint32>({40, quint32(w), quint32(h)}) + bytes<quint16>({1, 8}) +
                     bytes<quint32>({1, quint32(data.size() + 2), 0, 0, 1, 0, colour & 0xffffff}),
                 data + QByteArray::fromHex("0001"));
}

// A 2 x 2 GIF with a 4-colour palette: red, green / blue, white.
QByteArray tinyGif(const char* version) {
  return version + QByteArray::fromHex("02000200910000ff000000ff000000ffffffff2c0000000002000200000203443405003b");
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
      // bottom-up), planes, bits per pixel, no compression, data size.
      const QList<std::array<int, 3>> fields = {{2, 4, int(b.size())}, {10, 4, 54}, {14, 4, 40}, {18, 4, s.width()},
                                                {22, 4, s.height()}, {26, 2, 1}, {28, 2, 24}, {30, 4, 0},
                                                {34, 4, stride * s.height()}};
      for (const auto& [off, size, value] : fields) QCOMPARE(le(b, off, size), quint32(value));
      // The first stored row is the bottom one, as blue, green, red; rows
      // are padded with zeros.
      const QRgb bl = img.pixel(0, s.height() - 1);
      QCOMPARE(QList<int>({uchar(b[54]), uchar(b[55]), uchar(b[56])}), QList<int>({qBlue(bl), qGreen(bl), qRed(bl)}));
      for (int y = 0; y < s.height(); ++y)
        for (int i = s.width() * 3; i < stride; ++i) QCOMPARE(int(b[54 + y * stride + i]), 0);
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

  void bitmapKinds_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QImage>("picture");
    QTest::addColumn<bool>("cutIsRefused");
    const QImage img = randomImage(4, 3, 5);
    QTest::newRow("24-bit") << EncodeBmp24(img) << img << true;
    QTest::newRow("OS/2 header") << os2Bmp(img) << img << true;
    QTest::newRow("32-bit masks, top-down") << bitfieldsBmp(img) << img << true;
    QImage blue(300, 2, QImage::Format_RGB32);
    blue.fill(qRgb(0, 0, 255));
    QTest::newRow("run-length") << rle8Bmp(300, 2, qRgb(0, 0, 255)) << blue << false;
    QImage wide(MaxPictureSide, 1, QImage::Format_RGB32);
    wide.fill(qRgb(1, 2, 3));
    QTest::newRow("widest") << EncodeBmp24(wide) << wide << true;
  }

  void bitmapKinds() {
    QFETCH(QByteArray, file);
    QFETCH(QImage, picture);
    QFETCH(bool, cutIsRefused);
    const PictureResult whole = LoadPictureData(file);
    QVERIFY2(whole.ok(), qPrintable(whole.error));
    QCOMPARE(whole.image, picture);
    // A file one byte short of its pixel rows is cut short; run-length data
    // has no fixed length and is left to the decoder.
    const PictureResult cut = LoadPictureData(file.chopped(1));
    if (cutIsRefused) QVERIFY2(!cut.ok() && cut.error.contains("cut short"), qPrintable(cut.error));
    for (int keep : {30, 20}) QVERIFY(!LoadPictureData(file.left(keep)).ok());
  }

  void badFilesFailAsValues() {
    QTemporaryDir dir;
    const QByteArray good = EncodeBmp24(randomImage(40, 30, 3));
    QByteArray enormousGif = tinyGif("GIF89a");  // screen and image 60000 x 60000
    for (int off : {6, 8, 23, 25}) qToLittleEndian(quint16(60000), enormousGif.data() + off);
    const QList<std::pair<const char*, QByteArray>> cases = {
        {"truncated.bmp", good.left(100)},
        {"half.bmp", good.left(good.size() / 2)},
        {"text.bmp", "This is not a picture at all.\n"},
        {"empty.bmp", QByteArray()},
        {"too wide.bmp", EncodeBmp24(QImage(MaxPictureSide + 1, 1, QImage::Format_RGB32))},
        {"too high.bmp", rle8Bmp(1, MaxPictureSide + 1, 0)},
        {"too many pixels.bmp", rle8Bmp(7000, 6000, 0).left(2000)},
        {"enormous.gif", enormousGif},
        {"truncated.gif", tinyGif("GIF89a").left(20)},
        {"garbage.jpg", QByteArray("\xff\xd8\xff\xe0 not really a jpeg", 22)},
    };
    for (const auto& [name, bytes] : cases) {
      QVERIFY(writeAll(dir.filePath(name), bytes));
      for (const PictureResult& r : {LoadPicture(dir.filePath(name)), LoadPictureData(bytes)})
        QVERIFY2(!r.ok() && r.image.isNull() && !r.error.isEmpty(), name);
    }
    for (const QString& path : {dir.filePath("no-such-file.bmp"), dir.path()}) QVERIFY(!LoadPicture(path).ok());
  }

  void jpegAndGifAreRead() {
    // A flat colour survives JPEG coding almost unchanged.
    QImage img(32, 16, QImage::Format_RGB32);
    img.fill(qRgb(200, 40, 90));
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    QVERIFY(buffer.open(QIODevice::WriteOnly) && img.save(&buffer, "JPG", 100));
    const PictureResult r = LoadPictureData(jpeg);
    QVERIFY2(r.ok() && r.image.format() == QImage::Format_RGB32 && r.image.size() == QSize(32, 16), qPrintable(r.error));
    for (int shift : {0, 8, 16}) QVERIFY(std::abs(int(r.image.pixel(27, 11) >> shift & 255) - int(img.pixel(0, 0) >> shift & 255)) <= 6);
    for (const char* version : {"GIF87a", "GIF89a"}) {
      const PictureResult g = LoadPictureData(tinyGif(version));
      QVERIFY2(g.ok() && g.image.format() == QImage::Format_RGB32, qPrintable(g.error));
      QCOMPARE(QList<QRgb>({g.image.pixel(0, 0), g.image.pixel(1, 0), g.image.pixel(0, 1), g.image.pixel(1, 1)}),
               QList<QRgb>({qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(255, 255, 255)}));
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
    // An empty picture is refused and the earlier file stays; a good save
    // replaces it completely.
    const QString good = dir.filePath("good.bmp");
    QCOMPARE(SavePicture(img, good), QString());
    QVERIFY(!SavePicture(QImage(), good).isEmpty());
    QCOMPARE(LoadPicture(good).image, img);
    const QImage other = randomImage(3, 2, 12);
    QCOMPARE(SavePicture(other, good), QString());
    QCOMPARE(LoadPicture(good).image, other);
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             (QStringList{"good.bmp", "target.bmp"}));
  }
};

QTEST_GUILESS_MAIN(TestPictureFile)
#include "test_picturefile.moc"
