// The pane library picker (frmLibrary): the library list and image list with
// their previews. Created once by the main window and kept hidden.
#pragma once
#include <QDialog>

class QTabWidget;

namespace qv {

class frmLibrary : public QDialog {
  Q_OBJECT
 public:
  explicit frmLibrary(QWidget* parent);
  QTabWidget* tabs() const { return tabs_; }

 private:
  QTabWidget* tabs_ = nullptr;
};

}  // namespace qv
