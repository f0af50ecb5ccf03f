// Bitmap resource decoding: header, colour table or channel masks, then
// the pixel rows, each step checked against the bytes that are there.
#include "library/Dib.h"

#include <QtEndian>
#include <bit>

namespace qv {

namespace {

enum Compression : quint32 { BiRgb = 0, BiRle8 = 1, BiRle4 = 2, BiBitfields = 3, BiJpeg = 4, BiPng = 5,
                             BiAlphaBitfields = 6 };

quint32 u32(const uchar* p) { return qFromLittleEndian<quint32>(p); }
quint16 u16(const uchar* p) { return qFromLittleEndian<quint16>(p); }

DibResult fail(const QString& why) { return {QImage(), why}; }

// One colour channel of a 16 or 32-bit pixel: where its bits are and how
// many there are. Values are widened to 8 bits by repeating their bits, so
// that the largest value of any width gives 255.
struct Channel {
  quint32 mask = 0;
  int shift = 0;
  int bits = 0;

  bool set(quint32 m) {
    mask = m;
    shift = m ? std::countr_zero(m) : 0;
    bits = std::popcount(m);
    return m == 0 || std::countr_one(m >> shift) == bits;  // contiguous
  }
  int of(quint32 pixel) const {
    if (bits == 0) return 0;
    const quint32 v = (pixel & mask) >> shift;
    if (bits >= 8) return int(v >> (bits - 8));
    quint32 out = 0;
    int s = 8 - bits;
    for (; s > 0; s -= bits) out |= v << s;
    return int(out | (v >> -s));
  }
};

// Where a bitmap's parts are and how its pixels are read, from its header.
struct Layout {
  qint64 width = 0, height = 0;
  int bits = 0;
  bool topDown = false;
  Channel red, green, blue;
  const uchar* table = nullptr;  // the colour table
  int entrySize = 4, paletteSize = 0;
  qint64 offset = 0, stride = 0;  // of the pixel rows
};

// Checks the header, the colour table or channel masks and that every
// pixel row is there; empty, or why the bitmap cannot be decoded.
QString readLayout(const QByteArray& dib, Layout& l) {
  const auto* p = reinterpret_cast<const uchar*>(dib.constData());
  const qint64 size = dib.size();
  if (size < 4) return QStringLiteral("the bitmap is too short for a header");
  const quint32 headerSize = u32(p);
  const bool core = headerSize == 12;
  if (!core && headerSize != 40 && headerSize != 52 && headerSize != 56 && headerSize != 108 && headerSize != 124)
    return QStringLiteral("the bitmap header size %1 is not one of a bitmap's").arg(headerSize);
  if (size < headerSize) return QStringLiteral("the bitmap is shorter than its header");

  quint32 compression = BiRgb, colours = 0;
  if (core) {
    l.width = u16(p + 4);
    l.height = u16(p + 6);
    l.bits = u16(p + 10);
  } else {
    l.width = qint32(u32(p + 4));
    l.height = qint32(u32(p + 8));
    l.bits = u16(p + 14);
    compression = u32(p + 16);
    colours = u32(p + 32);
  }
  l.topDown = l.height < 0;
  l.height = std::abs(l.height);
  const int bits = l.bits;

  if (compression == BiRle8 || compression == BiRle4)
    return QStringLiteral("run-length compressed bitmaps are not supported");
  if (compression == BiJpeg || compression == BiPng)
    return QStringLiteral("bitmaps holding JPEG or PNG data are not supported");
  const bool fields = compression == BiBitfields || compression == BiAlphaBitfields;
  if (compression != BiRgb && !fields) return QStringLiteral("the bitmap compression %1 is unknown").arg(compression);
  if (fields ? bits != 16 && bits != 32 : bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
    return QStringLiteral("%1 bits per pixel are not supported here").arg(bits);
  if (l.width < 1 || l.height < 1) return QStringLiteral("the bitmap has no pixels");
  if (l.width > MaxDibSide || l.height > MaxDibSide || l.width * l.height > MaxDibPixels)
    return QStringLiteral("the bitmap is too large (%1 x %2)").arg(l.width).arg(l.height);

  // Channel masks: after a 40-byte header for bit fields, inside the longer
  // headers, fixed for plain 16 and 32-bit pixels.
  qint64 offset = headerSize;
  bool contiguous = true;
  if (fields) {
    qint64 at = 40;
    if (headerSize == 40) {
      at = offset;
      offset += compression == BiAlphaBitfields ? 16 : 12;
      if (offset > size) return QStringLiteral("the bitmap's channel masks are missing");
    }
    contiguous = l.red.set(u32(p + at)) && l.green.set(u32(p + at + 4)) && l.blue.set(u32(p + at + 8));
  } else if (bits == 16) {
    l.red.set(0x7c00), l.green.set(0x03e0), l.blue.set(0x001f);
  } else if (bits == 32) {
    l.red.set(0xff0000), l.green.set(0xff00), l.blue.set(0xff);
  }
  if (!contiguous) return QStringLiteral("a channel mask of the bitmap has gaps");

  // Colour table: every colour for 1, 4 and 8 bits unless fewer are named;
  // other depths may carry one that the pixels do not use. The table and
  // the pixel rows must both be there before anything is read.
  l.entrySize = core ? 3 : 4;
  qint64 tableEntries = colours;
  if (bits <= 8) {
    if (colours > (1u << bits)) return QStringLiteral("the bitmap's colour table is longer than its depth allows");
    if (colours == 0) tableEntries = qint64(1) << bits;
    l.paletteSize = int(tableEntries);
  }
  l.table = p + offset;
  l.offset = offset + tableEntries * l.entrySize;
  l.stride = (l.width * bits + 31) / 32 * 4;
  if (l.offset + l.stride * l.height > size) return QStringLiteral("the bitmap's colour table or pixels are cut short");
  return {};
}

}  // namespace

DibCheck CheckDib(const QByteArray& dib) {
  Layout l;
  const QString why = readLayout(dib, l);
  return why.isEmpty() ? DibCheck{QSize(int(l.width), int(l.height)), {}} : DibCheck{{}, why};
}

DibResult DecodeDib(const QByteArray& dib) {
  Layout l;
  if (const QString why = readLayout(dib, l); !why.isEmpty()) return fail(why);
  QRgb palette[256];
  for (int i = 0; i < l.paletteSize; ++i) {
    const uchar* e = l.table + i * l.entrySize;
    palette[i] = qRgb(e[2], e[1], e[0]);
  }
  const auto* p = reinterpret_cast<const uchar*>(dib.constData());
  const int bits = l.bits;
  QImage img(int(l.width), int(l.height), QImage::Format_RGB32);
  if (img.isNull()) return fail(QStringLiteral("there is no memory for the bitmap"));
  const QRgb black = qRgb(0, 0, 0);
  for (qint64 row = 0; row < l.height; ++row) {
    const uchar* src = p + l.offset + row * l.stride;
    auto* dst = reinterpret_cast<QRgb*>(img.scanLine(int(l.topDown ? row : l.height - 1 - row)));
    for (qint64 x = 0; x < l.width; ++x) {
      if (bits <= 8) {
        const qint64 bit = x * bits;
        const int index = (src[bit / 8] >> (8 - bits - bit % 8)) & ((1 << bits) - 1);
        dst[x] = index < l.paletteSize ? palette[index] : black;
      } else if (bits == 24) {
        const uchar* s = src + x * 3;
        dst[x] = qRgb(s[2], s[1], s[0]);
      } else {
        const quint32 v = bits == 16 ? u16(src + x * 2) : u32(src + x * 4);
        dst[x] = qRgb(l.red.of(v), l.green.of(v), l.blue.of(v));
      }
    }
  }
  return {img, QString()};
}

}  // namespace qv
