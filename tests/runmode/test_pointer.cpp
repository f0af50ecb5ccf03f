// The pointer on the Board. In Design, as tables of pointer events and the
// state they leave (data/presses.txt): Targets, drags in the three styles,
// the second press, right presses over a Pane and over free Board, moving
// the Board; and the Fast Icon zone. In RunMode: the Label effect, the
// Writing box with its URL button, the sound and the web address. (The Value
// process and the reveal: web.trace, against the page's rules.) Printing a Label needs the GUI application's
// font database, so this engine test runs under QTEST_MAIN.
#include "runmode/ClickActions.h"
#include "shell/BoardSizes.h"
#include "support/Fixtures.h"

using namespace qv;

namespace {

// How many Board pixels of r are mostly green (the Label colour).
int greenIn(Workspace& ws, QRect r) {
  int n = 0;
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x) {
      const QRgb c = ws.surfaces.picStage.Image().pixel(x, y);
      n += qGreen(c) > 128 && qRed(c) < 128;
    }
  return n;
}

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

class TestPointer : public QObject {
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
    placeSolid(ws, 1, 0, 0, 400, 400, Purple).InUse = QvFalse;  // covers it, not in use
    placeSolid(ws, 3, 100, 100, 40, 40, Red);
    ws.pointer.CurrentPane = 3;
    picStage_MouseMove(ws, 0, at.x(), at.y());
    for (int i = 0; i < 4; ++i) {
      const ControlState& icon = ws.win.Img_FastIcons[size_t(i)];
      QCOMPARE(icon.Visible, shown);
      if (shown) QCOMPARE(QPoint(icon.Left, icon.Top), QPoint(100 + 16 * i, 124));
    }
    QVERIFY(!ws.win.Shape1[0].Visible);  // hovering makes no Target
    // Leaving the zone hides them (and the hover box); with Cels the zone
    // follows the first Cel.
    picStage_MouseMove(ws, 0, 300, 300);
    QVERIFY(!ws.win.Img_FastIcons[3].Visible && !ws.win.Shape1[1].Visible);
    makeCels(ws, 3, 1, 2);
    ws.pointer.CurrentPane = 3;
    picStage_MouseMove(ws, 0, at.x(), at.y() - 20);
    QCOMPARE(ws.win.Img_FastIcons[0].Visible, shown);
  }

  // Under the pointer effects 2 and 3 print the Label in the Label colour,
  // 0 and 1 do not. (Where, and the Box of effects 1 and 2, are web.player's
  // part, frame for frame against the page.)
  void labelsArePrinted() {
    for (int effect : {3, 1}) {
      HeadlessSession s;
      s.ws.project.BoardSettings.LabelColor = RGB(0, 255, 0);
      placeSolid(s.ws, 3, 100, 100, 40, 40, Red).MouseEffect = Integer(effect);
      s.ws.Pane(3).Label = QStringLiteral("HI");
      mnu_RunInWindow_Click(s.ws);
      hoverAt(s.ws, 130, 130);
      QVERIFY(isSet(s.ws.RunPane(3).MouseOver));
      QCOMPARE(greenIn(s.ws, QRect(101, 101, 38, 38)) > 4, effect == 3);
    }
  }

  void writingBox() {
    HeadlessSession s;
    Workspace& ws = s.ws;
    setFields(placeSolid(ws, 2, 100, 100, 80, 80, Red),
              "UseWriting=-1 UseURL=-1 WritingUnderline=-1 WritingFontSize=14 WritingWidth=150 WritingHeight=60 WritingMode=1")
        .WritingText = QStringLiteral("Hello there");
    placeSolid(ws, 3, 185, 100, 80, 80, Blue).UseURL = QvTrue;       // no Writing box: never a button
    placeSolid(ws, 4, 270, 100, 80, 80, Green).UseWriting = QvTrue;  // a box without an address
    mnu_RunInWindow_Click(ws);
    clickAt(ws, 130, 140);
    const WritingBoxState& box = ws.win.Text_Writing;
    const ControlState& url = ws.win.Button_Url;
    // The box takes the Pane's Writing settings and opens at the pointer, the
    // button under it.
    QVERIFY(box.Visible && box.Locked && !box.Bold && box.Underline && url.Visible && box.Text == "Hello there");
    QCOMPARE((QList<int>{box.Left, box.Top, box.Width, box.Height, box.FontSize, url.Left, url.Top, url.Width}),
             (QList<int>{130, 140, 150, 60, 14, 130, 200, 150}));
    // Editable; what the user typed is replaced at the next click.
    ws.RunPane(2).WritingMode = 0;
    ws.win.Text_Writing.Text = QStringLiteral("typed");
    clickAt(ws, 110, 105);
    QVERIFY(!box.Locked && box.Text == "Hello there");
    QCOMPARE(QPoint(box.Left, url.Top), QPoint(110, 165));
    // Over a Pane without a box it stays open; over no Pane it closes with
    // its button, a frame later.
    clickAt(ws, 200, 120);
    picStage_MouseMove(ws, 0, 500, 500);
    QVERIFY(box.Visible && url.Visible);
    RunLoopPass(ws);
    QVERIFY(!box.Visible && !url.Visible);
    // Straight on from a box with a button to one without an address.
    clickAt(ws, 130, 140);
    clickAt(ws, 300, 120);
    QVERIFY(box.Visible && !url.Visible && box.Left == 300);
    // A box still open when the run ends does not stay over the Board (the
    // pointer is over another Pane, so the last frame does not close it).
    clickAt(ws, 130, 140);
    hoverAt(ws, 200, 120);
    QVERIFY(box.Visible && url.Visible);
    stopAndEnd(ws);
    QVERIFY(!box.Visible && !url.Visible);
  }

  void soundAndUrl() {
    HeadlessSession s;
    Workspace& ws = s.ws;
    placeSolid(ws, 2, 100, 100, 50, 50, Red).URL = QStringLiteral("example.org/page");
    ws.Pane(2).Sound = DingSoundId;
    placeSolid(ws, 3, 300, 100, 50, 50, Blue).URL = QStringLiteral("http://example.org");
    placeSolid(ws, 4, 500, 100, 50, 50, Blue).Sound = 7;  // no such sound: nothing plays
    mnu_RunInWindow_Click(ws);
    clickAt(ws, 320, 120);  // no sound
    QVERIFY(s.platform.log.filter("Sound").isEmpty());
    OpenPaneUrl(ws);
    QCOMPARE(s.platform.lastUrl, QStringLiteral("http://http://example.org"));
    clickAt(ws, 520, 120);
    QVERIFY(s.platform.log.filter("Sound") == QStringList{"StopSound"} && ws.run.SoundData.isEmpty());
    clickAt(ws, 120, 120);
    picStage_MouseDown(ws, 2, 700, 500);  // a second restarts it: any button, and the Pane the hover found is clicked
    const QByteArray ding = LoadResData(DingSoundId, QStringLiteral("CUSTOM"));
    QVERIFY(s.platform.lastSound == ding && ws.run.SoundData == ding);
    QCOMPARE(s.platform.log.filter("Sound"), QStringList({"StopSound", "StopSound", "PlaySound|80856", "StopSound", "PlaySound|80856"}));
    OpenPaneUrl(ws);
    QCOMPARE(s.platform.lastUrl, QStringLiteral("http://example.org/page"));
  }
};

QTEST_MAIN(TestPointer)
#include "test_pointer.moc"
