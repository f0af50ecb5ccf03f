// Simple pictograms on a 16 x 16 grid, drawn with anti-aliased QPainter paths.
#include "app/Icons.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <numbers>

namespace qv {

namespace {

constexpr int S = 16;
const QColor Ink(40, 44, 52);

// A transparent pixmap of size x size device-independent pixels; painting
// on it is in those pixels, each ratio x ratio device pixels.
QPixmap blank(int size = S, qreal ratio = 1) {
  const int device = qRound(size * ratio);
  QPixmap pm(device, device);
  pm.setDevicePixelRatio(ratio);
  pm.fill(Qt::transparent);
  return pm;
}

QPen pen(const QColor& c, qreal w = 1.0) { return QPen(c, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin); }

void refresh(QPainter& p) {
  p.setPen(pen(QColor(30, 130, 60), 2.0));
  p.drawArc(QRectF(3, 3, 10, 10), 60 * 16, 280 * 16);
  QPainterPath head;
  head.moveTo(9.5, 0.8);
  head.lineTo(14.5, 3.2);
  head.lineTo(9.8, 6.6);
  head.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(30, 130, 60));
  p.drawPath(head);
}

void printer(QPainter& p) {
  p.setPen(pen(Ink));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(4.5, 1.5, 7, 5));
  p.setBrush(QColor(150, 156, 166));
  p.drawRoundedRect(QRectF(1.5, 6.5, 13, 6), 1.5, 1.5);
  p.setBrush(Qt::white);
  p.drawRect(QRectF(4.5, 10.5, 7, 4));
  p.setPen(pen(QColor(60, 200, 80)));
  p.drawPoint(QPointF(12.5, 8.5));
}

void tools(QPainter& p) {
  // A spanner across a screwdriver.
  p.setPen(pen(QColor(120, 126, 136), 2.2));
  p.drawLine(QPointF(4, 12), QPointF(10.5, 5.5));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QPointF(11.5, 4.5), 2.6, 2.6);
  p.setPen(pen(QColor(200, 60, 50), 2.6));
  p.drawLine(QPointF(12.5, 12.5), QPointF(9, 9));
  p.setPen(pen(Ink, 1.2));
  p.drawLine(QPointF(8.5, 8.5), QPointF(3, 3));
}

void panes(QPainter& p) {
  const QColor fill[3] = {QColor(90, 160, 230), QColor(250, 200, 60), QColor(230, 90, 80)};
  for (int i = 0; i < 3; ++i) {
    p.setPen(pen(Ink));
    p.setBrush(fill[i]);
    p.drawRect(QRectF(1.5 + i * 3, 1.5 + i * 3, 8, 8));
  }
}

void run(QPainter& p) {
  QPainterPath tri;
  tri.moveTo(4, 2);
  tri.lineTo(14, 8);
  tri.lineTo(4, 14);
  tri.closeSubpath();
  p.setPen(pen(QColor(20, 110, 40)));
  p.setBrush(QColor(50, 180, 70));
  p.drawPath(tri);
}

void stopSquare(QPainter& p) {
  p.setPen(pen(QColor(140, 20, 20)));
  p.setBrush(QColor(220, 50, 45));
  p.drawRoundedRect(QRectF(3.5, 3.5, 9, 9), 1.5, 1.5);
}

void save(QPainter& p) {
  p.setPen(pen(QColor(25, 50, 110)));
  p.setBrush(QColor(60, 110, 200));
  QPainterPath body;
  body.moveTo(1.5, 1.5);
  body.lineTo(12, 1.5);
  body.lineTo(14.5, 4);
  body.lineTo(14.5, 14.5);
  body.lineTo(1.5, 14.5);
  body.closeSubpath();
  p.drawPath(body);
  p.setBrush(QColor(235, 238, 242));
  p.drawRect(QRectF(4.5, 1.5, 6, 4.5));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(3.5, 9, 9, 5.5));
  p.setPen(pen(QColor(25, 50, 110)));
  p.drawLine(QPointF(8.5, 2.5), QPointF(8.5, 4.5));
}

void openFolder(QPainter& p) {
  p.setPen(pen(QColor(150, 100, 10)));
  p.setBrush(QColor(230, 180, 60));
  QPainterPath back;
  back.moveTo(1.5, 3.5);
  back.lineTo(6, 3.5);
  back.lineTo(7.5, 5);
  back.lineTo(13.5, 5);
  back.lineTo(13.5, 13.5);
  back.lineTo(1.5, 13.5);
  back.closeSubpath();
  p.drawPath(back);
  p.setBrush(QColor(250, 215, 100));
  QPainterPath front;
  front.moveTo(1.5, 13.5);
  front.lineTo(4, 7.5);
  front.lineTo(15.5, 7.5);
  front.lineTo(13.5, 13.5);
  front.closeSubpath();
  p.drawPath(front);
}

void board(QPainter& p) {
  p.setPen(pen(QColor(110, 70, 30), 1.0));
  p.setBrush(QColor(160, 110, 60));
  p.drawRect(QRectF(0.5, 2.5, 15, 11));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(184, 184, 184));
  p.drawRect(QRectF(2, 4, 12, 8));
  p.setBrush(QColor(90, 160, 230));
  p.drawRect(QRectF(3, 5, 4, 3));
  p.setBrush(QColor(230, 90, 80));
  p.drawRect(QRectF(9, 7, 4, 4));
}

void puzzle(QPainter& p) {
  QPainterPath piece;
  piece.addRect(QRectF(2.5, 4.5, 10, 10));
  QPainterPath knobTop;
  knobTop.addEllipse(QPointF(7.5, 3.3), 2.2, 2.2);
  QPainterPath knobRight;
  knobRight.addEllipse(QPointF(13.6, 9.5), 2.0, 2.0);
  QPainterPath hole;
  hole.addEllipse(QPointF(2.5, 9.5), 1.8, 1.8);
  piece = piece.united(knobTop).united(knobRight).subtracted(hole);
  p.setPen(pen(QColor(30, 90, 60)));
  p.setBrush(QColor(70, 180, 120));
  p.drawPath(piece);
}

void help(QPainter& p) {
  p.setPen(pen(QColor(20, 70, 150)));
  p.setBrush(QColor(60, 130, 220));
  p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
  QFont f;
  f.setPixelSize(12);
  f.setBold(true);
  p.setFont(f);
  p.setPen(Qt::white);
  p.drawText(QRectF(0, 0.5, 16, 16), Qt::AlignCenter, QStringLiteral("?"));
}

void stopSign(QPainter& p) {
  QPolygonF oct;
  for (int i = 0; i < 8; ++i) {
    const qreal a = (22.5 + 45.0 * i) * std::numbers::pi / 180.0;
    oct << QPointF(8 + 7.3 * std::cos(a), 8 + 7.3 * std::sin(a));
  }
  p.setPen(pen(QColor(140, 20, 20)));
  p.setBrush(QColor(220, 50, 45));
  p.drawPolygon(oct);
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  p.drawRect(QRectF(4, 7, 8, 2));
}

void loadPicture(QPainter& p) {
  p.setPen(pen(Ink));
  p.setBrush(QColor(150, 200, 245));
  p.drawRect(QRectF(1.5, 2.5, 13, 11));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(250, 210, 60));
  p.drawEllipse(QPointF(11, 6), 1.8, 1.8);
  QPainterPath hills;
  hills.moveTo(2, 13);
  hills.lineTo(6, 7.5);
  hills.lineTo(9, 11);
  hills.lineTo(11, 9);
  hills.lineTo(14, 13);
  hills.closeSubpath();
  p.setBrush(QColor(60, 150, 70));
  p.drawPath(hills);
}

void resize(QPainter& p) {
  p.setPen(QPen(Ink, 1.0, Qt::DotLine));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(1.5, 1.5, 13, 13));
  p.setPen(pen(QColor(20, 90, 180), 1.6));
  p.drawLine(QPointF(4, 12), QPointF(12, 4));
  p.drawLine(QPointF(4, 12), QPointF(4, 8.5));
  p.drawLine(QPointF(4, 12), QPointF(7.5, 12));
  p.drawLine(QPointF(12, 4), QPointF(8.5, 4));
  p.drawLine(QPointF(12, 4), QPointF(12, 7.5));
}

void pencil(QPainter& p) {
  QPainterPath body;
  body.moveTo(11, 1.8);
  body.lineTo(14.2, 5);
  body.lineTo(5.5, 13.7);
  body.lineTo(2.3, 10.5);
  body.closeSubpath();
  p.setPen(pen(QColor(150, 100, 10)));
  p.setBrush(QColor(250, 200, 60));
  p.drawPath(body);
  QPainterPath tip;
  tip.moveTo(2.3, 10.5);
  tip.lineTo(5.5, 13.7);
  tip.lineTo(1.2, 14.8);
  tip.closeSubpath();
  p.setBrush(QColor(240, 220, 190));
  p.drawPath(tip);
}

void remove(QPainter& p) {
  p.setPen(pen(QColor(200, 30, 30), 3.0));
  p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
  p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
}

template <typename Draw>
QPixmap paint(qreal ratio, Draw draw, qreal backing = 0) {
  QPixmap pm = blank(S, ratio);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  if (backing > 0) {
    // Fast Icons sit on Pane pictures, so they get a light tile behind them.
    p.setPen(QPen(QColor(70, 70, 70), 1.0));
    p.setBrush(QColor(245, 245, 240));
    p.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), backing, backing);
  }
  draw(p);
  return pm;
}

}  // namespace

QPixmap stripIcon(int index, qreal ratio) {
  switch (index) {
    case 0: return paint(ratio, refresh);
    case 1: return paint(ratio, printer);
    case 2: return paint(ratio, tools);
    case 3: return paint(ratio, panes);
    case 4: return paint(ratio, run);
    case 5: return paint(ratio, stopSquare);
    case 6: return paint(ratio, save);
    case 7: return paint(ratio, openFolder);
    case 8: return paint(ratio, board);
    case 9: return paint(ratio, puzzle);
    case 10: return paint(ratio, help);
    case 11: return paint(ratio, stopSign);
    default: return {};
  }
}

QPixmap fastIcon(int index, qreal ratio) {
  switch (index) {
    case 0: return paint(ratio, loadPicture, 2);
    case 1: return paint(ratio, resize, 2);
    case 2: return paint(ratio, pencil, 2);
    case 3: return paint(ratio, remove, 2);
    default: return {};
  }
}

QPixmap appIcon(int size) {
  QPixmap pm = blank(size);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 16.0, size / 16.0);
  board(p);
  return pm;
}

}  // namespace qv
