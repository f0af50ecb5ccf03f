// Commands reaching the engine through real key and mouse events, the
// RunMode pump on the UI thread, and the Qt sound player.
#include "app/CommandRouter.h"
#include "resources/Resources.h"
#include "app/QtPlatform.h"
#include "app/frmMain.h"
#include "shell/Headless.h"

#include <QApplication>
#include <QMediaPlayer>
#include <QTest>

using namespace qv;

namespace {

struct Window {
  HeadlessPlatform platform;
  Workspace ws;
  frmMain w{ws, platform};
  CommandRouter router{w};

  Window() {
    w.resize(1000, 720);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTest::mouseClick(w.findChild<QWidget*>("Label_IntroChoice_0"), Qt::LeftButton);
  }
  QWidget* stage() { return w.findChild<QWidget*>("picStage"); }
  // Keys reach the focus widget first, or the window when nothing has focus.
  void key(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QWidget* target = QApplication::focusWidget();
    QTest::keyClick(target ? target : &w, k, mods);
  }
};

}  // namespace

class TestCommands : public QObject {
  Q_OBJECT

 private slots:
  void addTargetAndDragWithKeysAndMouse() {
    Window m;
    m.key(Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(m.ws.project.PaneCount, Integer(1));
    QVERIFY(isSet(m.ws.PaneTable[1].InUse));
    // A press on the Pane makes it the Target; dragging moves its corner to
    // the pointer; the release redraws it there.
    QTest::mousePress(m.stage(), Qt::LeftButton, {}, QPoint(60, 60));
    QCOMPARE(m.ws.pointer.TargetPane, Integer(1));
    QVERIFY(m.w.findChild<QWidget*>("Shape1_0")->isVisible());
    QVERIFY(m.ws.win.menuEnabled("mnu_RemovePane"));
    QMouseEvent move(QEvent::MouseMove, QPointF(200, 150), m.stage()->mapToGlobal(QPointF(200, 150)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(m.stage(), &move);
    QTest::mouseRelease(m.stage(), Qt::LeftButton, {}, QPoint(200, 150));
    QCOMPARE(m.ws.PaneTable[1].Left, Integer(200));
    QCOMPARE(m.ws.PaneTable[1].Top, Integer(150));
    QCOMPARE(m.ws.surfaces.picStage.Point(250, 200), fromQRgb(m.ws.surfaces.picSprites.Image().pixel(50, 50)));
    // Delete asks, and a Yes removes the Target.
    m.platform.yesNoAnswers.enqueue(true);
    m.key(Qt::Key_Delete);
    QCOMPARE(m.platform.calls("AskYesNo").value(0), QString("AskYesNo|Remove Pane - 1|Really remove this Pane ?"));
    QCOMPARE(m.ws.project.PaneCount, Integer(0));
    // With no Target, Delete does nothing.
    m.key(Qt::Key_Delete);
    QCOMPARE(m.platform.calls("AskYesNo").size(), 1);
  }

  void runPumpsFramesBetweenEventsAndStops() {
    Window m;
    m.key(Qt::Key_A, Qt::ControlModifier);
    PaneRecord& p = m.ws.PaneTable[1];
    p.MoveType = p.Direction = 2;
    p.Speed = 1;
    m.key(Qt::Key_F11);
    QVERIFY(isSet(m.ws.run.Running));
    QVERIFY(m.router.pumping());
    QCOMPARE(m.ws.win.Lab_Readouts, QString("Project is Running"));
    QVERIFY(!m.w.findChild<QWidget*>("Img_IconStrip_4")->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(m.ws.RunPaneTable[1].Left >= 55, 5000);
    // Keys other than F11 and Esc are ignored while running.
    m.key(Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(m.ws.project.PaneCount, Integer(1));
    m.key(Qt::Key_Escape);
    QVERIFY(!isSet(m.ws.run.Running));
    QTRY_VERIFY_WITH_TIMEOUT(!m.router.pumping(), 5000);
    QCOMPARE(m.ws.win.Lab_Readouts, QString("Stopped"));
    // The design is untouched and the Board shows it again.
    QCOMPARE(m.ws.PaneTable[1].Left, Integer(50));
    QCOMPARE(m.ws.surfaces.picStage.Point(60, 60), fromQRgb(m.ws.surfaces.picSprites.Image().pixel(10, 10)));
    QVERIFY(m.w.findChild<QWidget*>("Img_IconStrip_4")->isVisible());
  }

  void fullBoardRunStopsFromItsOwnIcon() {
    Window m;
    m.key(Qt::Key_F12);
    QVERIFY(isSet(m.ws.run.Running));
    QVERIFY(!m.w.findChild<QWidget*>("picFastMenu")->isVisible());
    QWidget* stop = m.w.findChild<QWidget*>("Img_IconStrip_11");
    QVERIFY(stop->isVisible());
    QTest::mouseClick(stop, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!m.router.pumping(), 5000);
    QVERIFY(m.w.findChild<QWidget*>("picFastMenu")->isVisible());
    QCOMPARE(m.stage()->size(), QSize(800, 600));
  }

  void soundPlaysThroughARealPlayer() {
    QtPlatform platform;
    platform.PlaySound(LoadResData(DingSoundId, "CUSTOM"));
    QVERIFY(platform.player() != nullptr);
    QCOMPARE(platform.player()->error(), QMediaPlayer::NoError);
    platform.PlaySound(LoadResData(DingSoundId, "CUSTOM"));  // a new sound replaces the old
    platform.StopSound();
    QCOMPARE(platform.player()->error(), QMediaPlayer::NoError);
  }
};

QTEST_MAIN(TestCommands)
#include "test_commands.moc"
