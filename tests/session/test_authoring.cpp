// Several Panes at once, as a table of steps and what they leave
// (data/authoring.txt): selection, nudge and its one undo step, duplicate,
// align, distribute, layer moves, copy and paste within and between
// projects, past 50 Panes and from another program. Each case is undone to
// its start and redone to its end, the whole project compared; and the
// Board it leaves is the Board of the same Panes built directly in their
// slots, so the sheets' cells went with their Panes.
#include "imaging/BoardRender.h"
#include "session/Clipboard.h"
#include "session/Commands.h"
#include "session/CommandTable.h"
#include "shell/Setups.h"
#include "support/Fixtures.h"

#include <QBuffer>
#include <QtTest>

using namespace qv;
using namespace qv::fixtures;

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

}  // namespace

class TestAuthoring : public QObject {
  Q_OBJECT

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
};

QTEST_GUILESS_MAIN(TestAuthoring)
#include "test_authoring.moc"
