// Header walks of BMP, GIF, JPEG and PNG files, without their decoders. Every
// offset is checked against the bytes there before it is read, and sizes
// are computed in 64 bits, so no product here can overflow.
#include "surface/PictureChecks.h"

#include "surface/PictureFile.h"
#include "surface/PngStream.h"

#include <QtEndian>

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace qv {
namespace {

// Readers of header fields; callers check that the bytes are there.
const uchar* at(const QByteArray& d, qsizetype pos) { return reinterpret_cast<const uchar*>(d.constData()) + pos; }
quint32 le16(const QByteArray& d, qsizetype pos) { return qFromLittleEndian<quint16>(at(d, pos)); }
quint32 le32(const QByteArray& d, qsizetype pos) { return qFromLittleEndian<quint32>(at(d, pos)); }
quint32 be16(const QByteArray& d, qsizetype pos) { return qFromBigEndian<quint16>(at(d, pos)); }
quint32 be32(const QByteArray& d, qsizetype pos) { return qFromBigEndian<quint32>(at(d, pos)); }
qint64 ceilDiv(qint64 a, qint64 b) { return (a + b - 1) / b; }

// A Windows bitmap. The decoder reads the colour table right after the
// header (and the three colour masks that follow a 40-byte header with bit
// fields), then the pixels from there, or from the file's pixel offset when
// that lies further on: the rows are checked from that same place.
QString bmpProblem(const QByteArray& d, PictureCheck& c) {
  if (d.size() < 26) return QStringLiteral("the bitmap file is cut short");
  const quint32 headerSize = le32(d, 14);
  qint64 w = 0, h = 0, colours = 0;
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
    colours = le32(d, 46);
  } else {
    return QStringLiteral("the bitmap header is of no known kind (%1 bytes)").arg(headerSize);
  }
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
    return QStringLiteral("the bitmap has %1 bits per pixel").arg(bits);
  // 0 plain, 1 run-length 8-bit, 2 run-length 4-bit, 3 bit fields.
  const bool known = compression == 0 || (compression == 1 && bits == 8) || (compression == 2 && bits == 4) ||
                     (compression == 3 && (bits == 16 || bits == 32));
  if (!known) return QStringLiteral("the bitmap's compression (%1 at %2 bits) is not read").arg(compression).arg(bits);
  if (const QString why = PictureSizeProblem(w, h); !why.isEmpty()) return why;
  if (bits > 8) colours = 0;
  else if (colours == 0) colours = qint64(1) << bits;
  if (colours > 256) return QStringLiteral("the bitmap's colour table has %1 colours").arg(colours);
  const qint64 tableEnd = 14 + qint64(headerSize) + (compression == 3 && headerSize == 40 ? 12 : 0) +
                          colours * (headerSize == 12 ? 3 : 4);
  const qint64 pixels = std::max<qint64>(le32(d, 10), tableEnd);
  const qint64 stride = (w * bits + 31) / 32 * 4;  // within bounds: at most 64 KiB
  const bool rows = compression == 0 || compression == 3;
  if (pixels + (rows ? stride * h : 0) > d.size()) return QStringLiteral("the bitmap file is cut short");
  c.size = QSize(int(w), int(h));
  c.format = bits == 1 ? QImage::Format_Mono : bits <= 8 ? QImage::Format_Indexed8 : QImage::Format_RGB32;
  c.runLength = !rows;
  return {};
}

// The data sub-blocks of a GIF from pos: a length byte, that many bytes,
// until a length of 0. Moves pos past them; false when the file ends first.
bool skipSubBlocks(const QByteArray& d, qsizetype& pos) {
  while (pos < d.size()) {
    const int n = uchar(d[pos++]);
    if (n == 0) return true;
    pos += n;
  }
  return false;
}

// The compressed codes of a GIF picture (LZW, from its code size byte at
// pos, in sub-blocks already found whole) counted until they give `pixels`
// pixels: only the length of each table entry is kept, never a pixel.
QString lzwProblem(const QByteArray& d, qsizetype pos, qint64 pixels) {
  const int codeSize = uchar(d[pos++]);
  if (codeSize < 1 || codeSize > 11) return QStringLiteral("the GIF picture's data is damaged");
  const int clear = 1 << codeSize, end = clear + 1;
  std::array<quint16, 4096> length;  // of each table entry's string
  length.fill(1);
  int width = codeSize + 1, next = clear + 2, prev = -1, have = 0;
  quint32 bits = 0;
  qsizetype blockEnd = pos;
  qint64 count = 0;
  for (;;) {
    while (have < width) {
      if (pos == blockEnd) {
        const int n = uchar(d[pos++]);
        if (n == 0) return QStringLiteral("the GIF picture's data ends before its last pixel");
        blockEnd = pos + n;
      }
      bits |= quint32(uchar(d[pos++])) << have;
      have += 8;
    }
    const int code = int(bits & ((1u << width) - 1));
    bits >>= width;
    have -= width;
    if (code == clear) {
      width = codeSize + 1;
      next = clear + 2;
      prev = -1;
      continue;
    }
    if (code == end) return QStringLiteral("the GIF picture's data ends before its last pixel");
    int out = 1;
    if (code > end) {
      if (prev < 0 || code > next) return QStringLiteral("the GIF picture's data is damaged");
      out = code < next ? length[size_t(code)] : length[size_t(prev)] + 1;
    }
    if (prev >= 0 && next < 4096) {
      length[size_t(next)] = quint16(length[size_t(prev)] + 1);
      if (++next == 1 << width && width < 12) ++width;
    }
    prev = code;
    count += out;
    if (count >= pixels) return {};
  }
}

// One GIF picture from its image descriptor at pos (just after its 0x2C):
// the canvas the decoder will draw it on (the larger of the logical screen
// and the picture's own extent) within bounds, and its data whole. Moves
// pos past the picture.
QString gifPictureProblem(const QByteArray& d, qsizetype& pos, qint64 screenW, qint64 screenH) {
  const qsizetype size = d.size();
  if (pos + 9 > size) return QStringLiteral("the GIF file is cut short");
  const qint64 left = le16(d, pos), top = le16(d, pos + 2), w = le16(d, pos + 4), h = le16(d, pos + 6);
  const uchar flags = uchar(d[pos + 8]);
  pos += 9;
  if (flags & 0x80) pos += 3 << ((flags & 7) + 1);  // local colour table
  if (w == 0 || h == 0) return QStringLiteral("a picture in the GIF file has no width or height");
  if (const QString why = PictureSizeProblem(std::max(screenW, left + w), std::max(screenH, top + h)); !why.isEmpty())
    return why;
  const qsizetype data = pos++;  // the code size, then the sub-blocks
  if (pos > size || !skipSubBlocks(d, pos)) return QStringLiteral("the GIF file is cut short");
  return lzwProblem(d, data, w * h);
}

// A GIF file: its first picture must pass; the pictures after it are its
// frames, counted up to the end, or up to the first that is damaged or cut
// short (the decoder stops there too).
QString gifProblem(const QByteArray& d, PictureCheck& c) {
  const qsizetype size = d.size();
  if (size < 13) return QStringLiteral("the GIF file is cut short");
  const qint64 screenW = le16(d, 6), screenH = le16(d, 8);
  qsizetype pos = 13;
  if (uchar(d[10]) & 0x80) pos += 3 << ((uchar(d[10]) & 7) + 1);  // global colour table
  int pictures = 0;
  QString why = QStringLiteral("the GIF file is cut short");
  while (pos < size) {
    const uchar block = uchar(d[pos++]);
    if (block == 0x21) {  // extension: its label, then sub-blocks
      ++pos;
      if (!skipSubBlocks(d, pos)) break;
    } else if (block == 0x2C) {  // image descriptor
      why = gifPictureProblem(d, pos, screenW, screenH);
      if (!why.isEmpty()) break;
      ++pictures;
    } else {
      why = block == 0x3B ? QStringLiteral("the GIF file holds no picture") : QStringLiteral("the GIF file is damaged");
      break;
    }
  }
  c.frames = pictures;
  return pictures > 0 ? QString() : why;
}

// A PNG file, chunk by chunk (a length, a type, the data, a checksum the
// decoder checks): a header of a kind the decoder reads and a size within
// bounds, no critical chunk it does not know, at least one data chunk, and
// the end chunk, and picture data that inflates to its rows (PngStream.h).
// The chunks that make the pixels are copied for the decoder.
QString pngProblem(const QByteArray& d, PictureCheck& c) {
  const qsizetype size = d.size();
  if (size < 33) return QStringLiteral("the PNG file is cut short");
  if (be32(d, 8) != 13 || std::memcmp(at(d, 12), "IHDR", 4) != 0)
    return QStringLiteral("the PNG file does not start with its header");
  const qint64 w = be32(d, 16), h = be32(d, 20);
  const int depth = uchar(d[24]), colour = uchar(d[25]);
  // Depths by colour type: 0 grey, 2 RGB, 3 palette, 4 grey and alpha, 6 RGBA.
  const bool known = (colour == 0 && (depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16)) ||
                     (colour == 3 && (depth == 1 || depth == 2 || depth == 4 || depth == 8)) ||
                     ((colour == 2 || colour == 4 || colour == 6) && (depth == 8 || depth == 16));
  if (!known || d[26] != 0 || d[27] != 0 || uchar(d[28]) > 1)
    return QStringLiteral("the PNG header is of no known kind (colour type %1 at %2 bits)").arg(colour).arg(depth);
  if (const QString why = PictureSizeProblem(w, h); !why.isEmpty()) return why;
  QByteArray decodable = d.left(33);
  std::vector<QByteArrayView> stream;
  for (qsizetype pos = 33; pos + 12 <= size;) {
    const qint64 length = be32(d, pos);
    if (pos + 12 + length > size) break;
    const QByteArray type = d.mid(pos + 4, 4);
    const qsizetype next = pos + 12 + qsizetype(length);
    if (type == "IEND") {
      if (stream.empty()) return QStringLiteral("the PNG file holds no picture");
      constexpr int channels[7] = {1, 0, 3, 1, 2, 0, 4};  // by colour type
      const qint64 raw = PngRawBytes(w, h, depth * channels[colour], d[28] == 1);
      if (const QString why = PngStreamProblem(stream, raw); !why.isEmpty()) return why;
      c.decodable = decodable + d.mid(pos, 12);
      return {};
    }
    if (type == "IDAT" || type == "PLTE" || type == "tRNS") {
      if (type == "IDAT") stream.push_back(QByteArrayView(d).sliced(pos + 8, length));
      decodable += d.mid(pos, next - pos);
    } else if (type == "IHDR" || !(type[0] & 0x20)) {  // a second header, or a critical chunk of no known kind
      return QStringLiteral("the PNG file is damaged (a %1 chunk)").arg(QString::fromLatin1(type.toHex()));
    }
    pos = next;
  }
  return QStringLiteral("the PNG file is cut short");
}

// The frame of a JPEG as its header gives it.
struct JpegFrame {
  qint64 width = 0, height = 0;
  bool progressive = false;
  struct Component {
    int id, h, v;
  };
  std::vector<Component> components;
  int hMax = 1, vMax = 1;

  // Blocks of a component, as the decoder counts them.
  qint64 blocksAcross(const Component& c) const { return ceilDiv(width * c.h, qint64(hMax) * 8); }
  qint64 blocksDown(const Component& c) const { return ceilDiv(height * c.v, qint64(vMax) * 8); }
  // The coefficient store of a frame decoded in several scans: each
  // component's blocks, rounded up to whole units of its sampling, of 64
  // two-byte coefficients.
  qint64 coefficientBytes() const {
    qint64 bytes = 0;
    for (const Component& c : components)
      bytes += ceilDiv(blocksAcross(c), c.h) * c.h * ceilDiv(blocksDown(c), c.v) * c.v * 128;
    return bytes;
  }
  // The blocks one scan of the given components visits: all blocks of a
  // single component, or every block of each unit (MCU) of several.
  qint64 blocksOfScan(const std::vector<const Component*>& scan) const {
    if (scan.size() == 1) return blocksAcross(*scan[0]) * blocksDown(*scan[0]);
    qint64 perUnit = 0;
    for (const Component* c : scan) perUnit += c->h * c->v;
    return ceilDiv(width, qint64(hMax) * 8) * ceilDiv(height, qint64(vMax) * 8) * perUnit;
  }
};

// A frame header (SOFn) of length bytes at pos.
QString readFrame(const QByteArray& d, qsizetype pos, qsizetype length, uchar marker, JpegFrame& f) {
  if (length < 8) return QStringLiteral("the JPEG file is damaged");
  f.height = be16(d, pos + 3);
  f.width = be16(d, pos + 5);
  if (const QString why = PictureSizeProblem(f.width, f.height); !why.isEmpty()) return why;
  const int count = uchar(d[pos + 7]);
  if (count < 1 || count > 4 || length < 8 + 3 * count)
    return QStringLiteral("the JPEG frame has %1 colour components").arg(count);
  for (int i = 0; i < count; ++i) {
    const int id = uchar(d[pos + 8 + 3 * i]), h = uchar(d[pos + 9 + 3 * i]) >> 4, v = uchar(d[pos + 9 + 3 * i]) & 15;
    if (h < 1 || h > 4 || v < 1 || v > 4) return QStringLiteral("the JPEG file is damaged");
    f.components.push_back({id, h, v});
    f.hMax = std::max(f.hMax, h);
    f.vMax = std::max(f.vMax, v);
  }
  f.progressive = marker == 0xC2 || marker == 0xC6 || marker == 0xCA || marker == 0xCE;
  return {};
}

// A scan header (SOS) of length bytes at pos: the blocks it will visit.
std::optional<qint64> scanBlocks(const QByteArray& d, qsizetype pos, qsizetype length, const JpegFrame& f) {
  const int count = length >= 3 ? uchar(d[pos + 2]) : 0;
  if (count < 1 || count > 4 || length < 6 + 2 * count) return std::nullopt;
  std::vector<const JpegFrame::Component*> scan;
  for (int i = 0; i < count; ++i) {
    const int id = uchar(d[pos + 3 + 2 * i]);
    const auto c = std::find_if(f.components.begin(), f.components.end(), [&](const auto& c) { return c.id == id; });
    if (c == f.components.end()) return std::nullopt;
    scan.push_back(&*c);
  }
  return f.blocksOfScan(scan);
}

// A JPEG file, marker by marker: a frame header whose size is within
// bounds, scans within the bounds of memory and time, each scan's data,
// and the end-of-image marker (a cut-off file is otherwise decoded with
// grey for the missing part and no error).
QString jpegProblem(const QByteArray& d, PictureCheck& c) {
  const qsizetype size = d.size();
  const char* const data = d.constData();
  qsizetype pos = 2;
  JpegFrame frame;
  int scans = 0;
  qint64 visits = 0;
  while (pos < size) {
    if (uchar(d[pos]) != 0xFF) return QStringLiteral("the JPEG file is damaged");
    while (pos < size && uchar(d[pos]) == 0xFF) ++pos;  // fill bytes
    if (pos >= size) break;
    const uchar marker = uchar(d[pos++]);
    if (marker == 0xD9 && scans > 0) {
      c.size = QSize(int(frame.width), int(frame.height));
      c.format = frame.components.size() == 1 ? QImage::Format_Grayscale8 : QImage::Format_RGB32;
      return {};
    }
    if (marker == 0xD9) return QStringLiteral("the JPEG file holds no picture");
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;  // no length
    if (pos + 2 > size) break;
    const qsizetype length = be16(d, pos);
    if (length < 2 || pos + length > size) break;
    // Start of frame: every 0xCn but DHT (C4), JPG (C8) and DAC (CC).
    if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC &&
        frame.components.empty()) {
      if (const QString why = readFrame(d, pos, length, marker, frame); !why.isEmpty()) return why;
    }
    if (marker == 0xDA) {
      const auto blocks = frame.components.empty() ? std::nullopt : scanBlocks(d, pos, length, frame);
      if (!blocks) return QStringLiteral("the JPEG file is damaged");
      visits += *blocks;
      if (++scans > MaxJpegScans) return QStringLiteral("the JPEG file has more than %1 scans").arg(MaxJpegScans);
      if (visits > MaxJpegBlockVisits)
        return QStringLiteral("the JPEG file's scans would take too long to decode (%1 blocks of 8 x 8 pixels; at most %2)")
            .arg(visits)
            .arg(MaxJpegBlockVisits);
      if ((frame.progressive || scans > 1) && frame.coefficientBytes() > MaxJpegCoefficientBytes)
        return QStringLiteral("the JPEG file is stored in several scans, whose decoding needs %1 MiB (at most %2 MiB)")
            .arg(frame.coefficientBytes() >> 20)
            .arg(MaxJpegCoefficientBytes >> 20);
    }
    pos += length;
    if (marker == 0xDA) {
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

}  // namespace

std::optional<PictureFormat> PictureFormatOf(const QByteArray& d) {
  if (d.startsWith("BM")) return PictureFormat::Bmp;
  if (d.startsWith("\xFF\xD8\xFF")) return PictureFormat::Jpeg;
  if (d.startsWith("GIF87a") || d.startsWith("GIF89a")) return PictureFormat::Gif;
  if (d.startsWith("\x89PNG\r\n\x1A\n")) return PictureFormat::Png;
  return std::nullopt;
}

QString PictureSizeProblem(qint64 w, qint64 h) {
  if (w <= 0 || h <= 0) return QStringLiteral("the picture has no width or height (%1 x %2)").arg(w).arg(h);
  if (w > MaxPictureSide || h > MaxPictureSide || w * h > MaxPicturePixels)
    return QStringLiteral("the picture is too large (%1 x %2; at most %3 pixels a side and %4 in all)")
        .arg(w)
        .arg(h)
        .arg(MaxPictureSide)
        .arg(MaxPicturePixels);
  return {};
}

PictureCheck CheckPictureFile(const QByteArray& data, PictureFormat format) {
  PictureCheck c;
  switch (format) {
    case PictureFormat::Bmp: c.problem = bmpProblem(data, c); break;
    case PictureFormat::Gif: c.problem = gifProblem(data, c); break;
    case PictureFormat::Jpeg: c.problem = jpegProblem(data, c); break;
    case PictureFormat::Png: c.problem = pngProblem(data, c); break;
  }
  return c;
}

}  // namespace qv
