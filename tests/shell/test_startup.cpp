// Start-up lists, window layout, Board size presets and design icons,
// decided by the engine without a window.
#include "shell/BoardSizes.h"
#include "shell/Setups.h"
#include "shell/Headless.h"

#include <QtTest>

using namespace qv;

class StartUpTest : public QObject {
  Q_OBJECT
 private slots:
  void startStateHasBoardBelowBarAndIntro();
  void fillListsFillsEveryListOnceAndSetsDefaults();
  void layoutPlacesIconsFromTheRight();
  void boardSizeListAndMenuPlaceDifferently();
  void maxByMaxFollowsTheWindowOnlyAtLayout();
  void layoutReadsTheBoardOptions();
  void designIconsAndIntroChoice();
  void waitASecWaitsThirtyMillisecondsPerCount();
};

void StartUpTest::startStateHasBoardBelowBarAndIntro() {
  HeadlessSession b;
  Workspace& ws = b.ws;
  QCOMPARE(ws.win.Combo_Board.value(ws.win.Combo_BoardIndex), QString("800 x 600"));
  QCOMPARE(ws.surfaces.picStage.Width(), 800);
  QCOMPARE(ws.surfaces.picStage.Height(), 600);
  QCOMPARE(ws.surfaces.picStage.Top, ws.win.picFastMenu.Top + ws.win.picFastMenu.Height);
  QCOMPARE(ws.surfaces.picStage.Left, ws.win.picHolder.Left + 1);
  QCOMPARE(ws.project.BoardWidth, Integer(800));
  QCOMPARE(ws.project.BoardHeight, 600);
  QVERIFY(ws.win.picIntro.Visible);
  QVERIFY(!ws.surfaces.picStage.Visible);
  QCOMPARE(ws.win.picIntro.Width, 350);
  QCOMPARE(ws.win.picIntro.Height, 230);
  QCOMPARE(QPoint(ws.win.picIntro.Left, ws.win.picIntro.Top), QPoint(10, 30));
  QVERIFY(!ws.win.Shape1[0].Visible);
  QVERIFY(!ws.win.KeyPreview);
  QCOMPARE(ws.win.DialogFilling, QvFalse);
}

void StartUpTest::fillListsFillsEveryListOnceAndSetsDefaults() {
  HeadlessSession b;
  Workspace& ws = b.ws;
  ws.BoardSettings.BoardBackColor = RGB(1, 2, 3);
  ws.BoardSettings.BoardLocked = QvTrue;
  ws.BoardSettings.LabelColor = Black;
  ws.pointer.CurrentPane = 9;
  FillLists(ws);  // as New Project runs it again
  const PaneDialogState& pd = ws.dialogs.panes;
  const BoardDialogState& bd = ws.dialogs.board;
  QCOMPARE(pd.Combo_ValueType.Entries, QStringList({"none", "Add", "Subtract"}));
  QCOMPARE(pd.Combo_AnimationType.Entries.size(), 6);
  QCOMPARE(pd.Combo_AnimationType.Entries[5], QString("Diagonal : poly-directional"));
  QCOMPARE(pd.Combo_Writing.Entries, QStringList({"Box - (may edit)", "Box - (locked)"}));
  QCOMPARE(pd.Combo_Writing.Index, 1);
  QCOMPARE(pd.Combo_CollisionType.Index, 1);
  QCOMPARE(pd.Combo_EffectsMouse.Index, 1);
  QCOMPARE(pd.cmbFontSizeTXT.Entries.size(), 33);
  QCOMPARE(pd.cmbFontSizeTXT.Entries.first(), QString("8"));
  QCOMPARE(pd.cmbFontSizeTXT.Entries.last(), QString("72"));
  QCOMPARE(pd.cmbFontSizeTXT.Index, 1);
  QCOMPARE(pd.Text_Writing.FontSize, 10.0);
  QCOMPARE(pd.cmbFontNameTXT.Entries, b.platform.fonts);
  QCOMPARE(bd.Combo_Help.Entries.size(), 25);
  QCOMPARE(bd.Combo_Help.Entries.last(), QString("SHORTCUTS"));
  QCOMPARE(bd.Combo_BackColType.Entries[5], QString("Grey"));
  QCOMPARE(bd.Combo_BackColType.Index, 6);
  QCOMPARE(bd.Combo_LabelCol.Index, 5);
  QVERIFY(bd.List_Help.Entries.isEmpty());
  QCOMPARE(bd.picLabelCol, White);
  QCOMPARE(ws.win.Combo_Board.size(), 5);
  // Defaults come back; the Board shows the grey.
  QCOMPARE(ws.BoardSettings.BoardBackColor, RGB(184, 184, 184));
  QCOMPARE(ws.BoardSettings.BoardLocked, QvFalse);
  QCOMPARE(ws.BoardSettings.LabelColor, White);
  QCOMPARE(ws.BoardSettings.BackPictureName, QString("none"));
  QCOMPARE(ws.surfaces.picStage.Point(10, 10), RGB(184, 184, 184));
  QCOMPARE(ws.pointer.CurrentPane, 1);
  QCOMPARE(ws.surfaces.picSprites.Width(), 1000);
  QCOMPARE(ws.surfaces.picSprites.Height(), 2000);
}

void StartUpTest::layoutPlacesIconsFromTheRight() {
  HeadlessSession b;
  b.windows.SetMainInnerSize(QSize(900, 700));
  LayoutMainWindow(b.ws);
  const MainWindowState& w = b.ws.win;
  QCOMPARE(w.picHolder.Width, 898);
  QCOMPARE(w.picHolder.Height, 699);
  QCOMPARE(w.picFastMenu.Width, 900);
  QCOMPARE(w.picFastMenu.Left, -2);
  const auto& i = w.Img_IconStrip;
  QCOMPARE(i[4].Left, 900 - 21);
  QCOMPARE(i[5].Left, i[4].Left - 18);
  QCOMPARE(i[0].Left, i[5].Left - 18);
  QCOMPARE(i[7].Left, i[0].Left - 26);
  QCOMPARE(i[6].Left, i[7].Left - 18);
  QCOMPARE(i[8].Left, i[6].Left - 26);
  QCOMPARE(i[3].Left, i[8].Left - 18);
  // Two pixels from the holder's edge, the bar starting two pixels left of it.
  QCOMPARE(i[10].Left, 4);
  QCOMPARE(w.Lab_ReadoutsLeft, 23);
  QCOMPARE(w.Picture1.Top, b.ws.surfaces.picStage.Top);
}

void StartUpTest::boardSizeListAndMenuPlaceDifferently() {
  HeadlessSession b;
  Workspace& ws = b.ws;
  SelectBoardSize(ws, 3);
  QCOMPARE(QSize(ws.surfaces.picStage.Width(), ws.surfaces.picStage.Height()), QSize(1024, 764));
  QCOMPARE(ws.surfaces.picStage.Top, FastMenuHeight);
  // The size is recorded only by the layout.
  QCOMPARE(ws.project.BoardWidth, Integer(800));
  BoardSizeMenu(ws, 320, 240);
  QCOMPARE(QPoint(ws.surfaces.picStage.Left, ws.surfaces.picStage.Top), QPoint(0, 0));
  QCOMPARE(ws.win.Combo_BoardIndex, 3);  // the list keeps its entry
  BoardSizeMenu(ws, 1024, 764);          // "1024 x 768" gives 764
  QCOMPARE(ws.surfaces.picStage.Height(), 764);
  LayoutMainWindow(ws);
  QCOMPARE(ws.project.BoardWidth, Integer(1024));
  QCOMPARE(ws.surfaces.picStage.Top, FastMenuHeight);
}

void StartUpTest::maxByMaxFollowsTheWindowOnlyAtLayout() {
  HeadlessSession b;
  Workspace& ws = b.ws;
  SelectBoardSize(ws, MaxBoardEntry);
  QCOMPARE(ws.surfaces.picStage.Width(), 800);  // the entry alone changes no size
  b.windows.SetMainInnerSize(QSize(1200, 900));
  LayoutMainWindow(ws);
  QCOMPARE(ws.surfaces.picStage.Width(), ws.win.picHolder.Width - 1);
  QCOMPARE(ws.surfaces.picStage.Height(), ws.win.picHolder.Height - (FastMenuHeight + 1));
  QCOMPARE(ws.project.BoardHeight, ws.surfaces.picStage.Height());
  // Any other entry keeps its size when the window grows.
  SelectBoardSize(ws, 1);
  b.windows.SetMainInnerSize(QSize(1400, 1000));
  LayoutMainWindow(ws);
  QCOMPARE(QSize(ws.surfaces.picStage.Width(), ws.surfaces.picStage.Height()), QSize(640, 480));
  // Max Screen selects entry 4 and lays out.
  mnu_MaxScreen_Click(ws);
  QCOMPARE(ws.win.Combo_BoardIndex, MaxBoardEntry);
  QCOMPARE(ws.surfaces.picStage.Width(), 1397);
  QCOMPARE(ws.surfaces.picStage.Top, FastMenuHeight);
}

void StartUpTest::layoutReadsTheBoardOptions() {
  HeadlessSession b;
  Workspace& ws = b.ws;
  QCOMPARE(ws.BoardSettings.BoardLocked, QvFalse);
  ws.dialogs.board.Option_BoardMove = 0;
  ws.dialogs.board.Option_FloatPanes = 1;
  ws.BoardSettings.WirePanes = QvTrue;
  LayoutMainWindow(ws);
  QCOMPARE(ws.BoardSettings.BoardLocked, QvTrue);
  QCOMPARE(ws.BoardSettings.FloatPanes, QvTrue);
  QCOMPARE(ws.BoardSettings.WirePanes, QvFalse);
}

void StartUpTest::designIconsAndIntroChoice() {
  HeadlessSession b;
  Workspace& ws = b.ws;
  // Only the Stop icon on the (hidden) Full Board panel is visible at start.
  for (int i = 0; i < 11; ++i) QVERIFY(!ws.win.Img_IconStrip[size_t(i)].Visible);
  QVERIFY(ws.win.Img_IconStrip[11].Visible);
  QVERIFY(!ws.win.Picture1.Visible);
  IntroBlankNewProject(ws);
  QVERIFY(!ws.win.picIntro.Visible);
  QVERIFY(ws.surfaces.picStage.Visible);
  QVERIFY(ws.win.KeyPreview);
  for (int i = 0; i < 11; ++i) {
    const bool design = std::find(DesignIcons.begin(), DesignIcons.end(), i) != DesignIcons.end();
    QCOMPARE(ws.win.Img_IconStrip[size_t(i)].Visible, design);
  }
  HideDesignIcons(ws);
  for (int i : DesignIcons) QVERIFY(!ws.win.Img_IconStrip[size_t(i)].Visible);
  FillLists(ws);
  QVERIFY(!ws.win.KeyPreview);
}

void StartUpTest::waitASecWaitsThirtyMillisecondsPerCount() {
  HeadlessSession b;
  WaitASec(b.ws, 0);
  QCOMPARE(b.platform.waitedMs, 0);
  WaitASec(b.ws, 4);
  QCOMPARE(b.platform.waitedMs, 120);
}

QTEST_GUILESS_MAIN(StartUpTest)
#include "test_startup.moc"
