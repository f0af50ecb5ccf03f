// The project commands: the file dialogs, the four files a save writes, a
// load that restores every field and picture, damaged files reported by
// name, New and End; then the project text (token order, value forms, where a
// damaged text stops the reading) and its rich-text codec: RichEdit's own
// documents, documents in the style of other writers, code pages, Unicode,
// malformed input.
#include "imaging/Pictures.h"
#include "library/LibraryPicker.h"
#include "project/ProjectCommands.h"
#include "project/ProjectText.h"
#include "project/RtfReader.h"
#include "project/RtfWriter.h"
#include "shell/BoardSizes.h"
#include "support/Fixtures.h"
#include "surface/PictureFile.h"

using namespace qv;

namespace {

const QList<int> UsedSlots = {2, 7, 12, 50};
const QString Filter = QStringLiteral("Project Format (*.QV1)|*.QV1");

// Panes in slots 2, 7, 12 and 50 with every saved field away from its
// default, unusual Board settings, random sheets.
void buildProject(Workspace& ws) {
  for (int n : UsedSlots) fillPane(ws.project.PaneTable[size_t(n)], n);
  // A Sound from 1000 up (slot 7's) is an own sound.
  for (int n : UsedSlots)
    if (const Long id = ws.project.PaneTable[size_t(n)].Sound; id >= 1000)
      ws.project.OwnSounds.insert(id, {QString("tone %1").arg(n), EncodeWave(QByteArray(2 * n, 'x'), 1, 44100, QString("tone %1").arg(n))});
  BoardSettingsRecord& b = ws.project.BoardSettings;
  b.BackPictureName = QStringLiteral("sky.bmp");
  b.BoardBackColor = RGB(1, 2, 3);
  b.LabelColor = RGB(200, 10, 20);
  b.SelectionColor = RGB(0, 0, 255);
  b.UseBackPicture = b.WirePanes = b.FloatPanes = b.BoardLocked = QvTrue;
  ws.project.picSprites.Image() = randomImage(SheetWidth, SheetHeight, 1);
  ws.project.picMasks.Image() = randomImage(SheetWidth, SheetHeight, 2);
  ws.project.picBackground.Image() = randomImage(800, 600, 3);
}

// Runs a command as its menu item runs it (reporting what went wrong), its
// file dialog answering path.
Outcome withFile(Command command, HeadlessSession& s, const QString& path) {
  s.platform.fileAnswers.enqueue(fileChoiceFromPath(path));
  return RunCommand(s.ws, command);
}

// The file Export as Web Page proposes (its dialog cancelled).
QString exportProposal(HeadlessSession& s) {
  RunCommand(s.ws, Command::ExportWebPage);
  return s.platform.log.last().section('|', -1);
}

// A surface that shows nothing but its back colour.
bool blank(const Surface& s) { return s.Image() == boardModel(s.Image().size(), s.BackColor, {}); }

// A workspace at the intro holding a project of its own: three Panes, a
// Target, pictures, the bar hidden.
void occupy(HeadlessSession& s) {
  for (int i = 0; i < 3; ++i) AddPane(s.ws);
  s.ws.win.Shape1[0].Visible = true;
  EnablePaneMenus(s.ws);
  s.ws.win.picFastMenu.Visible = false;
  s.ws.surfaces.picStage.SetPicture(randomImage(10, 10, 7));
  for (Surface* sheet : {&s.ws.project.picMasks, &s.ws.project.picBackground}) {
    sheet->Image() = randomImage(sheet->Width(), sheet->Height(), 8);
    sheet->TakeImageAsPicture();
  }
}

// The window as every load that got a file name leaves it.
void checkOpenedWindow(const Workspace& ws) {
  const MainWindowState& w = ws.win;
  QVERIFY(!w.picIntro.Visible && ws.surfaces.picStage.Visible && w.picFastMenu.Visible && w.KeyPreview);
  for (int i : DesignIcons) QVERIFY(w.Img_IconStrip[size_t(i)].Visible);
  QVERIFY(w.menuEnabled(Command::BoardCompositePanes) && !w.menuEnabled(Command::RemovePane) && !w.Shape1[0].Visible);
  QCOMPARE(ws.surfaces.picStage.Pointer, MousePointer::Arrow);
  QCOMPARE(ws.surfaces.picStage.Top, w.picFastMenu.Top + w.picFastMenu.Height);
}


const QChar Sep(0x00CE);

// The tokens of a workspace whose given slots hold filled Panes.
QStringList tokensOf(std::initializer_list<int> used) {
  HeadlessSession s;
  for (int n : used) fillPane(s.ws.project.PaneTable[size_t(n)], n);
  s.ws.project.BoardSettings.BoardBackColor = RGB(1, 2, 3);
  return SerializeProject(s.ws).split(Sep);
}

// Where a reading stopped: the token's number, its field, slot and text.
QString stopOf(const ParseResult& r) {
  if (r.complete) return QStringLiteral("complete");
  return QStringLiteral("%1 %2 %3 [%4]").arg(r.failedToken).arg(r.failedField).arg(r.failedSlot).arg(r.failedText);
}

// What a Windows RichEdit control saves for the empty project.
const QByteArray RichEditEmptyProject = readFile(QFINDTESTDATA("data/richedit-empty.QV1"));
const QString EmptyProjectText = QString::fromUtf8("0ÎnoneÎ12105912Î16777215Î16777215Î0Î0Î0Î0Î");

QString read(const QByteArray& doc) {
  const RtfReadResult r = ReadRtf(doc);
  return r.ok ? r.text : QStringLiteral("<error: %1>").arg(r.error);
}

}  // namespace

class TestProject : public QObject {
  Q_OBJECT

 private slots:
  void saveWritesTheFourFiles() {
    QTemporaryDir dir;
    HeadlessSession s;
    buildProject(s.ws);
    s.ws.project.ProjectName = "old";
    QVERIFY(SaveProject(s.ws).wasCancelled());
    QCOMPARE(s.platform.log, QStringList{"SaveFileDialog|Save Quorvel Project|" + Filter + "|"});
    QCOMPARE(s.ws.project.ProjectName, QString("old"));
    // Whatever extension is typed, the project text goes to NAME.QV1.
    QCOMPARE(withFile(Command::SaveProject, s, dir.filePath("demo.txt")).kind(), Outcome::Kind::Done);
    QCOMPARE(snapshot(dir.path()).keys(), QStringList({"Back_demo.bmp", "Masks_demo.bmp", "Sound_demo_7000021.wav", "Sprites_demo.bmp", "demo.QV1"}));
    const Project& v = s.ws.project;
    QCOMPARE((QStringList{v.ProjectName, v.ProjectFolder, s.ws.win.Label1, QString::number(v.PaneCount)}),
             (QStringList{"demo", dir.path() + "/", dir.path() + "/", "4"}));
    QVERIFY(s.platform.waitedMs == 120 && s.ws.surfaces.picStage.Pointer == MousePointer::Arrow);
    // A failed save gives back every name it set, and Export goes on proposing the saved project.
    const auto names = [&] { return QStringList{v.ProjectName, v.ProjectFolder, s.ws.win.Label1, exportProposal(s)}; };
    const QStringList saved = names();
    QCOMPARE(saved.last(), dir.filePath("demo.html"));
    QCOMPARE(ReadRtf(readFile(dir.filePath("demo.QV1"))).text, SerializeProject(s.ws));
    for (const auto& [kind, surface] : {std::pair{"Back_", &s.ws.project.picBackground},
                                        std::pair{"Sprites_", &s.ws.project.picSprites}, std::pair{"Masks_", &s.ws.project.picMasks}})
      QCOMPARE(QImage(dir.filePath(kind + QString("demo.bmp"))).convertToFormat(QImage::Format_RGB32), surface->Image());
    // A title of fewer than four characters names no project, and a folder
    // where the sprite sheet goes is refused before anything is written:
    // each says why and the names stay; no wait follows. (Other failed
    // saves leave the folder as it was: the save fault tests.)
    QTemporaryDir other;
    QVERIFY(QDir(other.path()).mkdir("Sprites_demo.bmp") && withFile(Command::SaveProject, s, other.filePath("abc")).hasFailed());
    const Outcome failed = withFile(Command::SaveProject, s, other.filePath("demo.QV1"));
    QVERIFY(failed.hasFailed() && failed.failure().file == other.filePath("Sprites_demo.bmp"));
    QCOMPARE(snapshot(other.path()).keys(), QStringList{"Sprites_demo.bmp"});
    QCOMPARE(names(), saved);
    QCOMPARE(s.platform.calls("ShowMessage|Save Project|" + other.filePath("Sprites_demo.bmp") +
                              "\nThe project could not be saved: it is a folder").size(), 1);
    QVERIFY(s.platform.calls("ShowMessage").size() == 2 && s.platform.waitedMs == 120 && s.ws.surfaces.picStage.Pointer == MousePointer::Arrow);
    // The name is the title without its last four characters, whatever they
    // are, and may be empty.
    QVERIFY(DeriveProjectName(s.ws, "/p/abcd", "abcd") && s.ws.project.ProjectName + "|" + s.ws.project.ProjectFolder == "|/p/");
  }

  void loadRestoresTheProject() {
    QTemporaryDir dir;
    HeadlessSession saver;
    buildProject(saver.ws);
    withFile(Command::SaveProject, saver, dir.filePath("demo.QV1"));
    // A cancelled load changes nothing; the intro stays.
    HeadlessSession s;
    occupy(s);
    const auto panes = s.ws.project.PaneTable;
    QVERIFY(mnu_LoadsProject_Click(s.ws).wasCancelled());  // (its dialog is in the window test)
    QVERIFY(s.ws.win.picIntro.Visible && !s.ws.win.picFastMenu.Visible && s.ws.project.PaneTable == panes);
    QVERIFY(!s.ws.win.Img_IconStrip[4].Visible && !s.ws.win.menuEnabled(Command::BoardCompositePanes));
    // Loaded: every field and picture. The Board dialog's options at their
    // start values (no wires, no floating, Board movable) turn the file's
    // three True flags False.
    QCOMPARE(withFile(Command::LoadsProject, s, dir.filePath("demo.QV1")).kind(), Outcome::Kind::Done);
    const Workspace& ws = s.ws;
    QCOMPARE(ws.project.PaneCount, Integer(4));
    for (int n = 0; n <= MaxPanes; ++n)
      QVERIFY2(UsedSlots.contains(n) ? ws.project.PaneTable[size_t(n)] == saver.ws.project.PaneTable[size_t(n)] : !isSet(ws.project.PaneTable[size_t(n)].InUse),
               qPrintable(QString::number(n)));
    QVector<ZorderEntry> zorder;
    for (int n : UsedSlots) zorder.append({saver.ws.project.PaneTable[size_t(n)].Label, n});
    QCOMPARE(ws.project.List_Zorder, zorder);
    QVERIFY(ws.project.OwnSounds.size() == 1 && ws.project.OwnSounds == saver.ws.project.OwnSounds);
    BoardSettingsRecord expected = saver.ws.project.BoardSettings;
    expected.WirePanes = expected.FloatPanes = expected.BoardLocked = QvFalse;
    expected.BackPicturePath = dir.filePath("Back_demo.bmp");
    QCOMPARE(ws.project.BoardSettings, expected);
    for (const auto& [loaded, saved] : {std::pair{&ws.project.picSprites, &saver.ws.project.picSprites},
                                        std::pair{&ws.project.picMasks, &saver.ws.project.picMasks},
                                        std::pair{&ws.project.picBackground, &saver.ws.project.picBackground}})
      QVERIFY(loaded->Image() == saved->Image() && loaded->Picture() == saved->Image() && !loaded->AutoSize);
    QVERIFY(ws.project.ProjectName == "demo" && s.platform.calls("ShowMessage").isEmpty());
    checkOpenedWindow(ws);

    // The opposite options give the opposite flags; UseBackPicture follows
    // the project text although the Back_ bitmap loaded. Missing sheets are
    // warnings and stay empty.
    BoardSettingsRecord& b = saver.ws.project.BoardSettings;
    b.WirePanes = b.FloatPanes = b.BoardLocked = b.UseBackPicture = QvFalse;
    withFile(Command::SaveProject, saver, dir.filePath("demo.QV1"));
    QVERIFY(QFile::remove(dir.filePath("Sprites_demo.bmp")) && QFile::remove(dir.filePath("Masks_demo.bmp")));
    HeadlessSession flipped;
    occupy(flipped);
    flipped.ws.project.BoardOptions.Option_WirePanes = flipped.ws.project.BoardOptions.Option_FloatPanes = 1;
    flipped.ws.project.BoardOptions.Option_BoardMove = 0;
    const Outcome o = withFile(Command::LoadsProject, flipped, dir.filePath("demo.QV1"));
    QCOMPARE(o.warnings().size(), 2);
    QCOMPARE(flipped.platform.calls("ShowMessage|Load a Project|" + dir.filePath("Sprites_demo.bmp")).size(), 1);
    expected.WirePanes = expected.FloatPanes = expected.BoardLocked = QvTrue;
    expected.UseBackPicture = QvFalse;
    QCOMPARE(flipped.ws.project.BoardSettings, expected);
    for (int n : UsedSlots) QVERIFY(flipped.ws.project.PaneTable[size_t(n)] == saver.ws.project.PaneTable[size_t(n)]);
    QVERIFY(blank(flipped.ws.project.picSprites) && blank(flipped.ws.project.picMasks));
  }

  void newProject() {
    HeadlessSession s;
    occupy(s);
    IntroBlankNewProject(s.ws);
    Combo_Board_Click(s.ws, 1);
    s.ws.project.BoardSettings.BoardBackColor = RGB(1, 2, 3);
    s.ws.win.setMenuEnabled(Command::BoardCompositePanes, true);
    const Workspace before = s.ws;
    // No changes nothing, and No to End goes on.
    s.platform.yesNoAnswers << false << false << true;
    QVERIFY(NewProject(s.ws).wasCancelled() && EndApplication(s.ws).wasCancelled() && EndApplication(s.ws).succeeded());
    QCOMPARE(s.platform.log, QStringList({"AskYesNo|New Project|Begin a New Project - Current Workspace will be lost?",
                                          "AskYesNo|Activity : End Application|End your time with Quorvel ?",
                                          "AskYesNo|Activity : End Application|End your time with Quorvel ?"}));
    QVERIFY(s.ws.project == before.project);
    QVERIFY(s.ws.surfaces.picStage.Image() == before.surfaces.picStage.Image() && s.ws.win.menuEnabled(Command::BoardCompositePanes));
    // Yes brings everything back to the start, with the bar shown and keys on;
    // the name stays, but Export proposes the Untitled document the title names.
    s.ws.project.ProjectName = "garden";
    s.ws.project.DocumentName = "garden.QV1";
    s.ws.project.ProjectFolder = "/p/";
    s.platform.yesNoAnswers.enqueue(true);
    QVERIFY(NewProject(s.ws).succeeded());
    QCOMPARE(s.ws.project.ProjectName + "|" + exportProposal(s), QString("garden|/p/Untitled.html"));
    const Workspace& ws = s.ws;
    for (int n = 0; n <= MaxPanes; ++n) QVERIFY(!isSet(ws.project.PaneTable[size_t(n)].InUse));
    QVERIFY(ws.project.PaneCount == 0 && ws.project.List_Zorder.isEmpty());
    QCOMPARE(ws.project.BoardSettings, HeadlessSession().ws.project.BoardSettings);
    QCOMPARE(ws.surfaces.picStage.Image(), boardModel({800, 600}, Grey, {}));
    QVERIFY(blank(ws.project.picSprites) && blank(ws.project.picMasks) && ws.project.picBackground.Picture().isNull());
    QVERIFY(!ws.win.menuEnabled(Command::BoardCompositePanes) && !ws.win.menuEnabled(Command::RemovePane) &&
            ws.win.picFastMenu.Visible && ws.win.KeyPreview);
    // (Quit, Ctrl+Q: the save question tests and the window's inputs.)
  }

  // Each damaged file given at the start (quorvel FILE.QV1) is reported
  // once, by name. The intro is gone and the design icons are shown
  // whatever the file held, and the old project is gone even when nothing
  // could be read.
  void damagedProjectFiles() {
    QTemporaryDir dir;
    HeadlessSession saver;
    buildProject(saver.ws);
    withFile(Command::SaveProject, saver, dir.filePath("good.QV1"));
    const QByteArray good = readFile(dir.filePath("good.QV1"));
    // The count, the groups of slots 2 and 7 and ten tokens of slot 12.
    const QStringList tokens = SerializeProject(saver.ws).split(FieldSeparator);
    QVERIFY(writeFile(dir.filePath("group.QV1"), WriteRtf(tokens.mid(0, 1 + 2 * 61 + 10).join(FieldSeparator) + FieldSeparator)));
    QStringList repeat = tokens;
    repeat[1 + 61] = "2";
    QVERIFY(writeFile(dir.filePath("repeat.QV1"), WriteRtf(repeat.join(FieldSeparator))));
    QVERIFY(writeFile(dir.filePath("cut.QV1"), good.left(good.size() / 2)));
    QVERIFY(writeFile(dir.filePath("junk.QV1"), QByteArray(3000, '\x9c')));
    QVERIFY(writeFile(dir.filePath("none.QV1"), {}));
    QVERIFY(writeFile(dir.filePath("huge.QV1"), "{\\rtf1 ") && QFile::resize(dir.filePath("huge.QV1"), MaxProjectFileBytes + 1));
    // A file that reports size 0 but reads on for gigabytes.
    QVERIFY(QFile::link("/proc/self/pagemap", dir.filePath("pagemap.QV1")));
    for (const QString name :
         {"group.QV1", "repeat.QV1", "cut.QV1", "junk.QV1", "none.QV1", "huge.QV1", "nothere.QV1", "pagemap.QV1"}) {
      HeadlessSession s;
      occupy(s);
      HideDesignIcons(s.ws);
      s.ws.project.BoardSettings.LabelColor = RGB(9, 9, 9);
      QFile::copy(dir.filePath("Sprites_good.bmp"), dir.filePath("Sprites_" + name.chopped(4) + ".bmp"));
      const Outcome o = OpenProjectAtStart(s.ws, dir.filePath(name));
      // A damaged text is the last warning, after those of missing bitmaps.
      const Problem p = o.hasFailed() ? o.failure() : o.warnings().isEmpty() ? Problem() : o.warnings().last();
      QVERIFY2(p.file == dir.filePath(name) && (o.hasFailed() || p.reason.contains("damaged")), qPrintable(name));
      const QStringList shown = s.platform.calls("ShowMessage|Load a Project|");
      QVERIFY2(shown.size() == 1 && shown[0].contains(dir.filePath(name) + "\n"), qPrintable(name));
      checkOpenedWindow(s.ws);
      QVERIFY(!isSet(s.ws.project.PaneTable[1].InUse));
      if (name == "group.QV1") {
        // A text cut inside a group keeps what was read before the cut; with
        // no Back_ bitmap the Board settings keep their values.
        QVERIFY(s.ws.project.PaneTable[2] == saver.ws.project.PaneTable[2] && s.ws.project.PaneTable[7] == saver.ws.project.PaneTable[7]);
        QVERIFY(!isSet(s.ws.project.PaneTable[50].InUse) && s.ws.project.List_Zorder.size() == 2);
        QCOMPARE(s.ws.project.picSprites.Image(), saver.ws.project.picSprites.Image());
        QVERIFY(s.ws.project.BoardSettings.LabelColor == RGB(9, 9, 9) && s.ws.project.BoardSettings.BackPicturePath == "none");
      } else if (name == "repeat.QV1") {
        QCOMPARE(s.ws.project.List_Zorder.size(), 3);  // slot 2 a second time is dropped
      } else if (name != "cut.QV1") {
        // Nothing read: the Board was emptied before the read and stays so.
        QVERIFY(s.ws.project.List_Zorder.isEmpty() && blank(s.ws.project.picSprites) && blank(s.ws.project.picMasks));
        QVERIFY(s.ws.project.picBackground.Picture().isNull() && s.ws.surfaces.picStage.Picture().isNull());
      }
    }
  }

  // Names taken from files (a picture's, the Background's, a library
  // image's) may hold the separator: they lose it as they are taken.
  void separatorNeverReachesTheFile() {
    QTemporaryDir dir;
    const QChar sep = FieldSeparator;
    HeadlessSession s;
    IntroBlankNewProject(s.ws);
    AddPane(s.ws);
    AddPane(s.ws);
    const QString picture = dir.filePath(sep + QString("NCEPUT.gif"));
    QVERIFY(writeFile(picture, EncodeBmp24(randomImage(30, 20, 1))));
    s.ws.pointer.TargetPane = 1;
    for (Command command : {Command::LoadsPicture, Command::LoadPicBack}) QVERIFY(withFile(command, s, picture).succeeded());
    s.ws.dialogs.library.ImageName = sep + QString("Crab") + sep;
    s.ws.pointer.CurrentPane = 2;
    SendLibraryImage(s.ws);
    const PaneRecord &p1 = s.ws.project.PaneTable[1], &p2 = s.ws.project.PaneTable[2];
    QCOMPARE((QStringList{p1.Label, p1.PictureName, s.ws.project.BoardSettings.BackPictureName, p2.Label, p2.PictureName}),
             (QStringList{"NCEPUT", "NCEPUT.bmp", "NCEPUT.bmp", "Crab", "Crab.bmp"}));
  }

  // A project file the user may not write is replaced only when the user
  // says Yes; it stays read-only.
  void readOnlyFilesNeedAYes() {
    QTemporaryDir dir;
    HeadlessSession s;
    buildProject(s.ws);
    QVERIFY(withFile(Command::SaveProject, s, dir.filePath("p.QV1")).succeeded());
    const QString masks = dir.filePath("Masks_p.bmp");
    QVERIFY(QFile::setPermissions(masks, QFile::ReadOwner | QFile::ReadGroup));
    const QByteArray before = readFile(masks);
    s.ws.project.picMasks.Image() = randomImage(SheetWidth, SheetHeight, 9);
    s.platform.yesNoAnswers << false << true;
    const Outcome refused = withFile(Command::SaveProject, s, dir.filePath("p.QV1"));
    QVERIFY(refused.hasFailed() && refused.failure().file == masks && refused.failure().reason.contains("read-only"));
    QCOMPARE(s.platform.calls("AskYesNo"), QStringList{"AskYesNo|Save Project|" + masks + " is read-only.\nSave the project over it anyway?"});
    QCOMPARE(readFile(masks), before);
    QVERIFY(withFile(Command::SaveProject, s, dir.filePath("p.QV1")).succeeded());
    QVERIFY(readFile(masks) != before && !(QFileInfo(masks).permissions() & (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther)));
  }

  // The Load dialog starts in the examples and the library scan finds the
  // sample library, both installed (PREFIX/bin beside PREFIX/share/quorvel)
  // and in a build folder beside the checkout's examples/; elsewhere the
  // dialog starts in the program's folder.
  void installedLayout() {
    const struct { QStringList folders; QString program, start; bool installedLibrary; } layouts[] = {
        {{"usr/bin", "usr/share/quorvel/examples", "usr/share/quorvel/Library"}, "usr/bin/", "usr/share/quorvel/examples/", true},
        {{"src/build/Library", "src/examples"}, "src/build/", "src/examples/", false},  // a build folder
        {{"opt/q", "opt/share/quorvel"}, "opt/q/", "opt/q/", false}};
    for (const auto& [folders, program, start, installedLibrary] : layouts) {
      QTemporaryDir dir;
      for (const QString& f : folders) QVERIFY(QDir(dir.path()).mkpath(f));
      QCOMPARE(ProjectStartFolder(dir.filePath(program)), dir.filePath(start));
      QStringList libraries{dir.filePath(program + "Library")};
      if (installedLibrary) libraries << dir.filePath("usr/share/quorvel/Library");
      QCOMPARE(LibraryFolders(dir.filePath(program)), libraries);
    }
  }


  // The empty project with the start defaults, and RichEdit's file of it.
  void emptyProject() {
    HeadlessSession s, other;
    s.ws.project.PaneCount = 9;
    const QString text = SerializeProject(s.ws);
    QVERIFY(text == EmptyProjectText && s.ws.project.PaneCount == 0);
    const ParseResult r = ParseProject(other.ws, text);
    QVERIFY(r.complete && r.tokensRead == 9 && other.ws.project.BoardSettings == s.ws.project.BoardSettings);
    QCOMPARE(WriteRtf(text), RichEditEmptyProject);
    const RtfReadResult file = ReadRtf(RichEditEmptyProject);
    QVERIFY(file.ok && file.text == EmptyProjectText && file.codePage == 1252);
    // UseBackPicture False: the Board takes the background colour at once;
    // with a Background in use it keeps its own.
    HeadlessSession plain, keeps;
    s.ws.project.BoardSettings.BoardBackColor = RGB(1, 2, 3);
    QVERIFY(ParseProject(plain.ws, SerializeProject(s.ws)).complete && plain.ws.surfaces.picStage.Image().pixel(5, 5) == toQRgb(RGB(1, 2, 3)));
    s.ws.project.BoardSettings.UseBackPicture = QvTrue;
    QVERIFY(ParseProject(keeps.ws, SerializeProject(s.ws)).complete && keeps.ws.surfaces.picStage.BackColor == Grey);
  }

  // A token given another form (data/tokens.txt): read as a value, or the
  // reading stops there and leaves the rest unread. (The tokens' order is
  // pinned by the example projects, examples.regenerate, and test_cli's
  // golden dumps.)
  void tokenForms() {
    const QStringList t = tokensOf({5, 9});
    for (const QStringList& f : fieldRows(QFINDTESTDATA("data/tokens.txt"), 22)) {
      const int token = f[0].toInt();
      QStringList u = t;
      u[token] = f[1].startsWith('"') ? f[1].mid(1, f[1].size() - 2) : f[1];
      HeadlessSession w;
      const ParseResult r = ParseProject(w.ws, u.join(Sep) + "\r\n");
      if (f[2].contains('=')) {
        QVERIFY(r.complete);
        QCOMPARE(QString::number(PaneFieldByName(qPrintable(f[2].section('=', 0, 0)))->number(w.ws.Pane(5))), f[2].section('=', 1));
        continue;
      }
      QCOMPARE(stopOf(r), f[2]);
      QVERIFY(r.remaining.startsWith(t[token + 1] + Sep + t[token + 2] + Sep));
      QCOMPARE(CountPanesInUse(w.ws), token ? 1 : 0);
      QCOMPARE(w.ws.project.List_Zorder.size(), token < 62 ? 0 : 1);
    }
  }

  void truncatedTextKeepsWhatWasRead() {
    const QStringList t = tokensOf({2, 7, 12});
    PaneRecord full;
    fillPane(full, 2);
    // Cut after UseWriting of slot 7: the two texts read empty, then the
    // Long WritingForeColor fails.
    const int cut = 1 + 61 + 1 + 8;
    HeadlessSession other;
    ParseResult r = ParseProject(other.ws, t.mid(0, cut).join(Sep) + Sep);
    QCOMPARE(stopOf(r), QStringLiteral("%1 WritingForeColor 7 []").arg(cut + 2));
    QVERIFY(r.remaining.isEmpty());
    QCOMPARE(other.ws.project.PaneTable[2], full);
    // The failing token is not stored; the two texts before it read empty.
    const PaneRecord& p7 = other.ws.project.PaneTable[7];
    QVERIFY(isSet(p7.InUse) && isSet(p7.UseWriting) && p7.SheetY == 708 && p7.WritingForeColor == 0);
    QCOMPARE(p7.WritingText + p7.WritingFontName + p7.Label, QString());
    QVERIFY(other.ws.project.PaneTable[12] == PaneRecord() && other.ws.project.List_Zorder.size() == 1 && other.ws.pointer.CurrentPane == 7);
    QCOMPARE(other.ws.project.BoardSettings, BoardSettingsRecord());

    // Cut inside the BoardSettings: the name and the back colour are read.
    HeadlessSession third;
    third.ws.project.BoardSettings.LabelColor = RGB(9, 9, 9);
    r = ParseProject(third.ws, t.mid(0, 1 + 3 * 61 + 2).join(Sep) + Sep);
    QCOMPARE(stopOf(r), QStringLiteral("%1 LabelColor -1 []").arg(1 + 3 * 61 + 2));
    QVERIFY(third.ws.project.BoardSettings.BoardBackColor == RGB(1, 2, 3) && third.ws.project.BoardSettings.LabelColor == RGB(9, 9, 9));
    QVERIFY(third.ws.surfaces.picStage.BackColor == Grey && third.ws.project.List_Zorder.size() == 3);
  }

  // A slot listed again is damage: its first group wins, the later ones
  // are read past, reported and not counted. Slot 0 is read like any other.
  void slotZeroAndRepeatedSlots() {
    QStringList t = tokensOf({5, 6, 7, 8});
    t[1] = t[1 + 61] = "0";
    t[1 + 2 * 61] = t[1 + 3 * 61] = "0";
    HeadlessSession other;
    const ParseResult r = ParseProject(other.ws, t.join(Sep));
    QVERIFY(r.complete && other.ws.project.BoardSettings.BoardBackColor == RGB(1, 2, 3));
    QCOMPARE(r.damage, QStringList(3, "Slot 0 is listed again; that group was not used."));
    QVERIFY(other.ws.project.PaneCount == 1 && CountPanesInUse(other.ws) == 0);  // slot 0 is no Pane of 1..50
    PaneRecord five;
    fillPane(five, 5);
    QCOMPARE(other.ws.project.PaneTable[0], five);
    QCOMPARE(other.ws.project.List_Zorder, (QVector<ZorderEntry>{{five.Label, 0}}));
  }

  // No text of a saved project holds the separator, and none is longer than
  // its field allows: the text always reads back whole. Texts read from a
  // file longer than that are cut, and the cut is reported.
  void textsFitTheirFields() {
    HeadlessSession s, other;
    PaneRecord& p = s.ws.project.PaneTable[4];
    fillPane(p, 4);
    for (const PaneField& f : PaneFields())
      if (f.kind == FieldKind::Text) f.text(p) = Sep + QString(f.maxLength(), 'x') + Sep + "y";
    s.ws.project.BoardSettings.BackPictureName = QString(MaxNameLength, 'b') + Sep + "c";
    const ParseResult r = ParseProject(other.ws, SerializeProject(s.ws));
    QVERIFY(r.complete && r.damage.isEmpty());
    for (const PaneField& f : PaneFields())
      if (f.kind == FieldKind::Text) QCOMPARE(f.text(other.ws.project.PaneTable[4]), QString(f.maxLength(), 'x'));
    QCOMPARE(other.ws.project.BoardSettings.BackPictureName, QString(MaxNameLength, 'b'));
    QStringList t = tokensOf({3});
    t[1 + 47] = QString(100000, 'L');
    t[1 + 61] = QString(MaxNameLength + 1, 'n');
    HeadlessSession third;
    const ParseResult cut = ParseProject(third.ws, t.join(Sep));
    QCOMPARE(cut.damage, QStringList({"The Label of slot 3 holds 100000 characters; it was cut to 99.",
                                      "The BackPictureName holds 1025 characters; it was cut to 1024."}));
    QVERIFY(cut.complete && third.ws.project.PaneTable[3].Label == QString(99, 'L') && third.ws.project.List_Zorder[0].Text == QString(99, 'L'));
  }

  void projectInAnotherCodePage() {
    // A document declaring Windows-1251: code 206 is the Cyrillic О there.
    HeadlessSession s;
    fillPane(s.ws.project.PaneTable[8], 1);
    s.ws.project.PaneTable[8].Label = QString::fromUtf8("Ζ");
    QByteArray doc = WriteRtf(SerializeProject(s.ws));
    doc.replace("ansicpg1252", "ansicpg1251");
    const RtfReadResult file = ReadRtf(doc);
    QVERIFY(file.text.contains(QChar(0x041E)));
    HeadlessSession wrong, other;
    QVERIFY(!ParseProject(wrong.ws, file.text).complete);
    QVERIFY(ParseProject(other.ws, file.text, SeparatorForCodePage(file.codePage)).complete);
    QVERIFY(other.ws.project.PaneTable[8].Label == s.ws.project.PaneTable[8].Label && other.ws.project.PaneTable[8].CelCount == s.ws.project.PaneTable[8].CelCount);
  }

  void writesAndReadsBackAnyText() {
    // data/texts.json: texts of every kind of character and line end.
    const QJsonArray texts = QJsonDocument::fromJson(readFile(QFINDTESTDATA("data/texts.json"))).array();
    QCOMPARE(texts.size(), 11);
    for (const QJsonValue t : texts) QCOMPARE(read(WriteRtf(t.toString())), t.toString());
    QCOMPARE(read(WriteRtf(QString(QChar(0xD83D)) + "unpaired")), QString(QChar(0xD83D)) + "unpaired");
    QCOMPARE(WriteRtf(QString("a\\b{c}d")).split(' ').last(), QByteArray("a\\\\b\\{c\\}d\\par\r\n}\r\n"));
    QVERIFY(WriteRtf("x\r\ny\nz\tw\rv").contains("x\\par y\\line z\\tab w\\'0dv\\par"));
    // Windows-1252 characters above 0x7F as \'hh, the rest as signed \uN?.
    QVERIFY(WriteRtf(QString::fromUtf8("é€™")).contains("\\'e9\\'80\\'99\\par"));
    QVERIFY(WriteRtf(QString::fromUtf8("Ж😀")).contains("\\u1046?\\u-10179?\\u-8704?\\par"));
  }

  // Documents read to their text: as RichEdit and WordPad write them, and
  // the rows of data/reads.json.
  void reads_data() {
    QTest::addColumn<QByteArray>("doc");
    QTest::addColumn<QString>("text");
    const auto row = [](const char* name, const QByteArray& doc, const QString& text) { QTest::newRow(name) << doc << text; };
    // Some saved files end with a NUL byte, others carry junk after the brace.
    row("NUL after", RichEditEmptyProject + QByteArray(1, '\0'), EmptyProjectText);
    row("junk after", RichEditEmptyProject + "{\\b junk}trailing", EmptyProjectText);
    row("WordPad", readFile(QFINDTESTDATA("data/wordpad.rtf")), "Hello World\r\nSecond\tline\nthird\r\nlink  été\u00A0{x}—‘q’\\");
    // data/reads.json: [name, document, text] rows. Line ends, Unicode
    // fallbacks, a character of each code page declared by the document or
    // by its font's charset (a font's page holding inside its group only),
    // malformed documents, and what is no rich text at all.
    const QJsonArray rows = QJsonDocument::fromJson(readFile(QFINDTESTDATA("data/reads.json"))).array();
    QCOMPARE(rows.size(), 67);
    for (const QJsonValue r : rows)
      row(qPrintable(r[0].toString()), r[1].toString().toUtf8(), r[2].toString());
    row("deep", "{\\rtf1 " + QByteArray(200000, '{') + "deep" + QByteArray(200000, '}') + "}", "deep");
    row("long word", "{\\rtf1 \\" + QByteArray(100000, 'w') + " x}", "x");
  }

  void reads() {
    QFETCH(QByteArray, doc);
    QFETCH(QString, text);
    QCOMPARE(read(doc), text);
  }

  void documentCodePageAndSeparator() {
    // The default font's charset decides the document's page.
    QCOMPARE(ReadRtf("{\\rtf1\\ansi\\ansicpg1251\\deff0 x}").codePage, 1251);
    QCOMPARE(ReadRtf("{\\rtf1\\ansi\\deff1{\\fonttbl{\\f1\\fcharset204 Arial Cyr;}}x}").codePage, 1251);
    QCOMPARE(ReadRtf("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f1\\fcharset204 Arial Cyr;}}x}").codePage, 1252);
    const std::pair<int, ushort> separators[] = {{1251, 0x041E}, {1252, 0xCE}, {1253, 0x039E}, {437, 0x256C}, {12345, 0xCE}};
    for (auto [page, sep] : separators) QCOMPARE(SeparatorForCodePage(page), QChar(sep));
  }

  // The reader's memory grows with what a document changes, not with its
  // braces: 32 MiB of "{" take less than their size, 8 MiB of groups that
  // change the font each time a few times theirs (three, and the
  // sanitizer's guard bytes).
  void deepGroupsTakeLittleMemory() {
    const auto peakKiB = [] {
      const QByteArray status = readFile("/proc/self/status");
      return status.mid(status.indexOf("VmHWM:") + 6).trimmed().split(' ').first().toLongLong();
    };
    for (const QByteArray& group : {QByteArray("{"), QByteArray("{\\f1{\\f2")}) {
      const qsizetype size = group.size() == 1 ? 32 << 20 : 8 << 20;
      const QByteArray doc = "{\\rtf1 " + group.repeated(size / group.size());
      QVERIFY(writeFile("/proc/self/clear_refs", "5"));  // the peak starts again from here
      const qint64 before = peakKiB();
      QVERIFY(ReadRtf(doc).ok);
      QVERIFY2(peakKiB() - before < (group.size() == 1 ? 1 : 6) * size / 1024, qPrintable(QString::number(peakKiB() - before)));
    }
  }
};

QTEST_GUILESS_MAIN(TestProject)
#include "test_project.moc"
