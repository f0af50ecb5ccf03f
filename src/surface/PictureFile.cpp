// Picture file reading with size limits, and the 24-bit bitmap writer.
#include "surface/PictureFile.h"

#include "surface/Surface.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QSaveFile>
#include <QtEndian>

#include <cstring>

namespace qv {
namespace {

// An uncompressed Windows bitmap whose pixel rows do not all fit in the file.
// The bitmap decoder keeps whatever rows it got and reports success, so a cut
// off file is caught here, before decoding.
bool isTruncatedBmp(QIODevice* device) {
  const QByteArray h = device->peek(34);
  if (h.size() < 26 || !h.startsWith("BM")) return false;
  const auto* p = reinterpret_cast<const uchar*>(h.constData());
  const quint32 offset = qFromLittleEndian<quint32>(p + 10);
  const quint32 headerSize = qFromLittleEndian<quint32>(p + 14);
  qint64 w = 0, rows = 0, bits = 0;
  if (headerSize == 12) {  // OS/2 core header
    w = qFromLittleEndian<quint16>(p + 18);
    rows = qFromLittleEndian<quint16>(p + 20);
    bits = qFromLittleEndian<quint16>(p + 24);
  } else {
    if (h.size() < 34) return true;
    const quint32 compression = qFromLittleEndian<quint32>(p + 30);
    if (compression != 0 && compression != 3 && compression != 6) return false;  // run-length data
    w = qFromLittleEndian<qint32>(p + 18);
    rows = std::abs(qint64(qFromLittleEndian<qint32>(p + 22)));
    bits = qFromLittleEndian<quint16>(p + 28);
  }
  const qint64 stride = (w * bits + 31) / 32 * 4;
  return qint64(offset) + stride * rows > device->size();
}

PictureResult read(QImageReader& reader) {
  // Checked first, while the device still stands at the start of the file.
  if (isTruncatedBmp(reader.device()))
    return {{}, QStringLiteral("the bitmap file is cut short")};
  reader.setDecideFormatFromContent(true);
  const QSize size = reader.size();
  if (!reader.canRead())
    return {{}, QStringLiteral("not a picture that can be read (%1)").arg(reader.errorString())};
  if (size.isValid() && (size.width() > MaxPictureSide || size.height() > MaxPictureSide ||
                         qint64(size.width()) * size.height() > MaxPicturePixels))
    return {{}, QStringLiteral("the picture is too large (%1 x %2)").arg(size.width()).arg(size.height())};
  QImage img;
  if (!reader.read(&img) || img.isNull())
    return {{}, QStringLiteral("the picture could not be read (%1)").arg(reader.errorString())};
  return {toSurfaceFormat(img), {}};
}

struct AllocationLimit {
  AllocationLimit() { QImageReader::setAllocationLimit(int(MaxPicturePixels * 4 / (1024 * 1024)) + 1); }
};

// One bitmap row: every RGB32 pixel as its blue, green and red bytes, then
// zero bytes up to the row's 4-byte boundary. Four pixels fill three words.
void packBgrRow(const quint32* s, int w, uchar* d, int stride) {
  uchar* const end = d + stride;
  int x = 0;
  for (; x + 4 <= w; x += 4, d += 12) {
    const quint32 p0 = s[x], p1 = s[x + 1], p2 = s[x + 2], p3 = s[x + 3];
    qToLittleEndian<quint32>((p0 & 0xFFFFFFu) | p1 << 24, d);
    qToLittleEndian<quint32>((p1 >> 8 & 0xFFFFu) | p2 << 16, d + 4);
    qToLittleEndian<quint32>((p2 >> 16 & 0xFFu) | p3 << 8, d + 8);
  }
  for (; x < w; ++x, d += 3) {
    d[0] = uchar(qBlue(s[x]));
    d[1] = uchar(qGreen(s[x]));
    d[2] = uchar(qRed(s[x]));
  }
  std::memset(d, 0, size_t(end - d));
}

}  // namespace

PictureResult LoadPicture(const QString& path) {
  static AllocationLimit limit;
  // Only plain files: a pipe or device named like a picture would block.
  if (!QFileInfo(path).isFile()) return {{}, QStringLiteral("%1 is not a picture file").arg(path)};
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    return {{}, QStringLiteral("cannot open %1: %2").arg(path, file.errorString())};
  QImageReader reader(&file);
  return read(reader);
}

PictureResult LoadPictureData(const QByteArray& data) {
  static AllocationLimit limit;
  QBuffer buf;
  buf.setData(data);
  buf.open(QIODevice::ReadOnly);
  QImageReader reader(&buf);
  return read(reader);
}

QByteArray EncodeBmp24(const QImage& source) {
  const QImage img = toSurfaceFormat(source);
  const int w = img.width(), h = img.height();
  const int stride = (w * 3 + 3) & ~3;
  const quint32 dataSize = quint32(stride) * quint32(h);
  // Every byte is written below (header, pixels and row padding), so the
  // buffer is not cleared first.
  QByteArray out(54 + int(dataSize), Qt::Uninitialized);
  uchar* p = reinterpret_cast<uchar*>(out.data());
  std::memset(p, 0, 54);
  auto put16 = [&](int off, quint16 v) { qToLittleEndian(v, p + off); };
  auto put32 = [&](int off, quint32 v) { qToLittleEndian(v, p + off); };
  p[0] = 'B';
  p[1] = 'M';
  put32(2, 54 + dataSize);  // file size
  put32(10, 54);            // offset of the pixels
  put32(14, 40);            // BITMAPINFOHEADER
  put32(18, quint32(w));
  put32(22, quint32(h));    // positive: rows stored bottom-up
  put16(26, 1);             // planes
  put16(28, 24);            // bits per pixel
  put32(34, dataSize);
  put32(38, 2835);          // 72 dpi
  put32(42, 2835);
  for (int y = 0; y < h; ++y)
    packBgrRow(reinterpret_cast<const quint32*>(img.constScanLine(h - 1 - y)), w,
               p + 54 + qint64(y) * stride, stride);
  return out;
}

QString SavePicture(const QImage& img, const QString& path) {
  // A bitmap of no pixels is not a picture other programs read.
  if (img.isNull()) return QStringLiteral("there is no picture to save");
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return file.errorString();
  const QByteArray bytes = EncodeBmp24(img);
  if (file.write(bytes) != bytes.size()) {
    file.cancelWriting();
    return file.errorString();
  }
  if (!file.commit()) return file.errorString();
  return {};
}

}  // namespace qv
