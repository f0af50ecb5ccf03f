// quorvel-cli as a user runs it: play, dump, render and resave of the demo
// project against golden files, every example project loaded, rendered and
// played, and the exit code and message of every kind of bad argument or
// file. QUORVEL_UPDATE_GOLDEN=1 rewrites the golden files.
#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

#include "support/Fixtures.h"

using qv::fixtures::readFile;
using qv::fixtures::writeFile;

namespace {

const QString Golden = QStringLiteral(QUORVEL_GOLDEN_DIR);
bool updating() { return qEnvironmentVariableIntValue("QUORVEL_UPDATE_GOLDEN") == 1; }

qv::fixtures::Ran cli(const QStringList& args) {
  QProcess p;
  p.start(qEnvironmentVariable("QUORVEL_CLI"), args);
  return qv::fixtures::finish(p, 90'000);
}

}  // namespace

class TestCli : public QObject {
  Q_OBJECT

  QTemporaryDir tmp;
  QString demoDir = QDir::cleanPath(qEnvironmentVariable("QUORVEL_EXAMPLES") + "/demo");
  QString demo = demoDir + "/demo.QV1";

  // The output compared with a golden text file; the example's folder, which
  // depends on the checkout, is written as <demo>.
  void compareText(QByteArray text, const QString& golden) {
    text.replace(demoDir.toUtf8(), "<demo>");
    if (updating()) QVERIFY(writeFile(Golden + "/" + golden, text));
    QCOMPARE(QString::fromUtf8(text), QString::fromUtf8(readFile(Golden + "/" + golden)));
  }

 private slots:
  void initTestCase() {
    QVERIFY2(QFileInfo(qEnvironmentVariable("QUORVEL_CLI")).isExecutable(), "QUORVEL_CLI names no program");
    const QByteArray text = readFile(demo);
    QVERIFY(!text.isEmpty() && writeFile(tmp.filePath("x.Q"), text) && writeFile(tmp.filePath("cut.QV1"), text.left(text.size() / 2)));
    QVERIFY(writeFile(tmp.filePath("junk.QV1"), QByteArray(3000, '\x9c')));
  }

  void demoMatchesGolden() {
    // The Star (slot 4) is hovered in frame 5 and clicked in frame 6: its
    // Value counts up and its Writing box opens; the movers run 40 frames.
    const QString state = tmp.filePath("state.json"), frames = tmp.filePath("frames");
    QCOMPARE(cli({"play", demo, "--frames", "40", "--input", "5:move:60,400", "--input", "6:click:60,400", "--png-dir",
                  frames, "--state-out", state}).code, 0);
    compareText(readFile(state), "demo.play.json");
    QCOMPARE(QDir(frames).entryList({"*.png"}, QDir::Files).size(), 40);
    QCOMPARE(QImage(frames + "/frame_00040.png").size(), QSize(800, 600));
    // The dump after the play: play leaves the project's files as they were.
    const qv::fixtures::Ran dump = cli({"dump", demo});
    QVERIFY2(dump.code == 0 && dump.err.isEmpty(), dump.err.constData());
    compareText(dump.out, "demo.dump.json");

    const QString png = tmp.filePath("board.png");
    QCOMPARE(cli({"render", demo, "--out", png, "--board", "320x240"}).code, 0);
    const QImage got = QImage(png).convertToFormat(QImage::Format_RGB32);
    if (updating()) QVERIFY(got.save(Golden + "/demo.render.png"));
    QCOMPARE(got, QImage(Golden + "/demo.render.png").convertToFormat(QImage::Format_RGB32));

    // A resave writes the same pictures and, but for the Background's
    // path, the same project.
    QCOMPARE(cli({"resave", demo, tmp.filePath("copy.QV1")}).code, 0);
    for (const QString prefix : {"Back_", "Sprites_", "Masks_"})
      QCOMPARE(QImage(tmp.filePath(prefix + "copy.bmp")), QImage(demoDir + "/" + prefix + "demo.bmp"));
    QCOMPARE(cli({"dump", tmp.filePath("copy.QV1")}).out.replace((tmp.path() + "/Back_copy").toUtf8(), (demoDir + "/Back_demo").toUtf8()),
             dump.out);
  }

  // Each example renders, and plays as its golden state file shows.
  void examplesPlay_data() {
    QTest::addColumn<QStringList>("inputs");
    QTest::newRow("aquarium") << QStringList{};
    QTest::newRow("bouncelab") << QStringList{};
    // Three clicks count the rocket down to 0: the smoke shows and it lifts
    // off; one click on Jupiter shows the tick.
    QTest::newRow("quizboard") << QStringList{"1:move:675,480", "2:click:675,480", "4:click:675,480", "6:click:675,480",
                                              "7:move:300,250", "8:click:300,250"};
  }

  void examplesPlay() {
    QFETCH(QStringList, inputs);
    const QString name = QTest::currentDataTag();
    const QString project = QDir::cleanPath(qEnvironmentVariable("QUORVEL_EXAMPLES") + "/" + name + "/" + name + ".QV1");
    QCOMPARE(cli({"render", project, "--out", tmp.filePath(name + ".png")}).code, 0);
    QStringList args{"play", project, "--frames", "40", "--state-out", tmp.filePath(name + ".json")};
    for (const QString& in : inputs) args << "--input" << in;
    const qv::fixtures::Ran r = cli(args);
    QVERIFY2(r.code == 0 && r.err.isEmpty(), r.err.constData());
    compareText(readFile(tmp.filePath(name + ".json")), name + ".play.json");
  }

  void badInputIsAnExitCodeAndAMessage_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("says");
    const QStringList render{"render", demo, "--out", "never.png", "--board"}, play{"play", demo, "--frames", "3", "--input"};
    QTest::newRow("no command") << QStringList{} << 2 << "usage";
    QTest::newRow("unknown command") << QStringList{"frobnicate"} << 2 << "unknown command";
    QTest::newRow("no file") << QStringList{"dump"} << 2 << "1 file name";
    QTest::newRow("unknown option") << QStringList{"render", demo, "--colour", "red"} << 2 << "colour";
    QTest::newRow("no --out") << QStringList{"render", demo} << 2 << "--out";
    QTest::newRow("board text") << render + QStringList{"800by600"} << 2 << "--board";
    QTest::newRow("board huge") << render + QStringList{"16384x16384"} << 2 << "--board";
    QTest::newRow("no frames") << QStringList{"play", demo} << 2 << "--frames";
    QTest::newRow("bad input") << play + QStringList{"3:jump:1,2"} << 2 << "--input";
    QTest::newRow("input frame too big") << play + QStringList{"99999999999:move:1,1"} << 2 << "--input";
    QTest::newRow("input off the Board") << play + QStringList{"1:move:40000,1"} << 2 << "--input";
    QTest::newRow("missing") << QStringList{"dump", tmp.filePath("missing.QV1")} << 1 << "missing.QV1";
    QTest::newRow("junk") << QStringList{"dump", tmp.filePath("junk.QV1")} << 1 << "junk.QV1";
    QTest::newRow("short name") << QStringList{"dump", tmp.filePath("x.Q")} << 1 << "too short";
    QTest::newRow("resave short") << QStringList{"resave", demo, tmp.filePath("ab")} << 1 << "too short";
    QTest::newRow("resave nowhere") << QStringList{"resave", demo, tmp.filePath("none/copy.QV1")} << 1 << "Back_copy.bmp";
    QTest::newRow("damaged") << QStringList{"dump", tmp.filePath("cut.QV1")} << 3 << "damaged";
    QTest::newRow("export no --html") << QStringList{"export", demo} << 2 << "--html";
    QTest::newRow("export nowhere") << QStringList{"export", demo, "--html", tmp.filePath("none/p.html")} << 1 << "p.html";
  }

  void badInputIsAnExitCodeAndAMessage() {
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QFETCH(QString, says);
    const qv::fixtures::Ran r = cli(args);
    QCOMPARE(r.code, code);
    QVERIFY2(r.err.contains(says.toUtf8()), r.err.constData());
    if (code != 3) QVERIFY2(r.out.isEmpty(), r.out.constData());
    QVERIFY(!QFileInfo::exists("never.png") && !QFileInfo::exists(tmp.filePath("ab")));
  }
};

QTEST_GUILESS_MAIN(TestCli)
#include "test_cli.moc"
