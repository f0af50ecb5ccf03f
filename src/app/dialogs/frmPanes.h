// The Pane properties dialog (frmPanes): shows ws.dialogs.panes and hands
// every edit to the engine's handlers. Created once by the main window and
// kept hidden between uses.
#pragma once
#include "shell/Workspace.h"

#include <QDialog>

class QTabWidget;

namespace qv {

class frmPanes : public QDialog {
  Q_OBJECT
 public:
  frmPanes(Workspace& ws, QWidget* parent);
  QTabWidget* tabs() const { return tabs_; }

 public slots:
  // The controls show the dialog's values in the workspace.
  void refresh();

 private:
  Workspace& ws_;
  QTabWidget* tabs_ = nullptr;
};

}  // namespace qv
