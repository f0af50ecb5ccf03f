// Rendering a text into a one-colour mask.
#include "surface/TextMask.h"

#include <QGuiApplication>
#include <QPainter>

namespace qv {

TextMask RenderTextMask(const QFont& font, const QString& text) {
  TextMask t;
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return t;
  QFont f(font);
  f.setStyleStrategy(QFont::StyleStrategy(f.styleStrategy() | QFont::NoAntialias));
  // Drawn on an image, with the metrics of the font as drawn there.
  const int room = 2 * QFontMetrics(f).height() + 8;
  QImage canvas(QFontMetrics(f).horizontalAdvance(text) + 2 * room, 3 * room, QImage::Format_ARGB32_Premultiplied);
  canvas.fill(Qt::transparent);
  QPainter p(&canvas);
  p.setRenderHint(QPainter::TextAntialiasing, false);
  p.setFont(f);
  p.setPen(Qt::white);
  const QFontMetrics fm = p.fontMetrics();
  t.lineHeight = fm.height();
  const QPoint origin(room, room);
  p.drawText(QPointF(origin.x(), origin.y() + fm.ascent()), text);
  p.end();

  // Only the covered pixels are kept: half covered or more counts.
  const auto isCovered = [&](int x, int y) { return qAlpha(canvas.pixel(x, y)) >= 128; };
  int left = canvas.width(), right = -1, top = canvas.height(), bottom = -1;
  for (int y = 0; y < canvas.height(); ++y) {
    for (int x = 0; x < canvas.width(); ++x) {
      if (!isCovered(x, y)) continue;
      left = std::min(left, x), right = std::max(right, x);
      top = std::min(top, y), bottom = std::max(bottom, y);
    }
  }
  if (right < 0) return t;
  const QRect covered(QPoint(left, top), QPoint(right, bottom));
  t.mask = QImage(covered.size(), QImage::Format_Grayscale8);
  for (int y = 0; y < covered.height(); ++y) {
    uchar* out = t.mask.scanLine(y);
    for (int x = 0; x < covered.width(); ++x) out[x] = isCovered(left + x, top + y) ? 255 : 0;
  }
  t.offset = covered.topLeft() - origin;
  return t;
}

}  // namespace qv
