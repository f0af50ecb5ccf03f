// Collisions between Rebound Panes: the touch distance, the probes on the
// leading edge, the turns and flashes, the flash countdown and how a flash
// is drawn.
#include "runmode/Movement.h"
#include "runmode/RunFixtures.h"

#include <QTest>

using namespace qv;
using namespace qv::runfix;

namespace {

// Slot 1 = C at (100, 100), 40 x 40, moving in dir, Flash effect; slot 2 =
// J at (jl, jt), 40 x 40, standing. Returns C after C's collision test.
PaneRecord& collide(TestBench& b, int dir, int jl, int jt, int jCollision = 1) {
  Workspace& ws = b.ws;
  PaneRecord& c = placePane(ws, 1, 100, 100, 40, 40);
  c.MoveType = Integer(dir <= 2 ? 1 : dir <= 4 ? 3 : 5);
  c.Direction = Integer(dir);
  c.EffectType = 1;
  PaneRecord& j = placePane(ws, 2, jl, jt, 40, 40);
  j.Collision = Integer(jCollision);
  PaneRecord& p = runPane(ws, 1);
  TestCollisions(ws);
  return p;
}

}  // namespace

class CollisionTests : public QObject {
  Q_OBJECT
 private slots:
  void touchDistance_data();
  void touchDistance();
  void obstacleWithoutCollision();
  void horizontalTouchByTopOrBottomEdge();
  void diagonalTurnsBySide();
  void everyTouchingPaneGetsItsResponse();
  void standingPaneNeitherTurnsNorFlashes();
  void flashCountdown();
  void flashDrawsWithOrOnly();
};

void CollisionTests::touchDistance_data() {
  QTest::addColumn<int>("dir");
  QTest::addColumn<int>("jl");
  QTest::addColumn<int>("jt");
  QTest::addColumn<bool>("touch");
  // C spans 100..140 both ways; the gap is counted from Left + Width.
  QTest::newRow("right 4 apart") << 2 << 144 << 100 << true;
  QTest::newRow("right 5 apart") << 2 << 145 << 100 << false;
  QTest::newRow("left 4 apart") << 1 << 56 << 100 << true;
  QTest::newRow("left 5 apart") << 1 << 55 << 100 << false;
  QTest::newRow("below 4 apart") << 4 << 100 << 144 << true;
  QTest::newRow("below 5 apart") << 4 << 100 << 145 << false;
  QTest::newRow("above 4 apart") << 3 << 100 << 56 << true;
  QTest::newRow("above 5 apart") << 3 << 100 << 55 << false;
}

void CollisionTests::touchDistance() {
  QFETCH(int, dir);
  QFETCH(int, jl);
  QFETCH(int, jt);
  QFETCH(bool, touch);
  TestBench b;
  PaneRecord& c = collide(b, dir, jl, jt);
  // Touching on the leading edge: a probe hits, so C turns and flashes.
  const int turned = dir % 2 == 1 ? dir + 1 : dir - 1;
  QCOMPARE(int(c.Direction), touch ? turned : dir);
  QCOMPARE(isSet(c.Flashing), touch);
  QCOMPARE(b.ws.CollisionPane, 1);
  // Only C turns.
  QCOMPARE(int(b.ws.RunPane(2).Direction), 0);
}

void CollisionTests::obstacleWithoutCollision() {
  TestBench b;
  PaneRecord& c = collide(b, 2, 130, 100, 0);  // overlapping, but J has Collision 0
  QCOMPARE(int(c.Direction), 2);
  QVERIFY(!isSet(c.Flashing));
}

void CollisionTests::horizontalTouchByTopOrBottomEdge() {
  // J lies under C, 3 pixels below its bottom: touching, but every probe on
  // C's right edge lies above J's grown rectangle.
  {
    TestBench b;
    PaneRecord& c = collide(b, 2, 110, 143);
    QCOMPARE(int(c.Direction), 2);
    QCOMPARE(int(c.FlipCode), 1);
    QVERIFY(isSet(c.Flashing));
  }
  // Without the Flash effect nothing at all happens.
  {
    TestBench b;
    PaneRecord& c = placePane(b.ws, 1, 100, 100, 40, 40);
    setMove(c, 2, 1, false);
    placePane(b.ws, 2, 110, 143, 40, 40);
    PaneRecord& r = runPane(b.ws, 1);
    TestCollisions(b.ws);
    QCOMPARE(int(r.Direction), 2);
    QVERIFY(!isSet(r.Flashing));
  }
  // The same J ahead of a vertical Pane's leading edge turns it.
  {
    TestBench b;
    PaneRecord& c = collide(b, 4, 110, 143);
    QCOMPARE(int(c.Direction), 3);
  }
}

void CollisionTests::diagonalTurnsBySide() {
  // J above C's top edge: C met it with its top and turns vertically, 5 -> 7.
  {
    TestBench b;
    PaneRecord& c = collide(b, 5, 100, 56);
    QCOMPARE(int(c.Direction), 7);
    QCOMPARE(int(c.FlipCode), 4);
    QVERIFY(isSet(c.Flashing));
  }
  // J beside C: no probe on the top edge hits, so it turns horizontally, 5 -> 8.
  {
    TestBench b;
    PaneRecord& c = collide(b, 5, 144, 100);
    QCOMPARE(int(c.Direction), 8);
    QCOMPARE(int(c.FlipCode), 2);
  }
  // Going down-left into a Pane below: 6 -> 8 with flip code 7.
  {
    TestBench b;
    PaneRecord& c = collide(b, 6, 90, 144);
    QCOMPARE(int(c.Direction), 8);
    QCOMPARE(int(c.FlipCode), 7);
  }
}

void CollisionTests::everyTouchingPaneGetsItsResponse() {
  // C (slot 3) going right between two Panes, each 2 pixels away. Each
  // response looks at C's current direction: the first turns C towards the
  // second, which then turns it back.
  for (bool rightFirst : {true, false}) {
    TestBench b;
    Workspace& ws = b.ws;
    PaneRecord& c = placePane(ws, 3, 100, 100, 40, 40);
    setMove(c, 2, 1, false);
    placePane(ws, rightFirst ? 1 : 2, 142, 100, 40, 40);
    placePane(ws, rightFirst ? 2 : 1, 58, 100, 40, 40);
    PaneRecord& r = runPane(ws, 3);
    TestCollisions(ws);
    QCOMPARE(int(r.Direction), rightFirst ? 2 : 1);
  }
}

void CollisionTests::standingPaneNeitherTurnsNorFlashes() {
  TestBench b;
  Workspace& ws = b.ws;
  PaneRecord& s = placePane(ws, 1, 100, 100, 40, 40);
  s.EffectType = 1;
  placePane(ws, 2, 120, 120, 40, 40);
  PaneRecord& r = runPane(ws, 1);
  TestCollisions(ws);
  QCOMPARE(int(r.Direction), 0);
  QVERIFY(!isSet(r.Flashing));
}

void CollisionTests::flashCountdown() {
  TestBench b;
  Workspace& ws = b.ws;
  ws.picStage.SetSize(320, 240);
  // Slot 3: a standing obstacle; slot 2: moving left into it, 4 pixels away,
  // flashing for 3; slot 1: no Collision, far away.
  placeSolid(ws, 3, 56, 100, 40, 40, Blue);
  PaneRecord& c = placeSolid(ws, 2, 100, 100, 40, 40, Red);
  setMove(c, 1, 1, false);
  c.EffectType = 1;
  c.EffectDuration = 3;
  PaneRecord& o = placeSolid(ws, 1, 250, 10, 40, 40, Green);
  o.Collision = 0;
  const Long grey = ws.BoardSettings.BoardBackColor;
  const Long redFlash = RGB(200 | 184, 184, 184), greenFlash = RGB(184, 150 | 184, 184);

  mnu_RunInWindow_Click(ws);
  RunLoopPass(ws);
  PaneRecord& r = ws.RunPane(2);
  // Slot 2 hit, turned and flashed; the countdown ran after slot 2 and after
  // slot 1 (which had no test of its own, so slot 2 stayed the flash source).
  QCOMPARE(int(r.Direction), 2);
  QCOMPARE(int(r.Left), 101);
  QCOMPARE(int(r.EffectDuration), 1);
  QVERIFY(isSet(r.Flashing));
  QCOMPARE(stagePx(ws, 120, 120), redFlash);
  QCOMPARE(stagePx(ws, 270, 30), greenFlash);
  QCOMPARE(stagePx(ws, 70, 120), Blue);  // slot 3 drew before slot 2 flashed

  RunLoopPass(ws);  // the countdown reaches 0 after slot 2: slot 1 draws plainly
  QCOMPARE(int(r.EffectDuration), 0);
  QVERIFY(!isSet(r.Flashing));
  QCOMPARE(stagePx(ws, 120, 120), redFlash);
  QCOMPARE(stagePx(ws, 270, 30), Green);

  RunLoopPass(ws);
  QCOMPARE(stagePx(ws, 120, 120), Red);
  QCOMPARE(stagePx(ws, 98, 120), grey);

  // A later hit flashes only during the Pane's own processing: the
  // duration is not reloaded during a run.
  r.Left = 100;
  r.Direction = 1;
  RunLoopPass(ws);
  QCOMPARE(int(r.Direction), 2);
  QVERIFY(!isSet(r.Flashing));
  QCOMPARE(stagePx(ws, 120, 120), redFlash);
  QCOMPARE(stagePx(ws, 270, 30), Green);

  // A fresh run starts from the design duration again.
  stopAndEnd(ws);
  mnu_RunInWindow_Click(ws);
  RunLoopPass(ws);
  QCOMPARE(int(ws.RunPane(2).EffectDuration), 1);
}

void CollisionTests::flashDrawsWithOrOnly() {
  // The same collision for a Transparent and a plain Pane: while flashing
  // only the sprite is ORed onto the Board; otherwise the mask cuts first.
  for (bool transparent : {true, false}) {
    TestBench b;
    Workspace& ws = b.ws;
    ws.picStage.SetSize(320, 240);
    placeSolid(ws, 3, 56, 100, 40, 40, Blue);
    PaneRecord& c = placeSolid(ws, 2, 100, 100, 40, 40, Red);
    // Left half black.
    fill(ws.picSprites.Image(), c.SheetX, c.SheetY, 20, 40, Black);
    if (transparent) {
      c.BlackTransparent = QvTrue;
      ws.CurrentPane = 2;
      BuildPaneMask(ws);
    }
    setMove(c, 1, 1, false);
    c.EffectType = 1;
    c.EffectDuration = 1;
    const Long grey = ws.BoardSettings.BoardBackColor;

    mnu_RunInWindow_Click(ws);
    RunLoopPass(ws);  // flashing: SRCPAINT only
    QCOMPARE(stagePx(ws, 111, 120), grey);  // black | grey
    QCOMPARE(stagePx(ws, 131, 120), RGB(200 | 184, 184, 184));

    RunLoopPass(ws);  // not flashing
    QCOMPARE(stagePx(ws, 112, 120), transparent ? grey : Black);
    QCOMPARE(stagePx(ws, 132, 120), Red);
  }
}

QTEST_GUILESS_MAIN(CollisionTests)
#include "test_collisions.moc"
