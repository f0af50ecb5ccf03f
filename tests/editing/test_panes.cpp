// Adding, removing and compositing Panes, and the slot rules they rest on.
#include "editing/Panes.h"
#include "imaging/BoardRender.h"
#include "imaging/SheetFixtures.h"
#include "resources/Resources.h"
#include "shell/Setups.h"
#include "support/FakePlatform.h"

#include <QTest>

using namespace qv;
using namespace qv::fixtures;

class TestPanes : public QObject {
  Q_OBJECT
 private slots:
  void addDefaults();
  void addFillsLowestFreeSlot();
  void addShowsInFrontUntilRedraw();
  void fiftyPanesAndNoMore();
  void removeAsksAndNoKeepsAll();
  void removeFreesSlotAndCells();
  void removeActsOnTargetWhenBoxShown();
  void paneCountNeverBelowZero();
  void composite();
  void slotRules();
};

namespace {

Long stage(const Workspace& ws, int x, int y) { return px(ws.picStage.Image(), x, y); }

// True when every pixel of the 100 x 100 block at (x, y) of img is the
// default picture shrunk by half: one pixel of the matching 2 x 2 block.
bool holdsHalfDefault(const QImage& img, int x, int y) {
  const QImage def = LoadResPicture(DefaultPanePictureId);
  for (int j = 0; j < 100; ++j)
    for (int i = 0; i < 100; ++i) {
      const QRgb c = img.pixel(x + i, y + j);
      if (c != def.pixel(2 * i, 2 * j) && c != def.pixel(2 * i + 1, 2 * j) &&
          c != def.pixel(2 * i, 2 * j + 1) && c != def.pixel(2 * i + 1, 2 * j + 1))
        return false;
    }
  return true;
}

bool blockIs(const QImage& img, int x, int y, int w, int h, Long c) {
  for (int j = y; j < y + h; ++j)
    for (int i = x; i < x + w; ++i)
      if (px(img, i, j) != c) return false;
  return true;
}

void addPanes(Workspace& ws, int count) {
  for (int i = 0; i < count; ++i) AddPane(ws);
}

}  // namespace

void TestPanes::addDefaults() {
  TestBench b;
  Workspace& ws = b.ws;
  // RunMode-only fields are not written by Add.
  PaneRecord& pre = ws.Pane(3);
  pre.Value = 77;
  pre.Flashing = QvTrue;
  pre.CelColumn = 4;
  pre.CelRow = 5;
  pre.MoveDelayCount = 6;
  pre.CelWrapFlag = 7;
  pre.MouseOver = QvTrue;
  pre.SpareFlag = QvTrue;
  ws.picStage.Pointer = MousePointer::Default;
  addPanes(ws, 3);

  const PaneRecord& p = ws.Pane(3);
  QCOMPARE(ws.PaneCount, Integer(3));
  QCOMPARE(ws.CurrentPane, 3);
  QCOMPARE(p.InUse, QvTrue);
  QCOMPARE(p.Left, Integer(50));
  QCOMPARE(p.Top, Integer(50));
  QCOMPARE(p.Width, Integer(100));
  QCOMPARE(p.Height, Integer(100));
  QCOMPARE(p.BlackTransparent, QvFalse);
  QCOMPARE(p.SheetX, Integer(400));
  QCOMPARE(p.SheetY, Integer(0));
  QCOMPARE(p.UseWriting, QvFalse);
  QCOMPARE(p.WritingText, QStringLiteral("none"));
  QCOMPARE(p.WritingFontName, QStringLiteral("MS Sans Serif"));
  QCOMPARE(p.WritingForeColor, Long(0));
  QCOMPARE(p.WritingBackColor, Long(0xFFFFFF));
  QCOMPARE(p.WritingFontSize, Integer(10));
  QCOMPARE(p.WritingBold, QvFalse);
  QCOMPARE(p.WritingItalic, QvFalse);
  QCOMPARE(p.WritingUnderline, QvFalse);
  QCOMPARE(p.WritingMode, Integer(0));
  QCOMPARE(p.WritingWidth, Integer(100));
  QCOMPARE(p.WritingHeight, Integer(100));
  QCOMPARE(p.Sound, Long(0));
  QCOMPARE(p.PictureLoaded, QvFalse);
  QCOMPARE(p.PictureName, QStringLiteral("03.bmp"));
  QCOMPARE(p.UseURL, QvFalse);
  QVERIFY(!p.URL.isEmpty());
  QCOMPARE(p.URL, DefaultPaneUrl);
  QCOMPARE(p.Process, Integer(0));
  QCOMPARE(p.StartValue, Integer(20));
  QCOMPARE(p.ProcessAmount, Integer(1));
  QCOMPARE(p.Layer, Integer(3));
  QCOMPARE(p.EffectType, Integer(0));
  QCOMPARE(p.EffectDuration, Integer(0));
  QCOMPARE(p.MouseEffect, Integer(1));
  QCOMPARE(p.Visible, QvTrue);
  QCOMPARE(p.RevealPane, Integer(0));
  QCOMPARE(p.RevealValue, Integer(1));
  QCOMPARE(p.CelWidth, Integer(0));
  QCOMPARE(p.CelHeight, Integer(0));
  QCOMPARE(p.CelsAcross, Integer(1));
  QCOMPARE(p.CelsDown, Integer(1));
  QCOMPARE(p.CelDelay, Integer(0));
  QCOMPARE(p.CelDelayCount, Integer(0));
  QCOMPARE(p.CelCount, Integer(1));
  QCOMPARE(p.FlipOnBounds, QvFalse);
  QCOMPARE(p.Label, QStringLiteral("03.bmp"));
  QCOMPARE(p.FlipCode, Integer(1));
  QCOMPARE(p.Direction, Integer(0));
  QCOMPARE(p.Collision, Integer(1));
  QCOMPARE(p.MoveType, Integer(0));
  QCOMPARE(p.Speed, Integer(1));
  QCOMPARE(p.MoveDelay, Integer(0));
  QCOMPARE(p.LifeStartValue, Integer(19));
  QCOMPARE(p.LifeEndValue, Integer(10));
  QCOMPARE(p.MouseOver, QvFalse);
  QCOMPARE(p.SpareFlag, QvFalse);
  QCOMPARE(p.Value, Integer(77));
  QCOMPARE(p.Flashing, QvTrue);
  QCOMPARE(p.CelColumn, Integer(4));
  QCOMPARE(p.CelRow, Integer(5));
  QCOMPARE(p.MoveDelayCount, Integer(6));
  QCOMPARE(p.CelWrapFlag, Integer(7));

  // Not made the Target; no question asked; pointer back to the arrow.
  QCOMPARE(ws.TargetPane, Integer(0));
  QVERIFY(!ws.win.Shape1[0].Visible);
  QVERIFY(b.platform.log.isEmpty());
  QCOMPARE(ws.picStage.Pointer, MousePointer::Arrow);

  // Two-digit names from slot 10 on.
  addPanes(ws, 9);
  QCOMPARE(ws.Pane(12).PictureName, QStringLiteral("12.bmp"));
  QCOMPARE(ws.Pane(7).Label, QStringLiteral("07.bmp"));
  QCOMPARE(ws.Pane(12).SheetX, Integer(200));
  QCOMPARE(ws.Pane(12).SheetY, Integer(400));
}

void TestPanes::addFillsLowestFreeSlot() {
  TestBench b;
  Workspace& ws = b.ws;
  addPanes(ws, 4);
  ws.Pane(3).Label = QStringLiteral("old");
  ws.Pane(3).StartValue = 55;
  ws.Pane(3).BlackTransparent = QvTrue;
  ws.Pane(3).CelsAcross = 3;
  ws.CurrentPane = 3;
  RemovePane(ws);
  QCOMPARE(ws.PaneCount, Integer(3));
  QCOMPARE(ws.win.List_Zorder,
           (QVector<ZorderEntry>{{"01.bmp", 1}, {"02.bmp", 2}, {"04.bmp", 4}}));

  AddPane(ws);
  QCOMPARE(ws.CurrentPane, 3);
  QCOMPARE(ws.PaneCount, Integer(4));
  const PaneRecord& p = ws.Pane(3);
  QVERIFY(isSet(p.InUse));
  QCOMPARE(p.Label, QStringLiteral("03.bmp"));
  QCOMPARE(p.PictureName, QStringLiteral("03.bmp"));
  QCOMPARE(p.Layer, Integer(3));
  QCOMPARE(p.StartValue, Integer(20));
  QCOMPARE(p.BlackTransparent, QvFalse);
  QCOMPARE(p.CelsAcross, Integer(1));
  QCOMPARE(p.Width, Integer(100));
  // Entries stay in creation order; nothing sorts them.
  QCOMPARE(ws.win.List_Zorder,
           (QVector<ZorderEntry>{{"01.bmp", 1}, {"02.bmp", 2}, {"04.bmp", 4}, {"03.bmp", 3}}));
  AddPane(ws);
  QCOMPARE(ws.CurrentPane, 5);
}

void TestPanes::addShowsInFrontUntilRedraw() {
  TestBench b;
  Workspace& ws = b.ws;
  placePane(ws, 1, 0, 0, 200, 200, Red);
  ws.win.List_Zorder.append({"01.bmp", 1});
  RedrawBoard(ws);
  ws.picSprites.Image().fill(toQRgb(Purple));
  ws.picMasks.Image().fill(toQRgb(Green));
  const QImage spritesBefore = ws.picSprites.Image().copy();
  const QImage masksBefore = ws.picMasks.Image().copy();

  AddPane(ws);
  QCOMPARE(ws.CurrentPane, 2);
  // On the Board: the shrunk default picture at (50, 50) over slot 1.
  QVERIFY(holdsHalfDefault(ws.picStage.Image(), 50, 50));
  QCOMPARE(stage(ws, 49, 49), Red);
  QCOMPARE(stage(ws, 150, 150), Red);
  QCOMPARE(stage(ws, 199, 199), Red);
  QCOMPARE(stage(ws, 200, 100), Grey);

  // Sprite cell (200, 0): its top-left 100 x 100 only; the mask is untouched.
  const QImage& sprites = ws.picSprites.Image();
  QVERIFY(holdsHalfDefault(sprites, 200, 0));
  for (int y = 0; y < SheetHeight; y += 3)
    for (int x = 0; x < SheetWidth; x += 3) {
      if (x >= 200 && x < 300 && y < 100) continue;
      if (sprites.pixel(x, y) != spritesBefore.pixel(x, y)) QFAIL("sprite pixel outside the new area");
    }
  QCOMPARE(px(sprites, 300, 0), Purple);
  QCOMPARE(px(sprites, 200, 100), Purple);
  QCOMPARE(px(sprites, 199, 0), Purple);
  QCOMPARE(ws.picMasks.Image(), masksBefore);
  QCOMPARE(ws.picSprites.Picture(), ws.picSprites.Image());
  QCOMPARE(ws.win.List_Zorder, (QVector<ZorderEntry>{{"01.bmp", 1}, {"02.bmp", 2}}));

  // The next redraw puts it behind slot 1 (whose cell is now all purple).
  RedrawBoard(ws);
  QCOMPARE(stage(ws, 60, 60), Purple);
  QCOMPARE(stage(ws, 149, 149), Purple);
}

void TestPanes::fiftyPanesAndNoMore() {
  TestBench b;
  Workspace& ws = b.ws;
  addPanes(ws, 50);
  QCOMPARE(ws.PaneCount, Integer(50));
  QCOMPARE(ws.win.List_Zorder.size(), 50);
  for (int n = 1; n <= 50; ++n) {
    QVERIFY(isSet(ws.Pane(n).InUse));
    QCOMPARE(ws.win.List_Zorder[n - 1], (ZorderEntry{QStringLiteral("%1.bmp").arg(n, 2, 10, QLatin1Char('0')), n}));
  }
  QVERIFY(holdsHalfDefault(ws.picSprites.Image(), 800, 1800));
  QCOMPARE(ws.CurrentPane, 50);

  const auto table = ws.PaneTable;
  const auto zorder = ws.win.List_Zorder;
  const QImage sprites = ws.picSprites.Image().copy();
  ws.picStage.Image().fill(toQRgb(Green));
  const QImage greenBoard = ws.picStage.Image().copy();
  AddPane(ws);
  QCOMPARE(ws.PaneCount, Integer(50));
  QVERIFY(ws.PaneTable == table);
  QCOMPARE(ws.win.List_Zorder, zorder);
  QCOMPARE(ws.picSprites.Image(), sprites);
  QCOMPARE(ws.picStage.Image(), greenBoard);
  QCOMPARE(ws.CurrentPane, 50);
  QVERIFY(b.platform.log.isEmpty());
  QCOMPARE(ws.picStage.Pointer, MousePointer::Arrow);

  // A count out of step with a full table still adds nothing.
  ws.PaneCount = 10;
  AddPane(ws);
  QVERIFY(ws.PaneTable == table);
  QCOMPARE(ws.win.List_Zorder, zorder);
  QCOMPARE(ws.PaneCount, Integer(10));
}

void TestPanes::removeAsksAndNoKeepsAll() {
  TestBench b;
  Workspace& ws = b.ws;
  addPanes(ws, 3);
  RedrawBoard(ws);
  ws.CurrentPane = 3;
  const auto table = ws.PaneTable;
  const auto zorder = ws.win.List_Zorder;
  const QImage sprites = ws.picSprites.Image().copy();
  const QImage masks = ws.picMasks.Image().copy();
  const QImage board = ws.picStage.Image().copy();

  ConfirmRemovePane(ws);  // no answer scripted: No
  QCOMPARE(b.platform.log, QStringList{"AskYesNo|Remove Pane - 3|Really remove this Pane ?"});
  QVERIFY(ws.PaneTable == table);
  QCOMPARE(ws.win.List_Zorder, zorder);
  QCOMPARE(ws.PaneCount, Integer(3));
  QCOMPARE(ws.picSprites.Image(), sprites);
  QCOMPARE(ws.picMasks.Image(), masks);
  QCOMPARE(ws.picStage.Image(), board);
  QCOMPARE(ws.CurrentPane, 3);
}

void TestPanes::removeFreesSlotAndCells() {
  TestBench b;
  Workspace& ws = b.ws;
  addPanes(ws, 3);
  ws.Pane(1).Left = 300;
  ws.Pane(2).Left = 500;
  ws.Pane(2).Top = 400;
  PaneRecord& p = ws.Pane(3);
  p.Left = 20;
  p.Top = 30;
  p.CelsAcross = 2;
  p.CelCount = 2;
  p.PictureLoaded = QvTrue;
  p.StartValue = 42;
  p.Label = QStringLiteral("Moon");
  p.BlackTransparent = QvTrue;
  ws.win.List_Zorder[2].Text = QStringLiteral("Moon");
  ws.win.List_Zorder.append({"dup", 3});
  ws.picSprites.Image().fill(toQRgb(Purple));
  ws.picMasks.Image().fill(toQRgb(White));
  EnablePaneMenus(ws);
  ws.Dragging = QvTrue;
  ws.HoverFound = QvTrue;
  ws.win.Lab_Readouts = QStringLiteral("Layer: 3, (x: 20) (y: 30)");
  RedrawBoard(ws);
  ws.CurrentPane = 3;
  const PaneRecord one = ws.Pane(1), two = ws.Pane(2);
  const PaneRecord before = p;

  b.platform.yesNoAnswers.enqueue(true);
  ConfirmRemovePane(ws);
  QCOMPARE(b.platform.calls("AskYesNo"), QStringList{"AskYesNo|Remove Pane - 3|Really remove this Pane ?"});

  // The slot is free; only the freed fields changed.
  PaneRecord expected = before;
  expected.InUse = QvFalse;
  expected.PictureLoaded = QvFalse;
  expected.Width = expected.Height = expected.Left = expected.Top = 0;
  expected.CelCount = 1;
  QVERIFY(ws.Pane(3) == expected);
  QVERIFY(ws.Pane(1) == one);
  QVERIFY(ws.Pane(2) == two);
  QCOMPARE(ws.PaneCount, Integer(2));

  // Sprite cell (400, 0) shows bitmap 101, the mask cell is all black, over
  // the full 200 x 200; the neighbouring cells keep their pixels.
  QCOMPARE(ws.picSprites.Image().copy(400, 0, 200, 200), LoadResPicture(DefaultPanePictureId));
  QVERIFY(blockIs(ws.picMasks.Image(), 400, 0, 200, 200, Black));
  QVERIFY(blockIs(ws.picMasks.Image(), 600, 0, 400, 200, White));
  QVERIFY(blockIs(ws.picMasks.Image(), 0, 200, 1000, 10, White));
  QVERIFY(blockIs(ws.picSprites.Image(), 0, 0, 400, 200, Purple));
  QVERIFY(blockIs(ws.picSprites.Image(), 400, 200, 200, 10, Purple));
  QCOMPARE(ws.picSprites.Picture(), ws.picSprites.Image());
  QCOMPARE(ws.picMasks.Picture(), ws.picMasks.Image());

  // Only the first entry carrying slot 3 leaves the layer list.
  QCOMPARE(ws.win.List_Zorder, (QVector<ZorderEntry>{{"01.bmp", 1}, {"02.bmp", 2}, {"dup", 3}}));

  // Window state after removal, and the Board redrawn without it.
  QVERIFY(!ws.win.Shape1[0].Visible);
  QCOMPARE(ws.Dragging, QvFalse);
  QCOMPARE(ws.HoverFound, QvFalse);
  QCOMPARE(ws.win.Lab_Readouts, IdleReadout);
  QVERIFY(!ws.win.menuEnabled("mnu_RemovePane"));
  QVERIFY(!ws.win.menuEnabled("mnu_EditPane"));
  QVERIFY(ws.win.menuEnabled("mnu_AddCustomPane"));
  QCOMPARE(ws.CurrentPane, 1);
  QCOMPARE(stage(ws, 25, 35), Grey);
  QCOMPARE(stage(ws, 310, 60), Purple);
  QCOMPARE(stage(ws, 510, 410), Purple);

  // The next Add reuses slot 3 with fresh defaults.
  AddPane(ws);
  QCOMPARE(ws.CurrentPane, 3);
  QCOMPARE(ws.Pane(3).Label, QStringLiteral("03.bmp"));
  QCOMPARE(ws.Pane(3).StartValue, Integer(20));
  QCOMPARE(ws.Pane(3).BlackTransparent, QvFalse);
  QCOMPARE(ws.Pane(3).CelsAcross, Integer(1));
  QCOMPARE(ws.PaneCount, Integer(3));
}

void TestPanes::removeActsOnTargetWhenBoxShown() {
  TestBench b;
  Workspace& ws = b.ws;
  addPanes(ws, 3);
  ws.TargetPane = 2;
  ws.win.Shape1[0].Visible = true;
  ws.CurrentPane = 3;
  b.platform.yesNoAnswers.enqueue(true);
  ConfirmRemovePane(ws);
  QCOMPARE(b.platform.calls("AskYesNo"), QStringList{"AskYesNo|Remove Pane - 3|Really remove this Pane ?"});
  QVERIFY(!isSet(ws.Pane(2).InUse));
  QVERIFY(isSet(ws.Pane(3).InUse));
  QVERIFY(isSet(ws.Pane(1).InUse));
  QCOMPARE(ws.win.List_Zorder, (QVector<ZorderEntry>{{"01.bmp", 1}, {"03.bmp", 3}}));
  QVERIFY(!ws.win.Shape1[0].Visible);
  QVERIFY(blockIs(ws.picMasks.Image(), 200, 0, 200, 200, Black));
}

void TestPanes::paneCountNeverBelowZero() {
  TestBench b;
  Workspace& ws = b.ws;
  AddPane(ws);
  ws.CurrentPane = 1;
  RemovePane(ws);
  QCOMPARE(ws.PaneCount, Integer(0));
  QVERIFY(ws.win.List_Zorder.isEmpty());
  RemovePane(ws);
  QCOMPARE(ws.PaneCount, Integer(0));
  QVERIFY(ws.win.List_Zorder.isEmpty());
  // A slot outside the table stops the removal before anything changes.
  ws.CurrentPane = 51;
  QVERIFY_THROWS_EXCEPTION(SlotOutOfRange, RemovePane(ws));
  QCOMPARE(ws.PaneCount, Integer(0));
}

void TestPanes::composite() {
  TestBench b;
  Workspace& ws = b.ws;
  placePane(ws, 2, 100, 100, 60, 60, Red);
  placePane(ws, 5, 130, 130, 60, 60, Blue);
  ws.win.List_Zorder = {{"02.bmp", 2}, {"05.bmp", 5}};
  RedrawBoard(ws);
  const QImage oldBack = ws.picBackground.Picture();

  CompositePanes(ws);  // No
  QCOMPARE(b.platform.log, QStringList{"AskYesNo|Composite Panes - |Really duplicate Panes to the Background ?"});
  QCOMPARE(ws.picBackground.Picture(), oldBack);

  const auto table = ws.PaneTable;
  const QImage board = ws.picStage.Image().copy();
  b.platform.yesNoAnswers.enqueue(true);
  CompositePanes(ws);
  QCOMPARE(ws.picBackground.Picture(), board);
  QCOMPARE(px(ws.picBackground.Picture(), 140, 140), Red);
  QCOMPARE(px(ws.picBackground.Picture(), 180, 180), Blue);
  QCOMPARE(px(ws.picBackground.Picture(), 10, 10), Grey);
  QVERIFY(ws.PaneTable == table);
  QCOMPARE(ws.win.List_Zorder.size(), 2);
  QCOMPARE(ws.BoardSettings.UseBackPicture, QvFalse);
  QCOMPARE(ws.BoardSettings.BackPictureName, QStringLiteral("none"));

  // The Background is not in use: moved Panes leave the plain colour behind.
  ws.Pane(2).Left = 400;
  ws.Pane(5).Left = 600;
  RedrawBoard(ws);
  QCOMPARE(stage(ws, 140, 140), Grey);
  QCOMPARE(stage(ws, 180, 180), Grey);
  // Switched on, the composited Panes show in the Background.
  ws.BoardSettings.UseBackPicture = QvTrue;
  RedrawBoard(ws);
  QCOMPARE(stage(ws, 140, 140), Red);
  QCOMPARE(stage(ws, 180, 180), Blue);
  QCOMPARE(stage(ws, 410, 110), Red);

  // A second Composite with the Background in use keeps it and adds the Panes.
  b.platform.yesNoAnswers.enqueue(true);
  CompositePanes(ws);
  ws.Pane(2).Left = 0;
  ws.Pane(2).Top = 500;
  RedrawBoard(ws);
  QCOMPARE(stage(ws, 410, 110), Red);
  QCOMPARE(stage(ws, 140, 140), Red);
  QCOMPARE(stage(ws, 10, 510), Red);
  QCOMPARE(ws.picBackground.Picture().size(), QSize(800, 600));
}

void TestPanes::slotRules() {
  TestBench b;
  Workspace& ws = b.ws;
  QVERIFY_THROWS_EXCEPTION(SlotOutOfRange, ws.Pane(51));
  QVERIFY_THROWS_EXCEPTION(SlotOutOfRange, ws.Pane(-1));
  QVERIFY_THROWS_EXCEPTION(SlotOutOfRange, ws.RunPane(51));
  try {
    ws.Pane(51);
  } catch (const SlotOutOfRange& e) {
    QCOMPARE(e.slot, 51);
  }
  ws.Pane(0);
  ws.Pane(50);

  // ResetSlot frees the slot and zeroes position and size only.
  addPanes(ws, 2);
  PaneRecord& p = ws.Pane(2);
  p.CelCount = 6;
  p.Label = QStringLiteral("kept");
  p.Speed = 3;
  const PaneRecord before = p;
  ResetSlot(p);
  PaneRecord expected = before;
  expected.InUse = QvFalse;
  expected.CelCount = 1;
  expected.Left = expected.Top = expected.Width = expected.Height = 0;
  QVERIFY(p == expected);

  // FindFreeSlot: the first slot from 1 up that is not in use.
  TestBench fresh;
  QCOMPARE(FindFreeSlot(fresh.ws), 1);
  for (int n : {1, 2, 4}) fresh.ws.Pane(n).InUse = QvTrue;
  QCOMPARE(FindFreeSlot(fresh.ws), 3);
  QCOMPARE(CountPanesInUse(fresh.ws), 3);
  for (int n = 1; n <= 50; ++n) fresh.ws.Pane(n).InUse = QvTrue;
  fresh.ws.Pane(0).InUse = QvFalse;
  QCOMPARE(FindFreeSlot(fresh.ws), 0);
  // Only exactly True marks a slot in use.
  fresh.ws.Pane(17).InUse = 1;
  QCOMPARE(FindFreeSlot(fresh.ws), 17);
  QCOMPARE(CountPanesInUse(fresh.ws), 49);
}

QTEST_GUILESS_MAIN(TestPanes)
#include "test_panes.moc"
