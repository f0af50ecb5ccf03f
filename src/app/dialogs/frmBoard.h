// The Board properties dialog (frmBoard, "Board Globals"): the help browser
// lists, the colour lists and swatches and the three option pairs. Created
// once by the main window and kept hidden.
#pragma once
#include "shell/Workspace.h"

#include <QDialog>

class QButtonGroup;
class QGridLayout;
class QLabel;
class QTabWidget;

namespace qv {

class frmBoard : public QDialog {
  Q_OBJECT
 public:
  frmBoard(Workspace& ws, QWidget* parent);
  QTabWidget* tabs() const { return tabs_; }
  // The option buttons show the workspace's option state.
  void refresh();

 private:
  QButtonGroup* optionPair(QGridLayout* grid, int row, const QString& caption, const QString& tip,
                           const QString& name, int MainWindowState::*field);
  void colourRow(QGridLayout* grid, int row, const QString& caption, const QString& tip, const QString& combo,
                 const QString& swatch);

  Workspace& ws_;
  QTabWidget* tabs_ = nullptr;
  QLabel* info_ = nullptr;
  QButtonGroup* boardMove_ = nullptr;
  QButtonGroup* floatPanes_ = nullptr;
  QButtonGroup* wirePanes_ = nullptr;
};

}  // namespace qv
