// Board redraws (full, layered drag, floating drag), the hover test, the two
// highlight boxes and fitting the Background to the Board.
#include "imaging/Background.h"
#include "imaging/BoardRender.h"
#include "imaging/SheetFixtures.h"
#include "resources/Resources.h"
#include "shell/BoardSizes.h"
#include "shell/Setups.h"
#include "support/FakePlatform.h"

#include <QTest>

using namespace qv;
using namespace qv::fixtures;

class TestBoardRender : public QObject {
  Q_OBJECT
 private slots:
  void layerOrderAndRedrawErases();
  void multiCelShowsFirstCel();
  void currentPaneAfterRedraw();
  void backgroundOrColour();
  void layeredDrag();
  void floatingDrag();
  void hoverReadoutAndEdges();
  void hoverFirstSlotAndCels();
  void hoverRunning();
  void hoverRefusedUnderHourglass();
  void boxes();
  void fitBackground();
};

namespace {
Long stage(const Workspace& ws, int x, int y) { return px(ws.picStage.Image(), x, y); }
}  // namespace

void TestBoardRender::layerOrderAndRedrawErases() {
  TestBench b;
  Workspace& ws = b.ws;
  placePane(ws, 7, 150, 150, 100, 100, Blue);
  placePane(ws, 2, 100, 100, 100, 100, Red);
  RedrawBoard(ws);
  // The overlap belongs to slot 2, drawn after slot 7.
  for (int y = 150; y < 200; y += 7)
    for (int x = 150; x < 200; x += 7) QCOMPARE(stage(ws, x, y), Red);
  QCOMPARE(stage(ws, 199, 199), Red);
  QCOMPARE(stage(ws, 200, 200), Blue);
  QCOMPARE(stage(ws, 249, 249), Blue);
  QCOMPARE(stage(ws, 250, 249), Grey);
  QCOMPARE(stage(ws, 100, 100), Red);
  QCOMPARE(stage(ws, 99, 100), Grey);

  // The same holds when slot 7 is Transparent with an opaque picture.
  ws.Pane(7).BlackTransparent = QvTrue;
  ws.CurrentPane = 7;
  BuildPaneMask(ws);
  RedrawBoard(ws);
  QCOMPARE(stage(ws, 160, 160), Red);
  QCOMPARE(stage(ws, 220, 220), Blue);

  // A redraw rebuilds the whole Board: a moved Pane leaves no trace.
  ws.Pane(2).Left = 500;
  RedrawBoard(ws);
  QCOMPARE(stage(ws, 160, 160), Blue);
  QCOMPARE(stage(ws, 110, 110), Grey);
  QCOMPARE(stage(ws, 510, 110), Red);
}

void TestBoardRender::multiCelShowsFirstCel() {
  TestBench b;
  Workspace& ws = b.ws;
  placePane(ws, 3, 300, 300, 100, 100, Black);
  makeCelGrid(ws, 3, Red, Blue, Green, Yellow);
  RedrawBoard(ws);
  QCOMPARE(stage(ws, 300, 300), Red);
  QCOMPARE(stage(ws, 349, 349), Red);
  QCOMPARE(stage(ws, 350, 300), Grey);
  QCOMPARE(stage(ws, 300, 350), Grey);
  QCOMPARE(stage(ws, 380, 380), Grey);
}

void TestBoardRender::currentPaneAfterRedraw() {
  TestBench b;
  Workspace& ws = b.ws;
  placePane(ws, 9, 0, 0, 50, 50, Red);
  ws.CurrentPane = 9;
  RedrawBoard(ws);
  QCOMPARE(ws.CurrentPane, 1);
  QVERIFY(!isSet(ws.Pane(1).InUse));
  // With no Pane at all, only the Board colour shows.
  TestBench empty;
  empty.ws.CurrentPane = 30;
  empty.ws.picStage.Image().fill(toQRgb(Red));
  RedrawBoard(empty.ws);
  QCOMPARE(empty.ws.CurrentPane, 1);
  QCOMPARE(stage(empty.ws, 0, 0), Grey);
  QCOMPARE(stage(empty.ws, 799, 599), Grey);
}

void TestBoardRender::backgroundOrColour() {
  TestBench b;
  Workspace& ws = b.ws;
  ws.picBackground.SetPicture(patternPicture(800, 600));
  placePane(ws, 4, 200, 200, 50, 50, Red);
  ws.BoardSettings.UseBackPicture = QvFalse;
  RedrawBoard(ws);
  QCOMPARE(stage(ws, 10, 20), Grey);
  QCOMPARE(stage(ws, 799, 599), Grey);
  QCOMPARE(stage(ws, 210, 210), Red);

  ws.BoardSettings.UseBackPicture = QvTrue;
  RedrawBoard(ws);
  QCOMPARE(stage(ws, 10, 20), patternAt(10, 20));
  QCOMPARE(stage(ws, 799, 599), patternAt(799, 599));
  QCOMPARE(stage(ws, 210, 210), Red);

  // Only exactly True counts: any other value is the plain colour.
  ws.BoardSettings.UseBackPicture = 1;
  RedrawBoard(ws);
  QCOMPARE(stage(ws, 10, 20), Grey);

  // A Transparent Pane lets the Background through its true black.
  ws.BoardSettings.UseBackPicture = QvTrue;
  fill(ws.picSprites.Image(), ws.Pane(4).SheetX, ws.Pane(4).SheetY, 25, 50, Black);
  ws.Pane(4).BlackTransparent = QvTrue;
  ws.CurrentPane = 4;
  BuildPaneMask(ws);
  RedrawBoard(ws);
  QCOMPARE(stage(ws, 210, 210), patternAt(210, 210));
  QCOMPARE(stage(ws, 230, 210), Red);
}

void TestBoardRender::layeredDrag() {
  TestBench b;
  Workspace& ws = b.ws;
  placePane(ws, 1, 0, 0, 200, 200, Red);
  placePane(ws, 4, 400, 400, 100, 100, Blue);
  RedrawBoard(ws);
  ws.CurrentPane = 4;
  ws.MouseX = 150;
  ws.MouseY = 150;
  RedrawBoardDrag(ws);
  QCOMPARE(ws.CurrentPane, 4);
  // Dragged into slot 1's area, slot 4 stays behind it.
  QCOMPARE(stage(ws, 160, 160), Red);
  QCOMPARE(stage(ws, 199, 199), Red);
  QCOMPARE(stage(ws, 200, 200), Blue);
  QCOMPARE(stage(ws, 249, 249), Blue);
  QCOMPARE(stage(ws, 160, 249), Blue);
  QCOMPARE(stage(ws, 249, 160), Blue);
  QCOMPARE(stage(ws, 250, 160), Grey);
  // Its table position is unchanged, but nothing is drawn there.
  QCOMPARE(ws.Pane(4).Left, Integer(400));
  QCOMPARE(stage(ws, 420, 420), Grey);

  // A Pane with several Cels shows only its first Cel while dragged.
  makeCelGrid(ws, 4, Green, Yellow, Purple, Blue);
  ws.MouseX = 300;
  ws.MouseY = 300;
  RedrawBoardDrag(ws);
  QCOMPARE(stage(ws, 300, 300), Green);
  QCOMPARE(stage(ws, 349, 349), Green);
  QCOMPARE(stage(ws, 360, 310), Grey);
  QCOMPARE(stage(ws, 310, 360), Grey);
}

void TestBoardRender::floatingDrag() {
  TestBench b;
  Workspace& ws = b.ws;
  placePane(ws, 1, 100, 100, 200, 200, Red);
  placePane(ws, 4, 500, 400, 100, 100, Black);
  makeCelGrid(ws, 4, Green, Yellow, Purple, Blue);
  ws.CurrentPane = 4;
  ws.MouseX = 150;
  ws.MouseY = 150;
  RedrawBoardDragFloat(ws);
  // The whole 2 x 2 grid lies above slot 1.
  QCOMPARE(stage(ws, 150, 150), Green);
  QCOMPARE(stage(ws, 199, 199), Green);
  QCOMPARE(stage(ws, 200, 150), Yellow);
  QCOMPARE(stage(ws, 249, 199), Yellow);
  QCOMPARE(stage(ws, 150, 200), Purple);
  QCOMPARE(stage(ws, 249, 249), Blue);
  QCOMPARE(stage(ws, 250, 250), Red);
  QCOMPARE(stage(ws, 149, 149), Red);
  // Nothing at its table position.
  QCOMPARE(stage(ws, 510, 410), Grey);
  // Afterwards the dragged slot is in use again and entry 0 is free.
  QVERIFY(isSet(ws.Pane(4).InUse));
  QVERIFY(!isSet(ws.Pane(0).InUse));
  QCOMPARE(ws.CurrentPane, 4);

  // A Transparent dragged Pane keeps its mask: black shows slot 1 through.
  fill(ws.picSprites.Image(), ws.Pane(4).SheetX, ws.Pane(4).SheetY, 50, 50, Black);
  ws.Pane(4).BlackTransparent = QvTrue;
  BuildPaneMask(ws);
  RedrawBoardDragFloat(ws);
  QCOMPARE(stage(ws, 160, 160), Red);
  QCOMPARE(stage(ws, 210, 160), Yellow);
  QVERIFY(isSet(ws.Pane(4).InUse));
  QVERIFY(!isSet(ws.Pane(0).InUse));
}

void TestBoardRender::hoverReadoutAndEdges() {
  TestBench b;
  Workspace& ws = b.ws;
  placePane(ws, 3, 50, 50, 100, 100, Red);
  auto hoverAt = [&](double x, int y) {
    ws.MouseX = x;
    ws.MouseY = Integer(y);
    HoverPaneAt(ws);
    return isSet(ws.HoverFound);
  };
  QVERIFY(hoverAt(50, 50));
  QCOMPARE(ws.win.Lab_Readouts, QStringLiteral("Layer: 3, (x: 50) (y: 50)"));
  QCOMPARE(ws.CurrentPane, 3);
  const ControlState& hb = ws.win.Shape1[1];
  QVERIFY(hb.Visible);
  QCOMPARE(QRect(hb.Left, hb.Top, hb.Width, hb.Height), QRect(50, 50, 100, 100));
  // The readout carries the Pane's position, not the pointer's.
  QVERIFY(hoverAt(120, 90));
  QCOMPARE(ws.win.Lab_Readouts, QStringLiteral("Layer: 3, (x: 50) (y: 50)"));

  // Right and bottom edges are inside; one pixel further is outside.
  QVERIFY(hoverAt(150, 150));
  QVERIFY(hoverAt(150, 50));
  QVERIFY(!hoverAt(151, 100));
  QCOMPARE(ws.win.Lab_Readouts, IdleReadout);
  QVERIFY(!hoverAt(100, 151));
  QVERIFY(!hoverAt(49, 100));
  QVERIFY(!hoverAt(100, 49));
  QCOMPARE(ws.win.Lab_Readouts, IdleReadout);

  // An invisible Pane is still found in Design.
  ws.Pane(3).Visible = QvFalse;
  QVERIFY(hoverAt(100, 100));
  QCOMPARE(ws.CurrentPane, 3);
}

void TestBoardRender::hoverFirstSlotAndCels() {
  TestBench b;
  Workspace& ws = b.ws;
  placePane(ws, 5, 100, 100, 100, 100, Red);
  placePane(ws, 2, 150, 150, 100, 100, Blue);
  ws.MouseX = 160;
  ws.MouseY = 160;
  HoverPaneAt(ws);
  QCOMPARE(ws.CurrentPane, 2);
  QCOMPARE(ws.win.Lab_Readouts, QStringLiteral("Layer: 2, (x: 150) (y: 150)"));
  ws.MouseX = 120;
  HoverPaneAt(ws);
  QCOMPARE(ws.CurrentPane, 5);

  // A Pane with Cels is hit only over its first Cel; the hover box still
  // covers the whole used area.
  makeCelGrid(ws, 2, Red, Red, Red, Red);
  ws.MouseX = 201;
  ws.MouseY = 160;
  HoverPaneAt(ws);
  QVERIFY(!isSet(ws.HoverFound));
  ws.MouseX = 200;
  HoverPaneAt(ws);
  QCOMPARE(ws.CurrentPane, 2);
  QCOMPARE(ws.win.Shape1[1].Width, 100);

  // With the target box hidden the Target items are greyed; shown, not.
  EnablePaneMenus(ws);
  ws.win.Shape1[0].Visible = true;
  ws.MouseX = 700;
  HoverPaneAt(ws);
  QVERIFY(ws.win.menuEnabled("mnu_EditPane"));
  ws.win.Shape1[0].Visible = false;
  HoverPaneAt(ws);
  QVERIFY(!ws.win.menuEnabled("mnu_EditPane"));
  QVERIFY(!ws.win.menuEnabled("mnu_RemovePane"));
  QVERIFY(ws.win.menuEnabled("mnu_AddCustomPane"));
}

void TestBoardRender::hoverRunning() {
  TestBench b;
  Workspace& ws = b.ws;
  placePane(ws, 1, 50, 50, 100, 100, Red);
  placePane(ws, 2, 50, 50, 100, 100, Blue);
  placePane(ws, 3, 50, 50, 100, 100, Green);
  for (int n = 1; n <= MaxPanes; ++n) ws.RunPaneTable[size_t(n)] = ws.PaneTable[size_t(n)];
  ws.RunPane(1).Visible = QvFalse;
  ws.RunPane(2).Left = 300;
  ws.RunPane(2).Top = 320;
  ws.RunPane(1).MouseOver = ws.RunPane(2).MouseOver = QvTrue;
  ws.Running = QvTrue;
  ws.win.Shape1[1] = {0, 0, 0, 0, false, true};

  // Slot 1 is invisible and skipped; slot 2 has moved; slot 3 is found.
  ws.MouseX = 60;
  ws.MouseY = 60;
  HoverPaneAt(ws);
  QVERIFY(isSet(ws.HoverFound));
  QCOMPARE(ws.CurrentPane, 3);
  QCOMPARE(ws.win.Lab_Readouts, QStringLiteral("Layer: 3, (x: 50) (y: 50)"));
  QVERIFY(isSet(ws.RunPane(3).MouseOver));
  QVERIFY(!isSet(ws.RunPane(1).MouseOver));
  QVERIFY(!isSet(ws.RunPane(2).MouseOver));
  // The hover box is a Design aid only.
  QVERIFY(!ws.win.Shape1[1].Visible);
  QCOMPARE(ws.win.Shape1[1].Left, 0);

  // Slot 2 is hit at its RunMode position, with that position in the readout.
  ws.MouseX = 400;
  ws.MouseY = 420;
  HoverPaneAt(ws);
  QCOMPARE(ws.CurrentPane, 2);
  QCOMPARE(ws.win.Lab_Readouts, QStringLiteral("Layer: 2, (x: 300) (y: 320)"));
  QVERIFY(isSet(ws.RunPane(2).MouseOver));

  // Nothing under the pointer: idle text, every MouseOver cleared.
  ws.MouseX = 700;
  HoverPaneAt(ws);
  QVERIFY(!isSet(ws.HoverFound));
  QCOMPARE(ws.win.Lab_Readouts, IdleReadout);
  for (int n = 1; n <= 3; ++n) QVERIFY(!isSet(ws.RunPane(n).MouseOver));
}

void TestBoardRender::hoverRefusedUnderHourglass() {
  TestBench b;
  Workspace& ws = b.ws;
  placePane(ws, 3, 50, 50, 100, 100, Red);
  ws.picStage.Pointer = MousePointer::Hourglass;
  ws.win.Lab_Readouts = QStringLiteral("busy");
  ws.HoverFound = QvTrue;
  ws.CurrentPane = 8;
  EnablePaneMenus(ws);
  ws.MouseX = 60;
  ws.MouseY = 60;
  HoverPaneAt(ws);
  QCOMPARE(ws.win.Lab_Readouts, QStringLiteral("busy"));
  QVERIFY(isSet(ws.HoverFound));
  QCOMPARE(ws.CurrentPane, 8);
  QVERIFY(!ws.win.Shape1[1].Visible);
  QVERIFY(ws.win.menuEnabled("mnu_EditPane"));
}

void TestBoardRender::boxes() {
  TestBench b;
  Workspace& ws = b.ws;
  placePane(ws, 2, 300, 200, 100, 80, Red);
  makeCelGrid(ws, 2, Red, Red, Red, Red);
  ws.CurrentPane = 2;
  PlaceTargetBox(ws);
  const ControlState& tb = ws.win.Shape1[0];
  QCOMPARE(QRect(tb.Left, tb.Top, tb.Width, tb.Height), QRect(300, 200, 100, 80));
  QVERIFY(!tb.Visible);
  PlaceHoverBox(ws);
  const ControlState& hb = ws.win.Shape1[1];
  QCOMPARE(QRect(hb.Left, hb.Top, hb.Width, hb.Height), QRect(300, 200, 100, 80));
  QVERIFY(!hb.Visible);
  // While running the hover box stays where it is.
  ws.Pane(2).Left = 10;
  ws.Running = QvTrue;
  PlaceHoverBox(ws);
  QCOMPARE(hb.Left, 300);
  ws.Running = QvFalse;
  ws.Pane(2).Left = 300;

  // Both boxes shown: neither a redraw nor a Composite captures them.
  ws.win.Shape1[0].Visible = ws.win.Shape1[1].Visible = true;
  RedrawBoard(ws);
  QCOMPARE(stage(ws, 300, 200), Red);
  QCOMPARE(stage(ws, 399, 279), Grey);  // beyond the first Cel
  QCOMPARE(stage(ws, 299, 199), Grey);
  b.platform.yesNoAnswers.enqueue(true);
  CompositePanes(ws);
  const QImage& back = ws.picBackground.Picture();
  QCOMPARE(back, ws.picStage.Image());
  for (int x = 296; x < 405; ++x) {
    const Long top = px(back, x, 200), bottom = px(back, x, 279);
    QVERIFY(top == Red || top == Grey);
    QVERIFY(bottom == Grey);
  }
}

void TestBoardRender::fitBackground() {
  TestBench b;
  Workspace& ws = b.ws;
  SelectBoardSize(ws, 1);
  LayoutMainWindow(ws);
  QCOMPARE(ws.BoardWidth, Integer(640));
  QCOMPARE(ws.BoardHeight, 480);
  // 100 x 50: left half red, right half blue, with a green bottom row band.
  QImage pic(100, 50, QImage::Format_RGB32);
  pic.fill(toQRgb(Red));
  for (int y = 0; y < 50; ++y)
    for (int x = 50; x < 100; ++x) pic.setPixel(x, y, toQRgb(y >= 25 ? Green : Blue));
  ws.picResize.SetPicture(pic);
  ws.BoardSettings.UseBackPicture = QvTrue;
  FitBackgroundToBoard(ws);

  const QImage& back = ws.picBackground.Picture();
  QCOMPARE(back.size(), QSize(640, 480));
  QCOMPARE(ws.picBackground.Image(), back);
  QCOMPARE(px(back, 0, 0), Red);
  QCOMPARE(px(back, 310, 479), Red);
  QCOMPARE(px(back, 330, 0), Blue);
  QCOMPARE(px(back, 639, 230), Blue);
  QCOMPARE(px(back, 639, 250), Green);
  QCOMPARE(px(back, 639, 479), Green);
  // The Board shows it at once.
  QCOMPARE(ws.picStage.Image(), back);
  // picResize is back at rest.
  QCOMPARE(ws.picResize.Width(), 200);
  QCOMPARE(ws.picResize.Height(), 200);
  QVERIFY(!ws.picResize.AutoSize);
  QCOMPARE(ws.picResize.Picture(), LoadResPicture(DefaultPanePictureId));
  QCOMPARE(ws.picResize.Image(), LoadResPicture(DefaultPanePictureId));

  // A larger picture is shrunk onto the same Board.
  ws.picResize.SetPicture(patternPicture(1280, 960));
  FitBackgroundToBoard(ws);
  QCOMPARE(ws.picBackground.Picture().size(), QSize(640, 480));
  const Long c = px(ws.picBackground.Picture(), 100, 100);
  QVERIFY(c == patternAt(200, 200) || c == patternAt(201, 201) || c == patternAt(200, 201) ||
          c == patternAt(201, 200));
  // And a redraw with the Background in use starts from it.
  RedrawBoard(ws);
  QCOMPARE(ws.picStage.Image(), ws.picBackground.Picture());
}

QTEST_GUILESS_MAIN(TestBoardRender)
#include "test_boardrender.moc"
