// Adding, removing and compositing Panes, and the slot rules they rest on.
#include "editing/Panes.h"
#include "imaging/BoardRender.h"
#include "imaging/SheetFixtures.h"
#include "resources/Resources.h"
#include "shell/Setups.h"
#include "shell/Headless.h"

#include <QTest>

using namespace qv;
using namespace qv::fixtures;

namespace {

// The default picture shrunk to 100 x 100, as a new Pane shows it.
QImage halfDefault() {
  QImage img(100, 100, QImage::Format_RGB32);
  PaintPicture(img, LoadResPicture(DefaultPanePictureId), 0, 0, 100, 100);
  return img;
}

void addPanes(Workspace& ws, int count) {
  for (int i = 0; i < count; ++i) AddPane(ws);
}

const QString RemoveQuestion = QStringLiteral("AskYesNo|Remove Pane - 3|Really remove this Pane ?");

}  // namespace

class TestPanes : public QObject {
  Q_OBJECT
 private slots:
  void addDefaults() {
    HeadlessSession b;
    Workspace& ws = b.ws;
    // RunMode-only fields, set beforehand, are not written by Add.
    PaneRecord& pre = ws.Pane(3);
    pre.Value = 77;
    pre.Flashing = QvTrue;
    pre.CelColumn = 4;
    pre.CelRow = 5;
    pre.MoveDelayCount = 6;
    pre.CelWrapFlag = 7;
    pre.MouseOver = pre.SpareFlag = QvTrue;
    ws.surfaces.picStage.Pointer = MousePointer::Default;
    addPanes(ws, 3);
    QCOMPARE(ws.project.PaneCount, Integer(3));
    QCOMPARE(ws.pointer.CurrentPane, 3);

    // Every one of the record's fields.
    const QString expected = QStringLiteral(
        "InUse=-1;Left=50;Top=50;Width=100;Height=100;BlackTransparent=0;SheetX=400;SheetY=0;UseWriting=0;"
        "WritingText=none;WritingFontName=MS Sans Serif;WritingForeColor=0;WritingBackColor=16777215;"
        "WritingFontSize=10;WritingBold=0;WritingItalic=0;WritingUnderline=0;WritingMode=0;WritingWidth=100;"
        "WritingHeight=100;Sound=0;PictureLoaded=0;PictureName=03.bmp;UseURL=0;URL=%1;Process=0;StartValue=20;"
        "ProcessAmount=1;Value=77;Layer=3;EffectType=0;EffectDuration=0;Flashing=-1;MouseEffect=1;Visible=-1;"
        "RevealPane=0;RevealValue=1;CelWidth=0;CelHeight=0;CelsAcross=1;CelsDown=1;CelDelay=0;CelDelayCount=0;"
        "CelCount=1;CelColumn=4;CelRow=5;FlipOnBounds=0;Label=03.bmp;FlipCode=1;Direction=0;Collision=1;"
        "MoveType=0;Speed=1;MoveDelay=0;MoveDelayCount=6;CelWrapFlag=7;LifeStartValue=19;LifeEndValue=10;"
        "MouseOver=0;SpareFlag=0").arg(DefaultPaneUrl);
    const QStringList entries = expected.split(';');
    QCOMPARE(entries.size(), int(PaneFields().size()));
    for (const QString& e : entries) {
      const QString name = e.section('=', 0, 0), value = e.section('=', 1);
      const PaneField* f = PaneFieldByName(name);
      QVERIFY2(f, qPrintable(name));
      PaneRecord& p = ws.Pane(3);
      const QString got = f->kind == FieldKind::Text ? f->text(p) : QString::number(f->number(p));
      QVERIFY2(got == value, qPrintable(QStringLiteral("%1 is %2, not %3").arg(name, got, value)));
    }
    // Not made the Target; no question asked; pointer back to the arrow.
    QCOMPARE(ws.pointer.TargetPane, Integer(0));
    QVERIFY(!ws.win.Shape1[0].Visible);
    QVERIFY(b.platform.log.isEmpty());
    QCOMPARE(ws.surfaces.picStage.Pointer, MousePointer::Arrow);
  }

  void addShowsInFrontUntilRedraw() {
    HeadlessSession b;
    Workspace& ws = b.ws;
    placePane(ws, 1, 0, 0, 200, 200, Red);
    ws.win.List_Zorder.append({"01.bmp", 1});
    RedrawBoard(ws);
    ws.surfaces.picSprites.Image().fill(toQRgb(Purple));
    ws.surfaces.picMasks.Image().fill(toQRgb(Green));
    const QImage masksBefore = ws.surfaces.picMasks.Image().copy();

    AddPane(ws);
    QCOMPARE(ws.pointer.CurrentPane, 2);
    // On the Board: the shrunk default picture at (50, 50) over slot 1.
    QCOMPARE(ws.surfaces.picStage.Image().copy(50, 50, 100, 100), halfDefault());
    EXPECT_STAGE(ws, {{49, 49, Red}, {150, 150, Red}, {199, 199, Red}, {200, 100, Grey}});
    // In sprite cell (200, 0) only its top-left 100 x 100; the mask untouched.
    QImage sprites = ws.surfaces.picSprites.Image().copy();
    QCOMPARE(sprites.copy(200, 0, 100, 100), halfDefault());
    fill(sprites, 200, 0, 100, 100, Purple);
    QVERIFY(blockIs(sprites, 0, 0, SheetWidth, SheetHeight, Purple));
    QCOMPARE(ws.surfaces.picMasks.Image(), masksBefore);
    QCOMPARE(ws.surfaces.picSprites.Picture(), ws.surfaces.picSprites.Image());
    QCOMPARE(ws.win.List_Zorder, (QVector<ZorderEntry>{{"01.bmp", 1}, {"02.bmp", 2}}));
    // The next redraw puts it behind slot 1 (whose cell is now all purple).
    RedrawBoard(ws);
    QVERIFY(blockIs(ws.surfaces.picStage.Image(), 0, 0, 200, 200, Purple));
  }

  void fiftyPanesAndNoMore() {
    HeadlessSession b;
    Workspace& ws = b.ws;
    addPanes(ws, 50);
    QCOMPARE(ws.project.PaneCount, Integer(50));
    QCOMPARE(ws.win.List_Zorder.size(), 50);
    for (int n = 1; n <= 50; ++n) {
      const QString name = QStringLiteral("%1.bmp").arg(n, 2, 10, QLatin1Char('0'));
      QVERIFY(isSet(ws.Pane(n).InUse));
      QCOMPARE(ws.Pane(n).PictureName, name);
      QCOMPARE(ws.win.List_Zorder[n - 1], (ZorderEntry{name, n}));
    }
    QCOMPARE(QPoint(ws.Pane(12).SheetX, ws.Pane(12).SheetY), QPoint(200, 400));
    QCOMPARE(ws.surfaces.picSprites.Image().copy(800, 1800, 100, 100), halfDefault());
    QCOMPARE(FindFreeSlot(ws), 0);

    // The 51st Add changes nothing and says nothing, even with the count out
    // of step with the full table.
    const auto table = ws.PaneTable;
    const auto zorder = ws.win.List_Zorder;
    const QImage sprites = ws.surfaces.picSprites.Image().copy();
    ws.surfaces.picStage.Image().fill(toQRgb(Green));
    for (Integer count : {Integer(50), Integer(10)}) {
      ws.project.PaneCount = count;
      AddPane(ws);
      QCOMPARE(ws.project.PaneCount, count);
      QVERIFY(ws.PaneTable == table);
      QCOMPARE(ws.win.List_Zorder, zorder);
      QCOMPARE(ws.surfaces.picSprites.Image(), sprites);
      QVERIFY(blockIs(ws.surfaces.picStage.Image(), 0, 0, 800, 600, Green));
      QCOMPARE(ws.pointer.CurrentPane, 50);
      QVERIFY(b.platform.log.isEmpty());
      QCOMPARE(ws.surfaces.picStage.Pointer, MousePointer::Arrow);
    }
    // Only exactly True marks a slot in use.
    ws.Pane(17).InUse = 1;
    QCOMPARE(FindFreeSlot(ws), 17);
    QCOMPARE(CountPanesInUse(ws), 49);
  }

  void remove() {
    HeadlessSession b;
    Workspace& ws = b.ws;
    addPanes(ws, 4);
    ws.Pane(1).Left = 300;
    ws.Pane(2).Left = ws.Pane(2).Top = 400;
    PaneRecord& p = ws.Pane(3);
    p.Left = 20;
    p.Top = 30;
    p.CelsAcross = p.CelCount = 2;
    p.PictureLoaded = p.BlackTransparent = QvTrue;
    p.StartValue = 42;
    ws.win.List_Zorder.append({"dup", 3});
    ws.surfaces.picSprites.Image().fill(toQRgb(Purple));
    ws.surfaces.picMasks.Image().fill(toQRgb(White));
    EnablePaneMenus(ws);
    ws.pointer.Dragging = ws.pointer.HoverFound = QvTrue;
    ws.win.Lab_Readouts = QStringLiteral("Layer: 3, (x: 20) (y: 30)");
    RedrawBoard(ws);
    ws.pointer.CurrentPane = 3;
    const auto table = ws.PaneTable;
    const auto zorder = ws.win.List_Zorder;
    const QImage sprites = ws.surfaces.picSprites.Image().copy(), board = ws.surfaces.picStage.Image().copy();

    // Answered No: nothing changes.
    ConfirmRemovePane(ws);
    QCOMPARE(b.platform.log, QStringList{RemoveQuestion});
    QVERIFY(ws.PaneTable == table && ws.win.List_Zorder == zorder && ws.project.PaneCount == 4);
    QVERIFY(ws.surfaces.picSprites.Image() == sprites && ws.surfaces.picStage.Image() == board);
    QVERIFY(blockIs(ws.surfaces.picMasks.Image(), 0, 0, SheetWidth, SheetHeight, White));

    // Yes: the slot is free and only the freed fields changed.
    b.platform.yesNoAnswers.enqueue(true);
    ConfirmRemovePane(ws);
    QCOMPARE(b.platform.log, (QStringList{RemoveQuestion, RemoveQuestion}));
    auto expected = table;
    PaneRecord& e = expected[3];
    e.InUse = e.PictureLoaded = QvFalse;
    e.Width = e.Height = e.Left = e.Top = 0;
    e.CelCount = 1;
    QVERIFY(ws.PaneTable == expected);
    QCOMPARE(ws.project.PaneCount, Integer(3));
    // Sprite cell (400, 0) shows bitmap 101 and the mask cell is all black,
    // over the full 200 x 200; nothing else of the sheets changes.
    QImage freedSprites = ws.surfaces.picSprites.Image().copy(), freedMasks = ws.surfaces.picMasks.Image().copy();
    QCOMPARE(freedSprites.copy(400, 0, 200, 200), LoadResPicture(DefaultPanePictureId));
    QVERIFY(blockIs(freedMasks, 400, 0, 200, 200, Black));
    fill(freedSprites, 400, 0, 200, 200, Purple);
    fill(freedMasks, 400, 0, 200, 200, White);
    QVERIFY(freedSprites == sprites && blockIs(freedMasks, 0, 0, SheetWidth, SheetHeight, White));
    QVERIFY(ws.surfaces.picSprites.Picture() == ws.surfaces.picSprites.Image() && ws.surfaces.picMasks.Picture() == ws.surfaces.picMasks.Image());
    // Only the first entry carrying slot 3 leaves the layer list.
    QCOMPARE(ws.win.List_Zorder, (QVector<ZorderEntry>{{"01.bmp", 1}, {"02.bmp", 2}, {"04.bmp", 4}, {"dup", 3}}));
    // Window state after removal, and the Board redrawn without it.
    QVERIFY(!ws.win.Shape1[0].Visible && !isSet(ws.pointer.Dragging) && !isSet(ws.pointer.HoverFound));
    QCOMPARE(ws.win.Lab_Readouts, IdleReadout);
    QVERIFY(!ws.win.menuEnabled("mnu_RemovePane") && !ws.win.menuEnabled("mnu_EditPane"));
    QVERIFY(ws.win.menuEnabled("mnu_AddCustomPane"));
    QCOMPARE(ws.pointer.CurrentPane, 1);
    EXPECT_STAGE(ws, {{25, 35, Grey}, {310, 60, Purple}, {410, 410, Purple}});

    // The next Add reuses slot 3 with fresh defaults, listed last.
    AddPane(ws);
    QCOMPARE(ws.pointer.CurrentPane, 3);
    QCOMPARE(ws.project.PaneCount, Integer(4));
    QVERIFY(ws.Pane(3).StartValue == 20 && ws.Pane(3).BlackTransparent == QvFalse && ws.Pane(3).CelsAcross == 1);
    QCOMPARE(ws.win.List_Zorder.last(), (ZorderEntry{"03.bmp", 3}));
    // With the target box shown the Target is removed, whatever CurrentPane is.
    ws.pointer.TargetPane = 2;
    ws.win.Shape1[0].Visible = true;
    b.platform.yesNoAnswers.enqueue(true);
    ConfirmRemovePane(ws);
    QCOMPARE(b.platform.log.last(), RemoveQuestion);
    QVERIFY(!isSet(ws.Pane(2).InUse) && isSet(ws.Pane(3).InUse) && !ws.win.Shape1[0].Visible);
    QVERIFY(blockIs(ws.surfaces.picMasks.Image(), 200, 0, 200, 200, Black));
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
    HeadlessSession b;
    Workspace& ws = b.ws;
    placePane(ws, 2, 100, 100, 60, 60, Red);
    placePane(ws, 5, 130, 130, 60, 60, Blue);
    RedrawBoard(ws);
    const QImage oldBack = ws.surfaces.picBackground.Picture(), board = ws.surfaces.picStage.Image().copy();
    const auto table = ws.PaneTable;
    CompositePanes(ws);  // No
    QCOMPARE(b.platform.log, QStringList{"AskYesNo|Composite Panes - |Really duplicate Panes to the Background ?"});
    QCOMPARE(ws.surfaces.picBackground.Picture(), oldBack);
    // Yes: the Board as it is becomes the Background; the Panes stay, and the
    // Background is not switched on.
    b.platform.yesNoAnswers.enqueue(true);
    CompositePanes(ws);
    QCOMPARE(ws.surfaces.picBackground.Picture(), board);
    QVERIFY(ws.PaneTable == table);
    QCOMPARE(ws.BoardSettings.UseBackPicture, QvFalse);
    QCOMPARE(ws.BoardSettings.BackPictureName, QStringLiteral("none"));
    // Switched on, the composited Panes show behind the moved ones.
    ws.Pane(2).Left = 400;
    ws.Pane(5).Left = 600;
    ws.BoardSettings.UseBackPicture = QvTrue;
    RedrawBoard(ws);
    EXPECT_STAGE(ws, {{140, 140, Red}, {180, 180, Blue}, {410, 110, Red}, {610, 140, Blue}});
  }

  void slotRules() {
    HeadlessSession b;
    Workspace& ws = b.ws;
    for (int bad : {51, -1}) {
      QVERIFY_THROWS_EXCEPTION(SlotOutOfRange, ws.Pane(bad));
      QVERIFY_THROWS_EXCEPTION(SlotOutOfRange, ws.RunPane(bad));
    }
    try {
      ws.Pane(51);
    } catch (const SlotOutOfRange& e) {
      QCOMPARE(e.slot, 51);
    }
    // ResetSlot frees the slot and zeroes position and size only.
    AddPane(ws);
    PaneRecord& p = ws.Pane(1);
    p.CelCount = 6;
    PaneRecord expected = p;
    expected.InUse = QvFalse;
    expected.CelCount = 1;
    expected.Left = expected.Top = expected.Width = expected.Height = 0;
    ResetSlot(p);
    QVERIFY(p == expected);
  }
};

QTEST_GUILESS_MAIN(TestPanes)
#include "test_panes.moc"
