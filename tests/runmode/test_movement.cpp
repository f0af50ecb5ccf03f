// The movers and their Board-edge bounces, mirroring on bounces (exact
// turning points, flip codes, the sheet pixels a mirroring leaves), and
// collisions between Rebound Panes: touch distance, probes, turns, flashes.
#include "runmode/Movement.h"
#include "runmode/RunFixtures.h"

#include <QTest>

using namespace qv;
using namespace qv::runfix;

namespace {

QImage sheetBlock(Workspace& ws, int slot, bool mask = false) {
  const PaneRecord& d = ws.Pane(slot);
  return (mask ? ws.surfaces.picMasks : ws.surfaces.picSprites).Image().copy(d.SheetX, d.SheetY, d.Width, d.Height);
}

}  // namespace

class TestMovement : public QObject {
  Q_OBJECT
 private slots:
  void edgeBounces();
  void diagonalTurns();
  void firstFrameOrientation();
  void transparentMaskMirrorsWithPicture();
  void collisionResponse();
  void flashCountdownAndDrawing();
};

void TestMovement::edgeBounces() {
  for (bool flip : {false, true}) {
    HeadlessSession b;
    Workspace& ws = b.ws;
    ws.surfaces.picStage.SetSize(320, 240);
    ws.surfaces.picStage.Left = 0;
    PaneRecord& d = placePane(ws, 2, 0, 0, 100, 40);
    setMove(d, 2, 3, flip);
    d.FlipCode = 7;  // a horizontal bounce without Flip on Bounds leaves it alone
    const QImage design = sheetBlock(ws, 2);
    PaneRecord& p = runPane(ws, 2);
    // Steps from start in dir until the Pane turns; where it turned.
    const auto turnAt = [&](void (*mover)(Workspace&, int), Integer& pos, int start, int dir) {
      pos = Integer(start);
      p.Direction = Integer(dir);
      for (int i = 0; i < 20 && p.Direction == dir; ++i) mover(ws, 2);
      return int(pos);
    };
    // 100 wide at Speed 3: the first Left >= 320 - 101 turns; with the stage
    // at Left 0 the first Left <= -1.
    QCOMPARE(turnAt(MoveHorizontal, p.Left, 207, 2), 219);
    QCOMPARE(int(p.FlipCode), flip ? 1 : 7);
    QCOMPARE(sheetBlock(ws, 2), design.mirrored(flip, false));
    QCOMPARE(turnAt(MoveHorizontal, p.Left, 9, 1), -3);
    QCOMPARE(int(p.FlipCode), flip ? 2 : 7);
    QCOMPARE(sheetBlock(ws, 2), design);
    QCOMPARE(turnAt(MoveHorizontal, p.Left, 8, 1), -1);
    ws.surfaces.picStage.Left = 1;  // the bound follows the stage's own Left
    QCOMPARE(turnAt(MoveHorizontal, p.Left, 9, 1), 0);

    // 40 high: the first Top + 41 >= 240 turns, and Top <= 0. The flip code
    // is set at every vertical bounce.
    QCOMPARE(turnAt(MoveVertical, p.Top, 190, 4), 199);
    QCOMPARE(int(p.FlipCode), 3);
    QCOMPARE(sheetBlock(ws, 2), design.mirrored(false, flip));
    QCOMPARE(turnAt(MoveVertical, p.Top, 9, 3), 0);
    QCOMPARE(int(p.FlipCode), 4);
    QCOMPARE(sheetBlock(ws, 2), design);
  }
}

void TestMovement::diagonalTurns() {
  // Board 320 x 240, Pane 50 x 50, Speed 3. A turn into a later code moves
  // the Pane a second time in the same call.
  struct Case {
    int dir, left, top, wantDir, wantFlip, wantLeft, wantTop;
  };
  const Case cases[] = {
      {5, 100, 5, 7, 4, 106, 5},      // top: 7, then down-right
      {5, 265, 100, 8, 2, 265, 94},   // right: 8, then up-left
      {6, 150, 185, 8, 7, 144, 185},  // bottom: 8, then up-left
      {6, 5, 100, 7, 8, 5, 106},      // left: 7, then down-right
      {7, 100, 185, 5, 3, 103, 188},  // bottom: 5, no second move
      {7, 265, 100, 6, 5, 268, 103},  // right: 6, no second move
      {8, 100, 5, 6, 6, 97, 2},       // top
      {8, 5, 100, 5, 1, 2, 97},       // left
      {5, 100, 100, 5, 1, 103, 97},   // in the open
      // Top-right corner: 7 (flip 4), then 8 (flip 2); block 8 moves it and
      // the top turns it to 6 (flip 6).
      {5, 265, 5, 6, 6, 265, -1},
  };
  for (const Case& c : cases) {
    HeadlessSession b;
    b.ws.surfaces.picStage.SetSize(320, 240);
    setMove(placePane(b.ws, 4, c.left, c.top, 50, 50), 5, 3, false);
    PaneRecord& p = runPane(b.ws, 4);
    p.Direction = Integer(c.dir);
    MoveDiagonal(b.ws, 4);
    QCOMPARE((QList<int>{c.dir, c.left, c.top, p.Direction, p.FlipCode, p.Left, p.Top}),
             (QList<int>{c.dir, c.left, c.top, c.wantDir, c.wantFlip, c.wantLeft, c.wantTop}));
  }
}

void TestMovement::firstFrameOrientation() {
  // The first frame mirrors a Pane going right or down; later frames without
  // a bounce change nothing, and Stop puts the design back.
  struct Case {
    int moveType, flip, mirrorLR, mirrorTB, flipCode;
  };
  const Case cases[] = {
      {1, 1, 0, 0, 1}, {2, 1, 1, 0, 2}, {2, 0, 0, 0, 1}, {3, 1, 0, 0, 1}, {4, 1, 0, 1, 4}, {5, 1, 0, 0, 1}};
  for (const Case& c : cases) {
    HeadlessSession b;
    Workspace& ws = b.ws;
    setMove(placePane(ws, 7, 300, 250, 60, 40), c.moveType, 1, c.flip);
    const QImage design = sheetBlock(ws, 7), shown = design.mirrored(c.mirrorLR, c.mirrorTB);
    mnu_RunInWindow_Click(ws);
    for (int k = 0; k < 4; ++k) {
      RunLoopPass(ws);
      const PaneRecord& p = ws.RunPane(7);
      QCOMPARE(sheetBlock(ws, 7), shown);
      QCOMPARE(ws.surfaces.picStage.Image().copy(p.Left, p.Top, 60, 40), shown);
    }
    QCOMPARE((QList<int>{c.moveType, c.flip, ws.RunPane(7).FlipCode}), (QList<int>{c.moveType, c.flip, c.flipCode}));
    stopAndEnd(ws);
    QCOMPARE(sheetBlock(ws, 7), design);
  }
}

void TestMovement::transparentMaskMirrorsWithPicture() {
  HeadlessSession b;
  Workspace& ws = b.ws;
  PaneRecord& d = placePane(ws, 3, 200, 200, 50, 30);
  makeTransparent(ws, 3);
  setMove(d, 2, 1, true);
  const QImage sprites = ws.surfaces.picSprites.Image().copy(), masks = ws.surfaces.picMasks.Image().copy();
  const QImage sprite = sheetBlock(ws, 3), mask = sheetBlock(ws, 3, true);
  mnu_RunInWindow_Click(ws);
  RunLoopPass(ws);
  QCOMPARE(sheetBlock(ws, 3), sprite.mirrored(true, false));
  QCOMPARE(sheetBlock(ws, 3, true), mask.mirrored(true, false));
  // On the Board the cut column 0 moved with the picture.
  QCOMPARE(stagePx(ws, ws.RunPane(3).Left + 49, 210), ws.BoardSettings.BoardBackColor);
  QCOMPARE(stagePx(ws, ws.RunPane(3).Left + 48, 210), patternAt(3, 1, 10));
  stopAndEnd(ws);
  QCOMPARE(ws.surfaces.picSprites.Image(), sprites);
  QCOMPARE(ws.surfaces.picMasks.Image(), masks);
}

void TestMovement::collisionResponse() {
  // C (slot 1) spans 100..140 both ways, moving in dir; J (slot 2) stands at
  // (jl, jt), 40 x 40; the gap is counted from Left + Width. With j2l, a
  // second J stands in slot 3 at (j2l, 100): each response looks at C's
  // current direction.
  struct Case {
    int dir, jl, jt, jCollision, effect, j2l, wantDir, wantFlip, flash;
  };
  const Case cases[] = {
      {2, 144, 100, 1, 1, 0, 1, 1, 1}, {2, 145, 100, 1, 1, 0, 2, 1, 0},  // right, 4 / 5 apart
      {1, 56, 100, 1, 1, 0, 2, 2, 1},  {1, 55, 100, 1, 1, 0, 1, 1, 0},   // left
      {4, 100, 144, 1, 1, 0, 3, 1, 1}, {4, 100, 145, 1, 1, 0, 4, 1, 0},  // below
      {3, 100, 56, 1, 1, 0, 4, 1, 1},  {3, 100, 55, 1, 1, 0, 3, 1, 0},   // above
      {2, 130, 100, 0, 1, 0, 2, 1, 0},                                   // overlapping a Collision-0 Pane
      // J 3 below C's bottom: touching, but no probe on C's right edge hits;
      // without the Flash effect nothing happens; a vertical C turns.
      {2, 110, 143, 1, 1, 0, 2, 1, 1}, {2, 110, 143, 1, 0, 0, 2, 1, 0}, {4, 110, 143, 1, 1, 0, 3, 1, 1},
      // Diagonal: met with the top it turns vertically, with a side horizontally.
      {5, 100, 56, 1, 1, 0, 7, 4, 1}, {5, 144, 100, 1, 1, 0, 8, 2, 1}, {6, 90, 144, 1, 1, 0, 8, 7, 1},
      {0, 120, 120, 1, 1, 0, 0, 1, 0},  // standing
      // Between two Panes 2 apart: turned away and back, or only once.
      {2, 142, 100, 1, 1, 58, 2, 2, 1}, {2, 58, 100, 1, 1, 142, 1, 1, 1},
  };
  for (const Case& c : cases) {
    HeadlessSession b;
    Workspace& ws = b.ws;
    PaneRecord& d = placePane(ws, 1, 100, 100, 40, 40);
    d.Direction = Integer(c.dir);
    d.EffectType = Integer(c.effect);
    placePane(ws, 2, c.jl, c.jt, 40, 40).Collision = Integer(c.jCollision);
    if (c.j2l) placePane(ws, 3, c.j2l, 100, 40, 40);
    PaneRecord& r = runPane(ws, 1);
    TestCollisions(ws, 1);
    // Only C turns.
    QCOMPARE((QList<int>{c.dir, c.jl, c.jt, r.Direction, r.FlipCode, isSet(r.Flashing), ws.RunPane(2).Direction}),
             (QList<int>{c.dir, c.jl, c.jt, c.wantDir, c.wantFlip, c.flash, 0}));
    QCOMPARE(ws.run.CollisionPane, 1);
  }
}

void TestMovement::flashCountdownAndDrawing() {
  // Slot 3 stands; slot 2 (left half black) moves left into it from 4 pixels
  // away, flashing for 3; slot 1 has no Collision and stands far away. A
  // flash only ORs the sprite onto the Board, Transparent or not.
  for (bool transparent : {false, true}) {
    HeadlessSession b;
    Workspace& ws = b.ws;
    ws.surfaces.picStage.SetSize(320, 240);
    placeSolid(ws, 3, 56, 100, 40, 40, Blue);
    PaneRecord& c = placeSolid(ws, 2, 100, 100, 40, 40, Red);
    fill(ws.surfaces.picSprites.Image(), c.SheetX, c.SheetY, 20, 40, Black);
    if (transparent) makeTransparent(ws, 2);
    setMove(c, 1, 1, false);
    c.EffectType = 1;
    c.EffectDuration = 3;
    placeSolid(ws, 1, 250, 10, 40, 40, Green).Collision = 0;
    const Long grey = ws.BoardSettings.BoardBackColor;
    const Long redFlash = RGB(200 | 184, 184, 184), greenFlash = RGB(184, 150 | 184, 184);
    mnu_RunInWindow_Click(ws);
    RunLoopPass(ws);
    PaneRecord& r = ws.RunPane(2);
    // Slot 2 turned and flashed; the countdown ran after slot 2 and after
    // slot 1 (which had no test of its own, so slot 2 stayed the flash source).
    QCOMPARE((QList<int>{r.Direction, r.Left, r.EffectDuration, isSet(r.Flashing)}), (QList<int>{2, 101, 1, 1}));
    QCOMPARE(stagePixels(ws, {{111, 120}, {131, 120}, {270, 30}, {70, 120}}),
             (QList<Long>{grey, redFlash, greenFlash, Blue}));
    RunLoopPass(ws);  // the countdown reaches 0 after slot 2: slot 1 draws plainly
    QCOMPARE((QList<int>{r.EffectDuration, isSet(r.Flashing)}), (QList<int>{0, 0}));
    QCOMPARE(stagePixels(ws, {{132, 120}, {270, 30}}), (QList<Long>{redFlash, Green}));
    RunLoopPass(ws);
    QCOMPARE(stagePixels(ws, {{113, 120}, {133, 120}}), (QList<Long>{transparent ? grey : Black, Red}));
    // The duration is not reloaded during a run: a later hit flashes only
    // during the Pane's own processing.
    r.Left = 100;
    r.Direction = 1;
    RunLoopPass(ws);
    QCOMPARE((QList<int>{r.Direction, isSet(r.Flashing)}), (QList<int>{2, 0}));
    QCOMPARE(stagePixels(ws, {{131, 120}, {270, 30}}), (QList<Long>{redFlash, Green}));
    // A fresh run starts from the design duration again.
    stopAndEnd(ws);
    mnu_RunInWindow_Click(ws);
    RunLoopPass(ws);
    QCOMPARE(int(ws.RunPane(2).EffectDuration), 1);
  }
}

QTEST_GUILESS_MAIN(TestMovement)
#include "test_movement.moc"
