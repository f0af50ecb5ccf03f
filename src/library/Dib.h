// Device-independent bitmaps as a bitmap resource holds them (header, colour
// table and pixel rows, no file header), decoded into RGB32 images. Every
// size and offset is checked against the bytes given; a bitmap that cannot
// be decoded gives the reason instead of an image.
#pragma once
#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

namespace qv {

// Largest bitmap decoded: per side and in pixels.
constexpr int MaxDibSide = 16'384;
constexpr qint64 MaxDibPixels = 40'000'000;

struct DibResult {
  QImage image;  // Format_RGB32, or null on failure
  QString error;
  bool ok() const { return !image.isNull(); }
};

// Decodes a bitmap with a 12-byte core header or a 40-byte info header (or
// its 52, 56, 108 and 124-byte successors): 1, 4 and 8 bits with a colour
// table, 16 bits (5-5-5 or bit fields), 24 bits and 32 bits (plain or bit
// fields), rows stored bottom-up or top-down. Run-length and embedded
// JPEG/PNG bitmaps are refused.
DibResult DecodeDib(const QByteArray& dib);

// The size DecodeDib would give, from the header alone, or the reason it
// would refuse the bitmap: no pixel is decoded.
struct DibCheck {
  QSize size;
  QString error;
};
DibCheck CheckDib(const QByteArray& dib);

}  // namespace qv
