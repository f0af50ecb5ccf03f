// The sprite and mask sheets: cell origins, Cel sizes, mask building and
// drawing a Pane through its mask or as a plain copy.
#include "imaging/SheetFixtures.h"
#include "imaging/Sheets.h"
#include "shell/Headless.h"

#include <QTest>

using namespace qv;
using namespace qv::fixtures;

class TestSheets : public QObject {
  Q_OBJECT
 private slots:
  void cellOrigins() {
    HeadlessSession b;
    for (const auto& [slot, origin] : {std::pair{1, QPoint(0, 0)}, std::pair{5, QPoint(800, 0)},
                                       std::pair{6, QPoint(0, 200)}, std::pair{50, QPoint(800, 1800)}}) {
      QCOMPARE(SheetCellOrigin(slot), origin);
      // AssignSheetSlot stores the origin of the slot's cell in its record.
      AssignSheetSlot(b.ws, slot);
      QCOMPARE(QPoint(b.ws.Pane(slot).SheetX, b.ws.Pane(slot).SheetY), origin);
    }
    // Every cell lies inside the sheet and no two cells share an origin.
    QSet<QPair<int, int>> seen;
    for (int n = 1; n <= MaxPanes; ++n) {
      const QPoint o = SheetCellOrigin(n);
      QVERIFY(QRect(0, 0, SheetWidth, SheetHeight).contains(QRect(o, QSize(CellSize, CellSize))));
      seen.insert({o.x(), o.y()});
    }
    QCOMPARE(seen.size(), MaxPanes);
    // Slot 0 has no cell.
    b.ws.Pane(0).SheetX = 7;
    AssignSheetSlot(b.ws, 0);
    QCOMPARE(b.ws.Pane(0).SheetX, Integer(7));
  }

  void celSizes() {
    // Nearest integer; halves go to the even neighbour.
    const int cases[][3] = {{100, 3, 33}, {50, 4, 12}, {30, 4, 8},   {90, 4, 22},  {70, 4, 18},  {21, 2, 10},
                            {22, 4, 6},   {26, 4, 6},  {101, 3, 34}, {197, 5, 39}, {199, 5, 40}, {200, 5, 40},
                            {20, 1, 20}};
    for (const auto& [size, cels, expected] : cases)
      QVERIFY2(CelSize(size, cels) == expected, qPrintable(QStringLiteral("%1 / %2").arg(size).arg(cels)));
  }

  void buildPaneMaskAndDraw() {
    HeadlessSession b;
    Workspace& ws = b.ws;
    // Slot 7's cell is at (200, 200). The sprite cell holds, column by column:
    // true black, white, grey, RGB(0,0,1), RGB(1,0,0), RGB(0,1,0), near-white.
    const Long cols[] = {Black, White, RGB(128, 128, 128), RGB(0, 0, 1), RGB(1, 0, 0), RGB(0, 1, 0),
                         RGB(255, 255, 254)};
    const Long want[] = {White, White, Black, Black, Black, Black, Black};
    // Black fills the rest of the cell: a mask built over the whole cell
    // would turn it white.
    PaneRecord& p = placePane(ws, 7, 10, 10, 70, 30, Black);
    fill(ws.surfaces.picSprites.Image(), 200, 200, 200, 200, Black);
    for (int i = 0; i < 7; ++i) fill(ws.surfaces.picSprites.Image(), 200 + 10 * i, 200, 10, 30, cols[i]);
    ws.surfaces.picMasks.Image().fill(toQRgb(RGB(10, 20, 30)));
    const QImage spritesBefore = ws.surfaces.picSprites.Image().copy();
    ws.surfaces.picStage.Pointer = MousePointer::Default;

    ws.pointer.CurrentPane = 7;
    BuildPaneMask(ws, 7);

    const QImage& mask = ws.surfaces.picMasks.Image();
    for (int y = 0; y < SheetHeight; ++y)
      for (int x = 0; x < SheetWidth; ++x) {
        const bool used = x >= 200 && x < 200 + p.Width && y >= 200 && y < 200 + p.Height;
        const Long expect = used ? want[(x - 200) / 10] : RGB(10, 20, 30);
        if (px(mask, x, y) != expect) QFAIL(qPrintable(QStringLiteral("mask (%1, %2)").arg(x).arg(y)));
      }
    QCOMPARE(ws.surfaces.picSprites.Image(), spritesBefore);
    QCOMPARE(ws.surfaces.picMasks.Picture(), ws.surfaces.picMasks.Image());
    // picResize is back at rest and the Board pointer is the arrow.
    QVERIFY(picResizeAtRest(ws));
    QCOMPARE(ws.surfaces.picStage.Pointer, MousePointer::Arrow);
    QCOMPARE(ws.pointer.CurrentPane, 7);

    // Drawn at (-5, 30) over a patterned Board: through the mask only true
    // black lets the Board through; as a plain copy black is drawn too.
    for (bool transparent : {true, false}) {
      QImage board = patternPicture(100, 60);
      DrawPane(ws, board, -5, 30, 70, 30, p.SheetX, p.SheetY, transparent);
      for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 100; ++x) {
          const int col = (x + 5) / 10;
          const bool drawn = x < 65 && y >= 30 && (col > 0 || !transparent);
          QCOMPARE(px(board, x, y), drawn ? cols[col] : patternAt(x, y));
        }
    }
  }
};

QTEST_GUILESS_MAIN(TestSheets)
#include "test_sheets.moc"
