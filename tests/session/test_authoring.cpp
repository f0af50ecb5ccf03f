// Several Panes at once, as a table of steps and what they leave
// (data/authoring.txt): selection, nudge and its one undo step, duplicate,
// align, distribute, layer moves, copy and paste within and between
// projects, past 50 Panes and from another program. Each case is undone to
// its start and redone to its end, the whole project compared; and the
// Board it leaves is the Board of the same Panes built directly in their
// slots, so the sheets' cells went with their Panes.
// Files dropped on the Board too: what a drop would do at each place and in
// each state, and that a picture or sound drop is one undo step, a failed one
// none, and a project drop asks the save question first.
#include "editing/UndoRedo.h"
#include "session/Clipboard.h"
#include "session/CommandTable.h"
#include "session/Drops.h"
#include "support/Fixtures.h"

#include <sys/stat.h>

using namespace qv;

namespace {

const QMap<QChar, Long> Colours = {{'A', Red}, {'B', Blue}, {'C', Green}, {'D', Yellow}};

struct Session : HeadlessSession {
  Session() {
    IntroBlankNewProject(ws);
    platform.answerWhenUnscripted = true;
  }
  // The Pane labelled X, with its colour, and C in two Cels.
  void place(int slot, const QString& label, QRect r, int reveals) {
    PaneRecord& p = placeSolid(ws, slot, r.x(), r.y(), r.width(), r.height(), Colours[label[0]]);
    p.Label = label;
    p.RevealPane = Integer(reveals);
    if (label[0] == 'C') makeCels(ws, slot, 2, 1);
  }
  int slotOf(const QString& label) {
    for (int n = 1; n <= MaxPanes; ++n)
      if (isSet(ws.Pane(n).InUse) && ws.Pane(n).Label == label) return n;
    return 0;
  }
  void press(const QString& label, int shift) {
    const PaneRecord& p = ws.Pane(slotOf(label));
    const QPoint at = QPoint(p.Left, p.Top) + QRect(QPoint(), shownSize(p)).center();
    BoardMouseDown(ws, 1, at.x(), at.y(), shift);
  }
  QString left() {
    QStringList out;
    for (int n = 1; n <= MaxPanes; ++n) {
      const PaneRecord& p = ws.Pane(n);
      if (!isSet(p.InUse) || p.Label.endsWith(".bmp")) continue;
      QString s = QStringLiteral("%1:%2@%3,%4").arg(n).arg(p.Label).arg(p.Left).arg(p.Top);
      if (p.Label == "Pasted") s += QStringLiteral(":%1x%2").arg(p.Width).arg(p.Height);
      if (p.RevealPane) s += '>' + (isSet(ws.Pane(p.RevealPane).InUse) ? ws.Pane(p.RevealPane).Label : QString::number(p.RevealPane));
      out << s;
    }
    out << QStringLiteral("steps:%1").arg(ws.history.UndoCount());
    for (const QString& call : platform.log) out << (call.startsWith("Ask") ? '?' : '!') + call.section('|', 1);
    // The layer list follows its Panes.
    for (const ZorderEntry& e : ws.project.List_Zorder)
      if (!isSet(ws.Pane(e.ItemData).InUse) || ws.Pane(e.ItemData).Label != e.Text) out << "list: " + e.Text;
    return out.join(' ');
  }
};


// A blank project with n Panes from Add Pane: the first at (50, 50), each
// next 20 px further right and down, all 100 x 100.
struct Blank : HeadlessSession {
  explicit Blank(int panes) {
    IntroBlankNewProject(ws);
    for (int i = 0; i < panes; ++i) RunCommand(ws, Command::AddCustomPane);
  }
};

}  // namespace

class TestAuthoring : public QObject {
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
  void severalPanes_data() {
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("left");
    const QList<QByteArray> rows = dataRows(QFINDTESTDATA("data/authoring.txt"));
    QCOMPARE(rows.size(), 34);
    for (const QString row : rows) QTest::newRow(qPrintable(row.section('|', 0, 0).trimmed())) << row.section('|', 1, 1).trimmed() << row.section('|', 2).trimmed();
  }

  void severalPanes() {
    QFETCH(QString, steps);
    QFETCH(QString, left);
    auto s = std::make_unique<Session>();
    s->place(1, "A", {100, 100, 60, 40}, 4);
    s->place(2, "B", {300, 200, 80, 60}, 0);
    s->place(4, "C", {500, 120, 40, 40}, 4);
    s->place(6, "D", {200, 400, 100, 50}, 1);
    s->ws.project.List_Zorder = {{"D", 6}, {"A", 1}, {"C", 4}, {"B", 2}};
    RedrawBoard(s->ws);
    Project start = s->ws.project;
    bool solid = true;
    for (const QString& step : steps.split(' ')) {
      Workspace& ws = s->ws;
      const QString what = step.section(':', 0, 0);
      const QStringList at = step.section(':', 1).split(',');
      if (what == "click" || what == "shift") {
        s->press(at[0], what == "shift" ? ShiftMask : 0);
        BoardMouseUp(ws, 1, 0, 0);
      } else if (what == "drag" || what == "altdrag" || what == "band") {
        if (what == "band") BoardMouseDown(ws, 1, at[0].toInt(), at[1].toInt(), ShiftMask);
        else s->press(at[0], 0);
        const int x = at[at.size() - 2].toInt(), y = at.last().toInt();
        picStage_MouseMove(ws, 1, x, y, what == "altdrag" ? AltMask : 0);
        BoardMouseUp(ws, 1, x, y);
      } else if (what == "elsewhere") {
        auto other = std::make_unique<Session>();
        other->platform.clipboard = s->platform.clipboard;
        s = std::move(other);
        start = s->ws.project;
      } else if (what == "fill") {
        while (ws.project.PaneCount < at[0].toInt()) AddPane(ws);
        ws.history.Clear();
        start = ws.project;
        solid = false;
      } else if (what == "png") {
        QImage picture(30, 20, QImage::Format_ARGB32);
        picture.fill(qRgba(250, 120, 0, 255));
        picture.setPixel(0, 0, 0);
        QBuffer bytes;
        QVERIFY(bytes.open(QIODevice::WriteOnly) && picture.save(&bytes, "PNG"));
        s->platform.clipboard = {{"image/png", bytes.data()}};
        solid = false;
      } else if (what == "damage") {
        s->platform.clipboard[PanesMimeType].replace("\"sprite\":\"", "\"sprite\":\"AAAA");
      } else {
        const auto row = std::find_if(CommandTable().begin(), CommandTable().end(), [&](const CommandRow& r) { return step == r.name; });
        QVERIFY2(row != CommandTable().end(), qPrintable(step));
        RunCommand(ws, row->id);
      }
    }
    Workspace& ws = s->ws;
    QCOMPARE(s->left(), left);
    // Undone to the start and redone to the end, the whole project.
    const Project end = ws.project;
    const int count = ws.history.UndoCount();
    for (int i = 0; i < count; ++i) RunCommand(ws, Command::Undo);
    QVERIFY(ws.project == start);
    for (int i = 0; i < count; ++i) RunCommand(ws, Command::Redo);
    QVERIFY(ws.project == end);
    if (!solid) return;
    // The same Panes built directly in their slots draw the same Board.
    Session built;
    for (int n = 1; n <= MaxPanes; ++n)
      if (const PaneRecord& p = ws.Pane(n); isSet(p.InUse))
        built.place(n, p.Label, {p.Left, p.Top, p.Width, p.Height}, 0);
    RedrawBoard(ws);
    RedrawBoard(built.ws);
    QCOMPARE(ws.surfaces.picStage.Image(), built.ws.surfaces.picStage.Image());
  }

  // A copy takes its Pane's own sound along: into another project under a
  // number free there, twice pasted one sound; duplicated, the same sound.
  void ownSoundsGoWithTheirPanes() {
    const auto sound = [](const char* name, char level) {
      QString why;
      const QByteArray wave = EncodeWave(QByteArray(8820, level), 1, OwnSoundRate, name);
      return NamedOwnSound(wave, *CheckOwnSound(wave, why), name);
    };
    Session from, to;
    from.place(2, "B", {300, 200, 80, 60}, 0);
    from.ws.project.OwnSounds = {{1000, sound("bell", 9)}};
    from.ws.Pane(2).Sound = 1000;
    to.ws.project.OwnSounds = {{1000, sound("horn", 5)}};
    from.press("B", 0);
    RunCommand(from.ws, Command::Copy);
    RunCommand(from.ws, Command::DuplicatePane);
    to.platform.clipboard = from.platform.clipboard;
    for (int i = 0; i < 2; ++i) RunCommand(to.ws, Command::Paste);
    QCOMPARE(QList<Long>({from.ws.Pane(from.slotOf("B 2")).Sound, to.ws.Pane(to.slotOf("B")).Sound, to.ws.Pane(to.slotOf("B 2")).Sound}),
             QList<Long>({1000, 1001, 1001}));
    QVERIFY(from.ws.project.OwnSounds.size() == 1 && to.ws.project.OwnSounds.keys() == QList<Long>({1000, 1001}) &&
            to.ws.project.OwnSounds[1001] == from.ws.project.OwnSounds[1000]);
  }

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
    Blank s(std::max(panes, 1));
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
    Blank s(1);
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
    Blank s(2);
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
    Blank s(1);
    QVERIFY(s.ws.history.Unsaved());
    s.platform.saveAnswers.enqueue(SaveChoice::Cancel);
    QVERIFY(DropFile(s.ws, demo, {60, 60}).wasCancelled() && s.ws.project.PaneCount == 1);
    s.platform.saveAnswers.enqueue(SaveChoice::DontSave);
    QVERIFY(DropFile(s.ws, demo, {60, 60}).succeeded());
    QCOMPARE(QList<qsizetype>({s.platform.calls("AskSaveChanges").size(), s.ws.project.PaneCount}), QList<qsizetype>({2, 5}));
    QCOMPARE(s.ws.project.DocumentName, QString("demo.QV1"));
  }
};

QTEST_GUILESS_MAIN(TestAuthoring)
#include "test_authoring.moc"
