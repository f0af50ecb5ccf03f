// The sprite and mask sheets: cell origins, Cel sizes, mask building and
// drawing a Pane through its mask or as a plain copy.
#include "imaging/SheetFixtures.h"
#include "imaging/Sheets.h"
#include "resources/Resources.h"
#include "support/FakePlatform.h"

#include <QTest>

using namespace qv;
using namespace qv::fixtures;

class TestSheets : public QObject {
  Q_OBJECT
 private slots:
  void cellOrigins();
  void celSizes_data();
  void celSizes();
  void buildPaneMask();
  void maskOfSmallPaneAtSheetCorner();
  void drawTransparentAndOpaque();
};

void TestSheets::cellOrigins() {
  QCOMPARE(SheetCellOrigin(1), QPoint(0, 0));
  QCOMPARE(SheetCellOrigin(5), QPoint(800, 0));
  QCOMPARE(SheetCellOrigin(6), QPoint(0, 200));
  QCOMPARE(SheetCellOrigin(50), QPoint(800, 1800));

  // Every cell lies inside the sheet and no two cells share an origin.
  QSet<QPair<int, int>> seen;
  for (int n = 1; n <= MaxPanes; ++n) {
    const QPoint o = SheetCellOrigin(n);
    QVERIFY(o.x() >= 0 && o.x() + CellSize <= SheetWidth);
    QVERIFY(o.y() >= 0 && o.y() + CellSize <= SheetHeight);
    QVERIFY(o.x() % CellSize == 0 && o.y() % CellSize == 0);
    seen.insert({o.x(), o.y()});
  }
  QCOMPARE(seen.size(), MaxPanes);

  // AssignSheetSlot stores the origin of CurrentPane's cell in its record.
  TestBench b;
  b.ws.CurrentPane = 50;
  AssignSheetSlot(b.ws);
  QCOMPARE(b.ws.Pane(50).SheetX, Integer(800));
  QCOMPARE(b.ws.Pane(50).SheetY, Integer(1800));
  b.ws.CurrentPane = 6;
  AssignSheetSlot(b.ws);
  QCOMPARE(b.ws.Pane(6).SheetX, Integer(0));
  QCOMPARE(b.ws.Pane(6).SheetY, Integer(200));
  // Slot 0 has no cell.
  b.ws.Pane(0).SheetX = 7;
  b.ws.CurrentPane = 0;
  AssignSheetSlot(b.ws);
  QCOMPARE(b.ws.Pane(0).SheetX, Integer(7));
}

void TestSheets::celSizes_data() {
  QTest::addColumn<int>("size");
  QTest::addColumn<int>("cels");
  QTest::addColumn<int>("expected");
  QTest::newRow("100/3") << 100 << 3 << 33;
  QTest::newRow("50/4 12.5") << 50 << 4 << 12;
  QTest::newRow("30/4 7.5") << 30 << 4 << 8;
  QTest::newRow("90/4 22.5") << 90 << 4 << 22;
  QTest::newRow("70/4 17.5") << 70 << 4 << 18;
  QTest::newRow("25/2 12.5") << 25 << 2 << 12;
  QTest::newRow("35/2 17.5") << 35 << 2 << 18;
  QTest::newRow("21/2 10.5") << 21 << 2 << 10;
  QTest::newRow("22/4 5.5") << 22 << 4 << 6;
  QTest::newRow("26/4 6.5") << 26 << 4 << 6;
  QTest::newRow("101/3 33.67") << 101 << 3 << 34;
  QTest::newRow("197/5 39.4") << 197 << 5 << 39;
  QTest::newRow("199/5 39.8") << 199 << 5 << 40;
  QTest::newRow("200/5") << 200 << 5 << 40;
  QTest::newRow("20/1") << 20 << 1 << 20;
}

void TestSheets::celSizes() {
  QFETCH(int, size);
  QFETCH(int, cels);
  QFETCH(int, expected);
  QCOMPARE(int(CelSize(size, cels)), expected);
}

void TestSheets::buildPaneMask() {
  TestBench b;
  Workspace& ws = b.ws;
  // Slot 7's cell is at (200, 200). The sprite cell holds, column by column:
  // true black, white, grey, RGB(0,0,1), RGB(1,0,0), RGB(0,1,0), near-white.
  const Long cols[] = {Black, White, RGB(128, 128, 128), RGB(0, 0, 1), RGB(1, 0, 0), RGB(0, 1, 0),
                       RGB(255, 255, 254)};
  const Long want[] = {White, White, Black, Black, Black, Black, Black};
  // Black fills the rest of the cell: a mask built over the whole cell
  // would turn it white.
  PaneRecord& p = placePane(ws, 7, 10, 10, 70, 30, Black);
  fill(ws.picSprites.Image(), 200, 200, 200, 200, Black);
  for (int i = 0; i < 7; ++i) fill(ws.picSprites.Image(), 200 + 10 * i, 200, 10, 30, cols[i]);
  ws.picMasks.Image().fill(toQRgb(RGB(10, 20, 30)));
  const QImage maskBefore = ws.picMasks.Image().copy();
  const QImage spritesBefore = ws.picSprites.Image().copy();
  ws.picStage.Pointer = MousePointer::Default;

  ws.CurrentPane = 7;
  BuildPaneMask(ws);

  const QImage& mask = ws.picMasks.Image();
  for (int y = 0; y < SheetHeight; ++y)
    for (int x = 0; x < SheetWidth; ++x) {
      const bool used = x >= 200 && x < 200 + p.Width && y >= 200 && y < 200 + p.Height;
      const Long expect = used ? want[(x - 200) / 10] : fromQRgb(maskBefore.pixel(x, y));
      if (px(mask, x, y) != expect)
        QFAIL(qPrintable(QStringLiteral("mask (%1, %2) = %3, expected %4")
                             .arg(x).arg(y).arg(px(mask, x, y), 6, 16).arg(expect, 6, 16)));
    }
  QCOMPARE(ws.picSprites.Image(), spritesBefore);
  // The mask sheet keeps its new drawing as its picture.
  QCOMPARE(ws.picMasks.Picture(), ws.picMasks.Image());

  // picResize is back at rest and the Board pointer is the arrow.
  QCOMPARE(ws.picResize.Width(), 200);
  QCOMPARE(ws.picResize.Height(), 200);
  QVERIFY(!ws.picResize.AutoSize);
  QCOMPARE(ws.picResize.Picture(), LoadResPicture(DefaultPanePictureId));
  QCOMPARE(ws.picResize.Image(), LoadResPicture(DefaultPanePictureId));
  QCOMPARE(ws.picStage.Pointer, MousePointer::Arrow);
  QCOMPARE(ws.CurrentPane, 7);
}

void TestSheets::maskOfSmallPaneAtSheetCorner() {
  // A 20 x 20 Pane in slot 50 touches only the top-left 20 x 20 of the last
  // cell; the default picture (greys only) masks to all black.
  TestBench b;
  Workspace& ws = b.ws;
  placePane(ws, 50, 0, 0, 20, 20, RGB(150, 150, 150));
  ws.picMasks.Image().fill(toQRgb(White));
  ws.CurrentPane = 50;
  BuildPaneMask(ws);
  const QImage& mask = ws.picMasks.Image();
  QCOMPARE(px(mask, 800, 1800), Black);
  QCOMPARE(px(mask, 819, 1819), Black);
  QCOMPARE(px(mask, 820, 1819), White);
  QCOMPARE(px(mask, 819, 1820), White);
  QCOMPARE(px(mask, 999, 1999), White);
  QCOMPARE(px(mask, 799, 1800), White);
}

void TestSheets::drawTransparentAndOpaque() {
  TestBench b;
  Workspace& ws = b.ws;
  // Columns: true black, RGB(0,0,1), white, red; used area 40 x 20 in slot 2.
  const Long cols[] = {Black, RGB(0, 0, 1), White, Red};
  PaneRecord& p = placePane(ws, 2, 0, 0, 40, 20, Black);
  for (int i = 0; i < 4; ++i) fill(ws.picSprites.Image(), 200 + 10 * i, 0, 10, 20, cols[i]);
  p.BlackTransparent = QvTrue;
  ws.CurrentPane = 2;
  BuildPaneMask(ws);

  // Drawn through the mask over a patterned Board, partly off its left edge.
  QImage board = patternPicture(100, 60);
  DrawPane(ws, board, -5, 30, 40, 20, p.SheetX, p.SheetY, true);
  for (int y = 30; y < 50; ++y)
    for (int x = 0; x < 35; ++x) {
      const int col = (x + 5) / 10;
      const Long expect = col == 0 ? patternAt(x, y) : cols[col];
      QCOMPARE(px(board, x, y), expect);
    }
  QCOMPARE(px(board, 35, 30), patternAt(35, 30));
  QCOMPARE(px(board, 10, 29), patternAt(10, 29));
  QCOMPARE(px(board, 10, 50), patternAt(10, 50));

  // A plain copy draws black as black.
  QImage opaque = patternPicture(100, 60);
  DrawPane(ws, opaque, 50, 0, 40, 20, p.SheetX, p.SheetY, false);
  for (int i = 0; i < 4; ++i) {
    QCOMPARE(px(opaque, 50 + 10 * i, 0), cols[i]);
    QCOMPARE(px(opaque, 59 + 10 * i, 19), cols[i]);
  }
  QCOMPARE(px(opaque, 49, 0), patternAt(49, 0));
  QCOMPARE(px(opaque, 90, 0), patternAt(90, 0));
  QCOMPARE(px(opaque, 50, 20), patternAt(50, 20));
}

QTEST_GUILESS_MAIN(TestSheets)
#include "test_sheets.moc"
