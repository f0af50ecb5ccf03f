// Starting and stopping RunMode: the sheets come back to their design
// orientation exactly, the design table is untouched, the three forms of
// Stop restore the window. What a frame changes (the movers, their bounces
// and flip codes, collisions and flashes, pacing, the Lifespan gate, Cels)
// is web.trace's part, every traced field against the page's rules over 200
// seeded projects; what it draws (order, hidden Panes, flashes, the mirrored
// sheets) is web.player's, frame for frame against the page.
// And the Board painted in layers against the plain way: each seeded scene is
// set up in two sessions, one with the Board's Layers off, and the Boards
// must be the same bytes after every Design redraw, every RunMode frame and
// the Stop. Scenes mix Transparent and plain Panes, Cels, every movement
// with mirroring on bounds, Rebound and flashes, Labels and Boxes under the
// pointer, hidden Panes, masks that mix, drawings made between frames, and
// blocks placed over their neighbours' cells (as a project file may place
// them), which a lower slot mirrors after a higher one's draw read them.
// Printing a Label needs the GUI application's fonts: QTEST_MAIN.
#include "imaging/Pictures.h"
#include "support/Fixtures.h"

#include <cstring>
#include <functional>

using namespace qv;

namespace {

// A 320 x 240 Board with Panes of every movement type, all flipping on
// bounds, Transparent and plain, with and without Cels; slot 6 reaches the
// top-right corner in frame 3 and turns three times there.
void buildScene(Workspace& ws) {
  ws.surfaces.picStage.SetSize(320, 240);
  setMove(placePane(ws, 1, 100, 20, 50, 40), 1, 3, true);
  makeTransparent(ws, 1);
  ws.Pane(1).EffectType = ws.Pane(1).EffectDuration = 3;
  setMove(placePane(ws, 2, 30, 150, 60, 60), 2, 2, true);
  makeCels(ws, 2, 2, 2, 1);
  setMove(placePane(ws, 3, 250, 100, 60, 30), 3, 3, true);
  makeTransparent(ws, 3);
  makeCels(ws, 3, 3, 1);
  setMove(placePane(ws, 4, 10, 60, 40, 50), 4, 2, true);
  ws.Pane(4).EffectType = 1;
  setMove(placePane(ws, 5, 200, 60, 50, 50), 5, 3, true);
  makeTransparent(ws, 5);
  setMove(placePane(ws, 6, 259, 11, 50, 50), 5, 3, true);
  placePane(ws, 7, 150, 110, 30, 30).FlipOnBounds = QvTrue;
  setMove(placePane(ws, 8, 120, 200, 40, 30), 2, 1, false);
  placePane(ws, 9, 20, 20, 30, 30).Visible = QvFalse;
}


// The first pixel whose bytes differ as "x,y", empty when none does.
QString firstDifference(const QImage& a, const QImage& b) {
  if (a.size() != b.size() || a.format() != b.format()) return QStringLiteral("size or format");
  for (int y = 0; y < a.height(); ++y) {
    const auto* p = reinterpret_cast<const quint32*>(a.constScanLine(y));
    const auto* q = reinterpret_cast<const quint32*>(b.constScanLine(y));
    for (int x = 0; x < a.width(); ++x)
      if (p[x] != q[x]) return QStringLiteral("%1,%2").arg(x).arg(y);
  }
  return {};
}

// A sprite of size w x h from the seed: a disc's outside in true black,
// specks of black, pure white and RGB 0,0,1, the rest in colours.
void paintSprite(Workspace& ws, const PaneRecord& p, QRandomGenerator& rng) {
  const int speck = int(rng.bounded(6, 40));
  for (int y = 0; y < p.Height; ++y)
    for (int x = 0; x < p.Width; ++x) {
      const int dx = 2 * x - p.Width, dy = 2 * y - p.Height, r = std::min(p.Width, p.Height);
      const quint32 h = quint32(x * 7919 + y * 104729) % quint32(speck);
      quint32 c = 0xff000000u | (rng.generate() & 0xffffffu);
      if (dx * dx + dy * dy > r * r || h == 0) c = 0xff000000u;
      else if (h == 1) c = 0xffffffffu;
      else if (h == 2) c = 0xff000001u;
      ws.project.picSprites.Image().setPixel(p.SheetX + x, p.SheetY + y, c);
    }
}

void buildSeededScene(Workspace& ws, quint32 seed, QSize board, int background, int panes, bool overlap) {
  QRandomGenerator rng(seed);
  ws.surfaces.picStage.SetSize(board.width(), board.height());
  ws.project.BoardSettings.UseBackPicture = toFlag(background > 0);
  const QSize pic = background == 2 ? board * 2 / 3 : board;
  ws.project.picBackground.SetSize(pic.width(), pic.height());
  ws.project.picBackground.SetPicture(randomImage(pic.width(), pic.height(), seed));
  ws.project.BoardSettings.SelectionColor = RGB(255, 255, 0);
  for (int n = 1; n <= panes; ++n) {
    const int w = int(rng.bounded(20, 201)), h = int(rng.bounded(20, 201));
    PaneRecord& p = placePane(ws, n, int(rng.bounded(-w / 2, board.width() - w / 2)),
                              int(rng.bounded(-h / 2, board.height() - h / 2)), w, h);
    if (overlap && rng.bounded(2)) {
      p.SheetX = Integer(std::clamp(p.SheetX + int(rng.bounded(-100, 101)), 0, 1000 - w));
      p.SheetY = Integer(std::max(p.SheetY + int(rng.bounded(-100, 101)), 0));
    }
    paintSprite(ws, p, rng);
    setMove(p, int(rng.bounded(6)), int(rng.bounded(1, 5)), rng.bounded(2));
    p.Collision = Integer(rng.bounded(2));
    p.EffectType = Integer(rng.bounded(4) == 0);
    p.EffectDuration = Integer(rng.bounded(1, 6));
    p.MoveDelay = Integer(rng.bounded(3));
    p.MouseEffect = Integer(rng.bounded(4));
    p.Label = QStringLiteral("Pane %1").arg(n);
    p.Visible = toFlag(rng.bounded(10) != 0);
    if (rng.bounded(3) == 0) makeCels(ws, n, int(rng.bounded(1, 5)), int(rng.bounded(1, 4)), int(rng.bounded(3)));
    if (rng.bounded(3) != 0) {
      p.BlackTransparent = QvTrue;
      BuildPaneMask(ws, n);
      // Now and then a mask never built: greys that mix sprite and Board.
      if (rng.bounded(8) == 0) fill(ws.project.picMasks.Image(), p.SheetX, p.SheetY, w / 2, h, RGB(90, 160, 30));
    }
  }
  // One scene holds a sprite pixel whose alpha byte RGB32 does not allow.
  if (seed % 5 == 4) reinterpret_cast<quint32*>(ws.project.picSprites.Image().scanLine(1))[1] = 0x00ff00ffu;
}

}  // namespace

class TestRunLoop : public QObject {
  Q_OBJECT
 private slots:
  void designComesBackExactly() {
    // Every run starts from the design, so one workspace serves all runs.
    HeadlessSession s;
    Workspace& ws = s.ws;
    buildScene(ws);
    RedrawBoard(ws);
    const QImage designBoard = ws.surfaces.picStage.Image().copy();
    const Design d(ws);
    QList<int> mirroring;  // passes whose frame mirrored some block
    mnu_RunInWindow_Click(ws);
    for (int k = 1; k <= 150; ++k) {
      const QImage before = ws.project.picSprites.Image().copy();
      RunLoopPass(ws);
      if (ws.project.picSprites.Image() != before) mirroring << k;
    }
    QVERIFY(mirroring.size() >= 8 && mirroring[0] == 1 && mirroring.contains(3) && ws.project.PaneTable == d.table);
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
    mnu_RunInWindow_Click(ws);
    passes(ws, 3);
    // Slot 6 turned three times in the top-right corner: mirrored left-right
    // only, though code 6 stands for both ways.
    QCOMPARE(QList<int>({ws.RunPane(6).Direction, ws.RunPane(6).FlipCode}), QList<int>({6, 6}));
    QCOMPARE(sheetBlock(ws, 6), d.sprites.copy(ws.Pane(6).SheetX, ws.Pane(6).SheetY, 50, 50).mirrored(true, false));
    // F11 while running: the mirrors so far are undone, the run starts
    // afresh.
    mnu_RunInWindow_Click(ws);
    QVERIFY(ws.project.picSprites.Image() == d.sprites && ws.project.picMasks.Image() == d.masks);
    QCOMPARE(QList<int>({ws.run.FirstFrameDone, ws.RunPane(6).Left, ws.RunPane(6).Direction}), QList<int>({0, 259, 5}));
    for (int n = 1; n <= 9; ++n) QCOMPARE(ws.RunPane(n).EffectDuration, ws.Pane(n).EffectDuration);  // slot 1's ran out
    // Stop and F11 in the same events: the run goes on from the start.
    StopRun(ws, StopForm::EscKey);
    mnu_RunInWindow_Click(ws);
    QVERIFY(ws.project.picSprites.Image() == d.sprites && RunLoopPass(ws) && isSet(ws.run.Running));
  }

  void stopForms() {
    // A run hides the boxes, the layer list, the Fast Icons and the design
    // icons but Stop. Every form of Stop ends the run in Design with the
    // design icons, the sheets and table as designed, and Picture1 hidden;
    // after a Full Board run its Stop icon and Esc give the Board its place
    // and size back. (Which form shows the bar, and the readout, are in the
    // main window's key table.)
    for (StopForm form : {StopForm::StopIcon, StopForm::FullBoardStopIcon, StopForm::EscKey}) {
      HeadlessSession s;
      Workspace& ws = s.ws;
      MainWindowState& win = ws.win;
      buildScene(ws);
      ws.surfaces.picStage.SetSize(800, 600);
      const Design d(ws);
      win.Shape1[0].Visible = win.Shape1[1].Visible = win.Frame_ListZ.Visible = win.Img_FastIcons[3].Visible = true;
      if (form == StopForm::StopIcon) mnu_RunInWindow_Click(ws);
      else mnu_RunFullscreen_Click(ws);
      QVERIFY(win.Img_IconStrip[5].Visible && !win.Img_IconStrip[4].Visible && !win.Img_IconStrip[3].Visible);
      QVERIFY(!win.Shape1[0].Visible && !win.Shape1[1].Visible && !win.Frame_ListZ.Visible && !win.Img_FastIcons[3].Visible);
      QCOMPARE(win.Picture1.Visible, form != StopForm::StopIcon);
      passes(ws, 5);
      ws.surfaces.picStage.SetSize(1000, 700);  // the working area the window gave it
      passes(ws, 5);
      picStage_MouseMove(ws, 0, ws.RunPane(1).Left + 10, 30);  // the last frame's hover test finds slot 1
      StopRun(ws, form);
      QVERIFY(!RunLoopPass(ws) && win.Img_IconStrip[4].Visible && !win.Picture1.Visible && d.matches(ws));
      if (form != StopForm::StopIcon) QCOMPARE(boardOf(ws), QRect(1, FastMenuHeight, 800, 600));
    }
  }

  // The scenes are in data/scenes.txt.
  void sameBoardAsPlain_data() {
    QTest::addColumn<QList<int>>("scene");
    for (const QList<int>& s : numberRows(QFINDTESTDATA("data/scenes.txt"), 7)) QTest::addRow("seed %d, %dx%d, %d Panes", s[0], s[1], s[2], s[4]) << s;
  }
  void sameBoardAsPlain() {
    QFETCH(QList<int>, scene);
    const quint32 seed = quint32(scene[0]);
    const QSize board(scene[1], scene[2]);
    const int background = scene[3], panes = scene[4], overlap = scene.value(5);
    HeadlessSession layered, plain;
    plain.ws.surfaces.picStage.Layers.On = false;
    const auto both = [&](const std::function<void(Workspace&)>& f) {
      f(layered.ws);
      f(plain.ws);
    };
    const auto differ = [&] {
      return firstDifference(layered.ws.surfaces.picStage.Image(), plain.ws.surfaces.picStage.Image());
    };
    both([&](Workspace& ws) { buildSeededScene(ws, seed, board, background, panes, overlap); });
    QRandomGenerator rng(seed * 31);
    // Design: redraws, drags with and without floating, a flipped Pane.
    for (int k = 0; k < 4; ++k) {
      const int pane = int(rng.bounded(1, panes + 1)), x = int(rng.bounded(board.width())), y = int(rng.bounded(board.height()));
      both([&](Workspace& ws) {
        ws.pointer.CurrentPane = ws.pointer.TargetPane = Integer(pane);
        ws.pointer.MouseX = x;
        ws.pointer.MouseY = Integer(y);
        if (k == 1) FlipTargetPane(ws, MirrorAxis::LeftRight);
        k == 2 ? RedrawBoardDrag(ws) : k == 3 ? RedrawBoardDragFloat(ws) : RedrawBoard(ws);
      });
      QVERIFY2(differ().isEmpty(), qPrintable(QStringLiteral("Design redraw %1 at %2").arg(k).arg(differ())));
    }
    both([](Workspace& ws) { mnu_RunInWindow_Click(ws); });
    for (int frame = 0; frame < 40; ++frame) {
      const int pane = int(rng.bounded(1, panes + 1)), event = int(rng.bounded(12));
      const double x = layered.ws.RunPane(pane).Left + rng.bounded(60), y = layered.ws.RunPane(pane).Top + rng.bounded(60);
      both([&](Workspace& ws) {
        if (event == 0) clickAt(ws, x, y);
        else if (event == 1) ws.surfaces.picStage.PSet(int(x), int(y), Red);  // a drawing between frames
        else if (event == 2 && frame == 20) mnu_RunInWindow_Click(ws);       // F11 restarts the run
        else if (event == 3 && frame > 30) ws.surfaces.picStage.SetSize(board.width() - 8, board.height());
        hoverAt(ws, x, y);
      });
      QVERIFY2(differ().isEmpty(), qPrintable(QStringLiteral("frame %1 at %2").arg(frame).arg(differ())));
    }
    both([](Workspace& ws) { stopAndEnd(ws); });
    QCOMPARE(differ(), QString());
    // The layers did the painting, except for the sprite off RGB32; the
    // reference never used them.
    QCOMPARE(layered.ws.surfaces.picStage.Layers.PaintsInLayers() > 30, seed % 5 != 4);
    QCOMPARE(plain.ws.surfaces.picStage.Layers.PaintsInLayers(), 0);
    QCOMPARE(firstDifference(layered.ws.project.picSprites.Image(), plain.ws.project.picSprites.Image()), QString());
    QCOMPARE(firstDifference(layered.ws.project.picMasks.Image(), plain.ws.project.picMasks.Image()), QString());
  }
};

QTEST_MAIN(TestRunLoop)
#include "test_runloop.moc"
