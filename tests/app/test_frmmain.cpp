// The real main window and its command routing, driven with real key and
// mouse events: one table of key, icon and menu item against the effect it
// has on the engine, the intro, the Board size list and window resizing,
// the overlays, dragging a Pane, the RunMode pump and the Qt sound player.
#include "app/CommandRouter.h"
#include "app/Menus.h"
#include "app/QtPlatform.h"
#include "app/frmMain.h"
#include "editing/Panes.h"
#include "resources/Resources.h"
#include "runmode/RunLoop.h"
#include "shell/Headless.h"
#include "shell/Setups.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QListWidget>
#include <QMediaPlayer>
#include <QMenu>
#include <QTest>
#include <QTimer>

using namespace qv;

namespace {

// A shown main window over a fresh workspace and a scripted platform that
// answers No; past the intro unless asked otherwise.
struct Window {
  HeadlessPlatform platform;
  Workspace ws;
  frmMain w{ws, platform};
  CommandRouter router{w};

  explicit Window(bool open = true) {
    w.resize(1000, 720);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    if (open) click("Label_IntroChoice_0");
  }
  template <typename T = QWidget>
  T* get(const QString& name) {
    T* found = w.findChild<T*>(name);
    if (!found) qFatal("no control %s", qPrintable(name));
    return found;
  }
  QWidget* stage() { return get("picStage"); }
  void click(const QString& name, Qt::MouseButton b = Qt::LeftButton, QPoint at = {}) { QTest::mouseClick(get(name), b, {}, at); }
  // Keys reach the focus widget first, or the window when nothing has focus.
  void key(const QString& k) {
    const QKeyCombination c = QKeySequence::fromString(k)[0];
    QWidget* target = QApplication::focusWidget();
    QTest::keyClick(target ? target : &w, c.key(), c.keyboardModifiers());
  }
  // Chooses a menu item with the mouse: its icon (or a right click on free
  // Board) opens the menu, a click on the item chooses it. The Board's menu
  // is modal, so the item is clicked from inside its event loop.
  void choose(const QString& item) {
    QAction* a = w.menus()->action(item);
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
// moved, the bar hidden or shown.
QString effectOf(Window& m, const QString& input) {
  Workspace& ws = m.ws;
  Surface& board = ws.surfaces.picStage;
  if (input.startsWith("fast ")) QTest::mouseMove(m.stage(), {55, 140});  // into the Pane's Fast Icon zone
  const bool running = isSet(ws.run.Running);
  const qsizetype logged = m.platform.log.size();
  const int panes = ws.project.PaneCount;
  const QString readout = ws.win.Lab_Readouts;
  const QRect place(board.Left, board.Top, board.Width(), board.Height());
  board.Image().setPixel(place.width() - 1, place.height() - 1, qRgb(1, 2, 3));
  const bool bar = ws.win.picFastMenu.Visible;
  // A dialog the input opens runs modally: note it and close it.
  QStringList dialogs;
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
      dialogs << d->objectName() + " shown";
      d->done(QDialog::Rejected);
    }
  });
  watch.start(10);
  if (input.startsWith("icon ")) {
    m.click("Img_IconStrip_" + input.mid(5));
  } else if (input.startsWith("fast ")) {
    m.click("Img_FastIcons_" + input.mid(5));
  } else if (input.startsWith("mnu_")) {
    m.choose(input);
  } else {
    m.key(input);
  }
  watch.stop();
  QStringList out = dialogs;
  for (qsizetype i = logged; i < m.platform.log.size(); ++i) out << m.platform.log[i].section('|', 0, 1);
  if (ws.project.PaneCount != panes) out << QStringLiteral("%1 Panes").arg(ws.project.PaneCount);
  if (running && isSet(ws.run.Running) && ws.run.FirstFrameDone == 0) out << "restarted";
  else if (ws.win.Lab_Readouts != readout) out << ws.win.Lab_Readouts;
  if (board.Width() != place.width() || board.Height() != place.height()) out << QStringLiteral("%1 x %2").arg(board.Width()).arg(board.Height());
  else if (board.Image().pixel(place.width() - 1, place.height() - 1) != qRgb(1, 2, 3)) out << "redrawn";
  if (board.Left != place.left() || board.Top != place.top()) out << QStringLiteral("at %1,%2").arg(board.Left).arg(board.Top);
  if (ws.win.picFastMenu.Visible != bar) out << (bar ? "bar hidden" : "bar shown");
  return out.join(", ");
}

}  // namespace

class TestFrmMain : public QObject {
  Q_OBJECT

 private slots:
  void inputs_data() {
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("effect");
    // The states: one Pane ("design"), made the Target ("target"), running
    // in Design ("running"), running on the Full Board ("full"), 50 Panes.
    const char* rows[][3] = {
        {"design", "F11", "Project is Running"},
        {"running", "F11", "restarted"},
        {"running", "Esc", "Stopped"},
        {"full", "Esc", "Stopped, at 1,24, bar shown"},
        {"design", "Esc", "Stopped"},
        {"design", "F6", "OpenFileDialog|Load Quorvel Project"},
        {"design", "F5", "redrawn"},
        {"design", "F12", "Project is Running, at 1,1, bar hidden"},
        {"target", "Del", "AskYesNo|Remove Pane - 1"},
        {"design", "Del", ""},  // greyed: no Target
        {"design", "Ctrl+A", "2 Panes"},
        {"50 Panes", "Ctrl+A", ""},
        {"design", "Ctrl+N", "AskYesNo|New Project"},
        {"design", "Ctrl+S", "SaveFileDialog|Save Quorvel Project"},
        {"design", "Ctrl+X", "AskYesNo|Activity : End Application"},
        {"design", "icon 0", "redrawn"},
        {"design", "icon 1", ""},
        {"running", "icon 5", "Stopped"},
        {"full", "icon 11", "Stopped, at 1,24, bar shown"},
        {"target", "fast 3", "AskYesNo|Remove Pane - 1"},
        {"design", "mnu_AddCustomPane", "2 Panes"},
        {"design", "mnu_RemovePane", ""},  // greyed
        {"target", "mnu_RemovePane", "AskYesNo|Remove Pane - 1"},
        {"design", "mnu_RunInWindow", "Project is Running"},
        {"design", "mnu_RunFullscreen", "Project is Running, at 1,1, bar hidden"},
        {"design", "mnu_SaveProject", "SaveFileDialog|Save Quorvel Project"},
        {"design", "mnu_LoadsProject", "OpenFileDialog|Load Quorvel Project"},
        {"design", "mnu_NewProject", "AskYesNo|New Project"},
        {"design", "mnu_End", "AskYesNo|Activity : End Application"},
        {"design", "mnu_BoardCompositePanes", ""},  // greyed until a project is loaded
        {"design", "mnu_320x240", "320 x 240, at 0,0"},
        {"design", "F1", "frmBoard shown, redrawn"},
        {"target", "Ctrl+E", "frmPanes shown"},
        {"target", "Ctrl+R", "frmPanes shown"},
        {"design", "Ctrl+E", ""},  // greyed: no Target
        {"target", "Ctrl+H", "redrawn"},
        {"target", "Ctrl+V", "redrawn"},
        {"target", "Backspace", "redrawn"},
        {"design", "Backspace", ""},
        {"target", "Ctrl+L", "OpenFileDialog|Open an image file for Pane ..., redrawn"},
        {"target", "fast 2", "frmPanes shown, redrawn"},
        {"target", "fast 1", "frmPanes shown"},
        {"target", "fast 0", "OpenFileDialog|Open an image file for Pane ..., redrawn"},
        {"design", "mnu_LoadPicBack", "OpenFileDialog|Open an image file for Background ..., redrawn"},
        {"design", "mnu_EditBoard", "frmBoard shown, redrawn"},
    };
    for (const auto& [state, input, effect] : rows) QTest::addRow("%s: %s", state, input) << state << input << effect;
    // While running only F11 and Esc act.
    for (const char* k : {"F6", "F5", "F12", "Del", "Ctrl+A", "Ctrl+N", "Ctrl+S", "Ctrl+X", "F1", "Ctrl+E", "Backspace"})
      QTest::addRow("running: %s", k) << "running" << k << "";
  }

  void inputs() {
    QFETCH(QString, state);
    QFETCH(QString, input);
    QFETCH(QString, effect);
    Window m;
    for (int i = 0; i < (state == "50 Panes" ? 50 : 1); ++i) AddPane(m.ws);
    m.w.Refresh();
    if (state != "design") QTest::mouseClick(m.stage(), Qt::LeftButton, {}, {60, 60});  // the Target
    if (state == "running" || state == "full") {
      m.key(state == "full" ? "F12" : "F11");
      RunLoopPass(m.ws);
    }
    QCOMPARE(effectOf(m, input), effect);
  }

  void introAndLayout() {
    Window m(false);
    QWidget* intro = m.get("picIntro");
    QVERIFY(intro->isVisible() && !m.stage()->isVisible() && !m.get("Img_IconStrip_4")->isVisible());
    // "Load existing Project" runs the load command: cancelled, the intro stays.
    m.click("Label_IntroChoice_1");
    QCOMPARE(m.platform.log, QStringList{"OpenFileDialog|Load Quorvel Project|Project Format (*.QV1)|*.QV1|/opt/quorvel/"});
    QVERIFY(intro->isVisible());
    m.key("Ctrl+A");  // keys act only once a project is open
    QCOMPARE(m.ws.project.PaneCount, Integer(0));
    m.click("Label_IntroChoice_0");
    QVERIFY(!intro->isVisible());
    for (int i : DesignIcons) QVERIFY(m.get(QStringLiteral("Img_IconStrip_%1").arg(i))->isVisible());
    QCOMPARE(m.stage()->geometry(), QRect(1, 24, 800, 600));
    QCOMPARE(m.get("Img_IconStrip_4")->geometry(), QRect(1000 - 21, 2, 16, 16));
  }

  void boardSizeListAndWindowResize() {
    Window m;
    auto* combo = m.get<QComboBox>("Combo_Board");
    QWidget *stage = m.stage(), *holder = m.get("picHolder"), *bar = m.get("picFastMenu");
    QCOMPARE(combo->currentText(), QStringLiteral("800 x 600"));
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Down);
    QCOMPARE(stage->size(), QSize(1024, 764));
    // "Max x Max" alone keeps the size; the next window resize fills the area.
    QTest::keyClick(combo, Qt::Key_Down);
    QCOMPARE(stage->size(), QSize(1024, 764));
    m.w.resize(900, 640);
    QTRY_COMPARE(holder->size(), QSize(898, 639));
    QCOMPARE(stage->geometry(), QRect(holder->x() + 1, bar->y() + bar->height(), 897, 639 - (bar->height() + 1)));
    // A key on the list goes to the window once, not to the list as well.
    m.key("F5");
    QCOMPARE(combo->currentText(), QStringLiteral("Max x Max"));
  }

  // (Dragging and the run pump are driven end to end in test_endtoend.)
  void overlaysAndLayerList() {
    Window m;
    QWidget* stage = m.stage();
    m.key("Ctrl+A");
    // A press makes the Pane the Target: the window shows its box above the
    // Board, while the Board picture itself holds the Pane only.
    QTest::mouseClick(stage, Qt::LeftButton, {}, QPoint(60, 60));
    QCOMPARE(m.get("Shape1_0")->geometry(), QRect(50, 50, 100, 100));
    const QImage shown = stage->grab().toImage();
    const QImage& sprites = m.ws.surfaces.picSprites.Image();
    QCOMPARE(QList<QRgb>({shown.pixel(50, 50), shown.pixel(100, 100), m.ws.surfaces.picStage.Image().pixel(50, 50)}),
             QList<QRgb>({qRgb(0, 0, 255), sprites.pixel(50, 50), sprites.pixel(0, 0)}));
    // A right click on the Pane opens the layer list; choosing the entry
    // makes its Pane the Target and closes the list.
    QTest::mouseMove(stage, {70, 80});
    QTest::mouseClick(stage, Qt::RightButton, {}, {70, 80});
    auto* list = m.get<QListWidget>("List_Zorder");
    QVERIFY(m.get("Frame_ListZ")->isVisible() && list->currentRow() == 0);
    m.ws.pointer.TargetPane = 0;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
    QVERIFY(m.ws.pointer.TargetPane == 1 && !m.get("Frame_ListZ")->isVisible());
  }

  void soundAndFilters() {
    QtPlatform platform;
    platform.PlaySound(LoadResData(DingSoundId, "CUSTOM"));
    QVERIFY(platform.player() && platform.player()->error() == QMediaPlayer::NoError);
    platform.PlaySound(LoadResData(DingSoundId, "CUSTOM"));  // a new sound replaces the old
    platform.StopSound();
    QCOMPARE(platform.player()->error(), QMediaPlayer::NoError);
    QCOMPARE(qtFileFilter("Image Format (*.bmp;*.jpg;*.gif)|*.bmp;*.jpg;*.gif"), QStringLiteral("Image Format (*.bmp *.jpg *.gif)"));
    QCOMPARE(qtFileFilter("Pictures|*.bmp|All|*.*"), QStringLiteral("Pictures (*.bmp);;All (*.*)"));
  }
};

QTEST_MAIN(TestFrmMain)
#include "test_frmmain.moc"
