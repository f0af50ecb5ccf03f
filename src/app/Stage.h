// The Board widget (picStage), which shows the Board picture 1:1 and hands
// its mouse events and the files dropped on it on, and the outline boxes
// drawn above it (Shape1).
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

  // (button, x, y) in Board pixels; the move handler gets the buttons held.
  std::function<void(int, int, int)> onMouseDown;
  std::function<void(int, int, int)> onMouseMove;
  std::function<void(int, int, int)> onMouseUp;
  // One file from the file manager dragged over the Board at (x, y): whether
  // a drop there is taken; and the drop.
  std::function<bool(const QString&, int, int)> onFileDragOver;
  std::function<void(const QString&, int, int)> onFileDrop;

 protected:
  void paintEvent(QPaintEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void dragEnterEvent(QDragEnterEvent* e) override;
  void dragMoveEvent(QDragMoveEvent* e) override;
  void dropEvent(QDropEvent* e) override;

 private:
  const Surface& surface_;
};

// A rectangle outline drawn inside its own bounds; it never takes the mouse.
class OutlineBox : public QWidget {
  Q_OBJECT
 public:
  OutlineBox(const QColor& colour, int width, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* e) override;

 private:
  QColor colour_;
  int width_;
};

}  // namespace qv
