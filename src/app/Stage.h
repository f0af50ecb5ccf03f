// The Board widget (picStage), which shows the Board picture 1:1 and hands
// its mouse events on (files dropped on it go to the main window), and the
// outline boxes drawn above it (Shape1).
#pragma once
#include "surface/Surface.h"

#include <QWidget>
#include <functional>

namespace qv {

// Mouse buttons as the stage handlers count them: 1 left, 2 right, 4 middle.
int buttonCode(Qt::MouseButtons buttons);

class StageWidget : public QWidget {
  Q_OBJECT
 public:
  StageWidget(const Surface& surface, QWidget* parent);

  // (button, keys held, x, y) in Board pixels; the move handler gets the
  // buttons held.
  std::function<void(int, int, int, int)> onMouseDown;
  std::function<void(int, int, int, int)> onMouseMove;
  std::function<void(int, int, int, int)> onMouseUp;

 protected:
  void paintEvent(QPaintEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;

 private:
  const Surface& surface_;
};

// A rectangle outline drawn inside its own bounds; it never takes the mouse.
class OutlineBox : public QWidget {
  Q_OBJECT
 public:
  OutlineBox(const QColor& colour, int width, QWidget* parent);
  // A dashed outline (the rubber band).
  void setDashed(bool dashed) { dashed_ = dashed; }

 protected:
  void paintEvent(QPaintEvent* e) override;

 private:
  QColor colour_;
  int width_;
  bool dashed_ = false;
};

}  // namespace qv
