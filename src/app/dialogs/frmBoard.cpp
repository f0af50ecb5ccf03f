// The Board properties dialog.
#include "app/dialogs/frmBoard.h"

#include <QTabWidget>
#include <QVBoxLayout>

namespace qv {

frmBoard::frmBoard(Workspace& ws, QWidget* parent) : QDialog(parent), ws_(ws) {
  setObjectName(QStringLiteral("frmBoard"));
  setWindowTitle(QStringLiteral("Board Globals"));
  setModal(true);
  tabs_ = new QTabWidget(this);
  tabs_->setObjectName(QStringLiteral("SSTab1"));
  for (const char* caption : {"Help", "Assigned", "Ground", "About"}) tabs_->addTab(new QWidget, QString::fromLatin1(caption));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_);
}

void frmBoard::refresh() { tabs_->setCurrentIndex(ws_.dialogs.board.Tab); }

}  // namespace qv
