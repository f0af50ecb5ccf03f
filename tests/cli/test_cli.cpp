// quorvel-cli as a user runs it: options and errors, dump, render, resave
// and play on a project saved by the engine, and the committed example.
#include "editing/Panes.h"
#include "project/ProjectCommands.h"
#include "support/FakePlatform.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace qv;

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

QByteArray bytesOf(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QJsonObject jsonOf(const QByteArray& bytes) { return QJsonDocument::fromJson(bytes).object(); }

QJsonObject paneOf(const QJsonObject& doc, int slot) {
  for (const auto& v : doc["Panes"].toArray())
    if (v.toObject()["Slot"].toInt() == slot) return v.toObject();
  return {};
}

QStringList pngsIn(const QString& dir) { return QDir(dir).entryList({"*.png"}, QDir::Files, QDir::Name); }

const QRgb Red = qRgb(220, 0, 0), Green = qRgb(0, 200, 0), Blue = qRgb(0, 0, 230);
const Long BoardColour = RGB(10, 20, 30);
const QRgb Back = toQRgb(BoardColour);

// Saves dir/demo.QV1: slot 1 red at (600, 50), moving right at 10 pixels a
// frame; slot 2 green at (100, 300), counting up from 20 when clicked; slot 3
// blue at (-30, -20). All 100 x 100 on a plain Board.
QString makeProject(const QString& dir) {
  TestBench bench;
  Workspace& ws = bench.ws;
  for (int i = 0; i < 3; ++i) AddPane(ws);
  PaneRecord &mover = ws.PaneTable[1], &counter = ws.PaneTable[2], &corner = ws.PaneTable[3];
  mover.Left = 600;
  mover.Top = 50;
  mover.MoveType = mover.Direction = 2;  // the Pane dialog sets Direction = MoveType
  mover.Speed = 10;
  mover.Label = "Mover";
  counter.Left = 100;
  counter.Top = 300;
  counter.Process = counter.ProcessAmount = 1;
  counter.StartValue = 20;
  counter.Label = "Counter";
  corner.Left = -30;
  corner.Top = -20;
  corner.Collision = 0;
  const std::pair<int, QRgb> colours[] = {{1, Red}, {2, Green}, {3, Blue}};
  for (auto [slot, colour] : colours) {
    const PaneRecord& p = ws.PaneTable[size_t(slot)];
    for (int y = p.SheetY; y < p.SheetY + p.Height; ++y)
      for (int x = p.SheetX; x < p.SheetX + p.Width; ++x) ws.picSprites.Image().setPixel(x, y, colour);
  }
  ws.picSprites.TakeImageAsPicture();
  ws.BoardSettings.BoardBackColor = BoardColour;
  ws.BoardSettings.LabelColor = RGB(255, 255, 0);
  const QString path = QDir(dir).filePath("demo.QV1");
  bench.platform.fileAnswers.enqueue(fileChoiceFromPath(path));
  SaveProject(ws);
  return path;
}

}  // namespace

class TestCli : public QObject {
  Q_OBJECT

  QTemporaryDir tmp;
  QString project;

  QByteArray projectBytes() {
    QByteArray all;
    for (const char* f : {"demo.QV1", "Back_demo.bmp", "Sprites_demo.bmp", "Masks_demo.bmp"})
      all += bytesOf(tmp.filePath(f));
    return all;
  }

 private slots:
  void initTestCase() {
    QVERIFY2(QFileInfo(qEnvironmentVariable("QUORVEL_CLI")).isExecutable(), "QUORVEL_CLI names no program");
    project = makeProject(tmp.path());
    QVERIFY(QFileInfo::exists(project));
  }

  void optionsAndErrors() {
    for (const QStringList& args : {QStringList{"--help"}, {"dump", "--help"}, {"play", "--help"}}) {
      const Run r = cli(args);
      QCOMPARE(r.code, 0);
      QVERIFY(r.out.contains("usage"));
    }
    const Run version = cli({"--version"});
    QVERIFY(version.code == 0 && version.out.startsWith("quorvel-cli"));
    const QString png = tmp.filePath("never.png");
    QVERIFY(QFile::copy(project, tmp.filePath("x.Q")));  // a title too short to name a project
    QFile junk(tmp.filePath("junk.QV1"));
    QVERIFY(junk.open(QIODevice::WriteOnly) && junk.write(QByteArray(3000, '\x9c')) == 3000);
    junk.close();
    const struct { QStringList args; const char* says; } bad[] = {
        {{}, "usage"}, {{"frobnicate"}, "unknown command"}, {{"dump"}, "one project file"},
        {{"dump", tmp.filePath("missing.QV1")}, "missing.QV1"}, {{"dump", tmp.path()}, "no such project file"},
        {{"dump", tmp.filePath("x.Q")}, "too short"}, {{"dump", junk.fileName()}, "junk.QV1"},
        {{"render", project, "--out", png, "--board", "800by600"}, "--board"},
        {{"render", project, "--out", png, "--board", "0x600"}, "--board"},
        {{"render", project, "--out", png, "--board", "16384x16384"}, "--board"},
        {{"render", project}, "--out"}, {{"render", project, "--colour", "red"}, "unknown option"},
        {{"play", project}, "--frames"}, {{"play", project, "--frames", "-3"}, "--frames"},
        {{"play", project, "--frames", "3", "--input", "3:jump:1,2"}, "--input"},
        {{"resave", project}, "resave"}, {{"resave", project, tmp.filePath("ab")}, "too short"},
    };
    for (const auto& b : bad) {
      const Run r = cli(b.args);
      const QString what = b.args.join(' ');
      QVERIFY2(r.code > 0, qPrintable(what));
      QVERIFY2(r.err.contains(b.says), qPrintable(what + " said: " + r.err));
      QVERIFY2(r.out.isEmpty(), qPrintable(what));
    }
    QVERIFY(!QFileInfo::exists(png));
    QVERIFY(!QFileInfo::exists(tmp.filePath("ab")));
  }

  void dumpShowsEveryField() {
    const Run r = cli({"dump", project});
    QCOMPARE(r.code, 0);
    QVERIFY2(r.err.isEmpty(), r.err.constData());
    const QJsonObject doc = jsonOf(r.out);
    QCOMPARE(doc["PaneCount"].toInt(), 3);
    // Every field as the engine loads it.
    TestBench bench;
    bench.platform.fileAnswers.enqueue(fileChoiceFromPath(project));
    QVERIFY(LoadProject(bench.ws));
    const QJsonArray panes = doc["Panes"].toArray();
    QCOMPARE(panes.size(), 3);
    for (int i = 0; i < 3; ++i) {
      const QJsonObject o = panes[i].toObject();
      QCOMPARE(o["Slot"].toInt(), i + 1);
      QCOMPARE(o.size(), 61);
      PaneRecord& p = bench.ws.PaneTable[size_t(i + 1)];
      for (const PaneField& f : PaneFields()) {
        const QJsonValue v = o[QLatin1String(f.name)];
        QVERIFY2(!v.isUndefined(), f.name);
        switch (f.kind) {
          case FieldKind::Text: QCOMPARE(v.toString(), f.text(p)); break;
          case FieldKind::Flag: QCOMPARE(v.toBool(), isSet(Flag(f.number(p)))); break;
          default: QCOMPARE(v.toInteger(), f.number(p)); break;
        }
      }
    }
    QCOMPARE(panes[2].toObject()["Left"].toInt(), -30);
    const QJsonObject board = doc["BoardSettings"].toObject();
    QCOMPARE(board.keys(), QStringList({"BackPictureName", "BackPicturePath", "BoardBackColor", "BoardLocked",
                                        "FloatPanes", "LabelColor", "SelectionColor", "UseBackPicture",
                                        "WirePanes"}));
    QCOMPARE(board["BoardBackColor"].toInt(), BoardColour);
    QCOMPARE(board["LabelColor"].toInt(), RGB(255, 255, 0));
    QCOMPARE(board["UseBackPicture"].toBool(), false);
    QCOMPARE(board["BackPicturePath"].toString(), tmp.filePath("Back_demo.bmp"));
    const QJsonArray z = doc["Zorder"].toArray();
    QCOMPARE(z.size(), 3);
    QCOMPARE(z[0].toObject(), (QJsonObject{{"Text", "Mover"}, {"ItemData", 1}}));
    QCOMPARE(z[2].toObject()["ItemData"].toInt(), 3);
  }

  void renderDrawsPanesInPlace() {
    const QString png = tmp.filePath("board.png");
    QCOMPARE(cli({"render", project, "--out", png, "--board", "640x480"}).code, 0);
    const QImage img(png);
    QCOMPARE(img.size(), QSize(640, 480));
    const struct { int x, y; QRgb c; } at[] = {
        {600, 50, Red}, {639, 149, Red}, {599, 50, Back}, {600, 150, Back}, {100, 300, Green}, {199, 399, Green},
        {200, 399, Back}, {0, 0, Blue}, {69, 79, Blue}, {70, 79, Back}, {69, 80, Back}, {320, 240, Back}};
    for (const auto& p : at)
      QVERIFY2((img.pixel(p.x, p.y) | 0xFF000000u) == p.c, qPrintable(QString("%1,%2").arg(p.x).arg(p.y)));
    // The default Board is 800 x 600, with the whole mover on it.
    QCOMPARE(cli({"render", project, "--out", png}).code, 0);
    const QImage full(png);
    QCOMPARE(full.size(), QSize(800, 600));
    QCOMPARE(full.pixel(699, 149) | 0xFF000000u, Red);
    QCOMPARE(full.pixel(700, 149) | 0xFF000000u, Back);
  }

  void resaveWritesAnIdenticalProject() {
    QTemporaryDir out;
    QCOMPARE(cli({"resave", project, out.filePath("copy.QV1")}).code, 0);
    QCOMPARE(QDir(out.path()).entryList(QDir::Files, QDir::Name),
             QStringList({"Back_copy.bmp", "Masks_copy.bmp", "Sprites_copy.bmp", "copy.QV1"}));
    for (const QString kind : {"Back_", "Sprites_", "Masks_"})
      QVERIFY2(bytesOf(out.filePath(kind + "copy.bmp")) == bytesOf(tmp.filePath(kind + "demo.bmp")), qPrintable(kind));
    QCOMPARE(bytesOf(out.filePath("copy.QV1")), bytesOf(project));

    // Into a folder that does not exist: told (the first file of the set),
    // failing exit, nothing made.
    const Run bad = cli({"resave", project, out.filePath("gone/copy.QV1")});
    QVERIFY(bad.code > 0);
    QVERIFY(bad.err.contains("gone/Back_copy.bmp  The project could not be saved: No such file or directory"));
    QVERIFY(!QFileInfo::exists(out.filePath("gone")));
  }

  void playRunsFramesAndLeavesTheProject() {
    const QStringList before = QDir(tmp.path()).entryList(QDir::Files, QDir::Name);
    const QByteArray saved = projectBytes();
    QTemporaryDir out;
    const QString frames1 = out.filePath("one"), frames2 = out.filePath("two"), state = out.filePath("state.json");
    // The mover: 610, 620, ... 700 reaches the right edge (800 - 101) at frame
    // 10 and turns; frames 11 and 12 take it back to 680.
    const Run r = cli({"play", project, "--frames", "12", "--png-dir", frames1, "--state-out", state});
    QCOMPARE(r.code, 0);
    QVERIFY2(r.err.isEmpty(), r.err.constData());
    const QJsonObject s = jsonOf(bytesOf(state));
    QCOMPARE(s["Panes"].toArray().size(), 3);
    QCOMPARE(paneOf(s, 1)["Left"].toInt(), 680);
    QCOMPARE(paneOf(s, 1)["Top"].toInt(), 50);
    QCOMPARE(paneOf(s, 1)["Direction"].toInt(), 1);
    QCOMPARE(paneOf(s, 2)["Value"].toInt(), 20);
    QStringList names;
    for (int f = 1; f <= 12; ++f) names << QStringLiteral("frame_%1.png").arg(f, 5, 10, QLatin1Char('0'));
    QCOMPARE(pngsIn(frames1), names);
    const QImage first(QDir(frames1).filePath(names[0])), last(QDir(frames1).filePath(names[11]));
    QCOMPARE(first.size(), QSize(800, 600));
    QCOMPARE(first.pixel(610, 60) | 0xFF000000u, Red);
    QCOMPARE(first.pixel(609, 60) | 0xFF000000u, Back);
    QCOMPARE(last.pixel(680, 60) | 0xFF000000u, Red);
    QCOMPARE(last.pixel(780, 60) | 0xFF000000u, Back);
    // The same run again gives the same pictures.
    QCOMPARE(cli({"play", project, "--frames", "12", "--png-dir", frames2}).code, 0);
    for (const QString& n : names)
      QVERIFY2(QImage(QDir(frames1).filePath(n)) == QImage(QDir(frames2).filePath(n)), qPrintable(n));

    // A click acts where the pointer was moved to (a click alone does not
    // move it); inputs after the last frame are never applied.
    const struct { QStringList inputs; int frames, value; } clicks[] = {
        {{"3:move:150,350", "4:click:150,350"}, 5, 21},
        {{"4:click:150,350"}, 5, 20},
        {{"2:move:150,350", "4:click:150,350"}, 3, 20},
    };
    for (const auto& c : clicks) {
      QStringList args = {"play", project, "--frames", QString::number(c.frames), "--state-out", state};
      for (const QString& in : c.inputs) args << "--input" << in;
      QCOMPARE(cli(args).code, 0);
      QCOMPARE(paneOf(jsonOf(bytesOf(state)), 2)["Value"].toInt(), c.value);
    }
    // Play never saves.
    QCOMPARE(QDir(tmp.path()).entryList(QDir::Files, QDir::Name), before);
    QVERIFY(projectBytes() == saved);
  }

  void committedExampleLoads() {
    const QString demo = QDir(qEnvironmentVariable("QUORVEL_EXAMPLES")).filePath("demo/demo.QV1");
    const Run r = cli({"dump", demo});
    QCOMPARE(r.code, 0);
    QVERIFY2(r.err.isEmpty(), r.err.constData());
    const QJsonObject doc = jsonOf(r.out);
    QCOMPARE(doc["PaneCount"].toInt(), 5);
    QCOMPARE(doc["Zorder"].toArray().size(), 5);
    QVERIFY(doc["BoardSettings"].toObject()["UseBackPicture"].toBool());
    QCOMPARE(cli({"play", demo, "--frames", "40", "--board", "640x480"}).code, 0);
  }
};

QTEST_GUILESS_MAIN(TestCli)
#include "test_cli.moc"
