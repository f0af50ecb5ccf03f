// The movers and their Board-edge bounces (exact turning points, flip codes,
// the sheet pixels a mirroring leaves), and collisions between Rebound
// Panes: touch distance, probe points, turns and flashes.
#include "runmode/Movement.h"
#include "support/Fixtures.h"

using namespace qv;

class TestMovement : public QObject {
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
};

QTEST_GUILESS_MAIN(TestMovement)
#include "test_movement.moc"
