// RunMode is deterministic: two workspaces built alike and fed the same
// pointer moves and clicks between passes show the same Board every frame.
// Labels are printed, which needs the GUI application's font database, so
// this engine test runs under QTEST_MAIN (offscreen).
#include "runmode/RunFixtures.h"
#include "runmode/StageMouse.h"

#include <QTest>
#include <random>

using namespace qv;
using namespace qv::runfix;

namespace {

struct Input {
  int pass;
  bool click;
  int x, y;
};

// Pointer moves all over the Board above slot 8's row, and clicks. Passes
// 38..42 are kept free for the clicks on slot 8.
QList<Input> script() {
  std::mt19937 rng(7);
  QList<Input> in;
  for (int k = 1; k <= 160; k += 1 + int(rng() % 3)) {
    if (k >= 38 && k <= 42) continue;
    in.append({k, false, int(rng() % 320), int(rng() % 190)});
    if (rng() % 4 == 0) in.append({k, true, 0, 0});
  }
  return in;
}

void apply(Workspace& ws, const Input& i) {
  if (i.click)
    picStage_MouseDown(ws, 1, ws.MouseX, ws.MouseY);
  else
    picStage_MouseMove(ws, 0, i.x, i.y);
}

void build(Workspace& ws) {
  buildScene(ws);
  ws.Pane(1).MouseEffect = 2;
  ws.Pane(5).MouseEffect = 3;
  ws.Pane(1).Label = QStringLiteral("One");
  ws.Pane(5).Label = QStringLiteral("Five");
  ws.BoardSettings.LabelColor = RGB(255, 255, 0);
  ws.BoardSettings.SelectionColor = RGB(255, 0, 255);
}

}  // namespace

class TestDeterminism : public QObject {
  Q_OBJECT
 private slots:
  void sameInputSameFrames();
};

void TestDeterminism::sameInputSameFrames() {
  TestBench a, b;
  build(a.ws);
  build(b.ws);
  const QList<Input> in = script();
  mnu_RunInWindow_Click(a.ws);
  mnu_RunInWindow_Click(b.ws);
  int next = 0, differing = 0;
  QImage previous;
  for (int k = 1; k <= 160; ++k) {
    while (next < in.size() && in[next].pass == k) {
      apply(a.ws, in[next]);
      apply(b.ws, in[next]);
      ++next;
    }
    if (k == 39) {  // onto slot 8, wherever it is now; two clicks follow
      const PaneRecord& p = a.ws.RunPane(8);
      apply(a.ws, {k, false, p.Left + 20, p.Top + 15});
      apply(b.ws, {k, false, p.Left + 20, p.Top + 15});
    }
    if (k == 40 || k == 41) {
      apply(a.ws, {k, true, 0, 0});
      apply(b.ws, {k, true, 0, 0});
    }
    if (k == 100) {  // a restart on the way
      mnu_RunInWindow_Click(a.ws);
      mnu_RunInWindow_Click(b.ws);
    }
    RunLoopPass(a.ws);
    RunLoopPass(b.ws);
    if (k == 41) {  // the second click on slot 8 reached its Reveal Value
      QCOMPARE(int(a.ws.RunPane(8).Value), 22);
      QVERIFY(isSet(a.ws.RunPane(9).Visible));
    }
    if (a.ws.picStage.Image() != b.ws.picStage.Image())
      QFAIL(qPrintable(QStringLiteral("frame %1 differs").arg(k)));
    differing += a.ws.picStage.Image() != previous ? 1 : 0;
    previous = a.ws.picStage.Image().copy();
  }
  QVERIFY(differing > 150);  // the Board did change from frame to frame
  QVERIFY(!isSet(a.ws.RunPane(9).Visible));  // hidden again by the restart
  QVERIFY(a.ws.RunPaneTable == b.ws.RunPaneTable);
  QCOMPARE(a.ws.win.Text_Writing.Visible, b.ws.win.Text_Writing.Visible);
  StopRun(a.ws, StopForm::EscKey);
  StopRun(b.ws, StopForm::EscKey);
  RunLoopPass(a.ws);
  RunLoopPass(b.ws);
  QCOMPARE(a.ws.picStage.Image(), b.ws.picStage.Image());
  QVERIFY(a.ws.picSprites.Image() == b.ws.picSprites.Image());
}

QTEST_MAIN(TestDeterminism)
#include "test_determinism.moc"
