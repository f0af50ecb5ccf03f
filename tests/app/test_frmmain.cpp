// The main window driven with real mouse and key events: the intro, the
// design icons, the Board size list and window resizing, tooltips, menus,
// key routing, the dialog lists filled at start and the overlays.
#include "app/dialogs/frmBoard.h"
#include "app/Menus.h"
#include "app/QtPlatform.h"
#include "shell/Setups.h"
#include "app/frmMain.h"
#include "shell/Headless.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

using namespace qv;

namespace {

// A shown main window over a fresh workspace and a scripted platform.
struct Window {
  HeadlessPlatform platform;
  Workspace ws;
  frmMain w{ws, platform};

  Window() {
    w.resize(1000, 720);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
  }
  template <typename T = QWidget>
  T* get(const QString& name) {
    T* found = w.findChild<T*>(name);
    if (!found) qFatal("no control %s", qPrintable(name));
    return found;
  }
  QWidget* icon(int i) { return get(QStringLiteral("Img_IconStrip_%1").arg(i)); }
  void click(const QString& name) { QTest::mouseClick(get(name), Qt::LeftButton); }
  // Keys reach the focus widget first, or the window when nothing has focus.
  void key(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QWidget* target = QApplication::focusWidget();
    QTest::keyClick(target ? target : &w, k, mods);
  }
};

QStringList entries(QComboBox* c) {
  QStringList out;
  for (int i = 0; i < c->count(); ++i) out << c->itemText(i);
  return out;
}

}  // namespace

class TestFrmMain : public QObject {
  Q_OBJECT

 private slots:
  void introTooltipsAndTheDesignLayout() {
    Window m;
    QWidget* intro = m.get("picIntro");
    QVERIFY(intro->isVisible());
    QCOMPARE(intro->size(), QSize(350, 230));
    QCOMPARE(m.get<QLabel>("Label_IntroChoice_0")->text(), QStringLiteral("Blank new Project"));
    QCOMPARE(m.get<QLabel>("Label_IntroChoice_1")->text(), QStringLiteral("Load existing Project"));
    QVERIFY(!m.get("picStage")->isVisible());
    for (int i : DesignIcons) QVERIFY2(!m.icon(i)->isVisible(), qPrintable(QString::number(i)));
    const QString tips[12] = {"Refresh - F5", "Print", "", "Panes", "Run - F11", "Stop - ESC",
                              "Save", "Load", "Board", "Add-ins", "Help, New Project, End.", "Stop"};
    for (int i = 0; i < 12; ++i) QCOMPARE(m.icon(i)->toolTip(), tips[i]);
    QCOMPARE(m.icon(11)->parentWidget()->objectName(), QStringLiteral("Picture1"));
    const QString fastTips[4] = {"Load picture", "Resize pane", "Edit properties", "REMOVE"};
    for (int i = 0; i < 4; ++i) QCOMPARE(m.get(QStringLiteral("Img_FastIcons_%1").arg(i))->toolTip(), fastTips[i]);
    const char* captions[][3] = {{"Lab_CloseList", "  x", "close me"},
                                 {"Lab_Generic", "Target :", "Click for properties"},
                                 {"Button_Url", "URL", "Click me"}};
    for (auto [name, text, tip] : captions) {
      QCOMPARE(m.get(name)->property("text").toString(), QString(text));
      QCOMPARE(m.get(name)->toolTip(), QString(tip));
    }
    QCOMPARE(m.get("List_Zorder")->toolTip(), QStringLiteral("Select a Target ..."));
    QCOMPARE(m.w.windowTitle(), QStringLiteral("Quorvel"));
    // "Load existing Project" asks for a file; cancelled, the intro stays.
    m.click("Label_IntroChoice_1");
    QCOMPARE(m.platform.calls("OpenFileDialog"),
             QStringList{"OpenFileDialog|Load Quorvel Project|Project Format (*.QV1)|*.QV1|/opt/quorvel/"});
    QVERIFY(intro->isVisible());
    int loads = 0;
    m.w.loadExistingProject = [&] { ++loads; };
    m.click("Label_IntroChoice_1");
    QCOMPARE(loads, 1);

    m.click("Label_IntroChoice_0");
    QVERIFY(!intro->isVisible());
    for (int i : DesignIcons) QVERIFY2(m.icon(i)->isVisible(), qPrintable(QString::number(i)));
    for (int i : {1, 2, 9, 11}) QVERIFY2(!m.icon(i)->isVisible(), qPrintable(QString::number(i)));
    QWidget *stage = m.get("picStage"), *bar = m.get("picFastMenu"), *holder = m.get("picHolder");
    QVERIFY(stage->isVisible());
    QCOMPARE(stage->parentWidget(), holder);
    QCOMPARE(stage->geometry(), QRect(holder->x() + 1, bar->y() + bar->height(), 800, 600));
    // The strip runs 3, 8 | 6, 7 | 0, 5, 4 from left to right inside the bar,
    // with the help icon at the far left.
    const int order[] = {3, 8, 6, 7, 0, 5, 4};
    for (int k = 1; k < 7; ++k) QVERIFY(m.icon(order[k - 1])->geometry().right() < m.icon(order[k])->x());
    QVERIFY(m.icon(4)->geometry().right() < bar->width());
    // The help icon shows whole: two pixels from the window's left edge.
    QCOMPARE(m.icon(10)->mapTo(&m.w, QPoint(0, 0)).x(), 2);
    for (int i : DesignIcons) QCOMPARE(m.icon(i)->size(), QSize(16, 16));
  }

  void boardSizeListAndWindowResize() {
    Window m;
    m.click("Label_IntroChoice_0");
    auto* combo = m.get<QComboBox>("Combo_Board");
    QWidget *stage = m.get("picStage"), *holder = m.get("picHolder"), *bar = m.get("picFastMenu");
    QCOMPARE(entries(combo), (QStringList{"320 x 240", "640 x 480", "800 x 600", "1024 x 764", "Max x Max"}));
    QCOMPARE(combo->currentText(), QStringLiteral("800 x 600"));
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Down);
    QCOMPARE(stage->size(), QSize(1024, 764));
    QCOMPARE(m.ws.win.Combo_BoardIndex, 3);

    // "Max x Max" alone keeps the size; the next window resize fills the area.
    QTest::keyClick(combo, Qt::Key_Down);
    QCOMPARE(combo->currentText(), QStringLiteral("Max x Max"));
    QCOMPARE(stage->size(), QSize(1024, 764));
    m.w.resize(900, 640);
    QTRY_COMPARE(holder->size(), QSize(898, 639));
    QCOMPARE(stage->geometry(), QRect(holder->x() + 1, bar->y() + bar->height(), 897, 639 - (bar->height() + 1)));

    // A size menu puts the Board at (0, 0) and leaves the list alone; with
    // "Max x Max" still chosen the next resize takes the area again.
    m.w.menus()->action("mnu_320x240")->trigger();
    QCOMPARE(stage->geometry(), QRect(0, 0, 320, 240));
    QCOMPARE(combo->currentText(), QStringLiteral("Max x Max"));
    m.w.resize(960, 700);
    QTRY_COMPARE(stage->size(), QSize(957, 699 - 25));
    m.w.runMenu("mnu_1024x768");
    QCOMPARE(stage->geometry(), QRect(0, 0, 1024, 764));
  }

  void iconsAndMenusReachTheirCommands() {
    Window m;
    m.click("Label_IntroChoice_0");
    // Icons with a menu pop it up under them.
    const std::pair<int, const char*> popups[] = {{3, "mnu_Panes"}, {4, "mnu_Runn"}, {6, "mnu_Saves"},
                                                  {7, "mnu_Loads"}, {8, "mnu_Board"}, {10, "mnu_HelpOrNew"}};
    for (auto [icon, menu] : popups) {
      QTest::mouseClick(m.icon(icon), Qt::LeftButton);
      QTRY_VERIFY(QApplication::activePopupWidget());
      QCOMPARE(QApplication::activePopupWidget()->objectName(), QString(menu));
      QApplication::activePopupWidget()->close();
      QTRY_VERIFY(!QApplication::activePopupWidget());
    }
    QAction* add = m.w.menus()->action("mnu_AddCustomPane");
    QAction* edit = m.w.menus()->action("mnu_EditPane");
    QCOMPARE(add->text(), QStringLiteral("Add Pane\tCtrl+A"));
    QVERIFY(add->isEnabled() && !edit->isEnabled());
    // Enabled states follow the workspace after every command.
    m.ws.win.setMenuEnabled("mnu_EditPane", true);
    m.w.Refresh();
    QVERIFY(edit->isEnabled());

    // Icons without a menu go to the command handler, menu items by name.
    QList<int> commands;
    m.w.iconCommand = [&](int i) { commands << i; };
    QTest::mouseClick(m.icon(0), Qt::LeftButton);
    QTest::mouseClick(m.icon(5), Qt::LeftButton);
    QCOMPARE(commands, (QList<int>{0, 5}));
    QVERIFY(!QApplication::activePopupWidget());
    QStringList items;
    m.w.menuCommand = [&](const QString& n) { items << n; };
    m.w.menus()->action("mnu_SaveProject")->trigger();
    QCOMPARE(items, QStringList{"mnu_SaveProject"});
  }

  void keysReachTheWindowOnceAfterTheIntro() {
    Window m;
    QList<int> downs, presses;
    m.w.keyDown = [&](int c) {
      downs << c;
      return false;
    };
    m.w.keyPress = [&](int c) {
      presses << c;
      return false;
    };
    m.key(Qt::Key_F5);
    QVERIFY(downs.isEmpty());
    m.click("Label_IntroChoice_0");
    for (Qt::Key k : {Qt::Key_F5, Qt::Key_Delete, Qt::Key_Escape, Qt::Key_Backspace}) m.key(k);
    m.key(Qt::Key_A, Qt::ControlModifier);
    // The Ctrl key itself goes down first (17), as on any keyboard.
    QCOMPARE(downs, (QList<int>{116, 46, 27, 8, 17, 65}));
    QCOMPARE(presses, (QList<int>{27, 8, 1}));

    // A key on a control that passes it on to its parents still counts once.
    m.w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&m.w));
    auto* combo = m.get<QComboBox>("Combo_Board");
    combo->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), combo);
    downs.clear();
    m.key(Qt::Key_F6);
    QCOMPARE(downs, QList<int>{117});
  }

  void overlaysListAndPointerShowTheState() {
    Window m;
    m.click("Label_IntroChoice_0");
    QWidget* stage = m.get("picStage");
    MainWindowState& win = m.ws.win;
    win.Shape1[0] = {10, 20, 50, 40, true, true};
    win.Shape1[1] = {100, 100, 30, 30, true, true};
    win.Img_FastIcons[2] = {132, 124, 16, 16, true, true};
    m.ws.surfaces.picStage.Pointer = MousePointer::Hourglass;
    m.w.Refresh();
    QCOMPARE(m.get("Shape1_0")->geometry(), QRect(10, 20, 50, 40));
    QCOMPARE(m.get("Img_FastIcons_2")->geometry(), QRect(132, 124, 16, 16));
    QCOMPARE(stage->cursor().shape(), Qt::WaitCursor);
    // The boxes lie above the Board: the window shows them, the Board picture
    // itself stays untouched.
    const QImage shown = stage->grab().toImage();
    const QRgb grey = toQRgb(Grey), blue = qRgb(0, 0, 255);
    const struct { int x, y; QRgb c; } at[] = {
        {10, 20, blue}, {12, 40, blue}, {59, 59, blue},
        {13, 40, grey}, {100, 115, qRgb(255, 255, 255)}, {101, 115, grey}};
    for (const auto& p : at) QVERIFY2(shown.pixel(p.x, p.y) == p.c, qPrintable(QString("%1,%2").arg(p.x).arg(p.y)));
    QCOMPARE(m.ws.surfaces.picStage.Image().pixel(10, 20), grey);
    win.Shape1[0].Visible = false;
    m.ws.surfaces.picStage.Pointer = MousePointer::FourWayArrow;
    m.w.Refresh();
    QVERIFY(!m.get("Shape1_0")->isVisible());
    QCOMPARE(stage->cursor().shape(), Qt::SizeAllCursor);

    // Clicks on a Fast Icon, a layer-list entry and the Board reach their handlers.
    int fast = -1;
    m.w.fastIconClick = [&](int i) { fast = i; };
    m.click("Img_FastIcons_2");
    QCOMPARE(fast, 2);
    win.List_Zorder = {{"Sun", 3}, {"Moon", 1}};
    win.Frame_ListZ.Visible = true;
    m.w.Refresh();
    auto* list = m.get<QListWidget>("List_Zorder");
    QCOMPARE(list->item(1)->data(Qt::UserRole).toInt(), 1);
    int row = -1;
    m.w.listZorderClick = [&](int r) { row = r; };
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
    QCOMPARE(row, 1);
    QCOMPARE(win.List_ZorderIndex, 1);
    m.click("Lab_CloseList");
    QVERIFY(!m.get("Frame_ListZ")->isVisible());
    QList<int> down;
    m.w.picStage_MouseDown = [&](int b, int x, int y) { down = {b, x, y}; };
    QTest::mousePress(stage, Qt::RightButton, {}, QPoint(40, 30));
    QTest::mouseRelease(stage, Qt::RightButton, {}, QPoint(40, 30));
    QCOMPARE(down, (QList<int>{2, 40, 30}));
  }

  void fileFiltersBecomeQtFilters() {
    QCOMPARE(qtFileFilter("Image Format (*.bmp;*.jpg;*.gif)|*.bmp;*.jpg;*.gif"),
             QStringLiteral("Image Format (*.bmp *.jpg *.gif)"));
    QCOMPARE(qtFileFilter("Pictures|*.bmp|All|*.*"), QStringLiteral("Pictures (*.bmp);;All (*.*)"));
    QCOMPARE(qtFileFilter("no patterns"), QString());
  }
};

QTEST_MAIN(TestFrmMain)
#include "test_frmmain.moc"
