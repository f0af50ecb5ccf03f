// quorvel-cli as a user runs it: dump, play and render of the demo project
// against golden files, every example project loaded, rendered and played,
// and the exit code and message of every kind of bad argument or file. QUORVEL_UPDATE_GOLDEN=1 rewrites the golden files.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "support/Fixtures.h"

using qv::fixtures::readFile;
using qv::fixtures::writeFile;

namespace {

struct Run {
  int code = -1;
  QByteArray out, err;
};

Run cli(const QStringList& args) {
  QProcess p;
  p.start(qEnvironmentVariable("QUORVEL_CLI"), args);
  Run r;
  if (!p.waitForFinished(90'000)) {
    p.kill();
    p.waitForFinished();
    return r;
  }
  r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  r.out = p.readAllStandardOutput();
  r.err = p.readAllStandardError();
  return r;
}

const QString Golden = QStringLiteral(QUORVEL_GOLDEN_DIR);
bool updating() { return qEnvironmentVariableIntValue("QUORVEL_UPDATE_GOLDEN") == 1; }

}  // namespace

class TestCli : public QObject {
  Q_OBJECT

  QTemporaryDir tmp;
  QString demoDir = QDir::cleanPath(qEnvironmentVariable("QUORVEL_EXAMPLES") + "/demo");
  QString demo = demoDir + "/demo.QV1";

  // The output compared with a golden text file; the example's folder, which
  // depends on the checkout, is written as <demo>.
  void compareText(const QByteArray& got, const QString& golden) {
    QByteArray text = got;
    text.replace(demoDir.toUtf8(), "<demo>");
    if (updating()) QVERIFY(writeFile(Golden + "/" + golden, text));
    QCOMPARE(QString::fromUtf8(text), QString::fromUtf8(readFile(Golden + "/" + golden)));
  }

 private slots:
  void initTestCase() {
    QVERIFY2(QFileInfo(qEnvironmentVariable("QUORVEL_CLI")).isExecutable(), "QUORVEL_CLI names no program");
    QVERIFY(QFileInfo::exists(demo));
  }

  void dumpMatchesGolden() {
    const Run r = cli({"dump", demo});
    QCOMPARE(r.code, 0);
    QVERIFY2(r.err.isEmpty(), r.err.constData());
    compareText(r.out, "demo.dump.json");
  }

  void playMatchesGolden() {
    // The Star (slot 4) is hovered in frame 5 and clicked in frame 6: its
    // Value counts up and its Writing box opens; the movers run 40 frames.
    const QString state = tmp.filePath("state.json"), frames = tmp.filePath("frames");
    const Run r = cli({"play", demo, "--frames", "40", "--input", "5:move:60,400", "--input", "6:click:60,400",
                       "--png-dir", frames, "--state-out", state});
    QCOMPARE(r.code, 0);
    compareText(readFile(state), "demo.play.json");
    QCOMPARE(QDir(frames).entryList({"*.png"}, QDir::Files).size(), 40);
    // The last frame shows the movers where the state puts them.
    QCOMPARE(QImage(frames + "/frame_00040.png").size(), QSize(800, 600));
    // Play leaves the project's files as they were.
    QCOMPARE(cli({"dump", demo}).out, cli({"dump", demo}).out);
  }

  void renderMatchesGolden() {
    const QString png = tmp.filePath("board.png");
    QCOMPARE(cli({"render", demo, "--out", png, "--board", "320x240"}).code, 0);
    const QImage got = QImage(png).convertToFormat(QImage::Format_RGB32);
    if (updating()) QVERIFY(got.save(Golden + "/demo.render.png"));
    QCOMPARE(got, QImage(Golden + "/demo.render.png").convertToFormat(QImage::Format_RGB32));
  }

  void resaveKeepsTheProject() {
    const QString out = tmp.filePath("copy.QV1");
    QCOMPARE(cli({"resave", demo, out}).code, 0);
    for (const char* prefix : {"Back_", "Sprites_", "Masks_"})
      QCOMPARE(QImage(tmp.filePath(QString(prefix) + "copy.bmp")),
               QImage(demoDir + "/" + prefix + "demo.bmp"));
    QCOMPARE(cli({"dump", out}).out.replace((tmp.path() + "/Back_copy").toUtf8(), (demoDir + "/Back_demo").toUtf8()),
             cli({"dump", demo}).out);
  }

  // Each example renders and plays: the named Panes have left their place,
  // turned (a wall, a rebound), or been revealed by the clicks; a Pane not
  // named as revealed stays hidden.
  void examplesPlay_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("inputs");
    QTest::addColumn<QStringList>("moved");
    QTest::addColumn<QStringList>("turned");
    QTest::addColumn<QStringList>("revealed");
    QTest::newRow("aquarium") << "aquarium" << QStringList{}
                              << QStringList{"Tetras", "Clownfish", "Crab", "Jellyfish", "Bubbles 1"}
                              << QStringList{"Tang"} << QStringList{};
    QTest::newRow("bouncelab") << "bouncelab" << QStringList{} << QStringList{"Red ball", "Spinner"}
                               << QStringList{"Gold ball", "Arrow ship"} << QStringList{};
    // Three clicks count the rocket down to 0: the smoke shows and it lifts
    // off; one click on Jupiter shows the tick.
    QTest::newRow("quizboard") << "quizboard"
                               << QStringList{"1:move:675,480", "2:click:675,480", "4:click:675,480", "6:click:675,480",
                                              "7:move:300,250", "8:click:300,250"}
                               << QStringList{"Rocket"} << QStringList{} << QStringList{"Smoke", "Jupiter tick"};
  }

  void examplesPlay() {
    QFETCH(QString, name);
    QFETCH(QStringList, inputs);
    QFETCH(QStringList, moved);
    QFETCH(QStringList, turned);
    QFETCH(QStringList, revealed);
    const QString project = QDir::cleanPath(qEnvironmentVariable("QUORVEL_EXAMPLES") + "/" + name + "/" + name + ".QV1");
    QCOMPARE(cli({"render", project, "--out", tmp.filePath(name + ".png")}).code, 0);
    QStringList args{"play", project, "--frames", "40", "--state-out", tmp.filePath(name + ".json")};
    for (const QString& in : inputs) args << "--input" << in;
    const Run r = cli(args);
    QCOMPARE(r.code, 0);
    QVERIFY2(r.err.isEmpty(), r.err.constData());
    const QJsonArray design = QJsonDocument::fromJson(cli({"dump", project}).out)["Panes"].toArray();
    const QJsonArray run = QJsonDocument::fromJson(readFile(tmp.filePath(name + ".json")))["Panes"].toArray();
    QCOMPARE(run.size(), design.size());
    for (qsizetype i = 0; i < run.size(); ++i) {
      const QJsonObject d = design[i].toObject(), p = run[i].toObject();
      const QString label = d["Label"].toString();
      if (moved.contains(label)) QVERIFY2(p["Left"] != d["Left"] || p["Top"] != d["Top"], qPrintable(label));
      if (turned.contains(label)) QVERIFY2(p["Direction"] != d["Direction"], qPrintable(label));
      if (!d["Visible"].toBool()) QCOMPARE(p["Visible"].toBool(), revealed.contains(label));
    }
  }

  void badInputIsAnExitCodeAndAMessage_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("says");
    const QString png = "never.png";
    QTest::newRow("no command") << QStringList{} << 2 << "usage";
    QTest::newRow("unknown command") << QStringList{"frobnicate"} << 2 << "unknown command";
    QTest::newRow("no file") << QStringList{"dump"} << 2 << "1 file name";
    QTest::newRow("unknown option") << QStringList{"render", demo, "--colour", "red"} << 2 << "colour";
    QTest::newRow("no --out") << QStringList{"render", demo} << 2 << "--out";
    QTest::newRow("board text") << QStringList{"render", demo, "--out", png, "--board", "800by600"} << 2 << "--board";
    QTest::newRow("board huge") << QStringList{"render", demo, "--out", png, "--board", "16384x16384"} << 2 << "--board";
    QTest::newRow("no frames") << QStringList{"play", demo} << 2 << "--frames";
    QTest::newRow("bad input") << QStringList{"play", demo, "--frames", "3", "--input", "3:jump:1,2"} << 2 << "--input";
    QTest::newRow("input frame too big")
        << QStringList{"play", demo, "--frames", "3", "--input", "99999999999:move:1,1"} << 2 << "--input";
    QTest::newRow("input off the Board")
        << QStringList{"play", demo, "--frames", "3", "--input", "1:move:40000,1"} << 2 << "--input";
    QTest::newRow("missing") << QStringList{"dump", tmp.filePath("missing.QV1")} << 1 << "missing.QV1";
    QTest::newRow("junk") << QStringList{"dump", tmp.filePath("junk.QV1")} << 1 << "junk.QV1";
    QTest::newRow("short name") << QStringList{"dump", tmp.filePath("x.Q")} << 1 << "too short";
    QTest::newRow("resave short") << QStringList{"resave", demo, tmp.filePath("ab")} << 1 << "too short";
    QTest::newRow("resave nowhere") << QStringList{"resave", demo, tmp.filePath("none/copy.QV1")} << 1
                                    << "Back_copy.bmp";
    QTest::newRow("damaged") << QStringList{"dump", tmp.filePath("cut.QV1")} << 3 << "damaged";
  }

  void badInputIsAnExitCodeAndAMessage() {
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QFETCH(QString, says);
    QVERIFY(writeFile(tmp.filePath("junk.QV1"), QByteArray(3000, '\x9c')));
    QVERIFY(writeFile(tmp.filePath("x.Q"), readFile(demo)));
    const QByteArray text = readFile(demo);
    QVERIFY(writeFile(tmp.filePath("cut.QV1"), text.left(text.size() / 2)));
    const Run r = cli(args);
    QCOMPARE(r.code, code);
    QVERIFY2(r.err.contains(says.toUtf8()), r.err.constData());
    if (code != 3) QVERIFY2(r.out.isEmpty(), r.out.constData());
    QVERIFY(!QFileInfo::exists("never.png") && !QFileInfo::exists(tmp.filePath("ab")));
  }
};

QTEST_GUILESS_MAIN(TestCli)
#include "test_cli.moc"
