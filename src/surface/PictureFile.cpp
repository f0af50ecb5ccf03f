// Picture file reading within fixed bounds, and the 24-bit bitmap writer.
//
// A file is read only when its first bytes make it a BMP, JPEG, GIF or PNG
// picture and its headers pass the checks of PictureChecks; only then does
// Qt's decoder for that one format run, under an allocation limit, and the
// decoded size is checked again. The BMP and JPEG decoders draw onto a
// picture we give them, cleared first, so that no pixel they leave out can
// hold memory of the program; the GIF and PNG decoders write every pixel of
// a picture they read whole.
#include "surface/PictureFile.h"

#include "surface/PictureChecks.h"
#include "surface/SafeFiles.h"
#include "surface/Surface.h"

#include <QBuffer>
#include <QImageReader>
#include <QtEndian>

#include <cstring>

namespace qv {
namespace {

// Qt's JPEG decoder goes on over damage it meets (a scan cut short, a bad
// code), filling in grey, and tells of it only as a warning in its logging
// category. While the watch lives (one at a time) such a warning marks the
// picture damaged instead of being printed; other messages go on to the
// handler before.
class JpegDamageWatch {
 public:
  JpegDamageWatch() {
    active = this;
    before_ = qInstallMessageHandler(&note);
  }
  ~JpegDamageWatch() {
    qInstallMessageHandler(before_);
    active = nullptr;
  }
  JpegDamageWatch(const JpegDamageWatch&) = delete;
  JpegDamageWatch& operator=(const JpegDamageWatch&) = delete;
  QString damage;  // the decoder's first note

 private:
  static void note(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    JpegDamageWatch* w = active;
    if (w && type == QtWarningMsg && context.category && std::strcmp(context.category, "qt.gui.imageio.jpeg") == 0) {
      if (w->damage.isEmpty()) w->damage = text;
    } else if (w && w->before_ && w->before_ != &note) {
      w->before_(type, context, text);
    }
  }
  static inline thread_local JpegDamageWatch* active = nullptr;
  QtMessageHandler before_ = nullptr;
};

const char* decoderName(PictureFormat format) {
  switch (format) {
    case PictureFormat::Bmp: return "bmp";
    case PictureFormat::Jpeg: return "jpeg";
    case PictureFormat::Gif: return "gif";
    case PictureFormat::Png: return "png";
  }
  return "";
}

// The decoders that write every pixel themselves, onto a picture they make.
bool fillsOwnPicture(PictureFormat format) { return format == PictureFormat::Gif || format == PictureFormat::Png; }

// The decoders allocate their picture through this limit (in MiB).
void limitAllocation() { QImageReader::setAllocationLimit(int(MaxPicturePixels * 4 / (1024 * 1024))); }

// Decodes data onto img, which the decoder takes as its picture when it has
// the size and format the decoder makes (it allocates a new one otherwise).
bool readOnto(const QByteArray& data, PictureFormat format, QImage& img, QString& why) {
  QBuffer buffer;
  buffer.setData(data);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, decoderName(format));
  reader.setAutoDetectImageFormat(false);
  if (!reader.read(&img) || img.isNull()) {
    why = QStringLiteral("the picture could not be read (%1)").arg(reader.errorString());
    return false;
  }
  return true;
}

// A picture of size and format with every byte set to fill; null when the
// size is outside the bounds or the format unknown.
QImage canvas(QSize size, QImage::Format format, uchar fill) {
  if (format == QImage::Format_Invalid || !PictureSizeProblem(size.width(), size.height()).isEmpty()) return {};
  QImage img(size, format);
  if (!img.isNull()) std::memset(img.bits(), fill, size_t(img.sizeInBytes()));
  return img;
}

PictureResult decode(const QByteArray& data, PictureFormat format, const PictureCheck& check, uchar fill) {
  limitAllocation();
  // A run-length bitmap leaves out the pixels its data skips: they are
  // colour 0, as in Windows.
  if (check.runLength) fill = 0;
  const bool own = fillsOwnPicture(format);
  QImage img = own ? QImage() : canvas(check.size, check.format, fill);
  const uchar* const given = img.isNull() ? nullptr : img.constBits();
  QString why;
  JpegDamageWatch watch;
  if (!readOnto(check.decodable.isEmpty() ? data : check.decodable, format, img, why)) return {{}, why};
  if (!own && img.constBits() != given) {
    // The decoder made another size or format than its header said: once
    // more, onto a cleared picture of what it made.
    const QSize size = img.size();
    const QImage::Format made = img.format();
    img = QImage();
    img = canvas(size, made, fill);
    if (img.isNull()) return {{}, QStringLiteral("the picture could not be read")};
    if (!readOnto(data, format, img, why)) return {{}, why};
  }
  if (!watch.damage.isEmpty())
    return {{}, QStringLiteral("the JPEG file's data is damaged or cut short (%1)").arg(watch.damage)};
  if (const QString size = PictureSizeProblem(img.width(), img.height()); !size.isEmpty()) return {{}, size};
  return {img, {}};
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

// A decoded picture as RGB32, or as ARGB32 when it is a GIF or PNG with an
// alpha channel. A bitmap's fourth byte never counts as transparency: many
// bitmaps leave it zero. Converted in place where the depth allows, so no
// second copy is held.
QImage withTransparency(QImage img, PictureFormat format) {
  const bool alpha = fillsOwnPicture(format) && img.hasAlphaChannel();
  const QImage::Format wanted = alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32;
  return img.format() == wanted ? img : std::move(img).convertToFormat(wanted);
}

// A file's bytes, its format and its checks; false with the reason when the
// file is not read.
bool checkData(const QByteArray& data, PictureFormat& format, PictureCheck& check, QString& why) {
  if (data.isEmpty()) why = QStringLiteral("the file is empty");
  else if (data.size() > MaxPictureFileBytes) why = QStringLiteral("the file is too large to be a picture");
  else if (const auto f = PictureFormatOf(data)) format = *f;
  else why = QStringLiteral("it is not a BMP, JPEG, GIF or PNG picture");
  if (!why.isEmpty()) return false;
  check = CheckPictureFile(data, format);
  why = check.problem;
  return why.isEmpty();
}

// The frames of an animated GIF after the checks, each handed on as it is
// decoded; the decoder composes each frame over the ones before.
QString readGifFrames(const QByteArray& data, int count, const FrameTaker& take) {
  limitAllocation();
  QBuffer buffer;
  buffer.setData(data);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, "gif");
  reader.setAutoDetectImageFormat(false);
  for (int i = 0; i < count; ++i) {
    QImage img;
    if (!reader.read(&img) || img.isNull() || !PictureSizeProblem(img.width(), img.height()).isEmpty()) {
      if (i > 0) break;  // the frames before it stand
      return QStringLiteral("the picture could not be read (%1)").arg(reader.errorString());
    }
    take(withTransparency(std::move(img), PictureFormat::Gif), reader.nextImageDelay());
  }
  return {};
}

}  // namespace

PictureResult LoadPicture(const QString& path, QRgb under) {
  QByteArray bytes;
  const Outcome read = ReadFileCapped(path, MaxPictureFileBytes, bytes);
  if (!read.succeeded()) return {{}, read.failure().reason};
  return LoadPictureData(bytes, under);
}

PictureResult DecodePictureOnto(const QByteArray& data, uchar fill) {
  PictureFormat format{};
  PictureCheck check;
  QString why;
  if (!checkData(data, format, check, why)) return {{}, why};
  return decode(data, format, check, fill);
}

QImage Flattened(QImage img, QRgb under) {
  if (img.format() != QImage::Format_ARGB32) return std::move(img).convertToFormat(QImage::Format_RGB32);
  // Each pixel mixed with under by its alpha, in place.
  const auto mix = [](int c, int u, int a) { return (c * a + u * (255 - a) + 127) / 255; };
  for (int y = 0; y < img.height(); ++y) {
    auto* px = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = 0; x < img.width(); ++x) {
      const QRgb c = px[x];
      const int a = qAlpha(c);
      px[x] = qRgb(mix(qRed(c), qRed(under), a), mix(qGreen(c), qGreen(under), a), mix(qBlue(c), qBlue(under), a));
    }
  }
  img.reinterpretAsFormat(QImage::Format_RGB32);
  return img;
}

PictureResult LoadPictureData(const QByteArray& data, QRgb under) {
  PictureFormat format{};
  PictureCheck check;
  QString why;
  if (!checkData(data, format, check, why)) return {{}, why};
  PictureResult r = decode(data, format, check, 0);
  if (!r.ok()) return r;
  return {Flattened(withTransparency(std::move(r.image), format), under), {}};
}

FramesResult ReadPictureFrames(const QString& path, int maxFrames, const FrameTaker& take) {
  QByteArray data;
  const Outcome read = ReadFileCapped(path, MaxPictureFileBytes, data);
  if (!read.succeeded()) return {read.failure().reason, 0};
  return ReadPictureFramesData(data, maxFrames, take);
}

FramesResult ReadPictureFramesData(const QByteArray& data, int maxFrames, const FrameTaker& take) {
  PictureFormat format{};
  PictureCheck check;
  QString why;
  if (!checkData(data, format, check, why)) return {why, 0};
  if (format == PictureFormat::Gif && check.frames > 1 && maxFrames > 1) {
    why = readGifFrames(data, std::min(check.frames, maxFrames), take);
    return {why, why.isEmpty() ? check.frames : 0};
  }
  PictureResult r = decode(data, format, check, 0);
  if (!r.ok()) return {r.error, 0};
  take(withTransparency(std::move(r.image), format), 0);
  return {{}, 1};
}

bool SamePixels(const QImage& a, const QImage& b) {
  if (a.size() != b.size() || a.format() != b.format()) return false;
  const qsizetype bits = qsizetype(a.width()) * a.depth();
  const uchar lastBits = uchar(0xFF00 >> (bits % 8));  // of a row's last byte, highest first
  for (int y = 0; y < a.height(); ++y) {
    const uchar *p = a.constScanLine(y), *q = b.constScanLine(y);
    if (std::memcmp(p, q, size_t(bits / 8)) != 0 || (bits % 8 && (p[bits / 8] ^ q[bits / 8]) & lastBits)) return false;
  }
  return true;
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

}  // namespace qv
