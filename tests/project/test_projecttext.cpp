// The project text: token order, value forms, and where a damaged text
// stops the reading.
#include "project/ProjectText.h"
#include "project/RtfReader.h"
#include "project/RtfWriter.h"
#include "shell/Headless.h"

#include <QtTest>

using namespace qv;

namespace {

const QChar Sep(0x00CE);

// Gives every field of a record a value different from its default.
void fillPane(PaneRecord& r, int seed) {
  const auto& fields = PaneFields();
  for (size_t i = 0; i < fields.size(); ++i) {
    const PaneField& f = fields[i];
    const int k = int(i) + 1;
    switch (f.kind) {
      case FieldKind::Integer: f.integer(r) = Integer(seed % 2 ? seed * 100 + k : -32768 + seed + k); break;
      case FieldKind::Long: f.longValue(r) = seed % 2 ? 1000000 * seed + k : INT32_MIN + k; break;
      case FieldKind::Flag: f.integer(r) = QvTrue; break;
      case FieldKind::Text: f.text(r) = QStringLiteral("%1 %2").arg(f.name).arg(seed); break;
    }
  }
  r.Left = Integer(-15 - seed);
}

// The tokens of a workspace whose given slots hold filled Panes.
QStringList tokensOf(std::initializer_list<int> used) {
  HeadlessSession bench;
  for (int s : used) fillPane(bench.ws.PaneTable[size_t(s)], s);
  bench.ws.BoardSettings.BoardBackColor = RGB(1, 2, 3);
  bench.ws.BoardSettings.UseBackPicture = QvFalse;
  return SerializeProject(bench.ws).split(Sep);
}

// Where a reading stopped: the token's number, its field, slot and text.
QString stopOf(const ParseResult& r) {
  if (r.complete) return QStringLiteral("complete");
  return QStringLiteral("%1 %2 %3 [%4]").arg(r.failedToken).arg(r.failedField).arg(r.failedSlot).arg(r.failedText);
}

}  // namespace

class TestProjectText : public QObject {
  Q_OBJECT

 private slots:
  void emptyProjectWithStartDefaults() {
    HeadlessSession bench;
    bench.ws.project.PaneCount = 9;
    const QString text = SerializeProject(bench.ws);
    QCOMPARE(text, QStringList({"0", "none", "12105912", "16777215", "16777215", "0", "0", "0", "0", ""}).join(Sep));
    QCOMPARE(bench.ws.project.PaneCount, Integer(0));
    HeadlessSession other;
    const ParseResult r = ParseProject(other.ws, text);
    QVERIFY(r.complete);
    QCOMPARE(r.tokensRead, 9);
    QCOMPARE(other.ws.BoardSettings, bench.ws.BoardSettings);
  }

  void tokenOrderAndSwappedPairs() {
    HeadlessSession bench;
    PaneRecord& p = bench.ws.PaneTable[3];
    fillPane(p, 3);
    p.EffectType = 7;
    p.CelWidth = 123;
    bench.ws.BoardSettings.BoardBackColor = RGB(1, 2, 3);
    bench.ws.BoardSettings.UseBackPicture = QvFalse;
    const QStringList t = SerializeProject(bench.ws).split(Sep);
    QCOMPARE(t.size(), 1 + 61 + 8 + 1);  // the last separator leaves an empty tail
    QCOMPARE(t.mid(0, 3), (QStringList{"1", "3", "-18"}));
    QCOMPARE(t.mid(1 + 30, 3), (QStringList{"1", "7", QString::number(p.EffectDuration)}));  // Flashing first
    QCOMPARE(t.mid(1 + 37, 3), (QStringList{"1", "123", QString::number(p.CelHeight)}));  // FlipOnBounds first
    QCOMPARE(t.mid(1 + 59, 3), (QStringList{"1", "", "none"}));  // SpareFlag, the empty token, Board
    // Reading honours the same order: swapping a pair's tokens shifts values.
    QStringList swapped = t;
    swapped.swapItemsAt(1 + 30, 1 + 31);
    swapped.swapItemsAt(1 + 37, 1 + 38);
    HeadlessSession other;
    QVERIFY(ParseProject(other.ws, swapped.join(Sep)).complete);
    const PaneRecord& q = other.ws.PaneTable[3];
    QCOMPARE(q.Flashing, QvFalse);  // "7" is no 1
    QCOMPARE(q.EffectType, Integer(1));
    QCOMPARE(q.FlipOnBounds, QvFalse);
    QCOMPARE(q.CelWidth, Integer(1));
    QCOMPARE(q.CelHeight, p.CelHeight);
    QCOMPARE(other.ws.pointer.CurrentPane, 3);
    // UseBackPicture False: the Board takes the background colour at once;
    // with a Background in use it keeps its own.
    QCOMPARE(other.ws.surfaces.picStage.Image().pixel(5, 5), toQRgb(RGB(1, 2, 3)));
    bench.ws.BoardSettings.UseBackPicture = QvTrue;
    HeadlessSession keeps;
    QVERIFY(ParseProject(keeps.ws, SerializeProject(bench.ws)).complete);
    QCOMPARE(keeps.ws.surfaces.picStage.BackColor, Grey);
  }

  void flagsAndNumberForms() {
    QStringList t = tokensOf({5});
    // Flags: BlackTransparent, UseWriting, WritingBold, WritingItalic, WritingUnderline, PictureLoaded, UseURL.
    const int flagTokens[] = {5, 8, 14, 15, 16, 21, 23};
    const char* forms[] = {"0", "7", "1", "01", " 1 ", "-1", "yes"};
    for (int i = 0; i < 7; ++i) t[1 + flagTokens[i]] = forms[i];
    t[1 + 1] = " -32768";       // Left
    t[1 + 2] = "+32767";        // Top
    t[1 + 20] = "-2147483648";  // Sound
    HeadlessSession other;
    QVERIFY(ParseProject(other.ws, t.join(Sep) + "\r\n").complete);
    const PaneRecord& p = other.ws.PaneTable[5];
    const Flag flags[] = {p.BlackTransparent, p.UseWriting, p.WritingBold, p.WritingItalic, p.WritingUnderline,
                          p.PictureLoaded, p.UseURL};
    QCOMPARE(QList<Flag>(std::begin(flags), std::end(flags)),
             (QList<Flag>{QvFalse, QvFalse, QvTrue, QvTrue, QvTrue, QvFalse, QvFalse}));
    QCOMPARE(p.Left, Integer(-32768));
    QCOMPARE(p.Top, Integer(32767));
    QCOMPARE(p.Sound, Long(INT32_MIN));

  }

  void malformedTokensStopTheReading() {
    const QStringList t = tokensOf({5, 9});
    const struct { int token; const char* form; const char* stop; } cases[] = {
        {0, "x", "0 PaneCount -1 [x]"},        {2, "32768", "2 Left 5 [32768]"},
        {3, "-32769", "3 Top 5 [-32769]"},     {21, "2147483648", "21 Sound 5 [2147483648]"},
        {4, "1.5", "4 Width 5 [1.5]"},         {5, "", "5 Height 5 []"},
        {7, "- 1", "7 SheetX 5 [- 1]"},        {8, "12a", "8 SheetY 5 [12a]"},
        {62, "51", "62 Slot -1 [51]"},         {62, "-1", "62 Slot -1 [-1]"},
        {62, "", "62 Slot -1 []"},             {62, "99999", "62 Slot -1 [99999]"},
    };
    for (const auto& c : cases) {
      QStringList u = t;
      u[c.token] = c.form;
      HeadlessSession w;
      const ParseResult r = ParseProject(w.ws, u.join(Sep));
      QCOMPARE(stopOf(r), QString(c.stop));
      QVERIFY(r.remaining.startsWith(t[c.token + 1] + Sep + t[c.token + 2] + Sep));  // the rest stays unread
      QCOMPARE(CountPanesInUse(w.ws), c.token ? 1 : 0);
      QCOMPARE(w.ws.win.List_Zorder.size(), c.token < 62 ? 0 : 1);
    }
  }

  void truncatedTextKeepsWhatWasRead() {
    const QStringList t = tokensOf({2, 7, 12});
    PaneRecord full;
    fillPane(full, 2);
    // Cut after UseWriting of slot 7: the two texts read empty, then the
    // Long WritingForeColor fails.
    const int cut = 1 + 61 + 1 + 8;
    HeadlessSession other;
    ParseResult r = ParseProject(other.ws, t.mid(0, cut).join(Sep) + Sep);
    QCOMPARE(stopOf(r), QStringLiteral("%1 WritingForeColor 7 []").arg(cut + 2));
    QVERIFY(r.remaining.isEmpty());
    QCOMPARE(other.ws.PaneTable[2], full);
    const PaneRecord& p7 = other.ws.PaneTable[7];
    QVERIFY(isSet(p7.InUse) && isSet(p7.UseWriting));
    QCOMPARE(p7.SheetY, Integer(708));
    QCOMPARE(p7.WritingText + p7.Label, QString());
    QCOMPARE(p7.WritingForeColor, Long(0));  // the failing token is not stored
    QCOMPARE(other.ws.PaneTable[12], PaneRecord());
    QCOMPARE(other.ws.win.List_Zorder.size(), 1);
    QCOMPARE(other.ws.pointer.CurrentPane, 7);
    QCOMPARE(other.ws.BoardSettings, HeadlessSession().ws.BoardSettings);

    // Cut inside the BoardSettings: the name and the back colour are read.
    HeadlessSession third;
    third.ws.BoardSettings.LabelColor = RGB(9, 9, 9);
    r = ParseProject(third.ws, t.mid(0, 1 + 3 * 61 + 2).join(Sep) + Sep);
    QCOMPARE(stopOf(r), QStringLiteral("%1 LabelColor -1 []").arg(1 + 3 * 61 + 2));
    QCOMPARE(third.ws.BoardSettings.BoardBackColor, RGB(1, 2, 3));
    QCOMPARE(third.ws.BoardSettings.LabelColor, RGB(9, 9, 9));
    QCOMPARE(third.ws.surfaces.picStage.BackColor, Grey);
    QCOMPARE(third.ws.win.List_Zorder.size(), 3);
  }

  void slotZeroAndDuplicateSlots() {
    QStringList t = tokensOf({5, 6});
    t[1] = "0";
    t[1 + 61] = "0";  // read twice into the same slot; both are listed
    HeadlessSession other;
    QVERIFY(ParseProject(other.ws, t.join(Sep)).complete);
    QCOMPARE(other.ws.project.PaneCount, Integer(2));
    QCOMPARE(CountPanesInUse(other.ws), 0);  // slot 0 is no Pane of 1..50
    PaneRecord six;
    fillPane(six, 6);
    QCOMPARE(other.ws.PaneTable[0], six);
    QCOMPARE(other.ws.win.List_Zorder,
             (QVector<ZorderEntry>{{QStringLiteral("Label 5"), 0}, {QStringLiteral("Label 6"), 0}}));
  }

  void projectInAnotherCodePage() {
    // A document declaring Windows-1251: code 206 is the Cyrillic О there.
    HeadlessSession bench;
    fillPane(bench.ws.PaneTable[8], 1);
    bench.ws.PaneTable[8].Label = QString::fromUtf8("Ζ");
    QByteArray doc = WriteRtf(SerializeProject(bench.ws));
    doc.replace("ansicpg1252", "ansicpg1251");
    const RtfReadResult file = ReadRtf(doc);
    QCOMPARE(file.codePage, 1251);
    QVERIFY(file.text.contains(QChar(0x041E)));
    HeadlessSession wrong, other;
    QVERIFY(!ParseProject(wrong.ws, file.text).complete);
    QVERIFY(ParseProject(other.ws, file.text, SeparatorForCodePage(file.codePage)).complete);
    QCOMPARE(other.ws.PaneTable[8].Label, QString::fromUtf8("Ζ"));
    QCOMPARE(other.ws.PaneTable[8].CelCount, bench.ws.PaneTable[8].CelCount);
  }
};

QTEST_GUILESS_MAIN(TestProjectText)
#include "test_projecttext.moc"
