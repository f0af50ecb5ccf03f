// Adding, removing and compositing Panes, and the slot rules they rest on.
#include "support/Fixtures.h"

using namespace qv;

namespace {

// The default picture shrunk to 100 x 100, as a new Pane shows it.
QImage halfDefault() {
  QImage img(100, 100, QImage::Format_RGB32);
  PaintPicture(img, LoadResPicture(DefaultPanePictureId), 0, 0, 100, 100);
  return img;
}

QImage withBlock(QImage img, int x, int y, const QImage& block) {
  BitBlt(img, x, y, block.width(), block.height(), block, 0, 0, RasterOp::SRCCOPY);
  return img;
}

const QString RemoveQuestion = QStringLiteral("AskYesNo|Remove Pane - 3|Really remove this Pane ?");

}  // namespace

class TestPanes : public QObject {
  Q_OBJECT
 private slots:
  void addDefaultsAndPicture() {
    HeadlessSession s;
    Workspace& ws = s.ws;
    placeSolid(ws, 1, 0, 0, 200, 200, Red);
    placeSolid(ws, 2, 300, 0, 20, 20, Red);
    ws.project.List_Zorder.append({"one", 1});
    // RunMode-only fields, set beforehand, are not written by Add.
    setFields(ws.Pane(3), "Value=77 Flashing=-1 MouseOver=-1 SpareFlag=-1 CelColumn=4 CelRow=5 MoveDelayCount=6 CelWrapFlag=7");
    RedrawBoard(ws);
    ws.project.picSprites.Image().fill(toQRgb(Purple));
    const QImage sprites = ws.project.picSprites.Image().copy(), masks = ws.project.picMasks.Image().copy(),
                 board = ws.surfaces.picStage.Image().copy();
    ws.surfaces.picStage.Pointer = MousePointer::Default;
    AddPane(ws);
    QCOMPARE(ws.project.PaneCount, Integer(3));
    QCOMPARE(ws.pointer.CurrentPane, 3);
    QStringList got;
    for (const PaneField& f : PaneFields())
      got << QStringLiteral("%1=%2").arg(f.name, f.kind == FieldKind::Text ? f.text(ws.Pane(3)) : QString::number(f.number(ws.Pane(3))));
    // Every field in table order, as golden/new_pane.txt lists them.
    QStringList expected;
    for (const QByteArray& row : dataRows(QUORVEL_GOLDEN_DIR "/new_pane.txt")) expected << QString(row).replace("%1", DefaultPaneUrl);
    QCOMPARE(got, expected);
    // The shrunk default picture: in the top-left of sprite cell (400, 0),
    // and at (50, 50) on the Board in front of everything until the next
    // redraw. The mask is untouched; the layer list has a new last entry.
    QCOMPARE(ws.project.picSprites.Image(), withBlock(sprites, 400, 0, halfDefault()));
    QCOMPARE(ws.project.picSprites.Picture(), ws.project.picSprites.Image());
    QCOMPARE(ws.project.picMasks.Image(), masks);
    QCOMPARE(ws.surfaces.picStage.Image(), withBlock(board, 50, 50, halfDefault()));
    QCOMPARE(ws.project.List_Zorder, (QVector<ZorderEntry>{{"one", 1}, {"03.bmp", 3}}));
    // Not made the Target; no question asked; pointer back to the arrow.
    QVERIFY(ws.pointer.TargetPane == 0 && !ws.win.Shape1[0].Visible && s.platform.log.isEmpty());
    QCOMPARE(ws.surfaces.picStage.Pointer, MousePointer::Arrow);
    RedrawBoard(ws);  // now behind slot 1, whose cell is all purple
    QCOMPARE(ws.surfaces.picStage.Image(), boardModel({800, 600}, Grey, {{{300, 0, 20, 20}, Purple}, {{0, 0, 200, 200}, Purple}}));
  }

  void fiftyPanesAndNoMore() {
    HeadlessSession s;
    Workspace& ws = s.ws;
    for (int i = 0; i < 50; ++i) AddPane(ws);
    QVERIFY(ws.project.PaneCount == 50 && ws.project.List_Zorder.size() == 50 && ws.project.List_Zorder.last() == (ZorderEntry{"50.bmp", 50}));
    QCOMPARE(QPoint(ws.Pane(50).SheetX, ws.Pane(50).SheetY), QPoint(800, 1800));
    // Each new Pane 20 pixels right of and below the one before, while that
    // keeps it on the 800 x 600 Board; then at (50, 50) again.
    for (int n : {1, 2, 23, 24})
      QCOMPARE(QPoint(ws.Pane(n).Left, ws.Pane(n).Top), n < 24 ? QPoint(30 + 20 * n, 30 + 20 * n) : QPoint(50, 50));
    QCOMPARE(FindFreeSlot(ws), 0);
    // The 51st Add changes nothing and says nothing: with the table full,
    // with the count out of step with it, and with a free slot at 50 Panes.
    ws.surfaces.picStage.Image().fill(toQRgb(Green));
    for (Integer count : {Integer(50), Integer(10), Integer(50)}) {
      if (count == 50 && ws.project.PaneCount == 10) ws.Pane(17).InUse = 1;  // only exactly True is in use
      ws.project.PaneCount = count;
      const auto table = ws.project.PaneTable;
      const auto zorder = ws.project.List_Zorder;
      const QImage sprites = ws.project.picSprites.Image().copy();
      AddPane(ws);
      QVERIFY(ws.project.PaneCount == count && ws.project.PaneTable == table && ws.project.List_Zorder == zorder);
      QCOMPARE(ws.project.picSprites.Image(), sprites);
      QCOMPARE(ws.surfaces.picStage.Image(), boardModel({800, 600}, Green, {}));
      QVERIFY(ws.pointer.CurrentPane == 50 && s.platform.log.isEmpty() && ws.surfaces.picStage.Pointer == MousePointer::Arrow);
    }
    QCOMPARE(FindFreeSlot(ws), 17);
    QCOMPARE(CountPanesInUse(ws), 49);
  }

  void remove() {
    HeadlessSession s;
    Workspace& ws = s.ws;
    for (int i = 0; i < 4; ++i) AddPane(ws);
    ws.Pane(1).Left = 300;
    ws.Pane(2).Left = ws.Pane(2).Top = 400;
    fillPane(ws.Pane(3), 3);
    ws.project.List_Zorder.append({"dup", 3});
    ws.project.picSprites.Image().fill(toQRgb(Purple));
    ws.project.picMasks.Image().fill(toQRgb(White));
    EnablePaneMenus(ws);
    ws.pointer.Dragging = ws.pointer.HoverFound = QvTrue;
    ws.win.Lab_Readouts = QStringLiteral("Layer: 3, (x: 20) (y: 30)");
    RedrawBoard(ws);
    ws.pointer.CurrentPane = 3;
    const auto table = ws.project.PaneTable;
    const auto zorder = ws.project.List_Zorder;
    const QImage sprites = ws.project.picSprites.Image().copy(), masks = ws.project.picMasks.Image().copy(),
                 board = ws.surfaces.picStage.Image().copy();
    // Answered No: nothing changes.
    ConfirmRemovePane(ws);
    QVERIFY(s.platform.log == QStringList{RemoveQuestion} && ws.project.PaneTable == table && ws.project.List_Zorder == zorder);
    QVERIFY(ws.project.picSprites.Image() == sprites && ws.project.picMasks.Image() == masks && ws.surfaces.picStage.Image() == board);
    // Yes: the slot is free and only the freed fields changed.
    s.platform.yesNoAnswers.enqueue(true);
    ConfirmRemovePane(ws);
    QCOMPARE(s.platform.log, (QStringList{RemoveQuestion, RemoveQuestion}));
    // ResetSlot frees a slot and zeroes its place and size; removing also
    // forgets the picture and gives the slot its cell back.
    auto expected = table;
    ResetSlot(expected[3]);
    setFields(expected[3], "PictureLoaded=0 SheetX=400 SheetY=0");
    QVERIFY(ws.project.PaneTable == expected && ws.project.PaneCount == 3);
    // Its cells show bitmap 101 and black over the full 200 x 200.
    QCOMPARE(ws.project.picSprites.Image(), withBlock(sprites, 400, 0, LoadResPicture(DefaultPanePictureId)));
    QCOMPARE(ws.project.picMasks.Image(), withBlock(masks, 400, 0, LoadResPicture(BlackBitmapId)));
    // Only the first entry carrying slot 3 leaves the layer list.
    QCOMPARE(ws.project.List_Zorder, (QVector<ZorderEntry>{{"01.bmp", 1}, {"02.bmp", 2}, {"04.bmp", 4}, {"dup", 3}}));
    QVERIFY(!ws.win.Shape1[0].Visible && !isSet(ws.pointer.Dragging) && !isSet(ws.pointer.HoverFound) && ws.win.Lab_Readouts == IdleReadout);
    QVERIFY(!ws.win.menuEnabled(Command::RemovePane) && ws.win.menuEnabled(Command::AddCustomPane));
    // The Board is redrawn without it.
    QCOMPARE(ws.surfaces.picStage.Image(),
             boardModel({800, 600}, Grey, {{{110, 110, 100, 100}, Purple}, {{400, 400, 100, 100}, Purple}, {{300, 50, 100, 100}, Purple}}));
    // With the target box shown the Target is removed, whatever CurrentPane is.
    ws.pointer.TargetPane = 2;
    ws.pointer.CurrentPane = 4;
    ws.win.Shape1[0].Visible = true;
    s.platform.yesNoAnswers.enqueue(true);
    ConfirmRemovePane(ws);
    QVERIFY(!isSet(ws.Pane(2).InUse) && isSet(ws.Pane(4).InUse) && !ws.win.Shape1[0].Visible);
    // The count never goes below zero; a slot outside the table stops the
    // removal before anything changes.
    ws.project.PaneCount = 0;
    RemovePane(ws);
    QCOMPARE(ws.project.PaneCount, Integer(0));
    ws.project.PaneCount = 3;
    ws.pointer.CurrentPane = 51;
    QVERIFY_THROWS_EXCEPTION(SlotOutOfRange, RemovePane(ws));
    QCOMPARE(ws.project.PaneCount, Integer(3));
  }

  void composite() {
    HeadlessSession s;
    Workspace& ws = s.ws;
    placeSolid(ws, 2, 100, 100, 60, 60, Red);
    placeSolid(ws, 5, 130, 130, 60, 60, Blue);
    RedrawBoard(ws);
    const QImage oldBack = ws.project.picBackground.Picture(), board = ws.surfaces.picStage.Image().copy();
    const auto table = ws.project.PaneTable;
    CompositePanes(ws);  // No
    QVERIFY(s.platform.log == QStringList{"AskYesNo|Composite Panes - |Really duplicate Panes to the Background ?"} &&
            ws.project.picBackground.Picture() == oldBack);
    // Yes: the Board as it is becomes the Background; the Panes stay, and the
    // Background is not switched on.
    s.platform.yesNoAnswers.enqueue(true);
    CompositePanes(ws);
    QCOMPARE(ws.project.picBackground.Picture(), board);
    QVERIFY(ws.project.PaneTable == table && ws.project.BoardSettings.UseBackPicture == QvFalse);
  }
};

QTEST_GUILESS_MAIN(TestPanes)
#include "test_panes.moc"
