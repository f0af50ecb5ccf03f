// The example projects' pictures: painted with QPainter paths and gradients
// and a few per-pixel passes (sand, chalk), all from fixed numbers, so every
// run draws the same pixels.
#include "ExampleArt.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

namespace art {
namespace {

constexpr double Pi = 3.14159265358979323846;
// The darkest colour a see-through picture uses for its own dark parts.
const QColor Ink(14, 16, 22);

QImage canvas(int w, int h, QColor fill = QColor(0, 0, 0)) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(fill);
  return img;
}

// A painter for smooth shapes.
struct Brush : QPainter {
  explicit Brush(QImage* img) : QPainter(img) { setRenderHint(QPainter::Antialiasing); }
};

// A repeatable value in 0..1 for a pixel.
double hash(int x, int y, int seed = 0) {
  quint32 h = quint32(x) * 374761393u + quint32(y) * 668265263u + quint32(seed) * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  return double((h ^ (h >> 16)) & 0xFFFF) / 65535.0;
}

QColor mix(QColor a, QColor b, double t) {
  t = std::clamp(t, 0.0, 1.0);
  return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * t),
                          float(a.greenF() + (b.greenF() - a.greenF()) * t),
                          float(a.blueF() + (b.blueF() - a.blueF()) * t));
}

QPen outline(QColor c, double w = 2.0) { return QPen(c, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin); }

// Light from the upper left over a round shape.
void shadeSphere(QPainter& p, QPointF centre, double r) {
  QRadialGradient g(centre + QPointF(-r * 0.35, -r * 0.4), r * 1.35);
  g.setColorAt(0, QColor(255, 255, 255, 120));
  g.setColorAt(0.35, QColor(255, 255, 255, 0));
  g.setColorAt(0.75, QColor(0, 0, 0, 0));
  g.setColorAt(1, QColor(0, 0, 0, 120));
  p.setPen(Qt::NoPen);
  p.setBrush(g);
  p.drawEllipse(centre, r, r);
}

void eye(QPainter& p, QPointF at, double r) {
  p.setPen(outline(Ink, 1.0));
  p.setBrush(QColor(250, 250, 245));
  p.drawEllipse(at, r, r);
  p.setPen(Qt::NoPen);
  p.setBrush(Ink);
  p.drawEllipse(at - QPointF(r * 0.25, 0), r * 0.55, r * 0.55);
  p.setBrush(QColor(255, 255, 255));
  p.drawEllipse(at - QPointF(r * 0.45, r * 0.3), r * 0.2, r * 0.2);
}

// A fish body facing left inside box, with its tail swung by `swing` (-1..1).
QPainterPath fishBody(QRectF box, double bodyShare, double swing) {
  const double bw = box.width() * bodyShare, cy = box.center().y(), h = box.height();
  QPainterPath body;
  const QPointF nose(box.left() + 2, cy);
  const QPointF rear(box.left() + bw, cy);
  body.moveTo(nose);
  body.cubicTo(QPointF(box.left() + bw * 0.15, cy - h * 0.5), QPointF(box.left() + bw * 0.8, cy - h * 0.42), rear);
  body.cubicTo(QPointF(box.left() + bw * 0.8, cy + h * 0.42), QPointF(box.left() + bw * 0.15, cy + h * 0.5), nose);
  QPainterPath tail;
  const double tip = box.right() - 2, lift = swing * h * 0.12;
  tail.moveTo(rear - QPointF(bw * 0.08, 0));
  tail.lineTo(QPointF(tip, cy - h * 0.36 + lift));
  tail.quadTo(QPointF(tip - (tip - rear.x()) * 0.35, cy + lift), QPointF(tip, cy + h * 0.36 + lift));
  tail.closeSubpath();
  return body.united(tail);
}

template <typename Draw>
QImage cels(int cel, int height, int count, Draw draw) {
  QImage img = canvas(cel * count, height);
  Brush p(&img);
  for (int c = 0; c < count; ++c) draw(p, QRectF(c * cel, 0, cel, height), c);
  return img;
}

}  // namespace

// ---------------------------------------------------------------- aquarium

QImage reef() {
  QImage img = canvas(800, 600);
  for (int y = 0; y < 600; ++y) {
    const QColor row = mix(QColor(52, 160, 210), QColor(8, 40, 92), std::pow(y / 600.0, 0.85));
    for (int x = 0; x < 800; ++x) {
      const double ripple = 0.04 * std::sin(x * 0.02 + y * 0.05) * (1 - y / 600.0);
      img.setPixel(x, y, mix(row, QColor(120, 210, 240), ripple).rgb());
    }
  }
  Brush p(&img);
  // Sunlight falling through the surface.
  for (int i = 0; i < 6; ++i) {
    const double x0 = 40 + i * 140 + (i % 2) * 30;
    QPolygonF ray({{x0, 0}, {x0 + 36 + i * 4, 0}, {x0 + 150, 560}, {x0 + 70, 560}});
    QLinearGradient g(0, 0, 0, 560);
    g.setColorAt(0, QColor(255, 255, 230, 52));
    g.setColorAt(1, QColor(255, 255, 230, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPolygon(ray);
  }
  // The surface, seen from below.
  p.setPen(outline(QColor(190, 235, 250, 150), 2));
  for (int band = 0; band < 3; ++band) {
    QPainterPath wave;
    for (int x = 0; x <= 800; x += 10) {
      const double y = 6 + band * 9 + 3 * std::sin(x * 0.035 + band * 1.7);
      x == 0 ? wave.moveTo(x, y) : wave.lineTo(x, y);
    }
    p.drawPath(wave);
  }
  // Far rocks in the haze.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(22, 72, 116));
  QPainterPath far;
  far.moveTo(0, 600);
  for (int x = 0; x <= 800; x += 20) far.lineTo(x, 470 + 28 * std::sin(x * 0.013) + 14 * std::sin(x * 0.051 + 1));
  far.lineTo(800, 600);
  p.drawPath(far);
  // Sand.
  QPainterPath sand;
  sand.moveTo(0, 600);
  for (int x = 0; x <= 800; x += 10) sand.lineTo(x, 528 + 10 * std::sin(x * 0.011 + 0.5) + 4 * std::sin(x * 0.07));
  sand.lineTo(800, 600);
  QLinearGradient sandShade(0, 515, 0, 600);
  sandShade.setColorAt(0, QColor(226, 204, 150));
  sandShade.setColorAt(1, QColor(170, 140, 88));
  p.setBrush(sandShade);
  p.drawPath(sand);
  p.end();
  for (int y = 510; y < 600; ++y)
    for (int x = 0; x < 800; ++x) {
      if (!sand.contains(QPointF(x + 0.5, y + 0.5))) continue;
      const double n = hash(x, y, 3);
      if (n > 0.93) img.setPixel(x, y, mix(QColor(img.pixel(x, y)), QColor(120, 96, 60), 0.5).rgb());
      else if (n < 0.05) img.setPixel(x, y, mix(QColor(img.pixel(x, y)), QColor(255, 246, 220), 0.6).rgb());
    }
  Brush q(&img);
  // Rocks half in the sand.
  const struct { double x, y, w, h; } rocks[] = {{60, 520, 130, 80}, {600, 525, 170, 90}, {700, 500, 80, 60}};
  for (const auto& r : rocks) {
    QLinearGradient g(r.x, r.y, r.x + r.w * 0.3, r.y + r.h);
    g.setColorAt(0, QColor(128, 120, 110));
    g.setColorAt(1, QColor(62, 58, 56));
    q.setPen(outline(QColor(44, 40, 40), 2));
    q.setBrush(g);
    q.drawEllipse(QRectF(r.x, r.y, r.w, r.h));
  }
  // Sea grass, swaying strands.
  const double grass[] = {30, 48, 210, 228, 246, 420, 436, 560, 578, 760, 776};
  for (int i = 0; i < int(std::size(grass)); ++i) {
    const double base = grass[i], height = 170 + 60 * hash(i, 1, 9);
    QPainterPath strand;
    strand.moveTo(base, 560);
    for (int s = 1; s <= 12; ++s) {
      const double t = s / 12.0;
      strand.lineTo(base + 14 * std::sin(t * 5 + i) * t, 560 - height * t);
    }
    q.setBrush(Qt::NoBrush);
    q.setPen(outline(QColor(20, 90, 50), 9));
    q.drawPath(strand);
    q.setPen(outline(QColor(60, 160, 80), 5));
    q.drawPath(strand);
  }
  // Coral: branching pink fans.
  const auto branch = [&](auto&& self, QPointF from, double angle, double length, int depth) -> void {
    const QPointF to = from + QPointF(std::cos(angle), -std::sin(angle)) * length;
    q.setPen(outline(QColor(214, 88, 120), 3 + depth * 1.5));
    q.drawLine(from, to);
    if (depth == 0) {
      q.setPen(Qt::NoPen);
      q.setBrush(QColor(255, 170, 190));
      q.drawEllipse(to, 3.5, 3.5);
      return;
    }
    self(self, to, angle + 0.45, length * 0.75, depth - 1);
    self(self, to, angle - 0.4, length * 0.72, depth - 1);
  };
  branch(branch, QPointF(330, 560), Pi / 2, 34, 4);
  branch(branch, QPointF(500, 555), Pi / 2 + 0.15, 28, 4);
  return img;
}

QImage clownfish(int cel, int height, int count) {
  return cels(cel, height, count, [](QPainter& p, QRectF box, int c) {
    const QPainterPath body = fishBody(box.adjusted(1, 4, -1, -4), 0.74, c % 2 ? 1 : -1);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 118, 28));
    p.drawPath(body);
    p.save();
    p.setClipPath(body);
    const double stripes[] = {0.22, 0.47, 0.72};
    for (double s : stripes) {
      const double x = box.left() + box.width() * s;
      p.setPen(outline(Ink, 9));
      p.drawLine(QPointF(x, box.top()), QPointF(x - 3, box.bottom()));
      p.setPen(outline(QColor(252, 252, 248), 6));
      p.drawLine(QPointF(x, box.top()), QPointF(x - 3, box.bottom()));
    }
    p.restore();
    p.setBrush(Qt::NoBrush);
    p.setPen(outline(Ink, 2));
    p.drawPath(body);
    eye(p, QPointF(box.left() + box.width() * 0.12, box.center().y() - box.height() * 0.08), box.height() * 0.1);
  });
}

QImage tang(int cel, int height, int count) {
  return cels(cel, height, count, [](QPainter& p, QRectF box, int c) {
    const double swing = std::sin(c * 2 * Pi / 3);
    const QPainterPath body = fishBody(box.adjusted(1, 3, -1, -3), 0.76, swing);
    p.setPen(outline(QColor(10, 24, 70), 2));
    p.setBrush(QColor(36, 92, 220));
    p.drawPath(body);
    // The dark sweep along the back and the yellow tail.
    p.save();
    p.setClipPath(body);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(18, 30, 80));
    QPainterPath sweep;
    sweep.moveTo(box.left() + box.width() * 0.2, box.center().y() - 4);
    sweep.quadTo(QPointF(box.left() + box.width() * 0.45, box.top() - 2),
                 QPointF(box.left() + box.width() * 0.72, box.center().y() + 2));
    sweep.quadTo(QPointF(box.left() + box.width() * 0.45, box.top() + box.height() * 0.35),
                 QPointF(box.left() + box.width() * 0.2, box.center().y() - 4));
    p.drawPath(sweep);
    p.setBrush(QColor(250, 212, 40));
    p.drawRect(QRectF(box.left() + box.width() * 0.72, box.top(), box.width(), box.height()));
    p.restore();
    eye(p, QPointF(box.left() + box.width() * 0.13, box.center().y() - 3), box.height() * 0.09);
  });
}

QImage angelfish(int cel, int height, int count) {
  return cels(cel, height, count, [](QPainter& p, QRectF box, int c) {
    const double cx = box.left() + box.width() * 0.42, cy = box.center().y(), sway = c ? 4 : -4;
    QPainterPath fins;
    fins.moveTo(cx - 6, cy - 10);
    fins.quadTo(QPointF(cx + 8, box.top()), QPointF(cx + 22 + sway, box.top() + 1));
    fins.quadTo(QPointF(cx + 16, cy - 8), QPointF(cx + 20, cy));
    fins.quadTo(QPointF(cx + 16, cy + 8), QPointF(cx + 22 - sway, box.bottom() - 1));
    fins.quadTo(QPointF(cx + 8, box.bottom()), QPointF(cx - 6, cy + 10));
    fins.closeSubpath();
    QPainterPath body;
    body.moveTo(box.left() + 3, cy);
    body.quadTo(QPointF(cx, cy - box.height() * 0.36), QPointF(cx + 16, cy));
    body.quadTo(QPointF(cx, cy + box.height() * 0.36), QPointF(box.left() + 3, cy));
    QPainterPath tail;
    tail.moveTo(cx + 14, cy);
    tail.lineTo(box.right() - 2, cy - 12 + sway);
    tail.lineTo(box.right() - 6, cy + sway * 0.3);
    tail.lineTo(box.right() - 2, cy + 12 + sway);
    tail.closeSubpath();
    const QPainterPath all = body.united(fins).united(tail);
    QLinearGradient silver(box.topLeft(), box.bottomLeft());
    silver.setColorAt(0, QColor(236, 232, 210));
    silver.setColorAt(1, QColor(176, 180, 170));
    p.setPen(Qt::NoPen);
    p.setBrush(silver);
    p.drawPath(all);
    p.save();
    p.setClipPath(all);
    for (double s : {0.2, 0.42, 0.62}) {
      const double x = box.left() + box.width() * s;
      p.setPen(outline(QColor(40, 36, 40), 5));
      p.drawLine(QPointF(x, box.top()), QPointF(x + 4, box.bottom()));
    }
    p.restore();
    p.setBrush(Qt::NoBrush);
    p.setPen(outline(QColor(60, 56, 50), 1.5));
    p.drawPath(all);
    eye(p, QPointF(box.left() + 12, cy - 3), 4);
  });
}

QImage tetras(int cel, int height, int count) {
  return cels(cel, height, count, [](QPainter& p, QRectF box, int c) {
    const QPointF spots[] = {{4, 2}, {40, 14}, {14, 22}, {52, 1}};
    for (int i = 0; i < 4; ++i) {
      const QRectF fish(box.left() + spots[i].x() + (c + i) % 2 * 2, box.top() + spots[i].y() + 1, 34, 14);
      const QPainterPath body = fishBody(fish, 0.72, ((c + i) % 2) ? 1 : -1);
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(190, 200, 210));
      p.drawPath(body);
      p.save();
      p.setClipPath(body);
      p.setBrush(QColor(226, 40, 48));
      p.drawRect(QRectF(fish.left() + 14, fish.center().y(), 30, 10));
      p.setBrush(QColor(40, 220, 255));
      p.drawRect(QRectF(fish.left() + 4, fish.center().y() - 3, 22, 3));
      p.restore();
      p.setPen(Qt::NoPen);
      p.setBrush(Ink);
      p.drawEllipse(QPointF(fish.left() + 5, fish.center().y() - 1), 1.6, 1.6);
    }
  });
}

QImage puffer(int cel, int count) {
  QImage img = canvas(cel * count, cel * count);
  Brush p(&img);
  const double radii[] = {0.3, 0.37, 0.44, 0.37};
  for (int c = 0; c < count * count; ++c) {
    const QRectF box((c % count) * cel, (c / count) * cel, cel, cel);
    const double r = cel * radii[c % 4];
    const QPointF centre = box.center() - QPointF(3, 0);
    // Spines, then the round body, the tail and the fins.
    p.setPen(outline(QColor(120, 96, 40), 2));
    for (int s = 0; s < 16; ++s) {
      const double a = s * 2 * Pi / 16;
      p.drawLine(centre + QPointF(std::cos(a), std::sin(a)) * r * 0.9,
                 centre + QPointF(std::cos(a), std::sin(a)) * (r + cel * 0.04));
    }
    QPolygonF tail({centre + QPointF(r * 0.8, 0), centre + QPointF(r + 12, -9), centre + QPointF(r + 12, 9)});
    p.setBrush(QColor(222, 190, 90));
    p.setPen(outline(QColor(90, 70, 30), 1.5));
    p.drawPolygon(tail);
    QRadialGradient g(centre, r);
    g.setColorAt(0, QColor(246, 226, 140));
    g.setColorAt(0.7, QColor(226, 196, 96));
    g.setColorAt(1, QColor(176, 140, 60));
    p.setBrush(g);
    p.drawEllipse(centre, r, r);
    p.setBrush(QColor(250, 246, 226));
    p.setPen(Qt::NoPen);
    p.drawChord(QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r), 200 * 16, 140 * 16);
    p.setBrush(QColor(120, 96, 40));
    for (int s = 0; s < 9; ++s)
      p.drawEllipse(centre + QPointF(r * (0.6 * hash(s, c % 4) - 0.1), r * (0.8 * hash(c % 4, s) - 0.6)), 2.2, 2.2);
    eye(p, centre + QPointF(-r * 0.55, -r * 0.25), std::max(3.0, r * 0.16));
    p.setPen(outline(Ink, 1.5));
    p.drawArc(QRectF(centre.x() - r * 0.98, centre.y() - 2, r * 0.3, r * 0.2), 180 * 16, 180 * 16);
  }
  return img;
}

QImage crab(int cel, int height, int count) {
  return cels(cel, height, count, [](QPainter& p, QRectF box, int c) {
    const QPointF centre(box.center().x(), box.top() + box.height() * 0.55);
    const QColor shell(222, 70, 40), dark(120, 30, 20);
    p.setPen(outline(dark, 2.5));
    for (int side : {-1, 1})
      for (int leg = 0; leg < 3; ++leg) {
        const double lift = ((leg + c) % 2) ? -4 : 3;
        const QPointF hip = centre + QPointF(side * 12, 2 + leg * 3);
        const QPointF knee = hip + QPointF(side * 9, -4 + lift);
        p.drawLine(hip, knee);
        p.drawLine(knee, knee + QPointF(side * 4, 10));
      }
    // Claws raised, one open and one closed by turns.
    for (int side : {-1, 1}) {
      const QPointF arm = centre + QPointF(side * 14, -6), claw = arm + QPointF(side * 8, -9);
      p.setPen(outline(dark, 3));
      p.drawLine(arm, claw);
      p.setPen(outline(dark, 1.5));
      p.setBrush(shell);
      const double open = (c + (side > 0)) % 2 ? 40 : 10;
      p.drawPie(QRectF(claw.x() - 6, claw.y() - 6, 12, 12), int((side > 0 ? 90 - open : 90) * 16),
                int((360 - open) * 16));
    }
    p.setPen(outline(dark, 2));
    p.setBrush(shell);
    p.drawEllipse(centre, 17, 11);
    p.setPen(outline(dark, 1.5));
    p.drawLine(centre + QPointF(-5, -10), centre + QPointF(-6, -17));
    p.drawLine(centre + QPointF(5, -10), centre + QPointF(6, -17));
    eye(p, centre + QPointF(-6, -18), 2.6);
    eye(p, centre + QPointF(6, -18), 2.6);
  });
}

QImage jellyfish(int cel, int height, int count) {
  return cels(cel, height, count, [](QPainter& p, QRectF box, int c) {
    const double squeeze = c ? 0.84 : 1.0, w = box.width() * 0.8 * squeeze, h = box.height() * 0.42 / squeeze;
    const QPointF top(box.center().x(), box.top() + 3);
    for (int t = 0; t < 5; ++t) {
      QPainterPath tentacle;
      const double x = top.x() - w * 0.35 + t * w * 0.175;
      tentacle.moveTo(x, top.y() + h * 0.8);
      for (int s = 1; s <= 8; ++s)
        tentacle.lineTo(x + 4 * std::sin(s * 0.9 + t + c * 1.6), top.y() + h * 0.8 + s * (box.height() - h - 6) / 8);
      p.setBrush(Qt::NoBrush);
      p.setPen(outline(QColor(230, 150, 210), 2));
      p.drawPath(tentacle);
    }
    QPainterPath bell;
    bell.moveTo(top.x() - w / 2, top.y() + h);
    bell.cubicTo(QPointF(top.x() - w / 2, top.y() - h * 0.2), QPointF(top.x() + w / 2, top.y() - h * 0.2),
                 QPointF(top.x() + w / 2, top.y() + h));
    for (int s = 4; s >= 0; --s)
      bell.quadTo(QPointF(top.x() - w / 2 + (s + 0.5) * w / 5, top.y() + h + 5),
                  QPointF(top.x() - w / 2 + s * w / 5, top.y() + h));
    QRadialGradient g(top + QPointF(0, h * 0.4), w * 0.7);
    g.setColorAt(0, QColor(255, 214, 240));
    g.setColorAt(1, QColor(196, 110, 200));
    p.setPen(outline(QColor(150, 70, 160), 1.5));
    p.setBrush(g);
    p.drawPath(bell);
  });
}

QImage bubbles(int cel, int height, int count, int seed) {
  return cels(cel, height, count, [seed](QPainter& p, QRectF box, int c) {
    for (int b = 0; b < 4; ++b) {
      const double r = 3 + 6 * hash(b, seed, 1);
      const double y = box.top() + 8 + b * (box.height() - 16) / 3.0;
      const double x = box.center().x() + (box.width() / 2 - r - 2) * std::sin(b * 1.9 + seed + c * 1.2) * 0.8;
      p.setPen(outline(QColor(214, 244, 255), 1.5));
      p.setBrush(QColor(70, 150, 200));
      p.drawEllipse(QPointF(x, y), r, r);
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(250, 255, 255));
      p.drawEllipse(QPointF(x - r * 0.35, y - r * 0.35), r * 0.3, r * 0.3);
    }
  });
}

// --------------------------------------------------------------- bounce lab

QImage blueprint() {
  QImage img = canvas(800, 600, QColor(18, 38, 78));
  for (int y = 0; y < 600; ++y)
    for (int x = 0; x < 800; ++x) {
      // A faint paper grain and a darker rim.
      const double rim = std::hypot((x - 400) / 400.0, (y - 300) / 300.0);
      const QColor base = mix(QColor(22, 46, 92), QColor(10, 24, 54), std::max(0.0, rim - 0.55));
      img.setPixel(x, y, mix(base, QColor(40, 70, 120), hash(x, y, 7) * 0.12).rgb());
    }
  Brush p(&img);
  for (int x = 0; x <= 800; x += 20) {
    p.setPen(QPen(x % 100 ? QColor(44, 76, 130) : QColor(74, 112, 172), x % 100 ? 1 : 1.6));
    p.drawLine(QPointF(x + 0.5, 0), QPointF(x + 0.5, 600));
  }
  for (int y = 0; y <= 600; y += 20) {
    p.setPen(QPen(y % 100 ? QColor(44, 76, 130) : QColor(74, 112, 172), y % 100 ? 1 : 1.6));
    p.drawLine(QPointF(0, y + 0.5), QPointF(800, y + 0.5));
  }
  // Drafting marks: the paths a ball takes, arcs and a corner stamp.
  p.setPen(QPen(QColor(150, 190, 240, 110), 1.5, Qt::DashLine));
  p.drawPolyline(QPolygonF({{40, 560}, {300, 300}, {560, 560}, {760, 360}}));
  p.drawArc(QRectF(610, 40, 140, 140), 0, 270 * 16);
  p.setPen(QPen(QColor(200, 225, 255, 150), 2));
  p.drawRect(QRectF(620, 500, 160, 80));
  p.drawLine(QPointF(620, 540), QPointF(780, 540));
  p.drawLine(QPointF(700, 540), QPointF(700, 580));
  for (int i = 0; i < 5; ++i) p.drawEllipse(QPointF(640 + i * 28, 520), 6 + i, 6 + i);
  return img;
}

QImage ball(int size, QRgb colour) {
  QImage img = canvas(size, size);
  Brush p(&img);
  const double r = size / 2.0 - 1;
  const QPointF centre(size / 2.0, size / 2.0);
  QRadialGradient g(centre - QPointF(r * 0.35, r * 0.4), r * 1.4);
  g.setColorAt(0, QColor(colour).lighter(170));
  g.setColorAt(0.5, QColor(colour));
  g.setColorAt(1, QColor(colour).darker(260));
  p.setPen(Qt::NoPen);
  p.setBrush(g);
  p.drawEllipse(centre, r, r);
  p.setBrush(QColor(255, 255, 255, 200));
  p.drawEllipse(centre - QPointF(r * 0.38, r * 0.42), r * 0.2, r * 0.14);
  return img;
}

QImage spinner(int cel, int count) {
  return cels(cel, cel, count, [count](QPainter& p, QRectF box, int c) {
    const QColor colours[] = {QColor(240, 70, 60), QColor(250, 250, 250), QColor(60, 130, 240),
                              QColor(250, 210, 50), QColor(250, 250, 250), QColor(60, 190, 100)};
    const double r = box.width() / 2 - 1;
    for (int s = 0; s < 6; ++s) {
      p.setPen(Qt::NoPen);
      p.setBrush(colours[s]);
      const int start = int((s * 60 + c * 60.0 / count) * 16);
      p.drawPie(QRectF(box.center().x() - r, box.center().y() - r, 2 * r, 2 * r), start, 60 * 16);
    }
    shadeSphere(p, box.center(), r);
  });
}

QImage bar(int width, int height, QRgb colour) {
  QImage img = canvas(width, height);
  Brush p(&img);
  // Warning stripes on a bevelled bar.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(colour));
  p.drawRect(0, 0, width, height);
  p.setBrush(QColor(30, 30, 34));
  for (int s = -height * 2; s < width + height; s += 22) {
    QPolygonF stripe({{double(s), double(height)}, {s + 10.0, double(height)}, {s + 10.0 + height, 0}, {double(s + height), 0}});
    if (width < height) stripe = QPolygonF({{0, double(s)}, {0, s + 10.0}, {double(width), s + 10.0 + width}, {double(width), double(s + width)}});
    p.drawPolygon(stripe);
  }
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(255, 255, 255, 140), 2));
  p.drawLine(QPointF(1, 1), QPointF(width - 1, 1));
  p.drawLine(QPointF(1, 1), QPointF(1, height - 1));
  p.setPen(QPen(QColor(0, 0, 0, 140), 2));
  p.drawLine(QPointF(1, height - 1), QPointF(width - 1, height - 1));
  p.drawLine(QPointF(width - 1, 1), QPointF(width - 1, height - 1));
  return img;
}

QImage arrowShip(int width, int height) {
  QImage img = canvas(width, height);
  Brush p(&img);
  // Pointing up and to the right, the way a diagonal Pane starts out.
  QPainterPath arrow;
  arrow.moveTo(width - 2, 2);
  arrow.lineTo(width * 0.45, height * 0.16);
  arrow.lineTo(width * 0.6, height * 0.32);
  arrow.lineTo(4, height - 10);
  arrow.lineTo(12, height - 3);
  arrow.lineTo(width * 0.7, height * 0.45);
  arrow.lineTo(width * 0.84, height * 0.62);
  arrow.closeSubpath();
  QLinearGradient g(0, height, width, 0);
  g.setColorAt(0, QColor(255, 140, 40));
  g.setColorAt(1, QColor(255, 230, 90));
  p.setPen(outline(QColor(140, 60, 10), 2));
  p.setBrush(g);
  p.drawPath(arrow);
  return img;
}

// ---------------------------------------------------------------- quiz board

namespace {

// A 5 x 7 block font for chalk writing: seven rows of five bits per glyph.
struct Glyph {
  char c;
  quint8 rows[7];
};
const Glyph kGlyphs[] = {
    {'A', {14, 17, 17, 31, 17, 17, 17}}, {'B', {30, 17, 17, 30, 17, 17, 30}}, {'C', {14, 17, 16, 16, 16, 17, 14}},
    {'D', {28, 18, 17, 17, 17, 18, 28}}, {'E', {31, 16, 16, 30, 16, 16, 31}}, {'F', {31, 16, 16, 30, 16, 16, 16}},
    {'G', {14, 17, 16, 23, 17, 17, 15}}, {'H', {17, 17, 17, 31, 17, 17, 17}}, {'I', {14, 4, 4, 4, 4, 4, 14}},
    {'J', {7, 2, 2, 2, 2, 18, 12}},      {'K', {17, 18, 20, 24, 20, 18, 17}}, {'L', {16, 16, 16, 16, 16, 16, 31}},
    {'M', {17, 27, 21, 21, 17, 17, 17}}, {'N', {17, 17, 25, 21, 19, 17, 17}}, {'O', {14, 17, 17, 17, 17, 17, 14}},
    {'P', {30, 17, 17, 30, 16, 16, 16}}, {'Q', {14, 17, 17, 17, 21, 18, 13}}, {'R', {30, 17, 17, 30, 20, 18, 17}},
    {'S', {15, 16, 16, 14, 1, 1, 30}},   {'T', {31, 4, 4, 4, 4, 4, 4}},       {'U', {17, 17, 17, 17, 17, 17, 14}},
    {'V', {17, 17, 17, 17, 17, 10, 4}},  {'W', {17, 17, 17, 21, 21, 21, 10}}, {'X', {17, 17, 10, 4, 10, 17, 17}},
    {'Y', {17, 17, 10, 4, 4, 4, 4}},     {'Z', {31, 1, 2, 4, 8, 16, 31}},     {'0', {14, 17, 19, 21, 25, 17, 14}},
    {'1', {4, 12, 4, 4, 4, 4, 14}},      {'2', {14, 17, 1, 2, 4, 8, 31}},     {'3', {31, 2, 4, 2, 1, 17, 14}},
    {'4', {2, 6, 10, 18, 31, 2, 2}},     {'5', {31, 16, 30, 1, 1, 17, 14}},   {'?', {14, 17, 1, 2, 4, 0, 4}},
    {'!', {4, 4, 4, 4, 4, 0, 4}},        {'.', {0, 0, 0, 0, 0, 12, 12}},      {':', {0, 12, 12, 0, 12, 12, 0}},
    {'-', {0, 0, 0, 31, 0, 0, 0}},       {',', {0, 0, 0, 0, 12, 4, 8}},
};

const Glyph* glyphOf(char c) {
  for (const Glyph& g : kGlyphs)
    if (g.c == c) return &g;
  return nullptr;
}

// Writes text in chalk, each font dot a scale x scale patch of dusty strokes.
void chalk(QImage& img, int x, int y, int scale, const char* text, QColor colour = QColor(240, 240, 232)) {
  for (int i = 0; text[i]; ++i, x += 6 * scale) {
    const Glyph* g = glyphOf(text[i]);
    if (!g) continue;
    for (int row = 0; row < 7; ++row)
      for (int col = 0; col < 5; ++col) {
        if (!(g->rows[row] >> (4 - col) & 1)) continue;
        for (int dy = 0; dy < scale; ++dy)
          for (int dx = 0; dx < scale; ++dx) {
            const int px = x + col * scale + dx, py = y + row * scale + dy;
            const double n = hash(px, py, 11);
            if (n < 0.2 || px < 0 || py < 0 || px >= img.width() || py >= img.height()) continue;
            img.setPixel(px, py, mix(QColor(img.pixel(px, py)), colour, 0.55 + 0.45 * n).rgb());
          }
      }
  }
}

int chalkWidth(const char* text, int scale) { return int(std::strlen(text)) * 6 * scale - scale; }

}  // namespace

QImage chalkboard() {
  QImage img = canvas(800, 600, QColor(222, 206, 178));
  {
    Brush p(&img);
    QLinearGradient wood(0, 0, 0, 600);
    wood.setColorAt(0, QColor(150, 96, 52));
    wood.setColorAt(1, QColor(110, 66, 32));
    p.setPen(outline(QColor(70, 40, 18), 2));
    p.setBrush(wood);
    p.drawRoundedRect(QRectF(6, 6, 788, 560), 8, 8);
    p.setBrush(QColor(34, 78, 56));
    p.setPen(outline(QColor(24, 50, 36), 2));
    p.drawRect(QRectF(24, 24, 752, 524));
    // The chalk tray with two sticks of chalk.
    p.setBrush(wood);
    p.setPen(outline(QColor(70, 40, 18), 2));
    p.drawRoundedRect(QRectF(0, 556, 800, 22), 4, 4);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(246, 246, 238));
    p.drawRoundedRect(QRectF(120, 550, 40, 8), 3, 3);
    p.setBrush(QColor(250, 220, 120));
    p.drawRoundedRect(QRectF(180, 551, 28, 7), 3, 3);
  }
  // Smudges of old chalk on the board.
  for (int y = 24; y < 548; ++y)
    for (int x = 24; x < 776; ++x) {
      const double cloud = std::sin(x * 0.013 + std::sin(y * 0.021) * 2) * std::sin(y * 0.017 + x * 0.004);
      const double n = hash(x, y, 5) * 0.06 + std::max(0.0, cloud) * 0.1;
      img.setPixel(x, y, mix(QColor(img.pixel(x, y)), QColor(200, 220, 210), n).rgb());
    }
  const char* title = "PLANET QUIZ";
  chalk(img, 400 - chalkWidth(title, 6) / 2, 44, 6, title, QColor(250, 236, 150));
  const char* question = "WHICH PLANET IS THE BIGGEST?";
  chalk(img, 400 - chalkWidth(question, 3) / 2, 112, 3, question);
  chalk(img, 52, 362, 2, "CLICK A PLANET TO ANSWER.");
  chalk(img, 560, 362, 2, "COUNTDOWN:");
  chalk(img, 560, 384, 2, "CLICK THE ROCKET");
  chalk(img, 560, 406, 2, "3 TIMES!");
  {
    Brush p(&img);
    p.setPen(outline(QColor(236, 236, 226, 200), 3));
    p.drawLine(QPointF(400 - chalkWidth(title, 6) / 2.0, 94), QPointF(400 + chalkWidth(title, 6) / 2.0, 92));
    // The launch pad under the rocket.
    p.setPen(outline(QColor(236, 236, 226, 190), 3));
    p.drawLine(QPointF(600, 536), QPointF(740, 536));
    p.drawLine(QPointF(620, 536), QPointF(640, 518));
    p.drawLine(QPointF(720, 536), QPointF(700, 518));
  }
  return img;
}

QImage planet(int size, int kind) {
  QImage img = canvas(size, size);
  Brush p(&img);
  const double r = size / 2.0 - 2;
  const QPointF centre(size / 2.0, size / 2.0);
  QPainterPath disc;
  disc.addEllipse(centre, r, r);
  p.setClipPath(disc);
  p.setPen(Qt::NoPen);
  if (kind == 0) {  // Mars: rust with dark plains and a polar cap
    p.fillPath(disc, QColor(200, 90, 50));
    p.setBrush(QColor(150, 60, 36));
    p.drawEllipse(centre + QPointF(-r * 0.3, r * 0.1), r * 0.45, r * 0.22);
    p.drawEllipse(centre + QPointF(r * 0.35, -r * 0.25), r * 0.3, r * 0.15);
    p.setBrush(QColor(246, 240, 236));
    p.drawEllipse(centre + QPointF(0, -r * 0.95), r * 0.4, r * 0.16);
  } else if (kind == 1) {  // Jupiter: bands and the great red spot
    const QColor bands[] = {QColor(226, 206, 170), QColor(190, 140, 96), QColor(236, 220, 190),
                            QColor(170, 110, 70),  QColor(230, 210, 176), QColor(196, 150, 104),
                            QColor(238, 224, 196), QColor(180, 126, 84)};
    for (int b = 0; b < 8; ++b) {
      p.setBrush(bands[b]);
      QPainterPath band;
      const double top = centre.y() - r + b * 2 * r / 8;
      band.moveTo(centre.x() - r, top);
      for (int x = 0; x <= 20; ++x)
        band.lineTo(centre.x() - r + x * r / 10, top + 2.5 * std::sin(x * 1.3 + b));
      band.lineTo(centre.x() + r, top + 2 * r / 8 + 3);
      band.lineTo(centre.x() - r, top + 2 * r / 8 + 3);
      p.drawPath(band);
    }
    p.setBrush(QColor(196, 86, 60));
    p.drawEllipse(centre + QPointF(r * 0.3, r * 0.32), r * 0.22, r * 0.12);
  } else {  // the Earth: ocean, land and clouds
    p.fillPath(disc, QColor(40, 100, 200));
    p.setBrush(QColor(70, 150, 70));
    QPainterPath land;
    land.moveTo(centre + QPointF(-r * 0.6, -r * 0.5));
    land.cubicTo(centre + QPointF(-r * 0.1, -r * 0.8), centre + QPointF(0, -r * 0.1),
                 centre + QPointF(-r * 0.3, r * 0.2));
    land.cubicTo(centre + QPointF(-r * 0.2, r * 0.7), centre + QPointF(-r * 0.7, r * 0.3),
                 centre + QPointF(-r * 0.6, -r * 0.5));
    p.drawPath(land);
    p.drawEllipse(centre + QPointF(r * 0.45, -r * 0.1), r * 0.25, r * 0.4);
    p.setBrush(QColor(250, 250, 250, 200));
    p.drawEllipse(centre + QPointF(r * 0.1, -r * 0.55), r * 0.35, r * 0.08);
    p.drawEllipse(centre + QPointF(r * 0.2, r * 0.6), r * 0.4, r * 0.07);
    p.drawEllipse(centre + QPointF(0, r * 0.97), r * 0.5, r * 0.14);
  }
  shadeSphere(p, centre, r);
  return img;
}

QImage mark(int size, bool right) {
  QImage img = canvas(size, size);
  Brush p(&img);
  QPainterPath path;
  if (right) {
    path.moveTo(size * 0.15, size * 0.55);
    path.lineTo(size * 0.4, size * 0.8);
    path.lineTo(size * 0.88, size * 0.2);
  } else {
    path.moveTo(size * 0.2, size * 0.2);
    path.lineTo(size * 0.8, size * 0.8);
    path.moveTo(size * 0.8, size * 0.2);
    path.lineTo(size * 0.2, size * 0.8);
  }
  p.setPen(outline(QColor(24, 28, 24), size * 0.2));
  p.drawPath(path);
  p.setPen(outline(right ? QColor(90, 220, 90) : QColor(236, 64, 52), size * 0.13));
  p.drawPath(path);
  return img;
}

QImage rocket(int width, int height) {
  QImage img = canvas(width, height);
  Brush p(&img);
  const double cx = width / 2.0;
  QPainterPath fins;
  fins.moveTo(cx - width * 0.22, height * 0.62);
  fins.lineTo(2, height - 4);
  fins.lineTo(width - 2, height - 4);
  fins.lineTo(cx + width * 0.22, height * 0.62);
  fins.closeSubpath();
  p.setPen(outline(QColor(110, 20, 20), 2));
  p.setBrush(QColor(220, 50, 44));
  p.drawPath(fins);
  QPainterPath body;
  body.moveTo(cx, 3);
  body.cubicTo(QPointF(cx + width * 0.3, height * 0.15), QPointF(cx + width * 0.26, height * 0.6),
               QPointF(cx + width * 0.18, height - 8));
  body.lineTo(cx - width * 0.18, height - 8);
  body.cubicTo(QPointF(cx - width * 0.26, height * 0.6), QPointF(cx - width * 0.3, height * 0.15), QPointF(cx, 3));
  QLinearGradient metal(0, 0, width, 0);
  metal.setColorAt(0, QColor(180, 186, 196));
  metal.setColorAt(0.45, QColor(250, 250, 252));
  metal.setColorAt(1, QColor(150, 156, 170));
  p.setPen(outline(QColor(70, 74, 90), 2));
  p.setBrush(metal);
  p.drawPath(body);
  p.save();
  p.setClipPath(body);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(220, 50, 44));
  p.drawRect(QRectF(0, 0, width, height * 0.2));
  p.restore();
  p.setPen(outline(QColor(70, 74, 90), 2));
  p.setBrush(QColor(90, 170, 240));
  p.drawEllipse(QPointF(cx, height * 0.38), width * 0.11, width * 0.11);
  p.drawLine(QPointF(cx, height * 0.62), QPointF(cx, height - 8));
  return img;
}

QImage smoke(int width, int height) {
  QImage img = canvas(width, height);
  Brush p(&img);
  // A flame under billows of smoke.
  QPainterPath flame;
  flame.moveTo(width * 0.4, 0);
  flame.quadTo(QPointF(width * 0.5, height * 0.9), QPointF(width * 0.6, 0));
  QLinearGradient fire(0, 0, 0, height * 0.7);
  fire.setColorAt(0, QColor(255, 250, 190));
  fire.setColorAt(0.5, QColor(255, 170, 40));
  fire.setColorAt(1, QColor(230, 60, 20));
  p.setPen(Qt::NoPen);
  p.setBrush(fire);
  p.drawPath(flame);
  for (int i = 0; i < 9; ++i) {
    const double x = width * (0.12 + 0.095 * i), y = height * (0.62 + 0.12 * std::sin(i * 1.7));
    const double r = height * (0.2 + 0.1 * hash(i, 2, 4));
    QRadialGradient g(QPointF(x - r * 0.3, y - r * 0.3), r * 1.3);
    g.setColorAt(0, QColor(250, 250, 246));
    g.setColorAt(1, QColor(160, 164, 170));
    p.setBrush(g);
    p.drawEllipse(QPointF(x, y), r, r);
  }
  return img;
}

QImage book(int width, int height) {
  QImage img = canvas(width, height);
  Brush p(&img);
  // An open book with a small globe above it.
  const QRectF pages(4, height * 0.45, width - 8, height * 0.5);
  p.setPen(outline(QColor(40, 50, 90), 2));
  p.setBrush(QColor(50, 80, 170));
  p.drawRoundedRect(pages.adjusted(-2, 4, 2, 4), 4, 4);
  for (int side : {-1, 1}) {
    QPainterPath page;
    const double mid = width / 2.0, outer = side < 0 ? pages.left() : pages.right();
    page.moveTo(mid, pages.top() + 8);
    page.quadTo(QPointF((mid + outer) / 2, pages.top() - 6), QPointF(outer, pages.top() + 2));
    page.lineTo(outer, pages.bottom() - 4);
    page.quadTo(QPointF((mid + outer) / 2, pages.bottom() - 14), QPointF(mid, pages.bottom()));
    page.closeSubpath();
    p.setPen(outline(QColor(120, 110, 90), 1.5));
    p.setBrush(QColor(252, 248, 232));
    p.drawPath(page);
    p.setPen(outline(QColor(150, 150, 160), 1.2));
    for (int l = 1; l <= 4; ++l) {
      const double y = pages.top() + 6 + l * pages.height() / 6;
      p.drawLine(QPointF(mid + side * 8, y), QPointF(outer - side * 8, y - 3));
    }
  }
  const QPointF globe(width / 2.0, height * 0.24);
  const double r = height * 0.2;
  p.setPen(outline(QColor(30, 60, 110), 1.5));
  p.setBrush(QColor(70, 150, 230));
  p.drawEllipse(globe, r, r);
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(globe, r * 0.45, r);
  p.drawLine(globe - QPointF(r, 0), globe + QPointF(r, 0));
  return img;
}

}  // namespace art
