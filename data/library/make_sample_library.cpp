// Draws the pictures of the sample pane library shipped with Quorvel, all
// computed pixel by pixel: a sunrise over the sea, shaded marbles on felt and
// a colour whirl (200 x 200 each), and a preview of the three. Writes them as
// 24-bit bitmaps into the folder given, for the resource compiler.
#include "surface/PictureFile.h"

#include <QColor>
#include <QFile>
#include <QImage>
#include <cmath>

namespace {

constexpr int Side = 200;
constexpr double Pi = 3.14159265358979323846;

int clamp255(double v) { return std::clamp(int(std::lround(v)), 0, 255); }

QRgb mix(QRgb a, QRgb b, double t) {
  t = std::clamp(t, 0.0, 1.0);
  return qRgb(clamp255(qRed(a) + (qRed(b) - qRed(a)) * t), clamp255(qGreen(a) + (qGreen(b) - qGreen(a)) * t),
              clamp255(qBlue(a) + (qBlue(b) - qBlue(a)) * t));
}

QImage sunrise() {
  QImage img(Side, Side, QImage::Format_RGB32);
  const int horizon = 128;
  for (int y = 0; y < Side; ++y)
    for (int x = 0; x < Side; ++x) {
      const double dx = x - 100, dy = y - horizon;
      QRgb c;
      if (y < horizon) {
        c = mix(qRgb(24, 32, 96), qRgb(250, 150, 70), double(y) / horizon);
        const double d = std::hypot(dx, dy);
        if (d < 38) c = mix(qRgb(255, 244, 150), qRgb(255, 190, 60), d / 38);
        else if (d < 60) c = mix(qRgb(255, 200, 90), c, (d - 38) / 22);
      } else {
        const double depth = double(y - horizon) / (Side - horizon);
        c = mix(qRgb(40, 90, 150), qRgb(10, 30, 70), depth);
        const double wave = std::sin(y * 0.9 + std::sin(x * 0.08) * 2.0);
        // The sun's path on the water: bright broken stripes under it.
        if (std::abs(dx) < 34 * (1 - depth * 0.5) && wave > 0.3) c = mix(c, qRgb(255, 210, 110), 0.8 - depth * 0.5);
        else if (wave > 0.85) c = mix(c, qRgb(120, 170, 210), 0.5);
      }
      img.setPixel(x, y, c);
    }
  return img;
}

QImage marbles() {
  struct Ball { double x, y, r; QRgb colour; };
  const Ball balls[] = {{52, 56, 34, qRgb(220, 40, 40)},   {140, 48, 28, qRgb(40, 90, 220)},
                        {100, 112, 40, qRgb(240, 200, 40)}, {44, 150, 26, qRgb(60, 190, 80)},
                        {156, 150, 32, qRgb(170, 60, 200)}};
  QImage img(Side, Side, QImage::Format_RGB32);
  for (int y = 0; y < Side; ++y)
    for (int x = 0; x < Side; ++x) {
      // Felt: dark green with a fine weave.
      QRgb c = qRgb(20, 90 + ((x * 7 + y * 13) % 5) * 3, 40);
      for (const Ball& b : balls) {
        const double nx = (x - b.x) / b.r, ny = (y - b.y) / b.r, rr = nx * nx + ny * ny;
        if (rr >= 1) continue;
        // Lit from the upper left: diffuse shade plus a highlight.
        const double nz = std::sqrt(1 - rr);
        const double light = std::max(0.0, (-nx * 0.5 - ny * 0.6 + nz * 0.62));
        const double shine = std::pow(light, 24);
        c = mix(mix(qRgb(0, 0, 0), b.colour, 0.25 + 0.75 * light), qRgb(255, 255, 255), shine);
      }
      img.setPixel(x, y, c);
    }
  return img;
}

QImage whirl() {
  QImage img(Side, Side, QImage::Format_RGB32);
  for (int y = 0; y < Side; ++y)
    for (int x = 0; x < Side; ++x) {
      const double dx = x - 99.5, dy = y - 99.5, r = std::hypot(dx, dy);
      const double turn = std::atan2(dy, dx) / (2 * Pi) + r / 70;
      const double band = turn * 6 - std::floor(turn * 6);
      const double hue = turn - std::floor(turn);
      const double value = r > 98 ? 0.15 : 0.55 + 0.45 * std::sin(band * Pi);
      img.setPixel(x, y, QColor::fromHsvF(float(hue), 0.85f, float(value)).rgb());
    }
  return img;
}

// The three pictures as thumbnails on a dark card.
QImage preview(const QImage pictures[3]) {
  QImage img(Side, Side, QImage::Format_RGB32);
  img.fill(qRgb(36, 40, 48));
  const int thumb = 92;
  const int spots[3][2] = {{6, 6}, {102, 6}, {54, 102}};
  for (int i = 0; i < 3; ++i)
    for (int y = -2; y < thumb + 2; ++y)
      for (int x = -2; x < thumb + 2; ++x) {
        const bool frame = x < 0 || y < 0 || x >= thumb || y >= thumb;
        img.setPixel(spots[i][0] + x, spots[i][1] + y,
                     frame ? qRgb(230, 230, 220) : pictures[i].pixel(x * Side / thumb, y * Side / thumb));
      }
  return img;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  const QString dir = QString::fromLocal8Bit(argv[1]);
  const QImage pictures[3] = {sunrise(), marbles(), whirl()};
  const std::pair<const char*, QImage> files[] = {
      {"preview.bmp", preview(pictures)}, {"sunrise.bmp", pictures[0]}, {"marbles.bmp", pictures[1]},
      {"whirl.bmp", pictures[2]}};
  for (const auto& [name, image] : files) {
    QFile f(dir + QLatin1Char('/') + QLatin1String(name));
    const QByteArray bytes = qv::EncodeBmp24(image);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.flush()) return 1;
  }
  return 0;
}
