// The pointer on the Board. In Design (presses, drags and the layer list
// are in test_stagemouse): the Fast Icon zone.
// In RunMode: the Label effect, the Value process and the reveal, the
// Writing box with its URL button, the sound and the web address. Printing a Label needs the GUI application's
// font database, so this engine test runs under QTEST_MAIN.
#include "runmode/ClickActions.h"
#include "support/Fixtures.h"

using namespace qv;

namespace {

// How many Board pixels of r are mostly green (the Label colour).
int greenIn(Workspace& ws, QRect r) {
  int n = 0;
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x) {
      const QRgb c = ws.surfaces.picStage.Image().pixel(x, y);
      n += qGreen(c) > 128 && qRed(c) < 128;
    }
  return n;
}

}  // namespace

class TestPointer : public QObject {
  Q_OBJECT
 private slots:
  void fastIconZone_data() {
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<bool>("shown");
    // Pane 3: 40 x 40 at (100, 100); the zone is x 100..164, y 124..140.
    for (QPoint p : {QPoint(100, 124), QPoint(164, 140), QPoint(150, 130)}) QTest::addRow("in %d,%d", p.x(), p.y()) << p << true;
    for (QPoint p : {QPoint(99, 130), QPoint(165, 130), QPoint(120, 123), QPoint(120, 141)})
      QTest::addRow("out %d,%d", p.x(), p.y()) << p << false;
  }

  void fastIconZone() {
    QFETCH(QPoint, at);
    QFETCH(bool, shown);
    HeadlessSession s;
    Workspace& ws = s.ws;
    placeSolid(ws, 1, 0, 0, 400, 400, Purple).InUse = QvFalse;  // covers it, not in use
    placeSolid(ws, 3, 100, 100, 40, 40, Red);
    ws.pointer.CurrentPane = 3;
    picStage_MouseMove(ws, 0, at.x(), at.y());
    for (int i = 0; i < 4; ++i) {
      const ControlState& icon = ws.win.Img_FastIcons[size_t(i)];
      QCOMPARE(icon.Visible, shown);
      if (shown) QCOMPARE(QPoint(icon.Left, icon.Top), QPoint(100 + 16 * i, 124));
    }
    QVERIFY(!ws.win.Shape1[0].Visible);  // hovering makes no Target
    // Leaving the zone hides them (and the hover box); with Cels the zone
    // follows the first Cel.
    picStage_MouseMove(ws, 0, 300, 300);
    QVERIFY(!ws.win.Img_FastIcons[3].Visible && !ws.win.Shape1[1].Visible);
    makeCels(ws, 3, 1, 2);
    ws.pointer.CurrentPane = 3;
    picStage_MouseMove(ws, 0, at.x(), at.y() - 20);
    QCOMPARE(ws.win.Img_FastIcons[0].Visible, shown);
  }

  // Under the pointer effects 2 and 3 print the Label in the Label colour,
  // 0 and 1 do not. (Where, and the Box of effects 1 and 2, are web.player's
  // part, frame for frame against the page.)
  void labelsArePrinted() {
    for (int effect : {3, 1}) {
      HeadlessSession s;
      s.ws.project.BoardSettings.LabelColor = RGB(0, 255, 0);
      placeSolid(s.ws, 3, 100, 100, 40, 40, Red).MouseEffect = Integer(effect);
      s.ws.Pane(3).Label = QStringLiteral("HI");
      mnu_RunInWindow_Click(s.ws);
      hoverAt(s.ws, 130, 130);
      QVERIFY(isSet(s.ws.RunPane(3).MouseOver));
      QCOMPARE(greenIn(s.ws, QRect(101, 101, 38, 38)) > 4, effect == 3);
    }
  }

  void valueProcess() {
    // Slot 2 reveals slot 7 when its Value meets the Reveal Value; a Value of
    // 0 is spent: no change, no reveal. Values stay within 0..99. The cases
    // are in data/values.txt. Any button clicks, and the Pane the last hover
    // test found is clicked wherever the press is. (Which Pane a hover finds
    // in a run is web.trace's part.)
    for (const QList<int>& c : numberRows(QFINDTESTDATA("data/values.txt"), 7)) {
      HeadlessSession s;
      Workspace& ws = s.ws;
      setFields(placeSolid(ws, 2, 100, 100, 50, 50, Red),
                QString("Process=%1 StartValue=%2 ProcessAmount=%3 RevealValue=%4 RevealPane=7").arg(c[0]).arg(c[1]).arg(c[2]).arg(c[3]));
      placeSolid(ws, 7, 300, 300, 40, 40, Blue).Visible = QvFalse;
      mnu_RunInWindow_Click(ws);
      QList<int> got = c.mid(0, 4);
      while (got.size() < c.size()) {
        hoverAt(ws, 120, 120);
        picStage_MouseDown(ws, 1 + int(got.size()) / 2 % 2, 700, 500);
        got << ws.RunPane(2).Value << isSet(ws.RunPane(7).Visible);
        RunLoopPass(ws);
        QCOMPARE(stagePx(ws, 310, 310), got.last() ? Blue : Grey);
      }
      QCOMPARE(got, c);
      QVERIFY(!isSet(ws.Pane(7).Visible));  // only the run table changed
    }
  }

  void writingBox() {
    HeadlessSession s;
    Workspace& ws = s.ws;
    setFields(placeSolid(ws, 2, 100, 100, 80, 80, Red),
              "UseWriting=-1 UseURL=-1 WritingUnderline=-1 WritingFontSize=14 WritingWidth=150 WritingHeight=60 WritingMode=1")
        .WritingText = QStringLiteral("Hello there");
    placeSolid(ws, 3, 185, 100, 80, 80, Blue).UseURL = QvTrue;       // no Writing box: never a button
    placeSolid(ws, 4, 270, 100, 80, 80, Green).UseWriting = QvTrue;  // a box without an address
    mnu_RunInWindow_Click(ws);
    clickAt(ws, 130, 140);
    const WritingBoxState& box = ws.win.Text_Writing;
    const ControlState& url = ws.win.Button_Url;
    // The box takes the Pane's Writing settings and opens at the pointer, the
    // button under it.
    QVERIFY(box.Visible && box.Locked && !box.Bold && box.Underline && url.Visible && box.Text == "Hello there");
    QCOMPARE((QList<int>{box.Left, box.Top, box.Width, box.Height, box.FontSize, url.Left, url.Top, url.Width}),
             (QList<int>{130, 140, 150, 60, 14, 130, 200, 150}));
    // Editable; what the user typed is replaced at the next click.
    ws.RunPane(2).WritingMode = 0;
    ws.win.Text_Writing.Text = QStringLiteral("typed");
    clickAt(ws, 110, 105);
    QVERIFY(!box.Locked && box.Text == "Hello there");
    QCOMPARE(QPoint(box.Left, url.Top), QPoint(110, 165));
    // Over a Pane without a box it stays open; over no Pane it closes with
    // its button, a frame later.
    clickAt(ws, 200, 120);
    picStage_MouseMove(ws, 0, 500, 500);
    QVERIFY(box.Visible && url.Visible);
    RunLoopPass(ws);
    QVERIFY(!box.Visible && !url.Visible);
    // Straight on from a box with a button to one without an address.
    clickAt(ws, 130, 140);
    clickAt(ws, 300, 120);
    QVERIFY(box.Visible && !url.Visible && box.Left == 300);
    // A box still open when the run ends does not stay over the Board (the
    // pointer is over another Pane, so the last frame does not close it).
    clickAt(ws, 130, 140);
    hoverAt(ws, 200, 120);
    QVERIFY(box.Visible && url.Visible);
    stopAndEnd(ws);
    QVERIFY(!box.Visible && !url.Visible);
  }

  void soundAndUrl() {
    HeadlessSession s;
    Workspace& ws = s.ws;
    placeSolid(ws, 2, 100, 100, 50, 50, Red).URL = QStringLiteral("example.org/page");
    ws.Pane(2).Sound = DingSoundId;
    placeSolid(ws, 3, 300, 100, 50, 50, Blue).URL = QStringLiteral("http://example.org");
    placeSolid(ws, 4, 500, 100, 50, 50, Blue).Sound = 7;  // no such sound: nothing plays
    mnu_RunInWindow_Click(ws);
    clickAt(ws, 320, 120);  // no sound
    QVERIFY(s.platform.log.filter("Sound").isEmpty());
    OpenPaneUrl(ws);
    QCOMPARE(s.platform.lastUrl, QStringLiteral("http://http://example.org"));
    clickAt(ws, 520, 120);
    QVERIFY(s.platform.log.filter("Sound") == QStringList{"StopSound"} && ws.run.SoundData.isEmpty());
    clickAt(ws, 120, 120);
    clickAt(ws, 120, 120);  // a second click restarts it
    const QByteArray ding = LoadResData(DingSoundId, QStringLiteral("CUSTOM"));
    QVERIFY(s.platform.lastSound == ding && ws.run.SoundData == ding);
    QCOMPARE(s.platform.log.filter("Sound"), QStringList({"StopSound", "StopSound", "PlaySound|80856", "StopSound", "PlaySound|80856"}));
    OpenPaneUrl(ws);
    QCOMPARE(s.platform.lastUrl, QStringLiteral("http://example.org/page"));
  }
};

QTEST_MAIN(TestPointer)
#include "test_pointer.moc"
