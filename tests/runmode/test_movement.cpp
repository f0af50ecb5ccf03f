// The movers and their Board-edge bounces (exact turning points, flip codes,
// the sheet pixels a mirroring leaves), and collisions between Rebound
// Panes: touch distance, probe points, turns and flashes.
#include "runmode/Movement.h"
#include "support/Fixtures.h"

#include <QTest>

using namespace qv;
using namespace qv::fixtures;

class TestMovement : public QObject {
  Q_OBJECT
 private slots:
  void edgeBounces() {
    for (bool flip : {false, true}) {
      HeadlessSession s;
      Workspace& ws = s.ws;
      ws.surfaces.picStage.SetSize(320, 240);
      ws.surfaces.picStage.Left = 0;
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
      // 100 wide at Speed 3: the first Left >= 320 - 101 turns; with the
      // Board at Left 0 the first Left <= -1, at Left 1 the first Left <= 0.
      QCOMPARE(turnAt(MoveHorizontal, p.Left, 207, 2), 219);
      QCOMPARE(int(p.FlipCode), flip ? 1 : 7);
      QCOMPARE(sheetBlock(ws, 2), design.mirrored(flip, false));
      QCOMPARE(turnAt(MoveHorizontal, p.Left, 9, 1), -3);
      QCOMPARE(int(p.FlipCode), flip ? 2 : 7);
      QCOMPARE(sheetBlock(ws, 2), design);
      QCOMPARE(turnAt(MoveHorizontal, p.Left, 8, 1), -1);
      ws.surfaces.picStage.Left = 1;
      QCOMPARE(turnAt(MoveHorizontal, p.Left, 9, 1), 0);
      // 40 high: the first Top + 41 >= 240 turns, and Top <= 0. The flip
      // code is set at every vertical bounce.
      QCOMPARE(turnAt(MoveVertical, p.Top, 190, 4), 199);
      QCOMPARE(int(p.FlipCode), 3);
      QCOMPARE(sheetBlock(ws, 2), design.mirrored(false, flip));
      QCOMPARE(turnAt(MoveVertical, p.Top, 9, 3), 0);
      QCOMPARE(int(p.FlipCode), 4);
      QCOMPARE(sheetBlock(ws, 2), design);
    }
  }

  void diagonalTurns() {
    // Board 320 x 240, Pane 50 x 50, Speed 3: each edge just reached, and
    // one pixel short of it. A turn into a later code moves the Pane a
    // second time in the same call. Flipping on bounds, the Pane ends up
    // mirrored left-right (1) or top-bottom (2) by the codes it turned with:
    // 1, 2, 5 and 8 left-right, 3, 4, 6 and 7 top-bottom.
    const int cases[][8] = {
        // dir, left, top -> dir, flip code, left, top, mirrored
        {5, 100, 5, 7, 4, 106, 5, 2},    {5, 100, 6, 5, 1, 103, 3, 0},     // top
        {5, 265, 100, 8, 2, 265, 94, 1}, {5, 264, 100, 5, 1, 267, 97, 0},  // right
        {6, 150, 185, 8, 7, 144, 185, 2}, {6, 150, 184, 6, 1, 147, 187, 0},  // bottom
        {6, 5, 100, 7, 8, 5, 106, 1},    {6, 6, 100, 6, 1, 3, 103, 0},     // left
        {7, 100, 185, 5, 3, 103, 188, 2}, {7, 100, 184, 7, 1, 103, 187, 0},
        {7, 265, 100, 6, 5, 268, 103, 1}, {7, 264, 100, 7, 1, 267, 103, 0},
        {8, 100, 5, 6, 6, 97, 2, 2},     {8, 100, 6, 8, 1, 97, 3, 0},
        {8, 5, 100, 5, 1, 2, 97, 1},     {8, 6, 100, 8, 1, 3, 97, 0},
        // Top-right corner: 7 (flip 4), then 8 (flip 2); block 8 moves it
        // and the top turns it to 6 (flip 6).
        {5, 265, 5, 6, 6, 265, -1, 1},
    };
    for (const auto& c : cases)
      for (bool flip : {false, true}) {
        HeadlessSession s;
        s.ws.surfaces.picStage.SetSize(320, 240);
        setMove(placePane(s.ws, 4, c[1], c[2], 50, 50), 5, 3, flip);
        const QImage design = sheetBlock(s.ws, 4);
        PaneRecord& p = runPane(s.ws, 4);
        p.Direction = Integer(c[0]);
        MoveDiagonal(s.ws, 4);
        QCOMPARE((QList<int>{c[0], c[1], c[2], p.Direction, p.FlipCode, p.Left, p.Top}), QList<int>(c, c + 7));
        QCOMPARE(sheetBlock(s.ws, 4), design.mirrored(flip && (c[7] & 1), flip && (c[7] & 2)));
      }
  }

  void firstFrameOrientation() {
    // The first frame mirrors a Pane going right or down, and only its own
    // block, the mask with the picture; later frames without a bounce change
    // nothing, and Stop puts the design back. The cuts (black) show the
    // Board through, wherever the mirror put them.
    const int cases[][6] = {// move type, direction, flip, mirror left-right, top-bottom, flip code
                            {1, 1, 1, 0, 0, 1}, {2, 2, 1, 1, 0, 2}, {2, 2, 0, 0, 0, 1}, {3, 3, 1, 0, 0, 1},
                            {4, 4, 1, 0, 1, 4}, {5, 5, 1, 0, 0, 1}, {5, 7, 1, 1, 0, 7}, {5, 8, 1, 0, 1, 8}};
    for (const auto& [type, dir, flip, lr, tb, code] : cases) {
      HeadlessSession s;
      Workspace& ws = s.ws;
      setMove(placePane(ws, 7, 300, 250, 60, 40), type, 1, flip);
      ws.Pane(7).Direction = Integer(dir);
      makeTransparent(ws, 7);
      const int x = ws.Pane(7).SheetX, y = ws.Pane(7).SheetY;
      const QImage sprites = ws.surfaces.picSprites.Image().copy(), masks = ws.surfaces.picMasks.Image().copy();
      QImage sheet = sprites.copy(), maskSheet = masks.copy(), shown = sheetBlock(ws, 7).mirrored(lr, tb);
      BitBlt(sheet, x, y, 60, 40, shown, 0, 0, RasterOp::SRCCOPY);
      BitBlt(maskSheet, x, y, 60, 40, sheetBlock(ws, 7, true).mirrored(lr, tb), 0, 0, RasterOp::SRCCOPY);
      for (int j = 0; j < 40; ++j)
        for (int i = 0; i < 60; ++i)
          if (px(shown, i, j) == Black) fill(shown, i, j, 1, 1, Grey);
      mnu_RunInWindow_Click(ws);
      for (int k = 0; k < 4; ++k) {
        RunLoopPass(ws);
        QVERIFY(ws.surfaces.picSprites.Image() == sheet && ws.surfaces.picMasks.Image() == maskSheet);
        QCOMPARE(ws.surfaces.picStage.Image().copy(ws.RunPane(7).Left, ws.RunPane(7).Top, 60, 40), shown);
      }
      QCOMPARE((QList<int>{type, dir, flip, ws.RunPane(7).FlipCode}), (QList<int>{type, dir, flip, code}));
      stopAndEnd(ws);
      QVERIFY(ws.surfaces.picSprites.Image() == sprites && ws.surfaces.picMasks.Image() == masks);
    }
  }

  void collisionResponse() {
    // C (slot 1) spans 100..140 both ways, moving in dir; J (slot 2) stands
    // at (jl, jt), 40 x 40; the gap is counted from Left + Width. C's probes
    // lie 4 out from its leading edge, at 2, 8, 12, ... 32 and 38 along it.
    // With j2l, a second J stands in slot 3 at (j2l, 100): each response
    // looks at C's current direction. A thin J is 1 pixel high (wide for a
    // vertical C).
    const int cases[][10] = {
        // dir, jl, jt, J's Collision, effect, j2l, thin -> dir, flip code, flashing
        {2, 144, 100, 1, 1, 0, 1, 1, 1, 0}, {2, 145, 100, 1, 1, 0, 2, 1, 0, 0},  // right, 4 / 5 apart
        {1, 56, 100, 1, 1, 0, 2, 2, 1, 0},  {1, 55, 100, 1, 1, 0, 1, 1, 0, 0},   // left
        {4, 100, 144, 1, 1, 0, 3, 1, 1, 0}, {4, 100, 145, 1, 1, 0, 4, 1, 0, 0},  // below
        {3, 100, 56, 1, 1, 0, 4, 1, 1, 0},  {3, 100, 55, 1, 1, 0, 3, 1, 0, 0},   // above
        {2, 130, 100, 0, 1, 0, 2, 1, 0, 0},                                   // overlapping a Collision-0 Pane
        // Touching, but only the first or last probe reaches J, or none;
        // without the Flash effect nothing flashes.
        {2, 144, 60, 1, 1, 0, 1, 1, 1, 0},  {2, 144, 59, 1, 1, 0, 2, 1, 1, 0},  {2, 144, 140, 1, 0, 0, 1, 1, 0, 0},
        {2, 144, 141, 1, 0, 0, 2, 1, 0, 0}, {4, 60, 144, 1, 1, 0, 3, 1, 1, 0},  {4, 59, 144, 1, 1, 0, 4, 1, 1, 0},
        {4, 140, 144, 1, 1, 0, 3, 1, 1, 0}, {4, 141, 144, 1, 1, 0, 4, 1, 1, 0},
        // A J one pixel thin across the probes is met by the probe at 8 alone.
        {2, 144, 107, 1, 1, 0, 1, 1, 1, 1}, {4, 107, 144, 1, 1, 0, 3, 1, 1, 1},
        // Diagonal: met with the top it turns vertically, with a side horizontally.
        {5, 100, 56, 1, 1, 0, 7, 4, 1, 0},  {5, 144, 100, 1, 1, 0, 8, 2, 1, 0},  {6, 90, 144, 1, 1, 0, 8, 7, 1, 0},
        {7, 144, 100, 1, 1, 0, 6, 5, 1, 0}, {8, 56, 100, 1, 1, 0, 5, 1, 1, 0},
        {0, 120, 120, 1, 1, 0, 0, 1, 0, 0},  // standing
        // Between two Panes 2 apart: turned away and back, or only once.
        {2, 142, 100, 1, 1, 58, 2, 2, 1, 0}, {2, 58, 100, 1, 1, 142, 1, 1, 1, 0},
    };
    for (const auto& c : cases) {
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
