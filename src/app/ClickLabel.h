// A label that reports a left click (press and release over it), as the
// clickable labels and images of the main window need.
#pragma once
#include <QLabel>

namespace qv {

class ClickLabel : public QLabel {
  Q_OBJECT
 public:
  explicit ClickLabel(QWidget* parent = nullptr) : QLabel(parent) {}
  ClickLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {}

 signals:
  void clicked();

 protected:
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;

 private:
  bool pressed_ = false;
};

}  // namespace qv
