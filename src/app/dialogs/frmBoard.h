// The Board properties dialog (frmBoard, "Board Globals"): shows
// ws.dialogs.board and hands every edit to the engine's handlers. Created
// once by the main window and kept hidden between uses.
#pragma once
#include "shell/Workspace.h"

#include <QDialog>

class QTabWidget;

namespace qv {

class frmBoard : public QDialog {
  Q_OBJECT
 public:
  frmBoard(Workspace& ws, QWidget* parent);
  QTabWidget* tabs() const { return tabs_; }

 public slots:
  void refresh();

 private:
  Workspace& ws_;
  QTabWidget* tabs_ = nullptr;
};

}  // namespace qv
