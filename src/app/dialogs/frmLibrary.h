// The pane library picker (frmLibrary): shows ws.dialogs.library and hands
// every choice to the engine. Created once by the main window and kept hidden.
#pragma once
#include "shell/Workspace.h"

#include <QDialog>

class QTabWidget;

namespace qv {

class frmLibrary : public QDialog {
  Q_OBJECT
 public:
  frmLibrary(Workspace& ws, QWidget* parent);
  QTabWidget* tabs() const { return tabs_; }

 public slots:
  void refresh();

 private:
  Workspace& ws_;
  QTabWidget* tabs_ = nullptr;
};

}  // namespace qv
