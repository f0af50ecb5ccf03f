// The intro picture (picIntro) shown at start, with its two choices
// Label_IntroChoice(0) "Blank new Project" and (1) "Load existing Project".
#pragma once
#include <QWidget>
#include <array>

namespace qv {

class ClickLabel;

class IntroPicture : public QWidget {
  Q_OBJECT
 public:
  explicit IntroPicture(QWidget* parent);
  ClickLabel* choice(int index) const { return choices_[size_t(index)]; }

 signals:
  void choiceClicked(int index);

 protected:
  void paintEvent(QPaintEvent* e) override;

 private:
  std::array<ClickLabel*, 2> choices_{};
};

}  // namespace qv
