// The commands without a window: undo and redo over a seeded random walk of
// Design commands, the bounds of the history, the save question before End,
// New, Load and closing; the Fast Icons' shared first steps, each command's
// report, and the manual's command table, which must say what the table says.
#include "editing/UndoRedo.h"
#include "project/ProjectCommands.h"
#include "properties/BoardProperties.h"
#include "properties/PaneProperties.h"
#include "session/CommandTable.h"
#include "support/Fixtures.h"

using namespace qv;

namespace {

struct Walk : HeadlessSession {
  QRandomGenerator rng;
  QStringList pictures;
  explicit Walk(quint32 seed, const QTemporaryDir& dir) : rng(seed) {
    IntroBlankNewProject(ws);
    for (int i = 0; i < 5; ++i) {
      const QString path = dir.filePath(QStringLiteral("p%1.bmp").arg(i));
      QVERIFY(randomImage(1 + rng.bounded(260), 1 + rng.bounded(240), rng.generate()).save(path));
      pictures << path;
    }
    pictures << dir.filePath("missing.bmp");
  }
  int any(int n) { return int(rng.bounded(n)); }
  // A Pane in use made the Target through the layer list; false when none.
  bool target() {
    if (ws.project.List_Zorder.isEmpty()) return false;
    List_Zorder_Click(ws, any(int(ws.project.List_Zorder.size())));
    return true;
  }
  // Runs a command, its question answered, or its file dialog answering
  // with one of the pictures (one of them missing).
  void ask(bool yes, Command c) {
    platform.yesNoAnswers.enqueue(yes);
    RunCommand(ws, c);
  }
  void withPicture(Command c) {
    platform.fileAnswers.enqueue(fileChoiceFromPath(pictures[any(int(pictures.size()))]));
    RunCommand(ws, c);
  }

  // One command of Design, chosen at random; false for an undo.
  bool step() {
    switch (any(10)) {
      case 0: RunCommand(ws, Command::AddCustomPane); break;
      case 1: if (target()) ask(any(3) > 0, Command::RemovePane); break;
      case 2: if (target()) RunCommand(ws, any(2) ? Command::FlipHorizontally : Command::FlipVertically); break;
      case 3: if (target()) withPicture(Command::LoadsPicture); break;
      case 4:
        if (!target()) break;
        windows.onShow = [this](DialogKind) {
          Text_Val_Change(ws, 10, QString::number(20 + any(181)));
          Text_Val_Change(ws, 9, QString::number(20 + any(181)));
          ws.dialogs.panes.Option_MakeTransparent = any(2);
          Text_Label_Change(ws, QStringLiteral("L%1").arg(any(100)));
          Button_frmPanes_Click(ws, any(4) > 0 ? 1 : 0);
        };
        RunCommand(ws, any(2) ? Command::EditPane : Command::ResizePane);
        break;
      case 5:
        windows.onShow = [this](DialogKind) {
          ws.dialogs.board.picSwatch = RGB(any(256), any(256), any(256));
          Option_UseBackPicture_Click(ws, any(2));
          Option_WirePanes_Click(ws, any(2));
          Option_BoardMove_Click(ws, any(2));
          Button_frmBoard_Click(ws, any(4) > 0 ? 1 : 0);
        };
        RunCommand(ws, Command::EditBoard);
        break;
      case 6: withPicture(Command::LoadPicBack); break;
      case 7: {
        if (!target()) break;
        const PaneRecord& p = ws.Pane(ws.pointer.TargetPane);
        BoardMouseDown(ws, 1, p.Left + 1, p.Top + 1);
        picStage_MouseMove(ws, 1, any(700), any(500));
        BoardMouseUp(ws, 1, any(700), any(500));
        break;
      }
      case 8: ask(true, Command::BoardCompositePanes); break;
      default:  // an undo in between: the next step drops what could be redone
        RunCommand(ws, Command::Undo);
        return false;
    }
    platform.yesNoAnswers.clear();
    platform.fileAnswers.clear();
    return true;
  }
};


// The manual's command table, as the table gives it.
QString commandTableText() {
  static const char* const gates[] = {"also while running", "in Design", "while enabled",
                                      "while Flip ... is enabled", "below 50 Panes",
                                      "in Design and on the intro"};
  QStringList lines{"| command | control | menu | key | keys act | undo step |", "|---|---|---|---|---|---|"};
  for (const CommandRow& r : CommandTable()) {
    if (!r.handler) continue;
    const QString menu = r.menu != Menu::None ? QString::fromLatin1(RowOf(r.menu).name) : QString();
    lines << QStringLiteral("| %1 | `%2` | %3 | %4 | %5 | %6 |")
                 .arg(QString::fromLatin1(r.caption), QString::fromLatin1(r.name), menu, QString::fromLatin1(r.keyLabel),
                      *r.keyLabel ? QString::fromLatin1(gates[int(r.gate)]) : QString(), r.changesProject ? "yes" : "");
  }
  return lines.join('\n') + '\n';
}

}  // namespace

class TestCommands : public QObject {
  Q_OBJECT

 private slots:
  // Ten rounds of 100 random commands: each that changes the project is one
  // step, and one that changes nothing is none; undone to the round's start,
  // the project value is as it was; redone, as it was at the round's end.
  void randomWalkUndoneAndRedone() {
    QTemporaryDir dir;
    Walk w(20261206, dir);
    w.ws.history.maxSteps = 200;
    for (int round = 0; round < 10; ++round) {
      w.ws.history.Clear();
      const Project start = w.ws.project;
      for (int i = 0; i < 100; ++i) {
        const Project before = w.ws.project;
        const int steps = w.ws.history.UndoCount();
        if (w.step())
          QVERIFY2((w.ws.history.UndoCount() == steps + 1) == !(w.ws.project == before),
                   qPrintable(QString("round %1 command %2").arg(round).arg(i)));
        QVERIFY(w.ws.history.Bytes() <= w.ws.history.maxBytes);
      }
      while (RunCommand(w.ws, Command::Redo).succeeded()) {
      }
      const Project end = w.ws.project;
      while (RunCommand(w.ws, Command::Undo).succeeded()) {
      }
      QVERIFY2(w.ws.project == start, qPrintable(QString("round %1 undone").arg(round)));
      while (RunCommand(w.ws, Command::Redo).succeeded()) {
      }
      QVERIFY2(w.ws.project == end, qPrintable(QString("round %1 redone").arg(round)));
    }
  }

  // The oldest steps go first: past 100 steps, and past the byte bound.
  void boundedInStepsAndBytes() {
    HeadlessSession s;
    placeSolid(s.ws, 1, 10, 10, 200, 200, Red);
    s.ws.project.picSprites.Image().setPixel(0, 0, qRgb(1, 2, 3));
    s.ws.pointer.TargetPane = 1;
    for (int i = 0; i < 160; ++i) RunCommand(s.ws, i % 2 ? Command::FlipVertically : Command::FlipHorizontally);
    QCOMPARE(QList<qint64>({s.ws.history.UndoCount(), s.ws.history.Bytes()}), QList<qint64>({100, 100 * qint64(CellSize * CellSize * 4)}));
    while (RunCommand(s.ws, Command::Undo).succeeded()) {
    }
    // The 60 flips left, each way 30 times, undo each other.
    QCOMPARE(s.ws.project.picSprites.Image().pixel(0, 0), qRgb(1, 2, 3));
    while (RunCommand(s.ws, Command::Redo).succeeded()) {
    }
    s.ws.history.maxBytes = 10 * qint64(CellSize * CellSize * 4);
    RunCommand(s.ws, Command::FlipHorizontally);
    QVERIFY(s.ws.history.UndoCount() == 10 && !MenuItemEnabled(s.ws, Command::Redo));
    QCOMPARE(MenuItemCaption(s.ws, Command::Undo), QStringLiteral("Undo Flip Horizontally"));
    // A fitted Background's picture and drawing share their pixels: one
    // Board of bytes a step.
    QTemporaryDir dir;
    s.ws.history.Clear();
    s.ws.history.maxBytes = qint64(256) << 20;
    for (int i = 0; i < 3; ++i) {
      QVERIFY(randomImage(40, 30, i).save(dir.filePath(QString("b%1.bmp").arg(i))));
      s.platform.fileAnswers.enqueue(fileChoiceFromPath(dir.filePath(QString("b%1.bmp").arg(i))));
      RunCommand(s.ws, Command::LoadPicBack);
    }
    QCOMPARE(s.ws.history.Bytes() / (qint64(s.ws.session.BoardWidth) * s.ws.session.BoardHeight * 4), 3);
  }

  // With unsaved changes End, New, Load, Quit (Ctrl+Q) and closing the
  // window first ask to save them: Save saves and goes on, Don't Save goes
  // on, Cancel (or a save cancelled) stops. Without changes each asks only
  // its own question (Quit and closing none).
  // The cases are in data/save-question.txt.
  void saveQuestion_data() {
    QTest::addColumn<QStringList>("f");
    for (const QStringList& f : fieldRows(QFINDTESTDATA("data/save-question.txt"), 30)) QTest::newRow(qPrintable(f[0] + ": " + f[1])) << f;
  }

  void saveQuestion() {
    QFETCH(QStringList, f);
    const QString command = f[0], calls = f[3];
    const int answer = f[2].toInt();
    const bool wentOn = f[4] == "yes";
    QTemporaryDir dir;
    HeadlessSession s;
    IntroBlankNewProject(s.ws);
    RunCommand(s.ws, Command::AddCustomPane);
    QVERIFY(s.ws.history.Unsaved());
    const FileChoice file = fileChoiceFromPath(dir.filePath("walk.QV1"));
    if (answer == -1) {
      s.platform.fileAnswers.enqueue(file);
      QVERIFY(RunCommand(s.ws, Command::SaveProject).succeeded() && !s.ws.history.Unsaved());
    } else {
      s.platform.saveAnswers.enqueue(SaveChoice(answer % 10));
      if (answer % 10 == int(SaveChoice::Save) && answer != int(SaveChoice::Save) + 10)
        s.platform.fileAnswers.enqueue(answer < 10 ? file : fileChoiceFromPath(dir.filePath("none/walk.QV1")));
    }
    s.platform.log.clear();
    bool closed = false;
    const QMap<QString, Command> commands{{"End", Command::End}, {"New", Command::NewProject}, {"Load", Command::LoadsProject}, {"Quit", Command::Quit}};
    if (command == "Close") closed = MainWindowMayClose(s.ws);
    else RunCommand(s.ws, commands[command]);
    QStringList seen;
    for (const QString& call : s.platform.log) seen << call.section('|', 0, 0);
    QCOMPARE(seen.join(' '), calls);
    if (answer >= 0) QCOMPARE(s.platform.log.first().section('|', 2), QStringLiteral("Save changes to the new project?"));
    const bool wentOnNow = command == "End" || command == "Quit" ? s.windows.ended : command == "New" ? s.ws.project.PaneCount == 0
                           : command == "Load" ? !s.platform.calls("OpenFileDialog").isEmpty() : closed;
    QCOMPARE(QList<bool>({wentOnNow, QFile::exists(dir.filePath("walk.QV1"))}), QList<bool>({wentOn, answer == -1 || answer == int(SaveChoice::Save)}));
  }

  void fastIcons_data() {
    QTest::addColumn<Command>("command");
    QTest::addColumn<QString>("asked");  // the first platform call or dialog of the icon's own step
    QTest::newRow("load picture") << Command::FastLoadPicture << "OpenFileDialog|Open an image file for Pane ...";
    QTest::newRow("resize") << Command::FastResize << "Panes shown";
    QTest::newRow("edit") << Command::FastEdit << "Panes shown";
    QTest::newRow("remove") << Command::FastRemove << "AskYesNo|Remove Pane - 3";
  }

  void fastIcons() {
    QFETCH(Command, command);
    QFETCH(QString, asked);
    HeadlessSession s;
    IntroBlankNewProject(s.ws);
    placeSolid(s.ws, 3, 40, 40, 60, 60, Red);
    placeSolid(s.ws, 5, 200, 40, 60, 60, Blue);
    s.ws.project.List_Zorder = {{"03.bmp", 3}, {"05.bmp", 5}};
    // Pane 5 is the Target; the pointer rests on Pane 3's Fast Icon zone.
    picStage_MouseDown(s.ws, 1, 210, 50);
    picStage_MouseUp(s.ws, 1, 210, 50);
    picStage_MouseMove(s.ws, 0, 45, 92);
    QVERIFY(s.ws.win.Img_FastIcons[0].Visible && s.ws.pointer.TargetPane == 5);
    s.ws.win.setMenuEnabled(Command::EditPane, false);
    QStringList seen;
    s.windows.shown.clear();
    const Outcome o = RunCommand(s.ws, command);
    for (const QString& call : s.platform.log) seen << call.section('|', 0, 1);
    if (!s.windows.shown.isEmpty()) seen.prepend("Panes shown");
    QCOMPARE(seen.value(0), asked);
    // The icons hide, the hovered Pane is the Target with its box and menus,
    // and the pointer is the arrow again.
    for (const auto& icon : s.ws.win.Img_FastIcons) QVERIFY(!icon.Visible);
    QVERIFY(s.ws.pointer.TargetPane == 3 && s.ws.win.Shape1[0].Visible && s.ws.win.menuEnabled(Command::EditPane) && !o.hasFailed());
    QCOMPARE(s.ws.surfaces.picStage.Pointer, MousePointer::Arrow);
  }

  void reportsWhatWentWrong() {
    HeadlessSession s;
    // Warnings: a fixed text takes the place of the command's title, each
    // file and reason below it. (A failure's file and reason under the
    // command's title are in the project and picture command tests.)
    Outcome warned = Outcome::done();
    warned.warn("a.bmp", "first");
    warned.warn("b.bmp", "second");
    ReportOutcome(s.ws, Command::LoadPicBack, warned);
    QCOMPARE(s.platform.log.last(),
             QStringLiteral("ShowMessage|Quorvel|Vorpex report : Couldn't load Background ... didn't find it.|"
                            "a.bmp\nfirst\n\nb.bmp\nsecond"));
    // Done and cancelled say nothing; a command without a handler does nothing.
    const qsizetype calls = s.platform.log.size();
    ReportOutcome(s.ws, Command::SaveProject, Outcome::cancelled());
    QVERIFY(RunCommand(s.ws, Command::Print).succeeded());
    QCOMPARE(s.platform.log.size(), calls);
  }

  void manualSaysWhatTheTableSays() {
    const QString path = QStringLiteral(QUORVEL_SOURCE_DIR "/docs/manual.md");
    QString readme = QString::fromUtf8(readFile(path));
    const QString begin = "<!-- command table: made from src/session/CommandTable.cpp -->\n", end = "<!-- end -->";
    const qsizetype from = readme.indexOf(begin), to = readme.indexOf(end, from);
    QVERIFY2(from >= 0 && to > from, "the manual has no command table");
    const QString table = commandTableText();
    if (qEnvironmentVariableIsSet("QUORVEL_UPDATE_GOLDEN")) {
      readme.replace(from + begin.size(), to - from - begin.size(), table);
      QVERIFY(writeFile(path, readme.toUtf8()));
    }
    QCOMPARE(readme.mid(from + begin.size(), to - from - begin.size()), table);
  }
};

QTEST_GUILESS_MAIN(TestCommands)
#include "test_commands.moc"
