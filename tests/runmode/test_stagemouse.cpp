// The pointer on the Board in Design: which Pane a press makes the Target,
// a press on free Board, dragging a Pane, the layer list and the Board-size
// menu on a right press, the Fast Icon zone and choosing a layer-list entry.
#include "imaging/BoardRender.h"
#include "support/Fixtures.h"

#include <QTest>

using namespace qv;
using namespace qv::fixtures;

namespace {

// Slot 3 (40 x 40 at 100, 100) lies over slot 5 (at 120, 120); slot 1 covers
// both but is not in use. A Target from before is shown with its menus.
void scene(HeadlessSession& s) {
  placeSolid(s.ws, 1, 0, 0, 400, 400, Purple).InUse = QvFalse;
  placeSolid(s.ws, 3, 100, 100, 40, 40, Red);
  placeSolid(s.ws, 5, 120, 120, 40, 40, Blue);
  s.ws.win.List_Zorder = {{"Sun", 3}, {"Moon", 5}};
  s.ws.pointer.TargetPane = 5;
  s.ws.win.Shape1[0].Visible = s.ws.win.Frame_ListZ.Visible = true;
  EnablePaneMenus(s.ws);
}

}  // namespace

class TestStageMouse : public QObject {
  Q_OBJECT
 private slots:
  void press_data() {
    QTest::addColumn<QPointF>("at");
    QTest::addColumn<bool>("locked");
    QTest::addColumn<int>("target");
    QTest::newRow("top-left corner") << QPointF(100, 100) << false << 3;
    QTest::newRow("bottom-right corner") << QPointF(140, 140) << false << 3;
    QTest::newRow("the lower slot first") << QPointF(130, 130) << false << 3;
    QTest::newRow("the other Pane") << QPointF(141, 150) << false << 5;
    QTest::newRow("left of it") << QPointF(99.4, 120) << false << 0;
    QTest::newRow("above it") << QPointF(110, 99) << false << 0;
    QTest::newRow("free Board") << QPointF(300, 200) << false << 0;
    QTest::newRow("free locked Board") << QPointF(300, 200) << true << 0;
  }

  void press() {
    QFETCH(QPointF, at);
    QFETCH(bool, locked);
    QFETCH(int, target);
    HeadlessSession s;
    Workspace& ws = s.ws;
    scene(s);
    ws.BoardSettings.BoardLocked = toFlag(locked);
    picStage_MouseDown(ws, 1, at.x(), at.y());
    const MainWindowState& win = ws.win;
    // A Pane under the pointer becomes the Target with its box and menus and
    // is dragged; free Board clears the Target and, unless locked, is moved.
    QCOMPARE(int(ws.pointer.TargetPane), target);
    QCOMPARE(ws.pointer.CurrentPane, target);
    QCOMPARE(win.Shape1[0].Visible, target != 0);
    QCOMPARE(win.menuEnabled("mnu_RemovePane"), target != 0);
    QCOMPARE(isSet(ws.pointer.Dragging), target != 0);
    QCOMPARE(win.BoardMoving, target == 0 && !locked);
    QCOMPARE(ws.surfaces.picStage.Pointer, win.BoardMoving ? MousePointer::FourWayArrow : MousePointer::Default);
    QVERIFY(!win.Frame_ListZ.Visible && !win.picFastMenu.Enabled);
    if (target) {
      const PaneRecord& p = ws.Pane(target);
      const ControlState& box = win.Shape1[0];
      QCOMPARE(QRect(box.Left, box.Top, box.Width, box.Height), QRect(p.Left, p.Top, 40, 40));
      QCOMPARE(win.Label1, QString::number(target));
      return;
    }
    if (locked) return;
    QCOMPARE(QPoint(win.BoardGrabX, win.BoardGrabY), at.toPoint());
    BoardMoveDrop(ws, win.BoardGrabX + 50, win.BoardGrabY + 60);
    QCOMPARE(QPoint(ws.surfaces.picStage.Left, ws.surfaces.picStage.Top), QPoint(50, 60));
    QVERIFY(!win.BoardMoving && win.picFastMenu.Enabled && ws.surfaces.picStage.Pointer == MousePointer::Arrow);
  }

  void dragAndRelease() {
    HeadlessSession s;
    Workspace& ws = s.ws;
    scene(s);
    // The dragged Pane's corner follows the pointer; drawn there behind slot 3.
    picStage_MouseDown(ws, 1, 150, 150);
    picStage_MouseMove(ws, 1, 90.4, 110.6);
    QCOMPARE(QPoint(ws.Pane(5).Left, ws.Pane(5).Top), QPoint(90, 111));
    QCOMPARE(QPoint(ws.win.Shape1[0].Left, ws.win.Shape1[0].Top), QPoint(90, 111));
    QVERIFY(ws.win.Shape1[0].Visible && !ws.win.Shape1[1].Visible);
    QCOMPARE(QList<Long>({stagePx(ws, 95, 115), stagePx(ws, 105, 115), stagePx(ws, 150, 150)}),
             QList<Long>({Blue, Red, Grey}));
    picStage_MouseUp(ws, 1, 90, 111);
    QVERIFY(!isSet(ws.pointer.Dragging) && ws.win.picFastMenu.Enabled);
    QCOMPARE(stagePx(ws, 95, 115), Blue);
    // A press and release without a move leaves the Pane where it is; a
    // second press during a drag ends the drag where it stands.
    picStage_MouseDown(ws, 1, 95, 145);
    picStage_MouseUp(ws, 1, 95, 145);
    QCOMPARE(QPoint(ws.Pane(5).Left, ws.Pane(5).Top), QPoint(90, 111));
    picStage_MouseDown(ws, 1, 95, 145);
    picStage_MouseDown(ws, 1, 300, 300);
    QVERIFY(!isSet(ws.pointer.Dragging) && !ws.win.Shape1[0].Visible && !ws.win.BoardMoving);
    QCOMPARE(ws.pointer.CurrentPane, 5);
  }

  void rightPress() {
    HeadlessSession s;
    Workspace& ws = s.ws;
    scene(s);
    ws.surfaces.picStage.Left = 7;
    for (auto& icon : ws.win.Img_FastIcons) icon.Visible = true;
    // Over a Pane (the hover box shows): the layer list opens at the pointer
    // with the Pane's entry selected.
    picStage_MouseMove(ws, 0, 150, 150);
    picStage_MouseDown(ws, RightButton, 150.4, 155.6);
    QCOMPARE(ws.win.List_ZorderIndex, 1);
    QCOMPARE(QRect(ws.win.Frame_ListZ.Left, ws.win.Frame_ListZ.Top, 0, 0),
             QRect(7 + 150, ws.surfaces.picStage.Top + 156, 0, 0));
    QVERIFY(ws.win.Frame_ListZ.Visible && !ws.win.Shape1[1].Visible && ws.win.PendingPopup.isEmpty());
    QVERIFY(!ws.win.Img_FastIcons[0].Visible);
    // Over free Board: the Board-size menu.
    picStage_MouseMove(ws, 0, 300, 300);
    picStage_MouseDown(ws, RightButton, 300, 300);
    QCOMPARE(ws.win.PendingPopup, QStringLiteral("mnu_BoardSize"));
    // Choosing an entry makes its Pane the Target though another covers it.
    ws.win.Frame_ListZ.Visible = true;
    List_Zorder_Click(ws, 0);
    QCOMPARE(int(ws.pointer.TargetPane), 3);
    QVERIFY(ws.win.Shape1[0].Visible && ws.win.Shape1[1].Visible && !ws.win.Frame_ListZ.Visible);
    QCOMPARE(ws.win.Shape1[0].Left, 100);
    // Rows outside the list, or a list being filled, choose nothing.
    for (int row : {2, -1, 1}) {
      ws.win.DialogFilling = toFlag(row == 1);
      List_Zorder_Click(ws, row);
      QCOMPARE(int(ws.pointer.TargetPane), 3);
    }
  }

  void fastIconZone_data() {
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<bool>("shown");
    // Pane 3: 40 x 40 at (100, 100); the zone is x 100..164, y 124..140.
    for (QPoint p : {QPoint(100, 124), QPoint(164, 140), QPoint(150, 130)}) QTest::addRow("in %d,%d", p.x(), p.y()) << p << true;
    for (QPoint p : {QPoint(99, 130), QPoint(165, 130), QPoint(120, 123), QPoint(120, 141)})
      QTest::addRow("out %d,%d", p.x(), p.y()) << p << false;
  }

  void fastIconZone() {
    QFETCH(QPoint, at);
    QFETCH(bool, shown);
    HeadlessSession s;
    Workspace& ws = s.ws;
    scene(s);
    ws.win.Shape1[0].Visible = false;
    ws.Pane(5).Left = 600;
    ws.pointer.CurrentPane = 3;
    picStage_MouseMove(ws, 0, at.x(), at.y());
    for (int i = 0; i < 4; ++i) {
      const ControlState& icon = ws.win.Img_FastIcons[size_t(i)];
      QCOMPARE(icon.Visible, shown);
      if (shown) QCOMPARE(QPoint(icon.Left, icon.Top), QPoint(100 + 16 * i, 124));
    }
    QVERIFY(!ws.win.Shape1[0].Visible);  // hovering makes no Target
    // Leaving the zone hides them; with Cels the zone follows the first Cel.
    picStage_MouseMove(ws, 0, 300, 300);
    QVERIFY(!ws.win.Img_FastIcons[3].Visible);
    makeCels(ws, 3, 1, 2);
    ws.pointer.CurrentPane = 3;
    picStage_MouseMove(ws, 0, at.x(), at.y() - 20);
    QCOMPARE(ws.win.Img_FastIcons[0].Visible, shown);
  }
};

QTEST_GUILESS_MAIN(TestStageMouse)
#include "test_stagemouse.moc"
