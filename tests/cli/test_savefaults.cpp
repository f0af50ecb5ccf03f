// Saves under faults: quorvel-cli resave runs with fault_shim.c preloaded,
// which fails the Nth file call in the target folder, kills the program
// there, or holds it there. A failed save leaves the folder as it was, byte
// for byte, and names the file and the reason; a killed save is finished or
// undone by the next load or save, wherever the folder is reached from, so
// the project is all old or all new, own sounds included; two saves at once
// never mix, nor a load and a save; companions planted beside a project
// touch nothing outside it.
#include <cerrno>
#include <sys/stat.h>

#include "support/Fixtures.h"

using namespace qv;

namespace {

using Snapshot = QMap<QString, QByteArray>;

const QString Demo = qEnvironmentVariable("QUORVEL_EXAMPLES") + "/demo/demo.QV1";

// Makes the folder hold exactly the snapshot.
Snapshot restore(const QString& dir, const Snapshot& s) {
  QDir(dir).removeRecursively();
  QDir().mkpath(dir);
  for (auto it = s.begin(); it != s.end(); ++it) writeFile(dir + "/" + it.key(), it.value());
  return snapshot(dir);
}

// The folder before a save: a file of the user's, and an earlier save's files.
Snapshot prepare(const QString& dir, bool earlier) {
  Snapshot s{{"notes.txt", "the user's"}};
  if (earlier)
    for (const char* name : {"Back_out.bmp", "Masks_out.bmp", "Sprites_out.bmp", "out.QV1"}) s[name] = "earlier " + QByteArray(name);
  return restore(dir, s);
}

// quorvel-cli with the fault injector watching dir, its settings given as
// "NAME=value".
std::unique_ptr<QProcess> start(const QStringList& args, const QString& dir, const QStringList& faults) {
  return startCli(args, faultShim(dir) + faults);
}

// A resave of a project into dir/out.QV1.
std::unique_ptr<QProcess> resave(const QString& dir, const QStringList& faults, const QString& from = Demo,
                                 const QString& to = "out.QV1") {
  return start({"resave", from, QDir(dir).filePath(to)}, dir, faults);
}
std::unique_ptr<QProcess> dump(const QString& dir, const QStringList& faults = {}) {
  return start({"dump", dir + "/out.QV1"}, dir, faults);
}
Ran run(std::unique_ptr<QProcess> p) { return finish(*p); }

// Waits until the file holds a line matching the pattern count times, or
// the process has ended.
void waitForLines(const QString& file, const QString& pattern, int count, QProcess& p) {
  QTRY_VERIFY_WITH_TIMEOUT(p.state() == QProcess::NotRunning ||
                               QString::fromUtf8(readFile(file)).count(QRegularExpression(pattern, QRegularExpression::MultilineOption)) >= count,
                           30'000);
}

// The log of a save's counted calls, one "N OP PATH" a line.
QStringList logOf(const QString& file) {
  return QString::fromUtf8(readFile(file)).split('\n', Qt::SkipEmptyParts);
}

// A folder in memory where the system has a memory file system: saves sync
// every file, which on a disk takes most of their time.
QString workRoot() { return QFileInfo("/dev/shm").isWritable() ? "/dev/shm/quorvel-faults-XXXXXX" : QString(); }

}  // namespace

class TestSaveFaults : public QObject {
  Q_OBJECT
  QTemporaryDir made;
  // Demo projects with own sounds, set by quorvel-cli set: "one" plays a
  // tone from Pane 1 (Sound 1000), "two" others from Panes 1 and 2 (1000
  // and 1001).
  QString one = made.filePath("one.QV1"), two = made.filePath("two.QV1");

 private slots:
  void initTestCase() {
    const QStringList sets[] = {{one, "1", "440"}, {two, "1", "660"}, {two, "2", "880"}};
    for (const QStringList& set : sets) {
      const QString tone = made.filePath(set[2] + ".wav");
      QVERIFY(writeFile(tone, qv::fixtures::toneWave(8000, 1, 300, set[2].toInt())));
      if (!QFileInfo::exists(set[0])) QCOMPARE(run(resave(made.path(), {}, Demo, set[0])).code, 0);
      QCOMPARE(run(start({"set", set[0], "--pane", set[1], "Sound=" + tone}, made.path(), {})).code, 0);
    }
  }

  // Under the lock each file of four is opened, written, synced and closed;
  // each earlier file is kept with a link, or without links with a copy
  // written the same way; a journal is written and the folder synced; then
  // each new file is renamed over its old one; the folder is synced, the
  // kept files, journal and lock removed. Over an earlier save every step
  // but the removals and the permissions fails in turn; the other rows fail
  // the steps that take other paths: a first save's renames and folder syncs
  // (nothing to put back, the new files removed) and the steps of the copies.
  void everyFailedStepKeepsTheFolder_data() {
    QTest::addColumn<bool>("earlier");
    QTest::addColumn<QStringList>("links");
    QTest::addColumn<int>("steps");
    QTest::addColumn<QString>("failing");  // the log lines of the steps to fail
    QTest::addColumn<QString>("from");     // the project saved
    QTest::newRow("first save") << false << QStringList() << 30 << " (rename|fsync) " << Demo;
    QTest::newRow("over an earlier save") << true << QStringList() << 42
                                          << " (open|write|fdatasync|fsync|close|link|rename|flock) " << Demo;
    QTest::newRow("over an earlier save, no hard links") << true << QStringList{"QV_FAULT_NO_LINKS=1"} << 58
                                                         << "(open|write|fdatasync|close) .*\\.qvkeep-" << Demo;
    QTest::newRow("own sounds over an earlier save") << true << QStringList() << 52
                                                     << " (open|write|fdatasync|fsync|close|link|rename|flock) " << two;
  }
  void everyFailedStepKeepsTheFolder() {
    QFETCH(bool, earlier);
    QFETCH(QStringList, links);
    QFETCH(int, steps);
    QFETCH(QString, failing);
    QFETCH(QString, from);
    QTemporaryDir work(workRoot());
    const QString dirs[2] = {work.filePath("0"), work.filePath("1")};  // two saves run at a time

    // A clean save, counting its calls.
    const Snapshot before = prepare(dirs[0], earlier);
    QCOMPARE(run(resave(dirs[0], links + QStringList{"QV_FAULT_LOG=" + work.filePath("log")}, from)).code, 0);
    const Snapshot saved = snapshot(dirs[0]);
    QCOMPARE(saved.size(), from == Demo ? 5 : 7);
    for (const QString& name : saved.keys())
      QVERIFY(!saved[name].isEmpty() && (saved[name] == before.value(name)) == (name == "notes.txt"));
    const QStringList log = logOf(work.filePath("log"));
    QCOMPARE(log.size(), steps);

    QList<int> failed;
    for (int n = 1; n <= steps; ++n)
      if (log[n - 1].contains(QRegularExpression(failing))) failed << n;
    for (int k = 0; k < failed.size(); k += 2) {
      std::unique_ptr<QProcess> runs[2];
      for (int i = 0; i < 2 && k + i < failed.size(); ++i) {
        QCOMPARE(prepare(dirs[i], earlier), before);
        const int n = failed[k + i];
        runs[i] = resave(dirs[i], links + QStringList{"QV_FAULT_CALL=" + QString::number(n),
                                                      "QV_FAULT_ERRNO=" + QString::number(n % 2 ? ENOSPC : EIO)}, from);
      }
      for (int i = 0; i < 2 && runs[i]; ++i) {
        const int n = failed[k + i];
        const auto [code, out, err] = finish(*runs[i], 60'000);
        // A temporary, kept file, journal or lock stands for its file.
        QString file = dirs[i] + log[n - 1].section(' ', 2).mid(dirs[0].size());
        file.replace(QRegularExpression("/\\.([^/]+)\\.qv(new|keep)-[0-9a-z]+$|/\\.([^/]+)\\.qv(lock|journal)$"), "/\\1\\3");
        const QString reason = n % 2 ? "No space left on device" : "Input/output error";
        QVERIFY2(code == 1 && snapshot(dirs[i]) == before &&
                     err.endsWith(("quorvel-cli: " + file + ": The project could not be saved: " + reason + "\n").toUtf8()),
                 qPrintable(log[n - 1] + ": " + err));
      }
    }
  }

  // The program killed before each step of a save over an earlier one, and
  // before each step of a failed save's undoing; then the folder is moved and
  // reached through a linked parent. The next load, or the next save (which
  // then fails at its first temporary, so its recovery's work shows), finds
  // the whole earlier project when the journal was not whole and replacing,
  // else the whole new one, and no other file. With own sounds the new
  // project changes one sound and leaves the other out.
  void killedSaveEndsWholeOldOrNew_data() {
    QTest::addColumn<QString>("older");
    QTest::addColumn<QString>("newer");
    QTest::addColumn<QString>("changed");  // a file besides the project file that differs
    QTest::newRow("examples") << qEnvironmentVariable("QUORVEL_EXAMPLES") + "/aquarium/aquarium.QV1" << Demo << "Back_out.bmp";
    QTest::newRow("own sounds") << two << one << "Sound_out_1000.wav";
  }
  void killedSaveEndsWholeOldOrNew() {
    QFETCH(QString, older);
    QFETCH(QString, newer);
    QFETCH(QString, changed);
    QTemporaryDir work(workRoot());
    const QString dir = work.filePath("0");
    prepare(dir, false);
    QCOMPARE(run(resave(dir, {}, older)).code, 0);
    const Snapshot old = snapshot(dir);
    QCOMPARE(run(resave(dir, {"QV_FAULT_LOG=" + work.filePath("log")}, newer)).code, 0);
    const Snapshot fresh = snapshot(dir);
    QVERIFY(old["out.QV1"] != fresh["out.QV1"] && fresh.contains(changed) && old[changed] != fresh[changed]);
    const QStringList log = logOf(work.filePath("log"));
    const int journal = log.indexOf(QRegularExpression("\\d+ write .*\\.qvjournal")) + 1;
    const int masks = log.indexOf(QRegularExpression("\\d+ rename .*/Masks_out\\.bmp")) + 1;
    QVERIFY(journal > 0 && masks > journal);
    // The steps of an undo: the Masks rename failed, the program killed later.
    restore(dir, old);
    run(resave(dir, {"QV_FAULT_CALL=" + QString::number(masks), "QV_FAULT_LOG=" + work.filePath("undo")}, newer));
    const QStringList undo = logOf(work.filePath("undo"));
    const int undone = undo.indexOf(QRegularExpression("\\d+ ftruncate .*\\.qvjournal")) + 1;
    QVERIFY(undone == masks + 1 && undo.size() > masks + 4);

    QList<QPair<int, int>> cases;  // the step killed at, a step failed first
    for (int n = 1; n <= log.size(); ++n) cases.append({n, 0});
    for (int n = masks + 1; n <= undo.size(); ++n) cases.append({n, masks});
    QVERIFY(QFile::link(work.filePath("moved"), work.filePath("via")) && QDir().mkpath(work.filePath("moved")));
    for (int k = 0; k < cases.size(); ++k) {
      const auto [kill, fail] = cases[k];
      const QString what = QString("killed at %1 after %2").arg(kill).arg(fail);
      const QString at = work.filePath("moved/" + QString::number(k)), via = work.filePath("via/" + QString::number(k));
      QCOMPARE(restore(dir, old), old);
      QVERIFY2(run(resave(dir, {"QV_FAULT_KILL=" + QString::number(kill), "QV_FAULT_CALL=" + QString::number(fail)}, newer)).code == -1,
               qPrintable(what));
      QVERIFY(QDir().rename(dir, at));
      const auto next = run(k % 2 ? resave(via, {"QV_FAULT_FAIL_AT=open:.qvnew-"}) : dump(via));
      QVERIFY2(next.code == (k % 2) && (k % 2 || next.err.isEmpty()), qPrintable(what + ": " + next.err));
      const bool replaced = kill > journal && (!fail || kill <= undone);
      QVERIFY2(snapshot(at) == (replaced ? fresh : old), qPrintable(what));
    }
  }

  // A save held at its first rename while a second save of another project
  // starts: the second waits on the lock (it tries again and again) until
  // the first has ended, then saves its whole project over it.
  void concurrentSavesNeverMix() {
    QTemporaryDir work(workRoot());
    const QString dir = work.filePath("p"), other = qEnvironmentVariable("QUORVEL_EXAMPLES") + "/aquarium/aquarium.QV1";
    prepare(dir, true);
    QCOMPARE(run(resave(dir, {}, other)).code, 0);
    const Snapshot second = snapshot(dir);
    prepare(dir, true);
    const QString go = "QV_FAULT_GO=" + work.filePath("go");
    auto held = resave(dir, {"QV_FAULT_PAUSE_AT=rename:Back_out", go, "QV_FAULT_LOG=" + work.filePath("held")});
    waitForLines(work.filePath("held"), "^pause ", 1, *held);
    auto waiting = resave(dir, {"QV_FAULT_LOG=" + work.filePath("waiting")}, other);
    waitForLines(work.filePath("waiting"), " flock ", 3, *waiting);
    writeFile(work.filePath("go"), "");
    QVERIFY(run(std::move(held)).code == 0 && run(std::move(waiting)).code == 0);
    QCOMPARE(snapshot(dir), second);
  }

  // A load held just before it opens the sprite sheet while a save of another
  // project starts: the save waits on the lock until the load has read all
  // four files, so the load gets the whole earlier project.
  void loadReadsUnderTheLock() {
    QTemporaryDir work(workRoot());
    const QString dir = work.filePath("p"), other = qEnvironmentVariable("QUORVEL_EXAMPLES") + "/aquarium/aquarium.QV1";
    const auto render = [&](const QString& png, const QStringList& faults) {
      return start({"render", dir + "/out.QV1", "--out", work.filePath(png)}, dir, faults);
    };
    prepare(dir, false);
    QVERIFY(run(resave(dir, {})).code == 0 && run(render("earlier.png", {})).code == 0);
    auto load = render("loaded.png", {"QV_FAULT_PAUSE_AT=open:Sprites_out", "QV_FAULT_GO=" + work.filePath("go"),
                                      "QV_FAULT_LOG=" + work.filePath("load")});
    waitForLines(work.filePath("load"), "^pause ", 1, *load);
    auto save = resave(dir, {"QV_FAULT_LOG=" + work.filePath("save")}, other);
    waitForLines(work.filePath("save"), " flock ", 3, *save);
    writeFile(work.filePath("go"), "");
    QVERIFY(run(std::move(load)).code == 0 && run(std::move(save)).code == 0);
    QCOMPARE(readFile(work.filePath("loaded.png")), readFile(work.filePath("earlier.png")));
  }

  // Companions planted beside a project (data/companions.txt): the command
  // refuses or works, a file outside the folder is never written or
  // removed, and a refusal leaves the folder as it was.
  void plantedCompanionsTouchNothingOutside_data() {
    QTest::addColumn<QStringList>("f");
    for (const QStringList& f : fieldRows(QFINDTESTDATA("data/companions.txt"), 7)) QTest::newRow(qPrintable(f[0])) << f;
  }
  void plantedCompanionsTouchNothingOutside() {
    QFETCH(QStringList, f);
    const QString plant = f[1];
    const int code = f[3].toInt();
    QTemporaryDir work(workRoot());
    const QString dir = work.filePath("p"), victim = work.filePath("victim.txt");
    prepare(dir, false);
    QCOMPARE(run(resave(dir, {"QV_FAULT_LOG=" + work.filePath("log")})).code, 0);
    QVERIFY(writeFile(victim, "the user's"));
    const auto link = [&](const QString& name, const QString& to) { QFile::remove(dir + name); return QFile::link(to, dir + name); };
    if (plant == "journal" || plant == "named") {
      // Undoing the entry would remove the file it names: it had no old file.
      QVERIFY(link("/Back_out.bmp", victim));
      struct stat st {};
      QCOMPARE(::stat(qPrintable(victim), &st), 0);
      const QByteArray name = plant == "journal" ? QUrl::toPercentEncoding(victim) : QByteArray("Back_out.bmp");
      QVERIFY(writeFile(dir + "/.out.QV1.qvjournal", "quorvel save journal 2\nentry " + name + " .Back_out.bmp.qvnew-a " +
                                                         QByteArray::number(st.st_dev) + ':' + QByteArray::number(st.st_ino) + " - 0:0\n"));
    } else if (plant == "journal link") {
      QVERIFY(QFile::link(victim, dir + "/.out.QV1.qvjournal"));
    } else if (plant == "fifo") {
      QCOMPARE(::mkfifo(qPrintable(dir + "/.out.QV1.qvlock"), 0600), 0);
    } else if (plant == "lock link") {
      QVERIFY(QFile::link(work.filePath("elsewhere"), dir + "/.out.QV1.qvlock"));
    } else if (plant == "project link") {
      QVERIFY(QFile::rename(dir + "/out.QV1", work.filePath("victim.QV1")) && link("/out.QV1", work.filePath("victim.QV1")));
    } else if (plant == "copied") {
      const QString aquarium = qEnvironmentVariable("QUORVEL_EXAMPLES") + "/aquarium/aquarium.QV1";
      const Snapshot first = snapshot(dir);
      QCOMPARE(run(resave(dir, {"QV_FAULT_LOG=" + work.filePath("over")}, aquarium)).code, 0);
      restore(dir, first);
      const int masks = logOf(work.filePath("over")).indexOf(QRegularExpression("\\d+ rename .*/Masks_out\\.bmp")) + 1;
      QCOMPARE(run(resave(dir, {"QV_FAULT_KILL=" + QString::number(masks)}, aquarium)).code, -1);
      Snapshot left = snapshot(dir);
      left.remove(".out.QV1.qvlock");  // the killed save's; the next holder removes it
      QVERIFY(QDir(dir).rename(dir, dir + "-was"));
      restore(dir, left);  // new files: their inodes are not the journal's
    }
    const Snapshot before = snapshot(dir), outside = snapshot(work.path());
    const auto r = run(f[2] == "resave" ? resave(dir, {}) : dump(dir));
    QVERIFY2(r.code == code && r.err.contains(QString(f[4]).replace("%1", dir).toUtf8()), r.err.constData());
    QCOMPARE(readFile(victim), QByteArray("the user's"));
    QVERIFY(!QFileInfo::exists(work.filePath("elsewhere")));
    if (code == 1) QCOMPARE(snapshot(dir), before);
    if (plant == "project link") {
      QVERIFY(!QFileInfo(dir + "/out.QV1").isSymLink());
      QCOMPARE(readFile(work.filePath("victim.QV1")), outside["victim.QV1"]);
    }
  }

  // Three faults over an earlier save: the sprite sheet's rename, then in
  // the undoing the removal of its kept link (as for a file of another user
  // where only owners remove files) and the rename that puts the Background
  // back. The message names both, the old Background is still there under
  // its kept name, whole, and the journal stays: the next load puts it back
  // and leaves no other file.
  void failedUndoIsFinishedByTheNextLoad() {
    QTemporaryDir work;
    const QString dir = work.filePath("p");
    const Snapshot before = prepare(dir, true);
    run(resave(dir, {"QV_FAULT_LOG=" + work.filePath("log")}));
    const int sprites = logOf(work.filePath("log")).indexOf(QRegularExpression("\\d+ rename .*/Sprites_out.bmp")) + 1;
    prepare(dir, true);
    run(resave(dir, {"QV_FAULT_CALL=" + QString::number(sprites), "QV_FAULT_LOG=" + work.filePath("undo")}));
    const QStringList undo = logOf(work.filePath("undo"));
    const int link = undo.indexOf(QRegularExpression("\\d+ unlink .*/\\.Sprites_out\\.bmp\\.qvkeep-.*")) + 1;
    const int back = undo.lastIndexOf(QRegularExpression("\\d+ rename .*/Back_out.bmp")) + 1;
    prepare(dir, true);
    const auto r = run(resave(dir, {QString("QV_FAULT_CALL=%1,%2,%3").arg(sprites).arg(link).arg(back), "QV_FAULT_ERRNO=5"}));
    Snapshot after = snapshot(dir);
    const QStringList kept = after.keys().filter(QRegularExpression("^\\.(Sprites|Back)_out\\.bmp\\.qvkeep-"));
    QVERIFY(r.code == 1 && kept.size() == 2 && after.contains(".out.QV1.qvjournal"));
    QVERIFY2(r.err.contains((dir + "/Sprites_out.bmp: The project could not be saved: Input/output error; the old file's kept link " +
                             dir + "/" + kept[1] + " could not be removed (Input/output error); the old " + dir +
                             "/Back_out.bmp could not be put back (Input/output error) and is kept as " + dir + "/" + kept[0]).toUtf8()),
             r.err.constData());
    QCOMPARE(after[kept[0]], before["Back_out.bmp"]);
    QCOMPARE(run(start({"dump", dir + "/out.QV1"}, dir, {})).code, 1);  // the earlier "save" is no project
    QCOMPARE(snapshot(dir), before);
  }
};

QTEST_GUILESS_MAIN(TestSaveFaults)
#include "test_savefaults.moc"
