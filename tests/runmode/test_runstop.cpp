// Starting and stopping RunMode: the sheets come back to their design
// orientation exactly (whatever the run mirrored, also in its last frame,
// after a restart and over many runs), the design table is untouched, and
// the three forms of Stop restore the window.
#include "imaging/BoardRender.h"
#include "runmode/RunFixtures.h"
#include "runmode/StageMouse.h"

#include <QTest>
#include <random>

using namespace qv;
using namespace qv::runfix;

namespace {

struct Design {
  explicit Design(Workspace& ws)
      : sprites(ws.picSprites.Image().copy()), masks(ws.picMasks.Image().copy()), table(ws.PaneTable) {}
  QImage sprites, masks;
  std::array<PaneRecord, SlotCount> table;
};

// The cells of slots 1..9 (the scene's Panes) equal the design.
bool cellsMatch(Workspace& ws, const Design& d) {
  for (int n = 1; n <= 9; ++n) {
    const QPoint o = SheetCellOrigin(n);
    const QRect cell(o, QSize(CellSize, CellSize));
    if (ws.picSprites.Image().copy(cell) != d.sprites.copy(cell)) return false;
    if (ws.picMasks.Image().copy(cell) != d.masks.copy(cell)) return false;
  }
  return true;
}

void verifyDesign(Workspace& ws, const Design& d) {
  QVERIFY(ws.picSprites.Image() == d.sprites);
  QVERIFY(ws.picMasks.Image() == d.masks);
  QVERIFY(ws.PaneTable == d.table);
}

// The passes among the first `count` of a run whose frame mirrored some
// block of the sheets.
QList<int> mirroringPasses(Workspace& ws, int count) {
  mnu_RunInWindow_Click(ws);
  QList<int> out;
  QImage before = ws.picSprites.Image().copy();
  for (int k = 1; k <= count; ++k) {
    RunLoopPass(ws);
    if (ws.picSprites.Image() != before) out << k;
    before = ws.picSprites.Image().copy();
  }
  stopAndEnd(ws);
  return out;
}

}  // namespace

class TestRunStop : public QObject {
  Q_OBJECT
 private slots:
  void sheetsExactAfterStop_data();
  void sheetsExactAfterStop();
  void cornerTripleTurnRestored();
  void stopRightAroundMirroringFrames();
  void restartDuringRun();
  void manyShortRuns();
  void readoutsAndIcons();
  void stopForms();
};

void TestRunStop::sheetsExactAfterStop_data() {
  QTest::addColumn<int>("frames");
  for (int n : {1, 2, 3, 4, 7, 16, 45, 120, 400}) QTest::newRow(qPrintable(QString::number(n))) << n;
}

void TestRunStop::sheetsExactAfterStop() {
  QFETCH(int, frames);
  TestBench b;
  Workspace& ws = b.ws;
  buildScene(ws);
  RedrawBoard(ws);
  const QImage designBoard = ws.picStage.Image().copy();
  const Design d(ws);
  mnu_RunInWindow_Click(ws);
  passes(ws, frames);
  QVERIFY(ws.picSprites.Image() != d.sprites);  // the run did mirror
  QVERIFY(ws.PaneTable == d.table);
  stopAndEnd(ws);
  verifyDesign(ws, d);
  QVERIFY(!ws.RunLoopActive);
  QVERIFY(!RunLoopPass(ws));
  // The Board is redrawn in Design; the run table keeps the run's state.
  QCOMPARE(ws.picStage.Image(), designBoard);
  QVERIFY(ws.RunPane(1).Left != d.table[1].Left);
}

void TestRunStop::cornerTripleTurnRestored() {
  TestBench b;
  Workspace& ws = b.ws;
  buildScene(ws);
  const Design d(ws);
  const PaneRecord& p = ws.PaneTable[6];
  mnu_RunInWindow_Click(ws);
  passes(ws, 3);
  const PaneRecord& r = ws.RunPane(6);
  QCOMPARE(int(r.Direction), 6);
  QCOMPARE(int(r.FlipCode), 6);
  // Mirrored left-right only, though code 6 stands for both ways.
  const QImage& s = ws.picSprites.Image();
  QCOMPARE(px(s, p.SheetX, p.SheetY), patternAt(6, 49, 0));
  QCOMPARE(px(s, p.SheetX + 3, p.SheetY + 49), patternAt(6, 46, 49));
  stopAndEnd(ws);
  verifyDesign(ws, d);
}

void TestRunStop::stopRightAroundMirroringFrames() {
  // Every run starts from the design, so one workspace serves all runs.
  TestBench b;
  Workspace& ws = b.ws;
  buildScene(ws);
  const Design d(ws);
  const QList<int> mirroring = mirroringPasses(ws, 150);
  QVERIFY(mirroring.size() >= 8);
  for (int k : mirroring.mid(0, 12)) {
    // Stop seen in the events before pass k: that pass's frame mirrors and
    // is the last one. Or just after it.
    for (int stopBefore : {k, k + 1}) {
      mnu_RunInWindow_Click(ws);
      passes(ws, stopBefore - 1);
      StopRun(ws, StopForm::StopIcon);
      QVERIFY(!RunLoopPass(ws));
      verifyDesign(ws, d);
    }
  }
}

void TestRunStop::restartDuringRun() {
  TestBench b;
  Workspace& ws = b.ws;
  buildScene(ws);
  const Design d(ws);
  mnu_RunInWindow_Click(ws);
  passes(ws, 3);
  // F11 while running: the mirrors so far are undone, the run starts afresh.
  mnu_RunInWindow_Click(ws);
  QVERIFY(ws.picSprites.Image() == d.sprites);
  QVERIFY(ws.picMasks.Image() == d.masks);
  QCOMPARE(int(ws.FirstFrameDone), 0);
  QCOMPARE(int(ws.RunPane(6).Left), 259);
  QCOMPARE(int(ws.RunPane(6).Direction), 5);
  passes(ws, 3);
  QCOMPARE(int(ws.RunPane(6).Direction), 6);  // the same frames again
  mnu_RunInWindow_Click(ws);
  mnu_RunInWindow_Click(ws);
  passes(ws, 20);
  // Stop and F11 in the same events: the run goes on from the start.
  StopRun(ws, StopForm::EscKey);
  mnu_RunInWindow_Click(ws);
  QVERIFY(ws.picSprites.Image() == d.sprites);
  QVERIFY(RunLoopPass(ws));
  QVERIFY(isSet(ws.Running));
  passes(ws, 10);
  stopAndEnd(ws, StopForm::EscKey);
  verifyDesign(ws, d);
}

void TestRunStop::manyShortRuns() {
  TestBench b;
  Workspace& ws = b.ws;
  buildScene(ws);
  const Design d(ws);
  std::mt19937 rng(20240611);
  for (int cycle = 0; cycle < 1000; ++cycle) {
    mnu_RunInWindow_Click(ws);
    passes(ws, int(rng() % 7));
    if (rng() % 8 == 0) {  // now and then a restart on the way
      mnu_RunInWindow_Click(ws);
      passes(ws, int(rng() % 4));
    }
    stopAndEnd(ws, rng() % 2 ? StopForm::StopIcon : StopForm::EscKey);
    if (!cellsMatch(ws, d)) QFAIL(qPrintable(QStringLiteral("sheets differ after run %1").arg(cycle)));
  }
  verifyDesign(ws, d);
}

void TestRunStop::readoutsAndIcons() {
  TestBench b;
  Workspace& ws = b.ws;
  buildScene(ws);
  ws.win.Shape1[0].Visible = ws.win.Shape1[1].Visible = ws.win.Frame_ListZ.Visible = true;
  for (auto& icon : ws.win.Img_FastIcons) icon.Visible = true;
  mnu_RunInWindow_Click(ws);
  QCOMPARE(ws.win.Lab_Readouts, QStringLiteral("Project is Running"));
  QVERIFY(isSet(ws.Running));
  QVERIFY(!ws.win.Shape1[0].Visible && !ws.win.Shape1[1].Visible && !ws.win.Frame_ListZ.Visible);
  for (const auto& icon : ws.win.Img_FastIcons) QVERIFY(!icon.Visible);
  QVERIFY(ws.win.Img_IconStrip[5].Visible);
  QVERIFY(!ws.win.Img_IconStrip[4].Visible);
  passes(ws, 2);
  picStage_MouseMove(ws, 0, 120, 30);  // over slot 1: the last frame's hover tests find it
  StopRun(ws, StopForm::StopIcon);
  QVERIFY(!isSet(ws.Running));
  QCOMPARE(ws.win.Lab_Readouts, QStringLiteral("Stopped"));
  QVERIFY(ws.win.Img_IconStrip[4].Visible);
  RunLoopPass(ws);
  QCOMPARE(ws.win.Lab_Readouts, QStringLiteral("Stopped"));

  // A Writing box still open when the run ends does not stay over the Board.
  mnu_RunInWindow_Click(ws);
  picStage_MouseMove(ws, 0, 130, 210);  // over slot 8
  RunLoopPass(ws);
  picStage_MouseDown(ws, 1, 130, 210);
  QVERIFY(ws.win.Text_Writing.Visible && ws.win.Button_Url.Visible);
  picStage_MouseMove(ws, 0, 160, 120);  // over slot 7: the box stays open
  RunLoopPass(ws);
  QVERIFY(ws.win.Text_Writing.Visible);
  stopAndEnd(ws);
  QVERIFY(!ws.win.Text_Writing.Visible);
  QVERIFY(!ws.win.Button_Url.Visible);
}

void TestRunStop::stopForms() {
  // Stop icon of the strip.
  {
    TestBench b;
    buildScene(b.ws);
    mnu_RunInWindow_Click(b.ws);
    b.ws.win.Picture1.Visible = true;
    stopAndEnd(b.ws, StopForm::StopIcon);
    QVERIFY(!b.ws.win.Picture1.Visible);
  }
  // Full Board and its own Stop icon: the Board gets its place and size back.
  {
    TestBench b;
    Workspace& ws = b.ws;
    const int left = ws.picStage.Left, top = ws.picStage.Top;
    const QSize size(ws.picStage.Width(), ws.picStage.Height());
    buildScene(ws);
    ws.picStage.SetSize(size.width(), size.height());
    const Design d(ws);
    mnu_RunFullscreen_Click(ws);
    QCOMPARE(ws.picStage.Left, ws.win.picHolder.Left + 1);
    QCOMPARE(ws.picStage.Top, ws.win.picHolder.Top);
    QVERIFY(!ws.win.picFastMenu.Visible);
    QVERIFY(ws.win.Picture1.Visible);
    QCOMPARE(ws.win.Picture1.Left, ws.picStage.Left);
    passes(ws, 5);
    ws.picStage.SetSize(1000, 700);  // the working area the window gave it
    passes(ws, 5);
    stopAndEnd(ws, StopForm::FullBoardStopIcon);
    QCOMPARE(QSize(ws.picStage.Width(), ws.picStage.Height()), size);
    QCOMPARE(ws.picStage.Left, left);
    QCOMPARE(ws.picStage.Top, top);
    QVERIFY(ws.win.picFastMenu.Visible);
    QVERIFY(!ws.win.Picture1.Visible);
    verifyDesign(ws, d);
  }
  // Esc.
  {
    TestBench b;
    buildScene(b.ws);
    mnu_RunFullscreen_Click(b.ws);
    stopAndEnd(b.ws, StopForm::EscKey);
    QVERIFY(!b.ws.win.Picture1.Visible);
    QVERIFY(b.ws.win.picFastMenu.Visible);
  }
}

QTEST_GUILESS_MAIN(TestRunStop)
#include "test_runstop.moc"
