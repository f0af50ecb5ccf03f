// The project commands: the file dialogs, the four files a save writes, a
// load that restores every field and picture, saves and loads that fail, and
// New and End with their questions.
#include "editing/Panes.h"
#include "project/ProjectCommands.h"
#include "project/ProjectText.h"
#include "project/RtfReader.h"
#include "project/RtfWriter.h"
#include "shell/BoardSizes.h"
#include "shell/Setups.h"
#include "support/FakePlatform.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using namespace qv;

namespace {

const QList<int> UsedSlots = {2, 7, 12, 50};
const QString Filter = QStringLiteral("Project Format (*.QV1)|*.QV1");

// A pattern that differs from pixel to pixel and from seed to seed.
void paintPattern(QImage& img, int seed) {
  for (int y = 0; y < img.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = 0; x < img.width(); ++x) line[x] = qRgb((x * 7 + seed) & 255, (y * 3 + seed * 5) & 255, (x ^ y) & 255);
  }
}

// Every field of a Pane away from its default; Left and Top negative.
void fillFields(PaneRecord& r, int slot) {
  const auto& fields = PaneFields();
  for (size_t i = 1; i < fields.size(); ++i) {
    const PaneField& f = fields[i];
    const int k = int(i);
    switch (f.kind) {
      case FieldKind::Integer: f.integer(r) = Integer((k % 2 ? 1 : -1) * (k * 10 + slot)); break;
      case FieldKind::Long: f.longValue(r) = (k % 2 ? 1 : -1) * (100000 * slot + k); break;
      case FieldKind::Flag: f.integer(r) = QvTrue; break;
      case FieldKind::Text: f.text(r) = QString::fromUtf8("%1-%2 Ζωή é").arg(f.name).arg(slot); break;
    }
  }
  r.Left = Integer(-15 - slot);
  r.Top = Integer(-40 - slot);
}

// Panes in slots 2, 7, 12 and 50 (the others free) with every saved field
// set, unusual Board settings and patterned pictures in the three surfaces.
void buildProject(Workspace& ws) {
  for (int i = 0; i < MaxPanes; ++i) AddPane(ws);
  for (int n = 1; n <= MaxPanes; ++n) {
    if (UsedSlots.contains(n)) continue;
    ws.CurrentPane = n;
    RemovePane(ws);
  }
  for (int n : UsedSlots) fillFields(ws.PaneTable[size_t(n)], n);
  BoardSettingsRecord& b = ws.BoardSettings;
  b.BackPictureName = QStringLiteral("sky.bmp");
  b.BoardBackColor = RGB(1, 2, 3);
  b.LabelColor = RGB(200, 10, 20);
  b.SelectionColor = RGB(0, 0, 255);
  b.UseBackPicture = QvTrue;
  b.WirePanes = b.FloatPanes = b.BoardLocked = QvTrue;
  paintPattern(ws.picSprites.Image(), 1);
  paintPattern(ws.picMasks.Image(), 2);
  paintPattern(ws.picBackground.Image(), 3);
}

void answerFile(TestBench& b, const QString& path) { b.platform.fileAnswers.enqueue(fileChoiceFromPath(path)); }

void saveAs(TestBench& b, const QString& path) {
  answerFile(b, path);
  SaveProject(b.ws);
}

bool loadFrom(TestBench& b, const QString& path) {
  answerFile(b, path);
  return LoadProject(b.ws);
}

QByteArray bytesOf(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeBytes(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QStringList entries(const QString& dir) {
  return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

QStringList projectFiles(const QString& name) {
  QStringList l = {name + ".QV1", "Back_" + name + ".bmp", "Sprites_" + name + ".bmp", "Masks_" + name + ".bmp"};
  l.sort();
  return l;
}

bool designIconsShown(const Workspace& ws) {
  for (int i : DesignIcons)
    if (!ws.win.Img_IconStrip[size_t(i)].Visible) return false;
  return true;
}

// A workspace already holding a project of its own: three Panes, a Target.
void occupy(TestBench& b) {
  for (int i = 0; i < 3; ++i) AddPane(b.ws);
  b.ws.win.Shape1[0].Visible = true;
  b.ws.picStage.SetPicture(QImage(10, 10, QImage::Format_RGB32));
  paintPattern(b.ws.picMasks.Image(), 8);
  b.ws.picMasks.TakeImageAsPicture();
  paintPattern(b.ws.picBackground.Image(), 9);
  b.ws.picBackground.TakeImageAsPicture();
}

// A surface that shows nothing but its back colour.
bool blank(const Surface& s) {
  const QImage& img = s.Image();
  const QRgb back = toQRgb(s.BackColor) & 0xFFFFFFu;
  for (int y = 0; y < img.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
    for (int x = 0; x < img.width(); ++x)
      if ((line[x] & 0xFFFFFFu) != back) return false;
  }
  return true;
}

}  // namespace

class TestProjectCommands : public QObject {
  Q_OBJECT

 private slots:
  void saveWritesTheFourFiles() {
    QTemporaryDir dir;
    TestBench bench;
    buildProject(bench.ws);
    bench.ws.SavePath = "old path";
    bench.ws.ProjectName = "old";

    // Cancel: the dialog was set up, nothing changes and nothing is written.
    SaveProject(bench.ws);
    QCOMPARE(bench.platform.calls("SaveFileDialog"),
             QStringList{"SaveFileDialog|Save Quorvel Project|" + Filter + "|"});
    QCOMPARE(bench.ws.SavePath, QString("old path"));
    QCOMPARE(bench.ws.ProjectName, QString("old"));
    QVERIFY(entries(dir.path()).isEmpty());
    QCOMPARE(bench.platform.waitedMs, 0);

    // Whatever extension is typed, the project text goes to NAME.QV1.
    const QString chosen = dir.filePath("demo.txt");
    saveAs(bench, chosen);
    QCOMPARE(entries(dir.path()), projectFiles("demo"));
    QCOMPARE(bench.ws.ProjectName, QString("demo"));
    QCOMPARE(bench.ws.ProjectFolder, dir.path() + "/");
    QCOMPARE(bench.ws.win.Label1, dir.path() + "/");
    QCOMPARE(bench.ws.SavePath, chosen);
    QCOMPARE(bench.ws.ProjectFileTitle, QString("demo.txt"));
    QCOMPARE(bench.ws.PaneCount, Integer(4));
    QCOMPARE(bench.platform.waitedMs, 120);
    QCOMPARE(bench.ws.picStage.Pointer, MousePointer::Arrow);
    QVERIFY(bench.platform.calls("ShowMessage").isEmpty());

    // The .QV1 is a rich-text document holding the project text; the
    // bitmaps hold the three pictures.
    const RtfReadResult doc = ReadRtf(bytesOf(dir.filePath("demo.QV1")));
    QVERIFY(doc.ok);
    QCOMPARE(doc.text, SerializeProject(bench.ws));
    QVERIFY(doc.text.startsWith(QString("4") + FieldSeparator + "2" + FieldSeparator + "-17" + FieldSeparator));
    QCOMPARE(QImage(dir.filePath("Sprites_demo.bmp")).convertToFormat(QImage::Format_RGB32),
             bench.ws.picSprites.Image());
    QCOMPARE(QImage(dir.filePath("Masks_demo.bmp")).convertToFormat(QImage::Format_RGB32),
             bench.ws.picMasks.Image());
    QCOMPARE(QImage(dir.filePath("Back_demo.bmp")).convertToFormat(QImage::Format_RGB32),
             bench.ws.picBackground.Image());

    // A title of fewer than four characters gives no name: nothing written.
    QTemporaryDir other;
    saveAs(bench, other.filePath("abc"));
    QVERIFY(entries(other.path()).isEmpty());
    QCOMPARE(bench.ws.ProjectName, QString("demo"));
    QCOMPARE(bench.ws.win.Label1, dir.path() + "/");
    QCOMPARE(bench.ws.picStage.Pointer, MousePointer::Arrow);
    QCOMPARE(bench.platform.waitedMs, 120);
  }

  void failedSaveKeepsOlderFiles() {
    QTemporaryDir dir;
    TestBench bench;
    buildProject(bench.ws);
    // Good files of an earlier save, and a folder where the sprite sheet goes.
    QVERIFY(writeBytes(dir.filePath("demo.QV1"), "old text"));
    QVERIFY(writeBytes(dir.filePath("Back_demo.bmp"), "old back"));
    QVERIFY(writeBytes(dir.filePath("Masks_demo.bmp"), "old masks"));
    QVERIFY(QDir(dir.path()).mkdir("Sprites_demo.bmp"));

    saveAs(bench, dir.filePath("demo.QV1"));
    QCOMPARE(entries(dir.path()), projectFiles("demo"));  // no temporary files left
    QVERIFY(QFileInfo(dir.filePath("Sprites_demo.bmp")).isDir());
    QCOMPARE(ReadRtf(bytesOf(dir.filePath("demo.QV1"))).text, SerializeProject(bench.ws));
    QCOMPARE(bytesOf(dir.filePath("Back_demo.bmp")).left(2), QByteArray("BM"));
    QCOMPARE(bytesOf(dir.filePath("Masks_demo.bmp")), QByteArray("old masks"));
    const QStringList told = bench.platform.calls("ShowMessage|Save Project|");
    QCOMPARE(told.size(), 1);
    QVERIFY2(told[0].contains("Sprites_demo.bmp"), qPrintable(told[0]));
    QCOMPARE(bench.platform.waitedMs, 0);
    QCOMPARE(bench.ws.picStage.Pointer, MousePointer::Arrow);

    // A folder that does not exist: the first file fails, nothing is made.
    TestBench second;
    saveAs(second, dir.filePath("gone/demo.QV1"));
    QVERIFY(!QFileInfo::exists(dir.filePath("gone")));
    const QStringList missing = second.platform.calls("ShowMessage|Save Project|");
    QCOMPARE(missing.size(), 1);
    QVERIFY2(missing[0].contains("demo.QV1"), qPrintable(missing[0]));
  }

  void loadDialogAndCancel() {
    TestBench bench;
    occupy(bench);
    HideDesignIcons(bench.ws);
    const auto panes = bench.ws.PaneTable;
    const auto zorder = bench.ws.win.List_Zorder;
    QVERIFY(bench.ws.win.picIntro.Visible);

    QVERIFY(!LoadProject(bench.ws));
    QCOMPARE(bench.platform.calls("OpenFileDialog"),
             QStringList{"OpenFileDialog|Load Quorvel Project|" + Filter + "|/opt/quorvel/"});
    QVERIFY(bench.ws.win.picIntro.Visible);
    QVERIFY(!designIconsShown(bench.ws));
    QVERIFY(bench.ws.PaneTable == panes);
    QCOMPARE(bench.ws.win.List_Zorder, zorder);
    QVERIFY(!bench.ws.win.menuEnabled("mnu_BoardCompositePanes"));
    QVERIFY(!blank(bench.ws.picSprites));
    QVERIFY(!blank(bench.ws.picMasks));

    // The intro's own load command: cancelled, the intro stays too.
    mnu_LoadsProject_Click(bench.ws);
    QVERIFY(bench.ws.win.picIntro.Visible);
  }

  void unreadableTextStillLeavesTheIntro() {
    QTemporaryDir dir;
    TestBench bench;
    occupy(bench);
    HideDesignIcons(bench.ws);
    QVERIFY(loadFrom(bench, dir.filePath("nothere.QV1")));
    QVERIFY(!bench.ws.win.picIntro.Visible);
    QVERIFY(bench.ws.picStage.Visible);
    QVERIFY(designIconsShown(bench.ws));
    QVERIFY(bench.ws.win.menuEnabled("mnu_BoardCompositePanes"));
    QVERIFY(bench.ws.win.KeyPreview);
    // The Board was emptied before the read and stays so.
    QCOMPARE(CountPanesInUse(bench.ws), 0);
    QVERIFY(bench.ws.win.List_Zorder.isEmpty());
    QVERIFY(blank(bench.ws.picSprites));
    QVERIFY(blank(bench.ws.picMasks));
    QVERIFY(bench.ws.picBackground.Picture().isNull());
    QVERIFY(blank(bench.ws.picBackground));
    QVERIFY(bench.ws.picStage.Picture().isNull());
    QCOMPARE(bench.ws.ProjectName, QString("nothere"));
    const QStringList told = bench.platform.calls("ShowMessage|Load a Project|");
    QCOMPARE(told.size(), 1);
    QVERIFY2(told[0].contains("nothere.QV1"), qPrintable(told[0]));
    QCOMPARE(bench.ws.picStage.Pointer, MousePointer::Arrow);
  }

  void roundTrip() {
    QTemporaryDir dir;
    TestBench saver;
    buildProject(saver.ws);
    saveAs(saver, dir.filePath("demo.QV1"));

    // Loaded with the Board dialog's options at their start values (no
    // wires, no floating, Board movable) the three flags come out False
    // though the file says True.
    TestBench bench;
    occupy(bench);
    QVERIFY(loadFrom(bench, dir.filePath("demo.QV1")));
    QVERIFY(bench.platform.calls("ShowMessage").isEmpty());
    const Workspace& ws = bench.ws;
    QCOMPARE(ws.PaneCount, Integer(4));
    for (int n = 0; n <= MaxPanes; ++n) {
      if (UsedSlots.contains(n))
        QVERIFY2(ws.PaneTable[size_t(n)] == saver.ws.PaneTable[size_t(n)], qPrintable(QString::number(n)));
      else
        QVERIFY2(!isSet(ws.PaneTable[size_t(n)].InUse), qPrintable(QString::number(n)));
    }
    QCOMPARE(ws.PaneTable[2].Left, Integer(-17));
    QCOMPARE(ws.PaneTable[50].Top, Integer(-90));
    QVector<ZorderEntry> zorder;
    for (int n : UsedSlots) zorder.append({saver.ws.PaneTable[size_t(n)].Label, n});
    QCOMPARE(ws.win.List_Zorder, zorder);

    BoardSettingsRecord expected = saver.ws.BoardSettings;
    expected.WirePanes = expected.FloatPanes = expected.BoardLocked = QvFalse;
    expected.BackPicturePath = dir.filePath("Back_demo.bmp");
    QCOMPARE(ws.BoardSettings, expected);

    QCOMPARE(ws.picSprites.Image(), saver.ws.picSprites.Image());
    QCOMPARE(ws.picMasks.Image(), saver.ws.picMasks.Image());
    QCOMPARE(ws.picBackground.Image(), saver.ws.picBackground.Image());
    QCOMPARE(ws.picBackground.Picture(), saver.ws.picBackground.Image());
    QVERIFY(!ws.picBackground.AutoSize);

    QVERIFY(ws.win.menuEnabled("mnu_BoardCompositePanes"));
    QVERIFY(!ws.win.Shape1[0].Visible);
    QVERIFY(ws.win.picFastMenu.Visible);
    QCOMPARE(ws.picStage.Top, ws.win.picFastMenu.Top + ws.win.picFastMenu.Height);
    QCOMPARE(ws.picStage.Left, ws.win.picHolder.Left + 1);
    QCOMPARE(ws.ProjectName, QString("demo"));
    QCOMPARE(ws.ProjectFolder, dir.path() + "/");
    QVERIFY(ws.win.KeyPreview);

    // The opposite options give the opposite flags, whatever the file holds.
    saver.ws.BoardSettings.WirePanes = saver.ws.BoardSettings.FloatPanes = QvFalse;
    saver.ws.BoardSettings.BoardLocked = QvFalse;
    saver.ws.BoardSettings.UseBackPicture = QvFalse;
    saveAs(saver, dir.filePath("demo.QV1"));
    TestBench flipped;
    flipped.ws.win.Option_WirePanes = 1;
    flipped.ws.win.Option_FloatPanes = 1;
    flipped.ws.win.Option_BoardMove = 0;
    QVERIFY(loadFrom(flipped, dir.filePath("demo.QV1")));
    QCOMPARE(flipped.ws.BoardSettings.WirePanes, QvTrue);
    QCOMPARE(flipped.ws.BoardSettings.FloatPanes, QvTrue);
    QCOMPARE(flipped.ws.BoardSettings.BoardLocked, QvTrue);
    // The Back_ bitmap loaded, yet the project text has the last word.
    QCOMPARE(flipped.ws.BoardSettings.UseBackPicture, QvFalse);
    QCOMPARE(flipped.ws.BoardSettings.BackPicturePath, dir.filePath("Back_demo.bmp"));
    QCOMPARE(flipped.ws.picBackground.Image(), saver.ws.picBackground.Image());
  }

  void loadWithoutBitmaps() {
    QTemporaryDir dir;
    TestBench saver;
    buildProject(saver.ws);
    saveAs(saver, dir.filePath("demo.QV1"));
    for (const char* f : {"Back_demo.bmp", "Sprites_demo.bmp", "Masks_demo.bmp"}) QVERIFY(QFile::remove(dir.filePath(f)));
#ifdef Q_OS_UNIX
    // A pipe in place of a bitmap is no picture; reading it must not wait.
    QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath("Sprites_demo.bmp")).constData(), 0600), 0);
#endif

    TestBench bench;
    occupy(bench);
    QVERIFY(loadFrom(bench, dir.filePath("demo.QV1")));
    for (int n : UsedSlots) QVERIFY(bench.ws.PaneTable[size_t(n)] == saver.ws.PaneTable[size_t(n)]);
    QCOMPARE(bench.ws.win.List_Zorder.size(), 4);
    QCOMPARE(bench.ws.win.List_Zorder[3], (ZorderEntry{saver.ws.PaneTable[50].Label, 50}));
    QVERIFY(blank(bench.ws.picSprites));
    QVERIFY(blank(bench.ws.picMasks));
    QVERIFY(bench.ws.picBackground.Picture().isNull());
    // UseBackPicture follows the project text; the path is not the Back_ file.
    QCOMPARE(bench.ws.BoardSettings.UseBackPicture, QvTrue);
    QCOMPARE(bench.ws.BoardSettings.BackPicturePath, QString("none"));
  }

  void damagedProjectFiles() {
    QTemporaryDir dir;
    TestBench saver;
    buildProject(saver.ws);
    saveAs(saver, dir.filePath("good.QV1"));
    const QByteArray good = bytesOf(dir.filePath("good.QV1"));

    QByteArray garbage(4096, '\0');
    QRandomGenerator rng(7);
    for (auto& c : garbage) c = char(rng.bounded(256));
    garbage[0] = 'x';

    QVERIFY(writeBytes(dir.filePath("cut.QV1"), good.left(good.size() / 2)));
    QVERIFY(writeBytes(dir.filePath("junk.QV1"), garbage));
    QVERIFY(writeBytes(dir.filePath("none.QV1"), {}));
    {
      QFile huge(dir.filePath("huge.QV1"));
      QVERIFY(huge.open(QIODevice::WriteOnly));
      QVERIFY(huge.write("{\\rtf1 ") == 7);
      QVERIFY(huge.resize(MaxProjectFileBytes + 1));
    }
    QVERIFY(QDir(dir.path()).mkdir("folder.QV1"));
    QStringList names = {"cut.QV1", "junk.QV1", "none.QV1", "huge.QV1", "folder.QV1"};
#ifdef Q_OS_UNIX
    QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath("pipe.QV1")).constData(), 0600), 0);
    names << "pipe.QV1";
#endif

    for (const QString& name : names) {
      TestBench bench;
      occupy(bench);
      // The Back_ bitmap of the good project serves every name.
      QFile::copy(dir.filePath("Back_good.bmp"), dir.filePath("Back_" + name.chopped(4) + ".bmp"));
      QVERIFY(loadFrom(bench, dir.filePath(name)));
      const QStringList told = bench.platform.calls("ShowMessage|Load a Project|");
      QVERIFY2(told.size() == 1, qPrintable(name));
      QVERIFY2(told[0].contains(name), qPrintable(told[0]));
      QCOMPARE(bench.ws.picStage.Pointer, MousePointer::Arrow);
      QVERIFY(!bench.ws.win.picIntro.Visible);
      QVERIFY(!isSet(bench.ws.PaneTable[1].InUse));
    }
  }

  void textCutInsideAGroup() {
    QTemporaryDir dir;
    TestBench saver;
    buildProject(saver.ws);
    saveAs(saver, dir.filePath("demo.QV1"));
    // Keep the count, the groups of slots 2 and 7 and ten tokens of slot 12.
    const QStringList tokens = SerializeProject(saver.ws).split(FieldSeparator);
    const QString cut = tokens.mid(0, 1 + 2 * 61 + 10).join(FieldSeparator) + FieldSeparator;
    QVERIFY(writeBytes(dir.filePath("demo.QV1"), WriteRtf(cut)));

    TestBench bench;
    occupy(bench);
    bench.ws.BoardSettings.LabelColor = RGB(9, 9, 9);
    QVERIFY(loadFrom(bench, dir.filePath("demo.QV1")));
    QVERIFY(bench.ws.PaneTable[2] == saver.ws.PaneTable[2]);
    QVERIFY(bench.ws.PaneTable[7] == saver.ws.PaneTable[7]);
    QVERIFY(!isSet(bench.ws.PaneTable[50].InUse));
    QCOMPARE(bench.ws.win.List_Zorder.size(), 2);
    // Settings never reached keep their values; the Back_ bitmap loaded.
    QCOMPARE(bench.ws.BoardSettings.LabelColor, RGB(9, 9, 9));
    QCOMPARE(bench.ws.BoardSettings.UseBackPicture, QvTrue);
    QCOMPARE(bench.ws.picSprites.Image(), saver.ws.picSprites.Image());
    // Told once, after the load finished.
    const QStringList told = bench.platform.calls("ShowMessage|Load a Project|");
    QCOMPARE(told.size(), 1);
    QVERIFY2(told[0].contains("demo.QV1") && told[0].contains("damaged"), qPrintable(told[0]));
    QVERIFY(!bench.ws.win.Shape1[0].Visible);
  }

  void newProject() {
    const QString question = QStringLiteral("AskYesNo|New Project|Begin a New Project - Current Workspace will be lost?");
    TestBench bench;
    buildProject(bench.ws);
    SelectBoardSize(bench.ws, 1);
    bench.ws.win.setMenuEnabled("mnu_BoardCompositePanes", true);
    const auto panes = bench.ws.PaneTable;
    const auto zorder = bench.ws.win.List_Zorder;
    const auto settings = bench.ws.BoardSettings;
    const QImage board = bench.ws.picStage.Image();

    NewProject(bench.ws);  // No
    QCOMPARE(bench.platform.calls("AskYesNo"), QStringList{question});
    QVERIFY(bench.ws.PaneTable == panes);
    QCOMPARE(bench.ws.win.List_Zorder, zorder);
    QCOMPARE(bench.ws.BoardSettings, settings);
    QCOMPARE(bench.ws.picStage.Image(), board);
    QVERIFY(bench.ws.win.menuEnabled("mnu_BoardCompositePanes"));

    // Load, then New: everything back to the start.
    QTemporaryDir dir;
    saveAs(bench, dir.filePath("demo.QV1"));
    TestBench fresh;
    TestBench other;
    QVERIFY(loadFrom(other, dir.filePath("demo.QV1")));
    QCOMPARE(CountPanesInUse(other.ws), 4);
    SelectBoardSize(other.ws, 1);
    other.platform.yesNoAnswers.enqueue(true);
    NewProject(other.ws);
    const Workspace& ws = other.ws;
    for (int n = 0; n <= MaxPanes; ++n) QVERIFY(!isSet(ws.PaneTable[size_t(n)].InUse));
    QCOMPARE(ws.PaneCount, Integer(0));
    QVERIFY(ws.win.List_Zorder.isEmpty());
    QCOMPARE(ws.BoardSettings, fresh.ws.BoardSettings);
    QCOMPARE(ws.picStage.Width(), 800);
    QCOMPARE(ws.picStage.Height(), 600);
    QCOMPARE(ws.win.Combo_BoardIndex, 2);
    QVERIFY(!ws.win.menuEnabled("mnu_BoardCompositePanes"));
    QVERIFY(ws.win.picFastMenu.Visible);
    QVERIFY(blank(ws.picSprites));
    QVERIFY(blank(ws.picMasks));
    QVERIFY(ws.picBackground.Picture().isNull());
    QCOMPARE(ws.picStage.Image().pixel(400, 300), toQRgb(Grey));
    // The name of the last load stays.
    QCOMPARE(ws.ProjectName, QString("demo"));
    QCOMPARE(ws.ProjectFolder, dir.path() + "/");
  }

  void endApplication() {
    TestBench bench;
    bench.platform.yesNoAnswers.enqueue(false);
    bench.platform.yesNoAnswers.enqueue(true);
    QVERIFY(!EndApplication(bench.ws));
    QVERIFY(EndApplication(bench.ws));
    QCOMPARE(bench.platform.calls("AskYesNo"),
             QStringList(2, "AskYesNo|Activity : End Application|End your time with Quorvel ?"));
  }
};

QTEST_GUILESS_MAIN(TestProjectCommands)
#include "test_projectcommands.moc"
