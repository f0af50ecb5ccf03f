// Files dropped on the Board: what a drop would do at each place and in
// each state, and that a picture or sound drop is one undo step, a failed
// one none, and a project drop asks the save question first.
#include "editing/UndoRedo.h"
#include "session/Drops.h"
#include "support/Fixtures.h"

#include <sys/stat.h>

using namespace qv;

namespace {

// A blank project with n Panes from Add Pane: the first at (50, 50), each
// next 20 px further right and down, all 100 x 100.
struct Session : HeadlessSession {
  explicit Session(int panes) {
    IntroBlankNewProject(ws);
    for (int i = 0; i < panes; ++i) RunCommand(ws, Command::AddCustomPane);
  }
};

}  // namespace

class TestDrops : public QObject {
  Q_OBJECT
  QTemporaryDir dir;
  const QString demo = QDir::cleanPath(qEnvironmentVariable("QUORVEL_EXAMPLES") + "/demo/demo.QV1");

  QString picture(const QString& name, QSize size, QRgb colour) {
    QImage img(size, QImage::Format_RGB32);
    img.fill(colour);
    img.setPixel(0, 0, qRgb(1, 2, 3));
    if (!img.save(dir.filePath(name))) return {};
    return dir.filePath(name);
  }

 private slots:
  void initTestCase() {
    QVERIFY(!picture("p.png", {10, 10}, qRgb(200, 0, 0)).isEmpty());
    QVERIFY(writeFile(dir.filePath("notes.txt"), "not a picture") && writeFile(dir.filePath("t.wav"), toneWave(8000, 1, 200, 300)));
    QVERIFY(writeFile(dir.filePath("photo"), readFile(dir.filePath("p.png"))));
    QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath("pipe.png")).constData(), 0600), 0);
  }

  // The cases are in data/drops.txt.
  void whatADropWouldDo_data() {
    QTest::addColumn<QStringList>("row");
    for (const QStringList& row : fieldRows(QFINDTESTDATA("data/drops.txt"), 16)) QTest::newRow(qPrintable(row[0])) << row;
  }

  void whatADropWouldDo() {
    QFETCH(QStringList, row);
    const QString file = row[1], refusal = row[6];
    const int panes = row[2].toInt(), slot = row[5].toInt();
    const int kind = QStringList({"Refused", "IntoPane", "NewPane", "Project", "SoundIntoPane"}).indexOf(row[4]);
    const QPoint at(row[3].section(',', 0, 0).toInt(), row[3].section(',', 1).toInt());
    Session s(std::max(panes, 1));
    if (panes < 0) makeCels(s.ws, 1, 2, 2);
    QCOMPARE(s.ws.project.PaneCount, std::max(panes, 1));
    const QString path = file == "demo" ? demo : dir.filePath(file);
    const DropPlan plan = PlanDrop(s.ws, path, at);
    QCOMPARE(int(plan.kind), kind);
    QCOMPARE(plan.slot, slot);
    QVERIFY2(plan.refusal.contains(refusal) && plan.refusal.isEmpty() == refusal.isEmpty(), qPrintable(plan.refusal));
    // Nothing is taken while the project runs, and no picture while the
    // intro shows; a project is.
    s.ws.run.Running = QvTrue;
    QCOMPARE(PlanDrop(s.ws, path, at).kind, DropKind::Refused);
    s.ws.run.Running = QvFalse;
    s.ws.win.picIntro.Visible = true;
    QCOMPARE(PlanDrop(s.ws, path, at).kind, kind == int(DropKind::Project) ? DropKind::Project : DropKind::Refused);
  }

  // A picture dropped on free space is a new Pane of the picture's size
  // (300 x 150 shrunk to 200 x 100) centred where it was let go; undone,
  // the Board, the table and the count are as before; redone, back again.
  // A thin picture's Pane is at least 20 wide. Dropped on a Pane it
  // replaces that Pane's picture, and undo puts the old
  // one back. A file that cannot be read changes nothing, leaves no step,
  // and is reported under Load a Picture.
  void pictureDropIsOneStep() {
    Session s(1);
    const QImage board = s.ws.surfaces.picStage.Image().copy(), sprites = s.ws.project.picSprites.Image().copy();
    const auto table = s.ws.project.PaneTable;
    const int steps = s.ws.history.UndoCount();
    const QString wide = picture("wide.png", {300, 150}, qRgb(0, 0, 200));
    QVERIFY(DropFile(s.ws, wide, {400, 300}).kind() == Outcome::Kind::Done);
    const PaneRecord& p = s.ws.Pane(2);
    QCOMPARE(QList<int>({s.ws.project.PaneCount, p.Left, p.Top, p.Width, p.Height, p.CelWidth, p.CelHeight, p.InUse, p.PictureLoaded}),
             QList<int>({2, 300, 250, 200, 100, 200, 100, QvTrue, QvTrue}));
    QCOMPARE(QStringList({p.Label, s.ws.history.UndoName(), QString::number(s.ws.history.UndoCount() - steps)}), QStringList({"wide", "Drop a Picture", "1"}));
    QCOMPARE(stagePx(s.ws, 301, 251), RGB(0, 0, 200));
    QVERIFY(mnu_Undo_Click(s.ws).succeeded() && s.ws.project.PaneTable == table && s.ws.project.PaneCount == 1);
    QCOMPARE(s.ws.surfaces.picStage.Image(), board);
    QVERIFY(mnu_Redo_Click(s.ws).succeeded() && s.ws.Pane(2).Label == "wide");
    QCOMPARE(NewPaneSizeFor({5, 300}), QSize(20, 200));

    QVERIFY(DropFile(s.ws, dir.filePath("p.png"), {60, 60}).succeeded() && sheetBlock(s.ws, 1).pixel(50, 50) == qRgb(200, 0, 0));
    QVERIFY(mnu_Undo_Click(s.ws).succeeded());
    QCOMPARE(sheetBlock(s.ws, 1), sprites.copy(s.ws.Pane(1).SheetX, s.ws.Pane(1).SheetY, 100, 100));

    QByteArray cut = readFile(dir.filePath("p.png"));
    QVERIFY(writeFile(dir.filePath("cut.png"), cut.left(cut.size() - 20)));
    const auto before = s.ws.project.PaneTable;
    const int kept = s.ws.history.UndoCount();
    const Outcome failed = BoardFileDropped(s.ws, dir.filePath("cut.png"), {600, 500});
    QVERIFY(failed.hasFailed() && failed.failure().reason.contains("cut short"));
    QVERIFY(s.ws.project.PaneTable == before && s.ws.history.UndoCount() == kept);
    QCOMPARE(s.platform.calls("ShowMessage|Load a Picture|").size(), s.platform.calls("ShowMessage").size());
    QCOMPARE(s.platform.calls("ShowMessage").size(), 1);
  }

  // A sound dropped on a Pane becomes an own sound it plays, in one step
  // that undo takes back whole and redo gives again; the same file on
  // another Pane is the same sound, which a click plays. One that cannot be
  // used changes nothing.
  void soundDropIsOneStep() {
    Session s(2);
    s.ws.session.SoundDecoder = qEnvironmentVariable("QUORVEL_SOUND_DECODER");
    const Project before = s.ws.project;
    QVERIFY(DropFile(s.ws, dir.filePath("t.wav"), {60, 60}).succeeded() && s.ws.history.UndoName() == "Drop a Sound");
    const Project after = s.ws.project;
    QVERIFY(s.ws.Pane(1).Sound == 1000 && s.ws.project.OwnSounds.value(1000).Name == "t");
    QVERIFY(mnu_Undo_Click(s.ws).succeeded() && s.ws.project == before);
    QVERIFY(mnu_Redo_Click(s.ws).succeeded() && s.ws.project == after);
    QVERIFY(DropFile(s.ws, dir.filePath("t.wav"), {151, 170}).succeeded() && s.ws.Pane(2).Sound == 1000);
    mnu_RunInWindow_Click(s.ws);
    clickAt(s.ws, 160, 160);  // in RunMode a click plays it
    QVERIFY(s.platform.lastSound == s.ws.project.OwnSounds[1000].Wave);
    stopAndEnd(s.ws);
    QVERIFY(writeFile(dir.filePath("junk.wav"), QByteArray("RIFF\4\0\0\0WAVE", 12)));
    const Outcome failed = BoardFileDropped(s.ws, dir.filePath("junk.wav"), {60, 60});
    QVERIFY(failed.hasFailed() && s.ws.history.UndoCount() == 4 && s.platform.calls("ShowMessage|Drop a Sound|").size() == 1);
  }

  // A project dropped with unsaved changes asks first: Cancel keeps
  // everything, Don't Save loads the project.
  void projectDropAsksFirst() {
    Session s(1);
    QVERIFY(s.ws.history.Unsaved());
    s.platform.saveAnswers.enqueue(SaveChoice::Cancel);
    QVERIFY(DropFile(s.ws, demo, {60, 60}).wasCancelled() && s.ws.project.PaneCount == 1);
    s.platform.saveAnswers.enqueue(SaveChoice::DontSave);
    QVERIFY(DropFile(s.ws, demo, {60, 60}).succeeded());
    QCOMPARE(QList<qsizetype>({s.platform.calls("AskSaveChanges").size(), s.ws.project.PaneCount}), QList<qsizetype>({2, 5}));
    QCOMPARE(s.ws.project.DocumentName, QString("demo.QV1"));
  }
};

QTEST_GUILESS_MAIN(TestDrops)
#include "test_drops.moc"
