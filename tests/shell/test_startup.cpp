// Start-up state, the dialogs' lists and defaults, the window layout, the
// Board size presets and the design icons, decided by the engine without a
// window; and the program's own bitmaps and the "Ding!" sound, made in code:
// their sizes, colours and format. (How the sound plays: the window test's
// player; its size in bytes: the pointer test's sound calls.)
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
    QCOMPARE(QSize(ws.session.BoardWidth, ws.session.BoardHeight), QSize(800, 600));  // its place: the window test
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

  // 102 all white, 103 all black; 101 a 200 x 200 texture of greys between
  // 134 and 201, never one grey alone.
  void bitmaps() {
    QCOMPARE(LoadResPicture(102), boardModel({200, 200}, White, {}));
    QCOMPARE(LoadResPicture(103), boardModel({200, 200}, Black, {}));
    const QImage grey = LoadResPicture(101);
    QSet<QRgb> greys;
    for (int y = 0; y < 200; ++y)
      for (int x = 0; x < 200; ++x) greys << grey.pixel(x, y);
    QVERIFY(grey.size() == QSize(200, 200) && greys.size() > 20);
    for (QRgb c : greys) QVERIFY(qRed(c) == qGreen(c) && qGreen(c) == qBlue(c) && qRed(c) >= 134 && qRed(c) <= 201);
    for (int id : {0, 100, 104}) QVERIFY(LoadResPicture(id).isNull());
  }

  // A RIFF WAVE: PCM, 2 channels, 22,050 samples a second, 16 bits, 80,764
  // bytes of samples, the loudest near full scale.
  void dingSound() {
    const QByteArray w = LoadResData(101, "CUSTOM");
    const auto at = [&](qsizetype i, int width) { return width == 2 ? qFromLittleEndian<quint16>(w.constData() + i) : qFromLittleEndian<quint32>(w.constData() + i); };
    const qsizetype data = w.indexOf("data");
    QCOMPARE(w.left(4) + w.mid(8, 8), QByteArray("RIFFWAVEfmt "));
    QCOMPARE(QList<quint32>({at(4, 4), at(20, 2), at(22, 2), at(24, 4), at(34, 2), at(data + 4, 4)}),
             QList<quint32>({quint32(w.size() - 8), 1, 2, 22050, 16, 80764}));
    int loudest = 0;
    for (qsizetype i = data + 8; i + 1 < w.size(); i += 2) loudest = std::max(loudest, std::abs(int(qFromLittleEndian<qint16>(w.constData() + i))));
    QVERIFY(w.size() == data + 8 + 80764 && loudest > 16000);
    QCOMPARE(LoadResData(101, "custom"), w);  // type names ignore case
    for (const auto& [id, type] : {std::pair{102, "CUSTOM"}, std::pair{0, "CUSTOM"}, std::pair{101, "WAVE"}})
      QVERIFY(LoadResData(id, type).isEmpty());
  }
};

QTEST_GUILESS_MAIN(StartUpTest)
#include "test_startup.moc"
