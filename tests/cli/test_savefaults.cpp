// A save failed at each of its steps in turn: quorvel-cli resave runs with a
// fault injector preloaded (fault_shim.c) that fails the Nth file call in
// the target folder. After every failed save the folder holds exactly what
// it held before, byte for byte, the exit is a failure and the message names
// the file the step worked on and the system's reason.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {

const QStringList OutFiles = {"Back_out.bmp", "Masks_out.bmp", "Sprites_out.bmp", "out.QV1"};

struct Run {
  int code = -1;
  QString err;
};

using Snapshot = QMap<QString, QByteArray>;

// Every entry of a folder, hidden ones included, with its bytes.
Snapshot snapshot(const QString& dir) {
  Snapshot s;
  for (const QString& name : QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
    QFile f(QDir(dir).filePath(name));
    s[name] = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
  }
  return s;
}

// Starts quorvel-cli resave of the example project into dir/out.QV1 with
// the fault injector watching dir.
std::unique_ptr<QProcess> startResave(const QString& dir, const QMap<QString, QString>& faults) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("LD_PRELOAD", qEnvironmentVariable("QUORVEL_FAULT_SHIM"));
  // A sanitizer runtime asks to be loaded first; the shim only wraps libc.
  env.insert("ASAN_OPTIONS", env.value("ASAN_OPTIONS") + ":verify_asan_link_order=0");
  env.insert("QV_FAULT_DIR", dir);
  for (auto it = faults.begin(); it != faults.end(); ++it) env.insert(it.key(), it.value());
  auto p = std::make_unique<QProcess>();
  p->setProcessEnvironment(env);
  p->start(qEnvironmentVariable("QUORVEL_CLI"),
           {"resave", qEnvironmentVariable("QUORVEL_EXAMPLES") + "/demo/demo.QV1", dir + "/out.QV1"});
  return p;
}

Run finish(QProcess& p) {
  Run r;
  if (!p.waitForFinished(60'000)) {
    p.kill();
    p.waitForFinished();
    return r;
  }
  r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  r.err = QString::fromUtf8(p.readAllStandardError());
  return r;
}

// The file of the set a counted call worked on: temporaries and kept copies
// are ".NAME.qvnew-X" and ".NAME.qvkeep-X"; a call on the folder names it.
QString fileOf(const QString& path, const QString& dir) {
  static const QRegularExpression extra(QStringLiteral("^\\.(.+)\\.qv(new|keep)-[0-9a-z]+$"));
  if (QFileInfo(path).fileName() == "0") return dir;
  const QString name = QFileInfo(path).fileName();
  const auto m = extra.match(name);
  return m.hasMatch() ? m.captured(1) : name;
}

}  // namespace

class TestSaveFaults : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QVERIFY2(QFileInfo(qEnvironmentVariable("QUORVEL_FAULT_SHIM")).isFile(), "QUORVEL_FAULT_SHIM names no file");
  }

  void everyFailedStepKeepsTheFolder_data() {
    QTest::addColumn<bool>("earlier");
    QTest::addColumn<bool>("noLinks");
    QTest::newRow("first save") << false << false;
    QTest::newRow("over an earlier save") << true << false;
    QTest::newRow("over an earlier save, no hard links") << true << true;
  }

  void everyFailedStepKeepsTheFolder() {
    QFETCH(bool, earlier);
    QFETCH(bool, noLinks);
    // In memory where the system has a memory file system: the saves sync
    // every file, which on a disk takes most of their time.
    const QString memory = QStringLiteral("/dev/shm");
    QTemporaryDir work(QFileInfo(memory).isWritable() ? memory + "/quorvel-faults-XXXXXX" : QString());
    // The folder before each save (a file of the user's, and an earlier
    // save's files). Two folders, so that two saves run at a time.
    const auto prepare = [&](int folder) {
      const QString dir = work.filePath(QString::number(folder));
      QDir(dir).removeRecursively();
      QDir().mkpath(dir);
      QStringList names = {"notes.txt"};
      if (earlier) names += OutFiles;
      for (const QString& name : names) {
        QFile f(QDir(dir).filePath(name));
        if (f.open(QIODevice::WriteOnly)) f.write("earlier " + name.toUtf8());
      }
      return snapshot(dir);
    };
    // On a file system without hard links (FAT) every link is refused and
    // the old files are kept as copies instead.
    QMap<QString, QString> base;
    if (noLinks) base = {{"QV_FAULT_OPS", "open,write,fdatasync,fsync,close,rename"}, {"QV_FAULT_NO_LINKS", "1"}};

    // A clean save, counting its calls.
    const Snapshot before = prepare(0);
    QCOMPARE(before.size(), earlier ? 5 : 1);
    const QString log = work.filePath("calls.log");
    QMap<QString, QString> counting = base;
    counting["QV_FAULT_LOG"] = log;
    QCOMPARE(finish(*startResave(work.filePath("0"), counting)).code, 0);
    const Snapshot saved = snapshot(work.filePath("0"));
    QCOMPARE(saved.keys(), QStringList({"Back_out.bmp", "Masks_out.bmp", "Sprites_out.bmp", "notes.txt", "out.QV1"}));
    for (const QString& name : OutFiles) QVERIFY(saved[name] != before.value(name) && !saved[name].isEmpty());
    QFile logFile(log);
    QVERIFY(logFile.open(QIODevice::ReadOnly));
    const QStringList steps = QString::fromUtf8(logFile.readAll()).split('\n', Qt::SkipEmptyParts);
    // Every file is written, synced and closed; every rename follows a kept
    // copy of an earlier file; the folder is synced.
    QMap<QString, int> ops;
    for (const QString& step : steps) ++ops[step.section(' ', 1, 1)];
    const int copies = earlier && noLinks ? 4 : 0;
    QCOMPARE(ops["open"], 4 + copies);
    QCOMPARE(ops["fdatasync"], 4 + copies);
    QCOMPARE(ops["close"], 4 + copies);
    QCOMPARE(ops["rename"], 4);
    QCOMPARE(ops["link"], earlier && !noLinks ? 4 : 0);
    QCOMPARE(ops["fsync"], 1);

    // Without links only the copies and the renames differ from the save
    // over an earlier save with links; the other steps are failed there.
    QList<int> failed;
    for (int n = 1; n <= steps.size(); ++n)
      if (!noLinks || steps[n - 1].contains(".qvkeep-") || steps[n - 1].section(' ', 1, 1) == "rename") failed << n;
    QCOMPARE(failed.size(), noLinks ? 20 : steps.size());
    for (int k = 0; k < failed.size(); k += 2) {
      std::unique_ptr<QProcess> runs[2];
      for (int i = 0; i < 2 && k + i < failed.size(); ++i) {
        const int n = failed[k + i];
        QCOMPARE(prepare(i), before);
        QMap<QString, QString> faults = base;
        faults["QV_FAULT_CALL"] = QString::number(n);
        faults["QV_FAULT_ERRNO"] = n % 2 ? "ENOSPC" : "EIO";
        runs[i] = startResave(work.filePath(QString::number(i)), faults);
      }
      for (int i = 0; i < 2 && runs[i]; ++i) {
        const int n = failed[k + i];
        const QString step = steps[n - 1], dir = work.filePath(QString::number(i));
        const Run r = finish(*runs[i]);
        QVERIFY2(r.code == 1, qPrintable(step + " exit " + QString::number(r.code) + " " + r.err));
        const Snapshot after = snapshot(dir);
        QVERIFY2(after == before, qPrintable(step + " left " + after.keys().join(' ')));
        const QString file = fileOf(step.section(' ', 2, 2), dir);
        const QString reason = n % 2 ? "No space left on device" : "Input/output error";
        QVERIFY2(r.err.endsWith("quorvel-cli: " + (file.startsWith('/') ? file : dir + "/" + file) +
                                ": The project could not be saved: " + reason + "\n"),
                 qPrintable(step + ": " + r.err));
      }
    }
  }

  // Two faults: the sprite sheet's rename fails, and so does putting the
  // Background back. The message says so, and the old Background is still
  // there under its kept name, whole.
  void failedRollBackKeepsTheOldFile() {
    QTemporaryDir work;
    const QString dir = work.filePath("p");
    QDir().mkpath(dir);
    for (const QString& name : OutFiles) {
      QFile f(QDir(dir).filePath(name));
      QVERIFY(f.open(QIODevice::WriteOnly) && f.write("earlier " + name.toUtf8()) > 0);
    }
    // Four files written (4 calls each), link and rename of Back_, link and
    // rename of Sprites_ (20), then the rename that puts Back_ back (21).
    const Run r = finish(*startResave(dir, {{"QV_FAULT_CALL", "20,21"}, {"QV_FAULT_ERRNO", "EIO"}}));
    QCOMPARE(r.code, 1);
    const Snapshot after = snapshot(dir);
    const QStringList kept = after.keys().filter(QRegularExpression("^\\.Back_out\\.bmp\\.qvkeep-"));
    QCOMPARE(kept.size(), 1);
    QCOMPARE(after.size(), 5);
    QCOMPARE(after[kept[0]], QByteArray("earlier Back_out.bmp"));
    QVERIFY2(r.err.contains(dir + "/Sprites_out.bmp: The project could not be saved: Input/output error; the old " +
                            dir + "/Back_out.bmp could not be put back (Input/output error) and is kept as " + dir +
                            "/" + kept[0]),
             qPrintable(r.err));
    for (const char* name : {"Masks_out.bmp", "Sprites_out.bmp", "out.QV1"})
      QCOMPARE(after[name], "earlier " + QByteArray(name));
  }
};

QTEST_GUILESS_MAIN(TestSaveFaults)
#include "test_savefaults.moc"
