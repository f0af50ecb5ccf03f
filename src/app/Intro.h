// The intro picture (picIntro) shown at start, with its two choices
// Label_IntroChoice(0) "Blank new Project" and (1) "Load existing Project",
// and below them the recent projects (our addition).
#pragma once
#include <QStringList>
#include <QWidget>
#include <array>

namespace qv {

class ClickLabel;

class IntroPicture : public QWidget {
  Q_OBJECT
 public:
  explicit IntroPicture(QWidget* parent);
  ClickLabel* choice(int index) const { return choices_[size_t(index)]; }
  // Shows the recent projects (paths, newest first) below the choices,
  // each as its name and folder; one that is no longer there is greyed.
  void setRecent(const QStringList& paths);
  // The height the recent projects add to the intro.
  int recentHeight() const;

 signals:
  void choiceClicked(int index);
  void recentClicked(const QString& path);

 protected:
  void paintEvent(QPaintEvent* e) override;

 private:
  std::array<ClickLabel*, 2> choices_{};
  QList<ClickLabel*> recent_;
};

}  // namespace qv
