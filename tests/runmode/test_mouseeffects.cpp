// The pointer-over effects of RunMode: the Box in the selection colour and
// the Label in the label colour. Printing text needs the GUI application's
// font database, so this engine test runs under QTEST_MAIN (offscreen).
#include "runmode/RunFixtures.h"
#include "runmode/StageMouse.h"

#include <QTest>
#include <functional>

using namespace qv;
using namespace qv::runfix;


class TestMouseEffects : public QObject {
  Q_OBJECT
 private slots:
  void boxAroundCel();
  void labelEffects();
  void noEffectOnInvisiblePane();
};

void TestMouseEffects::boxAroundCel() {
  TestBench b;
  Workspace& ws = b.ws;
  const Long sel = RGB(0, 0, 255), grey = ws.BoardSettings.BoardBackColor;
  ws.BoardSettings.SelectionColor = sel;
  placeSolid(ws, 1, 100, 100, 40, 40, Red);  // MouseEffect 1 ("Box") is the default
  mnu_RunInWindow_Click(ws);
  picStage_MouseMove(ws, 0, 120, 120);
  RunLoopPass(ws);
  QVERIFY(isSet(ws.RunPane(1).MouseOver));
  for (int t = 100; t < 140; ++t) {
    QCOMPARE(stagePx(ws, t, 100), sel);  // top
    QCOMPARE(stagePx(ws, 100, t), sel);  // left
    QCOMPARE(stagePx(ws, t, 140), sel);  // bottom, one row under the Cel
    QCOMPARE(stagePx(ws, 140, t), sel);  // right, one column beside it
  }
  // Lines leave out their end point; (X + W, Y + H) is the end of the last two.
  QCOMPARE(stagePx(ws, 140, 140), grey);
  QCOMPARE(stagePx(ws, 101, 101), Red);
  QCOMPARE(stagePx(ws, 99, 100), grey);
  QCOMPARE(stagePx(ws, 141, 100), grey);
  QCOMPARE(stagePx(ws, 100, 141), grey);

  // A Pane with Cels is boxed around the Cel it shows.
  TestBench c;
  c.ws.BoardSettings.SelectionColor = sel;
  PaneRecord& p = placeSolid(c.ws, 3, 100, 100, 80, 60, Red);
  makeCels(p, 2, 2, 99);
  mnu_RunInWindow_Click(c.ws);
  picStage_MouseMove(c.ws, 0, 110, 110);
  RunLoopPass(c.ws);
  QCOMPARE(stagePx(c.ws, 140, 100), sel);
  QCOMPARE(stagePx(c.ws, 100, 130), sel);
  QCOMPARE(stagePx(c.ws, 141, 100), c.ws.BoardSettings.BoardBackColor);
  QCOMPARE(stagePx(c.ws, 179, 100), c.ws.BoardSettings.BoardBackColor);
}

void TestMouseEffects::labelEffects() {
  const auto greenish = [](QRgb c) { return qGreen(c) > 128 && qRed(c) < 128; };
  for (int effect : {1, 2, 3, 0}) {
    TestBench b;
    Workspace& ws = b.ws;
    ws.BoardSettings.LabelColor = RGB(0, 255, 0);
    ws.BoardSettings.SelectionColor = RGB(0, 0, 255);
    PaneRecord& p = placeSolid(ws, 1, 100, 100, 60, 60, Red);
    p.MouseEffect = Integer(effect);
    p.Label = QStringLiteral("HI");
    mnu_RunInWindow_Click(ws);
    picStage_MouseMove(ws, 0, 150, 150);
    RunLoopPass(ws);
    const bool label = effect == 2 || effect == 3, box = effect == 1 || effect == 2;
    const int labelled = countWhere(ws, QRect(101, 101, 58, 58), greenish);
    QVERIFY2(label ? labelled > 4 : labelled == 0, qPrintable(QString::number(effect)));
    QCOMPARE(stagePx(ws, 100, 100), box ? RGB(0, 0, 255) : Red);
    // The label starts at (X + 2, Y + 2).
    QCOMPARE(countWhere(ws, QRect(100, 100, 60, 2), greenish), 0);
    QCOMPARE(countWhere(ws, QRect(100, 100, 2, 60), greenish), 0);
  }
}

void TestMouseEffects::noEffectOnInvisiblePane() {
  TestBench b;
  Workspace& ws = b.ws;
  PaneRecord& p = placeSolid(ws, 1, 100, 100, 60, 60, Red);
  p.Visible = QvFalse;
  p.MouseEffect = 2;
  placeSolid(ws, 2, 300, 300, 60, 60, Blue);
  mnu_RunInWindow_Click(ws);
  picStage_MouseMove(ws, 0, 130, 130);
  RunLoopPass(ws);
  QVERIFY(!isSet(ws.RunPane(1).MouseOver));
  const Long grey = ws.BoardSettings.BoardBackColor;
  QCOMPARE(countWhere(ws, QRect(90, 90, 80, 80), [&](QRgb c) { return fromQRgb(c) != grey; }), 0);
}

QTEST_MAIN(TestMouseEffects)
#include "test_mouseeffects.moc"
