// The command table and its dispatcher without a window: the Fast Icons'
// shared first steps, each command's report, and the manual's command table,
// which must say what the table says.
#include "session/CommandTable.h"
#include "support/Fixtures.h"

using namespace qv;

namespace {

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
