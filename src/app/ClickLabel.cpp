// Click detection for labels and image labels.
#include "app/ClickLabel.h"

#include <QMouseEvent>

namespace qv {

void ClickLabel::mousePressEvent(QMouseEvent* e) {
  pressed_ = e->button() == Qt::LeftButton;
  e->accept();
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* e) {
  const bool click = pressed_ && e->button() == Qt::LeftButton && rect().contains(e->position().toPoint());
  pressed_ = false;
  e->accept();
  if (click) emit clicked();
}

}  // namespace qv
