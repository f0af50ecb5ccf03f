// The Board properties dialog's engine without widgets: the settings loaded
// into the controls, and accept storing the colours with the Background
// picture loaded or, when it fails, cleared with the options left as they were.
#include "properties/BoardProperties.h"
#include "resources/HelpTexts.h"
#include "session/CommandTable.h"
#include "support/Fixtures.h"
#include "surface/PictureFile.h"

using namespace qv;

class TestBoardProperties : public QObject {
  Q_OBJECT

 private slots:
  void loadShowsTheSettings_data() {
    QTest::addColumn<QString>("settings");  // Wire, Float, Locked, Background picture
    QTest::addColumn<QString>("shown");     // Wire, Float, Float "Yes" enabled, Move, picture option, red
    QTest::newRow("wire wins") << "1 1 0 1" << "1 0 0 1 1 0";
    QTest::newRow("float") << "0 1 1 0" << "0 1 1 0 0 1";
    QTest::newRow("neither") << "0 0 0 0" << "0 0 1 1 0 1";
  }
  void loadShowsTheSettings() {
    QFETCH(QString, settings);
    QFETCH(QString, shown);
    HeadlessSession s;
    BoardDialogState& d = s.ws.dialogs.board;
    BoardOptionPairs& o = s.ws.project.BoardOptions;
    BoardSettingsRecord& b = s.ws.project.BoardSettings;
    // Wire "Yes" was clicked in an earlier opening that was cancelled.
    Option_WirePanes_Click(s.ws, 1);
    Flag* flags[] = {&b.WirePanes, &b.FloatPanes, &b.BoardLocked, &b.UseBackPicture};
    for (int i = 0; i < 4; ++i) *flags[i] = toFlag(settings.split(' ')[i] == "1");
    b.BoardBackColor = RGB(1, 2, 3);
    b.LabelColor = RGB(4, 5, 6);
    b.SelectionColor = RGB(7, 8, 9);
    b.BackPicturePath = "/pictures/sky.bmp";
    LoadBoardProperties(s.ws);
    const QString got = QString::asprintf("%d %d %d %d %d %d", o.Option_WirePanes, o.Option_FloatPanes,
                                          int(o.Option_FloatPanesYesEnabled), o.Option_BoardMove,
                                          d.Option_UseBackPicture, int(d.Text_BackPicture.Red));
    QCOMPARE(got, shown);
    QVERIFY(!(isSet(b.WirePanes) && isSet(b.FloatPanes)));
    QCOMPARE(QList<int>({d.picSwatch, d.picLabelCol, d.picBoxSelectColor, d.Combo_BackColType.Index,
                         d.Combo_LabelCol.Index, d.Combo_SelectionColor.Index}),
             QList<int>({RGB(1, 2, 3), RGB(4, 5, 6), RGB(7, 8, 9), 6, 5, 5}));
    QVERIFY(d.Text_BackPicture.Text == "/pictures/sky.bmp" && !isSet(s.ws.win.DialogFilling));
  }

  // A Background that loads replaces the name; "Inactive" turns it off and
  // "Active" without a picture changes nothing. One that fails is cleared,
  // the colours stored and the options left as they were.
  void applyStoresTheBackgroundAndTheColoursAndHelpShows() {
    HeadlessSession s;
    QTemporaryDir dir;
    QImage sky(40, 30, QImage::Format_RGB32);
    sky.fill(qRgb(10, 120, 250));
    QVERIFY(sky.save(dir.filePath("Sky.jpg.bmp"), "BMP"));
    BoardSettingsRecord& b = s.ws.project.BoardSettings;
    BoardDialogState& d = s.ws.dialogs.board;
    BoardOptionPairs& o = s.ws.project.BoardOptions;
    b.BackPictureName = "old.bmp";
    b.BackPicturePath = dir.filePath("Sky.jpg.bmp");
    d.Option_UseBackPicture = 1;
    ApplyBoardProperties(s.ws);
    QVERIFY(b.BackPictureName == "Sky.jpg.bmp" && isSet(b.UseBackPicture));
    QCOMPARE(s.ws.surfaces.picStage.Image().pixel(5, 5), qRgb(10, 120, 250));
    d.Option_UseBackPicture = 0;
    ApplyBoardProperties(s.ws);
    QVERIFY(!isSet(b.UseBackPicture));
    b.BackPictureName = "none";
    d.Option_UseBackPicture = 1;
    ApplyBoardProperties(s.ws);
    QVERIFY(!isSet(b.UseBackPicture));

    b.WirePanes = b.BoardLocked = b.UseBackPicture = QvTrue;
    b.BackPictureName = "gone.bmp";
    b.BackPicturePath = "/nowhere/gone.bmp";
    o.Option_WirePanes = 0;
    o.Option_FloatPanes = o.Option_BoardMove = 1;
    d.picSwatch = Black;
    d.picLabelCol = RGB(255, 0, 0);
    d.picBoxSelectColor = RGB(0, 255, 0);
    ApplyBoardProperties(s.ws);
    QCOMPARE(QList<Long>({b.BoardBackColor, b.LabelColor, b.SelectionColor}), QList<Long>({Black, RGB(255, 0, 0), RGB(0, 255, 0)}));
    QVERIFY(b.BackPictureName == "none" && !isSet(b.UseBackPicture) && isSet(b.WirePanes) && !isSet(b.FloatPanes) && isSet(b.BoardLocked));
    QVERIFY(s.ws.surfaces.picStage.BackColor == Black && s.platform.log.isEmpty());
    // Every reference of every help topic shows its own text.
    const int references[26] = {0, 5, 3, 5, 1, 5, 1, 3, 2, 2, 1, 2, 3, 1, 3, 1, 1, 1, 1, 3, 1, 1, 8, 9, 1, 10};
    for (int topic = 0; topic <= 25; ++topic) {
      d.Combo_Help.Index = topic;
      Combo_Help_Click(s.ws);
      QCOMPARE(d.List_Help.Entries.size(), references[topic]);
      for (d.List_Help.Index = 0; d.List_Help.Index < references[topic]; ++d.List_Help.Index) {
        List_Help_Click(s.ws);
        QVERIFY(!d.Text_Help.isEmpty() && d.Text_Help == LoadResString(100 + 10 * topic + d.List_Help.Index));
      }
    }
    // The added topic names the keys of what it tells of as they are today.
    QString added;
    for (int id = 350; id < 358; ++id) added += LoadResString(id);
    for (Command c : {Command::Undo, Command::Redo, Command::SaveProject, Command::NewProject, Command::End, Command::LoadsProject, Command::Quit,
                      Command::DuplicatePane, Command::Copy, Command::Paste, Command::BringToFront, Command::BringForward,
                      Command::SendBackward, Command::SendToBack})
      QVERIFY2(added.contains(QLatin1String(RowOf(c).keyLabel)), RowOf(c).keyLabel);
  }
};

QTEST_GUILESS_MAIN(TestBoardProperties)
#include "test_boardproperties.moc"
