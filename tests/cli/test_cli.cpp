// quorvel-cli as a user runs it: options and errors, dump, render, resave
// and play on projects saved by the engine, and the committed example.
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

// Fills a Pane's sprite cell with one colour.
void colourPane(Workspace& ws, int slot, QRgb colour) {
  const PaneRecord& p = ws.PaneTable[size_t(slot)];
  QImage& sheet = ws.picSprites.Image();
  for (int y = p.SheetY; y < p.SheetY + p.Height; ++y)
    for (int x = p.SheetX; x < p.SheetX + p.Width; ++x) sheet.setPixel(x, y, colour);
}

const QRgb Red = qRgb(220, 0, 0), Green = qRgb(0, 200, 0), Blue = qRgb(0, 0, 230);
const Long BoardColour = RGB(10, 20, 30);

// Saves the test project as dir/demo.QV1: slot 1 red, moving right at 10
// pixels a frame from (600, 50); slot 2 green at (100, 300), counting up when
// clicked; slot 3 blue at (-30, -20). All 100 x 100 on a plain Board.
QString makeProject(const QString& dir) {
  TestBench bench;
  Workspace& ws = bench.ws;
  for (int i = 0; i < 3; ++i) AddPane(ws);
  PaneRecord& mover = ws.PaneTable[1];
  mover.Left = 600;
  mover.Top = 50;
  mover.MoveType = 2;
  mover.Direction = 2;  // the Pane dialog sets Direction = MoveType
  mover.Speed = 10;
  mover.Label = "Mover";
  PaneRecord& counter = ws.PaneTable[2];
  counter.Left = 100;
  counter.Top = 300;
  counter.Process = 1;
  counter.StartValue = 20;
  counter.ProcessAmount = 1;
  counter.Label = "Counter";
  PaneRecord& corner = ws.PaneTable[3];
  corner.Left = -30;
  corner.Top = -20;
  corner.Collision = 0;
  colourPane(ws, 1, Red);
  colourPane(ws, 2, Green);
  colourPane(ws, 3, Blue);
  ws.picSprites.TakeImageAsPicture();
  ws.BoardSettings.BoardBackColor = BoardColour;
  ws.BoardSettings.LabelColor = RGB(255, 255, 0);
  const QString path = QDir(dir).filePath("demo.QV1");
  bench.platform.fileAnswers.enqueue(fileChoiceFromPath(path));
  SaveProject(ws);
  return path;
}

QStringList pngsIn(const QString& dir) { return QDir(dir).entryList({"*.png"}, QDir::Files, QDir::Name); }

}  // namespace

class TestCli : public QObject {
  Q_OBJECT

  QTemporaryDir tmp;
  QString project;

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
    QCOMPARE(version.code, 0);
    QVERIFY(version.out.startsWith("quorvel-cli"));

    const QString png = tmp.filePath("never.png");
    // A project file whose title is too short to give a project name.
    QVERIFY(QFile::copy(project, tmp.filePath("x.Q")));
    const struct {
      QStringList args;
      const char* says;
    } bad[] = {
        {{}, "usage"},
        {{"frobnicate"}, "unknown command"},
        {{"dump"}, "one project file"},
        {{"dump", tmp.filePath("missing.QV1")}, "missing.QV1"},
        {{"dump", tmp.path()}, "no such project file"},
        {{"render", project, "--out", png, "--board", "800by600"}, "--board"},
        {{"render", project, "--out", png, "--board", "0x600"}, "--board"},
        {{"render", project, "--out", png, "--board", "100000x100000"}, "--board"},
        {{"render", project, "--out", png, "--board", "16384x16384"}, "--board"},
        {{"render", project}, "--out"},
        {{"render", project, "--colour", "red"}, "unknown option"},
        {{"play", project}, "--frames"},
        {{"play", project, "--frames", "-3"}, "--frames"},
        {{"play", project, "--frames", "3", "--input", "3:jump:1,2"}, "--input"},
        {{"resave", project}, "resave"},
        {{"resave", project, tmp.filePath("ab")}, "too short"},
        {{"dump", tmp.filePath("x.Q")}, "too short"},
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
    QVERIFY(!QFileInfo::exists(tmp.filePath("a.QV1")));

    // Files that are no project: a message, no output, a failing exit.
    QFile junk(tmp.filePath("junk.QV1"));
    QVERIFY(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(3000, '\x9c'));
    junk.close();
    const Run r = cli({"dump", junk.fileName()});
    QVERIFY(r.code > 0);
    QVERIFY(r.err.contains("junk.QV1"));
    QVERIFY(r.out.isEmpty());
  }

  void dumpShowsEveryField() {
    const Run r = cli({"dump", project});
    QCOMPARE(r.code, 0);
    QVERIFY2(r.err.isEmpty(), r.err.constData());
    const QJsonObject doc = jsonOf(r.out);
    QCOMPARE(doc["PaneCount"].toInt(), 3);

    // The same project loaded by the engine gives the expected values.
    TestBench bench;
    bench.platform.fileAnswers.enqueue(fileChoiceFromPath(project));
    QVERIFY(LoadProject(bench.ws));
    const QJsonArray panes = doc["Panes"].toArray();
    QCOMPARE(panes.size(), 3);
    for (int i = 0; i < 3; ++i) {
      const QJsonObject o = panes[i].toObject();
      QCOMPARE(o["Slot"].toInt(), i + 1);
      QCOMPARE(o.size(), 61);
      const PaneRecord& p = bench.ws.PaneTable[size_t(i + 1)];
      for (const PaneField& f : PaneFields()) {
        const QJsonValue v = o[QLatin1String(f.name)];
        QVERIFY2(!v.isUndefined(), f.name);
        switch (f.kind) {
          case FieldKind::Text: QCOMPARE(v.toString(), f.text(const_cast<PaneRecord&>(p))); break;
          case FieldKind::Flag: QCOMPARE(v.toBool(), isSet(Flag(f.number(p)))); break;
          default: QCOMPARE(v.toInteger(), f.number(p)); break;
        }
      }
    }
    const QJsonObject first = panes[0].toObject();
    QCOMPARE(first["Left"].toInt(), 600);
    QCOMPARE(first["Direction"].toInt(), 2);
    QCOMPARE(first["FlipOnBounds"].toBool(), false);
    QCOMPARE(first["InUse"].toBool(), true);
    QCOMPARE(first["CelWidth"].toInt(), 0);
    QCOMPARE(first["Label"].toString(), QString("Mover"));
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
    QCOMPARE(z[1].toObject(), (QJsonObject{{"Text", "Counter"}, {"ItemData", 2}}));
    QCOMPARE(z[2].toObject()["ItemData"].toInt(), 3);
  }

  void renderDrawsPanesInPlace() {
    const QString png = tmp.filePath("board.png");
    const Run r = cli({"render", project, "--out", png, "--board", "640x480"});
    QCOMPARE(r.code, 0);
    const QImage img(png);
    QCOMPARE(img.size(), QSize(640, 480));
    const QRgb back = toQRgb(BoardColour);
    auto at = [&](int x, int y) { return img.pixel(x, y) | 0xFF000000u; };
    QCOMPARE(at(600, 50), Red);
    QCOMPARE(at(639, 149), Red);
    QCOMPARE(at(599, 50), back);
    QCOMPARE(at(600, 150), back);
    QCOMPARE(at(100, 300), Green);
    QCOMPARE(at(199, 399), Green);
    QCOMPARE(at(200, 399), back);
    QCOMPARE(at(0, 0), Blue);
    QCOMPARE(at(69, 79), Blue);
    QCOMPARE(at(70, 79), back);
    QCOMPARE(at(69, 80), back);
    QCOMPARE(at(320, 240), back);

    // The default Board is 800 x 600, with the whole mover on it.
    QVERIFY(cli({"render", project, "--out", png}).code == 0);
    const QImage full(png);
    QCOMPARE(full.size(), QSize(800, 600));
    QCOMPARE(full.pixel(699, 149) | 0xFF000000u, Red);
    QCOMPARE(full.pixel(700, 149) | 0xFF000000u, back);
  }

  void resaveWritesAnIdenticalProject() {
    QTemporaryDir out;
    const Run r = cli({"resave", project, out.filePath("copy.QV1")});
    QCOMPARE(r.code, 0);
    QCOMPARE(QDir(out.path()).entryList(QDir::Files, QDir::Name),
             QStringList({"Back_copy.bmp", "Masks_copy.bmp", "Sprites_copy.bmp", "copy.QV1"}));
    QCOMPARE(bytesOf(out.filePath("copy.QV1")), bytesOf(project));
    for (const char* kind : {"Back_", "Sprites_", "Masks_"})
      QVERIFY2(bytesOf(out.filePath(kind + QString("copy.bmp"))) == bytesOf(tmp.filePath(kind + QString("demo.bmp"))),
               kind);

    QJsonObject a = jsonOf(cli({"dump", project}).out);
    QJsonObject b = jsonOf(cli({"dump", out.filePath("copy.QV1")}).out);
    QCOMPARE(b["BoardSettings"].toObject()["BackPicturePath"].toString(), out.filePath("Back_copy.bmp"));
    for (QJsonObject* o : {&a, &b}) {
      QJsonObject s = (*o)["BoardSettings"].toObject();
      s.remove("BackPicturePath");
      (*o)["BoardSettings"] = s;
    }
    QVERIFY(!a.isEmpty());
    QCOMPARE(a, b);

    // Into a folder that does not exist: told, failing exit, nothing made.
    const Run bad = cli({"resave", project, out.filePath("gone/copy.QV1")});
    QVERIFY(bad.code > 0);
    QVERIFY(bad.err.contains("copy.QV1"));
    QVERIFY(!QFileInfo::exists(out.filePath("gone")));
  }

  void playRunsFramesAndLeavesTheProject() {
    const QStringList before = QDir(tmp.path()).entryList(QDir::Files, QDir::Name);
    QByteArray sheets;
    for (const char* f : {"demo.QV1", "Back_demo.bmp", "Sprites_demo.bmp", "Masks_demo.bmp"}) sheets += bytesOf(tmp.filePath(f));

    QTemporaryDir out;
    const QString frames1 = out.filePath("one"), frames2 = out.filePath("two");
    const QString state = out.filePath("state.json");
    // The mover: 610, 620, ... 700 reaches the right edge (800 - 101) at frame
    // 10 and turns; frames 11 and 12 take it back to 680.
    const Run r = cli({"play", project, "--frames", "12", "--png-dir", frames1, "--state-out", state});
    QCOMPARE(r.code, 0);
    QVERIFY2(r.err.isEmpty(), r.err.constData());
    const QJsonObject s = jsonOf(bytesOf(state));
    const QJsonObject mover = paneOf(s, 1);
    QCOMPARE(mover["Left"].toInt(), 680);
    QCOMPARE(mover["Top"].toInt(), 50);
    QCOMPARE(mover["Direction"].toInt(), 1);
    QCOMPARE(paneOf(s, 2)["Value"].toInt(), 20);
    QCOMPARE(paneOf(s, 2)["Left"].toInt(), 100);
    QCOMPARE(s["Panes"].toArray().size(), 3);

    QStringList names;
    for (int f = 1; f <= 12; ++f) names << QStringLiteral("frame_%1.png").arg(f, 5, 10, QLatin1Char('0'));
    QCOMPARE(pngsIn(frames1), names);
    const QImage first(QDir(frames1).filePath(names[0]));
    QCOMPARE(first.size(), QSize(800, 600));
    QCOMPARE(first.pixel(610, 60) | 0xFF000000u, Red);
    QCOMPARE(first.pixel(609, 60) | 0xFF000000u, toQRgb(BoardColour));
    const QImage last(QDir(frames1).filePath(names[11]));
    QCOMPARE(last.pixel(680, 60) | 0xFF000000u, Red);
    QCOMPARE(last.pixel(780, 60) | 0xFF000000u, toQRgb(BoardColour));

    // The same run again gives the same pictures.
    QCOMPARE(cli({"play", project, "--frames", "12", "--png-dir", frames2}).code, 0);
    QCOMPARE(pngsIn(frames2), names);
    for (const QString& n : names)
      QVERIFY2(QImage(QDir(frames1).filePath(n)) == QImage(QDir(frames2).filePath(n)), qPrintable(n));

    // A click acts where the pointer was moved to; a click alone does not
    // move the pointer onto the counter.
    QCOMPARE(cli({"play", project, "--frames", "5", "--input", "3:move:150,350", "--input", "4:click:150,350",
                  "--state-out", state})
                 .code,
             0);
    QCOMPARE(paneOf(jsonOf(bytesOf(state)), 2)["Value"].toInt(), 21);
    QCOMPARE(cli({"play", project, "--frames", "5", "--input", "4:click:150,350", "--state-out", state}).code, 0);
    QCOMPARE(paneOf(jsonOf(bytesOf(state)), 2)["Value"].toInt(), 20);
    // Inputs after the last frame are never applied.
    QCOMPARE(cli({"play", project, "--frames", "3", "--input", "1:move:150,350", "--input", "4:click:150,350",
                  "--state-out", state})
                 .code,
             0);
    QCOMPARE(paneOf(jsonOf(bytesOf(state)), 2)["Value"].toInt(), 20);

    // Play never saves.
    QCOMPARE(QDir(tmp.path()).entryList(QDir::Files, QDir::Name), before);
    QByteArray after;
    for (const char* f : {"demo.QV1", "Back_demo.bmp", "Sprites_demo.bmp", "Masks_demo.bmp"}) after += bytesOf(tmp.filePath(f));
    QVERIFY(after == sheets);
  }

  void committedExampleLoads() {
    const QString demo = QDir(qEnvironmentVariable("QUORVEL_EXAMPLES")).filePath("demo/demo.QV1");
    QVERIFY2(QFileInfo::exists(demo), qPrintable(demo));
    const Run r = cli({"dump", demo});
    QCOMPARE(r.code, 0);
    QVERIFY2(r.err.isEmpty(), r.err.constData());
    const QJsonObject doc = jsonOf(r.out);
    QCOMPARE(doc["PaneCount"].toInt(), 5);
    QCOMPARE(doc["Zorder"].toArray().size(), 5);
    QVERIFY(doc["BoardSettings"].toObject()["UseBackPicture"].toBool());
    QTemporaryDir out;
    QCOMPARE(cli({"play", demo, "--frames", "40", "--board", "640x480", "--png-dir", out.path()}).code, 0);
    QCOMPARE(pngsIn(out.path()).size(), 40);
  }
};

QTEST_GUILESS_MAIN(TestCli)
#include "test_cli.moc"
