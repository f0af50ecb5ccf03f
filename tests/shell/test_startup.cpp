// Start-up state, the dialogs' lists and defaults, the window layout, the
// Board size presets and the design icons, decided by the engine without a
// window.
#include "project/StartDefaults.h"
#include "shell/BoardSizes.h"
#include "support/Fixtures.h"

using namespace qv;

class StartUpTest : public QObject {
  Q_OBJECT
 private slots:
  void startStateAndIntro() {
    HeadlessSession s;
    Workspace& ws = s.ws;
    // The 800 x 600 Board below the bar, hidden behind the intro; keys are
    // off until a project is open; only the Full Board panel's Stop icon
    // (itself hidden with its panel) counts as shown.
    QCOMPARE(ws.win.Combo_Board.value(ws.win.Combo_BoardIndex), QString("800 x 600"));
    QCOMPARE(boardOf(ws), QRect(1, FastMenuHeight, 800, 600));
    QCOMPARE(QSize(ws.session.BoardWidth, ws.session.BoardHeight), QSize(800, 600));
    QCOMPARE(rectOf(ws.win.picIntro), QRect(10, 30, 350, 230));
    QVERIFY(ws.win.picIntro.Visible && !ws.surfaces.picStage.Visible && !ws.win.Shape1[0].Visible);
    QVERIFY(!ws.win.KeyPreview && ws.win.DialogFilling == QvFalse && !ws.win.Picture1.Visible && ws.win.Img_IconStrip[11].Visible);
    for (int i = 0; i < 11; ++i) QVERIFY(!ws.win.Img_IconStrip[size_t(i)].Visible);
    QCOMPARE(rectOf(ws.win.Img_IconStrip[11]), QRect(4, 4, IconSize, IconSize));
    // "Blank new Project": the Board and exactly the design icons show, keys act.
    IntroBlankNewProject(ws);
    QVERIFY(!ws.win.picIntro.Visible && ws.surfaces.picStage.Visible && ws.win.KeyPreview);
    for (int i = 0; i < 11; ++i)
      QCOMPARE(ws.win.Img_IconStrip[size_t(i)].Visible, std::count(DesignIcons.begin(), DesignIcons.end(), i) == 1);
    HideDesignIcons(ws);
    for (int i : DesignIcons) QVERIFY(!ws.win.Img_IconStrip[size_t(i)].Visible);
    // The menu items that start greyed: those that need a Target or a
    // loaded project.
    QVector<Command> greyed;
    for (int i = 0; i < CommandCount; ++i)
      if (!ws.win.menuEnabled(Command(i))) greyed << Command(i);
    QCOMPARE(greyed, QVector<Command>({Command::EditPane, Command::Flip, Command::ResizePane, Command::RemovePane,
                                       Command::LoadsPicture, Command::LoadPaneLibrary, Command::BoardCompositePanes}));
  }

  void fillListsSetsTheDefaults() {
    HeadlessSession s;
    Workspace& ws = s.ws;
    ws.project.BoardSettings.BoardBackColor = RGB(1, 2, 3);
    ws.project.BoardSettings.BoardLocked = ws.project.BoardSettings.UseBackPicture = QvTrue;
    ws.project.BoardSettings.LabelColor = Black;
    ws.pointer.CurrentPane = 9;
    ws.win.KeyPreview = true;
    ws.win.Shape1[0].Visible = true;
    FillLists(ws);  // as New Project runs it again
    const PaneDialogState& pd = ws.dialogs.panes;
    const BoardDialogState& bd = ws.dialogs.board;
    QCOMPARE((QList<int>{pd.Combo_Writing.Index, pd.Combo_CollisionType.Index, pd.Combo_EffectsMouse.Index,
                         pd.cmbFontSizeTXT.Index, bd.Combo_BackColType.Index, bd.Combo_LabelCol.Index,
                         pd.cmbBackColorTXT.Index, int(bd.Combo_Help.Entries.size()), int(bd.picLabelCol)}),
             (QList<int>{1, 1, 1, 1, 6, 5, 1, 26, int(White)}));
    QCOMPARE(pd.cmbFontNameTXT.Entries, s.platform.fonts);
    QCOMPARE(pd.cmbFontSizeTXT.Entries.join(' '), "8 10 12 14 16 18 20 22 24 26 28 30 32 34 36 38 40 "
                                                  "42 44 46 48 50 52 54 56 58 60 62 64 66 68 70 72");
    QCOMPARE(pd.Text_Writing.FontSize, 10.0);
    // The Board defaults come back and the Board shows the grey.
    BoardSettingsRecord defaults;
    QCOMPARE(ws.project.BoardSettings, defaults);
    QCOMPARE(ws.surfaces.picStage.Image().pixel(10, 10), toQRgb(Grey));
    QVERIFY(ws.pointer.CurrentPane == 1 && !ws.win.KeyPreview && !ws.win.Shape1[0].Visible);
    QCOMPARE(ws.win.Lab_Readouts, IdleReadout);
    QCOMPARE(ws.project.picSprites.Image().size(), QSize(1000, 2000));
  }

  void layoutPlacesIcons() {
    HeadlessSession s;
    s.windows.SetMainInnerSize(QSize(900, 700));
    LayoutMainWindow(s.ws);
    const MainWindowState& w = s.ws.win;
    QCOMPARE(rectOf(w.picHolder), QRect(0, 1, 898, 699));
    QCOMPARE(QList<int>({w.picFastMenu.Left, w.picFastMenu.Width, w.Line_FastMenuX2, w.Lab_ReadoutsLeft, w.Picture1.Top}),
             QList<int>({-2, 900, 900, 23, s.ws.surfaces.picStage.Top}));
    QList<int> lefts;
    for (int i : {4, 5, 0, 7, 6, 8, 3, 10}) lefts << w.Img_IconStrip[size_t(i)].Left;
    QCOMPARE(lefts, QList<int>({879, 861, 843, 817, 799, 773, 755, 4}));
  }

  void boardSizes() {
    HeadlessSession s;
    Workspace& ws = s.ws;
    // Each list entry keeps the Board below the bar; each size menu item
    // puts it at (0, 0) and leaves the list's entry. The size is recorded
    // only by the layout.
    const QSize sizes[] = {{320, 240}, {640, 480}, {800, 600}, {1024, 764}};
    for (int i : {0, 1, 2, 3}) {
      Combo_Board_Click(ws, i);
      QCOMPARE(boardOf(ws), QRect(QPoint(1, FastMenuHeight), sizes[i]));
      RunCommand(ws, Command(int(Command::Board320x240) + (3 - i)));
      QCOMPARE(boardOf(ws), QRect(QPoint(0, 0), sizes[3 - i]));
      QCOMPARE(ws.win.Combo_BoardIndex, i);
    }
    QCOMPARE(ws.session.BoardWidth, Integer(800));
    LayoutMainWindow(ws);
    QCOMPARE(boardOf(ws), QRect(1, FastMenuHeight, 320, 240));
    QCOMPARE(ws.session.BoardWidth, Integer(320));
    // "Max x Max" alone changes no size; the layout then fills the holder,
    // and Max Screen does both. Other entries keep their size.
    Combo_Board_Click(ws, MaxBoardEntry);
    QCOMPARE(boardOf(ws).size(), QSize(320, 240));
    s.windows.SetMainInnerSize(QSize(1200, 900));
    LayoutMainWindow(ws);
    QCOMPARE(QSize(ws.session.BoardWidth, ws.session.BoardHeight), QSize(1197, 899 - (FastMenuHeight + 1)));
    Combo_Board_Click(ws, 1);
    s.windows.SetMainInnerSize(QSize(1400, 1000));
    LayoutMainWindow(ws);
    QCOMPARE(boardOf(ws).size(), QSize(640, 480));
    mnu_MaxScreen_Click(ws);
    QCOMPARE(ws.win.Combo_BoardIndex, MaxBoardEntry);
    QCOMPARE(boardOf(ws), QRect(1, FastMenuHeight, 1397, 999 - (FastMenuHeight + 1)));
  }
};

QTEST_GUILESS_MAIN(StartUpTest)
#include "test_startup.moc"
