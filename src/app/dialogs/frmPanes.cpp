// The Pane properties dialog.
#include "app/dialogs/frmPanes.h"

#include <QTabWidget>
#include <QVBoxLayout>

namespace qv {

frmPanes::frmPanes(Workspace& ws, QWidget* parent) : QDialog(parent), ws_(ws) {
  setObjectName(QStringLiteral("frmPanes"));
  setModal(true);
  tabs_ = new QTabWidget(this);
  tabs_->setObjectName(QStringLiteral("SSTab1"));
  for (const char* caption : {"Writing", "Assigned", "Data", "Effects", "Animation"})
    tabs_->addTab(new QWidget, QString::fromLatin1(caption));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_);
}

void frmPanes::refresh() {
  setWindowTitle(ws_.dialogs.panes.Caption);
  tabs_->setCurrentIndex(ws_.dialogs.panes.Tab);
}

}  // namespace qv
