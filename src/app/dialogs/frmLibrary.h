// The pane library picker (frmLibrary): shows ws.dialogs.library and hands
// every choice to the engine. Created once by the main window and kept hidden.
#pragma once
#include "shell/Workspace.h"

#include <QDialog>

class QLabel;
class QListWidget;
class QTabWidget;

namespace qv {

class frmLibrary : public QDialog {
  Q_OBJECT
 public:
  frmLibrary(Workspace& ws, QWidget* parent);
  QTabWidget* tabs() const { return tabs_; }

 public slots:
  // The controls show the picker's values in the workspace.
  void refresh();

 private:
  QWidget* listPage(const QString& caption, const QString& listName, const QString& boxName, QListWidget*& list,
                    QLabel*& box);
  // Runs an engine handler for a user's action, then shows the new state.
  template <typename F>
  void act(F&& f);

  Workspace& ws_;
  QTabWidget* tabs_ = nullptr;
  QLabel* info_ = nullptr;
  QListWidget* libraries_ = nullptr;
  QListWidget* images_ = nullptr;
  QLabel* libraryPreview_ = nullptr;
  QLabel* imagePreview_ = nullptr;
};

}  // namespace qv
