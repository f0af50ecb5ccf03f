// The Board's mouse events in Design, as tables of pointer events and the
// state they leave (data/presses.txt): Targets, drags in the three styles, the second press,
// right presses over a Pane and over free Board, and moving the Board.
#include "shell/BoardSizes.h"
#include "support/Fixtures.h"

using namespace qv;

namespace {

// Slot 2 red at (100, 100) over slot 7 blue at (150, 150), both 100 x 100.
struct Scene : HeadlessSession {
  Scene() {
    IntroBlankNewProject(ws);
    placeSolid(ws, 2, 100, 100, 100, 100, Red);
    placeSolid(ws, 7, 150, 150, 100, 100, Blue);
    ws.project.List_Zorder = {{"02.bmp", 2}, {"07.bmp", 7}};
    RedrawBoard(ws);
  }
  Long at(int x, int y) { return stagePx(ws, x, y); }
  // "d" press, "m" move, "u" release; button 1 left, 2 right.
  void run(const QString& script) {
    for (const QString& step : script.split(' ', Qt::SkipEmptyParts)) {
      const QStringList f = step.mid(1).split(',');
      const int b = f[0].toInt();
      const double x = f[1].toFloat(), y = f[2].toFloat();
      if (step[0] == 'd') picStage_MouseDown(ws, b, x, y);
      else if (step[0] == 'm') picStage_MouseMove(ws, b, x, y);
      else picStage_MouseUp(ws, b, x, y);
    }
  }
};

}  // namespace

class TestStageMouse : public QObject {
  Q_OBJECT

 private slots:
  // The cases are in data/presses.txt.
  void pressesAndDrags_data() {
    QTest::addColumn<QStringList>("f");  // style, events, Target, dragging, slot 2's place, (240, 240), box
    for (const QStringList& row : fieldRows(QFINDTESTDATA("data/presses.txt"), 15)) QTest::newRow(qPrintable(row.join(" | "))) << row;
  }

  void pressesAndDrags() {
    QFETCH(QStringList, f);
    const int target = f[2].toInt();
    Scene s;
    s.ws.project.BoardSettings.BoardLocked = QvTrue;
    s.ws.project.BoardSettings.WirePanes = toFlag(f[0] == "1");
    s.ws.project.BoardSettings.FloatPanes = toFlag(f[0] == "2");
    s.run(f[1]);
    const Long shown = s.at(240, 240);
    QCOMPARE(QStringList({QString::number(s.ws.pointer.TargetPane), QString::number(isSet(s.ws.pointer.Dragging)),
                          QStringLiteral("%1,%2").arg(s.ws.project.PaneTable[2].Left).arg(s.ws.project.PaneTable[2].Top),
                          shown == Red ? "Red" : shown == Blue ? "Blue" : "other", QString::number(s.ws.win.Shape1[0].Visible)}),
             f.mid(2, 5));
    // The target box lies on the Target; the Fast Icon menu waits for the release.
    if (f[6] == "1") QCOMPARE(rectOf(s.ws.win.Shape1[0]), QRect(s.ws.Pane(target).Left, s.ws.Pane(target).Top, 100, 100));
    QCOMPARE(s.ws.win.picFastMenu.Enabled, f[1].section(' ', -1).startsWith('u'));
    // The Target's items follow it; Add Pane stays.
    QCOMPARE(QList<bool>({s.ws.win.menuEnabled(Command::EditPane), s.ws.win.menuEnabled(Command::AddCustomPane)}),
             QList<bool>({target != 0, true}));
    QVERIFY(!s.ws.win.BoardMoving);
    if (target) QCOMPARE(s.ws.win.Label1, QString::number(target));
  }

  void rightPressOverAPaneTargetsIt() {
    Scene s;
    s.run("m0,160,160 d2,160,160");
    QCOMPARE(int(s.ws.pointer.TargetPane), 2);
    QVERIFY(s.ws.win.Shape1[0].Visible && s.ws.win.menuEnabled(Command::RemovePane));
    QCOMPARE(s.ws.project.List_Zorder[s.ws.win.List_ZorderIndex].ItemData, 2);
    const ControlState& list = s.ws.win.Frame_ListZ;
    QVERIFY(list.Visible);
    QCOMPARE(QPoint(list.Left, list.Top), QPoint(s.ws.surfaces.picStage.Left + 160, s.ws.surfaces.picStage.Top + 160));
    QVERIFY(s.windows.popups.isEmpty());
    // Choosing an entry makes its Pane the Target though another covers it
    // and closes the list; rows outside the list, or a list being filled,
    // choose nothing.
    for (int row : {1, 2, -1, 0}) {
      s.ws.win.DialogFilling = toFlag(row == 0);
      List_Zorder_Click(s.ws, row);
    }
    QVERIFY(s.ws.pointer.TargetPane == 7 && !list.Visible && s.ws.win.Shape1[1].Visible && s.ws.win.Shape1[0].Left == 150);
    // With the list open a move cancels a drag; the next press closes it.
    s.run("m0,160,160 d2,160,160");
    s.ws.pointer.Dragging = QvTrue;
    s.run("m0,10,10");
    QVERIFY(!isSet(s.ws.pointer.Dragging));
    s.run("d1,700,500");
    QVERIFY(!s.ws.win.Frame_ListZ.Visible);
  }

  void rightPressOnFreeBoardSizesItBeforeTheRedraw() {
    Scene s;
    RunCommand(s.ws, Command::Board320x240);
    s.ws.Pane(7).Left = 500;
    s.ws.Pane(7).Top = 100;
    s.windows.onPopup = [&](Menu) { RunCommand(s.ws, Command::Board1024x768); };
    s.run("m0,300,200 d2,300,200");
    QCOMPARE(s.windows.popups, QVector<Menu>{Menu::BoardSize});
    QCOMPARE(s.ws.surfaces.picStage.Width(), 1024);
    QCOMPARE(s.at(550, 150), Blue);
  }

  void boardMoves() {
    Scene s;
    const ControlState& holder = s.ws.win.picHolder;
    Surface& stage = s.ws.surfaces.picStage;
    s.run("d1,700,500");
    QVERIFY(s.ws.win.BoardMoving && !stage.Visible);
    QCOMPARE(stage.Pointer, MousePointer::FourWayArrow);
    // Dragged over the holder: the Board shows again near its edges.
    const std::tuple<int, int, bool> over[] = {
        {500, 300, false}, {holder.Left + 10, 300, true}, {holder.Width - 10, 300, true}, {500, holder.Top + 30, true}};
    for (const auto& [x, y, visible] : over) {
      stage.Visible = false;
      QVERIFY(!BoardDragOver(s.ws, x, y));
      QCOMPARE(stage.Visible, visible);
    }
    BoardMoveDrop(s.ws, 300, 200);
    QCOMPARE(QPoint(stage.Left, stage.Top), QPoint(300 - 700, 200 - 500));
    QVERIFY(stage.Visible && !s.ws.win.BoardMoving && s.ws.win.picFastMenu.Enabled);
    // The bottom band ends the drag with the Board where it was.
    s.run("d1,700,500");
    QVERIFY(BoardDragOver(s.ws, 50, holder.Height - (s.ws.win.picFastMenu.Height + 10)));
    QVERIFY(stage.Visible && !s.ws.win.BoardMoving);
    QCOMPARE(QPoint(stage.Left, stage.Top), QPoint(-400, -300));
  }
};

QTEST_GUILESS_MAIN(TestStageMouse)
#include "test_stagemouse.moc"
