// The movers and their Board-edge bounces, and mirroring on bounces: exact
// turning points, flip codes, and the sheet pixels a mirroring leaves.
#include "imaging/Flip.h"
#include "runmode/Movement.h"
#include "runmode/RunFixtures.h"

#include <QTest>

using namespace qv;
using namespace qv::runfix;

namespace {

enum class Orient { Design, LeftRight, TopBottom, Both };

// True when the w x h block at (sx, sy) of img shows the slot's pattern in
// the given orientation.
bool blockShows(const QImage& img, int sx, int sy, int w, int h, int slot, Orient o) {
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const bool lr = o == Orient::LeftRight || o == Orient::Both;
      const bool tb = o == Orient::TopBottom || o == Orient::Both;
      const Long want = patternAt(slot, lr ? w - 1 - x : x, tb ? h - 1 - y : y);
      if (px(img, sx + x, sy + y) != want) return false;
    }
  return true;
}

bool sheetShows(Workspace& ws, int slot, Orient o) {
  const PaneRecord& d = ws.Pane(slot);
  return blockShows(ws.picSprites.Image(), d.SheetX, d.SheetY, d.Width, d.Height, slot, o);
}

}  // namespace

class TestMovement : public QObject {
  Q_OBJECT
 private slots:
  void horizontalBounces();
  void horizontalFlipOnBounds();
  void verticalBounces();
  void diagonalTurns_data();
  void diagonalTurns();
  void diagonalCornerTurnsThreeTimes();
  void firstFrameOrientation_data();
  void firstFrameOrientation();
  void mirroredFromFirstFrameOnBoard();
  void neverMirroredWithoutFlipOnBounds();
  void transparentMaskMirrorsWithPicture();
};

void TestMovement::horizontalBounces() {
  TestBench b;
  Workspace& ws = b.ws;
  ws.picStage.SetSize(320, 240);
  ws.picStage.Left = 0;
  PaneRecord& d = placePane(ws, 1, 207, 50, 100, 40);
  setMove(d, 2, 3, false);
  d.FlipCode = 7;  // a horizontal Pane that does not flip never touches it
  PaneRecord& p = runPane(ws, 1);
  const QImage sheet = ws.picSprites.Image();

  // Right edge: the first step with Left >= 320 - 101 = 219 turns.
  for (int want : {210, 213, 216}) {
    MoveHorizontal(ws);
    QCOMPARE(int(p.Left), want);
    QCOMPARE(int(p.Direction), 2);
  }
  MoveHorizontal(ws);
  QCOMPARE(int(p.Left), 219);
  QCOMPARE(int(p.Direction), 1);

  // Left edge with the stage at Left 0: Left 0 is still inside, -3 turns.
  p.Left = 9;
  for (int want : {6, 3, 0}) {
    MoveHorizontal(ws);
    QCOMPARE(int(p.Left), want);
    QCOMPARE(int(p.Direction), 1);
  }
  MoveHorizontal(ws);
  QCOMPARE(int(p.Left), -3);
  QCOMPARE(int(p.Direction), 2);

  // ... and the first step reaching exactly -1 turns.
  p.Left = 8;
  p.Direction = 1;
  MoveHorizontal(ws);
  MoveHorizontal(ws);
  QCOMPARE(int(p.Direction), 1);
  MoveHorizontal(ws);
  QCOMPARE(int(p.Left), -1);
  QCOMPARE(int(p.Direction), 2);

  // The bound follows the stage's own Left: at Left 1 a Pane turns at 0.
  ws.picStage.Left = 1;
  p.Left = 9;
  p.Direction = 1;
  for (int i = 0; i < 3; ++i) MoveHorizontal(ws);
  QCOMPARE(int(p.Left), 0);
  QCOMPARE(int(p.Direction), 2);

  QCOMPARE(int(p.FlipCode), 7);
  QCOMPARE(ws.picSprites.Image(), sheet);
  // Directions other than 1 and 2 are left alone.
  p.Direction = 4;
  MoveHorizontal(ws);
  QCOMPARE(int(p.Left), 0);
}

void TestMovement::horizontalFlipOnBounds() {
  TestBench b;
  Workspace& ws = b.ws;
  ws.picStage.SetSize(320, 240);
  PaneRecord& d = placePane(ws, 2, 216, 50, 100, 40);
  setMove(d, 2, 3, true);
  PaneRecord& p = runPane(ws, 2);
  p.FlipCode = 1;

  MoveHorizontal(ws);  // Left 219: turns to 1 and mirrors by flip code 1
  QCOMPARE(int(p.Direction), 1);
  QCOMPARE(int(p.FlipCode), 1);
  QVERIFY(sheetShows(ws, 2, Orient::LeftRight));

  p.Left = 2;
  MoveHorizontal(ws);  // Left -1 <= stage Left - 1 = 0: turns to 2 and mirrors back
  QCOMPARE(int(p.Direction), 2);
  QCOMPARE(int(p.FlipCode), 2);
  QVERIFY(sheetShows(ws, 2, Orient::Design));
}

void TestMovement::verticalBounces() {
  TestBench b;
  Workspace& ws = b.ws;
  ws.picStage.SetSize(320, 240);
  PaneRecord& d = placePane(ws, 3, 30, 180, 40, 50);
  setMove(d, 4, 3, false);
  PaneRecord& p = runPane(ws, 3);
  const QImage sheet = ws.picSprites.Image();

  // Bottom: turns at the first step with Top + 50 + 1 >= 240.
  MoveVertical(ws);
  MoveVertical(ws);
  QCOMPARE(int(p.Top), 186);  // 186 + 51 = 237: still going down
  QCOMPARE(int(p.Direction), 4);
  MoveVertical(ws);
  QCOMPARE(int(p.Top), 189);
  QCOMPARE(int(p.Direction), 3);
  QCOMPARE(int(p.FlipCode), 3);  // set at every bounce, even without mirroring

  // Top: turns at Top <= 0.
  p.Top = 9;
  MoveVertical(ws);
  MoveVertical(ws);
  QCOMPARE(int(p.Top), 3);
  QCOMPARE(int(p.Direction), 3);
  MoveVertical(ws);
  QCOMPARE(int(p.Top), 0);
  QCOMPARE(int(p.Direction), 4);
  QCOMPARE(int(p.FlipCode), 4);
  QCOMPARE(ws.picSprites.Image(), sheet);

  // With Flip on Bounds each bounce mirrors top-bottom.
  p.FlipOnBounds = QvTrue;
  p.Top = 187;
  MoveVertical(ws);
  QCOMPARE(int(p.Direction), 3);
  QVERIFY(sheetShows(ws, 3, Orient::TopBottom));
  p.Top = 2;
  MoveVertical(ws);
  QCOMPARE(int(p.Direction), 4);
  QVERIFY(sheetShows(ws, 3, Orient::Design));
}

void TestMovement::diagonalTurns_data() {
  QTest::addColumn<int>("dir");
  QTest::addColumn<int>("left");
  QTest::addColumn<int>("top");
  QTest::addColumn<int>("wantDir");
  QTest::addColumn<int>("wantFlip");
  QTest::addColumn<int>("wantLeft");
  QTest::addColumn<int>("wantTop");
  // Board 320 x 240, Pane 50 x 50, Speed 3. A turn into a later code moves
  // the Pane a second time in the same call.
  QTest::newRow("5 at top turns to 7 and moves down-right") << 5 << 100 << 5 << 7 << 4 << 106 << 5;
  QTest::newRow("5 at right turns to 8 and moves up-left") << 5 << 265 << 100 << 8 << 2 << 265 << 94;
  QTest::newRow("6 at bottom turns to 8 and moves up-left") << 6 << 150 << 185 << 8 << 7 << 144 << 185;
  QTest::newRow("6 at left turns to 7 and moves down-right") << 6 << 5 << 100 << 7 << 8 << 5 << 106;
  QTest::newRow("7 at bottom turns to 5, no second move") << 7 << 100 << 185 << 5 << 3 << 103 << 188;
  QTest::newRow("7 at right turns to 6, no second move") << 7 << 265 << 100 << 6 << 5 << 268 << 103;
  QTest::newRow("8 at top turns to 6") << 8 << 100 << 5 << 6 << 6 << 97 << 2;
  QTest::newRow("8 at left turns to 5") << 8 << 5 << 100 << 5 << 1 << 2 << 97;
  QTest::newRow("5 in the open") << 5 << 100 << 100 << 5 << 1 << 103 << 97;
}

void TestMovement::diagonalTurns() {
  QFETCH(int, dir);
  QFETCH(int, left);
  QFETCH(int, top);
  TestBench b;
  Workspace& ws = b.ws;
  ws.picStage.SetSize(320, 240);
  PaneRecord& d = placePane(ws, 4, left, top, 50, 50);
  setMove(d, 5, 3, false);
  PaneRecord& p = runPane(ws, 4);
  p.Direction = Integer(dir);
  MoveDiagonal(ws);
  QTEST(int(p.Direction), "wantDir");
  QTEST(int(p.FlipCode), "wantFlip");
  QTEST(int(p.Left), "wantLeft");
  QTEST(int(p.Top), "wantTop");
}

void TestMovement::diagonalCornerTurnsThreeTimes() {
  TestBench b;
  Workspace& ws = b.ws;
  ws.picStage.SetSize(320, 240);
  PaneRecord& d = placePane(ws, 5, 265, 5, 50, 50);
  setMove(d, 5, 3, true);
  const QImage design = ws.picSprites.Image();
  PaneRecord& p = runPane(ws, 5);

  // Block 5 reaches the top-right corner: 7 (flip 4, top-bottom), then 8
  // (flip 2, left-right); block 8 then moves it up-left and the top turns it
  // to 6 (flip 6, top-bottom). Net: mirrored left-right only.
  MoveDiagonal(ws);
  QCOMPARE(int(p.Direction), 6);
  QCOMPARE(int(p.FlipCode), 6);
  QCOMPARE(int(p.Left), 265);
  QCOMPARE(int(p.Top), -1);
  QVERIFY(sheetShows(ws, 5, Orient::LeftRight));

  // The direction no longer names the orientation; Stop still restores it.
  RestoreFlipsAfterRun(ws);
  QCOMPARE(ws.picSprites.Image(), design);
  QCOMPARE(int(p.FlipCode), 1);
}

void TestMovement::firstFrameOrientation_data() {
  QTest::addColumn<int>("moveType");
  QTest::addColumn<int>("orient");
  QTest::addColumn<int>("flipCode");
  QTest::newRow("1 left") << 1 << int(Orient::Design) << 1;
  QTest::newRow("2 right") << 2 << int(Orient::LeftRight) << 2;
  QTest::newRow("3 up") << 3 << int(Orient::Design) << 1;
  QTest::newRow("4 down") << 4 << int(Orient::TopBottom) << 4;
  QTest::newRow("5 up-right") << 5 << int(Orient::Design) << 1;
}

void TestMovement::firstFrameOrientation() {
  QFETCH(int, moveType);
  QFETCH(int, orient);
  TestBench b;
  Workspace& ws = b.ws;
  PaneRecord& d = placePane(ws, 7, 300, 250, 60, 40);
  setMove(d, moveType, 1, true);
  mnu_RunInWindow_Click(ws);
  RunLoopPass(ws);
  QVERIFY(sheetShows(ws, 7, Orient(orient)));
  QTEST(int(ws.RunPane(7).FlipCode), "flipCode");
  // Later frames without a bounce change nothing.
  passes(ws, 3);
  QVERIFY(sheetShows(ws, 7, Orient(orient)));
  stopAndEnd(ws);
  QVERIFY(sheetShows(ws, 7, Orient::Design));
}

void TestMovement::mirroredFromFirstFrameOnBoard() {
  TestBench b;
  Workspace& ws = b.ws;
  PaneRecord& d = placePane(ws, 1, 100, 100, 60, 40);
  setMove(d, 2, 2, true);
  mnu_RunInWindow_Click(ws);
  for (int frame = 1; frame <= 4; ++frame) {
    RunLoopPass(ws);
    const PaneRecord& p = ws.RunPane(1);
    QCOMPARE(int(p.Left), 100 + 2 * frame);
    QVERIFY(blockShows(ws.picStage.Image(), p.Left, p.Top, 60, 40, 1, Orient::LeftRight));
    QCOMPARE(stagePx(ws, p.Left - 1, 120), ws.BoardSettings.BoardBackColor);  // no trail
  }
}

void TestMovement::neverMirroredWithoutFlipOnBounds() {
  TestBench b;
  Workspace& ws = b.ws;
  ws.picStage.SetSize(200, 120);
  PaneRecord& d = placePane(ws, 1, 100, 30, 60, 40);
  setMove(d, 2, 3, false);
  PaneRecord& v = placePane(ws, 2, 10, 30, 30, 30);
  setMove(v, 4, 3, false);
  const QImage sheet = ws.picSprites.Image();
  mnu_RunInWindow_Click(ws);
  int turns = 0, lastDir = 2;
  for (int frame = 0; frame < 120; ++frame) {
    RunLoopPass(ws);
    const PaneRecord& p = ws.RunPane(1);
    if (p.Direction != lastDir) ++turns;
    lastDir = p.Direction;
    QVERIFY(blockShows(ws.picStage.Image(), p.Left, p.Top, 60, 40, 1, Orient::Design));
  }
  QVERIFY(turns >= 4);
  QCOMPARE(ws.picSprites.Image(), sheet);
}

void TestMovement::transparentMaskMirrorsWithPicture() {
  TestBench b;
  Workspace& ws = b.ws;
  PaneRecord& d = placePane(ws, 3, 200, 200, 50, 30);
  makeTransparent(ws, 3);
  setMove(d, 2, 1, true);
  const QImage sprites = ws.picSprites.Image();
  const QImage masks = ws.picMasks.Image();
  mnu_RunInWindow_Click(ws);
  RunLoopPass(ws);

  const int sx = d.SheetX, sy = d.SheetY;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 50; ++x) {
      QCOMPARE(px(ws.picSprites.Image(), sx + x, sy + y), px(sprites, sx + 49 - x, sy + y));
      QCOMPARE(px(ws.picMasks.Image(), sx + x, sy + y), px(masks, sx + 49 - x, sy + y));
    }
  // On the Board the cut columns moved with the picture: design column 0 is
  // black (transparent), so the Board's colour shows in the last column.
  const PaneRecord& p = ws.RunPane(3);
  QCOMPARE(stagePx(ws, p.Left + 49, p.Top + 10), ws.BoardSettings.BoardBackColor);
  QCOMPARE(stagePx(ws, p.Left + 48, p.Top + 10), patternAt(3, 1, 10));
  QCOMPARE(stagePx(ws, p.Left + 45, p.Top + 10), ws.BoardSettings.BoardBackColor);  // design column 4

  stopAndEnd(ws);
  QCOMPARE(ws.picSprites.Image(), sprites);
  QCOMPARE(ws.picMasks.Image(), masks);
}

QTEST_GUILESS_MAIN(TestMovement)
#include "test_movement.moc"
