// Board redraws (full, layered drag, floating drag), the hover test, the two
// highlight boxes and fitting the Background to the Board.
#include "imaging/Background.h"
#include "imaging/BoardRender.h"
#include "imaging/SheetFixtures.h"
#include "shell/BoardSizes.h"
#include "shell/Setups.h"
#include "shell/Headless.h"

#include <QTest>

using namespace qv;
using namespace qv::fixtures;

namespace {
bool hoverAt(Workspace& ws, double x, int y) {
  ws.pointer.MouseX = x;
  ws.pointer.MouseY = Integer(y);
  HoverPaneAt(ws);
  return isSet(ws.pointer.HoverFound);
}
}  // namespace

class TestBoardRender : public QObject {
  Q_OBJECT
 private slots:
  void redrawLayersAndFirstCel() {
    HeadlessSession b;
    Workspace& ws = b.ws;
    placePane(ws, 7, 150, 150, 100, 100, Blue);
    placePane(ws, 2, 100, 100, 100, 100, Red);
    placePane(ws, 3, 300, 300, 100, 100, Black);
    makeCelGrid(ws, 3, Red, Blue, Green, Yellow);
    ws.surfaces.picStage.Image().fill(toQRgb(Purple));
    ws.pointer.CurrentPane = 9;
    RedrawBoard(ws);
    QCOMPARE(ws.pointer.CurrentPane, 1);
    // The overlap belongs to slot 2, drawn after slot 7; slot 3 shows only its
    // first Cel; the rest is the Board colour.
    QVERIFY(blockIs(ws.surfaces.picStage.Image(), 100, 100, 100, 100, Red));
    QVERIFY(blockIs(ws.surfaces.picStage.Image(), 300, 300, 50, 50, Red));
    EXPECT_STAGE(ws, {{200, 200, Blue}, {249, 249, Blue}, {250, 249, Grey}, {99, 100, Grey}, {350, 300, Grey},
                      {300, 350, Grey}, {380, 380, Grey}, {0, 0, Grey}, {799, 599, Grey}});

    // The same holds when slot 7 is Transparent with an opaque picture.
    ws.Pane(7).BlackTransparent = QvTrue;
    ws.pointer.CurrentPane = 7;
    BuildPaneMask(ws, 7);
    RedrawBoard(ws);
    EXPECT_STAGE(ws, {{160, 160, Red}, {220, 220, Blue}});
    // A redraw rebuilds the whole Board: a moved Pane leaves no trace.
    ws.Pane(2).Left = 500;
    RedrawBoard(ws);
    EXPECT_STAGE(ws, {{160, 160, Blue}, {110, 110, Grey}, {510, 110, Red}});
  }

  void backgroundOrColour() {
    HeadlessSession b;
    Workspace& ws = b.ws;
    ws.surfaces.picBackground.SetPicture(patternPicture(800, 600));
    placePane(ws, 4, 200, 200, 50, 50, Red);
    // Only exactly True uses the Background; any other value is the colour.
    for (Integer use : {QvFalse, Integer(1)}) {
      ws.BoardSettings.UseBackPicture = use;
      RedrawBoard(ws);
      EXPECT_STAGE(ws, {{10, 20, Grey}, {799, 599, Grey}, {210, 210, Red}});
    }
    ws.BoardSettings.UseBackPicture = QvTrue;
    RedrawBoard(ws);
    EXPECT_STAGE(ws, {{10, 20, patternAt(10, 20)}, {799, 599, patternAt(799, 599)}, {210, 210, Red}});
    // A Transparent Pane lets the Background through its true black.
    fill(ws.surfaces.picSprites.Image(), ws.Pane(4).SheetX, ws.Pane(4).SheetY, 25, 50, Black);
    ws.Pane(4).BlackTransparent = QvTrue;
    ws.pointer.CurrentPane = 4;
    BuildPaneMask(ws, 4);
    RedrawBoard(ws);
    EXPECT_STAGE(ws, {{210, 210, patternAt(210, 210)}, {230, 210, Red}});
  }

  void drags() {
    HeadlessSession b;
    Workspace& ws = b.ws;
    placePane(ws, 1, 100, 100, 200, 200, Red);
    placePane(ws, 4, 500, 400, 100, 100, Blue);
    ws.pointer.CurrentPane = 4;
    ws.pointer.MouseX = 250;
    ws.pointer.MouseY = 250;
    // Layered: dragged into slot 1's area, slot 4 stays behind it, and
    // nothing is drawn at its unchanged table position.
    RedrawBoardDrag(ws);
    QCOMPARE(ws.pointer.CurrentPane, 4);
    QCOMPARE(ws.Pane(4).Left, Integer(500));
    EXPECT_STAGE(ws, {{299, 299, Red}, {300, 300, Blue}, {349, 349, Blue}, {260, 260, Red}, {250, 349, Blue},
                      {350, 300, Grey}, {510, 410, Grey}});
    // With several Cels only the first is drawn.
    makeCelGrid(ws, 4, Green, Yellow, Purple, Blue);
    ws.pointer.MouseX = 400;
    ws.pointer.MouseY = 400;
    RedrawBoardDrag(ws);
    EXPECT_STAGE(ws, {{400, 400, Green}, {449, 449, Green}, {460, 410, Grey}, {410, 460, Grey}});

    // Floating: every Pane shows its whole Cel grid, the dragged one above
    // slot 1 and nothing at its table position; afterwards the slot is in use
    // again and entry 0 is free.
    makeCelGrid(ws, 1, Red, Red, Red, Red);
    ws.pointer.MouseX = 150;
    ws.pointer.MouseY = 150;
    RedrawBoardDragFloat(ws);
    EXPECT_STAGE(ws, {{150, 150, Green}, {199, 199, Green}, {200, 150, Yellow}, {249, 199, Yellow}, {150, 200, Purple},
                      {249, 249, Blue}, {250, 250, Red}, {149, 149, Red}, {510, 410, Grey}});
    QVERIFY(isSet(ws.Pane(4).InUse));
    QVERIFY(!isSet(ws.Pane(0).InUse));
    QCOMPARE(ws.pointer.CurrentPane, 4);
    // A Transparent dragged Pane keeps its mask: black shows slot 1 through.
    fill(ws.surfaces.picSprites.Image(), ws.Pane(4).SheetX, ws.Pane(4).SheetY, 50, 50, Black);
    ws.Pane(4).BlackTransparent = QvTrue;
    BuildPaneMask(ws, 4);
    RedrawBoardDragFloat(ws);
    EXPECT_STAGE(ws, {{160, 160, Red}, {210, 160, Yellow}});
    QVERIFY(!isSet(ws.Pane(0).InUse));
  }

  void hoverInDesign() {
    HeadlessSession b;
    Workspace& ws = b.ws;
    placePane(ws, 3, 50, 50, 100, 100, Red);
    placePane(ws, 5, 300, 300, 100, 100, Red);
    placePane(ws, 2, 350, 350, 100, 100, Blue);
    ws.Pane(3).Visible = QvFalse;  // still found in Design
    // The readout carries the Pane's position, not the pointer's; the right
    // and bottom edges are inside, one pixel further is not.
    for (const QPoint& in : {QPoint(50, 50), QPoint(120, 90), QPoint(150, 150), QPoint(150, 50)}) {
      QVERIFY(hoverAt(ws, in.x(), in.y()));
      QCOMPARE(ws.win.Lab_Readouts, QStringLiteral("Layer: 3, (x: 50) (y: 50)"));
      QCOMPARE(ws.pointer.CurrentPane, 3);
      const ControlState& hb = ws.win.Shape1[1];
      QVERIFY(hb.Visible && QRect(hb.Left, hb.Top, hb.Width, hb.Height) == QRect(50, 50, 100, 100));
    }
    for (const QPoint& out : {QPoint(151, 100), QPoint(100, 151), QPoint(49, 100), QPoint(100, 49)}) {
      QVERIFY(!hoverAt(ws, out.x(), out.y()));
      QCOMPARE(ws.win.Lab_Readouts, IdleReadout);
    }
    // The lowest slot under the pointer wins.
    QVERIFY(hoverAt(ws, 360, 360));
    QCOMPARE(ws.win.Lab_Readouts, QStringLiteral("Layer: 2, (x: 350) (y: 350)"));
    QVERIFY(hoverAt(ws, 320, 360));
    QCOMPARE(ws.pointer.CurrentPane, 5);
    // A Pane with Cels is hit only over its first Cel; the hover box still
    // covers the whole used area.
    makeCelGrid(ws, 2, Red, Red, Red, Red);
    QVERIFY(!hoverAt(ws, 401, 360));
    QVERIFY(hoverAt(ws, 400, 360));
    QCOMPARE(ws.pointer.CurrentPane, 2);
    QCOMPARE(ws.win.Shape1[1].Width, 100);

    // With the target box hidden the Target items are greyed; shown, not.
    EnablePaneMenus(ws);
    ws.win.Shape1[0].Visible = true;
    QVERIFY(!hoverAt(ws, 700, 100));
    QVERIFY(ws.win.menuEnabled("mnu_EditPane"));
    ws.win.Shape1[0].Visible = false;
    hoverAt(ws, 700, 100);
    QVERIFY(!ws.win.menuEnabled("mnu_EditPane") && !ws.win.menuEnabled("mnu_RemovePane"));
    QVERIFY(ws.win.menuEnabled("mnu_AddCustomPane"));

    // Under the hourglass nothing is tested and nothing changes.
    ws.surfaces.picStage.Pointer = MousePointer::Hourglass;
    ws.win.Lab_Readouts = QStringLiteral("busy");
    QVERIFY(!hoverAt(ws, 60, 60));
    QCOMPARE(ws.win.Lab_Readouts, QStringLiteral("busy"));
  }

  void hoverRunning() {
    HeadlessSession b;
    Workspace& ws = b.ws;
    for (int n = 1; n <= 3; ++n) placePane(ws, n, 50, 50, 100, 100, Red);
    for (int n = 1; n <= MaxPanes; ++n) ws.RunPaneTable[size_t(n)] = ws.PaneTable[size_t(n)];
    ws.RunPane(1).Visible = QvFalse;
    ws.RunPane(2).Left = 300;
    ws.RunPane(2).Top = 320;
    ws.RunPane(1).MouseOver = ws.RunPane(2).MouseOver = QvTrue;
    ws.run.Running = QvTrue;
    ws.win.Shape1[1] = {0, 0, 0, 0, false, true};
    auto mouseOver = [&] {
      QList<bool> flags;
      for (int n = 1; n <= 3; ++n) flags << isSet(ws.RunPane(n).MouseOver);
      return flags;
    };
    // Slot 1 is invisible and skipped; slot 2 has moved; slot 3 is found. The
    // hover box is a Design aid only.
    QVERIFY(hoverAt(ws, 60, 60));
    QCOMPARE(ws.pointer.CurrentPane, 3);
    QCOMPARE(ws.win.Lab_Readouts, QStringLiteral("Layer: 3, (x: 50) (y: 50)"));
    QCOMPARE(mouseOver(), QList<bool>({false, false, true}));
    QVERIFY(!ws.win.Shape1[1].Visible);
    QCOMPARE(ws.win.Shape1[1].Left, 0);
    // Slot 2 is hit at its RunMode position, with that position in the readout.
    QVERIFY(hoverAt(ws, 400, 420));
    QCOMPARE(ws.win.Lab_Readouts, QStringLiteral("Layer: 2, (x: 300) (y: 320)"));
    QCOMPARE(mouseOver(), QList<bool>({false, true, true}));  // the scan stops at slot 2
    // Nothing under the pointer: idle text, every MouseOver cleared.
    QVERIFY(!hoverAt(ws, 700, 420));
    QCOMPARE(ws.win.Lab_Readouts, IdleReadout);
    QCOMPARE(mouseOver(), QList<bool>({false, false, false}));
  }

  void boxesStayOffTheBoard() {
    HeadlessSession b;
    Workspace& ws = b.ws;
    placePane(ws, 2, 300, 200, 100, 80, Red);
    makeCelGrid(ws, 2, Red, Red, Red, Red);
    ws.pointer.CurrentPane = 2;
    PlaceTargetBox(ws);
    PlaceHoverBox(ws);
    for (const ControlState& box : ws.win.Shape1)
      QVERIFY(QRect(box.Left, box.Top, box.Width, box.Height) == QRect(300, 200, 100, 80) && !box.Visible);
    // While running the hover box stays where it is.
    ws.run.Running = QvTrue;
    ws.pointer.CurrentPane = 1;
    PlaceHoverBox(ws);
    QCOMPARE(ws.win.Shape1[1].Left, 300);
    ws.run.Running = QvFalse;

    // Both boxes shown: neither a redraw nor a Composite captures them.
    ws.win.Shape1[0].Visible = ws.win.Shape1[1].Visible = true;
    RedrawBoard(ws);
    b.platform.yesNoAnswers.enqueue(true);
    CompositePanes(ws);
    const QImage& back = ws.surfaces.picBackground.Picture();
    QCOMPARE(back, ws.surfaces.picStage.Image());
    QVERIFY(blockIs(back, 300, 200, 50, 40, Red));
    QImage around = back.copy(290, 190, 120, 100);
    fill(around, 10, 10, 50, 40, Grey);
    QVERIFY(blockIs(around, 0, 0, 120, 100, Grey));
  }

  void fitBackground() {
    HeadlessSession b;
    Workspace& ws = b.ws;
    SelectBoardSize(ws, 1);
    LayoutMainWindow(ws);
    QCOMPARE(QSize(ws.project.BoardWidth, ws.project.BoardHeight), QSize(640, 480));
    // Left half red, right half blue above green.
    auto blocks = [](int w, int h) {
      QImage img(w, h, QImage::Format_RGB32);
      img.fill(toQRgb(Red));
      fill(img, w / 2, 0, w / 2, h / 2, Blue);
      fill(img, w / 2, h / 2, w / 2, h / 2, Green);
      return img;
    };
    ws.surfaces.picResize.SetPicture(blocks(100, 50));
    FitBackgroundToBoard(ws);
    QCOMPARE(ws.surfaces.picBackground.Picture(), blocks(640, 480));
    QCOMPARE(ws.surfaces.picBackground.Image(), blocks(640, 480));
    QCOMPARE(ws.surfaces.picStage.Image(), blocks(640, 480));  // shown at once
    QVERIFY(picResizeAtRest(ws));
  }
};

QTEST_GUILESS_MAIN(TestBoardRender)
#include "test_boardrender.moc"
