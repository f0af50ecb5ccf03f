// The sprite and mask sheets (cells, Cel sizes, masks), Board
// redraws (full, layered drag, floating drag) compared whole with a model,
// the hover test and mirroring blocks.
#include "imaging/Flip.h"
#include "support/Fixtures.h"

using namespace qv;

namespace {

const QSize Board(800, 600);

QString hoverAt(Workspace& ws, double x, int y) {
  ws.pointer.MouseX = x;
  ws.pointer.MouseY = Integer(y);
  HoverPaneAt(ws);
  return isSet(ws.pointer.HoverFound) ? ws.win.Lab_Readouts : QString();
}

}  // namespace

class TestImaging : public QObject {
  Q_OBJECT
 private slots:
  void cellsCelSizesAndMasks() {
    HeadlessSession s;
    Workspace& ws = s.ws;
    // (Cell origins and freed cells show in the Add and Remove tests.)
    ws.Pane(0).SheetX = 7;
    AssignSheetSlot(ws, 0);  // slot 0 has no cell
    QCOMPARE(ws.Pane(0).SheetX, Integer(7));
    // Cel sizes (data/celsizes.txt): nearest integer, halves to the even neighbour.
    for (const QList<int>& c : numberRows(QFINDTESTDATA("data/celsizes.txt"), 13))
      QCOMPARE(QList<int>({c[0], c[1], CelSize(c[0], c[1])}), c);
    // Slot 7's cell is at (200, 200). Its used 70 x 30 area holds, column by
    // column: true black, white, grey, RGB(0,0,1), RGB(1,0,0), RGB(0,1,0),
    // near-white; black fills the rest of the cell.
    const Long cols[] = {Black, White, RGB(128, 128, 128), RGB(0, 0, 1), RGB(1, 0, 0), RGB(0, 1, 0), RGB(255, 255, 254)};
    const Long want[] = {White, White, Black, Black, Black, Black, Black};
    placeSolid(ws, 7, 10, 10, 70, 30, Black);
    fill(ws.project.picSprites.Image(), 200, 200, 200, 200, Black);
    for (int i = 0; i < 7; ++i) fill(ws.project.picSprites.Image(), 200 + 10 * i, 200, 10, 30, cols[i]);
    ws.project.picMasks.Image().fill(toQRgb(Purple));
    const QImage spritesBefore = ws.project.picSprites.Image().copy();
    BuildPaneMask(ws, 7);
    QImage mask = boardModel({SheetWidth, SheetHeight}, Purple, {});
    for (int i = 0; i < 7; ++i) fill(mask, 200 + 10 * i, 200, 10, 30, want[i]);
    QCOMPARE(ws.project.picMasks.Image(), mask);
    QCOMPARE(ws.project.picMasks.Picture(), mask);
    QCOMPARE(ws.project.picSprites.Image(), spritesBefore);
    QVERIFY(picResizeAtRest(ws));
    QCOMPARE(ws.surfaces.picStage.Pointer, MousePointer::Arrow);
  }

  void redraw() {
    HeadlessSession s;
    Workspace& ws = s.ws;
    placeSolid(ws, 7, 150, 150, 100, 100, Blue);
    placeSolid(ws, 2, 100, 100, 100, 100, Red);
    placeSolid(ws, 3, 300, 300, 100, 100, Black);
    makeCels(ws, 3, 2, 2, 0, {Red, Blue, Green, Yellow});
    placeSolid(ws, 4, 500, 100, 50, 50, Green).InUse = QvFalse;
    ws.pointer.CurrentPane = 9;
    RedrawBoard(ws);
    QCOMPARE(ws.pointer.CurrentPane, 1);
    // From slot 50 down: slot 2 over slot 7; slot 3 shows only its first Cel.
    QCOMPARE(ws.surfaces.picStage.Image(), boardModel(Board, Grey, {{{150, 150, 100, 100}, Blue}, {{300, 300, 50, 50}, Red},
                                                                    {{100, 100, 100, 100}, Red}}));
    // A moved Pane leaves no trace; only exactly True uses the Background.
    ws.Pane(2).Left = 500;
    const QImage back = randomImage(800, 600, 4);
    ws.project.picBackground.SetPicture(back);
    ws.project.BoardSettings.UseBackPicture = 1;
    RedrawBoard(ws);
    QCOMPARE(ws.surfaces.picStage.Image(), boardModel(Board, Grey, {{{150, 150, 100, 100}, Blue}, {{300, 300, 50, 50}, Red},
                                                                    {{500, 100, 100, 100}, Red}}));
    // On the Background, Transparent slot 7 lets it through its black half.
    fill(ws.project.picSprites.Image(), ws.Pane(7).SheetX, ws.Pane(7).SheetY, 50, 100, Black);
    ws.Pane(7).BlackTransparent = QvTrue;
    BuildPaneMask(ws, 7);
    ws.project.BoardSettings.UseBackPicture = QvTrue;
    RedrawBoard(ws);
    QImage onBack = back.copy();
    for (const auto& [r, c] : {std::pair{QRect(200, 150, 50, 100), Blue}, std::pair{QRect(300, 300, 50, 50), Red},
                               std::pair{QRect(500, 100, 100, 100), Red}})
      fill(onBack, r.x(), r.y(), r.width(), r.height(), c);
    QCOMPARE(ws.surfaces.picStage.Image(), onBack);
  }

  void drags() {
    HeadlessSession s;
    Workspace& ws = s.ws;
    placeSolid(ws, 1, 100, 100, 200, 200, Red);
    placeSolid(ws, 4, 500, 400, 100, 100, Blue);
    ws.pointer.MouseX = 250.4;
    ws.pointer.MouseY = 250;
    // Layered: the dragged Pane at the pointer, still behind slot 1; nothing
    // at its unchanged table place. With Cels only the first is drawn.
    RedrawBoardDrag(ws);
    QCOMPARE(ws.surfaces.picStage.Image(), boardModel(Board, Grey, {{{250, 250, 100, 100}, Blue}, {{100, 100, 200, 200}, Red}}));
    QVERIFY(ws.Pane(4).Left == 500 && ws.pointer.CurrentPane == 4);
    makeCels(ws, 4, 2, 2, 0, {Green, Yellow, Purple, Blue});
    ws.pointer.MouseX = 400;
    ws.pointer.MouseY = 400;
    RedrawBoardDrag(ws);
    QCOMPARE(ws.surfaces.picStage.Image(), boardModel(Board, Grey, {{{400, 400, 50, 50}, Green}, {{100, 100, 200, 200}, Red}}));
    ws.pointer.MouseX = 250.4;
    ws.pointer.MouseY = 250;
    // Floating: every Pane with its whole Cel grid, the dragged one above
    // all; afterwards the slot is in use again and entry 0 is free.
    RedrawBoardDragFloat(ws);
    QCOMPARE(ws.surfaces.picStage.Image(),
             boardModel(Board, Grey, {{{100, 100, 200, 200}, Red}, {{250, 250, 50, 50}, Green}, {{300, 250, 50, 50}, Yellow},
                                      {{250, 300, 50, 50}, Purple}, {{300, 300, 50, 50}, Blue}}));
    QVERIFY(isSet(ws.Pane(4).InUse) && !isSet(ws.Pane(0).InUse) && ws.pointer.CurrentPane == 4);
    // A Transparent dragged Pane keeps its mask: black shows slot 1 through.
    fill(ws.project.picSprites.Image(), ws.Pane(4).SheetX, ws.Pane(4).SheetY, 50, 50, Black);
    ws.Pane(4).BlackTransparent = QvTrue;
    BuildPaneMask(ws, 4);
    RedrawBoardDragFloat(ws);
    QCOMPARE(ws.surfaces.picStage.Image(),
             boardModel(Board, Grey, {{{100, 100, 200, 200}, Red}, {{300, 250, 50, 50}, Yellow},
                                      {{250, 300, 50, 50}, Purple}, {{300, 300, 50, 50}, Blue}}));
  }

  // The pointer's place and the slot found there are in data/hover.txt.
  void hoverInDesign_data() {
    QTest::addColumn<QPointF>("at");
    QTest::addColumn<int>("slot");
    for (const QByteArray& row : dataRows(QFINDTESTDATA("data/hover.txt"), 12)) {
      const QList<QByteArray> f = row.split(',');
      QTest::newRow(row) << QPointF(f[0].toFloat(), f[1].toFloat()) << f[2].trimmed().toInt();
    }
  }

  void hoverInDesign() {
    QFETCH(QPointF, at);
    QFETCH(int, slot);
    HeadlessSession s;
    Workspace& ws = s.ws;
    placeSolid(ws, 3, 50, 50, 100, 100, Red).Visible = QvFalse;
    placeSolid(ws, 5, 300, 300, 100, 100, Red);
    placeSolid(ws, 2, 350, 350, 100, 100, Blue);
    makeCels(ws, 2, 2, 2);
    ws.pointer.CurrentPane = 9;
    // The readout carries the Pane's place, not the pointer's; the hover box
    // covers the whole used area.
    const QString found = hoverAt(ws, at.x(), int(at.y()));
    if (!slot) {
      QVERIFY(found.isEmpty() && ws.pointer.CurrentPane == 9 && ws.win.Lab_Readouts == IdleReadout);
      return;
    }
    const PaneRecord& p = ws.Pane(slot);
    QCOMPARE(found, QStringLiteral("Layer: %1, (x: %2) (y: %3)").arg(slot).arg(p.Left).arg(p.Top));
    QCOMPARE(ws.pointer.CurrentPane, slot);
    QVERIFY(ws.win.Shape1[1].Visible && rectOf(ws.win.Shape1[1]) == QRect(p.Left, p.Top, 100, 100));
  }

  void hoverMenusHourglassAndRunning() {
    HeadlessSession s;
    Workspace& ws = s.ws;
    for (int n = 1; n <= 3; ++n) placeSolid(ws, n, 50, 50, 100, 100, Red);
    // Over nothing with the target box hidden the Target items are greyed;
    // with it shown they stay.
    EnablePaneMenus(ws);
    ws.win.Shape1[0].Visible = true;
    hoverAt(ws, 700, 100);
    QVERIFY(ws.win.menuEnabled(Command::EditPane));
    ws.win.Shape1[0].Visible = false;
    hoverAt(ws, 700, 100);
    QVERIFY(!ws.win.menuEnabled(Command::EditPane) && !ws.win.menuEnabled(Command::RemovePane) && ws.win.menuEnabled(Command::AddCustomPane));
    // Under the hourglass nothing is tested and nothing changes.
    ws.surfaces.picStage.Pointer = MousePointer::Hourglass;
    ws.win.Lab_Readouts = QStringLiteral("busy");
    QVERIFY(hoverAt(ws, 60, 60).isEmpty() && ws.win.Lab_Readouts == "busy");
    // Running (which Pane is found, and its MouseOver, are web.trace's
    // part): the readout names the Pane's run place; the hover box is a
    // Design aid only.
    ws.surfaces.picStage.Pointer = MousePointer::Default;
    ws.RunPaneTable = ws.project.PaneTable;
    ws.RunPane(2).Left = 300;
    ws.RunPane(2).Top = 320;
    ws.run.Running = QvTrue;
    ws.win.Shape1[1] = {0, 0, 0, 0, false, true};
    QCOMPARE(hoverAt(ws, 400, 420), QStringLiteral("Layer: 2, (x: 300) (y: 320)"));
    QVERIFY(!ws.win.Shape1[1].Visible && ws.win.Shape1[1].Left == 0);
  }

  // Mirroring a block against QImage's own mirroring of the clipped block:
  // inside, clipped at every edge, and wholly off the picture on one axis
  // (nothing changes); twice gives the picture back.
  void mirrorBlocks() {
    for (const QList<int>& b : numberRows(QFINDTESTDATA("data/mirror.txt"), 7)) mirrorBlock(QRect(b[0], b[1], b[2], b[3]));
  }

 private:
  void mirrorBlock(const QRect& block) {
    const QImage original = randomImage(64, 40, 7);
    const QRect clipped = block & original.rect();
    for (const MirrorAxis axis : {MirrorAxis::LeftRight, MirrorAxis::TopBottom}) {
      QImage img = original, expected = original;
      if (!clipped.isEmpty())
        BitBlt(expected, clipped.x(), clipped.y(), clipped.width(), clipped.height(),
               original.copy(clipped).mirrored(axis == MirrorAxis::LeftRight, axis == MirrorAxis::TopBottom), 0, 0,
               RasterOp::SRCCOPY);
      MirrorBlock(img, block.x(), block.y(), block.width(), block.height(), axis);
      QCOMPARE(img, expected);
      MirrorBlock(img, block.x(), block.y(), block.width(), block.height(), axis);
      QCOMPARE(img, original);
    }
  }
};

QTEST_GUILESS_MAIN(TestImaging)
#include "test_imaging.moc"
