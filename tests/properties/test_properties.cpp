// The Pane and Board properties dialogs' engines without widgets. The Pane
// dialog: the minimums, clamps and derived fields of the store, every
// example's Panes loaded and stored back unchanged, the separator kept out of
// the free-text boxes, fields set through the controls as quorvel-cli set
// sets them, and the sound list. The Board dialog: the settings loaded into
// the controls, and accept storing the colours with the Background picture
// loaded or, when it fails, cleared with the options left as they were.
#include "project/ProjectCommands.h"
#include "project/ProjectText.h"
#include "properties/BoardProperties.h"
#include "properties/PaneProperties.h"
#include "properties/PaneSettings.h"
#include "resources/HelpTexts.h"
#include "session/CommandTable.h"
#include "support/Fixtures.h"
#include "surface/PictureFile.h"

#include <map>
#include <variant>

using namespace qv;

namespace {

// Slot 1 holds a Pane whose mapped fields all differ from the values the
// tables use; slot 2 a second Pane. The layer list has slot 2 first, so a
// list position never equals the slot it names.
struct Session : HeadlessSession {
  Session() {
    PaneRecord& p = placePane(ws, 1, 10, 10, 100, 80);
    placePane(ws, 2, 200, 10, 40, 40);
    p.UseURL = p.UseWriting = QvTrue;
    p.Process = p.EffectType = p.RevealPane = 1;
    p.RevealValue = p.FlipCode = 4;
    ws.project.List_Zorder = {{"two", 2}, {"one", 1}};
    ws.pointer.TargetPane = ws.pointer.CurrentPane = 1;
  }
  PaneDialogState& d() { return ws.dialogs.panes; }
  void load() {
    FillRevealList(ws);
    LoadPaneProperties(ws, 1);
  }
  PaneRecord& pane() { return ws.project.PaneTable[1]; }
};

using Ref = std::variant<QString*, int*, bool*, double*>;

// A control's value by its name: a text, a selected index or option, or a
// part of the Writing box's look.
Ref refOf(PaneDialogState& d, const QString& name) {
  if (name.startsWith("Text_Val_")) return &d.Text_Val[size_t(name.mid(9).toInt())].Text;
  WritingLook& w = d.Text_Writing;
  const std::map<QString, Ref> refs = {
      {"Text_Label", &d.Text_Label}, {"Text_URL", &d.Text_URL.Text}, {"List1", &d.List1.Index},
      {"Combo_ValueType", &d.Combo_ValueType.Index}, {"Combo_Sound", &d.Combo_Sound.Index},
      {"Combo_AnimationType", &d.Combo_AnimationType.Index}, {"Combo_CollisionType", &d.Combo_CollisionType.Index},
      {"Combo_EffectType", &d.Combo_EffectType.Index}, {"Combo_EffectsMouse", &d.Combo_EffectsMouse.Index},
      {"Combo_Writing", &d.Combo_Writing.Index}, {"Option_UseURL", &d.Option_UseURL},
      {"Option_IsVisible", &d.Option_IsVisible}, {"Option_MakeTransparent", &d.Option_MakeTransparent},
      {"Option_CanFlip", &d.Option_CanFlip}, {"Option_UseWriting", &d.Option_UseWriting},
      {"Writing.Text", &w.Text}, {"Writing.FontName", &w.FontName}, {"Writing.FontSize", &w.FontSize},
      {"Writing.Bold", &w.Bold}, {"Writing.Italic", &w.Italic}, {"Writing.Underline", &w.Underline},
      {"Writing.ForeColor", &w.ForeColor}, {"Writing.BackColor", &w.BackColor}, {"cmbStyleTXT", &d.cmbStyleTXT.Index},
      {"cmbFontColorTXT", &d.cmbFontColorTXT.Index}, {"cmbBackColorTXT", &d.cmbBackColorTXT.Index}, {"ColorSwatchTXT", &d.ColorSwatchTXT}};
  return refs.at(name);
}

// The controls a row clicks.
const std::map<QString, void (*)(Workspace&)> Clicks = {{"cmbStyleTXT", cmbStyleTXT_Click}, {"cmbFontColorTXT", cmbFontColorTXT_Click},
                                                        {"cmbBackColorTXT", cmbBackColorTXT_Click}, {"ColorSwatchTXT", ColorSwatchTXT_Click}};

// "name=value;name=value!;name!": each control takes its value, and is
// clicked after it when a "!" follows; "colour=N" answers the next colour
// dialog.
void write(Session& s, const QString& controls) {
  for (QString item : controls.split(';')) {
    const bool click = item.endsWith('!');
    if (click) item.chop(1);
    const QString name = item.section('=', 0, 0), v = item.section('=', 1);
    if (name == "colour") s.platform.colorAnswers.enqueue(Long(v.toInt()));
    else if (item.contains('='))
      std::visit([&](auto* control) {
        using T = std::remove_pointer_t<decltype(control)>;
        if constexpr (std::is_same_v<T, QString>) *control = v;
        else *control = T(v.toDouble());
      }, refOf(s.d(), name));
    if (click) Clicks.at(name)(s.ws);
  }
}

// A control's value as text.
QString shown(PaneDialogState& d, const QString& name) {
  return std::visit([](auto* v) {
    if constexpr (std::is_same_v<std::remove_pointer_t<decltype(v)>, QString>) return *v;
    else return QString::number(*v);
  }, refOf(d, name));
}

// A field's value as text.
QString fieldValue(PaneRecord& r, const QString& name) {
  const PaneField* f = PaneFieldByName(qPrintable(name));
  return f->kind == FieldKind::Text ? f->text(r) : QString::number(f->number(r));
}

}  // namespace

class TestProperties : public QObject {
  Q_OBJECT

 private slots:
  // What accept stores from what the controls hold (data/store.txt):
  // minimums, clamps of crafted texts, derived fields, the Inactive options;
  // and the Writing's colour and style lists and swatch.
  void storeAppliesLimitsAndDerivesFields_data() {
    QTest::addColumn<QString>("controls");
    QTest::addColumn<QString>("expected");  // "Field=value;..."
    for (const QStringList& f : fieldRows(QFINDTESTDATA("data/store.txt"), 21))
      QTest::newRow(qPrintable(f[0])) << f[1] << QString(f[2]).replace("%1", DefaultPaneUrl);
  }
  void storeAppliesLimitsAndDerivesFields() {
    QFETCH(QString, controls);
    QFETCH(QString, expected);
    Session s;
    s.load();
    write(s, controls);
    QStringList fields;  // the rest are controls, before the accept
    for (const QString& item : expected.split(';'))
      if (PaneFieldByName(item.section('=', 0, 0))) fields << item;
      else QCOMPARE(shown(s.d(), item.section('=', 0, 0)), item.section('=', 1));
    UpdatePaneProperties(s.ws);
    for (const QString& item : fields) QCOMPARE(fieldValue(s.pane(), item.section('=', 0, 0)), item.section('=', 1));
  }

  // quorvel-cli set's values through the dialog's controls and rules
  // (data/set.txt): stored, changed to fit, or refused, when nothing is.
  void setFieldsThroughTheControls_data() {
    QTest::addColumn<QStringList>("row");
    const QList<QByteArray> rows = fixtures::dataRows(QFINDTESTDATA("data/set.txt"));
    for (const QByteArray& row : rows) QTest::newRow(row.split('|')[0].trimmed()) << QString::fromUtf8(row).split('|').mid(1);
    QCOMPARE(rows.size(), 32);
  }
  void setFieldsThroughTheControls() {
    QFETCH(QStringList, row);
    Session s;
    const PaneRecord before = s.pane();
    QString results;
    for (const FieldSetting& f : SetPaneFields(s.ws, 1, row[0].trimmed().split(';'))) results += "scr"[int(f.result)];
    QCOMPARE(results, row[1].remove(' '));
    if (!results.contains('r')) QVERIFY(!(s.pane() == before));
    for (const QString& item : row[2].trimmed().split(';', Qt::SkipEmptyParts))
      QCOMPARE(fieldValue(s.pane(), item.section('=', 0, 0)), item.section('=', 1));
    if (results.contains('r')) QVERIFY(s.pane() == before);
  }

  // The sound list: a cancelled or failed "Load a sound ..." selects the
  // entry before (a failure says why); a loaded file is a new entry named
  // after it, which cancel leaves out of the project and accept puts in; a
  // second Pane's list offers it, and the same file again is that sound.
  void soundListLoadsOwnSounds() {
    Session s;
    QTemporaryDir dir;
    const QString bell = dir.filePath("bell.ogg.wav"), junk = dir.filePath("junk.ogg");
    QVERIFY(fixtures::writeFile(bell, fixtures::toneWave(22050, 1, 300, 440)) && fixtures::writeFile(junk, "no sound"));
    s.ws.session.SoundDecoder = qEnvironmentVariable("QUORVEL_SOUND_DECODER");
    const auto choose = [&](int index, std::optional<FileChoice> file = std::nullopt) {
      if (index == LoadSoundEntry) s.platform.fileAnswers.enqueue(file);
      s.d().Combo_Sound.Index = index;
      Combo_Sound_Click(s.ws);
      return s.d().Combo_Sound.Entries.value(s.d().Combo_Sound.Index);
    };
    for (const int accept : {0, 1}) {
      s.load();
      QCOMPARE(choose(1), QString("Ding!"));
      QCOMPARE(choose(LoadSoundEntry), QString("Ding!"));
      QCOMPARE(choose(LoadSoundEntry, fileChoiceFromPath(junk)), QString("Ding!"));
      QCOMPARE(choose(LoadSoundEntry, fileChoiceFromPath(bell)), QString("bell.ogg"));
      QCOMPARE(s.d().Combo_Sound.Entries.size(), 4);
      Button_frmPanes_Click(s.ws, accept);
    }
    QVERIFY(s.platform.calls("ShowMessage|Load a sound|" + junk + "\nThe sound could not be used: it is not a sound").size() == 2);
    QCOMPARE(s.ws.project.OwnSounds.keys(), QList<Long>{1000});
    QCOMPARE(s.pane().Sound, 1000);
    s.ws.pointer.TargetPane = 2;
    LoadPaneProperties(s.ws, 2);
    QCOMPARE(choose(LoadSoundEntry, fileChoiceFromPath(bell)), QString("bell.ogg"));
    QCOMPARE(s.d().Combo_Sound.Entries.size(), 4);
  }

  // Each box's Popular Values and what they put in, its "0" and "7" keys
  // and its clamp; letters are refused, Backspace passes.
  void everyNumericBoxFollowsItsRules() {
    Session s;
    QString popular, zero, seven, clamped;
    for (int k = 0; k < ValBoxCount; ++k) {
      const std::array<bool, 6> items = Text_Val_MouseDown(s.ws, k);
      popular += items[1] ? 'a' : items[0] ? '5' : '-';
      zero += Text_Val_KeyPress(s.ws, k, '0').value_or('x');
      seven += Text_Val_KeyPress(s.ws, k, '7').value_or('x');
      Text_Val_Change(s.ws, k, "0999");
      clamped += s.d().Text_Val[size_t(k)].Text + ' ';
    }
    QCOMPARE(popular, QString("aaa-5-a55aaa-aaa"));
    QCOMPARE(zero, QString("0110000110011000"));
    QCOMPARE(seven, QString("777x777777777777"));
    QVERIFY(!Text_Val_KeyPress(s.ws, 0, 'a') && !Text_Val_KeyPress(s.ws, 0, ':') && Text_Val_KeyPress(s.ws, 0, '\b'));
    QCOMPARE(clamped, QString("99 99 99 9 9 0999 99 5 5 200 200 99 3 200 200 99 "));
    QString chosen;  // the Popular Values menu into the Height box
    for (int item = 0; item < 6; ++item) {
      Text_Val_MouseDown(s.ws, 9);
      mnuPopularValues_Click(s.ws, item);
      chosen += s.d().Text_Val[9].Text + ' ';
    }
    QCOMPARE(chosen, QString("5 10 25 50 75 99 "));
  }

  // The Writing refuses the separator as a key. (Any key makes the Writing
  // "Active": the window test types one.)
  void layerListRevealListAndTarget() {
    Session s;
    QVERIFY(!Text_Writing_KeyPress(s.ws, FieldSeparator));
    // The label moves to the end of the layer list; a Target outside the
    // table stores nothing.
    s.load();
    s.ws.project.List_Zorder = {{"one", 1}, {"two", 2}};
    s.d().Text_Label = "Tree";
    UpdatePaneProperties(s.ws);
    QCOMPARE(s.ws.project.List_Zorder, (QVector<ZorderEntry>{{"two", 2}, {"Tree", 1}}));
    // A removed Pane named by RevealPane is not in the list: "none" stays.
    s.pane().RevealPane = 7;
    s.load();
    QCOMPARE(s.d().List1.Index, 0);
    const auto before = s.ws.project.PaneTable;
    s.ws.pointer.TargetPane = 51;
    s.d().Text_Label = "Else";
    UpdatePaneProperties(s.ws);
    QVERIFY(s.ws.project.PaneTable == before);
  }

  // Every Pane of every example opens in the dialog and is accepted
  // unchanged: no example holds a value the dialog cannot make.
  void examplesStayInsideTheDialog() {
    const QDir examples(qEnvironmentVariable("QUORVEL_EXAMPLES"));
    const QStringList names = examples.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    QCOMPARE(names.size(), 4);
    for (const QString& name : names) {
      HeadlessSession s;
      QVERIFY(LoadProjectFile(s.ws, fileChoiceFromPath(examples.filePath(name + "/" + name + ".QV1"))).succeeded());
      s.windows.onShow = [&](DialogKind) { Button_frmPanes_Click(s.ws, 1); };
      for (int n = 1; n <= MaxPanes; ++n) {
        if (!isSet(s.ws.project.PaneTable[size_t(n)].InUse)) continue;
        const PaneRecord before = s.ws.project.PaneTable[size_t(n)];
        s.ws.pointer.TargetPane = Integer(n);
        mnu_EditPane_Click(s.ws);
        QVERIFY2(s.ws.project.PaneTable[size_t(n)] == before, qPrintable(name + ": " + before.Label));
      }
    }
  }

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

QTEST_GUILESS_MAIN(TestProperties)
#include "test_properties.moc"
