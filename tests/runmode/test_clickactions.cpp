// Clicks in RunMode: which Pane a press acts on, the Value process and the
// reveal, the Writing box with its URL button, the sound and the web address.
#include "resources/Resources.h"
#include "runmode/ClickActions.h"
#include "runmode/RunFixtures.h"
#include "runmode/StageMouse.h"

#include <QTest>

using namespace qv;
using namespace qv::runfix;

namespace {

// Moves the pointer, lets a pass run its hover tests, then presses.
void clickAt(Workspace& ws, double x, double y, int button = 1) {
  picStage_MouseMove(ws, 0, x, y);
  RunLoopPass(ws);
  picStage_MouseDown(ws, button, x, y);
}

}  // namespace

class TestClickActions : public QObject {
  Q_OBJECT
 private slots:
  void pressActsOnHoveredPane();
  void hoverFollowsRunPlaceOfVisiblePanes();
  void addRevealsOnEquality();
  void subtractStopsAtZero();
  void addClampsAt99();
  void writingBox();
  void writingBoxClosesOffPanes();
  void urlButtonOnlyWithWriting();
  void sound();
  void openPaneUrl();
};

void TestClickActions::pressActsOnHoveredPane() {
  TestBench b;
  Workspace& ws = b.ws;
  // Slot 1 and 2 free; the Panes live in slots 3 and 5.
  PaneRecord& p3 = placeSolid(ws, 3, 100, 100, 50, 50, Red);
  p3.Process = 1;
  PaneRecord& p5 = placeSolid(ws, 5, 300, 100, 50, 50, Blue);
  p5.Process = 1;
  PaneRecord& hidden = placeSolid(ws, 4, 500, 100, 50, 50, Green);
  hidden.Process = 1;
  hidden.Visible = QvFalse;
  mnu_RunInWindow_Click(ws);

  clickAt(ws, 120, 120);
  QCOMPARE(int(ws.RunPane(3).Value), 21);
  QCOMPARE(int(ws.RunPane(5).Value), 20);
  // Any button clicks; the press does not move the pointer.
  picStage_MouseDown(ws, 2, 700, 500);
  QCOMPARE(int(ws.RunPane(3).Value), 22);
  QCOMPARE(ws.MouseX, 120.0);
  QCOMPARE(int(ws.MouseY), 120);

  // Over an invisible Pane and over free space nothing happens.
  clickAt(ws, 520, 120);
  QCOMPARE(int(ws.RunPane(4).Value), 20);
  clickAt(ws, 700, 500);
  for (int n : {3, 4, 5}) QCOMPARE(int(ws.RunPane(n).Value), n == 3 ? 22 : 20);

  // The hover test of the latest frame decides.
  clickAt(ws, 349.6, 149.6);  // (349.6, 150) lies on the edge: inside
  QCOMPARE(int(ws.RunPane(5).Value), 21);
  QCOMPARE(int(ws.RunPane(3).Value), 22);
}

void TestClickActions::hoverFollowsRunPlaceOfVisiblePanes() {
  TestBench b;
  Workspace& ws = b.ws;
  PaneRecord& p = placeSolid(ws, 2, 100, 100, 50, 50, Red);
  setMove(p, 2, 3, false);
  p.Process = 1;
  p.LifeStartValue = 1;  // moving for every Value
  p.LifeEndValue = 99;
  mnu_RunInWindow_Click(ws);
  passes(ws, 10);  // Left 130
  clickAt(ws, 105, 120);  // the design place, no longer under the Pane
  QCOMPARE(int(ws.RunPane(2).Value), 20);
  clickAt(ws, 180, 120);  // Left 136 .. 186 after this pass
  QCOMPARE(int(ws.RunPane(2).Value), 21);
}

void TestClickActions::addRevealsOnEquality() {
  TestBench b;
  Workspace& ws = b.ws;
  PaneRecord& p = placeSolid(ws, 2, 100, 100, 50, 50, Red);
  p.Process = 1;
  p.RevealValue = 25;
  p.RevealPane = 7;
  placeSolid(ws, 7, 300, 300, 40, 40, Blue).Visible = QvFalse;
  mnu_RunInWindow_Click(ws);
  for (int click = 1; click <= 6; ++click) {
    clickAt(ws, 120, 120);
    QCOMPARE(int(ws.RunPane(2).Value), 20 + click);
    QCOMPARE(isSet(ws.RunPane(7).Visible), click >= 5);
    RunLoopPass(ws);
    QCOMPARE(stagePx(ws, 310, 310), click >= 5 ? Blue : ws.BoardSettings.BoardBackColor);
  }
  QVERIFY(!isSet(ws.Pane(7).Visible));  // only the run table changed
}

void TestClickActions::subtractStopsAtZero() {
  TestBench b;
  Workspace& ws = b.ws;
  PaneRecord& p = placeSolid(ws, 2, 100, 100, 50, 50, Red);
  p.Process = 2;
  p.StartValue = 5;
  p.ProcessAmount = 3;
  p.RevealValue = 0;
  p.RevealPane = 7;
  placeSolid(ws, 7, 300, 300, 40, 40, Blue).Visible = QvFalse;
  mnu_RunInWindow_Click(ws);
  clickAt(ws, 120, 120);
  QCOMPARE(int(ws.RunPane(2).Value), 2);
  QVERIFY(!isSet(ws.RunPane(7).Visible));
  clickAt(ws, 120, 120);
  QCOMPARE(int(ws.RunPane(2).Value), 0);
  QVERIFY(isSet(ws.RunPane(7).Visible));
  // Spent: further clicks change nothing and reveal nothing.
  ws.RunPane(7).Visible = QvFalse;
  for (int i = 0; i < 3; ++i) {
    clickAt(ws, 120, 120);
    QCOMPARE(int(ws.RunPane(2).Value), 0);
    QVERIFY(!isSet(ws.RunPane(7).Visible));
  }
  // A Value that jumps over the Reveal Value reveals nothing.
  p.StartValue = 5;
  p.ProcessAmount = 2;
  p.RevealValue = 2;
  stopAndEnd(ws);
  mnu_RunInWindow_Click(ws);
  clickAt(ws, 120, 120);
  clickAt(ws, 120, 120);
  QCOMPARE(int(ws.RunPane(2).Value), 1);
  QVERIFY(!isSet(ws.RunPane(7).Visible));
}

void TestClickActions::addClampsAt99() {
  TestBench b;
  Workspace& ws = b.ws;
  PaneRecord& p = placeSolid(ws, 2, 100, 100, 50, 50, Red);
  p.Process = 1;
  p.StartValue = 60;
  p.ProcessAmount = 50;
  p.RevealValue = 99;
  p.RevealPane = 7;
  placeSolid(ws, 7, 300, 300, 40, 40, Blue).Visible = QvFalse;
  mnu_RunInWindow_Click(ws);
  clickAt(ws, 120, 120);
  QCOMPARE(int(ws.RunPane(2).Value), 99);
  QVERIFY(isSet(ws.RunPane(7).Visible));
  clickAt(ws, 120, 120);
  QCOMPARE(int(ws.RunPane(2).Value), 99);
}

void TestClickActions::writingBox() {
  TestBench b;
  Workspace& ws = b.ws;
  PaneRecord& p = placeSolid(ws, 2, 100, 100, 80, 80, Red);
  p.UseWriting = QvTrue;
  p.WritingText = QStringLiteral("Hello there");
  p.WritingFontName = QStringLiteral("DejaVu Sans");
  p.WritingFontSize = 14;
  p.WritingBold = QvTrue;
  p.WritingItalic = QvFalse;
  p.WritingUnderline = QvTrue;
  p.WritingForeColor = RGB(1, 2, 3);
  p.WritingBackColor = RGB(250, 240, 230);
  p.WritingWidth = 150;
  p.WritingHeight = 60;
  p.WritingMode = 1;
  p.UseURL = QvTrue;
  mnu_RunInWindow_Click(ws);
  clickAt(ws, 130, 140);
  const WritingBoxState& box = ws.win.Text_Writing;
  QVERIFY(box.Visible);
  QCOMPARE(box.Left, 130);
  QCOMPARE(box.Top, 140);
  QCOMPARE(box.Width, 150);
  QCOMPARE(box.Height, 60);
  QCOMPARE(box.Text, QStringLiteral("Hello there"));
  QCOMPARE(box.FontName, QStringLiteral("DejaVu Sans"));
  QCOMPARE(int(box.FontSize), 14);
  QVERIFY(box.Bold && !box.Italic && box.Underline);
  QCOMPARE(box.ForeColor, RGB(1, 2, 3));
  QCOMPARE(box.BackColor, RGB(250, 240, 230));
  QVERIFY(box.Locked);
  const ControlState& url = ws.win.Button_Url;
  QVERIFY(url.Visible);
  QCOMPARE(url.Left, 130);
  QCOMPARE(url.Top, 200);
  QCOMPARE(url.Width, 150);

  // Editable box; what the user typed is replaced at the next click.
  ws.RunPane(2).WritingMode = 0;
  ws.win.Text_Writing.Text = QStringLiteral("typed");
  clickAt(ws, 110, 105);
  QVERIFY(!box.Locked);
  QCOMPARE(box.Text, QStringLiteral("Hello there"));
  QCOMPARE(box.Left, 110);
  QCOMPARE(url.Top, 165);
}

void TestClickActions::writingBoxClosesOffPanes() {
  TestBench b;
  Workspace& ws = b.ws;
  PaneRecord& p = placeSolid(ws, 2, 100, 100, 80, 80, Red);
  p.UseWriting = QvTrue;
  p.UseURL = QvTrue;
  placeSolid(ws, 3, 185, 100, 80, 80, Blue);
  mnu_RunInWindow_Click(ws);
  clickAt(ws, 130, 140);
  QVERIFY(ws.win.Text_Writing.Visible);
  // Over another Pane the box stays.
  picStage_MouseMove(ws, 0, 200, 120);
  RunLoopPass(ws);
  QVERIFY(ws.win.Text_Writing.Visible);
  QVERIFY(ws.win.Button_Url.Visible);
  // Over no Pane it closes with its button, a frame later.
  picStage_MouseMove(ws, 0, 500, 500);
  QVERIFY(ws.win.Text_Writing.Visible);
  RunLoopPass(ws);
  QVERIFY(!ws.win.Text_Writing.Visible);
  QVERIFY(!ws.win.Button_Url.Visible);
}

void TestClickActions::urlButtonOnlyWithWriting() {
  TestBench b;
  Workspace& ws = b.ws;
  PaneRecord& a = placeSolid(ws, 2, 100, 100, 80, 80, Red);
  a.UseURL = QvTrue;  // no Writing box: never a button
  PaneRecord& w = placeSolid(ws, 3, 180, 100, 80, 80, Blue);
  w.UseWriting = w.UseURL = QvTrue;
  PaneRecord& n = placeSolid(ws, 4, 260, 100, 80, 80, Green);
  n.UseWriting = QvTrue;  // a box without an address
  mnu_RunInWindow_Click(ws);
  clickAt(ws, 120, 120);
  QVERIFY(!ws.win.Text_Writing.Visible);
  QVERIFY(!ws.win.Button_Url.Visible);
  clickAt(ws, 200, 120);
  QVERIFY(ws.win.Button_Url.Visible);
  // Straight on to the neighbour: its box comes without the button.
  clickAt(ws, 300, 120);
  QVERIFY(ws.win.Text_Writing.Visible);
  QCOMPARE(ws.win.Text_Writing.Left, 300);
  QVERIFY(!ws.win.Button_Url.Visible);
}

void TestClickActions::sound() {
  TestBench b;
  Workspace& ws = b.ws;
  placeSolid(ws, 2, 100, 100, 50, 50, Red).Sound = 101;
  placeSolid(ws, 3, 300, 100, 50, 50, Blue);
  mnu_RunInWindow_Click(ws);
  clickAt(ws, 320, 120);  // no sound
  QVERIFY(b.platform.log.filter("Sound").isEmpty());
  clickAt(ws, 120, 120);
  clickAt(ws, 120, 120);  // a second click restarts it
  const QByteArray ding = LoadResData(101, QStringLiteral("CUSTOM"));
  QCOMPARE(ding.size(), 80856);
  QCOMPARE(b.platform.lastSound, ding);
  QCOMPARE(ws.SoundData, ding);
  const QStringList calls = b.platform.log.filter("Sound");
  QCOMPARE(calls, (QStringList{"StopSound", "PlaySound|80856", "StopSound", "PlaySound|80856"}));
}

void TestClickActions::openPaneUrl() {
  TestBench b;
  Workspace& ws = b.ws;
  PaneRecord& p = placeSolid(ws, 2, 100, 100, 50, 50, Red);
  p.URL = QStringLiteral("example.org/page");
  PaneRecord& q = placeSolid(ws, 3, 300, 100, 50, 50, Blue);
  q.URL = QStringLiteral("http://example.org");
  mnu_RunInWindow_Click(ws);
  picStage_MouseMove(ws, 0, 120, 120);
  RunLoopPass(ws);
  OpenPaneUrl(ws);
  QCOMPARE(b.platform.lastUrl, QStringLiteral("http://example.org/page"));
  picStage_MouseMove(ws, 0, 320, 120);
  RunLoopPass(ws);
  OpenPaneUrl(ws);
  QCOMPARE(b.platform.lastUrl, QStringLiteral("http://http://example.org"));
}

QTEST_GUILESS_MAIN(TestClickActions)
#include "test_clickactions.moc"
