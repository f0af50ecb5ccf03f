// Starting and stopping RunMode: the sheets come back to their design
// orientation exactly, the design table is untouched, the three forms of Stop
// restore the window, and the same input gives the same frames. Labels are
// printed, which needs the GUI application's font database: QTEST_MAIN.
#include "imaging/BoardRender.h"
#include "runmode/RunFixtures.h"

#include <QTest>
#include <random>

using namespace qv;
using namespace qv::runfix;

namespace {

struct Design {
  explicit Design(Workspace& ws)
      : sprites(ws.surfaces.picSprites.Image().copy()), masks(ws.surfaces.picMasks.Image().copy()), table(ws.PaneTable) {}
  bool matches(Workspace& ws) const {
    return ws.surfaces.picSprites.Image() == sprites && ws.surfaces.picMasks.Image() == masks && ws.PaneTable == table;
  }
  QImage sprites, masks;
  std::array<PaneRecord, SlotCount> table;
};

}  // namespace

class TestRunStop : public QObject {
  Q_OBJECT
 private slots:
  void sheetsExactAfterStop();
  void restartAndManyShortRuns();
  void stopForms();
  void sameInputSameFrames();
};

void TestRunStop::sheetsExactAfterStop() {
  // Every run starts from the design, so one workspace serves all runs.
  HeadlessSession b;
  Workspace& ws = b.ws;
  buildScene(ws);
  RedrawBoard(ws);
  const QImage designBoard = ws.surfaces.picStage.Image().copy();
  const Design d(ws);
  QList<int> mirroring;  // passes whose frame mirrored some block
  mnu_RunInWindow_Click(ws);
  for (int k = 1; k <= 150; ++k) {
    const QImage before = ws.surfaces.picSprites.Image().copy();
    RunLoopPass(ws);
    if (ws.surfaces.picSprites.Image() != before) mirroring << k;
  }
  QVERIFY(mirroring.size() >= 8 && mirroring[0] == 1 && mirroring.contains(3));
  QVERIFY(ws.PaneTable == d.table);
  stopAndEnd(ws);
  QVERIFY(ws.RunPane(1).Left != d.table[1].Left);  // the run table keeps the run's state
  // Stop seen in the events before pass n, whose frame is the last one:
  // right at and after the mirroring passes, and after long runs.
  QList<int> stops = {45, 120, 400};
  for (int k : mirroring.mid(0, 12)) stops << k << k + 1;
  for (int n : stops) {
    mnu_RunInWindow_Click(ws);
    passes(ws, n - 1);
    StopRun(ws, StopForm::StopIcon);
    QVERIFY(!RunLoopPass(ws));
    QVERIFY2(d.matches(ws), qPrintable(QString::number(n)));
    QVERIFY(!ws.run.LoopActive && !RunLoopPass(ws));
    QCOMPARE(ws.surfaces.picStage.Image(), designBoard);  // redrawn in Design
    if (n == 4) QCOMPARE(int(ws.RunPane(6).FlipCode), 1);  // restored after its corner turns
  }
}

void TestRunStop::restartAndManyShortRuns() {
  HeadlessSession b;
  Workspace& ws = b.ws;
  buildScene(ws);
  const Design d(ws);
  mnu_RunInWindow_Click(ws);
  passes(ws, 3);
  // Slot 6 turned three times in the top-right corner: mirrored left-right
  // only, though code 6 stands for both ways.
  const PaneRecord& p = d.table[6];
  QCOMPARE(QList<int>({ws.RunPane(6).Direction, ws.RunPane(6).FlipCode}), QList<int>({6, 6}));
  QCOMPARE(px(ws.surfaces.picSprites.Image(), p.SheetX, p.SheetY), patternAt(6, 49, 0));
  QCOMPARE(px(ws.surfaces.picSprites.Image(), p.SheetX + 3, p.SheetY + 49), patternAt(6, 46, 49));
  // F11 while running: the mirrors so far are undone, the run starts afresh
  // and runs the same frames again.
  mnu_RunInWindow_Click(ws);
  QVERIFY(ws.surfaces.picSprites.Image() == d.sprites && ws.surfaces.picMasks.Image() == d.masks);
  QCOMPARE(QList<int>({ws.run.FirstFrameDone, ws.RunPane(6).Left, ws.RunPane(6).Direction}), QList<int>({0, 259, 5}));
  passes(ws, 3);
  QCOMPARE(int(ws.RunPane(6).Direction), 6);
  // Stop and F11 in the same events: the run goes on from the start.
  StopRun(ws, StopForm::EscKey);
  mnu_RunInWindow_Click(ws);
  QVERIFY(ws.surfaces.picSprites.Image() == d.sprites);
  QVERIFY(RunLoopPass(ws) && isSet(ws.run.Running));
  passes(ws, 10);
  stopAndEnd(ws, StopForm::EscKey);
  QVERIFY(d.matches(ws));

  // 1,000 short runs, now and then with a restart on the way.
  std::mt19937 rng(20240611);
  for (int cycle = 0; cycle < 1000; ++cycle) {
    mnu_RunInWindow_Click(ws);
    passes(ws, int(rng() % 7));
    if (rng() % 8 == 0) {
      mnu_RunInWindow_Click(ws);
      passes(ws, int(rng() % 4));
    }
    stopAndEnd(ws, rng() % 2 ? StopForm::StopIcon : StopForm::EscKey);
    if (!d.matches(ws)) QFAIL(qPrintable(QStringLiteral("sheets differ after run %1").arg(cycle)));
  }
}

void TestRunStop::stopForms() {
  // Every form ends the run in Design: "Stopped", the Design icons, sheets
  // and table as designed. Only the Full Board's own Stop icon gives the
  // Board its place and size back.
  for (StopForm form : {StopForm::StopIcon, StopForm::FullBoardStopIcon, StopForm::EscKey}) {
    HeadlessSession b;
    Workspace& ws = b.ws;
    MainWindowState& win = ws.win;
    const QRect place(ws.surfaces.picStage.Left, ws.surfaces.picStage.Top, ws.surfaces.picStage.Width(), ws.surfaces.picStage.Height());
    buildScene(ws);
    ws.surfaces.picStage.SetSize(place.width(), place.height());
    const Design d(ws);
    win.Shape1[0].Visible = win.Shape1[1].Visible = win.Frame_ListZ.Visible = true;
    for (auto& icon : win.Img_FastIcons) icon.Visible = true;
    if (form == StopForm::StopIcon) {
      mnu_RunInWindow_Click(ws);
      win.Picture1.Visible = true;
    } else {
      mnu_RunFullscreen_Click(ws);
      QCOMPARE(QPoint(ws.surfaces.picStage.Left, ws.surfaces.picStage.Top), QPoint(win.picHolder.Left + 1, win.picHolder.Top));
      QVERIFY(!win.picFastMenu.Visible && win.Picture1.Visible);
      QCOMPARE(win.Picture1.Left, ws.surfaces.picStage.Left);
    }
    QCOMPARE(win.Lab_Readouts, QStringLiteral("Project is Running"));
    QVERIFY(isSet(ws.run.Running) && win.Img_IconStrip[5].Visible && !win.Img_IconStrip[4].Visible);
    QVERIFY(!win.Shape1[0].Visible && !win.Shape1[1].Visible && !win.Frame_ListZ.Visible);
    for (const auto& icon : win.Img_FastIcons) QVERIFY(!icon.Visible);
    passes(ws, 5);
    ws.surfaces.picStage.SetSize(1000, 700);  // the working area the window gave it
    passes(ws, 5);
    // Over slot 1: the last frame's hover tests find it and write the readout.
    picStage_MouseMove(ws, 0, ws.RunPane(1).Left + 10, 30);
    StopRun(ws, form);
    QVERIFY(!isSet(ws.run.Running) && win.Img_IconStrip[4].Visible);
    QCOMPARE(win.Lab_Readouts, QStringLiteral("Stopped"));
    QVERIFY(!RunLoopPass(ws));
    QCOMPARE(win.Lab_Readouts, QStringLiteral("Stopped"));
    QVERIFY(!win.Picture1.Visible && d.matches(ws));
    if (form == StopForm::StopIcon) continue;
    QVERIFY(win.picFastMenu.Visible);
    const QRect now(ws.surfaces.picStage.Left, ws.surfaces.picStage.Top, ws.surfaces.picStage.Width(), ws.surfaces.picStage.Height());
    QVERIFY(now == place);
  }
}

void TestRunStop::sameInputSameFrames() {
  // Two workspaces built alike get the same pointer moves and clicks (two on
  // slot 8, which carry it to its Reveal Value) and a restart.
  HeadlessSession a, b;
  for (Workspace* ws : {&a.ws, &b.ws}) {
    buildScene(*ws);
    ws->Pane(1).MouseEffect = 2;
    ws->Pane(5).MouseEffect = 3;
    ws->BoardSettings.LabelColor = RGB(255, 255, 0);
    mnu_RunInWindow_Click(*ws);
  }
  std::mt19937 rng(7);
  int differing = 0;
  QImage previous;
  for (int k = 1; k <= 160; ++k) {
    const int move = rng() % 3, x = int(rng() % 320), y = int(rng() % 190), click = rng() % 4;
    const PaneRecord& p8 = a.ws.RunPane(8);
    const QPoint onSlot8(p8.Left + 20, p8.Top + 15);
    for (Workspace* ws : {&a.ws, &b.ws}) {
      if (k == 39) picStage_MouseMove(*ws, 0, onSlot8.x(), onSlot8.y());
      else if (move == 0 && (k < 38 || k > 42)) picStage_MouseMove(*ws, 0, x, y);
      if (k == 40 || k == 41 || (click == 0 && (k < 38 || k > 42)))
        picStage_MouseDown(*ws, 1, ws->pointer.MouseX, ws->pointer.MouseY);
      if (k == 100) mnu_RunInWindow_Click(*ws);
      RunLoopPass(*ws);
    }
    if (k == 41) {
      QCOMPARE(int(a.ws.RunPane(8).Value), 22);
      QVERIFY(isSet(a.ws.RunPane(9).Visible));
    }
    if (a.ws.surfaces.picStage.Image() != b.ws.surfaces.picStage.Image()) QFAIL(qPrintable(QStringLiteral("frame %1 differs").arg(k)));
    differing += a.ws.surfaces.picStage.Image() != previous ? 1 : 0;
    previous = a.ws.surfaces.picStage.Image().copy();
  }
  QVERIFY(differing > 150);  // the Board did change from frame to frame
  QVERIFY(!isSet(a.ws.RunPane(9).Visible));  // hidden again by the restart
  QVERIFY(a.ws.RunPaneTable == b.ws.RunPaneTable);
}

QTEST_MAIN(TestRunStop)
#include "test_runstop.moc"
