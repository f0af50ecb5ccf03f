// The main window driven with real mouse and key events: the intro, the
// design icons, the Board size list and window resizing, tooltips, menus,
// key routing and the dialog lists filled at start.
#include "dialogs/frmBoard.h"
#include "shell/QtMenus.h"
#include "shell/QtPlatform.h"
#include "shell/Setups.h"
#include "shell/frmMain.h"
#include "support/FakePlatform.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

using namespace qv;

namespace {

// A shown main window over a fresh workspace and a scripted platform.
struct Window {
  FakePlatform platform;
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
  void chooseBlank() { QTest::mouseClick(get(QStringLiteral("Label_IntroChoice_0")), Qt::LeftButton); }
  // Keys reach the focus widget first, or the window when nothing has focus.
  void key(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QWidget* target = QApplication::focusWidget();
    QTest::keyClick(target ? target : &w, k, mods);
  }
};

}  // namespace

class TestFrmMain : public QObject {
  Q_OBJECT

 private slots:
  void introLeadsToTheDesignLayout() {
    Window m;
    QWidget* intro = m.get(QStringLiteral("picIntro"));
    QVERIFY(intro->isVisible());
    QCOMPARE(intro->size(), QSize(350, 230));
    QCOMPARE(m.get<QLabel>(QStringLiteral("Label_IntroChoice_0"))->text(), QStringLiteral("Blank new Project"));
    QCOMPARE(m.get<QLabel>(QStringLiteral("Label_IntroChoice_1"))->text(), QStringLiteral("Load existing Project"));
    QVERIFY(!m.get(QStringLiteral("picStage"))->isVisible());
    for (int i : DesignIcons) QVERIFY2(!m.icon(i)->isVisible(), qPrintable(QString::number(i)));

    m.chooseBlank();
    QVERIFY(!intro->isVisible());
    for (int i : DesignIcons) QVERIFY2(m.icon(i)->isVisible(), qPrintable(QString::number(i)));
    for (int i : {1, 2, 9, 11}) QVERIFY2(!m.icon(i)->isVisible(), qPrintable(QString::number(i)));

    QWidget* stage = m.get(QStringLiteral("picStage"));
    QWidget* bar = m.get(QStringLiteral("picFastMenu"));
    QWidget* holder = m.get(QStringLiteral("picHolder"));
    QVERIFY(stage->isVisible());
    QCOMPARE(stage->size(), QSize(800, 600));
    QCOMPARE(stage->y(), bar->y() + bar->height());
    QCOMPARE(stage->x(), holder->x() + 1);
    QCOMPARE(stage->parentWidget(), holder);

    // The strip runs 3, 8 | 6, 7 | 0, 5, 4 from left to right, inside the bar,
    // with the help icon at the far left.
    const int order[] = {3, 8, 6, 7, 0, 5, 4};
    for (int k = 1; k < 7; ++k) QVERIFY(m.icon(order[k - 1])->geometry().right() < m.icon(order[k])->x());
    QVERIFY(m.icon(4)->geometry().right() < bar->width());
    QCOMPARE(m.icon(10)->x(), 0);
    for (int i : DesignIcons) QCOMPARE(m.icon(i)->size(), QSize(16, 16));
  }

  void loadChoiceAsksForAProjectFile() {
    Window m;
    QTest::mouseClick(m.get(QStringLiteral("Label_IntroChoice_1")), Qt::LeftButton);
    QCOMPARE(m.platform.calls("OpenFileDialog"),
             QStringList{"OpenFileDialog|Load Quorvel Project|Project Format (*.QV1)|*.QV1|/opt/quorvel/"});
    // Cancelled: the intro stays.
    QVERIFY(m.get(QStringLiteral("picIntro"))->isVisible());

    int loads = 0;
    m.w.loadExistingProject = [&] { ++loads; };
    QTest::mouseClick(m.get(QStringLiteral("Label_IntroChoice_1")), Qt::LeftButton);
    QCOMPARE(loads, 1);
    QCOMPARE(m.platform.calls("OpenFileDialog").size(), 1);
  }

  void boardSizeListAndWindowResize() {
    Window m;
    m.chooseBlank();
    auto* combo = m.get<QComboBox>(QStringLiteral("Combo_Board"));
    QWidget* stage = m.get(QStringLiteral("picStage"));
    QWidget* holder = m.get(QStringLiteral("picHolder"));
    QWidget* bar = m.get(QStringLiteral("picFastMenu"));
    QStringList entries;
    for (int i = 0; i < combo->count(); ++i) entries << combo->itemText(i);
    QCOMPARE(entries, (QStringList{"320 x 240", "640 x 480", "800 x 600", "1024 x 764", "Max x Max"}));
    QCOMPARE(combo->currentText(), QStringLiteral("800 x 600"));

    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Down);
    QCOMPARE(combo->currentText(), QStringLiteral("1024 x 764"));
    QCOMPARE(stage->size(), QSize(1024, 764));
    QCOMPARE(m.ws.win.Combo_BoardIndex, 3);

    // "Max x Max" alone keeps the size; the next window resize fills the area.
    QTest::keyClick(combo, Qt::Key_Down);
    QCOMPARE(combo->currentText(), QStringLiteral("Max x Max"));
    QCOMPARE(stage->size(), QSize(1024, 764));
    m.w.resize(900, 640);
    QTRY_COMPARE(holder->size(), QSize(898, 639));
    QCOMPARE(stage->size(), QSize(holder->width() - 1, holder->height() - (bar->height() + 1)));
    QCOMPARE(stage->y(), bar->y() + bar->height());

    // A size menu puts the Board at (0, 0) and leaves the list alone; with
    // "Max x Max" still chosen the next resize takes the area again.
    m.w.menus()->action(QStringLiteral("mnu_320x240"))->trigger();
    QCOMPARE(stage->geometry(), QRect(0, 0, 320, 240));
    QCOMPARE(combo->currentText(), QStringLiteral("Max x Max"));
    m.w.resize(960, 700);
    QTRY_COMPARE(stage->size(), QSize(957, 699 - 25));
    m.w.runMenu(QStringLiteral("mnu_1024x768"));
    QCOMPARE(stage->geometry(), QRect(0, 0, 1024, 764));
  }

  void tooltipsAndCaptions() {
    Window m;
    const QString tips[12] = {"Refresh - F5", "Print", "", "Panes", "Run - F11", "Stop - ESC",
                              "Save", "Load", "Board", "Add-ins", "Help, New Project, End.", "Stop"};
    for (int i = 0; i < 12; ++i) QCOMPARE(m.icon(i)->toolTip(), tips[i]);
    QCOMPARE(m.icon(11)->parentWidget()->objectName(), QStringLiteral("Picture1"));
    const QString fastTips[4] = {"Load picture", "Resize pane", "Edit properties", "REMOVE"};
    for (int i = 0; i < 4; ++i) {
      QWidget* fast = m.get(QStringLiteral("Img_FastIcons_%1").arg(i));
      QCOMPARE(fast->toolTip(), fastTips[i]);
      QVERIFY(!fast->isVisible());
    }
    QCOMPARE(m.get<QLabel>(QStringLiteral("Lab_CloseList"))->text(), QStringLiteral("  x"));
    QCOMPARE(m.get(QStringLiteral("Lab_CloseList"))->toolTip(), QStringLiteral("close me"));
    QCOMPARE(m.get(QStringLiteral("List_Zorder"))->toolTip(), QStringLiteral("Select a Target ..."));
    QCOMPARE(m.get<QLabel>(QStringLiteral("Lab_Generic"))->text(), QStringLiteral("Target :"));
    QCOMPARE(m.get(QStringLiteral("Lab_Generic"))->toolTip(), QStringLiteral("Click for properties"));
    QCOMPARE(m.get<QPushButton>(QStringLiteral("Button_Url"))->text(), QStringLiteral("URL"));
    QCOMPARE(m.get(QStringLiteral("Button_Url"))->toolTip(), QStringLiteral("Click me"));
    QCOMPARE(m.w.windowTitle(), QStringLiteral("Quorvel"));
  }

  void iconsPopUpTheirMenus() {
    Window m;
    m.chooseBlank();
    QTest::mouseClick(m.icon(3), Qt::LeftButton);
    QTRY_VERIFY(QApplication::activePopupWidget());
    auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(popup);
    QCOMPARE(popup->objectName(), QStringLiteral("mnu_Panes"));
    QAction* add = m.w.menus()->action(QStringLiteral("mnu_AddCustomPane"));
    QAction* edit = m.w.menus()->action(QStringLiteral("mnu_EditPane"));
    QCOMPARE(add->text(), QStringLiteral("Add Pane\tCtrl+A"));
    QVERIFY(add->isEnabled());
    QVERIFY(!edit->isEnabled());
    QVERIFY(!m.w.menus()->action(QStringLiteral("mnu_Flip"))->isEnabled());
    popup->close();
    QTRY_VERIFY(!QApplication::activePopupWidget());

    // Enabled states follow the workspace after every command.
    m.ws.win.setMenuEnabled(QStringLiteral("mnu_EditPane"), true);
    m.w.Refresh();
    QVERIFY(edit->isEnabled());

    QTest::mouseClick(m.icon(4), Qt::LeftButton);
    QTRY_VERIFY(QApplication::activePopupWidget());
    QCOMPARE(QApplication::activePopupWidget()->objectName(), QStringLiteral("mnu_Runn"));
    QApplication::activePopupWidget()->close();
    QTRY_VERIFY(!QApplication::activePopupWidget());

    // Icons without a menu go to the command handler; "Print" does nothing.
    QList<int> commands;
    m.w.iconCommand = [&](int i) { commands << i; };
    QTest::mouseClick(m.icon(0), Qt::LeftButton);
    QTest::mouseClick(m.icon(5), Qt::LeftButton);
    QCOMPARE(commands, (QList<int>{0, 5}));
    QVERIFY(!QApplication::activePopupWidget());

    // Menu items reach the command handler by name.
    QStringList items;
    m.w.menuCommand = [&](const QString& n) { items << n; };
    m.w.menus()->action(QStringLiteral("mnu_SaveProject"))->trigger();
    QCOMPARE(items, QStringList{"mnu_SaveProject"});
  }

  void keysReachTheWindowOnceAfterTheIntro() {
    Window m;
    QList<int> downs, presses;
    m.w.keyDown = [&](int c) { downs << c; };
    m.w.keyPress = [&](int c) { presses << c; };
    m.key(Qt::Key_F5);
    QVERIFY(downs.isEmpty());

    m.chooseBlank();
    m.key(Qt::Key_F5);
    m.key(Qt::Key_F11);
    m.key(Qt::Key_Delete);
    m.key(Qt::Key_F1);
    m.key(Qt::Key_F12);
    QCOMPARE(downs, (QList<int>{116, 122, 46, 112, 123}));
    QVERIFY(presses.isEmpty());
    downs.clear();
    m.key(Qt::Key_Escape);
    m.key(Qt::Key_A, Qt::ControlModifier);
    m.key(Qt::Key_X, Qt::ControlModifier);
    m.key(Qt::Key_Backspace);
    // The Ctrl key itself goes down first (17), as on any keyboard.
    QCOMPARE(downs, (QList<int>{27, 17, 65, 17, 88, 8}));
    QCOMPARE(presses, (QList<int>{27, 1, 24, 8}));

    // A key on a control that passes it on to its parents still counts once.
    m.w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&m.w));
    auto* combo = m.get<QComboBox>(QStringLiteral("Combo_Board"));
    combo->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), combo);
    downs.clear();
    m.key(Qt::Key_F6);
    QCOMPARE(downs, QList<int>{117});
  }

  void dialogListsAreFilledAtStart() {
    Window m;
    auto combo = [&](const char* name) { return m.get<QComboBox>(QString::fromLatin1(name)); };
    auto entries = [](QComboBox* c) {
      QStringList out;
      for (int i = 0; i < c->count(); ++i) out << c->itemText(i);
      return out;
    };
    QCOMPARE(entries(combo("Combo_ValueType")), (QStringList{"none", "Add", "Subtract"}));
    QCOMPARE(combo("Combo_CollisionType")->currentIndex(), 1);
    QCOMPARE(combo("Combo_EffectsMouse")->currentText(), QStringLiteral("Box"));
    QCOMPARE(combo("Combo_Writing")->currentText(), QStringLiteral("Box - (locked)"));
    QCOMPARE(combo("cmbBackColorTXT")->currentText(), QStringLiteral("White"));
    QCOMPARE(entries(combo("cmbFontNameTXT")), m.platform.fonts);
    QCOMPARE(combo("cmbFontSizeTXT")->count(), 33);
    QCOMPARE(combo("cmbFontSizeTXT")->currentText(), QStringLiteral("10"));
    QCOMPARE(combo("cmbFontSizeTXT")->itemText(32), QStringLiteral("72"));
    QCOMPARE(combo("Combo_Help")->count(), 25);
    QCOMPARE(combo("Combo_Help")->currentIndex(), 0);
    QCOMPARE(combo("Combo_Help")->itemText(24), QStringLiteral("SHORTCUTS"));
    QCOMPARE(combo("Combo_BackColType")->currentText(), QStringLiteral("Define"));
    QCOMPARE(combo("Combo_LabelCol")->currentText(), QStringLiteral("Define"));
    QCOMPARE(combo("Combo_SelectionColor")->count(), 6);
    QCOMPARE(m.get<QListWidget>(QStringLiteral("List_Help"))->count(), 0);
    QVERIFY(m.get<QPlainTextEdit>(QStringLiteral("Text_Help"))->toPlainText().isEmpty());
    QCOMPARE(m.get(QStringLiteral("picLabelCol"))->property("swatchColor").toInt(), int(White));
    QCOMPARE(m.get(QStringLiteral("picBoxSelectColor"))->palette().color(QPalette::Window), QColor(Qt::white));
    QCOMPARE(m.get(QStringLiteral("frmBoard"))->windowTitle(), QStringLiteral("Board Globals"));
    QVERIFY(!m.get(QStringLiteral("frmPanes"))->isVisible());

    // Filling again replaces the entries, and selecting in code runs the
    // list's handler once, with the selected entry.
    QComboBox* collision = combo("Combo_CollisionType");
    QSignalSpy spy(collision, &QComboBox::currentIndexChanged);
    m.w.FillList(QStringLiteral("Combo_CollisionType"), {"none", "Rebound"}, 1);
    QCOMPARE(collision->count(), 2);
    QCOMPARE(spy.size(), 1);
    QCOMPARE(spy.first().first().toInt(), 1);
    m.w.FillList(QStringLiteral("List_Library"), {"Nature", "Shapes"}, 0);
    QCOMPARE(m.get<QListWidget>(QStringLiteral("List_Libraries"))->currentItem()->text(), QStringLiteral("Nature"));
    m.w.ClearList(QStringLiteral("List_Library"));
    QCOMPARE(m.get<QListWidget>(QStringLiteral("List_Libraries"))->count(), 0);
  }

  void boardOptionPairsShowAndWriteTheState() {
    Window m;
    auto radio = [&](const QString& name) { return m.get<QRadioButton>(name); };
    QVERIFY(radio("Option_BoardMove_1")->isChecked());
    QVERIFY(radio("Option_FloatPanes_0")->isChecked());
    QVERIFY(radio("Option_WirePanes_0")->isChecked());
    QCOMPARE(radio("Option_BoardMove_0")->text(), QStringLiteral("No"));
    QCOMPARE(radio("Option_BoardMove_1")->parentWidget()->property("title").toString(),
             QStringLiteral("Board Can be Mouse Moved  :"));

    frmBoard* board = m.w.boardDialog();
    board->show();
    QVERIFY(QTest::qWaitForWindowExposed(board));
    QTest::mouseClick(radio("Option_WirePanes_1"), Qt::LeftButton);
    QCOMPARE(m.ws.win.Option_WirePanes, 1);
    QTest::mouseClick(radio("Option_BoardMove_0"), Qt::LeftButton);
    QCOMPARE(m.ws.win.Option_BoardMove, 0);
    board->hide();

    // The next layout reads the options into the Board settings.
    m.w.resize(980, 700);
    QTRY_VERIFY(isSet(m.ws.BoardSettings.WirePanes));
    QVERIFY(isSet(m.ws.BoardSettings.BoardLocked));

    m.ws.win.Option_FloatPanes = 1;
    m.w.Refresh();
    QVERIFY(radio("Option_FloatPanes_1")->isChecked());
    QVERIFY(!radio("Option_FloatPanes_0")->isChecked());
  }

  void overlaysListAndPointerShowTheState() {
    Window m;
    m.chooseBlank();
    QWidget* stage = m.get(QStringLiteral("picStage"));
    MainWindowState& win = m.ws.win;
    win.Shape1[0] = {10, 20, 50, 40, true, true};
    win.Shape1[1] = {100, 100, 30, 30, true, true};
    win.Img_FastIcons[2] = {132, 124, 16, 16, true, true};
    m.ws.picStage.Pointer = MousePointer::Hourglass;
    m.w.Refresh();

    QWidget* target = m.get(QStringLiteral("Shape1_0"));
    QCOMPARE(target->parentWidget(), stage);
    QCOMPARE(target->geometry(), QRect(10, 20, 50, 40));
    QVERIFY(target->isVisible());
    QCOMPARE(m.get(QStringLiteral("Img_FastIcons_2"))->geometry(), QRect(132, 124, 16, 16));
    QCOMPARE(stage->cursor().shape(), Qt::WaitCursor);

    // The boxes lie above the Board: the window shows them, the Board
    // picture itself stays untouched.
    const QImage shown = stage->grab().toImage();
    const QRgb grey = toQRgb(Grey);
    QCOMPARE(shown.pixel(10, 20), qRgb(0, 0, 255));
    QCOMPARE(shown.pixel(12, 40), qRgb(0, 0, 255));
    QCOMPARE(shown.pixel(59, 59), qRgb(0, 0, 255));
    QCOMPARE(shown.pixel(13, 40), grey);
    QCOMPARE(shown.pixel(100, 115), qRgb(255, 255, 255));
    QCOMPARE(shown.pixel(101, 115), grey);
    QCOMPARE(shown.pixel(130, 115), grey);
    QCOMPARE(m.ws.picStage.Image().pixel(10, 20), grey);
    QCOMPARE(m.ws.picStage.Image().pixel(100, 115), grey);

    m.ws.picStage.Pointer = MousePointer::FourWayArrow;
    win.Shape1[0].Visible = false;
    m.w.Refresh();
    QCOMPARE(stage->cursor().shape(), Qt::SizeAllCursor);
    QVERIFY(!target->isVisible());

    // Clicks on a Fast Icon and on a layer-list entry reach their handlers.
    int fast = -1;
    m.w.fastIconClick = [&](int i) { fast = i; };
    QTest::mouseClick(m.get(QStringLiteral("Img_FastIcons_2")), Qt::LeftButton);
    QCOMPARE(fast, 2);
    win.List_Zorder = {{"Sun", 3}, {"Moon", 1}};
    win.Frame_ListZ.Visible = true;
    m.w.Refresh();
    auto* list = m.get<QListWidget>(QStringLiteral("List_Zorder"));
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->item(1)->text(), QStringLiteral("Moon"));
    QCOMPARE(list->item(1)->data(Qt::UserRole).toInt(), 1);
    int row = -1;
    m.w.listZorderClick = [&](int r) { row = r; };
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
    QCOMPARE(row, 1);
    QCOMPARE(win.List_ZorderIndex, 1);
    QTest::mouseClick(m.get(QStringLiteral("Lab_CloseList")), Qt::LeftButton);
    QVERIFY(!win.Frame_ListZ.Visible);
    QVERIFY(!m.get(QStringLiteral("Frame_ListZ"))->isVisible());

    // Board mouse events arrive in Board pixels with the button code.
    QList<QList<int>> downs;
    m.w.picStage_MouseDown = [&](int b, int x, int y) { downs << QList<int>{b, x, y}; };
    QTest::mousePress(stage, Qt::RightButton, {}, QPoint(40, 30));
    QTest::mouseRelease(stage, Qt::RightButton, {}, QPoint(40, 30));
    QCOMPARE(downs, (QList<QList<int>>{{2, 40, 30}}));
  }

  void fileFiltersBecomeQtFilters() {
    QCOMPARE(qtFileFilter("Project Format (*.QV1)|*.QV1"), QStringLiteral("Project Format (*.QV1)"));
    QCOMPARE(qtFileFilter("Image Format (*.bmp;*.jpg;*.gif)|*.bmp;*.jpg;*.gif"),
             QStringLiteral("Image Format (*.bmp *.jpg *.gif)"));
    QCOMPARE(qtFileFilter("Pictures|*.bmp|All|*.*"), QStringLiteral("Pictures (*.bmp);;All (*.*)"));
    QCOMPARE(qtFileFilter("no patterns"), QString());
  }
};

QTEST_MAIN(TestFrmMain)
#include "test_frmmain.moc"
