// One project authored only through events on the real main window: two
// Panes added, one dragged, a picture loaded through its Fast Icon, its
// movement and Value set in the Pane dialog, saved, New, loaded, run in
// Design, clicked and stopped. The saved files and the restored sheets are
// checked against what was authored.
#include "app/CommandRouter.h"
#include "app/frmMain.h"
#include "shell/Headless.h"
#include "support/Fixtures.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace qv;

class TestEndToEnd : public QObject {
  Q_OBJECT

  HeadlessPlatform platform;
  Workspace ws;
  frmMain w{ws, platform};
  CommandRouter router{w};

  QWidget* get(const QString& name) {
    QWidget* c = w.findChild<QWidget*>(name);
    if (!c) qFatal("no control %s", qPrintable(name));
    return c;
  }
  void key(int k, Qt::KeyboardModifiers m = {}) {
    QWidget* f = QApplication::focusWidget();
    QTest::keyClick(f && f->window() == &w ? f : &w, Qt::Key(k), m);
  }
  // Brings a control of the modal dialog to the front and gives it the focus.
  template <typename T>
  T* reveal(QDialog* d, const QString& name) {
    auto* c = d->findChild<T*>(name);
    auto* tabs = d->findChild<QTabWidget*>(QStringLiteral("SSTab1"));
    for (int i = 0; i < tabs->count(); ++i)
      if (tabs->widget(i)->isAncestorOf(c)) tabs->setCurrentIndex(i);
    c->setFocus();
    return c;
  }
  void typeIn(QDialog* d, int box, const char* keys) {
    auto* e = reveal<QLineEdit>(d, QStringLiteral("Text_Val_%1").arg(box));
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Backspace);
    QTest::keyClicks(e, keys);
  }
  void chooseIn(QDialog* d, const QString& combo, int index) {
    auto* box = reveal<QComboBox>(d, combo);
    while (box->currentIndex() < index) QTest::keyClick(box, Qt::Key_Down);
  }

 private slots:
  void authorSaveLoadAndPlay() {
    QTemporaryDir dir;
    QImage art = fixtures::randomImage(60, 40, 9);
    QVERIFY(art.save(dir.filePath("art.bmp")));
    w.resize(1000, 720);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QWidget* stage = get("picStage");
    QTest::mouseClick(get("Label_IntroChoice_0"), Qt::LeftButton);

    key(Qt::Key_A, Qt::ControlModifier);
    key(Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(ws.project.PaneCount, Integer(2));
    // Pane 1 (a press finds the lower slot first) is pressed, dragged to (300, 200) and released.
    QTest::mousePress(stage, Qt::LeftButton, {}, QPoint(60, 60));
    QMouseEvent move(QEvent::MouseMove, QPointF(300, 200), stage->mapToGlobal(QPointF(300, 200)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(stage, &move);
    QTest::mouseRelease(stage, Qt::LeftButton, {}, QPoint(300, 200));
    QCOMPARE(QPoint(ws.Pane(1).Left, ws.Pane(1).Top), QPoint(300, 200));
    // Its lower-left corner shows the Fast Icons; "Load picture" takes art.bmp.
    QTest::mouseMove(stage, {305, 290});
    QTRY_VERIFY(get("Img_FastIcons_0")->isVisible());
    platform.fileAnswers.enqueue(fileChoiceFromPath(dir.filePath("art.bmp")));
    QTest::mouseClick(get("Img_FastIcons_0"), Qt::LeftButton);
    // The picture is stretched over the Pane's 100 x 100.
    const QImage block = ws.surfaces.picSprites.Image().copy(ws.Pane(1).SheetX, ws.Pane(1).SheetY, 100, 100);
    QCOMPARE(block.pixel(0, 0), art.pixel(0, 0));
    QCOMPARE(block.pixel(99, 99), art.pixel(59, 39));
    // The dialog: left to right, and a click adds to the Value.
    QTimer::singleShot(0, this, [this] {
      auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      QVERIFY(d);
      chooseIn(d, "Combo_AnimationType", 1);
      chooseIn(d, "Combo_ValueType", 1);
      typeIn(d, 3, "53");  // Speed: "5" is refused there, the speeds go to 3
      typeIn(d, 2, "99");  // the Value may count up to 99 while it moves
      QTest::mouseClick(d->findChild<QWidget*>("Button_frmPanes_1"), Qt::LeftButton);
    });
    key(Qt::Key_E, Qt::ControlModifier);
    QCOMPARE(ws.Pane(1).MoveType, Integer(1));
    QCOMPARE(ws.Pane(1).Process, Integer(1));
    QCOMPARE(ws.Pane(1).Speed, Integer(3));
    QCOMPARE(ws.Pane(1).LifeEndValue, Integer(99));

    const QString project = dir.filePath("garden.QV1");
    platform.fileAnswers.enqueue(fileChoiceFromPath(project));
    key(Qt::Key_S, Qt::ControlModifier);
    for (const char* name : {"garden.QV1", "Sprites_garden.bmp", "Masks_garden.bmp", "Back_garden.bmp"})
      QVERIFY2(QFileInfo::exists(dir.filePath(name)), name);
    const auto table = ws.PaneTable;
    const QImage sprites = ws.surfaces.picSprites.Image().copy(), masks = ws.surfaces.picMasks.Image().copy();

    platform.yesNoAnswers.enqueue(true);
    key(Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(ws.project.PaneCount, Integer(0));
    platform.fileAnswers.enqueue(fileChoiceFromPath(project));
    key(Qt::Key_F6);
    QVERIFY(ws.PaneTable == table);
    QVERIFY(ws.surfaces.picSprites.Image() == sprites && ws.surfaces.picMasks.Image() == masks);

    // Run in Design: Pane 1 moves right; a click on it adds to its Value.
    key(Qt::Key_F11);
    QTRY_VERIFY_WITH_TIMEOUT(ws.RunPane(1).Left > 300, 20000);
    const QPoint at(ws.RunPane(1).Left + 30, ws.RunPane(1).Top + 20);
    QTest::mouseMove(stage, at);
    QTest::mouseClick(stage, Qt::LeftButton, {}, at);
    QTRY_VERIFY(ws.RunPane(1).Value != table[1].Value);
    key(Qt::Key_Escape);
    QTRY_VERIFY(!router.pumping());
    QVERIFY(ws.PaneTable == table);
    QVERIFY(ws.surfaces.picSprites.Image() == sprites && ws.surfaces.picMasks.Image() == masks);
  }
};

QTEST_MAIN(TestEndToEnd)
#include "test_endtoend.moc"
