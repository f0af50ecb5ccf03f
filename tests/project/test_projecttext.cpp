// The project text: token order, value forms, the round trip through the
// rich-text codec, and where a damaged text stops the reading.
#include "project/ProjectText.h"
#include "project/RtfReader.h"
#include "project/RtfWriter.h"
#include "support/FakePlatform.h"

#include <QtTest>

using namespace qv;

namespace {

const QChar Sep(0x00CE);

// Gives every field of a record a value different from its default; Flags
// are all True, or alternate when alternateFlags is set.
void fillPane(PaneRecord& r, int seed, bool alternateFlags = false) {
  const auto& fields = PaneFields();
  for (size_t i = 0; i < fields.size(); ++i) {
    const PaneField& f = fields[i];
    const int k = int(i) + 1;
    switch (f.kind) {
      case FieldKind::Integer: f.integer(r) = Integer(seed % 2 ? seed * 100 + k : -32768 + seed + k); break;
      case FieldKind::Long: f.longValue(r) = seed % 2 ? 1000000 * seed + k : INT32_MIN + k; break;
      case FieldKind::Flag: f.integer(r) = toFlag(!alternateFlags || k % 2); break;
      case FieldKind::Text:
        f.text(r) = QString::fromUtf8("%1 %2 Ζωή 日本 😀 {\\} é\t").arg(f.name).arg(seed);
        break;
    }
  }
  r.InUse = QvTrue;
  r.Left = Integer(-15 - seed);
  r.WritingText = QStringLiteral("line one\nline two %1").arg(seed);
}

BoardSettingsRecord unusualBoard() {
  BoardSettingsRecord b;
  b.BackPictureName = QString::fromUtf8("Back_Ζωή.bmp");
  b.BoardBackColor = RGB(1, 2, 3);
  b.LabelColor = RGB(250, 0, 7);
  b.SelectionColor = 0;
  b.UseBackPicture = QvFalse;
  b.WirePanes = QvTrue;
  b.FloatPanes = QvTrue;
  b.BoardLocked = QvTrue;
  return b;
}

QStringList tokens(const QString& text) { return text.split(Sep); }

}  // namespace

class TestProjectText : public QObject {
  Q_OBJECT

 private slots:
  void emptyProjectWithStartDefaults() {
    TestBench bench;
    bench.ws.PaneCount = 9;
    const QString text = SerializeProject(bench.ws);
    QCOMPARE(text, QStringList({"0", "none", "12105912", "16777215", "16777215", "0", "0", "0", "0", ""}).join(Sep));
    QCOMPARE(bench.ws.PaneCount, Integer(0));

    TestBench other;
    const ParseResult r = ParseProject(other.ws, text);
    QVERIFY(r.complete);
    QCOMPARE(r.tokensRead, 9);
    QCOMPARE(CountPanesInUse(other.ws), 0);
    QVERIFY(other.ws.win.List_Zorder.isEmpty());
    QCOMPARE(other.ws.BoardSettings, bench.ws.BoardSettings);
  }

  void tokenOrderAndSwappedPairs() {
    QCOMPARE(PaneTokenFields().size(), size_t(59));
    QCOMPARE(QString(PaneTokenFields()[29]->name), QString("Flashing"));
    QCOMPARE(QString(PaneTokenFields()[36]->name), QString("FlipOnBounds"));
    QCOMPARE(QString(PaneTokenFields()[58]->name), QString("SpareFlag"));

    TestBench bench;
    PaneRecord& p = bench.ws.PaneTable[3];
    fillPane(p, 1);
    p.Flashing = QvTrue;
    p.EffectType = 7;
    p.EffectDuration = 9;
    p.FlipOnBounds = QvTrue;
    p.CelWidth = 123;
    p.CelHeight = 45;
    const QString text = SerializeProject(bench.ws);
    const QStringList t = tokens(text);
    QCOMPARE(t.size(), 1 + 61 + 8 + 1);  // the last separator leaves an empty tail
    QCOMPARE(t[0], QString("1"));
    QCOMPARE(t[1], QString("3"));
    QCOMPARE(t[1 + 1], QString("-16"));  // Left
    QCOMPARE(t[1 + 30], QString("1"));   // Flashing
    QCOMPARE(t[1 + 31], QString("7"));   // EffectType
    QCOMPARE(t[1 + 32], QString("9"));   // EffectDuration
    QCOMPARE(t[1 + 37], QString("1"));   // FlipOnBounds
    QCOMPARE(t[1 + 38], QString("123"));  // CelWidth
    QCOMPARE(t[1 + 39], QString("45"));   // CelHeight
    QCOMPARE(t[1 + 60], QString());
    QCOMPARE(t[1 + 61], QString("none"));
    QVERIFY(text.contains(QString(Sep) + "1" + Sep + Sep + "none" + Sep));

    // Reading honours the same order: swapping a pair's tokens shifts values.
    QStringList swapped = t;
    swapped.swapItemsAt(1 + 30, 1 + 31);
    swapped.swapItemsAt(1 + 37, 1 + 38);
    TestBench other;
    QVERIFY(ParseProject(other.ws, swapped.join(Sep)).complete);
    const PaneRecord& q = other.ws.PaneTable[3];
    QCOMPARE(q.Flashing, QvFalse);  // "7" is no 1
    QCOMPARE(q.EffectType, Integer(1));
    QCOMPARE(q.FlipOnBounds, QvFalse);
    QCOMPARE(q.CelWidth, Integer(1));
    QCOMPARE(q.CelHeight, Integer(45));
  }

  void panesRoundTripThroughTheFile() {
    TestBench bench;
    const int used[] = {2, 7, 12, 50};
    for (int s : used) fillPane(bench.ws.PaneTable[size_t(s)], s, s == 12);
    bench.ws.BoardSettings = unusualBoard();
    const QString text = SerializeProject(bench.ws);
    QCOMPARE(bench.ws.PaneCount, Integer(4));
    // Every group ends with its empty token: two separators in a row.
    QCOMPARE(text.count(QString(Sep) + Sep), 4);

    const RtfReadResult file = ReadRtf(WriteRtf(text));
    QVERIFY(file.ok);
    QCOMPARE(file.text, text);

    TestBench other;
    const ParseResult r = ParseProject(other.ws, file.text, SeparatorForCodePage(file.codePage));
    QVERIFY(r.complete);
    QCOMPARE(r.tokensRead, 1 + 4 * 61 + 8);
    QCOMPARE(other.ws.PaneCount, Integer(4));
    for (int s = 0; s <= MaxPanes; ++s) {
      if (s == 2 || s == 7 || s == 12 || s == 50)
        QVERIFY2(other.ws.PaneTable[size_t(s)] == bench.ws.PaneTable[size_t(s)], qPrintable(QString::number(s)));
      else
        QVERIFY2(other.ws.PaneTable[size_t(s)] == PaneRecord(), qPrintable(QString::number(s)));
    }
    QCOMPARE(other.ws.PaneTable[2].Left, Integer(-17));
    QCOMPARE(other.ws.BoardSettings.BackPictureName, bench.ws.BoardSettings.BackPictureName);
    QCOMPARE(other.ws.BoardSettings.BoardLocked, QvTrue);
    QCOMPARE(other.ws.BoardSettings.LabelColor, RGB(250, 0, 7));
    const QVector<ZorderEntry> z = other.ws.win.List_Zorder;
    QCOMPARE(z.size(), 4);
    for (int i = 0; i < 4; ++i) QCOMPARE(z[i], (ZorderEntry{bench.ws.PaneTable[size_t(used[i])].Label, used[i]}));
    QCOMPARE(other.ws.CurrentPane, 50);
    // UseBackPicture False: the Board takes the background colour at once.
    QCOMPARE(other.ws.picStage.BackColor, RGB(1, 2, 3));
    QCOMPARE(other.ws.picStage.Image().pixel(5, 5), toQRgb(RGB(1, 2, 3)));

    // With a Background picture in use the Board keeps its colour.
    bench.ws.BoardSettings.UseBackPicture = QvTrue;
    TestBench third;
    QVERIFY(ParseProject(third.ws, SerializeProject(bench.ws)).complete);
    QCOMPARE(third.ws.BoardSettings.UseBackPicture, QvTrue);
    QCOMPARE(third.ws.picStage.BackColor, Grey);
  }

  void flagsAndNumberForms() {
    TestBench bench;
    fillPane(bench.ws.PaneTable[5], 3);
    QStringList t = tokens(SerializeProject(bench.ws));
    // Flags: BlackTransparent, UseWriting, WritingBold, WritingItalic, WritingUnderline, PictureLoaded, UseURL.
    const int flagTokens[] = {5, 8, 14, 15, 16, 21, 23};
    const char* forms[] = {"0", "7", "1", "01", " 1 ", "-1", "yes"};
    for (int i = 0; i < 7; ++i) t[1 + flagTokens[i]] = forms[i];
    t[1 + 1] = " -32768";  // Left
    t[1 + 2] = "+32767";   // Top
    t[1 + 20] = "-2147483648";  // Sound
    TestBench other;
    QVERIFY(ParseProject(other.ws, t.join(Sep) + "\r\n").complete);
    const PaneRecord& p = other.ws.PaneTable[5];
    QCOMPARE(p.BlackTransparent, QvFalse);
    QCOMPARE(p.UseWriting, QvFalse);
    QCOMPARE(p.WritingBold, QvTrue);
    QCOMPARE(p.WritingItalic, QvTrue);
    QCOMPARE(p.WritingUnderline, QvTrue);
    QCOMPARE(p.PictureLoaded, QvFalse);
    QCOMPARE(p.UseURL, QvFalse);
    QCOMPARE(p.Left, Integer(-32768));
    QCOMPARE(p.Top, Integer(32767));
    QCOMPARE(p.Sound, Long(INT32_MIN));

    // Out of range or malformed numbers stop the reading at that token.
    const struct { int token; const char* form; const char* field; } bad[] = {
        {1, "32768", "Left"}, {2, "-32769", "Top"}, {20, "2147483648", "Sound"},
        {3, "1.5", "Width"}, {4, "", "Height"}, {6, "- 1", "SheetX"}, {7, "12a", "SheetY"},
    };
    for (const auto& b : bad) {
      QStringList u = tokens(SerializeProject(bench.ws));
      u[1 + b.token] = b.form;
      TestBench w;
      const ParseResult r = ParseProject(w.ws, u.join(Sep));
      QVERIFY(!r.complete);
      QCOMPARE(r.failedToken, 1 + b.token);
      QCOMPARE(r.failedField, QString(b.field));
      QCOMPARE(r.failedSlot, 5);
      QCOMPARE(r.failedText, QString(b.form));
    }
  }

  void truncatedTextKeepsWhatWasRead() {
    TestBench bench;
    for (int s : {2, 7, 12}) fillPane(bench.ws.PaneTable[size_t(s)], s);
    bench.ws.BoardSettings = unusualBoard();
    const QStringList t = tokens(SerializeProject(bench.ws));

    // Cut after UseWriting of slot 7: the two texts read empty, then the
    // Long WritingForeColor fails.
    const int cut = 1 + 61 + 1 + 8;
    TestBench other;
    other.ws.BoardSettings.LabelColor = RGB(9, 9, 9);
    const BoardSettingsRecord before = other.ws.BoardSettings;
    ParseResult r = ParseProject(other.ws, t.mid(0, cut).join(Sep) + Sep);
    QVERIFY(!r.complete);
    QCOMPARE(r.failedToken, cut + 2);
    QCOMPARE(r.failedField, QString("WritingForeColor"));
    QCOMPARE(r.failedSlot, 7);
    QVERIFY(r.remaining.isEmpty());
    QVERIFY(other.ws.PaneTable[2] == bench.ws.PaneTable[2]);
    const PaneRecord& p7 = other.ws.PaneTable[7];
    QCOMPARE(p7.InUse, QvTrue);
    QCOMPARE(p7.SheetY, bench.ws.PaneTable[7].SheetY);
    QCOMPARE(p7.UseWriting, QvTrue);
    QCOMPARE(p7.WritingText, QString());
    QCOMPARE(p7.WritingForeColor, Long(0));
    QCOMPARE(p7.Label, QString());
    QCOMPARE(other.ws.PaneTable[12], PaneRecord());
    QCOMPARE(other.ws.win.List_Zorder.size(), 1);
    QCOMPARE(other.ws.CurrentPane, 7);
    QCOMPARE(other.ws.BoardSettings, before);

    // Cut inside the BoardSettings: the name and the back colour are read.
    const int board = 1 + 3 * 61;
    TestBench third;
    third.ws.BoardSettings.LabelColor = RGB(9, 9, 9);
    r = ParseProject(third.ws, t.mid(0, board + 2).join(Sep) + Sep);
    QVERIFY(!r.complete);
    QCOMPARE(r.failedField, QString("LabelColor"));
    QCOMPARE(r.failedSlot, -1);
    QCOMPARE(third.ws.BoardSettings.BackPictureName, bench.ws.BoardSettings.BackPictureName);
    QCOMPARE(third.ws.BoardSettings.BoardBackColor, RGB(1, 2, 3));
    QCOMPARE(third.ws.BoardSettings.LabelColor, RGB(9, 9, 9));
    QCOMPARE(third.ws.BoardSettings.WirePanes, QvFalse);
    QCOMPARE(third.ws.picStage.BackColor, Grey);
    QCOMPARE(third.ws.win.List_Zorder.size(), 3);

    // What follows the failing token stays unread.
    QStringList u = t;
    u[1 + 61 + 3] = "x";
    TestBench fourth;
    r = ParseProject(fourth.ws, u.join(Sep));
    QCOMPARE(r.failedField, QString("Width"));
    QVERIFY(r.remaining.startsWith(t[1 + 61 + 4] + Sep + t[1 + 61 + 5] + Sep));
  }

  void slotNumbersOutOfRangeStop() {
    for (const char* slot : {"51", "-1", "", "x", "99999"}) {
      TestBench bench;
      fillPane(bench.ws.PaneTable[4], 1);
      fillPane(bench.ws.PaneTable[9], 2);
      QStringList t = tokens(SerializeProject(bench.ws));
      t[1 + 61] = slot;  // the second group
      TestBench other;
      const ParseResult r = ParseProject(other.ws, t.join(Sep));
      QVERIFY(!r.complete);
      QCOMPARE(r.failedField, QString("Slot"));
      QCOMPARE(r.failedToken, 1 + 61);
      QCOMPARE(CountPanesInUse(other.ws), 1);
      QCOMPARE(other.ws.win.List_Zorder.size(), 1);
      QCOMPARE(other.ws.CurrentPane, 4);
    }
    // A bad count stops before anything is read; a zero slot is a slot.
    TestBench bench;
    ParseResult r = ParseProject(bench.ws, QString("x") + Sep);
    QCOMPARE(r.failedToken, 0);
    QCOMPARE(r.failedField, QString("PaneCount"));
    fillPane(bench.ws.PaneTable[1], 1);
    QStringList t = tokens(SerializeProject(bench.ws));
    t[1] = "0";
    TestBench other;
    QVERIFY(ParseProject(other.ws, t.join(Sep)).complete);
    QCOMPARE(other.ws.PaneTable[0].InUse, QvTrue);
    QCOMPARE(other.ws.win.List_Zorder.first().ItemData, 0);
  }

  void duplicateSlotIsReadTwice() {
    TestBench bench;
    fillPane(bench.ws.PaneTable[5], 1);
    fillPane(bench.ws.PaneTable[6], 2);
    QStringList t = tokens(SerializeProject(bench.ws));
    t[1 + 61] = "5";
    TestBench other;
    QVERIFY(ParseProject(other.ws, t.join(Sep)).complete);
    QCOMPARE(other.ws.PaneCount, Integer(2));
    QCOMPARE(CountPanesInUse(other.ws), 1);
    PaneRecord expected = bench.ws.PaneTable[6];
    QCOMPARE(other.ws.PaneTable[5], expected);
    QCOMPARE(other.ws.win.List_Zorder.size(), 2);
    QCOMPARE(other.ws.win.List_Zorder[0], (ZorderEntry{bench.ws.PaneTable[5].Label, 5}));
    QCOMPARE(other.ws.win.List_Zorder[1], (ZorderEntry{expected.Label, 5}));
  }

  void projectInAnotherCodePage() {
    // A document declaring Windows-1251: code 206 is the Cyrillic О there.
    TestBench bench;
    fillPane(bench.ws.PaneTable[8], 1);
    bench.ws.PaneTable[8].Label = QString::fromUtf8("Ζ");
    QByteArray doc = WriteRtf(SerializeProject(bench.ws));
    doc.replace("ansicpg1252", "ansicpg1251");
    const RtfReadResult file = ReadRtf(doc);
    QCOMPARE(file.codePage, 1251);
    QVERIFY(file.text.contains(QChar(0x041E)));
    TestBench wrong;
    QVERIFY(!ParseProject(wrong.ws, file.text).complete);
    TestBench other;
    QVERIFY(ParseProject(other.ws, file.text, SeparatorForCodePage(file.codePage)).complete);
    QCOMPARE(other.ws.PaneTable[8].Label, QString::fromUtf8("Ζ"));
    QCOMPARE(other.ws.PaneTable[8].CelCount, bench.ws.PaneTable[8].CelCount);
  }
};

QTEST_GUILESS_MAIN(TestProjectText)
#include "test_projecttext.moc"
