// Test bitmaps of every depth and header kind. Each row of the table is
// written as a .bmp file by the test-module generator at build time (and so
// compiled into the test modules) and expected pixel for pixel by the tests.
// Colours come from a hash of the position, cut to what the depth can hold.
#pragma once
#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QVector>
#include <QtEndian>
#include <algorithm>
#include <bit>

namespace qv::samples {

struct SampleBitmap {
  int id;
  const char* name;
  int width, height, bits;
  int header = 40;              // header size: 12 (core), 40, 52, 56, 108, 124
  bool topDown = false;
  bool fields = false;         // bit-field compression with the masks below
  int colours = 0;             // colour table entries named in the header
  quint32 masks[3] = {};       // red, green, blue
};

inline QVector<SampleBitmap> sampleBitmaps() {
  return {
      {1, "24-bit", 5, 3, 24},
      {2, "8-bit, full palette", 7, 4, 8},
      {3, "4-bit, 6 colours", 9, 3, 4, 40, false, false, 6},
      {4, "1-bit", 19, 3, 1},
      {5, "32-bit", 4, 3, 32},
      {6, "24-bit top-down", 5, 4, 24, 40, true},
      {7, "16-bit 5-5-5", 5, 3, 16},
      {8, "16-bit 5-6-5 fields", 5, 3, 16, 40, false, true, 0, {0xf800, 0x07e0, 0x001f}},
      {9, "32-bit fields, V5 header", 3, 2, 32, 124, true, true, 0, {0xff, 0xff00, 0xff0000}},
      {10, "core header, 8-bit", 3, 2, 8, 12},
      {11, "24-bit with a colour table", 3, 2, 24, 40, false, false, 2},
      {12, "wider than 200", 230, 6, 24},
      {13, "16-bit fields, 52-byte header", 3, 2, 16, 52, false, true, 0, {0x001f, 0x07e0, 0xf800}},
      {14, "4-bit, 56-byte header", 5, 2, 4, 56, true},
      {15, "8-bit, V4 header", 3, 3, 8, 108},
      {16, "32-bit 10-10-10 fields", 3, 2, 32, 40, false, true, 0, {0x3ff00000, 0x000ffc00, 0x000003ff}},
  };
}

// A text of n characters for the long string resources.
inline QByteArray longText(int n) { return QByteArray("ABCDEFGHIJKLMNOPQRSTUVWXYZ").repeated(n / 26 + 1).left(n); }

inline quint32 mask(const SampleBitmap& s, int c) {
  if (s.fields) return s.masks[c];
  return s.bits == 16 ? 0x7c00u >> 5 * c : 0xff0000u >> 8 * c;
}
inline int paletteSize(const SampleBitmap& s) { return s.bits > 8 ? 0 : s.colours ? s.colours : 1 << s.bits; }
inline QRgb paletteColour(const SampleBitmap& s, int i) { return 0xff000000u | quint32(qHashMulti(7, i, s.id)); }

// What a pixel holds: a colour-table index (a short table is also indexed
// past its end, which shows black), or the packed channel values.
inline quint32 rawPixel(const SampleBitmap& s, int x, int y) {
  const auto h = quint32(qHashMulti(0, x, y, s.id));
  if (s.bits <= 8) return h % std::min(paletteSize(s) + 2, 1 << s.bits);
  quint32 v = 0;
  for (int c = 0; c < 3; ++c) v |= ((h >> (8 * c)) << std::countr_zero(mask(s, c))) & mask(s, c);
  return v;
}

inline QImage expectedImage(const SampleBitmap& s) {
  QImage img(s.width, s.height, QImage::Format_RGB32);
  for (int y = 0; y < s.height; ++y)
    for (int x = 0; x < s.width; ++x) {
      const quint32 v = rawPixel(s, x, y);
      QRgb rgb = int(v) < paletteSize(s) ? paletteColour(s, int(v)) : 0xff000000u;
      // A channel of n bits is widened to 8 by repeating its bits.
      for (int c = 0; c < 3 && s.bits > 8; ++c) {
        const int n = std::popcount(mask(s, c));
        const quint32 value = (v & mask(s, c)) >> std::countr_zero(mask(s, c));
        for (int i = 0; i < 8; ++i) rgb |= ((value >> (n - 1 - i % n)) & 1) << (23 - 8 * c - i);
      }
      img.setPixel(x, y, rgb);
    }
  return img;
}

// The sample as a .bmp file: a 14-byte file header, then the bitmap as a
// bitmap resource holds it.
inline QByteArray encodeBmp(const SampleBitmap& s) {
  QByteArray b;
  auto put = [&](quint32 v, int n) {
    for (int i = 0; i < n; ++i) b.append(char(i < 4 ? v >> (8 * i) : 0));
  };
  const bool core = s.header == 12;
  b.append("BM");
  put(0, 12);  // sizes and offset, filled in below
  put(s.header, 4);
  if (core) {
    put(s.width, 2), put(s.height, 2), put(1, 2), put(s.bits, 2);
  } else {
    put(s.width, 4), put(s.topDown ? -s.height : s.height, 4), put(1, 2), put(s.bits, 2);
    put(s.fields ? 3 : 0, 4), put(0, 4), put(2835, 4), put(2835, 4), put(s.colours, 4), put(0, 4);
    // Masks follow a 40-byte header; longer headers hold them, then an
    // alpha mask, then the colour space and the rest (left zero).
    if (s.header > 40 || s.fields)
      for (quint32 m : s.masks) put(m, 4);
    if (s.header >= 56) put(0, 4);
    if (s.header >= 108) put(0x73524742, 4), put(0, s.header - 60);
  }
  const int table = s.bits <= 8 ? paletteSize(s) : s.colours;
  for (int i = 0; i < table; ++i) put(paletteColour(s, i) & 0xffffff, core ? 3 : 4);
  const int offBits = b.size();
  const int stride = (s.width * s.bits + 31) / 32 * 4;
  for (int r = 0; r < s.height; ++r) {
    const int y = s.topDown ? r : s.height - 1 - r;
    QByteArray row(stride, 0);
    for (int x = 0; x < s.width; ++x) {
      const quint32 v = rawPixel(s, x, y);
      if (s.bits <= 8)
        row[x * s.bits / 8] = char(row[x * s.bits / 8] | v << (8 - s.bits - x * s.bits % 8));
      else
        for (int i = 0; i < s.bits / 8; ++i) row[x * s.bits / 8 + i] = char(v >> (8 * i));
    }
    b.append(row);
  }
  qToLittleEndian(quint32(b.size()), b.data() + 2);
  qToLittleEndian(quint32(offBits), b.data() + 10);
  return b;
}

}  // namespace qv::samples
