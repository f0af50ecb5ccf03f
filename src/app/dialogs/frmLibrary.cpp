// The pane library picker.
#include "app/dialogs/frmLibrary.h"

#include <QTabWidget>
#include <QVBoxLayout>

namespace qv {

frmLibrary::frmLibrary(Workspace& ws, QWidget* parent) : QDialog(parent), ws_(ws) {
  setObjectName(QStringLiteral("frmLibrary"));
  setWindowTitle(QStringLiteral("Panes - Available Libraries :"));
  setModal(true);
  tabs_ = new QTabWidget(this);
  tabs_->setObjectName(QStringLiteral("SSTab1"));
  tabs_->addTab(new QWidget, QStringLiteral("Library"));
  tabs_->addTab(new QWidget, QStringLiteral("Image"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_);
}

void frmLibrary::refresh() { tabs_->setCurrentIndex(ws_.dialogs.library.Tab); }

}  // namespace qv
