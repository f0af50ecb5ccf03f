// The main window: builds its parts once, shows the workspace state in
// Refresh() and forwards clicks, keys and Board mouse events.
#include "app/frmMain.h"

#include "app/ClickLabel.h"
#include "app/Icons.h"
#include "app/Intro.h"
#include "app/Keys.h"
#include "app/Menus.h"
#include "app/Stage.h"
#include "app/dialogs/frmBoard.h"
#include "app/dialogs/frmLibrary.h"
#include "app/dialogs/frmPanes.h"
#include "imaging/BoardRender.h"
#include "project/StartDefaults.h"
#include "session/CommandTable.h"
#include "session/Commands.h"
#include "shell/BoardSizes.h"
#include "shell/Platform.h"
#include "shell/Setups.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QListWidget>
#include <QMimeData>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QScreen>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace qv {

namespace {

// The tooltip of an icon of the strip: the menu it pops up, or its command.
QString iconTip(int index) {
  for (const MenuRow& m : MenuTable())
    if (m.icon == index) return QString::fromLatin1(m.tip);
  for (const CommandRow& row : CommandTable())
    if (row.icon == index) return QString::fromLatin1(row.caption);
  return {};
}

// The command an icon or a Fast Icon runs.
std::optional<Command> commandOf(int CommandRow::*reach, int index) {
  for (const CommandRow& row : CommandTable())
    if (row.*reach == index) return row.id;
  return std::nullopt;
}

// App-side placement of the bar's labels, right of the readout.
constexpr int ReadoutWidth = 210;
constexpr int ComboBoardWidth = 96;

void fill(QWidget* w, const QColor& c) {
  QPalette pal = w->palette();
  pal.setColor(QPalette::Window, c);
  w->setPalette(pal);
  w->setAutoFillBackground(true);
}

void place(QWidget* w, const QRect& r, bool visible, bool enabled = true) {
  if (w->geometry() != r) w->setGeometry(r);
  if (w->isEnabled() != enabled) w->setEnabled(enabled);
  if (w->isHidden() == visible) w->setVisible(visible);
}

void place(QWidget* w, const ControlState& s) {
  place(w, QRect(s.Left, s.Top, std::max(s.Width, 0), std::max(s.Height, 0)), s.Visible, s.Enabled);
}

Qt::CursorShape cursorFor(MousePointer p) {
  switch (p) {
    case MousePointer::Hourglass: return Qt::WaitCursor;
    case MousePointer::FourWayArrow: return Qt::SizeAllCursor;
    default: return Qt::ArrowCursor;
  }
}

ClickLabel* iconLabel(const QString& name, const QString& tip, QWidget* parent) {
  auto* icon = new ClickLabel(parent);
  icon->setObjectName(name);
  icon->setToolTip(tip);
  icon->resize(IconSize, IconSize);
  icon->hide();
  return icon;
}

}  // namespace

frmMain::frmMain(Workspace& ws, Platform& platform, QWidget* parent)
    : QWidget(parent), ws_(ws), platform_(platform) {
  setObjectName(QStringLiteral("frmMain"));
  setWindowTitle(QStringLiteral("Quorvel"));
  setWindowIcon(QIcon(appIcon(32)));
  ws_.platform = &platform_;
  ws_.windows = this;

  panes_ = new frmPanes(ws_, this);
  board_ = new frmBoard(ws_, this);
  library_ = new frmLibrary(ws_, this);

  fill(this, QColor(59, 63, 70));
  // Our addition: the working area scrolls, so a Board larger than the
  // screen keeps its size.
  scroll_ = new QScrollArea(this);
  scroll_->setObjectName(QStringLiteral("WorkScroll"));
  scroll_->setFrameShape(QFrame::NoFrame);
  scroll_->setFocusPolicy(Qt::NoFocus);
  scroll_->setWidgetResizable(true);
  content_ = new QWidget;
  fill(content_, QColor(59, 63, 70));
  scroll_->setWidget(content_);
  picHolder_ = new QWidget(content_);
  picHolder_->setObjectName(QStringLiteral("picHolder"));
  fill(picHolder_, QColor(59, 63, 70));
  buildStageParts();
  buildHolderParts();
  buildBar();
  // Stacking, from the back: Board (with its overlays in creation order),
  // intro, layer list, bar, Stop panel.
  picIntro_->raise();
  frameListZ_->raise();
  picFastMenu_->raise();
  picture1_->raise();
  menus_ = new MainMenus(this, ws_, [this](Command c) { runCommand(c); });
  paintIcons();

  // Files are taken anywhere on the window (our addition: the intro has no
  // Board to take them); a file that may not be let go says why here.
  setAcceptDrops(true);
  dropNote_ = new QLabel(this);
  dropNote_->setObjectName(QStringLiteral("DropNote"));
  dropNote_->setStyleSheet(QStringLiteral(
      "QLabel { background: #fff6d5; color: #2a2e35; border: 1px solid #8a7d55; padding: 2px 5px; }"));
  dropNote_->setAttribute(Qt::WA_TransparentForMouseEvents);
  dropNote_->hide();

  qApp->installEventFilter(this);

  // The load step: every list of the dialogs and the start defaults.
  FillLists(ws_);
  Refresh();

  QSize start(1024, 768);
  if (QScreen* screen = QGuiApplication::primaryScreen()) start = start.boundedTo(screen->availableGeometry().size());
  resize(start);
}

void frmMain::fitToScreen() {
  // Our addition: a window manager's title bar no longer runs off a small
  // screen.
  QScreen* s = screen();
  if (!s || isMaximized() || isFullScreen()) return;
  const QRect area = s->availableGeometry(), frame = frameGeometry(), inner = geometry();
  const QMargins margins(inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
                         frame.bottom() - inner.bottom());
  const QSize room = area.size().shrunkBy(margins);
  if (area.contains(frame) || room.isEmpty()) return;
  resize(size().boundedTo(room));
  const QSize outer = size().grownBy(margins);
  move(std::clamp(frame.left(), area.left(), std::max(area.left(), area.right() + 1 - outer.width())),
       std::clamp(frame.top(), area.top(), std::max(area.top(), area.bottom() + 1 - outer.height())));
}

void frmMain::paintIcons() {
  iconRatio_ = devicePixelRatioF();
  for (int i = 0; i < 12; ++i) iconStrip_[size_t(i)]->setPixmap(stripIcon(i, iconRatio_));
  for (int i = 0; i < 4; ++i) fastIcons_[size_t(i)]->setPixmap(fastIcon(i, iconRatio_));
}

QSize frmMain::roomForBoard() const {
  const Surface& board = ws_.surfaces.picStage;
  if (ws_.win.Combo_BoardIndex == MaxBoardEntry || ws_.win.picIntro.Visible) return {0, 0};
  // The holder starts one pixel down and leaves one pixel on either side;
  // the Board stands one pixel in, below the bar.
  return {board.Width() + 3, ws_.win.picFastMenu.Height + board.Height() + 1};
}

frmMain::~frmMain() {
  if (ws_.windows == this) ws_.windows = nullptr;
}

void frmMain::buildBar() {
  picFastMenu_ = new QWidget(picHolder_);
  picFastMenu_->setObjectName(QStringLiteral("picFastMenu"));
  fill(picFastMenu_, QColor(232, 234, 238));
  lineFastMenu_ = new QFrame(picFastMenu_);
  lineFastMenu_->setObjectName(QStringLiteral("Line_FastMenu"));
  fill(lineFastMenu_, QColor(120, 126, 136));

  for (int i = 0; i < 12; ++i) {
    QWidget* parent = i == 11 ? static_cast<QWidget*>(picture1_) : picFastMenu_;
    iconStrip_[size_t(i)] = iconLabel(QStringLiteral("Img_IconStrip_%1").arg(i), iconTip(i), parent);
    connect(iconStrip_[size_t(i)], &ClickLabel::clicked, this, [this, i] { iconClicked(i); });
  }

  labReadouts_ = new QLabel(picFastMenu_);
  labReadouts_->setObjectName(QStringLiteral("Lab_Readouts"));
  labReadouts_->setToolTip(QStringLiteral("Info"));
  labReadouts_->setStyleSheet(QStringLiteral("color: #2a2e35;"));

  comboBoard_ = new QComboBox(picFastMenu_);
  comboBoard_->setObjectName(QStringLiteral("Combo_Board"));
  comboBoard_->setFocusPolicy(Qt::ClickFocus);
  connect(comboBoard_, &QComboBox::activated, this, [this](int index) { handle([&] { Combo_Board_Chosen(ws_, index); }); });

  labGeneric_ = new ClickLabel(QStringLiteral("Target :"), picFastMenu_);
  labGeneric_->setObjectName(QStringLiteral("Lab_Generic"));
  labGeneric_->setToolTip(QStringLiteral("Click for properties"));
  connect(labGeneric_, &ClickLabel::clicked, this, [this] {
    handle([this] {
      if (labGenericClick) labGenericClick();
    });
  });
  label1_ = new QLabel(picFastMenu_);
  label1_->setObjectName(QStringLiteral("Label1"));
  label1_->setStyleSheet(QStringLiteral("color: #2a2e35;"));
}

void frmMain::buildHolderParts() {
  picIntro_ = new IntroPicture(picHolder_);
  connect(picIntro_, &IntroPicture::choiceClicked, this, [this](int i) {
    if (introChoice) introChoice(i);
  });

  frameListZ_ = new QFrame(picHolder_);
  frameListZ_->setObjectName(QStringLiteral("Frame_ListZ"));
  frameListZ_->setFrameShape(QFrame::Panel);
  frameListZ_->setFrameShadow(QFrame::Raised);
  fill(frameListZ_, QColor(232, 234, 238));
  labCloseList_ = new ClickLabel(QStringLiteral("  x"), frameListZ_);
  labCloseList_->setObjectName(QStringLiteral("Lab_CloseList"));
  labCloseList_->setToolTip(QStringLiteral("close me"));
  labCloseList_->setCursor(Qt::PointingHandCursor);
  connect(labCloseList_, &ClickLabel::clicked, this, [this] { handle([this] { CloseLayerList(ws_); }); });
  listZorder_ = new QListWidget(frameListZ_);
  listZorder_->setObjectName(QStringLiteral("List_Zorder"));
  listZorder_->setToolTip(QStringLiteral("Select a Target ..."));
  connect(listZorder_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    const int row = listZorder_->row(item);
    ws_.win.List_ZorderIndex = row;
    handle([this, row] {
      if (listZorderClick) listZorderClick(row);
    });
  });
  auto* v = new QVBoxLayout(frameListZ_);
  v->setContentsMargins(3, 1, 3, 3);
  v->setSpacing(1);
  v->addWidget(labCloseList_, 0, Qt::AlignRight);
  v->addWidget(listZorder_, 1);
  frameListZ_->hide();

  dragOutline_ = new OutlineBox(QColor(214, 218, 224), 1, picHolder_);
  dragOutline_->setObjectName(QStringLiteral("BoardDragOutline"));
  dragOutline_->hide();

  picture1_ = new QFrame(picHolder_);
  picture1_->setObjectName(QStringLiteral("Picture1"));
  picture1_->setFrameShape(QFrame::Box);
  fill(picture1_, QColor(232, 234, 238));
  picture1_->hide();
}

void frmMain::buildStageParts() {
  picStage_ = new StageWidget(ws_.surfaces.picStage, picHolder_);
  picStage_->setObjectName(QStringLiteral("picStage"));
  picStage_->onMouseDown = [this](int b, int s, int x, int y) {
    handle([&] {
      if (picStage_MouseDown) picStage_MouseDown(b, s, x, y);
    });
  };
  picStage_->onMouseMove = [this](int b, int s, int x, int y) {
    handle([&] {
      if (picStage_MouseMove) picStage_MouseMove(b, s, x, y);
    });
  };
  picStage_->onMouseUp = [this](int b, int s, int x, int y) {
    handle([&] {
      if (picStage_MouseUp) picStage_MouseUp(b, s, x, y);
    });
  };

  // Overlays above the Board picture: target box, hover box, Fast Icons, and
  // the RunMode Writing box with its URL button.
  shape1_[0] = new OutlineBox(QColor(0, 0, 255), 3, picStage_);
  shape1_[1] = new OutlineBox(QColor(255, 255, 255), 1, picStage_);
  for (int i = 0; i < 2; ++i) {
    shape1_[size_t(i)]->setObjectName(QStringLiteral("Shape1_%1").arg(i));
    shape1_[size_t(i)]->hide();
  }
  // Our additions: the rubber band and the snap guides (the selection's
  // boxes are made as they are needed).
  rubberBand_ = new OutlineBox(QColor(255, 255, 255), 1, picStage_);
  rubberBand_->setObjectName(QStringLiteral("RubberBand"));
  rubberBand_->setDashed(true);
  rubberBand_->hide();
  for (int i = 0; i < 2; ++i) {
    auto* guide = new QWidget(picStage_);
    guide->setObjectName(QStringLiteral("SnapGuide_%1").arg(i));
    guide->setAttribute(Qt::WA_TransparentForMouseEvents);
    fill(guide, QColor(255, 0, 200));
    guide->hide();
    snapGuides_[size_t(i)] = guide;
  }
  for (int i = 0; i < 4; ++i) {
    const Command c = *commandOf(&CommandRow::fastIcon, i);
    fastIcons_[size_t(i)] = iconLabel(QString::fromLatin1(RowOf(c).name), QString::fromLatin1(RowOf(c).caption), picStage_);
    connect(fastIcons_[size_t(i)], &ClickLabel::clicked, this, [this, c] { runCommand(c); });
  }
  textWriting_ = new QPlainTextEdit(picStage_);
  textWriting_->setObjectName(QStringLiteral("Text_Writing"));
  textWriting_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  textWriting_->hide();
  connect(textWriting_, &QPlainTextEdit::textChanged, this,
          [this] { ws_.win.Text_Writing.Text = textWriting_->toPlainText(); });
  buttonUrl_ = new QPushButton(QStringLiteral("URL"), picStage_);
  buttonUrl_->setObjectName(QStringLiteral("Button_Url"));
  buttonUrl_->setToolTip(QStringLiteral("Click me"));
  buttonUrl_->hide();
  connect(buttonUrl_, &QPushButton::clicked, this, [this] {
    handle([this] {
      if (buttonUrlClick) buttonUrlClick();
    });
  });
}

template <typename F>
void frmMain::handle(F&& f) {
  f();
  Refresh();
}

void frmMain::iconClicked(int index) {
  if (!ws_.win.picFastMenu.Enabled) return;
  // Menu icons pop their menu up at the pointer.
  if (QMenu* popup = menus_->menuForIcon(index)) {
    popup->popup(QCursor::pos());
    return;
  }
  if (const auto c = commandOf(&CommandRow::icon, index)) runCommand(*c);
}

void frmMain::runCommand(Command c) {
  handle([&] {
    if (command) command(c);
  });
}

// The part of the window the working area shows: the layout fills it, and
// the bar spans it whether or not the area scrolls.
QSize frmMain::MainInnerSize() { return scroll_->viewport()->size(); }

QDialog* frmMain::dialog(DialogKind kind) const {
  switch (kind) {
    case DialogKind::Panes: return panes_;
    case DialogKind::Board: return board_;
    case DialogKind::Library: return library_;
  }
  return nullptr;
}

void frmMain::ShowDialog(DialogKind kind) {
  Refresh();
  QDialog* d = dialog(kind);
  // The dialog shows its controls' values from the workspace, then runs
  // modally until one of its buttons hides it.
  QMetaObject::invokeMethod(d, "refresh");
  d->exec();
  // The main window takes the keys again, however the dialog was closed:
  // without a window manager nothing else gives the focus back.
  activateWindow();
  setFocus(Qt::OtherFocusReason);
}

void frmMain::PopupMenu(Menu m) {
  if (QMenu* menu = menus_->menu(m)) menu->exec(QCursor::pos());
}

void frmMain::EndProgram() {
  ending_ = true;
  close();
  QApplication::quit();
}

void frmMain::closeEvent(QCloseEvent* e) {
  // Unsaved changes are offered to be saved first (our addition): the
  // window stays when the user cancels or the save fails.
  if (!ending_ && !MainWindowMayClose(ws_)) {
    e->ignore();
    Refresh();
    return;
  }
  ending_ = true;
  e->accept();
}

void frmMain::HideDialog(DialogKind kind) {
  if (QDialog* d = dialog(kind); d && d->isVisible()) d->done(QDialog::Accepted);
}

void frmMain::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  // The working area follows: its resize lays the window out.
  scroll_->setGeometry(rect());
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
  if (watched == picHolder_ && boardDragEvent(event)) return true;
  if (watched == scroll_->viewport() && event->type() == QEvent::Resize) {
    MainWindowResized(ws_);
    Refresh();
    return false;
  }
  // Keys go to the engine also while the intro shows: it lets only Quit act
  // there (our addition).
  if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
  auto* w = qobject_cast<QWidget*>(watched);
  if (!w || w->window() != this) return false;
  // A key travels from the focus widget up to the window; take it once, on
  // its first stop, before any control sees it.
  // A focus left behind in a closed dialog counts as none: the key came to
  // this window.
  QWidget* focus = QApplication::focusWidget();
  if (focus && focus->window() != this) focus = nullptr;
  if (focus ? w != focus : w != this) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  const int down = keyDownCode(*key);
  const int press = keyPressCode(*key);
  bool acted = false;
  handle([&] {
    if (down && keyDown) acted = keyDown(down, keyShift(*key)) || acted;
    if (press && keyPress) acted = keyPress(press, key->modifiers() & Qt::ShiftModifier) || acted;
  });
  // A key that ran a command ends here: left to travel on, it could reach
  // the window a second time (a dialog it opened took the focus away, and
  // with no window manager nothing gives it back), and run again.
  return acted;
}

namespace {

// The local files a drag carries; none for anything else (text, a web
// address).
QStringList draggedFiles(const QDropEvent* e) {
  QStringList files;
  const QMimeData* m = e->mimeData();
  if (!m || !m->hasUrls()) return files;
  for (const QUrl& url : m->urls())
    if (url.isLocalFile()) files << url.toLocalFile();
  return files;
}

}  // namespace

bool frmMain::fileMayDrop(QDropEvent* e) {
  const QStringList files = draggedFiles(e);
  const QPoint at = picStage_->mapFrom(this, e->position().toPoint());
  QString why;
  bool taken = false;
  if (files.size() != 1) why = QStringLiteral("one file at a time");
  else taken = fileDragOver && fileDragOver(files.front(), at.x(), at.y(), why);
  if (taken) {
    dropNote_->hide();
  } else {
    dropNote_->setText(QStringLiteral("Not taken: ") + why);
    dropNote_->adjustSize();
    const QPoint p = e->position().toPoint() + QPoint(16, 20);
    dropNote_->move(std::clamp(p.x(), 0, std::max(width() - dropNote_->width(), 0)),
                    std::clamp(p.y(), 0, std::max(height() - dropNote_->height(), 0)));
    dropNote_->show();
    dropNote_->raise();
  }
  return taken;
}

// A drag of files is let in; whether it may be let go depends on where it
// is, so each move says (the pointer shows it, the note says why not).
void frmMain::dragEnterEvent(QDragEnterEvent* e) {
  if (draggedFiles(e).isEmpty()) return e->ignore();
  e->acceptProposedAction();
  dragMoveEvent(e);
  e->accept();
}

void frmMain::dragMoveEvent(QDragMoveEvent* e) {
  if (fileMayDrop(e)) {
    e->setDropAction(Qt::CopyAction);
    e->accept();
  } else {
    e->ignore();
  }
}

void frmMain::dragLeaveEvent(QDragLeaveEvent*) { dropNote_->hide(); }

void frmMain::dropEvent(QDropEvent* e) {
  dropNote_->hide();
  const QStringList files = draggedFiles(e);
  if (files.size() != 1 || !fileDrop) return e->ignore();
  e->setDropAction(Qt::CopyAction);
  e->accept();
  // The drop runs once the drag is over: a project drop may ask the save
  // question, and the file manager waits for the drop to end first. A drop
  // refused after all says why in a message.
  const QPoint at = picStage_->mapFrom(this, e->position().toPoint());
  QTimer::singleShot(0, this, [this, file = files.front(), at] {
    handle([&] {
      if (fileDrop) fileDrop(file, at.x(), at.y());
    });
  });
}

bool frmMain::boardDragEvent(QEvent* event) {
  if (QWidget::mouseGrabber() != picHolder_) return false;
  const auto type = event->type();
  if (type != QEvent::MouseMove && type != QEvent::MouseButtonRelease) return false;
  const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
  dragPoint_ = at;
  handle([&] {
    if (type == QEvent::MouseMove) {
      if (boardDragOver) boardDragOver(at.x(), at.y());
    } else if (boardDrop) {
      boardDrop(at.x(), at.y());
    }
  });
  return true;
}

void frmMain::Refresh() {
  if (!menus_) return;  // still being built
  if (iconRatio_ != devicePixelRatioF()) paintIcons();  // moved to another screen
  if (const QSize room = roomForBoard(); content_->minimumSize() != room) content_->setMinimumSize(room);
  const MainWindowState& win = ws_.win;
  // The holder reaches as far as the scrolled area, so a larger Board shows whole.
  place(picHolder_, QRect(win.picHolder.Left, win.picHolder.Top, std::max(win.picHolder.Width, content_->width() - 2),
                          std::max(win.picHolder.Height, content_->height() - 1)), win.picHolder.Visible,
        win.picHolder.Enabled);
  refreshBar();
  refreshStage();
  // The intro grows to hold the recent projects (our addition).
  ControlState intro = win.picIntro;
  intro.Height += picIntro_->recentHeight();
  place(picIntro_, intro);
  place(frameListZ_, win.Frame_ListZ);
  place(picture1_, win.Picture1);
  place(iconStrip_[11], win.Img_IconStrip[11]);
  refreshLists();
  menus_->refresh(ws_);
  const QString title = MainWindowTitle(ws_);
  if (windowTitle() != title) setWindowTitle(title);
  if (refreshed) refreshed();
}

void frmMain::refreshBar() {
  const MainWindowState& win = ws_.win;
  // The bar does not react while a button is held on the Board, but it is
  // not drawn greyed for that moment: its icons would flicker.
  ControlState bar = win.picFastMenu;
  bar.Enabled = true;
  place(picFastMenu_, bar);
  const int h = win.picFastMenu.Height;
  place(lineFastMenu_, QRect(0, h - 1, std::max(win.Line_FastMenuX2, 0), 1), true);
  for (int i = 0; i < 11; ++i) place(iconStrip_[size_t(i)], win.Img_IconStrip[size_t(i)]);

  int x = win.Lab_ReadoutsLeft;
  place(labReadouts_, QRect(x, 0, ReadoutWidth, h - 1), true);
  if (labReadouts_->text() != win.Lab_Readouts) labReadouts_->setText(win.Lab_Readouts);
  x += ReadoutWidth + 4;
  place(comboBoard_, QRect(x, 2, ComboBoardWidth, h - 5), true);
  x += ComboBoardWidth + 12;
  labGeneric_->adjustSize();
  place(labGeneric_, QRect(x, 0, labGeneric_->width(), h - 1), true);
  x += labGeneric_->width() + 4;
  // Label1 may hold a folder path: it takes the room up to the icons.
  const int right = win.Img_IconStrip[3].Left - 12;
  place(label1_, QRect(x, 0, std::max(right - x, 0), h - 1), true);
  if (label1_->text() != win.Label1) label1_->setText(win.Label1);
}

void frmMain::refreshStage() {
  const Surface& s = ws_.surfaces.picStage;
  // While the Board is dragged the holder takes the pointer, and an outline
  // of the Board follows it (the Board itself is hidden).
  const bool moving = ws_.win.BoardMoving;
  if (moving && QWidget::mouseGrabber() != picHolder_) {
    dragPoint_ = picHolder_->mapFromGlobal(QCursor::pos());
    picHolder_->grabMouse(Qt::SizeAllCursor);
  } else if (!moving && QWidget::mouseGrabber() == picHolder_) {
    picHolder_->releaseMouse();
  }
  place(dragOutline_, QRect(dragPoint_ - QPoint(ws_.win.BoardGrabX, ws_.win.BoardGrabY), QSize(s.Width(), s.Height())),
        moving);
  place(picStage_, QRect(s.Left, s.Top, s.Width(), s.Height()), s.Visible, s.Enabled);
  const Qt::CursorShape shape = cursorFor(s.Pointer);
  if (picStage_->cursor().shape() != shape) picStage_->setCursor(shape);
  picStage_->update();

  const MainWindowState& win = ws_.win;
  for (int i = 0; i < 2; ++i) place(shape1_[size_t(i)], win.Shape1[size_t(i)]);
  while (selectionBoxes_.size() < win.SelectionBoxes.size()) {
    auto* box = new OutlineBox(QColor(130, 170, 255), 2, picStage_);
    box->setObjectName(QStringLiteral("SelectionBox_%1").arg(selectionBoxes_.size()));
    box->stackUnder(shape1_[0]);
    selectionBoxes_.append(box);
  }
  for (qsizetype i = 0; i < selectionBoxes_.size(); ++i) {
    if (i < win.SelectionBoxes.size()) place(selectionBoxes_[i], win.SelectionBoxes[i]);
    else selectionBoxes_[i]->hide();
  }
  place(rubberBand_, win.RubberBand);
  for (int i = 0; i < 2; ++i) place(snapGuides_[size_t(i)], win.SnapGuides[size_t(i)]);
  for (int i = 0; i < 4; ++i) place(fastIcons_[size_t(i)], win.Img_FastIcons[size_t(i)]);

  const WritingBoxState& wr = win.Text_Writing;
  QFont font = wr.FontName.isEmpty() ? QApplication::font() : QFont(wr.FontName);
  font.setPointSize(std::max(wr.FontSize, 1));
  font.setBold(wr.Bold);
  font.setItalic(wr.Italic);
  font.setUnderline(wr.Underline);
  if (textWriting_->font() != font) textWriting_->setFont(font);
  QPalette pal = textWriting_->palette();
  if (pal.color(QPalette::Base) != toQColor(wr.BackColor) || pal.color(QPalette::Text) != toQColor(wr.ForeColor)) {
    pal.setColor(QPalette::Base, toQColor(wr.BackColor));
    pal.setColor(QPalette::Text, toQColor(wr.ForeColor));
    textWriting_->setPalette(pal);
  }
  if (textWriting_->isReadOnly() != wr.Locked) textWriting_->setReadOnly(wr.Locked);
  if (textWriting_->toPlainText() != wr.Text) {
    const QSignalBlocker block(textWriting_);
    textWriting_->setPlainText(wr.Text);
  }
  place(textWriting_, wr);
  place(buttonUrl_, win.Button_Url);
}

void frmMain::refreshLists() {
  const MainWindowState& win = ws_.win;
  const QVector<ZorderEntry>& zorder = ws_.project.List_Zorder;
  bool same = listZorder_->count() == zorder.size();
  for (int i = 0; same && i < listZorder_->count(); ++i) {
    const QListWidgetItem* item = listZorder_->item(i);
    same = item->text() == zorder[i].Text && item->data(Qt::UserRole).toInt() == zorder[i].ItemData;
  }
  {
    const QSignalBlocker block(listZorder_);
    if (!same) {
      listZorder_->clear();
      for (const ZorderEntry& e : zorder) {
        auto* item = new QListWidgetItem(e.Text, listZorder_);
        item->setData(Qt::UserRole, e.ItemData);
      }
    }
    if (listZorder_->currentRow() != win.List_ZorderIndex) listZorder_->setCurrentRow(win.List_ZorderIndex);
  }

  const QSignalBlocker block(comboBoard_);
  QStringList shown;
  for (int i = 0; i < comboBoard_->count(); ++i) shown << comboBoard_->itemText(i);
  if (shown != win.Combo_Board) {
    comboBoard_->clear();
    comboBoard_->addItems(win.Combo_Board);
  }
  if (comboBoard_->currentIndex() != win.Combo_BoardIndex) comboBoard_->setCurrentIndex(win.Combo_BoardIndex);
}

}  // namespace qv
