// The pointer on the Board. In Design (presses, drags and the layer list
// are in test_stagemouse): the Fast Icon zone.
// In RunMode: the Box and Label effects, which Pane a press acts on, the
// Value process and the reveal, the Writing box with its URL button, the
// sound and the web address. Printing a Label needs the GUI application's
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

  void mouseEffects() {
    // 1 "Box" (the default) and 2 draw the Box around the Cel shown; 2 and 3
    // print the Label from (X + 2, Y + 2); 0 shows nothing. Each shows a
    // 40 x 40 picture: effect 1's Pane has 2 x 2 Cels.
    for (int effect : {1, 2, 3, 0}) {
      HeadlessSession s;
      Workspace& ws = s.ws;
      ws.project.BoardSettings.SelectionColor = Blue;
      ws.project.BoardSettings.LabelColor = RGB(0, 255, 0);
      PaneRecord& p = placeSolid(ws, 3, 100, 100, effect == 1 ? 80 : 40, effect == 1 ? 80 : 40, Red);
      if (effect == 1) makeCels(ws, 3, 2, 2, 99);
      p.MouseEffect = Integer(effect);
      p.Label = QStringLiteral("HI");
      mnu_RunInWindow_Click(ws);
      hoverAt(ws, 130, 130);
      QVERIFY(isSet(ws.RunPane(3).MouseOver));
      const int labelled = greenIn(ws, QRect(101, 101, 38, 38));
      QVERIFY2(effect == 2 || effect == 3 ? labelled > 4 : labelled == 0, qPrintable(QString::number(effect)));
      QCOMPARE(greenIn(ws, QRect(100, 100, 40, 2)) + greenIn(ws, QRect(100, 100, 2, 40)), 0);
      // The Box: top, left, bottom one row under the Cel and right one
      // column beside it; lines leave out their end point, so (X + W, Y + H)
      // ends the last two.
      QImage box = boardModel({800, 600}, Grey, {{{100, 100, 41, 41}, Blue}, {{101, 101, 39, 39}, Red}});
      fill(box, 140, 140, 1, 1, Grey);
      QImage got = ws.surfaces.picStage.Image().copy(98, 98, 90, 90);
      BitBlt(got, 3, 3, 39, 39, box, 101, 101, RasterOp::SRCCOPY);  // the Label was checked above
      if (effect == 1 || effect == 2) QCOMPARE(got, box.copy(98, 98, 90, 90));
      else QCOMPARE(stagePx(ws, 100, 100), Red);
    }
  }

  void pressActsOnHoveredPane() {
    HeadlessSession s;
    Workspace& ws = s.ws;
    // Slots 1 and 2 free; slot 3 moves right with Speed 3 for every Value.
    setMove(setFields(placeSolid(ws, 3, 100, 100, 50, 50, Red), "LifeStartValue=1 LifeEndValue=99"), 2, 3, false);
    placeSolid(ws, 5, 300, 100, 50, 50, Blue);
    placeSolid(ws, 4, 500, 100, 50, 50, Green).Visible = QvFalse;
    for (int n : {3, 4, 5}) ws.Pane(n).Process = 1;
    mnu_RunInWindow_Click(ws);
    const auto values = [&] { return QList<int>{ws.RunPane(3).Value, ws.RunPane(4).Value, ws.RunPane(5).Value}; };
    clickAt(ws, 110, 120);  // Left 103 after this pass
    QCOMPARE(values(), (QList<int>{21, 20, 20}));
    // Any button clicks; the press does not move the pointer.
    picStage_MouseDown(ws, 2, 700, 500);
    QCOMPARE(values(), (QList<int>{22, 20, 20}));
    QCOMPARE(QPointF(ws.pointer.MouseX, ws.pointer.MouseY), QPointF(110, 120));
    // Over an invisible Pane and over free space nothing happens.
    clickAt(ws, 520, 120);
    clickAt(ws, 700, 500);
    QCOMPARE(values(), (QList<int>{22, 20, 20}));
    // The hover test of the latest frame decides, at the Pane's run place.
    clickAt(ws, 349.6, 149.6);  // (349.6, 150) lies on the edge: inside
    QCOMPARE(values(), (QList<int>{22, 20, 21}));
    passes(ws, 5);
    clickAt(ws, 105, 120);  // slot 3's design place, long left behind
    clickAt(ws, 170, 120);
    QCOMPARE(values(), (QList<int>{23, 20, 21}));
  }

  void valueProcess() {
    // Slot 2 reveals slot 7 when its Value meets the Reveal Value; a Value of
    // 0 is spent: no change, no reveal. Values stay within 0..99. The cases
    // are in data/values.txt.
    for (const QList<int>& c : numberRows(QFINDTESTDATA("data/values.txt"), 7)) {
      HeadlessSession s;
      Workspace& ws = s.ws;
      setFields(placeSolid(ws, 2, 100, 100, 50, 50, Red),
                QString("Process=%1 StartValue=%2 ProcessAmount=%3 RevealValue=%4 RevealPane=7").arg(c[0]).arg(c[1]).arg(c[2]).arg(c[3]));
      placeSolid(ws, 7, 300, 300, 40, 40, Blue).Visible = QvFalse;
      mnu_RunInWindow_Click(ws);
      QList<int> got = c.mid(0, 4);
      while (got.size() < c.size()) {
        clickAt(ws, 120, 120);
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
