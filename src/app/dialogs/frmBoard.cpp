// The Board properties dialog: the help browser, the Board's options and
// colours, its Background picture and an About page, over the dialog's
// values in the workspace.
#include "app/dialogs/frmBoard.h"

#include "properties/BoardProperties.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

namespace qv {

namespace {

QPushButton* browseButton(int index, const QString& tip) {
  auto* b = new QPushButton(QStringLiteral(" ..."));
  b->setObjectName(QStringLiteral("Button_frmBoard_%1").arg(index));
  b->setToolTip(tip);
  b->setAutoDefault(false);
  return b;
}

QHBoxLayout* pairRow(const OptionPair& pair) {
  auto* row = new QHBoxLayout;
  row->addWidget(pair.button[0]);
  row->addWidget(pair.button[1]);
  row->addStretch();
  return row;
}

}  // namespace

template <typename F>
void frmBoard::act(F&& f) {
  f();
  refresh();
}

frmBoard::frmBoard(Workspace& ws, QWidget* parent) : QDialog(parent), ws_(ws), d_(ws.dialogs.board) {
  setObjectName(QStringLiteral("frmBoard"));
  setWindowTitle(QStringLiteral("Board Globals"));
  setModal(true);
  setSizeGripEnabled(true);

  tabs_ = new QTabWidget;
  tabs_->setObjectName(QStringLiteral("SSTab1"));
  tabs_->addTab(buildHelp(), QStringLiteral("&Help"));
  tabs_->addTab(buildAssigned(), QStringLiteral("&Assigned"));
  tabs_->addTab(buildGround(), QStringLiteral("&Ground"));
  tabs_->addTab(buildAbout(), QStringLiteral("A&bout"));
  connect(tabs_, &QTabWidget::currentChanged, this, [this](int tab) { act([&] { frmBoard_SSTab1_Click(ws_, tab); }); });

  label1_ = helpLine();
  QDialogButtonBox* buttons = acceptCancel(QStringLiteral("Button_frmBoard"), QStringLiteral("Okay"), this,
                                           [this](int i) { act([&] { Button_frmBoard_Click(ws_, i); }); });

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_, 1);
  layout->addWidget(label1_);
  layout->addWidget(buttons);
  refresh();
}

QComboBox* frmBoard::boardCombo(const QString& name, const QString& tip, ListState BoardDialogState::*list,
                                void (*handler)(Workspace&)) {
  QComboBox* box = combo(name, tip, this, [this, list, handler](int index) {
    act([&] {
      (d_.*list).Index = index;
      handler(ws_);
    });
  });
  bound_.combos.push_back({box, list});
  return box;
}

ColourWell* frmBoard::swatch(const QString& name, Long BoardDialogState::*colour, void (*handler)(Workspace&)) {
  auto* well = new ColourWell(name);
  connect(well, &ColourWell::clicked, this, [this, handler] { act([&] { handler(ws_); }); });
  bound_.swatches.push_back({well, colour});
  return well;
}

OptionPair frmBoard::boardOption(const QString& name, const QString& no, const QString& yes,
                                 int BoardDialogState::*option, void (*handler)(Workspace&, int)) {
  OptionPair pair = optionPair(name, no, yes, this, [this, handler](int index) { act([&] { handler(ws_, index); }); });
  bound_.options.push_back({pair, option});
  return pair;
}

OptionPair frmBoard::boardOption(const QString& name, int BoardOptionPairs::*option, void (*handler)(Workspace&, int)) {
  OptionPair pair = optionPair(name, QStringLiteral("No"), QStringLiteral("Yes"), this,
                               [this, handler](int index) { act([&] { handler(ws_, index); }); });
  projectOptions_.push_back({pair, option});
  return pair;
}

QWidget* frmBoard::colourFrame(const QString& caption, const QString& tip, QComboBox* list, ColourWell* well,
                               int button, const QString& selectCaption, const QString& currentCaption) {
  auto* box = frame(caption, tip);
  QPushButton* browse = browseButton(button, QStringLiteral("Browse the Color dialog."));
  connect(browse, &QPushButton::clicked, this, [this, button] { act([&] { Button_frmBoard_Click(ws_, button); }); });
  well->setAccessibleName(caption);
  auto* grid = new QGridLayout(box);
  grid->addWidget(label(selectCaption, list), 0, 0);
  grid->addWidget(list, 0, 1);
  grid->addWidget(label(currentCaption, well), 1, 0);
  auto* current = new QHBoxLayout;
  current->addWidget(well);
  current->addWidget(browse);
  current->addStretch();
  grid->addLayout(current, 1, 1);
  grid->setColumnStretch(2, 1);
  return box;
}

QWidget* frmBoard::buildHelp() {
  auto* page = new QWidget;
  auto* topics = frame(QStringLiteral("General Topics : "), QStringLiteral("Simple Help."));
  QComboBox* topic = boardCombo(QStringLiteral("Combo_Help"), QStringLiteral("Select a Topic"),
                                &BoardDialogState::Combo_Help, Combo_Help_Click);
  listHelp_ = new QListWidget;
  listHelp_->setObjectName(QStringLiteral("List_Help"));
  listHelp_->setToolTip(QStringLiteral("Select a Reference"));
  connect(listHelp_, &QListWidget::currentRowChanged, this, [this](int row) {
    act([&] {
      d_.List_Help.Index = row;
      List_Help_Click(ws_);
    });
  });
  textHelp_ = new QPlainTextEdit;
  textHelp_->setObjectName(QStringLiteral("Text_Help"));
  textHelp_->setToolTip(QStringLiteral("Simple Help."));
  textHelp_->setReadOnly(true);
  textHelp_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  textHelp_->setTabChangesFocus(true);

  auto* grid = new QGridLayout(topics);
  grid->addWidget(label(QStringLiteral("Choose a &Topic, then select a Reference :"), topic), 0, 0, 1, 2);
  grid->addWidget(topic, 1, 0);
  grid->addWidget(listHelp_, 2, 0);
  grid->addWidget(textHelp_, 1, 1, 2, 1);
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(2, 1);
  (new QVBoxLayout(page))->addWidget(topics);
  return page;
}

QWidget* frmBoard::buildAssigned() {
  auto* page = new QWidget;
  auto* articles = frame(QStringLiteral("Articles :"));

  auto* move = frame(QStringLiteral("Board Can be &Mouse Moved  :"),
                     QStringLiteral("A Board may be moved around if no Pane is selected."));
  move->setLayout(pairRow(boardOption(QStringLiteral("Option_BoardMove"), &BoardOptionPairs::Option_BoardMove,
                                      Option_BoardMove_Click)));

  QComboBox* labelList = boardCombo(QStringLiteral("Combo_LabelCol"), QStringLiteral("Select a pre-Defined Color ..."),
                                    &BoardDialogState::Combo_LabelCol, Combo_LabelCol_Click);
  QWidget* labelColour =
      colourFrame(QStringLiteral("Label Color"), QStringLiteral("The Color of the unique Label per any Pane."), labelList,
                  swatch(QStringLiteral("picLabelCol"), &BoardDialogState::picLabelCol, picLabelCol_Click), 4,
                  QStringLiteral("&Select :"), QStringLiteral("Current &Use :"));

  auto* floating = frame(QStringLiteral("Dominant Pane &Float, Dominant Show Cels :"),
                         QStringLiteral("On Mouse selection a Pane floats over all others despite Layer order."));
  floatPanes_ = boardOption(QStringLiteral("Option_FloatPanes"), &BoardOptionPairs::Option_FloatPanes, Option_FloatPanes_Click);
  floating->setLayout(pairRow(floatPanes_));

  auto* wire = frame(QStringLiteral("Panes &Wire Only Selection :"),
                     QStringLiteral("On Mouse selection a Pane may be Wire for slow machines."));
  wire->setLayout(pairRow(boardOption(QStringLiteral("Option_WirePanes"), &BoardOptionPairs::Option_WirePanes,
                                      Option_WirePanes_Click)));

  auto* grid = new QGridLayout(articles);
  grid->addWidget(move, 0, 0);
  grid->addWidget(labelColour, 0, 1);
  grid->addWidget(floating, 1, 0);
  grid->addWidget(wire, 1, 1);
  auto* col = new QVBoxLayout(page);
  col->addWidget(label(QStringLiteral("Assigned :")));
  col->addWidget(articles);
  col->addStretch();
  return page;
}

QWidget* frmBoard::buildGround() {
  auto* page = new QWidget;
  QComboBox* boxList = boardCombo(QStringLiteral("Combo_SelectionColor"), QStringLiteral("Select a pre-Defined Color ..."),
                                  &BoardDialogState::Combo_SelectionColor, Combo_SelectionColor_Click);
  QWidget* boxColour = colourFrame(
      QStringLiteral("Box Select Color :"), QStringLiteral("On Mouse Select in RunMode, the Box Color which appears."), boxList,
      swatch(QStringLiteral("picBoxSelectColor"), &BoardDialogState::picBoxSelectColor, picBoxSelectColor_Click), 5,
      QStringLiteral("Se&lect :"), QStringLiteral("Cu&rrent Use :"));
  QComboBox* backList = boardCombo(QStringLiteral("Combo_BackColType"), QStringLiteral("Select a pre-Defined Color ..."),
                                   &BoardDialogState::Combo_BackColType, Combo_BackColType_Click);
  QWidget* backColour = colourFrame(QStringLiteral("Use Back Color :"),
                                    QStringLiteral("A Board's Background is made entirely of Color."), backList,
                                    swatch(QStringLiteral("picSwatch"), &BoardDialogState::picSwatch, picSwatch_Click), 3,
                                    QStringLiteral("&Select :"), QStringLiteral("Current &Use :"));

  auto* picture = frame(QStringLiteral("Use &Picture :"), QStringLiteral("A Background may have a single Picture."));
  const OptionPair use = boardOption(QStringLiteral("Option_UseBackPicture"), QStringLiteral("Inactive"),
                                     QStringLiteral("Active"), &BoardDialogState::Option_UseBackPicture,
                                     Option_UseBackPicture_Click);
  backPicture_ = new QLineEdit;
  backPicture_->setObjectName(QStringLiteral("Text_BackPicture"));
  backPicture_->setReadOnly(true);
  backPicture_->setMaxLength(99);
  QPushButton* browse = browseButton(2, QStringLiteral("Browse for a Picture file."));
  connect(browse, &QPushButton::clicked, this, [this] { act([&] { Button_frmBoard_Click(ws_, 2); }); });
  auto* pictureGrid = new QGridLayout(picture);
  pictureGrid->addLayout(pairRow(use), 0, 0, 1, 2);
  pictureGrid->addWidget(backPicture_, 1, 0);
  pictureGrid->addWidget(browse, 1, 1);

  auto* col = new QVBoxLayout(page);
  col->addWidget(label(QStringLiteral("Constituent :")));
  col->addWidget(boxColour);
  col->addWidget(backColour);
  col->addWidget(picture);
  col->addStretch();
  return page;
}

QWidget* frmBoard::buildAbout() {
  auto* page = new QWidget;
  auto* about = new QLabel(
      QStringLiteral(
          "<p><b>Quorvel v1.0</b><br>by %1 &mdash; %2</p>"
          "<p>Quorvel is free to use and free to pass on. Copy it, give it to friends, put it on a disk or a "
          "server: keep every copy whole, with this page in it, and ask nobody to pay for it beyond what the "
          "copying itself costs.</p>"
          "<p>What you make with Quorvel belongs to you. Your Boards, Panes and projects may be shown, shared and "
          "handed on however you like.</p>"
          "<p>Quorvel comes as it is, with no promise that it suits any purpose; you use it at your own risk.</p>")
          .arg(Authors.toHtmlEscaped(), QString::fromLatin1(MakerAddress)));
  about->setObjectName(QStringLiteral("Label_About"));
  about->setWordWrap(true);
  about->setAlignment(Qt::AlignTop | Qt::AlignLeft);
  about->setTextInteractionFlags(Qt::TextSelectableByMouse);
  (new QVBoxLayout(page))->addWidget(about);
  return page;
}

void frmBoard::refresh() {
  {
    const QSignalBlocker block(tabs_);
    tabs_->setCurrentIndex(d_.Tab);
  }
  label1_->setText(d_.Label1);
  bound_.show(d_);
  showList(listHelp_, d_.List_Help);
  if (textHelp_->toPlainText() != d_.Text_Help) textHelp_->setPlainText(d_.Text_Help);
  for (const auto& [pair, option] : projectOptions_) pair.show(ws_.project.BoardOptions.*option);
  floatPanes_.button[1]->setEnabled(ws_.project.BoardOptions.Option_FloatPanesYesEnabled);
  showText(backPicture_, d_.Text_BackPicture.Text);
  showRed(backPicture_, d_.Text_BackPicture.Red);
}

void frmBoard::reject() { act([&] { Button_frmBoard_Click(ws_, 0); }); }

}  // namespace qv
