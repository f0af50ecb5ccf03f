// The project text (token order, value forms, where a damaged text stops
// the reading) and its rich-text codec: RichEdit's own documents, documents
// in the style of other writers, code pages, Unicode, malformed input.
#include "project/ProjectText.h"
#include "project/RtfReader.h"
#include "project/RtfWriter.h"
#include "support/Fixtures.h"

using namespace qv;

namespace {

const QChar Sep(0x00CE);

// The tokens of a workspace whose given slots hold filled Panes.
QStringList tokensOf(std::initializer_list<int> used) {
  HeadlessSession s;
  for (int n : used) fillPane(s.ws.project.PaneTable[size_t(n)], n);
  s.ws.project.BoardSettings.BoardBackColor = RGB(1, 2, 3);
  return SerializeProject(s.ws).split(Sep);
}

// Where a reading stopped: the token's number, its field, slot and text.
QString stopOf(const ParseResult& r) {
  if (r.complete) return QStringLiteral("complete");
  return QStringLiteral("%1 %2 %3 [%4]").arg(r.failedToken).arg(r.failedField).arg(r.failedSlot).arg(r.failedText);
}

// What a Windows RichEdit control saves for the empty project.
const QByteArray RichEditEmptyProject = readFile(QFINDTESTDATA("data/richedit-empty.QV1"));
const QString EmptyProjectText = QString::fromUtf8("0ÎnoneÎ12105912Î16777215Î16777215Î0Î0Î0Î0Î");

QString read(const QByteArray& doc) {
  const RtfReadResult r = ReadRtf(doc);
  return r.ok ? r.text : QStringLiteral("<error: %1>").arg(r.error);
}

}  // namespace

class TestProjectText : public QObject {
  Q_OBJECT

 private slots:
  // The empty project with the start defaults, and RichEdit's file of it.
  void emptyProject() {
    HeadlessSession s, other;
    s.ws.project.PaneCount = 9;
    const QString text = SerializeProject(s.ws);
    QVERIFY(text == EmptyProjectText && s.ws.project.PaneCount == 0);
    const ParseResult r = ParseProject(other.ws, text);
    QVERIFY(r.complete && r.tokensRead == 9 && other.ws.project.BoardSettings == s.ws.project.BoardSettings);
    QCOMPARE(WriteRtf(text), RichEditEmptyProject);
    const RtfReadResult file = ReadRtf(RichEditEmptyProject);
    QVERIFY(file.ok && file.text == EmptyProjectText && file.codePage == 1252);
    // UseBackPicture False: the Board takes the background colour at once;
    // with a Background in use it keeps its own.
    HeadlessSession plain, keeps;
    s.ws.project.BoardSettings.BoardBackColor = RGB(1, 2, 3);
    QVERIFY(ParseProject(plain.ws, SerializeProject(s.ws)).complete && plain.ws.surfaces.picStage.Image().pixel(5, 5) == toQRgb(RGB(1, 2, 3)));
    s.ws.project.BoardSettings.UseBackPicture = QvTrue;
    QVERIFY(ParseProject(keeps.ws, SerializeProject(s.ws)).complete && keeps.ws.surfaces.picStage.BackColor == Grey);
  }

  // A token given another form (data/tokens.txt): read as a value, or the
  // reading stops there and leaves the rest unread. (The tokens' order is
  // pinned by the example projects, examples.regenerate, and test_cli's
  // golden dumps.)
  void tokenForms() {
    const QStringList t = tokensOf({5, 9});
    for (const QStringList& f : fieldRows(QFINDTESTDATA("data/tokens.txt"), 22)) {
      const int token = f[0].toInt();
      QStringList u = t;
      u[token] = f[1].startsWith('"') ? f[1].mid(1, f[1].size() - 2) : f[1];
      HeadlessSession w;
      const ParseResult r = ParseProject(w.ws, u.join(Sep) + "\r\n");
      if (f[2].contains('=')) {
        QVERIFY(r.complete);
        QCOMPARE(QString::number(PaneFieldByName(qPrintable(f[2].section('=', 0, 0)))->number(w.ws.Pane(5))), f[2].section('=', 1));
        continue;
      }
      QCOMPARE(stopOf(r), f[2]);
      QVERIFY(r.remaining.startsWith(t[token + 1] + Sep + t[token + 2] + Sep));
      QCOMPARE(CountPanesInUse(w.ws), token ? 1 : 0);
      QCOMPARE(w.ws.project.List_Zorder.size(), token < 62 ? 0 : 1);
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
    QCOMPARE(other.ws.project.PaneTable[2], full);
    // The failing token is not stored; the two texts before it read empty.
    const PaneRecord& p7 = other.ws.project.PaneTable[7];
    QVERIFY(isSet(p7.InUse) && isSet(p7.UseWriting) && p7.SheetY == 708 && p7.WritingForeColor == 0);
    QCOMPARE(p7.WritingText + p7.WritingFontName + p7.Label, QString());
    QVERIFY(other.ws.project.PaneTable[12] == PaneRecord() && other.ws.project.List_Zorder.size() == 1 && other.ws.pointer.CurrentPane == 7);
    QCOMPARE(other.ws.project.BoardSettings, BoardSettingsRecord());

    // Cut inside the BoardSettings: the name and the back colour are read.
    HeadlessSession third;
    third.ws.project.BoardSettings.LabelColor = RGB(9, 9, 9);
    r = ParseProject(third.ws, t.mid(0, 1 + 3 * 61 + 2).join(Sep) + Sep);
    QCOMPARE(stopOf(r), QStringLiteral("%1 LabelColor -1 []").arg(1 + 3 * 61 + 2));
    QVERIFY(third.ws.project.BoardSettings.BoardBackColor == RGB(1, 2, 3) && third.ws.project.BoardSettings.LabelColor == RGB(9, 9, 9));
    QVERIFY(third.ws.surfaces.picStage.BackColor == Grey && third.ws.project.List_Zorder.size() == 3);
  }

  // A slot listed again is damage: its first group wins, the later ones
  // are read past, reported and not counted. Slot 0 is read like any other.
  void slotZeroAndRepeatedSlots() {
    QStringList t = tokensOf({5, 6, 7, 8});
    t[1] = t[1 + 61] = "0";
    t[1 + 2 * 61] = t[1 + 3 * 61] = "0";
    HeadlessSession other;
    const ParseResult r = ParseProject(other.ws, t.join(Sep));
    QVERIFY(r.complete && other.ws.project.BoardSettings.BoardBackColor == RGB(1, 2, 3));
    QCOMPARE(r.damage, QStringList(3, "Slot 0 is listed again; that group was not used."));
    QVERIFY(other.ws.project.PaneCount == 1 && CountPanesInUse(other.ws) == 0);  // slot 0 is no Pane of 1..50
    PaneRecord five;
    fillPane(five, 5);
    QCOMPARE(other.ws.project.PaneTable[0], five);
    QCOMPARE(other.ws.project.List_Zorder, (QVector<ZorderEntry>{{five.Label, 0}}));
  }

  // No text of a saved project holds the separator, and none is longer than
  // its field allows: the text always reads back whole. Texts read from a
  // file longer than that are cut, and the cut is reported.
  void textsFitTheirFields() {
    HeadlessSession s, other;
    PaneRecord& p = s.ws.project.PaneTable[4];
    fillPane(p, 4);
    for (const PaneField& f : PaneFields())
      if (f.kind == FieldKind::Text) f.text(p) = Sep + QString(f.maxLength(), 'x') + Sep + "y";
    s.ws.project.BoardSettings.BackPictureName = QString(MaxNameLength, 'b') + Sep + "c";
    const ParseResult r = ParseProject(other.ws, SerializeProject(s.ws));
    QVERIFY(r.complete && r.damage.isEmpty());
    for (const PaneField& f : PaneFields())
      if (f.kind == FieldKind::Text) QCOMPARE(f.text(other.ws.project.PaneTable[4]), QString(f.maxLength(), 'x'));
    QCOMPARE(other.ws.project.BoardSettings.BackPictureName, QString(MaxNameLength, 'b'));
    QStringList t = tokensOf({3});
    t[1 + 47] = QString(100000, 'L');
    t[1 + 61] = QString(MaxNameLength + 1, 'n');
    HeadlessSession third;
    const ParseResult cut = ParseProject(third.ws, t.join(Sep));
    QCOMPARE(cut.damage, QStringList({"The Label of slot 3 holds 100000 characters; it was cut to 99.",
                                      "The BackPictureName holds 1025 characters; it was cut to 1024."}));
    QVERIFY(cut.complete && third.ws.project.PaneTable[3].Label == QString(99, 'L') && third.ws.project.List_Zorder[0].Text == QString(99, 'L'));
  }

  void projectInAnotherCodePage() {
    // A document declaring Windows-1251: code 206 is the Cyrillic О there.
    HeadlessSession s;
    fillPane(s.ws.project.PaneTable[8], 1);
    s.ws.project.PaneTable[8].Label = QString::fromUtf8("Ζ");
    QByteArray doc = WriteRtf(SerializeProject(s.ws));
    doc.replace("ansicpg1252", "ansicpg1251");
    const RtfReadResult file = ReadRtf(doc);
    QVERIFY(file.text.contains(QChar(0x041E)));
    HeadlessSession wrong, other;
    QVERIFY(!ParseProject(wrong.ws, file.text).complete);
    QVERIFY(ParseProject(other.ws, file.text, SeparatorForCodePage(file.codePage)).complete);
    QVERIFY(other.ws.project.PaneTable[8].Label == s.ws.project.PaneTable[8].Label && other.ws.project.PaneTable[8].CelCount == s.ws.project.PaneTable[8].CelCount);
  }

  void writesAndReadsBackAnyText() {
    // data/texts.json: texts of every kind of character and line end.
    const QJsonArray texts = QJsonDocument::fromJson(readFile(QFINDTESTDATA("data/texts.json"))).array();
    QCOMPARE(texts.size(), 11);
    for (const QJsonValue t : texts) QCOMPARE(read(WriteRtf(t.toString())), t.toString());
    QCOMPARE(read(WriteRtf(QString(QChar(0xD83D)) + "unpaired")), QString(QChar(0xD83D)) + "unpaired");
    QCOMPARE(WriteRtf(QString("a\\b{c}d")).split(' ').last(), QByteArray("a\\\\b\\{c\\}d\\par\r\n}\r\n"));
    QVERIFY(WriteRtf("x\r\ny\nz\tw\rv").contains("x\\par y\\line z\\tab w\\'0dv\\par"));
    // Windows-1252 characters above 0x7F as \'hh, the rest as signed \uN?.
    QVERIFY(WriteRtf(QString::fromUtf8("é€™")).contains("\\'e9\\'80\\'99\\par"));
    QVERIFY(WriteRtf(QString::fromUtf8("Ж😀")).contains("\\u1046?\\u-10179?\\u-8704?\\par"));
  }

  // Documents read to their text: as RichEdit and WordPad write them, and
  // the rows of data/reads.json.
  void reads_data() {
    QTest::addColumn<QByteArray>("doc");
    QTest::addColumn<QString>("text");
    const auto row = [](const char* name, const QByteArray& doc, const QString& text) { QTest::newRow(name) << doc << text; };
    // Some saved files end with a NUL byte, others carry junk after the brace.
    row("NUL after", RichEditEmptyProject + QByteArray(1, '\0'), EmptyProjectText);
    row("junk after", RichEditEmptyProject + "{\\b junk}trailing", EmptyProjectText);
    row("WordPad", readFile(QFINDTESTDATA("data/wordpad.rtf")), "Hello World\r\nSecond\tline\nthird\r\nlink  été\u00A0{x}—‘q’\\");
    // data/reads.json: [name, document, text] rows. Line ends, Unicode
    // fallbacks, a character of each code page declared by the document or
    // by its font's charset (a font's page holding inside its group only),
    // malformed documents, and what is no rich text at all.
    const QJsonArray rows = QJsonDocument::fromJson(readFile(QFINDTESTDATA("data/reads.json"))).array();
    QCOMPARE(rows.size(), 67);
    for (const QJsonValue r : rows)
      row(qPrintable(r[0].toString()), r[1].toString().toUtf8(), r[2].toString());
    row("deep", "{\\rtf1 " + QByteArray(200000, '{') + "deep" + QByteArray(200000, '}') + "}", "deep");
    row("long word", "{\\rtf1 \\" + QByteArray(100000, 'w') + " x}", "x");
  }

  void reads() {
    QFETCH(QByteArray, doc);
    QFETCH(QString, text);
    QCOMPARE(read(doc), text);
  }

  void documentCodePageAndSeparator() {
    // The default font's charset decides the document's page.
    QCOMPARE(ReadRtf("{\\rtf1\\ansi\\ansicpg1251\\deff0 x}").codePage, 1251);
    QCOMPARE(ReadRtf("{\\rtf1\\ansi\\deff1{\\fonttbl{\\f1\\fcharset204 Arial Cyr;}}x}").codePage, 1251);
    QCOMPARE(ReadRtf("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f1\\fcharset204 Arial Cyr;}}x}").codePage, 1252);
    const std::pair<int, ushort> separators[] = {{1251, 0x041E}, {1252, 0xCE}, {1253, 0x039E}, {437, 0x256C}, {12345, 0xCE}};
    for (auto [page, sep] : separators) QCOMPARE(SeparatorForCodePage(page), QChar(sep));
  }

  // The reader's memory grows with what a document changes, not with its
  // braces: 32 MiB of "{" take less than their size, 8 MiB of groups that
  // change the font each time a few times theirs (three, and the
  // sanitizer's guard bytes).
  void deepGroupsTakeLittleMemory() {
    const auto peakKiB = [] {
      const QByteArray status = readFile("/proc/self/status");
      return status.mid(status.indexOf("VmHWM:") + 6).trimmed().split(' ').first().toLongLong();
    };
    for (const QByteArray& group : {QByteArray("{"), QByteArray("{\\f1{\\f2")}) {
      const qsizetype size = group.size() == 1 ? 32 << 20 : 8 << 20;
      const QByteArray doc = "{\\rtf1 " + group.repeated(size / group.size());
      QVERIFY(writeFile("/proc/self/clear_refs", "5"));  // the peak starts again from here
      const qint64 before = peakKiB();
      QVERIFY(ReadRtf(doc).ok);
      QVERIFY2(peakKiB() - before < (group.size() == 1 ? 1 : 6) * size / 1024, qPrintable(QString::number(peakKiB() - before)));
    }
  }
};

QTEST_GUILESS_MAIN(TestProjectText)
#include "test_projecttext.moc"
