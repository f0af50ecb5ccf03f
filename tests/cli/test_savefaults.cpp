// Saves under faults: quorvel-cli resave runs with fault_shim.c preloaded,
// which fails the Nth file call in the target folder, or kills the program
// there. A failed save leaves the folder as it was, byte for byte, and names
// the file and the reason; a killed save is finished or undone by the next
// load, so the project is all old or all new; two saves at once never mix.
#include <QDir>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <cerrno>
#include <memory>

#include "support/Fixtures.h"

using qv::fixtures::finish;
using qv::fixtures::readFile;
using qv::fixtures::writeFile;

namespace {

using Snapshot = QMap<QString, QByteArray>;

const QString Demo = qEnvironmentVariable("QUORVEL_EXAMPLES") + "/demo/demo.QV1";

// Every entry of a folder, hidden ones included, with its bytes.
Snapshot snapshot(const QString& dir) {
  Snapshot s;
  for (const QString& name : QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden))
    s[name] = readFile(QDir(dir).filePath(name));
  return s;
}

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
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  // A sanitizer runtime asks to be loaded first; the shim only wraps libc.
  const QStringList all = QStringList{"LD_PRELOAD=" + qEnvironmentVariable("QUORVEL_FAULT_SHIM"), "QV_FAULT_DIR=" + dir,
                                      "ASAN_OPTIONS=" + env.value("ASAN_OPTIONS") + ":verify_asan_link_order=0"} + faults;
  for (const QString& v : all) env.insert(v.section('=', 0, 0), v.section('=', 1));
  auto p = std::make_unique<QProcess>();
  p->setProcessEnvironment(env);
  p->start(qEnvironmentVariable("QUORVEL_CLI"), args);
  return p;
}

// A resave of a project into dir/out.QV1.
std::unique_ptr<QProcess> resave(const QString& dir, const QStringList& faults, const QString& from = Demo) {
  return start({"resave", from, dir + "/out.QV1"}, dir, faults);
}
qv::fixtures::Ran run(std::unique_ptr<QProcess> p) { return finish(*p, 60'000); }

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

 private slots:
  // Under the lock each file of four is opened, written, synced and closed,
  // a journal likewise and the folder synced; then each earlier file is kept
  // with a link, or without links with a copy written the same way, and the
  // new one renamed over it; the folder is synced, the kept files, journal
  // and lock removed. Over an earlier save every step but the removals
  // fails in turn; the other rows fail the steps that take other paths: a
  // first save's renames and folder syncs (nothing to put back, the new
  // files removed) and the steps of the copies.
  void everyFailedStepKeepsTheFolder_data() {
    QTest::addColumn<bool>("earlier");
    QTest::addColumn<QStringList>("links");
    QTest::addColumn<int>("steps");
    QTest::addColumn<QString>("failing");  // the log lines of the steps to fail
    QTest::newRow("first save") << false << QStringList() << 29 << " (rename|fsync) ";
    QTest::newRow("over an earlier save") << true << QStringList() << 37 << " (open|write|fdatasync|fsync|close|link|rename) ";
    QTest::newRow("over an earlier save, no hard links") << true << QStringList{"QV_FAULT_NO_LINKS=1"} << 49
                                                         << "(open|write|fdatasync|close) .*\\.qvkeep-";
  }
  void everyFailedStepKeepsTheFolder() {
    QFETCH(bool, earlier);
    QFETCH(QStringList, links);
    QFETCH(int, steps);
    QFETCH(QString, failing);
    QTemporaryDir work(workRoot());
    const QString dirs[2] = {work.filePath("0"), work.filePath("1")};  // two saves run at a time

    // A clean save, counting its calls.
    const Snapshot before = prepare(dirs[0], earlier);
    QCOMPARE(run(resave(dirs[0], links + QStringList{"QV_FAULT_LOG=" + work.filePath("log")})).code, 0);
    const Snapshot saved = snapshot(dirs[0]);
    QCOMPARE(saved.size(), 5);
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
                                                      "QV_FAULT_ERRNO=" + QString::number(n % 2 ? ENOSPC : EIO)});
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
  // before each step of a failed save's undoing: the next load (or, every
  // other time, the next save) finds the whole earlier project when the
  // journal had not been written, else the whole new one, and no other file.
  void killedSaveEndsWholeOldOrNew() {
    QTemporaryDir work(workRoot());
    const QString dirs[2] = {work.filePath("0"), work.filePath("1")};  // two at a time
    const QString aquarium = qEnvironmentVariable("QUORVEL_EXAMPLES") + "/aquarium/aquarium.QV1";
    prepare(dirs[0], false);
    QCOMPARE(run(resave(dirs[0], {}, aquarium)).code, 0);
    const Snapshot old = snapshot(dirs[0]);
    QCOMPARE(run(resave(dirs[0], {"QV_FAULT_LOG=" + work.filePath("log")})).code, 0);
    const Snapshot fresh = snapshot(dirs[0]);
    QVERIFY(old.keys() == fresh.keys() && old["out.QV1"] != fresh["out.QV1"] && old["Back_out.bmp"] != fresh["Back_out.bmp"]);
    const QStringList log = logOf(work.filePath("log"));
    const int journal = log.indexOf(QRegularExpression("\\d+ write .*\\.qvjournal")) + 1;
    const int masks = log.indexOf(QRegularExpression("\\d+ rename .*/Masks_out\\.bmp")) + 1;
    QVERIFY(journal > 0 && masks > journal);
    // The steps of an undo: the Masks rename failed, the program killed later.
    restore(dirs[0], old);
    run(resave(dirs[0], {"QV_FAULT_CALL=" + QString::number(masks), "QV_FAULT_LOG=" + work.filePath("undo")}));
    const int undoSteps = logOf(work.filePath("undo")).size();
    QVERIFY(undoSteps > masks + 4);

    QList<QPair<int, int>> cases;  // the step killed at, a step failed first
    for (int n = 1; n <= log.size(); ++n) cases.append({n, 0});
    for (int n = masks + 1; n <= undoSteps; ++n) cases.append({n, masks});
    for (int k = 0; k < cases.size(); k += 2) {
      std::unique_ptr<QProcess> runs[2];
      for (int i = 0; i < 2 && k + i < cases.size(); ++i) {
        QCOMPARE(restore(dirs[i], old), old);
        runs[i] = resave(dirs[i], {"QV_FAULT_KILL=" + QString::number(cases[k + i].first),
                                   "QV_FAULT_CALL=" + QString::number(cases[k + i].second)});
      }
      for (int i = 0; i < 2 && runs[i]; ++i) {
        const auto [kill, fail] = cases[k + i];
        const QByteArray what = QByteArray::number(kill) + " after " + QByteArray::number(fail);
        QVERIFY2(finish(*runs[i], 60'000).code == -1, what);
        runs[i] = i ? resave(dirs[i], {}) : start({"dump", dirs[i] + "/out.QV1"}, dirs[i], {});
      }
      for (int i = 0; i < 2 && runs[i]; ++i) {
        const auto [kill, fail] = cases[k + i];
        const auto next = finish(*runs[i], 60'000);
        QVERIFY2(next.code == 0 && next.err.isEmpty(), QByteArray::number(kill) + " after " + QByteArray::number(fail) + next.err);
        QVERIFY2(snapshot(dirs[i]) == (i || (kill > journal && !fail) ? fresh : old), qPrintable(QString::number(kill)));
      }
    }
  }

  // Two saves of different projects over one project, the first with slow
  // renames, the second started while they run: the second waits for the
  // first, and the folder holds the whole project of one of them.
  void concurrentSavesNeverMix() {
    QTemporaryDir work(workRoot());
    const QString dir = work.filePath("p"), other = qEnvironmentVariable("QUORVEL_EXAMPLES") + "/aquarium/aquarium.QV1";
    Snapshot wholes[2];
    for (int i = 0; i < 2; ++i) {
      prepare(dir, true);
      QCOMPARE(run(resave(dir, {}, i ? other : Demo)).code, 0);
      wholes[i] = snapshot(dir);
    }
    for (int round = 0; round < 5; ++round) {
      prepare(dir, true);
      auto slow = resave(dir, {"QV_FAULT_DELAY_MS=400"});
      QThread::msleep(700);  // its renames fall between the first one's
      auto quick = resave(dir, {}, other);
      QVERIFY(run(std::move(slow)).code == 0 && run(std::move(quick)).code == 0);
      const Snapshot after = snapshot(dir);
      QVERIFY2(after == wholes[0] || after == wholes[1], qPrintable(QString::number(round)));
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
