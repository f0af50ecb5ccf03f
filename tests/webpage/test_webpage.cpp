// The exported web page: the addresses its URL button may open, project text
// kept as data, only the sheet areas the Panes use stored, and the menu
// command's dialogs. saveProjects writes the projects of data/projects.txt
// into QUORVEL_WEB_PROJECTS for the browser test (tests/web), which plays
// their pages frame for frame against play: Labels, pixels and policy;
// saveRandomProjects writes the trace test's seeded projects.
#include "project/ProjectCommands.h"
#include "project/ProjectText.h"
#include "project/RtfWriter.h"
#include "support/Fixtures.h"
#include "webpage/WebPage.h"
#include "webpage/WebPageData.h"

using namespace qv;

namespace {

const QStringList Projects{"pointer", "fifty", "overlap"};

// Builds a project of data/projects.txt.
void buildProject(Workspace& ws, const QString& name) {
  IntroBlankNewProject(ws);
  const QList<QByteArray> rows = dataRows(QFINDTESTDATA("data/projects.txt"));
  if (rows.size() != 61) qFatal("data/projects.txt has %d rows, not 61", int(rows.size()));
  for (const QByteArray& row : rows) {
    const QStringList cells = QString::fromUtf8(row).split('|');
    if (cells[0].trimmed() != name) continue;
    if (cells[1].trimmed() == "background") {
      ws.project.picBackground.SetPicture(boardModel({1024, 764}, RGB(30, 90, 140), {{QRect(0, 382, 1024, 382), RGB(200, 180, 120)}}));
      ws.project.BoardSettings.UseBackPicture = QvTrue;
      continue;
    }
    const int slot = cells[1].toInt();
    PaneRecord& p = placePane(ws, slot, 0, 0, CellSize, CellSize);
    for (const QString& cell : cells.mid(2)) {
      const PaneField* f = PaneFieldByName(cell.section('=', 0, 0).trimmed());
      if (!f) qFatal("no field in %s", qPrintable(cell));
      if (f->kind == FieldKind::Text) f->text(p) = cell.section('=', 1).trimmed();
      else f->setNumber(p, cell.section('=', 1).toLongLong());
    }
    if (p.Sound >= 1000)
      ws.project.OwnSounds.insert(p.Sound, {"quiet", EncodeWave(QByteArray((p.Sound - 1000) * 441 / 10 * 2, 0), 1, 44100, "quiet")});
    // The slot's pattern over the whole cell (Cels may read past the used
    // area), with a true black middle the mask lets through.
    fill(ws.project.picSprites.Image(), p.SheetX + p.Width / 4, p.SheetY + p.Height / 4, p.Width / 2, p.Height / 2, Black);
    BuildPaneMask(ws, slot);
  }
}

}  // namespace

class TestWebPage : public QObject {
  Q_OBJECT

 private slots:
  // data/addresses.json: what the URL button opens for each address (an
  // empty one opens nothing): a scheme is added, scripts and data refused.
  void webAddresses() {
    const QJsonArray rows = QJsonDocument::fromJson(readFile(QFINDTESTDATA("data/addresses.json"))).array();
    QCOMPARE(rows.size(), 8);
    for (const QJsonValue r : rows) QCOMPARE(WebAddress(r[0].toString()), r[1].toString());
  }

  // Texts that look like markup stay values of the data block, which holds
  // no "<" that could end it.
  void pageKeepsTextAsData() {
    HeadlessSession s;
    buildProject(s.ws, "pointer");
    s.ws.project.DocumentName = "</title><script>alert(1)</script>.QV1";
    const QByteArray page = BuildWebPage(s.ws);
    const QByteArray tag = "id=\"quorvel-data\">";
    const qsizetype start = page.indexOf(tag) + tag.size();
    const QByteArray data = page.mid(start, page.indexOf("</script>", start) - start);
    QVERIFY(!data.contains('<') && page.count("<script") == 3 && page.contains("<title>Quorvel</title>"));
    const QJsonObject o = QJsonDocument::fromJson(data).object();
    QCOMPARE(o["title"].toString(), s.ws.project.DocumentTitle());
    const QJsonArray panes = o["panes"].toArray();
    QVERIFY(panes.size() == 7 && panes[0]["text"].toString() == "<img src=x onerror=alert(1)>");
    QCOMPARE(o["sounds"]["101"].toString().toLatin1(), LoadResData(DingSoundId, "CUSTOM").toBase64());  // slot 2's
  }

  // A sheet keeps the Panes' design blocks and every Cel (the last of three
  // 67-wide Cels of a 200-wide Pane reads a column of the next cell), the mask
  // sheet only those of Transparent Panes; a Cel grid no dialog gives keeps all.
  void usedSheetsKeepPaneAreas() {
    HeadlessSession s;
    buildProject(s.ws, "fifty");
    const auto area = [&](int slot) { return PaneSheetArea(s.ws.Pane(slot), {1000, 2000}); };
    const QRect cell3 = area(3);  // not Transparent
    QCOMPARE(QList<QRect>({area(4), area(10), cell3}), QList<QRect>({{600, 0, 201, 51}, {800, 200, 28, 189}, {400, 0, 132, 179}}));
    QCOMPARE(UsedSheet(s.ws, false).copy(cell3), s.ws.project.picSprites.Image().copy(cell3));
    QCOMPARE(UsedSheet(s.ws, true).copy(cell3), boardModel(cell3.size(), Black, {}));
    s.ws.Pane(10).CelsAcross = 0;
    QCOMPARE(area(10), QRect(0, 0, 1000, 2000));
  }

  // The menu command asks for NAME.html in the project's folder and whether
  // the page starts on a click, writes the page and offers to open it with
  // xdg-open; a cancel writes nothing, a failure offers nothing, and a
  // browser that could not open the page is a warning naming it.
  void exportCommandAsksWritesOffers() {
    QTemporaryDir tmp;
    HeadlessSession s;
    buildProject(s.ws, "pointer");
    s.ws.project.DocumentName = "pointer.QV1";
    s.ws.project.ProjectFolder = tmp.path() + "/";
    QVERIFY(ExportWebPageCommand(s.ws).wasCancelled());
    QCOMPARE(s.platform.calls("SaveFileDialog"), QStringList{"SaveFileDialog|Export as Web Page|Web Page (*.html)|*.html|" + tmp.filePath("pointer.html")});
    s.platform.fileAnswers.enqueue(fileChoiceFromPath(tmp.filePath("none/x.html")));
    const Outcome failed = ExportWebPageCommand(s.ws);
    QVERIFY(failed.hasFailed() && failed.failure().file == tmp.filePath("none/x.html"));
    QCOMPARE(s.platform.calls("AskYesNo"), QStringList{"AskYesNo|Export as Web Page|Start the page on a click?"});
    using K = ProgramResult::Kind;
    const QString page = tmp.filePath("my page.html");
    for (const auto& [onClick, opened, warns] : {std::tuple{true, ProgramResult{}, false}, {false, ProgramResult{K::StillRunning}, false},
                                                  {false, ProgramResult{K::Ended, 3}, true}, {true, ProgramResult{K::NotStarted}, true}}) {
      s.platform.log.clear();
      s.platform.fileAnswers.enqueue(fileChoiceFromPath(page));
      s.platform.yesNoAnswers << onClick << true;
      s.platform.programResults.enqueue(opened);
      const Outcome o = ExportWebPageCommand(s.ws);
      QCOMPARE(readFile(page), BuildWebPage(s.ws, onClick ? PageStart::Click : PageStart::Now));
      QCOMPARE(s.platform.calls("AskYesNo").last(), "AskYesNo|Export as Web Page|The web page is written. Open it in the browser ?");
      QCOMPARE(s.platform.calls("RunProgram"), QStringList{"RunProgram|xdg-open|" + page});
      QCOMPARE(o.kind(), warns ? Outcome::Kind::DoneWithWarnings : Outcome::Kind::Done);
      QVERIFY(!warns || o.warnings()[0].file == page);
    }
  }

  // The hand-made projects saved where the browser test plays them from
  // (QUORVEL_WEB_PROJECTS).
  void saveProjects() {
    QTemporaryDir tmp;
    const QString asked = qEnvironmentVariable("QUORVEL_WEB_PROJECTS"), out = asked.isEmpty() ? tmp.path() : asked;
    for (const QString& name : Projects) {
      HeadlessSession s;
      buildProject(s.ws, name);
      QVERIFY(QDir().mkpath(out + "/" + name));
      s.platform.fileAnswers.enqueue(fileChoiceFromPath(out + "/" + name + "/" + name + ".QV1"));
      QVERIFY(SaveProject(s.ws).succeeded());
    }
  }

  // 200 projects of 1..8 Panes in slots 1..12, their fields drawn from
  // data/random-panes.txt (seed 1 + QUORVEL_TRACE_SEED), as
  // QUORVEL_WEB_PROJECTS/random/rNNN/rNNN.QV1: the project files alone (the
  // rules read no picture), each in its own folder, which a load looks through.
  void saveRandomProjects() {
    QTemporaryDir tmp;
    const QString asked = qEnvironmentVariable("QUORVEL_WEB_PROJECTS");
    const QString out = (asked.isEmpty() ? tmp.path() : asked) + "/random";
    const QList<QByteArray> rows = dataRows(QFINDTESTDATA("data/random-panes.txt"));
    QCOMPARE(rows.size(), 28);
    QRandomGenerator rng(1 + qEnvironmentVariableIntValue("QUORVEL_TRACE_SEED"));
    HeadlessSession s;
    for (int k = 0; k < 200; ++k) {
      s.ws.project.PaneTable.fill(PaneRecord());
      for (int n = rng.bounded(1, 9); n > 0; --n) {
        const int slot = rng.bounded(1, 13);
        InitPaneRecord(s.ws, slot);
        PaneRecord& p = s.ws.Pane(slot);
        for (const QByteArray& row : rows) {
          const QList<QByteArray> c = row.split('|');
          PaneFieldByName(c[0].trimmed())->setNumber(p, rng.bounded(c[1].trimmed().toInt(), c[2].trimmed().toInt() + 1));
        }
        makeCels(s.ws, slot, p.CelsAcross, p.CelsDown, p.CelDelay);
      }
      const QString name = QString("r%1").arg(k, 3, 10, QChar('0'));
      QVERIFY(QDir().mkpath(out + "/" + name) && writeFile(out + "/" + name + "/" + name + ".QV1", WriteRtf(SerializeProject(s.ws))));
    }
  }
};

QTEST_MAIN(TestWebPage)
#include "test_webpage.moc"
