// Layout of the Board properties dialog; its option pairs write the choice
// straight into the workspace's window state.
#include "app/dialogs/frmBoard.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

namespace qv {

namespace {

QWidget* page(QTabWidget* tabs, const QString& caption) {
  auto* w = new QWidget;
  new QVBoxLayout(w);
  tabs->addTab(w, caption);
  return w;
}

QGridLayout* frame(QWidget* parent, const QString& caption, const QString& tip = {}) {
  auto* box = new QGroupBox(caption, parent);
  box->setToolTip(tip);
  parent->layout()->addWidget(box);
  return new QGridLayout(box);
}

const QString kColourTip = QStringLiteral("Select a pre-Defined Color ...");

}  // namespace

frmBoard::frmBoard(Workspace& ws, QWidget* parent) : QDialog(parent), ws_(ws) {
  setObjectName(QStringLiteral("frmBoard"));
  setWindowTitle(QStringLiteral("Board Globals"));
  setModal(true);

  tabs_ = new QTabWidget(this);
  tabs_->setObjectName(QStringLiteral("SSTab1"));

  // Help: topics, references and the text of the chosen reference.
  QWidget* help = page(tabs_, QStringLiteral("Help"));
  QGridLayout* topics = frame(help, QStringLiteral("General Topics : "), QStringLiteral("Simple Help."));
  topics->addWidget(new QLabel(QStringLiteral("Choose a Topic, then select a Reference :")), 0, 0, 1, 2);
  auto* comboHelp = new QComboBox;
  comboHelp->setObjectName(QStringLiteral("Combo_Help"));
  comboHelp->setToolTip(QStringLiteral("Select a Topic"));
  auto* listHelp = new QListWidget;
  listHelp->setObjectName(QStringLiteral("List_Help"));
  listHelp->setToolTip(QStringLiteral("Select a Reference"));
  auto* textHelp = new QPlainTextEdit;
  textHelp->setObjectName(QStringLiteral("Text_Help"));
  textHelp->setToolTip(QStringLiteral("Simple Help."));
  textHelp->setReadOnly(true);
  textHelp->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  topics->addWidget(comboHelp, 1, 0);
  topics->addWidget(listHelp, 2, 0);
  topics->addWidget(textHelp, 1, 1, 2, 1);

  // Assigned: Board move, Label colour and the two selection styles.
  QWidget* assigned = page(tabs_, QStringLiteral("Assigned"));
  QGridLayout* articles = frame(assigned, QStringLiteral("Articles :"));
  boardMove_ = optionPair(articles, 0, QStringLiteral("Board Can be Mouse Moved  :"),
                          QStringLiteral("A Board may be moved around if no Pane is selected."),
                          QStringLiteral("Option_BoardMove"), &MainWindowState::Option_BoardMove);
  colourRow(articles, 1, QStringLiteral("Label Color"), QStringLiteral("The Color of the unique Label per any Pane."),
            QStringLiteral("Combo_LabelCol"), QStringLiteral("picLabelCol"));
  floatPanes_ = optionPair(articles, 2, QStringLiteral("Dominant Pane Float, Dominant Show Cels :"),
                           QStringLiteral("On Mouse selection a Pane floats over all others despite Layer order."),
                           QStringLiteral("Option_FloatPanes"), &MainWindowState::Option_FloatPanes);
  wirePanes_ = optionPair(articles, 3, QStringLiteral("Panes Wire Only Selection :"),
                          QStringLiteral("On Mouse selection a Pane may be Wire for slow machines."),
                          QStringLiteral("Option_WirePanes"), &MainWindowState::Option_WirePanes);

  // Ground: selection box colour and the Board's back colour.
  QWidget* ground = page(tabs_, QStringLiteral("Ground"));
  QGridLayout* constituent = frame(ground, QStringLiteral("Constituent :"));
  colourRow(constituent, 0, QStringLiteral("Box Select Color :"),
            QStringLiteral("On Mouse Select in RunMode, the Box Color which appears."),
            QStringLiteral("Combo_SelectionColor"), QStringLiteral("picBoxSelectColor"));
  colourRow(constituent, 1, QStringLiteral("Use Back Color :"),
            QStringLiteral("A Board's Background is made entirely of Color."), QStringLiteral("Combo_BackColType"),
            QStringLiteral("picSwatch"));
  static_cast<QVBoxLayout*>(ground->layout())->addStretch();

  QWidget* about = page(tabs_, QStringLiteral("About"));
  auto* aboutText = new QLabel(QStringLiteral("Quorvel v1.0\n\nA small authoring tool for interactive picture "
                                              "presentations. Free to use and to pass on."));
  aboutText->setWordWrap(true);
  aboutText->setAlignment(Qt::AlignCenter);
  about->layout()->addWidget(aboutText);

  tabs_->setCurrentIndex(1);
  info_ = new QLabel(this);
  info_->setObjectName(QStringLiteral("Label1"));
  info_->setWordWrap(true);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_);
  layout->addWidget(info_);
  resize(520, 420);
  refresh();
}

QButtonGroup* frmBoard::optionPair(QGridLayout* grid, int row, const QString& caption, const QString& tip,
                                   const QString& name, int MainWindowState::*field) {
  auto* box = new QGroupBox(caption);
  box->setToolTip(tip);
  auto* h = new QHBoxLayout(box);
  auto* group = new QButtonGroup(this);
  const QString texts[2] = {QStringLiteral("No"), QStringLiteral("Yes")};
  for (int i = 0; i < 2; ++i) {
    auto* b = new QRadioButton(texts[i], box);
    b->setObjectName(name + QLatin1Char('_') + QString::number(i));
    group->addButton(b, i);
    h->addWidget(b);
  }
  h->addStretch();
  grid->addWidget(box, row, 0, 1, 2);
  connect(group, &QButtonGroup::idToggled, this, [this, field](int id, bool on) {
    if (on) ws_.win.*field = id;
  });
  return group;
}

void frmBoard::colourRow(QGridLayout* grid, int row, const QString& caption, const QString& tip,
                         const QString& combo, const QString& swatch) {
  auto* box = new QGroupBox(caption);
  box->setToolTip(tip);
  auto* g = new QGridLayout(box);
  auto* list = new QComboBox(box);
  list->setObjectName(combo);
  list->setToolTip(kColourTip);
  auto* well = new QFrame(box);
  well->setObjectName(swatch);
  well->setFrameShape(QFrame::Box);
  well->setFixedSize(40, 20);
  well->setAutoFillBackground(true);
  g->addWidget(new QLabel(QStringLiteral("Select :")), 0, 0);
  g->addWidget(list, 0, 1);
  g->addWidget(new QLabel(QStringLiteral("Current Use :")), 0, 2);
  g->addWidget(well, 0, 3);
  g->setColumnStretch(1, 1);
  grid->addWidget(box, row, 0, 1, 2);
}

void frmBoard::refresh() {
  const std::pair<QButtonGroup*, int> pairs[] = {{boardMove_, ws_.win.Option_BoardMove},
                                                 {floatPanes_, ws_.win.Option_FloatPanes},
                                                 {wirePanes_, ws_.win.Option_WirePanes}};
  for (const auto& [group, value] : pairs) {
    QAbstractButton* b = group->button(value);
    if (b && !b->isChecked()) {
      const QSignalBlocker block(group);
      b->setChecked(true);
    }
  }
}

}  // namespace qv
