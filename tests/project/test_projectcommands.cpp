// The project commands: the file dialogs, the four files a save writes, a
// load that restores every field and picture, damaged files, New and End.
#include "editing/Panes.h"
#include "project/ProjectCommands.h"
#include "project/ProjectText.h"
#include "project/RtfReader.h"
#include "project/RtfWriter.h"
#include "shell/BoardSizes.h"
#include "shell/Setups.h"
#include "shell/Headless.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using namespace qv;

namespace {

const QList<int> UsedSlots = {2, 7, 12, 50};
const QString Filter = QStringLiteral("Project Format (*.QV1)|*.QV1");
const QStringList DemoFiles = {"Back_demo.bmp", "Masks_demo.bmp", "Sprites_demo.bmp", "demo.QV1"};

void paintPattern(QImage& img, int seed) {
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      img.setPixel(x, y, qRgb((x * 7 + seed) & 255, (y * 3 + seed * 5) & 255, (x ^ y) & 255));
}

// Panes in slots 2, 7, 12 and 50 with every saved field away from its
// default (Left and Top negative), unusual Board settings, patterned sheets.
void buildProject(Workspace& ws) {
  for (int i = 0; i < MaxPanes; ++i) AddPane(ws);
  for (int n = 1; n <= MaxPanes; ++n) {
    if (UsedSlots.contains(n)) continue;
    ws.pointer.CurrentPane = n;
    RemovePane(ws);
  }
  const auto& fields = PaneFields();
  for (int n : UsedSlots) {
    PaneRecord& r = ws.PaneTable[size_t(n)];
    for (size_t i = 1; i < fields.size(); ++i) {
      const PaneField& f = fields[i];
      const int k = int(i), sign = k % 2 ? 1 : -1;
      switch (f.kind) {
        case FieldKind::Integer: f.integer(r) = Integer(sign * (k * 10 + n)); break;
        case FieldKind::Long: f.longValue(r) = sign * (100000 * n + k); break;
        case FieldKind::Flag: f.integer(r) = QvTrue; break;
        case FieldKind::Text: f.text(r) = QString::fromUtf8("%1-%2 Ζωή é 😀 {\\}").arg(f.name).arg(n); break;
      }
    }
    r.Left = Integer(-15 - n);
    r.Top = Integer(-40 - n);
  }
  BoardSettingsRecord& b = ws.BoardSettings;
  b.BackPictureName = QStringLiteral("sky.bmp");
  b.BoardBackColor = RGB(1, 2, 3);
  b.LabelColor = RGB(200, 10, 20);
  b.SelectionColor = RGB(0, 0, 255);
  b.UseBackPicture = b.WirePanes = b.FloatPanes = b.BoardLocked = QvTrue;
  paintPattern(ws.surfaces.picSprites.Image(), 1);
  paintPattern(ws.surfaces.picMasks.Image(), 2);
  paintPattern(ws.surfaces.picBackground.Image(), 3);
}

Outcome saveAs(HeadlessSession& b, const QString& path) {
  b.platform.fileAnswers.enqueue(fileChoiceFromPath(path));
  return SaveProject(b.ws);
}

Outcome loadFrom(HeadlessSession& b, const QString& path) {
  b.platform.fileAnswers.enqueue(fileChoiceFromPath(path));
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

bool designIconsShown(const Workspace& ws) {
  return std::all_of(DesignIcons.begin(), DesignIcons.end(),
                     [&](int i) { return ws.win.Img_IconStrip[size_t(i)].Visible; });
}

// A workspace holding a project of its own: three Panes, a Target, pictures.
void occupy(HeadlessSession& b) {
  for (int i = 0; i < 3; ++i) AddPane(b.ws);
  b.ws.win.Shape1[0].Visible = true;
  b.ws.surfaces.picStage.SetPicture(QImage(10, 10, QImage::Format_RGB32));
  paintPattern(b.ws.surfaces.picMasks.Image(), 8);
  b.ws.surfaces.picMasks.TakeImageAsPicture();
  paintPattern(b.ws.surfaces.picBackground.Image(), 9);
  b.ws.surfaces.picBackground.TakeImageAsPicture();
}

// A surface that shows nothing but its back colour.
bool blank(const Surface& s) {
  QImage plain(s.Image().size(), QImage::Format_RGB32);
  plain.fill(QColor::fromRgb(toQRgb(s.BackColor)));
  return s.Image().convertToFormat(QImage::Format_RGB32) == plain;
}

}  // namespace

class TestProjectCommands : public QObject {
  Q_OBJECT

 private slots:
  void saveWritesTheFourFiles() {
    QTemporaryDir dir;
    HeadlessSession bench;
    buildProject(bench.ws);
    bench.ws.project.ProjectName = "old";
    SaveProject(bench.ws);  // cancelled
    QCOMPARE(bench.platform.calls("SaveFileDialog"),
             QStringList{"SaveFileDialog|Save Quorvel Project|" + Filter + "|"});
    QCOMPARE(bench.ws.project.ProjectName, QString("old"));

    // Whatever extension is typed, the project text goes to NAME.QV1.
    saveAs(bench, dir.filePath("demo.txt"));
    QCOMPARE(entries(dir.path()), DemoFiles);
    QCOMPARE(bench.ws.project.ProjectName, QString("demo"));
    QCOMPARE(bench.ws.project.ProjectFolder, dir.path() + "/");
    QCOMPARE(bench.ws.win.Label1, dir.path() + "/");
    QCOMPARE(bench.ws.project.SavePath, dir.filePath("demo.txt"));
    QCOMPARE(bench.ws.project.ProjectFileTitle, QString("demo.txt"));
    QCOMPARE(bench.ws.project.PaneCount, Integer(4));
    QCOMPARE(bench.platform.waitedMs, 120);
    QCOMPARE(bench.ws.surfaces.picStage.Pointer, MousePointer::Arrow);
    QVERIFY(bench.platform.calls("ShowMessage").isEmpty());
    const RtfReadResult doc = ReadRtf(bytesOf(dir.filePath("demo.QV1")));
    QCOMPARE(doc.text, SerializeProject(bench.ws));
    const std::pair<QString, const Surface*> sheets[] = {
        {"Back_", &bench.ws.surfaces.picBackground}, {"Sprites_", &bench.ws.surfaces.picSprites}, {"Masks_", &bench.ws.surfaces.picMasks}};
    for (const auto& [kind, surface] : sheets)
      QCOMPARE(QImage(dir.filePath(kind + "demo.bmp")).convertToFormat(QImage::Format_RGB32), surface->Image());

    // A title of fewer than four characters gives no name: nothing written.
    QTemporaryDir other;
    saveAs(bench, other.filePath("abc"));
    QVERIFY(entries(other.path()).isEmpty());
    QCOMPARE(bench.ws.project.ProjectName, QString("demo"));
    QCOMPARE(bench.ws.win.Label1, dir.path() + "/");
    QCOMPARE(bench.ws.surfaces.picStage.Pointer, MousePointer::Arrow);
  }

  void failedSaveKeepsOlderFiles() {
    QTemporaryDir dir;
    HeadlessSession bench;
    buildProject(bench.ws);
    // An earlier save, and a folder where the sprite sheet goes: the four
    // files change together, so none of them does.
    QVERIFY(writeBytes(dir.filePath("demo.QV1"), "old text"));
    QVERIFY(writeBytes(dir.filePath("Masks_demo.bmp"), "old masks"));
    QVERIFY(QDir(dir.path()).mkdir("Sprites_demo.bmp"));
    const Outcome saved = saveAs(bench, dir.filePath("demo.QV1"));
    QCOMPARE(entries(dir.path()), QStringList({"Masks_demo.bmp", "Sprites_demo.bmp", "demo.QV1"}));
    QCOMPARE(bytesOf(dir.filePath("demo.QV1")), QByteArray("old text"));
    QCOMPARE(bytesOf(dir.filePath("Masks_demo.bmp")), QByteArray("old masks"));
    QVERIFY(saved.hasFailed());
    QCOMPARE(saved.failure().file, dir.filePath("Sprites_demo.bmp"));
    QVERIFY(saved.failure().reason.contains("folder"));
    QCOMPARE(bench.platform.waitedMs, 0);
    QCOMPARE(bench.ws.surfaces.picStage.Pointer, MousePointer::Arrow);
  }

  void roundTrip() {
    QTemporaryDir dir;
    HeadlessSession saver;
    buildProject(saver.ws);
    saveAs(saver, dir.filePath("demo.QV1"));

    // A cancelled load changes nothing, the intro stays.
    HeadlessSession bench;
    occupy(bench);
    HideDesignIcons(bench.ws);
    const auto panes = bench.ws.PaneTable;
    QVERIFY(LoadProject(bench.ws).wasCancelled());
    mnu_LoadsProject_Click(bench.ws);
    QCOMPARE(bench.platform.calls("OpenFileDialog"),
             QStringList(2, "OpenFileDialog|Load Quorvel Project|" + Filter + "|/opt/quorvel/"));
    QVERIFY(bench.ws.win.picIntro.Visible);
    QVERIFY(!designIconsShown(bench.ws));
    QVERIFY(bench.ws.PaneTable == panes);
    QVERIFY(!bench.ws.win.menuEnabled("mnu_BoardCompositePanes"));
    QVERIFY(!blank(bench.ws.surfaces.picMasks));

    // The Board dialog's options at their start values (no wires, no
    // floating, Board movable) turn the file's three True flags False.
    QCOMPARE(loadFrom(bench, dir.filePath("demo.QV1")).kind(), Outcome::Kind::Done);
    const Workspace& ws = bench.ws;
    QCOMPARE(ws.project.PaneCount, Integer(4));
    for (int n = 0; n <= MaxPanes; ++n)
      QVERIFY2(UsedSlots.contains(n) ? ws.PaneTable[size_t(n)] == saver.ws.PaneTable[size_t(n)]
                                     : !isSet(ws.PaneTable[size_t(n)].InUse),
               qPrintable(QString::number(n)));
    QCOMPARE(ws.PaneTable[50].Top, Integer(-90));
    QVector<ZorderEntry> zorder;
    for (int n : UsedSlots) zorder.append({saver.ws.PaneTable[size_t(n)].Label, n});
    QCOMPARE(ws.win.List_Zorder, zorder);
    QCOMPARE(ws.pointer.CurrentPane, 50);
    BoardSettingsRecord expected = saver.ws.BoardSettings;
    expected.WirePanes = expected.FloatPanes = expected.BoardLocked = QvFalse;
    expected.BackPicturePath = dir.filePath("Back_demo.bmp");
    QCOMPARE(ws.BoardSettings, expected);
    QCOMPARE(ws.surfaces.picSprites.Image(), saver.ws.surfaces.picSprites.Image());
    QCOMPARE(ws.surfaces.picMasks.Image(), saver.ws.surfaces.picMasks.Image());
    QCOMPARE(ws.surfaces.picBackground.Image(), saver.ws.surfaces.picBackground.Image());
    QCOMPARE(ws.surfaces.picBackground.Picture(), saver.ws.surfaces.picBackground.Image());
    QVERIFY(!ws.surfaces.picBackground.AutoSize);
    QVERIFY(!ws.win.Shape1[0].Visible);
    QVERIFY(ws.win.picFastMenu.Visible);
    QCOMPARE(ws.surfaces.picStage.Top, ws.win.picFastMenu.Top + ws.win.picFastMenu.Height);
    QCOMPARE(ws.project.ProjectName, QString("demo"));
    QVERIFY(ws.win.KeyPreview);

    // New: No changes nothing; Yes brings everything back to the start.
    SelectBoardSize(bench.ws, 1);
    const auto loaded = bench.ws.PaneTable;
    const auto settings = bench.ws.BoardSettings;
    const QImage board = bench.ws.surfaces.picStage.Image();
    NewProject(bench.ws);
    QCOMPARE(bench.platform.calls("AskYesNo"),
             QStringList{"AskYesNo|New Project|Begin a New Project - Current Workspace will be lost?"});
    QVERIFY(bench.ws.PaneTable == loaded);
    QCOMPARE(bench.ws.win.List_Zorder, zorder);
    QCOMPARE(bench.ws.BoardSettings, settings);
    QCOMPARE(bench.ws.surfaces.picStage.Image(), board);
    QVERIFY(bench.ws.win.menuEnabled("mnu_BoardCompositePanes"));
    bench.platform.yesNoAnswers.enqueue(true);
    NewProject(bench.ws);
    for (int n = 0; n <= MaxPanes; ++n) QVERIFY(!isSet(ws.PaneTable[size_t(n)].InUse));
    QCOMPARE(ws.project.PaneCount, Integer(0));
    QVERIFY(ws.win.List_Zorder.isEmpty());
    QCOMPARE(ws.BoardSettings, HeadlessSession().ws.BoardSettings);
    QCOMPARE(QSize(ws.surfaces.picStage.Width(), ws.surfaces.picStage.Height()), QSize(800, 600));
    QVERIFY(!ws.win.menuEnabled("mnu_BoardCompositePanes"));
    QVERIFY(blank(ws.surfaces.picSprites) && ws.surfaces.picBackground.Picture().isNull());
    QCOMPARE(ws.surfaces.picStage.Image().pixel(400, 300), toQRgb(Grey));

    // The opposite options give the opposite flags; UseBackPicture follows
    // the project text although the Back_ bitmap loaded. Missing sheets stay
    // empty, and a pipe in place of one is no picture (reading must not wait).
    BoardSettingsRecord& s = saver.ws.BoardSettings;
    s.WirePanes = s.FloatPanes = s.BoardLocked = s.UseBackPicture = QvFalse;
    saveAs(saver, dir.filePath("demo.QV1"));
    QVERIFY(QFile::remove(dir.filePath("Sprites_demo.bmp")) && QFile::remove(dir.filePath("Masks_demo.bmp")));
#ifdef Q_OS_UNIX
    QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath("Sprites_demo.bmp")).constData(), 0600), 0);
#endif
    HeadlessSession flipped;
    occupy(flipped);
    flipped.ws.dialogs.board.Option_WirePanes = flipped.ws.dialogs.board.Option_FloatPanes = 1;
    flipped.ws.dialogs.board.Option_BoardMove = 0;
    QVERIFY(loadFrom(flipped, dir.filePath("demo.QV1")).succeeded());
    const BoardSettingsRecord& f = flipped.ws.BoardSettings;
    QVERIFY(isSet(f.WirePanes) && isSet(f.FloatPanes) && isSet(f.BoardLocked));
    QCOMPARE(f.UseBackPicture, QvFalse);
    QCOMPARE(f.BackPicturePath, dir.filePath("Back_demo.bmp"));
    for (int n : UsedSlots) QVERIFY(flipped.ws.PaneTable[size_t(n)] == saver.ws.PaneTable[size_t(n)]);
    QVERIFY(blank(flipped.ws.surfaces.picSprites) && blank(flipped.ws.surfaces.picMasks));
  }

  // Each damaged file is reported once, by name. The intro is gone and the
  // design icons are shown whatever the file held, and the old project is
  // gone even when nothing could be read.
  void damagedProjectFiles() {
    QTemporaryDir dir;
    HeadlessSession saver;
    buildProject(saver.ws);
    saveAs(saver, dir.filePath("good.QV1"));
    const QByteArray good = bytesOf(dir.filePath("good.QV1"));
    QByteArray garbage(4096, 'x');
    QRandomGenerator rng(7);
    for (int i = 1; i < garbage.size(); ++i) garbage[i] = char(rng.bounded(256));
    // The count, the groups of slots 2 and 7 and ten tokens of slot 12.
    const QStringList tokens = SerializeProject(saver.ws).split(FieldSeparator);
    QVERIFY(writeBytes(dir.filePath("group.QV1"),
                       WriteRtf(tokens.mid(0, 1 + 2 * 61 + 10).join(FieldSeparator) + FieldSeparator)));
    QVERIFY(writeBytes(dir.filePath("cut.QV1"), good.left(good.size() / 2)));
    QVERIFY(writeBytes(dir.filePath("junk.QV1"), garbage));
    QVERIFY(writeBytes(dir.filePath("none.QV1"), {}));
    QFile huge(dir.filePath("huge.QV1"));
    QVERIFY(huge.open(QIODevice::WriteOnly) && huge.write("{\\rtf1 ") == 7 && huge.resize(MaxProjectFileBytes + 1));
    huge.close();
    QVERIFY(QDir(dir.path()).mkdir("folder.QV1"));
    QStringList names = {"group.QV1", "cut.QV1", "junk.QV1", "none.QV1", "huge.QV1", "folder.QV1", "nothere.QV1"};
#ifdef Q_OS_UNIX
    QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath("pipe.QV1")).constData(), 0600), 0);
    names << "pipe.QV1";
#endif
#ifdef Q_OS_LINUX
    // A file that reports size 0 but reads on for gigabytes.
    QVERIFY(QFile::link("/proc/self/pagemap", dir.filePath("pagemap.QV1")));
    names << "pagemap.QV1";
#endif
    for (const QString& name : names) {
      HeadlessSession bench;
      occupy(bench);
      HideDesignIcons(bench.ws);
      bench.ws.BoardSettings.LabelColor = RGB(9, 9, 9);
      QFile::copy(dir.filePath("Sprites_good.bmp"), dir.filePath("Sprites_" + name.chopped(4) + ".bmp"));
      const Outcome o = loadFrom(bench, dir.filePath(name));
      const bool damaged = std::any_of(o.warnings().begin(), o.warnings().end(), [&](const Problem& p) {
        return p.file.endsWith(name) && p.reason.contains("damaged");
      });
      QVERIFY2(o.hasFailed() ? o.failure().file.endsWith(name) : damaged, qPrintable(name));
      QCOMPARE(bench.ws.surfaces.picStage.Pointer, MousePointer::Arrow);
      QVERIFY(!bench.ws.win.picIntro.Visible && bench.ws.surfaces.picStage.Visible);
      QVERIFY(designIconsShown(bench.ws));
      QVERIFY(bench.ws.win.menuEnabled("mnu_BoardCompositePanes") && bench.ws.win.KeyPreview);
      QVERIFY(!isSet(bench.ws.PaneTable[1].InUse));
      if (name == "group.QV1") {
        // A text cut inside a group keeps what was read before the cut.
        QVERIFY(damaged);
        QVERIFY(!bench.ws.win.Shape1[0].Visible);
        QVERIFY(bench.ws.PaneTable[2] == saver.ws.PaneTable[2]);
        QVERIFY(bench.ws.PaneTable[7] == saver.ws.PaneTable[7]);
        QVERIFY(!isSet(bench.ws.PaneTable[50].InUse));
        QCOMPARE(bench.ws.win.List_Zorder.size(), 2);
        QCOMPARE(bench.ws.BoardSettings.LabelColor, RGB(9, 9, 9));
        QCOMPARE(bench.ws.surfaces.picSprites.Image(), saver.ws.surfaces.picSprites.Image());
        // No Back_ bitmap: the Board settings keep their values.
        QCOMPARE(bench.ws.BoardSettings.BackPicturePath, QString("none"));
        QCOMPARE(bench.ws.BoardSettings.UseBackPicture, QvFalse);
      } else if (name != "cut.QV1") {
        // Nothing read: the Board was emptied before the read and stays so.
        QVERIFY(bench.ws.win.List_Zorder.isEmpty());
        QVERIFY(blank(bench.ws.surfaces.picSprites) && blank(bench.ws.surfaces.picMasks));
        QVERIFY(bench.ws.surfaces.picBackground.Picture().isNull() && bench.ws.surfaces.picStage.Picture().isNull());
      }
    }
  }

  void endApplication() {
    HeadlessSession bench;
    bench.platform.yesNoAnswers << false << true;
    QVERIFY(EndApplication(bench.ws).wasCancelled());
    QVERIFY(EndApplication(bench.ws).succeeded());
    QCOMPARE(bench.platform.calls("AskYesNo"),
             QStringList(2, "AskYesNo|Activity : End Application|End your time with Quorvel ?"));
  }
};

QTEST_GUILESS_MAIN(TestProjectCommands)
#include "test_projectcommands.moc"
