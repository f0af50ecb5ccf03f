// Layout of the pane library picker.
#include "app/dialogs/frmLibrary.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QTabWidget>
#include <QVBoxLayout>

namespace qv {

namespace {

// A tab with a list on the left and a 200 x 200 preview on the right.
void listPage(QTabWidget* tabs, const QString& caption, const QString& list, const QString& preview) {
  auto* w = new QWidget;
  auto* h = new QHBoxLayout(w);
  auto* l = new QListWidget(w);
  l->setObjectName(list);
  auto* p = new QLabel(w);
  p->setObjectName(preview);
  p->setFixedSize(200, 200);
  p->setFrameShape(QFrame::Box);
  h->addWidget(l, 1);
  h->addWidget(p);
  tabs->addTab(w, caption);
}

}  // namespace

frmLibrary::frmLibrary(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmLibrary"));
  setWindowTitle(QStringLiteral("Panes - Available Libraries :"));
  setModal(true);
  tabs_ = new QTabWidget(this);
  tabs_->setObjectName(QStringLiteral("SSTab1"));
  listPage(tabs_, QStringLiteral("Library"), QStringLiteral("List_Libraries"), QStringLiteral("picLibraryPreview"));
  listPage(tabs_, QStringLiteral("Image"), QStringLiteral("List_Images"), QStringLiteral("picImagePreview"));
  tabs_->setCurrentIndex(0);
  auto* info = new QLabel(this);
  info->setObjectName(QStringLiteral("Label1"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_);
  layout->addWidget(info);
  resize(460, 320);
}

}  // namespace qv
