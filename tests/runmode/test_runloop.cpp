// The run loop: the movers and their Board-edge bounces (exact turning
// points, flip codes, the sheet pixels a mirroring leaves), collisions
// between Rebound Panes (touch distance, probe points, turns and flashes),
// movement pacing and the Lifespan gate, Cel animation; starting and stopping
// RunMode (the sheets come back to their design
// orientation exactly, the design table is untouched, the three forms of Stop
// restore the window). What a frame draws (order, hidden Panes, flashes) is
// web.player's part, frame for frame against the page; the fields a frame
// changes (flashes and their countdown too) are web.trace's, against the
// page's rules over 200 seeded projects.
#include "runmode/Movement.h"
#include "support/Fixtures.h"

using namespace qv;

namespace {

// A 320 x 240 Board with Panes of every movement type, all flipping on
// bounds, Transparent and plain, with and without Cels; slot 6 reaches the
// top-right corner in frame 3 and turns three times there.
void buildScene(Workspace& ws) {
  ws.surfaces.picStage.SetSize(320, 240);
  setMove(placePane(ws, 1, 100, 20, 50, 40), 1, 3, true);
  makeTransparent(ws, 1);
  ws.Pane(1).EffectType = ws.Pane(1).EffectDuration = 3;
  setMove(placePane(ws, 2, 30, 150, 60, 60), 2, 2, true);
  makeCels(ws, 2, 2, 2, 1);
  setMove(placePane(ws, 3, 250, 100, 60, 30), 3, 3, true);
  makeTransparent(ws, 3);
  makeCels(ws, 3, 3, 1);
  setMove(placePane(ws, 4, 10, 60, 40, 50), 4, 2, true);
  ws.Pane(4).EffectType = 1;
  setMove(placePane(ws, 5, 200, 60, 50, 50), 5, 3, true);
  makeTransparent(ws, 5);
  setMove(placePane(ws, 6, 259, 11, 50, 50), 5, 3, true);
  placePane(ws, 7, 150, 110, 30, 30).FlipOnBounds = QvTrue;
  setMove(placePane(ws, 8, 120, 200, 40, 30), 2, 1, false);
  placePane(ws, 9, 20, 20, 30, 30).Visible = QvFalse;
}

}  // namespace

class TestRunLoop : public QObject {
  Q_OBJECT
 private slots:
  void edgeBounces() {
    for (bool flip : {false, true}) {
      HeadlessSession s;
      Workspace& ws = s.ws;
      ws.surfaces.picStage.SetSize(320, 240);
      setMove(placePane(ws, 2, 0, 0, 100, 40), 2, 3, flip);
      ws.Pane(2).FlipCode = 7;  // a horizontal bounce without Flip on Bounds leaves it alone
      const QImage design = sheetBlock(ws, 2);
      PaneRecord& p = runPane(ws, 2);
      // Steps from start in dir until the Pane turns; where it turned.
      const auto turnAt = [&](void (*mover)(Workspace&, int), Integer& pos, int start, int dir) {
        pos = Integer(start);
        p.Direction = Integer(dir);
        for (int i = 0; i < 20 && p.Direction == dir; ++i) mover(ws, 2);
        return int(pos);
      };
      // The steps are in data/bounces.txt.
      for (const QList<int>& t : numberRows(QFINDTESTDATA("data/bounces.txt"), 6)) {
        ws.surfaces.picStage.Left = t[1];
        QCOMPARE(turnAt(t[0] ? MoveVertical : MoveHorizontal, t[0] ? p.Top : p.Left, t[2], t[3]), t[4]);
        QCOMPARE(int(p.FlipCode), flip || t[0] ? t[5] : 7);
        QCOMPARE(sheetBlock(ws, 2), design.mirrored(flip && t[6], flip && t[7]));
      }
    }
  }

  void diagonalTurns() {
    // The cases are in data/diagonals.txt. A turn into a later code moves
    // the Pane a second time in the same call. Flipping on bounds, the Pane
    // ends up mirrored by the codes it turned with: 1, 2, 5 and 8
    // left-right, 3, 4, 6 and 7 top-bottom.
    for (const QList<int>& c : numberRows(QFINDTESTDATA("data/diagonals.txt"), 17))
      for (bool flip : {false, true}) {
        HeadlessSession s;
        s.ws.surfaces.picStage.SetSize(320, 240);
        setMove(placePane(s.ws, 4, c[1], c[2], 50, 50), 5, 3, flip);
        const QImage design = sheetBlock(s.ws, 4);
        PaneRecord& p = runPane(s.ws, 4);
        p.Direction = Integer(c[0]);
        MoveDiagonal(s.ws, 4);
        QCOMPARE((QList<int>{c[0], c[1], c[2], p.Direction, p.FlipCode, p.Left, p.Top}), c.mid(0, 7));
        QCOMPARE(sheetBlock(s.ws, 4), design.mirrored(flip && (c[7] & 1), flip && (c[7] & 2)));
      }
  }

  void firstFrameOrientation() {
    // The first frame mirrors a Pane going right or down, and only its own
    // block, the mask with the picture; later frames without a bounce change
    // nothing, and Stop puts the design back. The cuts (black) show the
    // Board through, wherever the mirror put them.
    // The cases are in data/first-frames.txt.
    for (const QList<int>& c : numberRows(QFINDTESTDATA("data/first-frames.txt"), 8)) {
      const int type = c[0], dir = c[1], flip = c[2], lr = c[3], tb = c[4], code = c[5];
      HeadlessSession s;
      Workspace& ws = s.ws;
      setMove(placePane(ws, 7, 300, 250, 60, 40), type, 1, flip);
      ws.Pane(7).Direction = Integer(dir);
      makeTransparent(ws, 7);
      const int x = ws.Pane(7).SheetX, y = ws.Pane(7).SheetY;
      const QImage sprites = ws.project.picSprites.Image().copy(), masks = ws.project.picMasks.Image().copy();
      QImage sheet = sprites.copy(), maskSheet = masks.copy(), shown = sheetBlock(ws, 7).mirrored(lr, tb);
      BitBlt(sheet, x, y, 60, 40, shown, 0, 0, RasterOp::SRCCOPY);
      BitBlt(maskSheet, x, y, 60, 40, sheetBlock(ws, 7, true).mirrored(lr, tb), 0, 0, RasterOp::SRCCOPY);
      for (int j = 0; j < 40; ++j)
        for (int i = 0; i < 60; ++i)
          if (px(shown, i, j) == Black) fill(shown, i, j, 1, 1, Grey);
      mnu_RunInWindow_Click(ws);
      for (int k = 0; k < 4; ++k) {
        RunLoopPass(ws);
        QVERIFY(ws.project.picSprites.Image() == sheet && ws.project.picMasks.Image() == maskSheet);
        QCOMPARE(ws.surfaces.picStage.Image().copy(ws.RunPane(7).Left, ws.RunPane(7).Top, 60, 40), shown);
      }
      QCOMPARE((QList<int>{type, dir, flip, ws.RunPane(7).FlipCode}), (QList<int>{type, dir, flip, code}));
      stopAndEnd(ws);
      QVERIFY(ws.project.picSprites.Image() == sprites && ws.project.picMasks.Image() == masks);
    }
  }

  void collisionResponse() {
    // The cases, C meeting J, are in data/collisions.txt.
    for (const QList<int>& c : numberRows(QFINDTESTDATA("data/collisions.txt"), 27)) {
      HeadlessSession s;
      Workspace& ws = s.ws;
      PaneRecord& d = placePane(ws, 1, 100, 100, 40, 40);
      d.Direction = Integer(c[0]);
      d.EffectType = Integer(c[4]);
      const bool across = c[0] == 1 || c[0] == 2;
      placePane(ws, 2, c[1], c[2], c[9] && !across ? 1 : 40, c[9] && across ? 1 : 40).Collision = Integer(c[3]);
      if (c[5]) placePane(ws, 3, c[5], 100, 40, 40);
      PaneRecord& r = runPane(ws, 1);
      TestCollisions(ws, 1);
      // Only C turns.
      QCOMPARE((QList<int>{c[0], c[1], c[2], r.Direction, r.FlipCode, isSet(r.Flashing), ws.RunPane(2).Direction}),
               (QList<int>{c[0], c[1], c[2], c[6], c[7], c[8], 0}));
      QCOMPARE(ws.run.CollisionPane, 1);
    }
  }

  void pacingLifespanAndCels() {
    // Slot 6 moves right at Speed 1 with 2 x 2 Cels, one 50 x 50 Cel a
    // frame in reading order, wrapping; the cases are in data/pacing.txt.
    const QList<Long> cels = {Red, Blue, Green, Yellow};
    for (const QList<int>& c : numberRows(QFINDTESTDATA("data/pacing.txt"), 12)) {
      HeadlessSession s;
      Workspace& ws = s.ws;
      setMove(placePane(ws, 6, 300, 300, 100, 100), 2, 1, c[5]);
      makeCels(ws, 6, 2, 2, c[4], cels);
      setFields(ws.Pane(6), QString("Process=%1 LifeStartValue=%2 LifeEndValue=%3 MoveDelay=%4").arg(c[0]).arg(c[1]).arg(c[2]).arg(c[3]));
      const QImage sheet = ws.project.picSprites.Image().copy();
      mnu_RunInWindow_Click(ws);
      QList<int> got = c.mid(0, 6);
      for (int k = 0; k < 6; ++k) {
        RunLoopPass(ws);
        const PaneRecord& r = ws.RunPane(6);
        got << r.Left << int(cels.indexOf(stagePx(ws, r.Left + 25, 325)));
        QVERIFY(stagePx(ws, r.Left + 50, 325) == Grey && stagePx(ws, r.Left + 25, 350) == Grey && r.Width == 50);
      }
      QCOMPARE(got, c);
      stopAndEnd(ws);
      QCOMPARE(ws.project.picSprites.Image(), sheet);
    }
  }

  void designComesBackExactly() {
    // Every run starts from the design, so one workspace serves all runs.
    HeadlessSession s;
    Workspace& ws = s.ws;
    buildScene(ws);
    RedrawBoard(ws);
    const QImage designBoard = ws.surfaces.picStage.Image().copy();
    const Design d(ws);
    QList<int> mirroring;  // passes whose frame mirrored some block
    mnu_RunInWindow_Click(ws);
    for (int k = 1; k <= 150; ++k) {
      const QImage before = ws.project.picSprites.Image().copy();
      RunLoopPass(ws);
      if (ws.project.picSprites.Image() != before) mirroring << k;
    }
    QVERIFY(mirroring.size() >= 8 && mirroring[0] == 1 && mirroring.contains(3) && ws.project.PaneTable == d.table);
    stopAndEnd(ws);
    QVERIFY(ws.RunPane(1).Left != d.table[1].Left);  // the run table keeps the run's state
    // Stop seen in the events before pass n, whose frame is the last one:
    // right at and after the mirroring passes, and after long runs.
    QList<int> stops = {45, 120, 400};
    for (int k : mirroring.mid(0, 12)) stops << k << k + 1;
    for (int n : stops) {
      mnu_RunInWindow_Click(ws);
      passes(ws, n - 1);
      StopRun(ws, StopForm::StopIcon);
      QVERIFY(!RunLoopPass(ws));
      QVERIFY2(d.matches(ws), qPrintable(QString::number(n)));
      QVERIFY(!ws.run.LoopActive && !RunLoopPass(ws));
      QCOMPARE(ws.surfaces.picStage.Image(), designBoard);  // redrawn in Design
      if (n == 4) QCOMPARE(int(ws.RunPane(6).FlipCode), 1);  // restored after its corner turns
    }
    mnu_RunInWindow_Click(ws);
    passes(ws, 3);
    // Slot 6 turned three times in the top-right corner: mirrored left-right
    // only, though code 6 stands for both ways.
    QCOMPARE(QList<int>({ws.RunPane(6).Direction, ws.RunPane(6).FlipCode}), QList<int>({6, 6}));
    QCOMPARE(sheetBlock(ws, 6), d.sprites.copy(ws.Pane(6).SheetX, ws.Pane(6).SheetY, 50, 50).mirrored(true, false));
    // F11 while running: the mirrors so far are undone, the run starts
    // afresh.
    mnu_RunInWindow_Click(ws);
    QVERIFY(ws.project.picSprites.Image() == d.sprites && ws.project.picMasks.Image() == d.masks);
    QCOMPARE(QList<int>({ws.run.FirstFrameDone, ws.RunPane(6).Left, ws.RunPane(6).Direction}), QList<int>({0, 259, 5}));
    for (int n = 1; n <= 9; ++n) QCOMPARE(ws.RunPane(n).EffectDuration, ws.Pane(n).EffectDuration);  // slot 1's ran out
    // Stop and F11 in the same events: the run goes on from the start.
    StopRun(ws, StopForm::EscKey);
    mnu_RunInWindow_Click(ws);
    QVERIFY(ws.project.picSprites.Image() == d.sprites && RunLoopPass(ws) && isSet(ws.run.Running));
  }

  void stopForms() {
    // A run hides the boxes, the layer list, the Fast Icons and the design
    // icons but Stop. Every form of Stop ends the run in Design with the
    // design icons, the sheets and table as designed, and Picture1 hidden;
    // after a Full Board run its Stop icon and Esc give the Board its place
    // and size back. (Which form shows the bar, and the readout, are in the
    // main window's key table.)
    for (StopForm form : {StopForm::StopIcon, StopForm::FullBoardStopIcon, StopForm::EscKey}) {
      HeadlessSession s;
      Workspace& ws = s.ws;
      MainWindowState& win = ws.win;
      buildScene(ws);
      ws.surfaces.picStage.SetSize(800, 600);
      const Design d(ws);
      win.Shape1[0].Visible = win.Shape1[1].Visible = win.Frame_ListZ.Visible = win.Img_FastIcons[3].Visible = true;
      if (form == StopForm::StopIcon) mnu_RunInWindow_Click(ws);
      else mnu_RunFullscreen_Click(ws);
      QVERIFY(win.Img_IconStrip[5].Visible && !win.Img_IconStrip[4].Visible && !win.Img_IconStrip[3].Visible);
      QVERIFY(!win.Shape1[0].Visible && !win.Shape1[1].Visible && !win.Frame_ListZ.Visible && !win.Img_FastIcons[3].Visible);
      QCOMPARE(win.Picture1.Visible, form != StopForm::StopIcon);
      passes(ws, 5);
      ws.surfaces.picStage.SetSize(1000, 700);  // the working area the window gave it
      passes(ws, 5);
      picStage_MouseMove(ws, 0, ws.RunPane(1).Left + 10, 30);  // the last frame's hover test finds slot 1
      StopRun(ws, form);
      QVERIFY(!RunLoopPass(ws) && win.Img_IconStrip[4].Visible && !win.Picture1.Visible && d.matches(ws));
      if (form != StopForm::StopIcon) QCOMPARE(boardOf(ws), QRect(1, FastMenuHeight, 800, 600));
    }
  }
};

QTEST_GUILESS_MAIN(TestRunLoop)
#include "test_runloop.moc"
