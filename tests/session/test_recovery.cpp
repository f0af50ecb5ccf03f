// Recovery copies and settings: a table of starts (which copies lie in the
// recovery folder, how the questions are answered) against what is asked,
// recovered and left; when the keeper writes; the settings file; and a
// program killed at each step of writing its copies (through the fault
// shim), after which the next start recovers the last whole copy or the one
// before, and the user's own project is untouched.
#include "project/ProjectCommands.h"
#include "session/Recovery.h"
#include "session/Settings.h"
#include "support/Fixtures.h"

#include <cstdio>

using namespace qv;

namespace {

// Copy i: Panes i + 1 and i + 3, the layer list in reverse slot order, a
// Background picture for an odd i, named p0.QV1 in folder unless never saved.
Project projectFor(int i, const QString& folder) {
  HeadlessSession s;
  placePane(s.ws, i + 1, 10 * i, 20, 40, 30);
  placePane(s.ws, i + 3, 70, 10 * i, 30, 50);
  s.ws.project.List_Zorder = {{"second", i + 3}, {"first", i + 1}};
  if (i % 2) s.ws.project.picBackground.SetPicture(randomImage(800, 600, i));
  s.ws.project.BoardOptions.Option_BoardMove = i % 2;
  if (!folder.isEmpty()) static_cast<ProjectNames&>(s.ws.project) = {"p0", folder + "/", "p0.QV1"};
  return s.ws.project;
}

// The kill test's edits: the first layer entry goes to the back (as an
// accept moves it), its Pane moves, a corner of its cell is painted and it
// plays a new own sound.
void edit(Workspace& ws, int i) {
  QRandomGenerator rng(31 + i);
  ws.history.Begin(ws);
  ws.project.List_Zorder.append(ws.project.List_Zorder.takeFirst());
  PaneRecord& p = ws.Pane(ws.project.List_Zorder.last().ItemData);
  p.Left = Integer(rng.bounded(500));
  fill(ws.project.picSprites.Image(), p.SheetX, p.SheetY, 20, 20, RGB(rng.bounded(256), 40, 90));
  // And it plays an own sound of its own each time.
  QString why;
  const QByteArray wave = EncodeWave(QByteArray(4410, char(rng.bounded(1, 100))), 1, OwnSoundRate);
  ws.project.OwnSounds[1000 + i] = NamedOwnSound(wave, *CheckOwnSound(wave, why), QStringLiteral("tone %1").arg(i));
  p.Sound = 1000 + i;
  ws.history.Commit(ws, "edit");
}

// The killed program: loads the user's project, then keeps a copy after
// each edit, saying "kept N" once it is written.
int editAndKeep(const QString& project, const QString& root, int edits) {
  HeadlessSession s;
  LoadProjectFile(s.ws, fileChoiceFromPath(project));
  RecoveryKeeper keeper(root, 30);
  for (int i = 1; i <= edits; ++i) {
    edit(s.ws, i);
    keeper.WriteNow(s.ws);
    keeper.Wait();
    std::printf("kept %d\n", i);
    std::fflush(stdout);
  }
  return 0;
}

}  // namespace

class TestRecovery : public QObject {
  Q_OBJECT

 private slots:
  // The starts are in data/starts.txt.
  void starts_data() {
    QTest::addColumn<QStringList>("f");
    for (const QStringList& f : fieldRows(QFINDTESTDATA("data/starts.txt"), 10)) QTest::newRow(qPrintable(f[0])) << f;
  }
  void starts() {
    QFETCH(QStringList, f);
    const QStringList copies = f[1].split(' ', Qt::SkipEmptyParts);
    const int recovered = f[4].toInt(), left = f[5].toInt();
    QTemporaryDir tmp;
    const QString root = RecoveryRootIn(tmp.filePath("state")), aside = RecoveryAsideIn(tmp.filePath("state"));
    QVector<Project> projects;
    std::unique_ptr<RecoveryFolder> owned;
    for (int i = 0; i < copies.size(); ++i) {
      const QString& kind = copies[i];
      projects << projectFor(i, kind == "new" ? QString() : kind == "gone" ? tmp.filePath("gone") : tmp.path());
      QString why;
      auto folder = RecoveryFolder::Create(root, why);
      QVERIFY2(folder && folder->Write(projects[i], {QDate::currentDate().addDays(kind == "old" ? -1 : 0), QTime(9, i)}).succeeded(), qPrintable(why));
      if (kind == "damaged") QVERIFY(QFile::resize(RecoveryCopyFiles(folder->path())[1], 100));
      if (kind == "owned") owned = std::move(folder);
    }
    HeadlessSession s;
    for (const QString& a : f[2].split(' ', Qt::SkipEmptyParts)) s.platform.recoverAnswers << RecoverChoice(a.toInt());
    RecoveryKeeper keeper(root, 30);
    QCOMPARE(OfferRecovery(s.ws, keeper, aside), recovered >= 0);
    QStringList questions;
    for (const QString& i : f[3].split(' ', Qt::SkipEmptyParts))
      questions << QString("AskRecover|Recovery|Quorvel closed with unsaved changes to %1 (saved for recovery at 09:0%2%3). Recover them?")
                       .arg(copies[i.toInt()] == "new" ? "the new project" : "p0.QV1", i,
                            copies[i.toInt()] == "old" ? " on " + QDate::currentDate().addDays(-1).toString(Qt::ISODate) : "");
    QCOMPARE(s.platform.calls("AskRecover"), questions);
    QCOMPARE(RecoveryFolderPaths(root).size(), left);
    const int damaged = int(copies.count("damaged"));
    QCOMPARE(RecoveryFolderPaths(aside).size(), damaged);
    QCOMPARE(s.platform.calls("ShowMessage|Recovery|A recovery copy could not be read; it was moved to").size(), damaged);
    QCOMPARE(keeper.folder().isEmpty(), recovered < 0);
    if (recovered < 0) return;
    // The project it was: names, layer order, Background, marked unsaved
    // with no step to undo; Save proposes its file while its folder is there.
    QVERIFY(s.ws.project == projects[recovered]);
    QVERIFY(s.ws.history.Unsaved() && s.ws.history.UndoCount() == 0 && !s.ws.win.picIntro.Visible);
    QVERIFY(RecoveryFolderPaths(root).contains(keeper.folder()));
    const QString doc = copies[recovered] == "new" ? "" : copies[recovered] == "gone" ? "p0.QV1" : tmp.filePath("p0.QV1");
    QCOMPARE(SaveDialogStart(s.ws), doc);
  }

  // A copy is written once the interval has passed since the first change
  // it lacks, not while a command is under way, at once when a run starts,
  // and removed once nothing is unsaved; interval 0 keeps none.
  void keeperWritesWhenDue() {
    QTemporaryDir tmp;
    HeadlessSession s, back;
    placePane(s.ws, 1, 0, 0, 40, 40);
    s.ws.project.List_Zorder = {{"one", 1}};
    RecoveryKeeper keeper(tmp.filePath("r"), 30), off(tmp.filePath("off"), 0);
    const auto change = [&](int left) { s.ws.history.Begin(s.ws); s.ws.Pane(1).Left = Integer(left); s.ws.history.Commit(s.ws, "move"); };
    const auto kept = [&] { keeper.Wait(); return OpenRecoveryCopy(back.ws, keeper.folder()).succeeded() && back.ws.project == s.ws.project; };
    change(5);
    QCOMPARE(keeper.Tick(s.ws, 1000), 30000);
    QCOMPARE(keeper.Tick(s.ws, 30999), 1);
    QCOMPARE(keeper.Tick(s.ws, 31000, true), 1000);
    QCOMPARE(keeper.Tick(s.ws, 31000), -1);
    QVERIFY(kept());
    change(9);
    QCOMPARE(keeper.Tick(s.ws, 40000), 30000);
    s.ws.run.LoopActive = true;
    QCOMPARE(keeper.Tick(s.ws, 40001), -1);
    QVERIFY(kept());
    s.ws.history.MarkSaved();
    QCOMPARE(keeper.Tick(s.ws, 40002), -1);
    QVERIFY(RecoveryFolderPaths(tmp.filePath("r")).isEmpty());
    QCOMPARE(off.Tick(s.ws, 0), -1);
    off.WriteNow(s.ws);
    QVERIFY(!QFileInfo::exists(tmp.filePath("off")));
  }

  // A file that cannot be used is ignored with a warning and left as it is;
  // the recent list keeps 8, newest first, and reads back.
  void settingsFile_data() {
    QTest::addColumn<QByteArray>("file");  // "/" makes a folder in its place
    QTest::addColumn<int>("interval");
    QTest::addColumn<QString>("warning");
    QTest::newRow("none") << QByteArray() << 30 << "";
    QTest::newRow("interval 0") << QByteArray("[recovery]\ninterval=0\n") << 0 << "";
    QTest::newRow("interval 2") << QByteArray("[recovery]\ninterval=2\n") << 5 << "recovery/interval 2 is outside 5 to 3600";
    QTest::newRow("no number") << QByteArray("[recovery]\ninterval=soon\n[recent]\nfolder=/\n") << 30 << "is damaged: recovery/interval is no number; it is ignored";
    QTest::newRow("damaged") << QByteArray("\xff\xfe[recovery\n\x01interval=7\n") << 30 << "is damaged; it is ignored and left as it is.";
    QTest::newRow("a folder") << QByteArray("/") << 30 << "is not a plain file; it is ignored";
  }
  void settingsFile() {
    QFETCH(QByteArray, file);
    QFETCH(int, interval);
    QFETCH(QString, warning);
    QTemporaryDir tmp;
    const QString path = SettingsFile(tmp.path());
    QDir().mkpath(QFileInfo(path).path());
    if (file == "/") QDir().mkpath(path);
    else if (!file.isEmpty()) writeFile(path, file);
    Settings settings(path);
    QCOMPARE(settings.RecoveryInterval(), interval);
    QVERIFY2(settings.TakeWarning().contains(warning), qPrintable(warning));
    QCOMPARE(settings.LastFolder(), QString());
    for (const char* n : {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "3"}) settings.ProjectUsed(tmp.filePath(QString("p%1.QV1").arg(n)));
    QStringList newest;
    for (const char* n : {"3", "9", "8", "7", "6", "5", "4", "2"}) newest << tmp.filePath(QString("p%1.QV1").arg(n));
    QCOMPARE(settings.Recent(), newest);
    if (warning.contains("ignored")) {
      QCOMPARE(readFile(path), file == "/" ? QByteArray() : file);
      return;
    }
    QCOMPARE(Settings(path).Recent(), newest);
    QCOMPARE(Settings(path).LastFolder(), tmp.path());
  }

  // Killed at each counted file call of writing two copies (the first, and
  // one over it); a call before a write's first is a kill while editing.
  void killedWhileKeeping() {
    QTemporaryDir work(QFileInfo("/dev/shm").isWritable() ? "/dev/shm/quorvel-recovery-XXXXXX" : QString());
    const QString user = work.filePath("user"), root = RecoveryRootIn(work.filePath("state"));
    QDir().mkpath(user);
    const QString demo = qEnvironmentVariable("QUORVEL_EXAMPLES") + "/demo/";
    for (const char* f : {"demo.QV1", "Back_demo.bmp", "Sprites_demo.bmp", "Masks_demo.bmp"}) QVERIFY(QFile::copy(demo + f, user + "/" + f));
    const auto mine = snapshot(user);
    HeadlessSession e;
    QVERIFY(LoadProjectFile(e.ws, fileChoiceFromPath(user + "/demo.QV1")).succeeded());
    QVector<Project> states{e.ws.project};
    for (int i = 1; i <= 2; ++i) edit(e.ws, i), states << e.ws.project;
    const auto child = [&](const QString& fault) {
      return finish(*startCli({"--edit-and-keep", user + "/demo.QV1", root, "2"}, faultShim(root) << fault,
                              QCoreApplication::applicationFilePath()), 60'000);
    };
    QCOMPARE(child("QV_FAULT_LOG=" + work.filePath("log")).code, 0);
    const int calls = int(readFile(work.filePath("log")).count('\n'));
    QVERIFY(calls > 40);
    for (int k = 1; k <= calls; ++k) {
      QDir(work.filePath("state")).removeRecursively();
      const Ran killed = child("QV_FAULT_KILL=" + QString::number(k));
      const int whole = int(killed.out.count("kept"));
      const QString what = QString("killed at call %1 after %2 copies").arg(k).arg(whole);
      QVERIFY2(killed.code == -1, qPrintable(what));
      HeadlessSession r;
      r.platform.recoverAnswers << RecoverChoice::Recover;
      RecoveryKeeper keeper(root, 30);
      const bool got = OfferRecovery(r.ws, keeper, work.filePath("aside"));
      QVERIFY2(r.platform.calls("ShowMessage").isEmpty(), qPrintable(what + ": " + r.platform.log.join('\n')));
      QVERIFY2(got ? r.ws.project == states[std::min(whole + 1, 2)] || (whole && r.ws.project == states[whole]) : !whole,
               qPrintable(what));
      QVERIFY2(snapshot(user) == mine, qPrintable(what));
    }
  }
};

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc == 5 && QByteArray(argv[1]) == "--edit-and-keep") return editAndKeep(argv[2], argv[3], std::atoi(argv[4]));
  TestRecovery test;
  QTEST_SET_MAIN_SOURCE_PATH
  return QTest::qExec(&test, argc, argv);
}
#include "test_recovery.moc"
