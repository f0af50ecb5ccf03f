// A save failed at each of its steps in turn: quorvel-cli resave runs with
// fault_shim.c preloaded, which fails the Nth file call in the target
// folder. After every failed save the folder holds exactly what it held
// before, byte for byte, the exit is a failure and the message names the
// file the step worked on and the system's reason.
#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <cerrno>
#include <memory>

#include "support/Fixtures.h"

using qv::fixtures::finish;

namespace {

using Snapshot = QMap<QString, QByteArray>;

// Every entry of a folder, hidden ones included, with its bytes.
Snapshot snapshot(const QString& dir) {
  Snapshot s;
  for (const QString& name : QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden))
    s[name] = qv::fixtures::readFile(QDir(dir).filePath(name));
  return s;
}

// The folder before a save: a file of the user's, and an earlier save's files.
Snapshot prepare(const QString& dir, bool earlier) {
  QDir(dir).removeRecursively();
  QDir().mkpath(dir);
  for (const char* name : {"notes.txt", "Back_out.bmp", "Masks_out.bmp", "Sprites_out.bmp", "out.QV1"})
    if (!qv::fixtures::writeFile(dir + "/" + name, "earlier " + QByteArray(name)) || !earlier) break;
  return snapshot(dir);
}

// quorvel-cli resave of the example project into dir/out.QV1, the fault
// injector watching dir with the settings given as "NAME=value".
std::unique_ptr<QProcess> startResave(const QString& dir, const QStringList& faults) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  // A sanitizer runtime asks to be loaded first; the shim only wraps libc.
  const QStringList all = QStringList{"LD_PRELOAD=" + qEnvironmentVariable("QUORVEL_FAULT_SHIM"), "QV_FAULT_DIR=" + dir,
                                      "ASAN_OPTIONS=" + env.value("ASAN_OPTIONS") + ":verify_asan_link_order=0"} + faults;
  for (const QString& v : all) env.insert(v.section('=', 0, 0), v.section('=', 1));
  auto p = std::make_unique<QProcess>();
  p->setProcessEnvironment(env);
  p->start(qEnvironmentVariable("QUORVEL_CLI"),
           {"resave", qEnvironmentVariable("QUORVEL_EXAMPLES") + "/demo/demo.QV1", dir + "/out.QV1"});
  return p;
}

}  // namespace

class TestSaveFaults : public QObject {
  Q_OBJECT

 private slots:
  // Each file of four is opened, written, synced and closed, then renamed
  // over its name; the folder is synced. Earlier files are first kept with
  // a link, or without links with a copy written the same way. Over an
  // earlier save every step fails in turn; the other rows fail the steps
  // that take other paths: a first save's renames and folder sync (nothing
  // to put back, the new files removed) and the steps of the copies.
  void everyFailedStepKeepsTheFolder_data() {
    QTest::addColumn<bool>("earlier");
    QTest::addColumn<QStringList>("links");
    QTest::addColumn<int>("steps");
    QTest::addColumn<QString>("failing");  // the log lines of the steps to fail
    QTest::newRow("first save") << false << QStringList() << 21 << " (rename|fsync) ";
    QTest::newRow("over an earlier save") << true << QStringList() << 25 << " ";
    QTest::newRow("over an earlier save, no hard links") << true << QStringList{"QV_FAULT_NO_LINKS=1"} << 37 << "\\.qvkeep-";
  }
  void everyFailedStepKeepsTheFolder() {
    QFETCH(bool, earlier);
    QFETCH(QStringList, links);
    QFETCH(int, steps);
    QFETCH(QString, failing);
    // In memory where the system has a memory file system: the saves sync
    // every file, which on a disk takes most of their time.
    QTemporaryDir work(QFileInfo("/dev/shm").isWritable() ? "/dev/shm/quorvel-faults-XXXXXX" : QString());
    const QString dirs[2] = {work.filePath("0"), work.filePath("1")};  // two saves run at a time

    // A clean save, counting its calls.
    const Snapshot before = prepare(dirs[0], earlier);
    QCOMPARE(finish(*startResave(dirs[0], links + QStringList{"QV_FAULT_LOG=" + work.filePath("log")}), 60'000).code, 0);
    const Snapshot saved = snapshot(dirs[0]);
    QCOMPARE(saved.size(), 5);
    for (const QString& name : saved.keys())
      QVERIFY(!saved[name].isEmpty() && (saved[name] == before.value(name)) == (name == "notes.txt"));
    const QStringList log = QString::fromUtf8(qv::fixtures::readFile(work.filePath("log"))).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(log.size(), steps);

    QList<int> failed;
    for (int n = 1; n <= steps; ++n)
      if (log[n - 1].contains(QRegularExpression(failing))) failed << n;
    for (int k = 0; k < failed.size(); k += 2) {
      std::unique_ptr<QProcess> runs[2];
      for (int i = 0; i < 2 && k + i < failed.size(); ++i) {
        QCOMPARE(prepare(dirs[i], earlier), before);
        const int n = failed[k + i];
        runs[i] = startResave(dirs[i], links + QStringList{"QV_FAULT_CALL=" + QString::number(n),
                                                           "QV_FAULT_ERRNO=" + QString::number(n % 2 ? ENOSPC : EIO)});
      }
      for (int i = 0; i < 2 && runs[i]; ++i) {
        const int n = failed[k + i];
        const auto [code, out, err] = finish(*runs[i], 60'000);
        // A temporary or kept file stands for the file it replaces.
        QString file = dirs[i] + log[n - 1].section(' ', 2).mid(dirs[0].size());
        file.replace(QRegularExpression("/\\.([^/]+)\\.qv(new|keep)-[0-9a-z]+$"), "/\\1");
        const QString reason = n % 2 ? "No space left on device" : "Input/output error";
        QVERIFY2(code == 1 && snapshot(dirs[i]) == before &&
                     err.endsWith(("quorvel-cli: " + file + ": The project could not be saved: " + reason + "\n").toUtf8()),
                 qPrintable(log[n - 1] + ": " + err));
      }
    }
  }

  // Two faults over an earlier save: the sprite sheet's rename (call 20)
  // and the rename that puts the Background back (21). The message says
  // so, and the old Background is still there under its kept name, whole.
  void failedRollBackKeepsTheOldFile() {
    QTemporaryDir work;
    const QString dir = work.filePath("p");
    const Snapshot before = prepare(dir, true);
    const auto r = finish(*startResave(dir, {"QV_FAULT_CALL=20,21", "QV_FAULT_ERRNO=" + QString::number(EIO)}), 60'000);
    QCOMPARE(r.code, 1);
    Snapshot after = snapshot(dir);
    const QStringList kept = after.keys().filter(QRegularExpression("^\\.Back_out\\.bmp\\.qvkeep-"));
    QCOMPARE(kept.size(), 1);
    QVERIFY2(r.err.contains((dir + "/Sprites_out.bmp: The project could not be saved: Input/output error; the old " + dir +
                             "/Back_out.bmp could not be put back (Input/output error) and is kept as " + dir + "/" + kept[0]).toUtf8()),
             r.err.constData());
    after["Back_out.bmp"] = after.take(kept[0]);
    QCOMPARE(after, before);
  }
};

QTEST_GUILESS_MAIN(TestSaveFaults)
#include "test_savefaults.moc"
