// The frame step: movement pacing, the Lifespan gate, Cel animation, what is
// drawn and in which order.
#include "runmode/RunFixtures.h"

#include <QTest>
#include <functional>

using namespace qv;
using namespace qv::runfix;

namespace {

// A 2 x 2 Pane of 100 x 100 in slot 6 whose Cels are Red, Blue / Green, Yellow.
PaneRecord& celPane(Workspace& ws, int delay = 0) {
  PaneRecord& p = placePane(ws, 6, 300, 300, 100, 100);
  makeCels(p, 2, 2, delay);
  QImage& s = ws.picSprites.Image();
  fill(s, p.SheetX, p.SheetY, 50, 50, Red);
  fill(s, p.SheetX + 50, p.SheetY, 50, 50, Blue);
  fill(s, p.SheetX, p.SheetY + 50, 50, 50, Green);
  fill(s, p.SheetX + 50, p.SheetY + 50, 50, 50, Yellow);
  return p;
}


}  // namespace

class TestRunLoop : public QObject {
  Q_OBJECT
 private slots:
  void moveDelay_data();
  void moveDelay();
  void lifespanGate_data();
  void lifespanGate();
  void singleCelNeverChanges();
  void celOrder();
  void celDelay();
  void multiCelMirrorsWholeGrid();
  void invisiblePaneMovesAndCollides();
  void basePictureBeforeEveryFrame();
  void drawingOrder();
};

void TestRunLoop::moveDelay_data() {
  QTest::addColumn<int>("delay");
  QTest::addColumn<QList<int>>("lefts");
  QTest::newRow("0") << 0 << QList<int>{101, 102, 103, 104, 105, 106};
  QTest::newRow("1") << 1 << QList<int>{101, 102, 103, 104, 105, 106};
  QTest::newRow("3") << 3 << QList<int>{100, 100, 101, 101, 101, 102};
}

void TestRunLoop::moveDelay() {
  QFETCH(int, delay);
  QFETCH(QList<int>, lefts);
  TestBench b;
  PaneRecord& d = placePane(b.ws, 2, 100, 100, 40, 40);
  setMove(d, 2, 1, false);
  d.MoveDelay = Integer(delay);
  mnu_RunInWindow_Click(b.ws);
  QList<int> got;
  for (int i = 0; i < lefts.size(); ++i) {
    RunLoopPass(b.ws);
    got << b.ws.RunPane(2).Left;
  }
  QCOMPARE(got, lefts);
}

void TestRunLoop::lifespanGate_data() {
  QTest::addColumn<int>("process");
  QTest::addColumn<int>("lifeStart");
  QTest::addColumn<int>("lifeEnd");
  QTest::addColumn<bool>("alive");
  // StartValue 20 throughout.
  QTest::newRow("Add with the defaults 19 / 10") << 1 << 19 << 10 << false;
  QTest::newRow("Add inside 20 <= v < 21") << 1 << 20 << 21 << true;
  QTest::newRow("Add at the end value") << 1 << 15 << 20 << false;
  QTest::newRow("Subtract inside 19 < v <= 20") << 2 << 20 << 19 << true;
  QTest::newRow("Subtract with the defaults 19 / 10") << 2 << 19 << 10 << false;
  QTest::newRow("no Process") << 0 << 19 << 10 << true;
}

void TestRunLoop::lifespanGate() {
  QFETCH(int, process);
  QFETCH(int, lifeStart);
  QFETCH(int, lifeEnd);
  QFETCH(bool, alive);
  TestBench b;
  PaneRecord& d = celPane(b.ws);
  setMove(d, 2, 1, false);
  d.Process = Integer(process);
  d.LifeStartValue = Integer(lifeStart);
  d.LifeEndValue = Integer(lifeEnd);
  mnu_RunInWindow_Click(b.ws);
  passes(b.ws, 5);
  const PaneRecord& r = b.ws.RunPane(6);
  QCOMPARE(r.Left != 300, alive);
  QCOMPARE(r.SheetX != d.SheetX || r.SheetY != d.SheetY, alive);
  if (!alive) QCOMPARE(int(r.CelColumn), 1);
}

void TestRunLoop::singleCelNeverChanges() {
  TestBench b;
  PaneRecord& d = placePane(b.ws, 4, 100, 100, 60, 60);
  d.CelDelay = 0;
  mnu_RunInWindow_Click(b.ws);
  for (int i = 0; i < 6; ++i) {
    RunLoopPass(b.ws);
    const PaneRecord& r = b.ws.RunPane(4);
    QCOMPARE(int(r.SheetX), int(d.SheetX));
    QCOMPARE(int(r.SheetY), int(d.SheetY));
    QCOMPARE(int(r.CelColumn), 1);
    QCOMPARE(int(r.Width), 60);
  }
}

void TestRunLoop::celOrder() {
  TestBench b;
  Workspace& ws = b.ws;
  const PaneRecord& d = celPane(ws);
  const int sx = d.SheetX, sy = d.SheetY;
  mnu_RunInWindow_Click(ws);
  // Frame k draws Cel k and leaves the next Cel's place in the run table.
  const QList<Long> drawn = {Red, Blue, Green, Yellow, Red, Blue};
  const QList<QPoint> next = {{sx + 50, sy}, {sx, sy + 50}, {sx + 50, sy + 50}, {sx, sy}, {sx + 50, sy}, {sx, sy + 50}};
  for (int k = 0; k < drawn.size(); ++k) {
    RunLoopPass(ws);
    const PaneRecord& r = ws.RunPane(6);
    QCOMPARE(stagePx(ws, 325, 325), drawn[k]);
    QCOMPARE(QPoint(r.SheetX, r.SheetY), next[k]);
    // Only one 50 x 50 Cel is drawn.
    QCOMPARE(stagePx(ws, 350, 325), ws.BoardSettings.BoardBackColor);
    QCOMPARE(int(r.Width), 50);
  }
}

void TestRunLoop::celDelay() {
  TestBench b;
  celPane(b.ws, 2);
  mnu_RunInWindow_Click(b.ws);
  QList<Long> got;
  for (int k = 0; k < 7; ++k) {
    RunLoopPass(b.ws);
    got << stagePx(b.ws, 325, 325);
  }
  QCOMPARE(got, (QList<Long>{Red, Blue, Blue, Green, Green, Yellow, Yellow}));
}

void TestRunLoop::multiCelMirrorsWholeGrid() {
  // Flip on Bounds mirrors all Cels at once, so the Cel columns swap too: the
  // first Cel drawn is the mirrored top-right one.
  TestBench b;
  Workspace& ws = b.ws;
  PaneRecord& d = celPane(ws, 5);
  setMove(d, 2, 1, true);
  const QImage sheet = ws.picSprites.Image();
  mnu_RunInWindow_Click(ws);
  RunLoopPass(ws);
  QCOMPARE(stagePx(ws, 310, 310), Blue);
  QCOMPARE(px(ws.picSprites.Image(), d.SheetX + 99, d.SheetY), Red);
  stopAndEnd(ws);
  QCOMPARE(ws.picSprites.Image(), sheet);
}

void TestRunLoop::invisiblePaneMovesAndCollides() {
  TestBench b;
  Workspace& ws = b.ws;
  // Slot 2 invisible, moving right towards the visible slot 3.
  PaneRecord& h = placeSolid(ws, 2, 100, 100, 40, 40, Red);
  setMove(h, 2, 2, false);
  h.Visible = QvFalse;
  placeSolid(ws, 3, 150, 100, 40, 40, Blue);
  // Slot 4 visible, moving left into the invisible slot 5.
  PaneRecord& v = placeSolid(ws, 4, 400, 300, 40, 40, Green);
  setMove(v, 1, 2, false);
  PaneRecord& i = placeSolid(ws, 5, 350, 300, 40, 40, Yellow);
  i.Visible = QvFalse;

  mnu_RunInWindow_Click(ws);
  RunLoopPass(ws);
  QCOMPARE(int(ws.RunPane(2).Left), 102);
  const Long grey = ws.BoardSettings.BoardBackColor;
  QCOMPARE(countWhere(ws, QRect(0, 0, 800, 600), [](QRgb c) { return fromQRgb(c) == Red; }), 0);
  QCOMPARE(countWhere(ws, QRect(0, 0, 800, 600), [](QRgb c) { return fromQRgb(c) == Yellow; }), 0);
  QCOMPARE(stagePx(ws, 360, 320), grey);
  passes(ws, 4);
  QCOMPARE(int(ws.RunPane(2).Direction), 1);
  QCOMPARE(int(ws.RunPane(4).Direction), 2);
  QCOMPARE(stagePx(ws, 160, 120), Blue);
}

void TestRunLoop::basePictureBeforeEveryFrame() {
  TestBench b;
  Workspace& ws = b.ws;
  PaneRecord& d = placeSolid(ws, 1, 100, 100, 40, 40, Red);
  setMove(d, 2, 3, false);
  const Long grey = ws.BoardSettings.BoardBackColor;
  mnu_RunInWindow_Click(ws);
  RunLoopPass(ws);
  fill(ws.picStage.Image(), 500, 500, 30, 30, Purple);  // a stray drawing
  RunLoopPass(ws);
  QCOMPARE(stagePx(ws, 510, 510), grey);
  QCOMPARE(stagePx(ws, 104, 120), grey);  // no trail behind the Pane
  QCOMPARE(stagePx(ws, 106, 120), Red);
  stopAndEnd(ws);

  // With the Background in use, every frame starts from it.
  QImage back(800, 600, QImage::Format_RGB32);
  back.fill(toQRgb(Purple));
  fill(back, 0, 0, 800, 300, Yellow);
  ws.picBackground.SetPicture(back);
  ws.BoardSettings.UseBackPicture = QvTrue;
  mnu_RunInWindow_Click(ws);
  RunLoopPass(ws);
  fill(ws.picStage.Image(), 500, 500, 30, 30, Green);
  RunLoopPass(ws);
  QCOMPARE(stagePx(ws, 510, 510), Purple);
  QCOMPARE(stagePx(ws, 103, 120), Yellow);
  QCOMPARE(stagePx(ws, 110, 120), Red);
}

void TestRunLoop::drawingOrder() {
  TestBench b;
  Workspace& ws = b.ws;
  placeSolid(ws, 9, 100, 100, 60, 60, Blue);
  placeSolid(ws, 1, 130, 130, 60, 60, Red);
  placeSolid(ws, 2, 110, 110, 60, 60, Green);
  mnu_RunInWindow_Click(ws);
  RunLoopPass(ws);
  QCOMPARE(stagePx(ws, 105, 105), Blue);
  QCOMPARE(stagePx(ws, 115, 115), Green);  // 2 over 9
  QCOMPARE(stagePx(ws, 140, 140), Red);    // 1 over 2 and 9
  QCOMPARE(stagePx(ws, 175, 175), Red);
  QCOMPARE(stagePx(ws, 165, 120), Green);
}

QTEST_GUILESS_MAIN(TestRunLoop)
#include "test_runloop.moc"
