// The pane library picker: two tabs, each a list beside a 200 x 200 preview.
#include "app/dialogs/frmLibrary.h"
#include "app/dialogs/DialogParts.h"

#include "library/LibraryPicker.h"
#include "shell/WindowHost.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

namespace qv {
namespace {

void showBox(QLabel* label, const Surface& box) { label->setPixmap(QPixmap::fromImage(box.Image())); }

}  // namespace

frmLibrary::frmLibrary(Workspace& ws, QWidget* parent) : QDialog(parent), ws_(ws) {
  setObjectName(QStringLiteral("frmLibrary"));
  setWindowTitle(QStringLiteral("Panes - Available Libraries :"));
  setModal(true);

  tabs_ = new QTabWidget(this);
  tabs_->setObjectName(QStringLiteral("SSTab1"));
  tabs_->addTab(listPage(QStringLiteral("&Library"), QStringLiteral("List_Libraries"), QStringLiteral("picLibraryPreview"),
                         libraries_, libraryPreview_),
                QStringLiteral("Library"));
  tabs_->addTab(listPage(QStringLiteral("&Image"), QStringLiteral("List_Images"), QStringLiteral("picImagePreview"),
                         images_, imagePreview_),
                QStringLiteral("Image"));
  connect(tabs_, &QTabWidget::tabBarClicked, this, [this](int tab) { act([&] { frmLibrary_SSTab1_Click(ws_, tab); }); });
  connect(libraries_, &QListWidget::currentRowChanged, this, [this](int row) {
    act([&] {
      ws_.dialogs.library.List_Libraries.Index = row;
      List_Libraries_Click(ws_);
    });
  });
  connect(images_, &QListWidget::currentRowChanged, this, [this](int row) {
    act([&] {
      ws_.dialogs.library.List_Images.Index = row;
      List_Images_Click(ws_);
    });
  });

  info_ = new QLabel(this);
  info_->setObjectName(QStringLiteral("Label1"));
  info_->setWordWrap(true);

  // The picker's buttons carry the Board dialog's names.
  QDialogButtonBox* buttons = acceptCancel(QStringLiteral("Button_frmBoard"), QStringLiteral("Okay"), this,
                                           [this](int i) { act([&] { Button_frmLibrary_Click(ws_, i); }); });
  // Esc is the cancel button, as the window's close box is.
  connect(this, &QDialog::rejected, this, [this] { ws_.windows->HideDialog(DialogKind::Library); });

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_, 1);
  layout->addWidget(info_);
  layout->addWidget(buttons);
  refresh();
}

QWidget* frmLibrary::listPage(const QString& caption, const QString& listName, const QString& boxName,
                              QListWidget*& list, QLabel*& box) {
  auto* page = new QWidget;
  list = new QListWidget(page);
  list->setObjectName(listName);
  box = new QLabel(page);
  box->setObjectName(boxName);
  box->setFixedSize(200, 200);
  box->setFrameShape(QFrame::Panel);
  box->setFrameShadow(QFrame::Sunken);
  auto* label = new QLabel(caption, page);
  label->setBuddy(list);
  auto* column = new QVBoxLayout;
  column->addWidget(label);
  column->addWidget(list, 1);
  auto* row = new QHBoxLayout(page);
  row->addLayout(column, 1);
  row->addWidget(box, 0, Qt::AlignTop);
  return page;
}

template <typename F>
void frmLibrary::act(F&& f) {
  f();
  refresh();
}

void frmLibrary::refresh() {
  const LibraryDialogState& d = ws_.dialogs.library;
  if (tabs_->currentIndex() != d.Tab) {
    const QSignalBlocker block(tabs_);
    tabs_->setCurrentIndex(d.Tab);
  }
  info_->setText(d.Label1);
  showList(libraries_, d.List_Libraries);
  showList(images_, d.List_Images);
  showBox(libraryPreview_, d.picLibraryPreview);
  showBox(imagePreview_, d.picImagePreview);
}

}  // namespace qv
