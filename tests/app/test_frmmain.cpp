// The real main window driven with real key and mouse events: one table of
// key, icon and menu item against the effect it has on the engine, the intro,
// the Board size list and window resizing, the overlays, the Qt sound player;
// then the Pane and Board properties dialogs (what the widgets add to the
// engine's dialog state: the numeric boxes' filter of typed and pasted text,
// controls reaching the state and coming back, the Writing box's line ends and
// look, the Board's colours and swatches, Wire "Yes" greying Float "Yes"),
// and one project authored and played only through events. Last, what the
// app keeps between runs: the intro's recent projects (a click opens one, a
// missing one is greyed and taken off with a message) and SIGTERM, after
// which the recovery copy holds the unsaved project.
#include "app/CommandRouter.h"
#include "app/Icons.h"
#include "app/Intro.h"
#include "app/Keeping.h"
#include "app/Menus.h"
#include "app/QtPlatform.h"
#include "app/dialogs/DialogParts.h"
#include "app/frmMain.h"
#include "session/Recovery.h"
#include "session/Settings.h"
#include "support/Fixtures.h"

#include <QMediaPlayer>
#include <QtWidgets>
#include <csignal>
#include <functional>

using namespace qv;

namespace {

// A scripted platform whose clipboard is the system's, as the app's is.
struct ScriptedPlatform : HeadlessPlatform {
  QtPlatform qt;
  QByteArray ClipboardData(const QString& type) override { return qt.ClipboardData(type); }
  void SetClipboardData(const QVector<std::pair<QString, QByteArray>>& data) override { qt.SetClipboardData(data); }
};

// A shown main window over a fresh workspace and a scripted platform that
// answers No; past the intro unless asked otherwise. The test runs each pass
// of a run loop itself.
struct Window {
  ScriptedPlatform platform;
  Workspace ws;
  frmMain w{ws, platform};
  CommandRouter router{w, 0};

  explicit Window(bool open = true) {
    w.resize(1000, 720);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    if (open) click("Label_IntroChoice_0");
  }
  template <typename T = QWidget>
  T* get(const QString& name) {
    if (T* found = w.findChild<T*>(name)) return found;
    qFatal("no control %s", qPrintable(name));
  }
  void click(const QString& name, Qt::MouseButton b = Qt::LeftButton, QPoint at = {}) { QTest::mouseClick(reveal(name), b, {}, at); }
  // Keys reach the window's focus widget first, or the window itself.
  void key(const QString& k) {
    const QKeyCombination c = QKeySequence::fromString(k)[0];
    QWidget* f = QApplication::focusWidget();
    QTest::keyClick(f && f->window() == &w ? f : &w, c.key(), c.keyboardModifiers());
  }
  // Runs steps while the dialog that the menu command opens is shown; a
  // dialog the steps leave open (a failed check) is closed.
  void open(Command c, const std::function<void()>& steps) {
    bool shown = false;
    QTimer::singleShot(0, &w, [&] {
      auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (!d) return;
      shown = true;
      steps();
      if (d->isVisible()) d->done(QDialog::Rejected);
    });
    w.runCommand(c);
    QVERIFY2(shown, "the command showed no dialog");
  }

  // Brings the tab holding a control to the front, as a click on its tab.
  QWidget* reveal(const QString& name) {
    QWidget* c = get(name);
    for (QTabWidget* tabs : w.findChildren<QTabWidget*>(QStringLiteral("SSTab1")))
      for (int i = 0; i < tabs->count(); ++i)
        if (tabs->widget(i)->isAncestorOf(c) && tabs->isVisible())
          QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(i).center());
    return c;
  }
  // Empties a box with the keyboard, then types.
  void type(const QString& name, const QString& keys) {
    auto* e = qobject_cast<QLineEdit*>(reveal(name));
    e->setFocus();
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Backspace);
    QTest::keyClicks(e, keys);
  }
  // Chooses a list entry in its opened list with the keyboard.
  void choose(const QString& name, int index) {
    auto* c = qobject_cast<QComboBox*>(reveal(name));
    QTest::keyClick(c, Qt::Key_F4);
    QAbstractItemView* v = c->view();
    QTest::keyClick(v, Qt::Key_Home);
    for (int i = 0; i < index; ++i) QTest::keyClick(v, Qt::Key_Down);
    QTest::keyClick(v, Qt::Key_Return);
  }
  // Chooses a menu item with the mouse: its icon (or a right click on free
  // Board) opens the menu, a click on the item chooses it. The Board's menu
  // is modal, so the item is clicked from inside its event loop.
  void chooseMenu(const QString& item) {
    QAction* a = w.findChild<QAction*>(item);
    QVERIFY(a);
    bool chosen = false;
    std::function<void()> pick = [&] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      if (!menu) return void(QTimer::singleShot(10, pick));
      QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(a).center());
      if (QApplication::activePopupWidget()) QApplication::activePopupWidget()->close();
      chosen = true;
    };
    QTimer::singleShot(0, pick);
    const QList<int> icons = {3, 4, 6, 7, 8, 10};
    auto it = std::find_if(icons.begin(), icons.end(), [&](int i) { return w.menus()->menuForIcon(i)->actions().contains(a); });
    if (it != icons.end()) click(QStringLiteral("Img_IconStrip_%1").arg(*it));
    else click("picStage", Qt::RightButton, {700, 500});
    QTRY_VERIFY(chosen && !QApplication::activePopupWidget());
  }
};

// What an input (a key, "icon n", "fast n" or a menu item) did, as the
// engine shows it: the platform calls it made (kind and title), the Pane
// count, a run started, restarted or stopped, the Board redrawn, resized or
// moved, the bar hidden or shown, a new text of the Undo or Redo item.
QString effectOf(Window& m, const QString& input) {
  Workspace& ws = m.ws;
  Surface& board = ws.surfaces.picStage;
  if (input.startsWith("fast ")) QTest::mouseMove(m.get("picStage"), {55, 140});  // into the Pane's Fast Icon zone
  const qsizetype logged = m.platform.log.size();
  board.Image().setPixel(board.Width() - 1, board.Height() - 1, qRgb(1, 2, 3));
  const Workspace was = ws;
  const Surface& old = was.surfaces.picStage;
  const auto undoItems = [&] {  // their texts, "-" for a greyed one
    QStringList t;
    for (QAction* a : {m.w.menus()->action(Command::Undo), m.w.menus()->action(Command::Redo)})
      t << (a->isEnabled() ? a->text().replace('\t', ' ') : "-");
    return t.join(" / ");
  };
  const QString undo = undoItems();
  // A dialog the input opens runs modally: note it and close it.
  QStringList out;
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
      out << d->objectName() + " shown";
      d->done(QDialog::Rejected);
    }
  });
  watch.start(10);
  if (input.startsWith("icon ")) m.click("Img_IconStrip_" + input.mid(5));
  else if (input.startsWith("fast ")) m.click("Img_FastIcons_" + input.mid(5));
  else if (input.startsWith("mnu_")) m.chooseMenu(input);
  else m.key(input);
  watch.stop();
  for (qsizetype i = logged; i < m.platform.log.size(); ++i) out << m.platform.log[i].section('|', 0, 1);
  if (ws.project.PaneCount != was.project.PaneCount) out << QStringLiteral("%1 Panes").arg(ws.project.PaneCount);
  if (isSet(was.run.Running) && isSet(ws.run.Running) && ws.run.FirstFrameDone == 0) out << "restarted";
  else if (ws.win.Lab_Readouts != was.win.Lab_Readouts) out << ws.win.Lab_Readouts;
  if (board.Width() != old.Width() || board.Height() != old.Height()) out << QStringLiteral("%1 x %2").arg(board.Width()).arg(board.Height());
  else if (board.Image().pixel(old.Width() - 1, old.Height() - 1) != qRgb(1, 2, 3)) out << "redrawn";
  if (board.Left != old.Left || board.Top != old.Top) out << QStringLiteral("at %1,%2").arg(board.Left).arg(board.Top);
  if (ws.win.picFastMenu.Visible != was.win.picFastMenu.Visible) out << (ws.win.picFastMenu.Visible ? "bar shown" : "bar hidden");
  if (!m.w.isVisible()) out << "closed";
  if (undoItems() != undo) out << undoItems();
  return out.join(", ");
}

// A blank project with Pane 1 (at 50,50, 100 x 100) as the Target.
struct DialogWindow : Window {
  DialogWindow() {
    w.runCommand(Command::AddCustomPane);
    click("picStage", Qt::LeftButton, {60, 60});
  }
};

// The killed program: a new project with one Pane, unsaved, then waits.
int editAndWait(const QString& root) {
  HeadlessPlatform platform;
  Workspace ws;
  frmMain w(ws, platform);
  CommandRouter router(w, 0);
  RecoveryKeeper keeper(root, 30);
  Keeping keeping(w, nullptr, &keeper);
  w.show();
  Label_IntroChoice_Click(ws, 0);
  w.runCommand(Command::AddCustomPane);
  std::puts(ws.history.Unsaved() ? "ready" : "not changed");
  std::fflush(stdout);
  return QApplication::exec();
}

}  // namespace

class TestFrmMain : public QObject {
  Q_OBJECT

  void pasteFromAnotherProgram() {
    const QString xclip = QStandardPaths::findExecutable("xclip");
    QVERIFY2(!xclip.isEmpty(), "xclip is missing: run scripts/install-deps");
    QTemporaryDir dir;
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(qRgb(250, 120, 0));
    QVERIFY(picture.save(dir.filePath("p.png")));
    QProcess owner;
    owner.start(xclip, {"-quiet", "-selection", "clipboard", "-t", "image/png", "-i", dir.filePath("p.png")});
    QVERIFY(owner.waitForStarted());
    Window m;
    QTRY_VERIFY(QGuiApplication::clipboard()->mimeData()->hasFormat("image/png"));
    m.key("Shift+Insert");
    owner.kill();
    owner.waitForFinished();
    QCOMPARE(m.ws.project.PaneCount, Integer(1));
    QCOMPARE(fixtures::sheetBlock(m.ws, 1), picture);
  }

 private slots:
  void inputs_data() {
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("effect");
    // One row a line in the file: "state: input -> effect"; '#' starts a note.
    for (const QString row : dataRows(QUORVEL_GOLDEN_DIR "/inputs.txt", 72)) {  // a lost row would hide a remapped key
      const QString state = row.section(": ", 0, 0), input = row.section(": ", 1).section(" ->", 0, 0);
      QTest::addRow("%s: %s", qPrintable(state), qPrintable(input)) << state << input << row.section(" ->", 1).trimmed();
    }
  }

  void inputs() {
    QFETCH(QString, state);
    QFETCH(QString, input);
    QFETCH(QString, effect);
    Window m(state != "intro");
    for (int i = 0; i < (state == "50 Panes" ? 50 : 1); ++i) AddPane(m.ws);
    m.w.Refresh();
    if (state == "changed" || state == "undone") m.key("Ctrl+A");
    if (state == "undone") m.key("Ctrl+Z");
    else if (state != "design" && state != "intro") m.click("picStage", Qt::LeftButton, {60, 60});  // the Target
    if (state == "running" || state == "full") {
      m.key(state == "full" ? "F12" : "F11");
      m.router.pumpPass();
    }
    QCOMPARE(effectOf(m, input), effect);
  }

  // Shift+click adds a Pane to the selection, which shows a lighter box; a
  // Shift drag on free Board draws a rubber band and adds what it touches;
  // a plain click clears the selection. A drag snaps to another Pane's edge
  // and shows the guide; with Alt held it does not.
  void chooseAndSnap() {
    Window m;
    QWidget* stage = m.get("picStage");
    for (int i = 0; i < 3; ++i) AddPane(m.ws);
    m.ws.Pane(2).Left = 310;
    m.ws.Pane(2).Top = 50;
    m.ws.Pane(3).Left = m.ws.Pane(3).Top = 300;
    const auto move = [&](QPoint at, Qt::KeyboardModifiers keys) {
      QMouseEvent e(QEvent::MouseMove, at, stage->mapToGlobal(at), Qt::NoButton, Qt::LeftButton, keys);
      QApplication::sendEvent(stage, &e);
    };
    m.click("picStage", Qt::LeftButton, {100, 100});
    QTest::mouseClick(stage, Qt::LeftButton, Qt::ShiftModifier, {350, 100});
    QCOMPARE(m.ws.pointer.TargetPane, Integer(2));
    QCOMPARE(m.get("SelectionBox_0")->geometry(), QRect(50, 50, 100, 100));
    QTest::mousePress(stage, Qt::LeftButton, Qt::ShiftModifier, {250, 250});
    move({320, 330}, Qt::ShiftModifier);
    QVERIFY(m.get("RubberBand")->isVisible() && m.get("RubberBand")->geometry() == QRect(250, 250, 70, 80));
    QTest::mouseRelease(stage, Qt::LeftButton, Qt::ShiftModifier, {320, 330});
    QVERIFY(!m.get("RubberBand")->isVisible() && m.get("SelectionBox_1")->isVisible());
    QCOMPARE(m.ws.pointer.Selection, QVector<int>({1, 2, 3}));
    m.click("picStage", Qt::LeftButton, {100, 100});
    QVERIFY(m.ws.pointer.Selection.isEmpty() && !m.get("SelectionBox_0")->isVisible());
    // Pane 1's left edge 3 pixels short of Pane 2's holds there, the guide
    // down the Board at x 310; with Alt it follows the pointer.
    QTest::mousePress(stage, Qt::LeftButton, {}, {60, 60});
    move({307, 180}, {});
    QCOMPARE(m.ws.Pane(1).Left, Integer(310));
    QVERIFY(m.get("SnapGuide_0")->isVisible() && m.get("SnapGuide_0")->geometry() == QRect(310, 0, 1, 600));
    move({307, 180}, Qt::AltModifier);
    QTest::mouseRelease(stage, Qt::LeftButton, Qt::AltModifier, {307, 180});
    QVERIFY(m.ws.Pane(1).Left == 307 && !m.get("SnapGuide_0")->isVisible());
  }

  // Ctrl+C in one window and Ctrl+Shift+V in another bring a Pane across
  // whole; Ctrl+Insert and Shift+Insert do it again, and Ctrl+Shift+] as X
  // reports it (Shift makes "]" a "}") brings the second copy to the front.
  // A picture another program (xclip) puts on the X clipboard is pasted by
  // Shift+Insert as a new Pane: that part runs in a second run of this test
  // under Xvfb, which fails when xvfb-run or xclip are missing.
  void clipboard() {
    if (QGuiApplication::platformName() == "xcb") return pasteFromAnotherProgram();
    Window from, to;
    from.key("Ctrl+A");
    from.click("picStage", Qt::LeftButton, {60, 60});
    from.key("Ctrl+C");
    to.key("Ctrl+Shift+V");
    from.key("Ctrl+Insert");
    to.key("Shift+Insert");
    QCOMPARE(to.ws.project.PaneCount, Integer(2));
    QCOMPARE(fixtures::sheetBlock(to.ws, 2), fixtures::sheetBlock(from.ws, 1));
    to.click("picStage", Qt::LeftButton, {155, 155});
    to.key("Ctrl+Shift+}");
    QCOMPARE(QList<int>({to.ws.Pane(1).Left, to.ws.pointer.TargetPane}), QList<int>({60, 1}));
    QProcess x;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "xcb");
    x.setProcessEnvironment(env);
    x.start("xvfb-run", {"-a", QCoreApplication::applicationFilePath(), "clipboard"});
    QVERIFY2(x.waitForStarted(), "xvfb-run is missing: run scripts/install-deps");
    QVERIFY(x.waitForFinished(90000));
    QVERIFY2(x.exitStatus() == QProcess::NormalExit && x.exitCode() == 0, x.readAll().constData());
  }

  // Files from the file manager, through Qt's drag events: one picture is
  // taken over free space and over a Pane, text is not (what else is
  // refused is the drop tests'); the picture dropped on free space is a new
  // Pane centred there, its transparent part showing the Board once the drop
  // has ended; Ctrl+Z takes it back. On the intro a project is taken, and a
  // file that is not says why beside the pointer.
  void filesDroppedOnTheBoard() {
    Window m;
    QWidget* stage = m.get("picStage");
    QTemporaryDir dir;
    QImage sticker(40, 40, QImage::Format_ARGB32);
    sticker.fill(Qt::transparent);
    fill(sticker, 10, 10, 20, 20, RGB(0, 200, 0));
    QVERIFY(sticker.save(dir.filePath("sticker.png")) && QDir(dir.path()).mkdir("folder"));
    const auto files = [](const QString& path) {
      auto data = std::make_unique<QMimeData>();
      data->setUrls({QUrl::fromLocalFile(path)});
      return data;
    };
    // Whether a drag over a widget is taken there; with drop, also dropped.
    const auto taken = [](const QMimeData& data, QPoint at, QWidget* on, bool drop = false) {
      QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
      QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, {});
      QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, {});
      QApplication::sendEvent(on, &enter);
      if (!enter.isAccepted()) return false;
      QApplication::sendEvent(on, &move);
      if (drop) QApplication::sendEvent(on, &dropped);
      return move.isAccepted() && move.dropAction() == Qt::CopyAction && (!drop || dropped.isAccepted());
    };
    QMimeData text;
    text.setText("hello");
    const auto picture = files(dir.filePath("sticker.png"));
    QVERIFY(!taken(text, {400, 300}, stage) && taken(*picture, {400, 300}, stage, true));
    QTRY_COMPARE(m.ws.project.PaneCount, Integer(1));
    const PaneRecord& p = m.ws.Pane(1);
    QCOMPARE(QList<int>({p.Left, p.Top, p.Width, p.Height}), QList<int>({380, 280, 40, 40}));
    QVERIFY(isSet(p.BlackTransparent) && taken(*picture, {385, 285}, stage));
    const QImage shown = stage->grab().toImage();
    QCOMPARE(QList<QRgb>({shown.pixel(400, 300), shown.pixel(382, 282)}),
             QList<QRgb>({qRgb(0, 200, 0), toQRgb(m.ws.project.BoardSettings.BoardBackColor)}));
    QCOMPARE(m.w.windowTitle(), QStringLiteral("Untitled * — Quorvel"));
    m.key("Ctrl+Z");
    QCOMPARE(m.ws.project.PaneCount, Integer(0));

    Window start(false);
    QWidget *intro = start.get("picIntro"), *note = start.get("DropNote");
    QVERIFY(!taken(*files(dir.filePath("folder")), {100, 100}, intro) && note->isVisible());
    QCOMPARE(start.get<QLabel>("DropNote")->text(), QStringLiteral("Not taken: it is a folder, not a file"));
    const auto project = files(QUORVEL_SOURCE_DIR "/examples/demo/demo.QV1");
    QVERIFY(taken(*project, {100, 100}, intro) && !note->isVisible() && taken(*project, {100, 100}, intro, true));
    QTRY_COMPARE(start.ws.project.PaneCount, Integer(5));
    QVERIFY(!intro->isVisible() && start.get("picStage")->isVisible() && start.platform.calls("ShowMessage").isEmpty());
  }

  void introLayoutAndBoardSizeList() {
    Window m(false);
    QWidget *intro = m.get("picIntro"), *stage = m.get("picStage");
    QVERIFY(intro->isVisible() && !stage->isVisible() && !m.get("Img_IconStrip_4")->isVisible());
    // "Load existing Project" runs the load command: cancelled, the intro stays.
    m.click("Label_IntroChoice_1");
    QCOMPARE(m.platform.log, QStringList{"OpenFileDialog|Load Quorvel Project|Project Format (*.QV1)|*.QV1|/opt/quorvel/"});
    QVERIFY(intro->isVisible());
    m.click("Label_IntroChoice_0");
    QVERIFY(!intro->isVisible() && m.get("Img_IconStrip_4")->isVisible());
    // Icons 2 and 9 pop up the menus that name other tools.
    const QMenu *tools = m.w.menus()->menuForIcon(2), *addIns = m.w.menus()->menuForIcon(9);
    QVERIFY(tools && addIns && tools->objectName() == "mnu_OtherTools" && addIns->objectName() == "mnu_AddIns");
    QCOMPARE(stage->geometry(), QRect(1, 24, 800, 600));
    // The Board size list and a window resize.
    auto* combo = m.get<QComboBox>("Combo_Board");
    QWidget *holder = m.get("picHolder"), *bar = m.get("picFastMenu");
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Down);
    QCOMPARE(stage->size(), QSize(1024, 764));
    // Taller than the window, the Board keeps its size: the window scrolls.
    auto* scroll = m.get<QScrollArea>("WorkScroll");
    QTRY_VERIFY(scroll->verticalScrollBar()->isVisible());
    QCOMPARE(scroll->widget()->height(), bar->height() + 764 + 1);
    // With "Max x Max" the next window resize fills the area.
    QTest::keyClick(combo, Qt::Key_Down);
    m.w.resize(900, 640);
    QTRY_COMPARE(holder->size(), QSize(898, 639));
    QCOMPARE(stage->geometry(), QRect(holder->x() + 1, bar->y() + bar->height(), 897, 639 - (bar->height() + 1)));
    // A key on the list goes to the window once, not to the list as well.
    m.key("F5");
    QCOMPARE(combo->currentText(), QStringLiteral("Max x Max"));
    QTRY_VERIFY(!scroll->verticalScrollBar()->isVisible());
    // Too large for the screen, the window and its frame are fitted into it;
    // the icons are painted for the screen's pixel ratio.
    m.w.resize(1000, 900);
    m.w.fitToScreen();
    QVERIFY(m.w.screen()->availableGeometry().contains(m.w.frameGeometry()));
    const QPixmap sharp = stripIcon(10, 2);
    QVERIFY(sharp.size() == QSize(32, 32) && sharp.deviceIndependentSize() == QSizeF(16, 16));
    QVERIFY(sharp.toImage() != stripIcon(10).toImage().scaled(32, 32));
  }

  // Without a window manager nothing gives the keys back when a pop-up menu
  // closes: the main window takes them again itself. (After a message box:
  // app.keys_once, on a bare X display.)
  void keysComeBackAfterAMenu() {
    Window m;
    QWidget elsewhere;
    elsewhere.show();
    QTRY_VERIFY(elsewhere.isActiveWindow());
    elsewhere.hide();
    m.click("Img_IconStrip_3");
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
    QTRY_COMPARE(QApplication::activeWindow(), &m.w);
  }

  // The player reads the whole sound without an error, an own sound too.
  void soundAndFilters() {
    QtPlatform platform;
    // The ding, then an own sound (its name in it) while the ding still plays.
    const QList<QMediaPlayer::MediaStatus> read = {QMediaPlayer::LoadedMedia, QMediaPlayer::BufferedMedia, QMediaPlayer::EndOfMedia};
    for (const QByteArray& sound : {LoadResData(DingSoundId, "CUSTOM"), EncodeWave(QByteArray(8820, '\0'), 1, 44100, "bell")}) {
      platform.PlaySound(sound);
      const QMediaPlayer* player = platform.player();
      QTRY_VERIFY_WITH_TIMEOUT(read.contains(player->mediaStatus()) || player->error() != QMediaPlayer::NoError, 10000);
      QVERIFY2(player->error() == QMediaPlayer::NoError, qPrintable(player->errorString()));
    }
    QCOMPARE(qtFileFilter("Image Format (*.bmp;*.jpg;*.gif)|*.bmp;*.jpg;*.gif"), QStringLiteral("Image Format (*.bmp *.jpg *.gif)"));
    QCOMPARE(qtFileFilter("Pictures|*.bmp|All|*.*"), QStringLiteral("Pictures (*.bmp);;All (*.*)"));
    // A program's exit status (as xdg-open's when no browser takes a page), one still running after the wait, one missing.
    using K = ProgramResult::Kind;
    const ProgramResult ended = platform.RunProgram("sh", {"-c", "exit 4"}, 5000);
    QVERIFY(ended.kind == K::Ended && ended.exitStatus == 4);
    QVERIFY(platform.RunProgram("sleep", {"0.3"}, 50).kind == K::StillRunning);
    QTest::qWait(800);  // it ends and its process goes, so the leak check sees none
    QVERIFY(platform.RunProgram("/nonexistent/xdg-open", {}, 1000).kind == K::NotStarted);
  }

  // Typed and pasted text goes through each box's filter (golden/typed.txt);
  // a refused key leaves the selection it was typed over.
  void numericBoxesFilterTypedAndPastedText() {
    DialogWindow m;
    for (const QStringList& f : fieldRows(QUORVEL_GOLDEN_DIR "/typed.txt", 8)) {
      const QString name = "Text_Val_" + f[0];
      m.open(Command::EditPane, [&] {
        m.type(name, f[1] == "typed" ? f[2] : QString());
        QGuiApplication::clipboard()->setText(f[2]);
        if (f[1] == "pasted") QTest::keyClick(m.get(name), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(m.get<QLineEdit>(name)->text(), f[3]);
        QCOMPARE(m.ws.dialogs.panes.Text_Val[f[0].toUInt()].Text, f[3]);
      });
    }
    m.open(Command::EditPane, [&] {
      m.type("Text_Val_10", "60");
      auto* width = m.get<QLineEdit>("Text_Val_10");
      width->selectAll();
      QTest::keyClicks(width, "x5");
      QCOMPARE(width->text(), QStringLiteral("5"));
    });
    QVERIFY(!m.get("Text_Val_5")->isEnabled());
  }

  // The Pane and Board properties dialogs.
  void paneAndBoardDialogs() {
    // Cancel keeps the Pane and the controls until the next opening.
    DialogWindow m;
    PaneRecord& p = m.ws.project.PaneTable[1];
    m.open(Command::EditPane, [&] {
      m.type("Text_Val_10", "150");
      m.click("Button_frmPanes_0");
    });
    QCOMPARE(QStringList({QString::number(p.Width), m.get<QLineEdit>("Text_Val_10")->text()}), QStringList({"100", "150"}));
    QStringList seen;  // the width reloaded, the URL black while active, red when not
    m.open(Command::EditPane, [&] {
      seen << m.get<QLineEdit>("Text_Val_10")->text();
      m.type("Text_Label", QString("a") + QChar(0xCE) + "b");
      for (const char* option : {"Option_UseURL_1", "Option_UseURL_0"}) {
        m.click(option);
        seen << m.get("Text_URL")->palette().color(QPalette::Text).name();
      }
      m.type("Text_Val_10", "50");
      m.choose("Combo_AnimationType", 5);
      m.click("Button_frmPanes_1");
    });
    QCOMPARE(seen << p.Label, QStringList({"100", "#000000", "#ff0000", "ab"}));
    QCOMPARE(QList<int>({p.Width, p.UseURL, p.MoveType}), QList<int>({50, QvFalse, 5}));
    QVERIFY(!m.get<QDialog>("frmPanes")->isVisible());
    // The Writing box keeps unedited line ends and shows its look.
    setFields(p, QString("UseWriting=-1 WritingBold=-1 WritingFontSize=14 WritingForeColor=%1 WritingBackColor=%2").arg(RGB(255, 0, 0)).arg(RGB(0, 0, 255)));
    p.WritingText = "a\r\nb";
    p.WritingFontName = "Quorvel Missing Face";
    m.open(Command::EditPane, [&] {
      QWidget* box = m.reveal("Text_Writing");
      const QFont font = box->font();
      QCOMPARE(QStringList({font.family(), QString::number(font.pointSize()), box->palette().color(QPalette::Base).name(),
                            box->palette().color(QPalette::Text).name(), QString::number(font.bold() + 2 * font.italic())}),
               QStringList({"Quorvel Missing Face", "14", "#0000ff", "#ff0000", "1"}));
      m.click("Button_frmPanes_1");
    });
    QCOMPARE(p.WritingText, QString("a\r\nb"));
    // An edit gives the box's text; a key makes the Writing "Active".
    p.UseWriting = QvFalse;
    m.open(Command::EditPane, [&] {
      QWidget* box = m.reveal("Text_Writing");
      box->setFocus();
      QTest::keyClick(box, Qt::Key_End, Qt::ControlModifier);
      QTest::keyClicks(box, "c");
      m.click("Button_frmPanes_1");
    });
    QVERIFY(p.WritingText == "a\nbc" && isSet(p.UseWriting));
    // The Board dialog: colours, swatches, and Wire or Float.
    QList<Long> swatches;
    m.open(Command::EditBoard, [&] {
      m.click("Button_frmBoard_3");  // the colour dialog is cancelled
      for (int colour : {-1, 3, 0}) {
        if (colour >= 0) m.choose("Combo_BackColType", colour);
        swatches << m.get<ColourWell>("picSwatch")->colour();
      }
      m.platform.colorAnswers.enqueue(RGB(1, 2, 3));
      m.click("picLabelCol");
      swatches << m.get<ColourWell>("picLabelCol")->colour();
      m.choose("Combo_SelectionColor", 4);
      m.click("Option_BoardMove_0");
      m.click("Option_WirePanes_1");  // greys Float "Yes"
      QVERIFY(!m.get("Option_FloatPanes_1")->isEnabled());
      m.click("Button_frmBoard_1");
    });
    QCOMPARE(swatches, QList<Long>({Grey, RGB(0, 255, 0), Black, RGB(1, 2, 3)}));
    QCOMPARE(m.get<QComboBox>("Combo_LabelCol")->currentText(), QString("Define"));
    const BoardSettingsRecord& b = m.ws.project.BoardSettings;
    QCOMPARE(QList<Long>({b.BoardBackColor, b.LabelColor, b.SelectionColor}), QList<Long>({Black, RGB(1, 2, 3), RGB(0, 0, 255)}));
    QVERIFY(isSet(b.BoardLocked) && isSet(b.WirePanes));
    QCOMPARE(m.ws.surfaces.picStage.Image().pixel(600, 400), qRgb(2, 2, 2));
    m.open(Command::EditBoard, [&] { QVERIFY(m.get<QRadioButton>("Option_BoardMove_0")->isChecked()); });
    m.open(Command::Help, [&] {  // the last topic is ours
      m.choose("Combo_Help", 25);
      QCOMPARE(m.get<QListWidget>("List_Help")->count(), 10);
    });
  }

  // The Target's box over the Board and the layer list; then Pane 1 given a
  // picture through its Fast Icon, its movement and Value set, run
  // in Design, clicked and stopped: the restored sheets are what was authored.
  void authorAndPlay() {
    DialogWindow m;
    Workspace& ws = m.ws;
    QWidget* stage = m.get("picStage");
    // The Target's box shows above the Board, while the Board picture itself
    // holds the Pane only.
    QCOMPARE(m.get("Shape1_0")->geometry(), QRect(50, 50, 100, 100));
    const QImage shown = stage->grab().toImage();
    const QImage& sprites = ws.project.picSprites.Image();
    QCOMPARE(QList<QRgb>({shown.pixel(50, 50), shown.pixel(100, 100), ws.surfaces.picStage.Image().pixel(50, 50)}),
             QList<QRgb>({qRgb(0, 0, 255), sprites.pixel(50, 50), sprites.pixel(0, 0)}));
    // A right click on the Pane opens the layer list; choosing the entry
    // makes its Pane the Target and closes the list.
    QTest::mouseMove(stage, {70, 80});
    m.click("picStage", Qt::RightButton, {70, 80});
    auto* list = m.get<QListWidget>("List_Zorder");
    QVERIFY(m.get("Frame_ListZ")->isVisible() && list->currentRow() == 0);
    ws.pointer.TargetPane = 0;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
    QVERIFY(ws.pointer.TargetPane == 1 && !m.get("Frame_ListZ")->isVisible());
    QTemporaryDir dir;
    const QImage art = randomImage(60, 40, 9);
    QVERIFY(art.save(dir.filePath("art.bmp")));
    // Its lower-left corner shows the Fast Icons (a drag: chooseAndSnap);
    // "Load picture" takes art.bmp, stretched over the Pane's 100 x 100.
    QTest::mouseMove(stage, {55, 140});
    QTRY_VERIFY(m.get("Img_FastIcons_0")->isVisible());
    m.platform.fileAnswers.enqueue(fileChoiceFromPath(dir.filePath("art.bmp")));
    QTest::mouseClick(m.get("Img_FastIcons_0"), Qt::LeftButton);
    const QImage block = sheetBlock(ws, 1);
    QCOMPARE(QList<QRgb>({block.pixel(0, 0), block.pixel(99, 99)}), QList<QRgb>({art.pixel(0, 0), art.pixel(59, 39)}));
    // Left to right; a click adds to the Value, which may count up to 99;
    // "5" is refused in Speed, so the speed goes to 3.
    m.open(Command::EditPane, [&] {
      m.choose("Combo_AnimationType", 1);
      m.choose("Combo_ValueType", 1);
      m.type("Text_Val_3", "53");
      m.type("Text_Val_2", "99");
      m.click("Button_frmPanes_1");
    });
    QCOMPARE(QList<int>({ws.Pane(1).MoveType, ws.Pane(1).Process, ws.Pane(1).Speed, ws.Pane(1).LifeEndValue}),
             QList<int>({1, 1, 3, 99}));

    const Design designed(ws);
    // Run in Design: Pane 1 moves 3 pixels a frame; a click on it adds to
    // its Value.
    m.key("F11");
    for (int pass = 0; pass < 5; ++pass) m.router.pumpPass();
    QCOMPARE(ws.RunPane(1).Left, Integer(50 - 5 * 3));
    const QPoint at(ws.RunPane(1).Left + 30, ws.RunPane(1).Top + 20);
    QTest::mouseMove(stage, at);
    m.router.pumpPass();  // the hover test marks the Pane under the pointer
    QTest::mouseClick(stage, Qt::LeftButton, {}, at);
    QCOMPARE(ws.RunPane(1).Value, Integer(ws.Pane(1).StartValue + 1));
    m.key("Esc");
    QVERIFY(m.router.pumping());
    m.router.pumpPass();  // the pass that saw Stop ends the loop
    QVERIFY(!m.router.pumping());
    QVERIFY(designed.matches(ws));
  }

  void recentProjects() {
    QTemporaryDir tmp;
    const QString demo = qEnvironmentVariable("QUORVEL_EXAMPLES") + "/demo/demo.QV1", gone = tmp.filePath("gone.QV1");
    Settings settings(SettingsFile(tmp.path()));
    settings.ProjectUsed(demo);
    settings.ProjectUsed(gone);
    HeadlessPlatform platform;
    Workspace ws;
    frmMain w(ws, platform);
    CommandRouter router(w, 0);
    Keeping keeping(w, &settings, nullptr);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const auto row = [&](int i) { return w.findChild<QLabel*>(QStringLiteral("Label_Recent_%1").arg(i)); };
    QVERIFY(row(0) && row(1) && !row(2) && row(0)->text().contains("gone.QV1") && row(1)->text().contains("demo.QV1"));
    QCOMPARE(row(0)->toolTip(), QString("This project is no longer there"));
    QCOMPARE(w.intro()->height(), IntroHeight + 24 + 2 * 36 + 8);
    QVERIFY(w.intro()->geometry().contains(row(1)->geometry().translated(w.intro()->pos())));
    QTest::mouseClick(row(0), Qt::LeftButton);
    QCOMPARE(platform.calls("ShowMessage"), QStringList{"ShowMessage|Load a Project|" + gone +
                                                        "\nThe project is no longer there; it was taken off the recent projects."});
    QCOMPARE(settings.Recent(), QStringList{demo});
    QVERIFY(row(0) && !row(1) && row(0)->text().contains("demo.QV1"));
    QTest::mouseClick(row(0), Qt::LeftButton);
    QVERIFY(!w.intro()->isVisible());
    QCOMPARE(ws.project.DocumentName, QString("demo.QV1"));
    QCOMPARE(platform.usedProjects, QStringList{demo});
  }

  // SIGTERM: the copy is written, then the program quits without a question.
  void sigtermKeepsTheCopy() {
    QTemporaryDir tmp;
    QProcess p;
    p.start(QCoreApplication::applicationFilePath(), {"--edit-and-wait", tmp.filePath("r")});
    QVERIFY(p.waitForReadyRead(30'000));
    QCOMPARE(p.readLine(), QByteArray("ready\n"));
    ::kill(pid_t(p.processId()), SIGTERM);
    QCOMPARE(fixtures::finish(p, 30'000).code, 0);
    HeadlessSession s;
    s.platform.recoverAnswers << RecoverChoice::Recover;
    RecoveryKeeper keeper(tmp.filePath("r"), 30);
    QVERIFY(OfferRecovery(s.ws, keeper, tmp.filePath("aside")));
    QVERIFY(s.ws.project.PaneCount == 1 && s.ws.history.Unsaved());
  }
};

// The tests, or the program sigtermKeepsTheCopy kills.
int main(int argc, char** argv) {
  QApplication app(argc, argv);
  app.setAttribute(Qt::AA_Use96Dpi, true);
  if (argc == 3 && QByteArray(argv[1]) == "--edit-and-wait") return editAndWait(argv[2]);
  TestFrmMain test;
  QTEST_SET_MAIN_SOURCE_PATH
  return QTest::qExec(&test, argc, argv);
}
#include "test_frmmain.moc"
