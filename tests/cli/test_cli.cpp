// quorvel-cli as a user runs it: play, dump, render and resave of the demo
// project against golden files, every example project loaded, rendered and
// played, own sounds set, saved and loaded, and the exit code and message of
// every kind of bad argument or file. QUORVEL_UPDATE_GOLDEN=1 rewrites the
// golden files.
#include "support/Fixtures.h"

using namespace qv;

namespace {

const QString Golden = QStringLiteral(QUORVEL_GOLDEN_DIR);
bool updating() { return qEnvironmentVariableIntValue("QUORVEL_UPDATE_GOLDEN") == 1; }

// A resource module whose bitmaps 100..103 are one 16384 x 2441 1-bit
// picture (5 MB): one section of resources at file offset 0x200, a tree of
// type 2, four ids sharing one language directory, one data entry.
QByteArray hugeBitmapModule() {
  constexpr int W = 16384, H = 2441, Dib = 40 + 8 + W / 8 * H, Tree = 112;
  QByteArray m(0x200 + Tree + Dib, '\0');
  const auto put = [&](int at, quint32 v, int width = 4) { putLE(m, at, v, width); };
  m[0] = 'M', m[1] = 'Z', put(0x3c, 0x40), put(0x40, 0x4550), put(0x46, 1, 2), put(0x54, 224, 2);
  // The resource area is the tree alone, which it fills exactly; the data
  // lies after it in the section.
  put(0x58, 0x10b, 2), put(0x58 + 92, 16), put(0x58 + 112, 0x1000), put(0x58 + 116, Tree);
  put(0x138 + 8, Tree + Dib), put(0x138 + 12, 0x1000), put(0x138 + 16, Tree + Dib), put(0x138 + 20, 0x200);
  const int r = 0x200;
  put(r + 14, 1, 2), put(r + 16, 2), put(r + 20, 0x80000000u | 24);  // types: bitmaps
  put(r + 24 + 14, 4, 2);                                            // ids 100..103
  for (int i = 0; i < 4; ++i) put(r + 40 + 8 * i, 100 + i), put(r + 44 + 8 * i, 0x80000000u | 72);
  put(r + 72 + 14, 1, 2), put(r + 88, 0x409), put(r + 92, 96);  // one language
  put(r + 96, 0x1000 + Tree), put(r + 100, Dib);                 // the data
  put(r + Tree, 40), put(r + Tree + 4, W), put(r + Tree + 8, H), put(r + Tree + 12, 1, 2), put(r + Tree + 14, 1, 2);
  return m;
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
    QCOMPARE(runCli({"resave", demo, tmp.filePath("setme.QV1")}).code, 0);
  }

  void demoMatchesGolden() {
    // The Star (slot 4) is hovered in frame 5 and clicked in frame 6: its
    // Value counts up and its Writing box opens; the movers run 40 frames.
    const QString state = tmp.filePath("state.json"), frames = tmp.filePath("frames");
    QCOMPARE(runCli({"play", demo, "--frames", "40", "--input", "5:move:60,400", "--input", "6:click:60,400", "--png-dir",
                  frames, "--state-out", state}).code, 0);
    compareText(readFile(state), "demo.play.json");
    // (The frames --png-dir writes are web.player's, frame for frame.)
    // The dump after the play: play leaves the project's files as they were.
    const Ran dump = runCli({"dump", demo});
    QVERIFY2(dump.code == 0 && dump.err.isEmpty(), dump.err.constData());
    compareText(dump.out, "demo.dump.json");

    const QString png = tmp.filePath("board.png");
    QCOMPARE(runCli({"render", demo, "--out", png, "--board", "320x240"}).code, 0);
    const QImage got = QImage(png).convertToFormat(QImage::Format_RGB32);
    if (updating()) QVERIFY(got.save(Golden + "/demo.render.png"));
    QCOMPARE(got, QImage(Golden + "/demo.render.png").convertToFormat(QImage::Format_RGB32));
    // (What a resave writes: the project command tests and examples.regenerate.)
  }

  // Each example renders, and plays as its golden state file shows.
  void examplesPlay_data() {
    QTest::addColumn<QStringList>("inputs");
    QTest::newRow("aquarium") << QStringList{};
    QTest::newRow("bouncelab") << QStringList{};
    // Three clicks count the rocket up to 4: the smoke shows and it lifts
    // off; one click on Jupiter shows the tick.
    QTest::newRow("quizboard") << QStringList{"1:move:675,480", "2:click:675,480", "4:click:675,480", "6:click:675,480",
                                              "7:move:300,250", "8:click:300,250"};
  }

  void examplesPlay() {
    QFETCH(QStringList, inputs);
    const QString name = QTest::currentDataTag();
    const QString project = QDir::cleanPath(qEnvironmentVariable("QUORVEL_EXAMPLES") + "/" + name + "/" + name + ".QV1");
    QCOMPARE(runCli({"render", project, "--out", tmp.filePath(name + ".png")}).code, 0);
    QStringList args{"play", project, "--frames", "40", "--state-out", tmp.filePath(name + ".json")};
    for (const QString& in : inputs) args << "--input" << in;
    const Ran r = runCli(args);
    QVERIFY2(r.code == 0 && r.err.isEmpty(), r.err.constData());
    compareText(readFile(tmp.filePath(name + ".json")), name + ".play.json");
  }

  // The quiz's claim on its own: the rocket lifts off, its smoke showing,
  // after the third click and not after the second.
  void quizRocketLiftsOffAfterThreeClicks() {
    const QString quiz = qEnvironmentVariable("QUORVEL_EXAMPLES") + "/quizboard/quizboard.QV1";
    for (const int clicks : {2, 3}) {
      QStringList args{"play", quiz, "--frames", "40", "--state-out", tmp.filePath("rocket.json"), "--input", "1:move:675,480"};
      for (int c = 0; c < clicks; ++c) args << "--input" << QString("%1:click:675,480").arg(2 + 2 * c);
      QCOMPARE(runCli(args).code, 0);
      const QJsonArray panes = QJsonDocument::fromJson(readFile(tmp.filePath("rocket.json")))["Panes"].toArray();
      QVERIFY(panes[6]["Label"] == "Smoke" && panes[7]["Label"] == "Rocket");
      QCOMPARE(QList<bool>({panes[7]["Top"].toInt() < 432, panes[6]["Visible"].toBool()}), QList<bool>({clicks == 3, clicks == 3}));
    }
  }

  void badInputIsAnExitCodeAndAMessage_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("says");
    // One row a line in data/bad-input.txt: "name | code | words | arguments".
    for (const QStringList& f : fieldRows(QFINDTESTDATA("data/bad-input.txt"), 39))
      QTest::newRow(qPrintable(f[0])) << QString(f.value(3)).replace("<demo>", demo).replace("<tmp>", tmp.path()).split(' ', Qt::SkipEmptyParts)
                                      << f[1].toInt() << f[2];
  }

  void badInputIsAnExitCodeAndAMessage() {
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QFETCH(QString, says);
    const Ran r = runCli(args);
    QCOMPARE(r.code, code);
    QVERIFY2(r.err.contains(says.toUtf8()), r.err.constData());
    if (code != 3) QVERIFY2(r.out.isEmpty(), r.out.constData());
    QVERIFY(!QFileInfo::exists("never.png") && !QFileInfo::exists(tmp.filePath("ab")));
    QVERIFY(QDir(tmp.path()).entryList({".*", "out.*", "*.jpg"}, QDir::Files | QDir::Hidden).isEmpty());
  }

  // A sound file set on a Pane: dump lists the own sound with its file, name,
  // length and format; Sound=NAME gives a second Pane the same one, and a
  // Picture its picture; a resave writes it under the new name. A project
  // whose sound file is gone loads with a warning, the Pane's number kept.
  void ownSoundsSetSavedAndLoaded() {
    const QString project = tmp.filePath("snd.QV1"), moved = tmp.filePath("moved.QV1");
    QVERIFY(writeFile(tmp.filePath("bell.wav"), qv::fixtures::toneWave(22050, 2, 500, 440)));
    QCOMPARE(runCli({"resave", demo, project}).code, 0);
    QCOMPARE(runCli({"set", project, "--pane", "1", "Sound=" + tmp.filePath("bell.wav")}).code, 0);
    const QString gif = qEnvironmentVariable("QUORVEL_PICTURE_SEEDS") + "/animation.gif";
    QCOMPARE(runCli({"set", project, "--pane", "2", "Sound=bell", "Picture=" + gif}).code, 0);
    QCOMPARE(runCli({"resave", project, moved}).code, 0);
    QVERIFY(!QFileInfo::exists(tmp.filePath("Sound_moved_1001.wav")));
    QJsonDocument dump = QJsonDocument::fromJson(runCli({"dump", moved}).out);
    const QJsonObject sound{{"Sound", 1000}, {"File", "Sound_moved_1000.wav"}, {"Name", "bell"}, {"Seconds", 0.5},
                            {"Format", "PCM 16-bit, 44100 Hz, 2 channels"}};
    QCOMPARE(dump["Sounds"].toArray(), QJsonArray{sound});
    QCOMPARE(QList<int>({dump["Panes"][0]["Sound"].toInt(), dump["Panes"][1]["Sound"].toInt(), dump["Panes"][1]["CelCount"].toInt()}),
             QList<int>({1000, 1000, 4}));
    QVERIFY(QFile::remove(tmp.filePath("Sound_moved_1000.wav")));
    const Ran lost = runCli({"dump", moved});
    dump = QJsonDocument::fromJson(lost.out);
    QVERIFY2(lost.code == 3 && lost.err.contains("Sound_moved_1000.wav: The sound was not used"), lost.err.constData());
    QVERIFY(dump["Sounds"].isUndefined() && dump["Panes"][0]["Sound"] == 1000);
  }

  // An animated GIF of four frames (delays 100, 200, 300 and 400 ms) dropped
  // on free Board space becomes a new Pane of 2 x 2 Cels of 10 x 10, held
  // for 250 ms (8 frames) each, that play shows in order: red with a
  // transparent corner, green, blue, red over green, and again.
  void droppedAnimationPlaysItsCels() {
    const QString out = tmp.filePath("anim.QV1"), frames = tmp.filePath("frames");
    const QString gif = qEnvironmentVariable("QUORVEL_PICTURE_SEEDS") + "/animation.gif";
    Ran r = runCli({"drop", demo, out, "--picture", gif, "--at", "700,60"});
    QVERIFY2(r.code == 0, r.err.constData());
    r = runCli({"dump", out});
    const QJsonObject pane = QJsonDocument::fromJson(r.out)["Panes"].toArray().last().toObject();
    QCOMPARE(QPoint(pane["Left"].toInt(), pane["Top"].toInt()), QPoint(695, 55));  // its first Cel centred
    QVERIFY(QDir().mkpath(frames));
    r = runCli({"play", out, "--frames", "40", "--png-dir", frames});
    QVERIFY2(r.code == 0, r.err.constData());
    // Frame f shows Cel (f + 6) / 8 of the four (each held 8 frames after the
    // first frame's), seen by two of its pixels (top half, bottom half); the
    // corner is transparent in the first Cel only.
    const QRgb red = qRgb(255, 0, 0), green = qRgb(0, 255, 0), blue = qRgb(0, 0, 255);
    const QList<std::pair<QRgb, QRgb>> cycle{{red, red}, {green, green}, {blue, blue}, {red, green}};
    for (int f = 1; f <= 40; ++f) {
      const QImage board(QDir(frames).filePath(QString("frame_%1.png").arg(f, 5, 10, QChar('0'))));
      const int cel = (f + 6) / 8 % 4;
      QCOMPARE((std::pair<QRgb, QRgb>{board.pixel(700, 57) | 0xFF000000, board.pixel(700, 62) | 0xFF000000}), cycle[cel]);
      QCOMPARE(board.pixel(695, 55) == board.pixel(700, 57), cel != 0);
    }
  }

  // Listing reads names and sizes, not pictures: four bitmaps of 160 MB
  // each when decoded, are listed within 200 MB of address space.
  void libraryDecodesOnlyWhatIsAskedFor() {
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath("qv_1.dll"), hugeBitmapModule()));
#ifdef __SANITIZE_ADDRESS__
    const QString limit;  // the sanitizer's shadow memory takes terabytes of address space
#else
    const QString limit = "ulimit -v 200000; ";
#endif
    QProcess p;
    p.start("sh", {"-c", limit + "exec \"$0\" library \"$1\"", qEnvironmentVariable("QUORVEL_CLI"), dir.path()});
    const Ran r = finish(p);
    QCOMPARE(r.code, 3);  // the module has no library number
    const QJsonArray bitmaps = QJsonDocument::fromJson(r.out)["Modules"][0]["Bitmaps"].toArray();
    QCOMPARE(bitmaps.size(), 4);
    for (const QJsonValue b : bitmaps) QVERIFY2(b["Width"] == 16384 && b["Height"] == 2441, r.out.constData());
  }

  // The suffix in any case names a project; a name as long as a file name
  // may be saves like any other; .bmp writes a bitmap. A read-only project
  // file is not replaced: the question it asks is answered No.
  void namesAreUsedAsGiven() {
    QTemporaryDir dir;
    const QString longest = QString(243, 'n') + ".QV1";  // Sprites_NAME.bmp: 255 bytes, the most a name may have
    QCOMPARE(runCli({"resave", demo, dir.filePath(longest)}).code, 0);
    QCOMPARE(runCli({"resave", demo, dir.filePath("lower.qv1")}).code, 0);
    QCOMPARE(runCli({"render", dir.filePath("lower.qv1"), "--out", dir.filePath("b.BMP")}).code, 0);
    QCOMPARE(readFile(dir.filePath("b.BMP")).left(2), QByteArray("BM"));
    QVERIFY(QFileInfo::exists(dir.filePath("Sprites_" + longest.chopped(4) + ".bmp")) && QFileInfo::exists(dir.filePath("lower.QV1")));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 9);
    QVERIFY(QFile::setPermissions(dir.filePath("lower.QV1"), QFile::ReadOwner));
    const QByteArray before = readFile(dir.filePath("lower.QV1"));
    const Ran r = runCli({"resave", demo, dir.filePath("lower.qv1")});
    QVERIFY2(r.code == 1 && r.err.contains("lower.QV1: The file is read-only") && readFile(dir.filePath("lower.QV1")) == before,
             r.err.constData());
  }
};

QTEST_GUILESS_MAIN(TestCli)
#include "test_cli.moc"
