// The Pane properties dialog: five tabs of controls over the dialog's values
// in the workspace. Every user action goes to the engine's handler, then the
// controls show the state again.
#include "app/dialogs/frmPanes.h"

#include "properties/PaneProperties.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QValidator>

namespace qv {

namespace {

constexpr int WritingMaxLength = 500;

// A numeric box's validator: what was pasted, dropped or typed goes through
// the engine's Text_Val_Insert (the key filter, the box's length, the change
// rule). The text before the edit is the box's text in the workspace. (A
// typed key the filter refuses never reaches the box: the dialog's event
// filter stops it, so the selection and caret stay.)
class ValBoxValidator : public QValidator {
 public:
  ValBoxValidator(Workspace& ws, int k, const bool& refreshing, QObject* parent)
      : QValidator(parent), ws_(ws), k_(k), refreshing_(refreshing) {}

  State validate(QString& input, int& pos) const override {
    const QString old = ws_.dialogs.panes.Text_Val[size_t(k_)].Text;
    if (refreshing_ || input == old) return Acceptable;
    // The edit replaced the middle of the old text; the cursor stands at the
    // end of what was put in, so everything after it is the old text's end.
    int tail = 0;
    const int maxTail = std::min<int>(old.size(), input.size() - pos);
    while (tail < maxTail && old[old.size() - 1 - tail] == input[input.size() - 1 - tail]) ++tail;
    int head = 0;
    const int maxHead = std::min<int>(old.size(), input.size()) - tail;
    while (head < maxHead && old[head] == input[head]) ++head;
    const QString inserted = input.mid(head, input.size() - tail - head);
    qsizetype typed = 0;
    const auto edited = Text_Val_Insert(ws_, k_, input.left(head), inserted, input.right(tail), &typed);
    if (!edited) {
      // Every key refused: the box stays as it was, also over a selection.
      input = old;
      pos = std::min<int>(head, int(old.size()));
      return Acceptable;
    }
    // The caret after what went in, or at the end when the rule rewrote the text.
    const QString unchanged = input.left(head) + edited->mid(head, typed) + input.right(tail);
    pos = *edited == unchanged && edited->size() == head + typed + tail ? head + int(typed) : int(edited->size());
    input = *edited;
    return Acceptable;
  }

 private:
  Workspace& ws_;
  int k_;
  const bool& refreshing_;
};

// The Label and URL boxes refuse the project text's field separator.
class SeparatorValidator : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int& pos) const override {
    const QString kept = WithoutSeparator(input);
    if (kept.size() != input.size()) {
      pos = std::max(0, pos - int(input.size() - kept.size()));
      input = kept;
    }
    return Acceptable;
  }
};

int textWidth(const QWidget* w, int digits) {
  return w->fontMetrics().horizontalAdvance(QString(digits + 1, QLatin1Char('0'))) + 16;
}

}  // namespace

// The Writing box: every key with a character goes through the engine's key
// filter (which makes the Writing "Active"); at most 500 characters; pasted
// and dropped text loses the separator and what does not fit.
class WritingBox : public QPlainTextEdit {
 public:
  std::function<bool(QChar)> keyPress;
  std::function<void()> keyed;

 protected:
  void keyPressEvent(QKeyEvent* e) override {
    const QString text = e->text();
    const bool focusKey = e->key() == Qt::Key_Tab || e->key() == Qt::Key_Backtab || e->key() == Qt::Key_Escape;
    if (text.isEmpty() || focusKey) {
      QPlainTextEdit::keyPressEvent(e);
      return;
    }
    bool refused = false;
    for (QChar c : text) refused |= !keyPress(c);
    const bool inserts = text.at(0) >= QLatin1Char(' ') || text == QLatin1String("\r");
    if (inserts && room() < text.size()) refused = true;
    if (refused) e->accept();
    else QPlainTextEdit::keyPressEvent(e);
    keyed();
  }

  void insertFromMimeData(const QMimeData* source) override {
    const QString text = WithoutSeparator(source->text());
    insertPlainText(text.left(std::max<qsizetype>(0, room())));
  }

 private:
  // Characters that may still go in, replacing the selection.
  qsizetype room() const {
    return WritingMaxLength - toPlainText().size() + textCursor().selectedText().size();
  }
};

template <typename F>
void frmPanes::act(F&& f) {
  f();
  refresh();
}

frmPanes::frmPanes(Workspace& ws, QWidget* parent) : QDialog(parent), ws_(ws), d_(ws.dialogs.panes) {
  setObjectName(QStringLiteral("frmPanes"));
  setModal(true);
  setSizeGripEnabled(true);

  tabs_ = new QTabWidget;
  tabs_->setObjectName(QStringLiteral("SSTab1"));
  tabs_->addTab(buildWriting(), QStringLiteral("&Writing"));
  tabs_->addTab(buildAssigned(), QStringLiteral("&Assigned"));
  tabs_->addTab(buildData(), QStringLiteral("&Data"));
  tabs_->addTab(buildEffects(), QStringLiteral("&Effects"));
  tabs_->addTab(buildAnimation(), QStringLiteral("A&nimation"));
  connect(tabs_, &QTabWidget::currentChanged, this, [this](int tab) { act([&] { SSTab1_Click(ws_, tab); }); });

  label1_ = helpLine();
  QDialogButtonBox* buttons = acceptCancel(QStringLiteral("Button_frmPanes"), {}, this, [this](int i) {
    // Storing may rescale a picture: the wait pointer shows meanwhile.
    if (i == 1) QApplication::setOverrideCursor(Qt::WaitCursor);
    Button_frmPanes_Click(ws_, i);
    if (i == 1) QApplication::restoreOverrideCursor();
    refresh();
  });

  popular_ = new QMenu(QStringLiteral("Popular Values"), this);
  popular_->setObjectName(QStringLiteral("mnuPopularValues"));
  const int values[6] = {5, 10, 25, 50, 75, 99};
  for (int i = 0; i < 6; ++i) {
    QAction* a = popular_->addAction(QStringLiteral("%1").arg(values[i], 2, 10, QLatin1Char('0')));
    a->setObjectName(QStringLiteral("mnuPopularValues_%1").arg(values[i]));
    connect(a, &QAction::triggered, this, [this, i] { act([&] { mnuPopularValues_Click(ws_, i); }); });
  }

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_, 1);
  layout->addWidget(label1_);
  layout->addWidget(buttons);
  refresh();
}

QLineEdit* frmPanes::valBox(int k) {
  static const char* const tips[ValBoxCount] = {
      "Maximum : 99", "Maximum : 99", "Maximum : 99", "Fastest : 3", "Longest : 9",  "Maximum : 99",
      "Maximum : 99", "Most : 5",     "Most : 5",     "20 to 200",   "20 to 200",    "Maximum : 99",
      "Longest : 3",  "20 to 200",    "20 to 200",    "Longest : 99"};
  auto* box = new QLineEdit;
  box->setObjectName(QStringLiteral("Text_Val_%1").arg(k));
  box->setToolTip(QString::fromLatin1(tips[k]));
  // The length is kept by the validator, which drops letters before it cuts.
  box->setFixedWidth(textWidth(box, ValBoxRuleOf(k).length));
  box->installEventFilter(this);
  if (k == 5) {
    box->setEnabled(false);
  } else {
    box->setValidator(new ValBoxValidator(ws_, k, refreshing_, box));
    connect(box, &QLineEdit::textEdited, this, [this] { refresh(); });
  }
  val_[size_t(k)] = box;
  return box;
}

QComboBox* frmPanes::paneCombo(const QString& name, const QString& tip, ListState PaneDialogState::*list,
                               void (*handler)(Workspace&)) {
  QComboBox* box = combo(name, tip, this, [this, list, handler](int index) {
    act([&] {
      (d_.*list).Index = index;
      if (handler) handler(ws_);
    });
  });
  bound_.combos.push_back({box, list});
  return box;
}

OptionPair frmPanes::paneOption(const QString& name, const QString& no, const QString& yes,
                                int PaneDialogState::*option, void (*handler)(Workspace&, int)) {
  OptionPair pair = optionPair(name, no, yes, this, [this, option, handler](int index) {
    act([&] {
      if (handler) handler(ws_, index);
      else d_.*option = index;
    });
  });
  bound_.options.push_back({pair, option});
  return pair;
}

// Two option buttons side by side.
static QHBoxLayout* pairRow(const OptionPair& pair) {
  auto* row = new QHBoxLayout;
  row->addWidget(pair.button[0]);
  row->addWidget(pair.button[1]);
  row->addStretch();
  return row;
}

static QFormLayout* form(QWidget* parent = nullptr) {
  auto* f = new QFormLayout(parent);
  f->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
  return f;
}

QWidget* frmPanes::buildWriting() {
  auto* page = new QWidget;
  writing_ = new WritingBox;
  writing_->setObjectName(QStringLiteral("Text_Writing"));
  writing_->setAccessibleName(QStringLiteral("Writing"));
  writing_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  writing_->setTabChangesFocus(true);
  writing_->setMinimumSize(220, 200);
  writing_->keyPress = [this](QChar c) { return Text_Writing_KeyPress(ws_, c); };
  writing_->keyed = [this] { refresh(); };
  connect(writing_, &QPlainTextEdit::textChanged, this, &frmPanes::writingEdited);

  auto* events = frame(QStringLiteral("E&vents :"), QStringLiteral("Text activates on Mouse click in RunMode."));
  const OptionPair useWriting = paneOption(QStringLiteral("Option_UseWriting"), QStringLiteral("Inactive"),
                                           QStringLiteral("Active"), &PaneDialogState::Option_UseWriting);
  QComboBox* mode = paneCombo(QStringLiteral("Combo_Writing"), QStringLiteral("May or Not edit the Box contents in RunMode."),
                              &PaneDialogState::Combo_Writing);
  auto* eventsForm = form(events);
  eventsForm->addRow(pairRow(useWriting));
  eventsForm->addRow(label(QStringLiteral("&On Click :"), mode), mode);

  auto* look = frame(QString(), QStringLiteral("Select Global attributes for the Note."));
  QComboBox* style = paneCombo(QStringLiteral("cmbStyleTXT"), QStringLiteral("Bold / Italic / Underline."),
                               &PaneDialogState::cmbStyleTXT, cmbStyleTXT_Click);
  QComboBox* font = paneCombo(QStringLiteral("cmbFontNameTXT"), QStringLiteral("Choose Font."),
                              &PaneDialogState::cmbFontNameTXT, cmbFontNameTXT_Click);
  font->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  font->setMinimumContentsLength(12);
  QComboBox* size = paneCombo(QStringLiteral("cmbFontSizeTXT"), QStringLiteral("Choose Font Size."),
                              &PaneDialogState::cmbFontSizeTXT, cmbFontSizeTXT_Click);
  QComboBox* colour = paneCombo(QStringLiteral("cmbFontColorTXT"), QStringLiteral("Choose Font Color."),
                                &PaneDialogState::cmbFontColorTXT, cmbFontColorTXT_Click);
  QComboBox* back = paneCombo(QStringLiteral("cmbBackColorTXT"), QStringLiteral("Choose Background Color."),
                              &PaneDialogState::cmbBackColorTXT, cmbBackColorTXT_Click);
  swatch_ = new ColourWell(QStringLiteral("ColorSwatchTXT"));
  swatch_->setAccessibleName(QStringLiteral("Last chosen colour"));
  connect(swatch_, &ColourWell::clicked, this, [this] {
    writing_->setFocus(Qt::OtherFocusReason);
    act([&] { ColorSwatchTXT_Click(ws_); });
  });
  auto* lookForm = form(look);
  lookForm->addRow(label(QStringLiteral("st&yle"), style), style);
  lookForm->addRow(label(QStringLiteral("&font"), font), font);
  lookForm->addRow(label(QStringLiteral("si&ze"), size), size);
  lookForm->addRow(label(QStringLiteral("colo&r"), colour), colour);
  lookForm->addRow(label(QStringLiteral("&background"), back), back);
  lookForm->addRow(QString(), swatch_);

  auto* sizes = frame(QStringLiteral("Width, Height :"),
                      QStringLiteral("Width and Height of a Pane not exceeding 200 x 200 pixels."));
  auto* sizesForm = form(sizes);
  QLineEdit* w = valBox(13);
  QLineEdit* h = valBox(14);
  sizesForm->addRow(label(QStringLiteral("Wid&th :"), w), w);
  sizesForm->addRow(label(QStringLiteral("&Height :"), h), h);

  auto* side = new QVBoxLayout;
  side->addWidget(events);
  side->addWidget(look);
  side->addWidget(sizes);
  side->addStretch();
  auto* row = new QHBoxLayout(page);
  row->addWidget(writing_, 1);
  row->addLayout(side);
  return page;
}

QWidget* frmPanes::buildAssigned() {
  auto* page = new QWidget;
  auto* specific = frame(QStringLiteral("Specific :"));

  auto* labelFrame = frame(QStringLiteral("&Label :"), QStringLiteral("A Label is the unique name which applies to this Pane."));
  label_ = new QLineEdit;
  label_->setObjectName(QStringLiteral("Text_Label"));
  label_->setMaxLength(99);
  label_->setToolTip(QStringLiteral("\"none\" to 99 Char max."));
  label_->setValidator(new SeparatorValidator(label_));
  connect(label_, &QLineEdit::textEdited, this, [this](const QString& t) { act([&] { Text_Label_Change(ws_, t); }); });
  (new QVBoxLayout(labelFrame))->addWidget(label_);

  auto* sizes = frame(QStringLiteral("Width, Height :"),
                      QStringLiteral("Width and Height of a Pane not exceeding 200 x 200 pixels."));
  auto* sizesForm = form(sizes);
  QLineEdit* w = valBox(10);
  QLineEdit* h = valBox(9);
  sizesForm->addRow(label(QStringLiteral("Wid&th :"), w), w);
  sizesForm->addRow(label(QStringLiteral("&Height :"), h), h);

  auto* cels = frame(QStringLiteral("Cels clipped inside of Pane :"),
                     QStringLiteral("Divide a Pane into cels which are then rotated as flipped Animations in RunMode."));
  auto* celsForm = form(cels);
  QLineEdit* across = valBox(8);
  QLineEdit* down = valBox(7);
  QLineEdit* delay = valBox(15);
  celsForm->addRow(label(QStringLiteral("Ac&ross :"), across), across);
  celsForm->addRow(label(QStringLiteral("D&own :"), down), down);
  celsForm->addRow(label(QStringLiteral("Dela&y :"), delay), delay);

  auto* visible = frame(QStringLiteral("Pane &Visible ?"), QStringLiteral("The Pane's visual representation to the screen in RunMode."));
  visible->setLayout(pairRow(paneOption(QStringLiteral("Option_IsVisible"), QStringLiteral("No"), QStringLiteral("Yes"),
                                        &PaneDialogState::Option_IsVisible)));
  auto* transparent = frame(QStringLiteral("&Black Transparent ?"),
                            QStringLiteral("Absolute black is made transparent, producing a Sprite."));
  transparent->setLayout(pairRow(paneOption(QStringLiteral("Option_MakeTransparent"), QStringLiteral("No"),
                                            QStringLiteral("Yes"), &PaneDialogState::Option_MakeTransparent)));

  auto* grid = new QGridLayout(specific);
  grid->addWidget(labelFrame, 0, 0, 1, 2);
  grid->addWidget(sizes, 1, 0);
  grid->addWidget(cels, 1, 1);
  grid->addWidget(visible, 2, 0);
  grid->addWidget(transparent, 2, 1);
  auto* col = new QVBoxLayout(page);
  col->addWidget(label(QStringLiteral("Assigned :")));
  col->addWidget(specific);
  col->addStretch();
  return page;
}

QWidget* frmPanes::buildData() {
  auto* page = new QWidget;
  auto* value = frame(QStringLiteral("Has Value :"), QStringLiteral("A Value which may be Added or Subtracted by a certain Amount."));
  QLineEdit* start = valBox(0);
  QComboBox* process = paneCombo(QStringLiteral("Combo_ValueType"), QStringLiteral("Add or Subtract - Next, choose a Process Amount."),
                                 &PaneDialogState::Combo_ValueType, Combo_ValueType_Click);
  QLineEdit* amount = valBox(6);
  auto* valueForm = form(value);
  valueForm->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
  valueForm->addRow(label(QStringLiteral("&Start Value :"), start), start);
  valueForm->addRow(label(QStringLiteral("&Process :"), process), process);
  valueForm->addRow(label(QStringLiteral("Process A&mount : "), amount), amount);

  auto* sound = frame(QStringLiteral("S&ound :"), QStringLiteral("On Mouse click in RunMode, a Pane plays a Sound."));
  QComboBox* soundList = paneCombo(QStringLiteral("Combo_Sound"), QStringLiteral("Choose a Sound ..."),
                                   &PaneDialogState::Combo_Sound, Combo_Sound_Click);
  auto* soundRow = new QHBoxLayout(sound);
  soundRow->addWidget(soundList);
  soundRow->addStretch();

  auto* urlFrame = frame(QStringLiteral("Has &URL :"),
                         QStringLiteral("On Mouse click in RunMode, a Pane shells default Browser with URL."));
  const OptionPair useUrl = paneOption(QStringLiteral("Option_UseURL"), QStringLiteral("Inactive"), QStringLiteral("Active"),
                                       &PaneDialogState::Option_UseURL, Option_UseURL_Click);
  url_ = new QLineEdit;
  url_->setObjectName(QStringLiteral("Text_URL"));
  url_->setToolTip(QStringLiteral("On click, a Pane with Active Writing, shells default Browser with Url."));
  url_->setValidator(new SeparatorValidator(url_));
  connect(url_, &QLineEdit::textEdited, this, [this](const QString& t) { act([&] { Text_URL_Change(ws_, t); }); });
  auto* urlForm = form(urlFrame);
  urlForm->addRow(pairRow(useUrl));
  urlForm->addRow(label(QStringLiteral("&http://"), url_), url_);

  auto* col = new QVBoxLayout(page);
  col->addWidget(label(QStringLiteral("On Click :")));
  col->addWidget(value);
  col->addWidget(sound);
  col->addWidget(urlFrame);
  col->addStretch();
  return page;
}

QWidget* frmPanes::buildEffects() {
  auto* page = new QWidget;
  const QString onlyWithCollision = QStringLiteral("An effect only occurs if, under Animation Tab, Collision has been set.");
  auto* mouse = frame(QStringLiteral("&Mouse Effect :"), QStringLiteral("In RunMode, the outcome of a Mouse-Over Selection."));
  QComboBox* mouseList = paneCombo(QStringLiteral("Combo_EffectsMouse"), onlyWithCollision, &PaneDialogState::Combo_EffectsMouse);
  auto* mouseForm = form(mouse);
  mouseForm->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
  mouseForm->addRow(label(QStringLiteral("When over a &Pane in RunMode :"), mouseList), mouseList);

  auto* effect = frame(QStringLiteral("Effect &Type :"),
                       QStringLiteral("In RunMode, an Effect is a visual anomaly which presents during Pane collision."));
  QComboBox* type = paneCombo(QStringLiteral("Combo_EffectType"), onlyWithCollision, &PaneDialogState::Combo_EffectType,
                              Combo_EffectType_Change);
  QLineEdit* duration = valBox(12);
  auto* effectForm = form(effect);
  effectForm->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
  effectForm->addRow(label(QStringLiteral("&If Collision between Panes is true :"), type), type);
  effectForm->addRow(label(QStringLiteral("D&uration (cpu based) :"), duration), duration);

  auto* col = new QVBoxLayout(page);
  col->addWidget(mouse);
  col->addWidget(effect);
  col->addStretch();
  return page;
}

QWidget* frmPanes::buildAnimation() {
  auto* page = new QWidget;
  auto* type = frame(QStringLiteral("&Type :"), QStringLiteral("Animation type."));
  QComboBox* typeList = paneCombo(QStringLiteral("Combo_AnimationType"), QStringLiteral("A style of Animation."),
                                  &PaneDialogState::Combo_AnimationType);
  QLineEdit* speed = valBox(3);
  QLineEdit* delay = valBox(4);
  const OptionPair canFlip = paneOption(QStringLiteral("Option_CanFlip"), QStringLiteral("No"), QStringLiteral("Yes"),
                                        &PaneDialogState::Option_CanFlip);
  auto* typeForm = form(type);
  typeForm->addRow(typeList);
  typeForm->addRow(label(QStringLiteral("S&peed :"), speed), speed);
  typeForm->addRow(label(QStringLiteral("De&lay :"), delay), delay);
  typeForm->addRow(label(QStringLiteral("&Flip on Bounds ? :"), canFlip.button[0]), pairRow(canFlip));

  auto* collision = frame(QStringLiteral("Collision : "));
  QComboBox* collisionList = paneCombo(
      QStringLiteral("Combo_CollisionType"),
      QStringLiteral("A Collision of \"none\" means other Panes cannot see this Pane, even if those other Panes have Collision set."),
      &PaneDialogState::Combo_CollisionType);
  QLineEdit* changes = valBox(5);
  auto* collisionForm = form(collision);
  collisionForm->addRow(collisionList);
  collisionForm->addRow(label(QStringLiteral("On collsion, Value changes :"), nullptr,
                              QStringLiteral("A Value is an Amount which may be either Added or Subtracted - Relates : Data")),
                        changes);

  auto* lifespan = frame(QStringLiteral("Lifespan :"), QStringLiteral("Lifespan of a Pane."));
  QLineEdit* starts = valBox(1);
  QLineEdit* ends = valBox(2);
  auto* lifeForm = form(lifespan);
  lifeForm->addRow(label(QStringLiteral("Animation &Starts on Value :"), starts), starts);
  lifeForm->addRow(label(QStringLiteral("Animation Ends on &Value :"), ends), ends);

  auto* reveal = frame(QStringLiteral("Select another Pane to become Visible when ... "),
                       QStringLiteral("Choose another Pane which will gain Visibility upon Value condition."));
  QLineEdit* reaches = valBox(11);
  list1_ = new QListWidget;
  list1_->setObjectName(QStringLiteral("List1"));
  list1_->setToolTip(QStringLiteral("Choose Another Pane to gain Visibility."));
  list1_->setMinimumHeight(list1_->fontMetrics().height() * 4);
  connect(list1_, &QListWidget::currentRowChanged, this, [this](int row) { act([&] { d_.List1.Index = row; }); });
  auto* revealForm = form(reveal);
  revealForm->addRow(label(QStringLiteral("This Pane &reaches Value :"), reaches), reaches);
  revealForm->addRow(label(QStringLiteral("Select &other :"), list1_), list1_);

  auto* grid = new QGridLayout(page);
  grid->addWidget(label(QStringLiteral("On Value :")), 0, 0, 1, 2);
  grid->addWidget(type, 1, 0);
  grid->addWidget(collision, 1, 1);
  grid->addWidget(lifespan, 2, 0);
  grid->addWidget(reveal, 2, 1);
  grid->setRowStretch(3, 1);
  return page;
}

void frmPanes::refresh() {
  refreshing_ = true;
  setWindowTitle(d_.Caption);
  {
    const QSignalBlocker block(tabs_);
    tabs_->setCurrentIndex(d_.Tab);
  }
  label1_->setText(d_.Label1);
  for (int k = 0; k < ValBoxCount; ++k) {
    showText(val_[size_t(k)], d_.Text_Val[size_t(k)].Text);
    showRed(val_[size_t(k)], d_.Text_Val[size_t(k)].Red);
  }
  showText(label_, d_.Text_Label);
  showText(url_, d_.Text_URL.Text);
  showRed(url_, d_.Text_URL.Red);
  bound_.show(d_);
  showList(list1_, d_.List1);
  swatch_->setColour(d_.ColorSwatchTXT);
  showWriting();
  refreshing_ = false;
}

void frmPanes::showWriting() {
  const WritingLook& w = d_.Text_Writing;
  const QSignalBlocker block(writing_);
  // Qt's text widgets hold line ends as one character: a text is given to
  // the box only when the state holds another one, and goes back to the
  // state only when the user edits it, so an unedited "\r\n" stays as it is.
  if (w.Text != writingGiven_) {
    writing_->setPlainText(w.Text);
    writingGiven_ = w.Text;
    writingShown_ = writing_->toPlainText();
  }
  QFont font(w.FontName);
  font.setPointSizeF(w.FontSize > 0 ? w.FontSize : 10);
  font.setBold(w.Bold);
  font.setItalic(w.Italic);
  font.setUnderline(w.Underline);
  if (writing_->font() != font) writing_->setFont(font);
  QPalette pal = writing_->palette();
  pal.setColor(QPalette::Base, toQColor(w.BackColor));
  pal.setColor(QPalette::Text, toQColor(w.ForeColor));
  if (pal != writing_->palette()) writing_->setPalette(pal);
}

void frmPanes::writingEdited() {
  const QString plain = writing_->toPlainText();
  if (refreshing_ || plain == writingShown_) return;
  act([&] {
    Text_Writing_Change(ws_, plain);
    // What the box shows now; if the engine cut it, the box is given the
    // state's text again.
    writingGiven_ = writingShown_ = plain;
  });
}

void frmPanes::popUpPopularValues(int k, const QPoint& at) {
  const std::array<bool, 6> enabled = Text_Val_MouseDown(ws_, k);
  const QList<QAction*> items = popular_->actions();
  for (int i = 0; i < 6; ++i) items[i]->setEnabled(enabled[size_t(i)]);
  refresh();
  popular_->popup(at);
}

bool frmPanes::eventFilter(QObject* watched, QEvent* event) {
  const auto it = std::find(val_.begin(), val_.end(), watched);
  if (it == val_.end()) return QDialog::eventFilter(watched, event);
  const int k = int(it - val_.begin());
  if (event->type() == QEvent::KeyPress) {
    // A key the engine's filter refuses is stopped before the box sees it:
    // it would first delete the selection.
    const auto* e = static_cast<QKeyEvent*>(event);
    const QString text = e->text();
    const bool typesText = !text.isEmpty() && text.at(0) >= QLatin1Char(' ') && !(e->modifiers() & Qt::ControlModifier);
    if (!typesText) return false;
    bool refused = true;
    for (QChar c : text) refused = refused && !Text_Val_KeyPress(ws_, k, c);
    return refused;
  }
  if (event->type() == QEvent::MouseButtonPress) {
    const auto* e = static_cast<QMouseEvent*>(event);
    if (e->button() == Qt::LeftButton) return false;
    popUpPopularValues(k, e->globalPosition().toPoint());
    return true;
  }
  if (event->type() == QEvent::ContextMenu) {
    // The pointer's menu came with the button press; the keyboard's (Menu
    // key, Shift+F10) opens below the box.
    const auto* e = static_cast<QContextMenuEvent*>(event);
    if (e->reason() == QContextMenuEvent::Keyboard)
      popUpPopularValues(k, val_[size_t(k)]->mapToGlobal(QPoint(0, val_[size_t(k)]->height())));
    return true;
  }
  return false;
}

void frmPanes::reject() { act([&] { Button_frmPanes_Click(ws_, 0); }); }

}  // namespace qv
