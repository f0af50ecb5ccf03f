// Our resources, synthesised deterministically on first use.
#include "resources/Resources.h"

#include <QtEndian>
#include <algorithm>
#include <cmath>

namespace qv {
namespace {

// A soft stone texture of greys between 134 and 201, never black or white.
QImage makeDefaultPanePicture() {
  QImage img(200, 200, QImage::Format_RGB32);
  quint32 seed = 0x51A7E;
  for (int y = 0; y < 200; ++y) {
    auto* row = reinterpret_cast<quint32*>(img.scanLine(y));
    for (int x = 0; x < 200; ++x) {
      seed = seed * 1664525u + 1013904223u;
      const double grain = double((seed >> 24) & 15) - 7.5;
      const double wave = 14.0 * std::sin(x * 0.09 + 2.0 * std::sin(y * 0.05)) * std::cos(y * 0.07);
      const double frame = (x < 6 || y < 6 || x > 193 || y > 193) ? 12.0 : 0.0;
      const int v = std::clamp(int(std::lround(168.0 + wave + grain + frame)), 134, 201);
      row[x] = qRgb(v, v, v);
    }
  }
  return img;
}

QImage makeFilled(QRgb c) {
  QImage img(200, 200, QImage::Format_RGB32);
  img.fill(c);
  return img;
}

// A bell-like "ding": PCM, 2 channels, 22,050 Hz, 16 bits, 20,191 frames,
// written as a complete WAVE file with a short INFO list naming its maker.
QByteArray makeDing() {
  constexpr int rate = 22050, frames = 20191, channels = 2;
  constexpr int dataBytes = frames * channels * 2;  // 80,764
  const QByteArray info = QByteArray("ISFT") + QByteArray(4, '\0') +
                          QByteArray("Quorvel ding synthesiser").leftJustified(28, '\0');
  QByteArray out;
  auto u32 = [&](quint32 v) { char b[4]; qToLittleEndian(v, b); out.append(b, 4); };
  auto u16 = [&](quint16 v) { char b[2]; qToLittleEndian(v, b); out.append(b, 2); };
  out.append("RIFF");
  u32(quint32(4 + 24 + 8 + 4 + info.size() + 8 + dataBytes));
  out.append("WAVE");
  out.append("fmt ");
  u32(16);
  u16(1);  // PCM
  u16(channels);
  u32(rate);
  u32(rate * channels * 2);
  u16(channels * 2);
  u16(16);
  out.append("LIST");
  u32(quint32(4 + info.size()));
  out.append("INFO");
  QByteArray inf = info;
  qToLittleEndian(quint32(28), inf.data() + 4);
  out.append(inf);
  out.append("data");
  u32(dataBytes);
  const double f0 = 1318.51;  // E6
  for (int i = 0; i < frames; ++i) {
    const double t = double(i) / rate;
    const double attack = std::min(1.0, t / 0.004);
    const double tail = std::min(1.0, double(frames - i) / 600.0);
    const double env = attack * tail;
    const double s = 0.55 * std::exp(-4.2 * t) * std::sin(2 * M_PI * f0 * t) +
                     0.22 * std::exp(-7.5 * t) * std::sin(2 * M_PI * f0 * 2.756 * t) +
                     0.10 * std::exp(-12.0 * t) * std::sin(2 * M_PI * f0 * 5.404 * t);
    const double l = env * s, r = env * (s * 0.92 + 0.08 * std::sin(2 * M_PI * f0 * 1.002 * t) *
                                                        std::exp(-4.2 * t));
    u16(quint16(qint16(std::lround(std::clamp(l, -1.0, 1.0) * 26000))));
    u16(quint16(qint16(std::lround(std::clamp(r, -1.0, 1.0) * 26000))));
  }
  return out;
}

}  // namespace

QImage LoadResPicture(int id) {
  static const QImage def = makeDefaultPanePicture();
  static const QImage white = makeFilled(qRgb(255, 255, 255));
  static const QImage black = makeFilled(qRgb(0, 0, 0));
  switch (id) {
    case DefaultPanePictureId: return def;
    case WhiteBitmapId: return white;
    case BlackBitmapId: return black;
    default: return {};
  }
}

QByteArray LoadResData(int id, const QString& type) {
  static const QByteArray ding = makeDing();
  // Resource type names are matched without regard to case, as Windows does.
  if (type.compare(QLatin1String("CUSTOM"), Qt::CaseInsensitive) == 0 && id == DingSoundId) return ding;
  return {};
}

}  // namespace qv
