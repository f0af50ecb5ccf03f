// Picture file reading within fixed bounds, and the 24-bit bitmap writer.
//
// A file is read only when its first bytes make it a BMP, JPEG or GIF
// picture. Its header is then walked here, without the decoder, to learn the
// size it announces and that the file is whole; only then does Qt's decoder
// for that one format run, under an allocation limit, and the decoded size
// is checked again.
#include "surface/PictureFile.h"

#include "surface/SafeFiles.h"
#include "surface/Surface.h"

#include <QBuffer>
#include <QImageReader>
#include <QtEndian>

#include <cstring>
#include <optional>

namespace qv {
namespace {

enum class Format { Bmp, Jpeg, Gif };

std::optional<Format> formatOf(const QByteArray& d) {
  if (d.startsWith("BM")) return Format::Bmp;
  if (d.startsWith("\xFF\xD8\xFF")) return Format::Jpeg;
  if (d.startsWith("GIF87a") || d.startsWith("GIF89a")) return Format::Gif;
  return std::nullopt;
}

// Readers of header fields; callers check that the bytes are there.
const uchar* at(const QByteArray& d, qsizetype pos) { return reinterpret_cast<const uchar*>(d.constData()) + pos; }
quint32 le16(const QByteArray& d, qsizetype pos) { return qFromLittleEndian<quint16>(at(d, pos)); }
quint32 le32(const QByteArray& d, qsizetype pos) { return qFromLittleEndian<quint32>(at(d, pos)); }
quint32 be16(const QByteArray& d, qsizetype pos) { return qFromBigEndian<quint16>(at(d, pos)); }

// Why a picture of w x h pixels is not read; empty when it is. Sizes come in
// as 64-bit numbers, so no product here can overflow.
QString sizeProblem(qint64 w, qint64 h) {
  if (w <= 0 || h <= 0) return QStringLiteral("the picture has no width or height (%1 x %2)").arg(w).arg(h);
  if (w > MaxPictureSide || h > MaxPictureSide || w * h > MaxPicturePixels)
    return QStringLiteral("the picture is too large (%1 x %2; at most %3 pixels a side and %4 in all)")
        .arg(w)
        .arg(h)
        .arg(MaxPictureSide)
        .arg(MaxPicturePixels);
  return {};
}

// A Windows bitmap: a header kind, depth and compression the decoder reads,
// a size within bounds and, for uncompressed pixels, every row in the file
// (the decoder keeps whatever rows it got and reports success).
QString bmpProblem(const QByteArray& d) {
  if (d.size() < 26) return QStringLiteral("the bitmap file is cut short");
  const quint32 headerSize = le32(d, 14);
  qint64 w = 0, h = 0;
  quint32 bits = 0, compression = 0;
  if (headerSize == 12) {  // OS/2 core header
    w = le16(d, 18);
    h = le16(d, 20);
    bits = le16(d, 24);
  } else if (headerSize >= 40) {
    if (d.size() < 54) return QStringLiteral("the bitmap file is cut short");
    w = qint32(le32(d, 18));
    h = std::abs(qint64(qint32(le32(d, 22))));  // negative: rows stored top-down
    bits = le16(d, 28);
    compression = le32(d, 30);
  } else {
    return QStringLiteral("the bitmap header is of no known kind (%1 bytes)").arg(headerSize);
  }
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
    return QStringLiteral("the bitmap has %1 bits per pixel").arg(bits);
  // 0 plain, 1 run-length 8-bit, 2 run-length 4-bit, 3 bit fields.
  const bool known = compression == 0 || (compression == 1 && bits == 8) || (compression == 2 && bits == 4) ||
                     (compression == 3 && (bits == 16 || bits == 32));
  if (!known) return QStringLiteral("the bitmap's compression (%1 at %2 bits) is not read").arg(compression).arg(bits);
  if (const QString why = sizeProblem(w, h); !why.isEmpty()) return why;
  if (compression == 0 || compression == 3) {
    const qint64 stride = (w * bits + 31) / 32 * 4;  // within bounds: at most 64 KiB
    if (qint64(le32(d, 10)) + stride * h > d.size()) return QStringLiteral("the bitmap file is cut short");
  }
  return {};
}

// A GIF file up to the end of its first picture, which is all the decoder
// reads: the canvas it will allocate (the larger of the logical screen and
// the picture's own extent) within bounds, and the picture's data complete.
QString gifProblem(const QByteArray& d) {
  const qsizetype size = d.size();
  if (size < 13) return QStringLiteral("the GIF file is cut short");
  const qint64 screenW = le16(d, 6), screenH = le16(d, 8);
  qsizetype pos = 13;
  if (uchar(d[10]) & 0x80) pos += 3 << ((uchar(d[10]) & 7) + 1);  // global colour table
  // Data sub-blocks: a length byte, that many bytes, until a length of 0.
  const auto skipSubBlocks = [&] {
    while (pos < size) {
      const int n = uchar(d[pos++]);
      if (n == 0) return true;
      pos += n;
    }
    return false;
  };
  while (pos < size) {
    const uchar block = uchar(d[pos++]);
    if (block == 0x21) {  // extension: its label, then sub-blocks
      ++pos;
      if (!skipSubBlocks()) break;
    } else if (block == 0x2C) {  // image descriptor
      if (pos + 9 > size) break;
      const qint64 left = le16(d, pos), top = le16(d, pos + 2), w = le16(d, pos + 4), h = le16(d, pos + 6);
      const uchar flags = uchar(d[pos + 8]);
      pos += 9;
      if (flags & 0x80) pos += 3 << ((flags & 7) + 1);  // local colour table
      if (w == 0 || h == 0) return QStringLiteral("a picture in the GIF file has no width or height");
      if (const QString why = sizeProblem(std::max(screenW, left + w), std::max(screenH, top + h)); !why.isEmpty())
        return why;
      ++pos;  // the code size
      if (pos > size || !skipSubBlocks()) break;
      return {};
    } else if (block == 0x3B) {
      return QStringLiteral("the GIF file holds no picture");
    } else {
      return QStringLiteral("the GIF file is damaged");
    }
  }
  return QStringLiteral("the GIF file is cut short");
}

// A JPEG file, marker by marker: a frame header whose size is within bounds,
// scan data, and the end-of-image marker (a cut-off file is otherwise
// decoded with grey for the missing part and no error).
QString jpegProblem(const QByteArray& d) {
  const qsizetype size = d.size();
  const char* const data = d.constData();
  qsizetype pos = 2;
  bool frame = false;
  while (pos < size) {
    if (uchar(d[pos]) != 0xFF) return QStringLiteral("the JPEG file is damaged");
    while (pos < size && uchar(d[pos]) == 0xFF) ++pos;  // fill bytes
    if (pos >= size) break;
    const uchar marker = uchar(d[pos++]);
    if (marker == 0xD9) return frame ? QString() : QStringLiteral("the JPEG file holds no picture");
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;  // no length
    if (pos + 2 > size) break;
    const qsizetype length = be16(d, pos);
    if (length < 2 || pos + length > size) break;
    // Start of frame: every 0xCn but DHT (C4), JPG (C8) and DAC (CC).
    if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC && !frame) {
      if (length < 8) return QStringLiteral("the JPEG file is damaged");
      if (const QString why = sizeProblem(be16(d, pos + 5), be16(d, pos + 3)); !why.isEmpty()) return why;
      frame = true;
    }
    pos += length;
    if (marker == 0xDA) {
      if (!frame) return QStringLiteral("the JPEG file is damaged");
      // Scan data runs to the next marker: 0xFF 0x00 is a data byte and
      // 0xFF 0xD0..0xD7 are restart markers inside the data.
      for (;;) {
        const void* ff = pos < size ? std::memchr(data + pos, 0xFF, size_t(size - pos)) : nullptr;
        if (!ff) return QStringLiteral("the JPEG file is cut short");
        pos = static_cast<const char*>(ff) - data;
        if (pos + 1 >= size) return QStringLiteral("the JPEG file is cut short");
        const uchar next = uchar(d[pos + 1]);
        if (next != 0 && (next < 0xD0 || next > 0xD7)) break;
        pos += 2;
      }
    }
  }
  return QStringLiteral("the JPEG file is cut short");
}

PictureResult decode(const QByteArray& data, Format format) {
  // The decoders allocate their picture through this limit (in MiB).
  QImageReader::setAllocationLimit(int(MaxPicturePixels * 4 / (1024 * 1024)));
  QBuffer buffer;
  buffer.setData(data);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, format == Format::Bmp ? "bmp" : format == Format::Jpeg ? "jpeg" : "gif");
  reader.setAutoDetectImageFormat(false);
  QImage img;
  if (!reader.read(&img) || img.isNull())
    return {{}, QStringLiteral("the picture could not be read (%1)").arg(reader.errorString())};
  if (const QString why = sizeProblem(img.width(), img.height()); !why.isEmpty()) return {{}, why};
  if (img.format() == QImage::Format_RGB32) return {img, {}};
  // Converted in place where the depth allows, so no second copy is held.
  return {std::move(img).convertToFormat(QImage::Format_RGB32), {}};
}

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
  QByteArray bytes;
  const Outcome read = ReadFileCapped(path, MaxPictureFileBytes, bytes);
  if (!read.succeeded()) return {{}, read.failure().reason};
  return LoadPictureData(bytes);
}

PictureResult LoadPictureData(const QByteArray& data) {
  if (data.isEmpty()) return {{}, QStringLiteral("the file is empty")};
  if (data.size() > MaxPictureFileBytes) return {{}, QStringLiteral("the file is too large to be a picture")};
  const std::optional<Format> format = formatOf(data);
  if (!format) return {{}, QStringLiteral("it is not a BMP, JPEG or GIF picture")};
  const QString why = *format == Format::Bmp ? bmpProblem(data) : *format == Format::Gif ? gifProblem(data)
                                                                                           : jpegProblem(data);
  if (!why.isEmpty()) return {{}, why};
  return decode(data, *format);
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
  const Outcome saved = WriteFileSafely(path, EncodeBmp24(img));
  return saved.succeeded() ? QString() : saved.failure().reason;
}

}  // namespace qv
