// The Pane properties dialog (frmPanes): five tabs in SSTab1 holding the
// lists the start-up fills. Created once by the main window and kept hidden.
#pragma once
#include <QDialog>

class QComboBox;
class QGridLayout;
class QLabel;
class QTabWidget;

namespace qv {

class frmPanes : public QDialog {
  Q_OBJECT
 public:
  explicit frmPanes(QWidget* parent);
  QTabWidget* tabs() const { return tabs_; }

 private:
  QComboBox* addCombo(QGridLayout* grid, int row, const QString& label, const QString& name,
                      const QString& tip = {});

  QTabWidget* tabs_ = nullptr;
  QLabel* info_ = nullptr;
};

}  // namespace qv
