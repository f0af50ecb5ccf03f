// Painting and mouse forwarding of the Board, and the outline boxes.
#include "app/Stage.h"

#include "app/Keys.h"

#include <QMouseEvent>
#include <QPainter>

namespace qv {

int buttonCode(Qt::MouseButtons buttons) {
  int code = 0;
  if (buttons & Qt::LeftButton) code |= 1;
  if (buttons & Qt::RightButton) code |= 2;
  if (buttons & Qt::MiddleButton) code |= 4;
  return code;
}

StageWidget::StageWidget(const Surface& surface, QWidget* parent) : QWidget(parent), surface_(surface) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::ClickFocus);
}

void StageWidget::paintEvent(QPaintEvent* e) {
  QPainter p(this);
  // On a scaled screen each Board pixel becomes a block of device pixels,
  // never a blend of its neighbours.
  p.setRenderHint(QPainter::SmoothPixmapTransform, false);
  const QImage& img = surface_.Image();
  p.drawImage(e->rect().topLeft(), img, e->rect());
  // Any part of the widget beyond the picture shows the back colour.
  for (const QRect& r : QRegion(e->rect()).subtracted(QRegion(img.rect())))
    p.fillRect(r, toQColor(surface_.BackColor));
}

void StageWidget::mousePressEvent(QMouseEvent* e) {
  const QPoint pos = e->position().toPoint();
  if (onMouseDown) onMouseDown(buttonCode(e->button()), modifierMask(e->modifiers()), pos.x(), pos.y());
}

void StageWidget::mouseMoveEvent(QMouseEvent* e) {
  const QPoint pos = e->position().toPoint();
  if (onMouseMove) onMouseMove(buttonCode(e->buttons()), modifierMask(e->modifiers()), pos.x(), pos.y());
}

void StageWidget::mouseReleaseEvent(QMouseEvent* e) {
  const QPoint pos = e->position().toPoint();
  if (onMouseUp) onMouseUp(buttonCode(e->button()), modifierMask(e->modifiers()), pos.x(), pos.y());
}

OutlineBox::OutlineBox(const QColor& colour, int width, QWidget* parent)
    : QWidget(parent), colour_(colour), width_(width) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setAttribute(Qt::WA_NoSystemBackground);
}

void OutlineBox::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setPen(QPen(colour_, 1, dashed_ ? Qt::DashLine : Qt::SolidLine));
  p.setBrush(Qt::NoBrush);
  for (int i = 0; i < width_; ++i) {
    const QRect r = rect().adjusted(i, i, -i, -i);
    if (r.width() < 1 || r.height() < 1) break;
    p.drawRect(r.adjusted(0, 0, -1, -1));
  }
}

}  // namespace qv
