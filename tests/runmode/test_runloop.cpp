// The frame step: movement pacing, the Lifespan gate, Cel animation, what is
// drawn and in which order.
#include "runmode/RunFixtures.h"

#include <QTest>

using namespace qv;
using namespace qv::runfix;

namespace {

// A 2 x 2 Pane of 100 x 100 in slot 6 whose Cels are Red, Blue / Green, Yellow.
PaneRecord& celPane(Workspace& ws, int delay = 0) {
  PaneRecord& p = placePane(ws, 6, 300, 300, 100, 100);
  makeCels(p, 2, 2, delay);
  const Long colours[] = {Red, Blue, Green, Yellow};
  for (int k = 0; k < 4; ++k)
    fill(ws.surfaces.picSprites.Image(), p.SheetX + k % 2 * 50, p.SheetY + k / 2 * 50, 50, 50, colours[k]);
  return p;
}

}  // namespace

class TestRunLoop : public QObject {
  Q_OBJECT
 private slots:
  void pacingAndLifespan();
  void celOrder();
  void invisiblePaneMovesAndCollides();
  void drawingOrder();
};

void TestRunLoop::pacingAndLifespan() {
  // MoveDelay 3 moves every third frame. With a Value process the Pane moves
  // and animates only while StartValue 20 lies in its Lifespan; the defaults
  // are 19 / 10.
  const QList<int> moving = {301, 302, 303, 304, 305, 306}, standing(6, 300);
  struct Case {
    int process, lifeStart, lifeEnd, delay;
    QList<int> lefts;
  };
  const Case cases[] = {{0, 19, 10, 0, moving}, {0, 19, 10, 1, moving}, {0, 19, 10, 3, {300, 300, 301, 301, 301, 302}},
                        {1, 19, 10, 0, standing}, {1, 20, 21, 0, moving}, {1, 15, 20, 0, standing},
                        {2, 20, 19, 0, moving}, {2, 19, 10, 0, standing}, {2, 25, 20, 0, standing}};
  for (const Case& c : cases) {
    HeadlessSession b;
    PaneRecord& d = celPane(b.ws);
    setMove(d, 2, 1, false);
    d.Process = Integer(c.process);
    d.LifeStartValue = Integer(c.lifeStart);
    d.LifeEndValue = Integer(c.lifeEnd);
    d.MoveDelay = Integer(c.delay);
    mnu_RunInWindow_Click(b.ws);
    QList<int> lefts;
    for (int i = 0; i < 6; ++i) {
      RunLoopPass(b.ws);
      lefts << b.ws.RunPane(6).Left;
    }
    const PaneRecord& r = b.ws.RunPane(6);
    const bool animated = r.SheetX != d.SheetX || r.SheetY != d.SheetY || r.CelColumn != 1;
    QCOMPARE((QList<int>{c.process, c.lifeStart, c.lifeEnd, c.delay, animated} + lefts),
             (QList<int>{c.process, c.lifeStart, c.lifeEnd, c.delay, c.lefts != standing} + c.lefts));
  }
}

void TestRunLoop::celOrder() {
  // Cels in reading order, wrapping; one 50 x 50 Cel is drawn per frame. Flip
  // on Bounds mirrors all Cels at once, so the Cel columns swap too.
  struct Case {
    int delay;
    bool flip;
    QList<Long> shown;
  };
  const Case cases[] = {{0, false, {Red, Blue, Green, Yellow, Red, Blue, Green}},
                        {2, false, {Red, Blue, Blue, Green, Green, Yellow, Yellow}},
                        {0, true, {Blue, Red, Yellow, Green, Blue, Red, Yellow}}};
  for (const Case& c : cases) {
    HeadlessSession b;
    Workspace& ws = b.ws;
    PaneRecord& d = celPane(ws, c.delay);
    if (c.flip) setMove(d, 2, 1, true);
    const QImage sheet = ws.surfaces.picSprites.Image().copy();
    mnu_RunInWindow_Click(ws);
    QList<Long> shown;
    for (int k = 0; k < 7; ++k) {
      RunLoopPass(ws);
      const PaneRecord& r = ws.RunPane(6);
      shown << stagePx(ws, r.Left + 25, 325);
      QCOMPARE(stagePx(ws, r.Left + 50, 325), ws.BoardSettings.BoardBackColor);
      QCOMPARE(int(r.Width), 50);
    }
    QCOMPARE(shown, c.shown);
    stopAndEnd(ws);
    QCOMPARE(ws.surfaces.picSprites.Image(), sheet);
  }
}

void TestRunLoop::invisiblePaneMovesAndCollides() {
  HeadlessSession b;
  Workspace& ws = b.ws;
  // Invisible slot 2 moves right towards slot 3; slot 4 moves left into the
  // invisible slot 5.
  PaneRecord& h = placeSolid(ws, 2, 100, 100, 40, 40, Red);
  setMove(h, 2, 2, false);
  h.Visible = QvFalse;
  placeSolid(ws, 3, 150, 100, 40, 40, Blue);
  setMove(placeSolid(ws, 4, 400, 300, 40, 40, Green), 1, 2, false);
  placeSolid(ws, 5, 350, 300, 40, 40, Yellow).Visible = QvFalse;
  mnu_RunInWindow_Click(ws);
  RunLoopPass(ws);
  QCOMPARE(int(ws.RunPane(2).Left), 102);
  const auto hidden = [](QRgb c) { return fromQRgb(c) == Red || fromQRgb(c) == Yellow; };
  QCOMPARE(countWhere(ws, QRect(0, 0, 800, 600), hidden), 0);
  passes(ws, 4);
  QCOMPARE(int(ws.RunPane(2).Direction), 1);
  QCOMPARE(int(ws.RunPane(4).Direction), 2);
  QCOMPARE(stagePx(ws, 160, 120), Blue);
}

void TestRunLoop::drawingOrder() {
  // Slots are drawn from the highest down; every frame starts from the
  // Board's base picture; a single Cel never changes.
  HeadlessSession b;
  Workspace& ws = b.ws;
  const PaneRecord& d = placeSolid(ws, 9, 100, 100, 60, 60, Blue);
  placeSolid(ws, 1, 130, 130, 60, 60, Red);
  setMove(placeSolid(ws, 2, 110, 110, 60, 60, Green), 4, 3, false);
  mnu_RunInWindow_Click(ws);
  passes(ws, 3);
  fill(ws.surfaces.picStage.Image(), 500, 500, 30, 30, Yellow);  // a stray drawing
  RunLoopPass(ws);  // slot 2 at Top 122
  const Long grey = ws.BoardSettings.BoardBackColor;
  // No stray drawing, no trail above slot 2; 2 over 9, 1 over both.
  QCOMPARE(stagePixels(ws, {{510, 510}, {165, 115}, {115, 115}, {165, 125}, {115, 125}, {140, 140}, {175, 175}}),
           (QList<Long>{grey, grey, Blue, Green, Green, Red, Red}));
  QCOMPARE(QPoint(ws.RunPane(9).SheetX, ws.RunPane(9).SheetY), QPoint(d.SheetX, d.SheetY));
  QCOMPARE(int(ws.RunPane(9).Width), 60);
}

QTEST_GUILESS_MAIN(TestRunLoop)
#include "test_runloop.moc"
