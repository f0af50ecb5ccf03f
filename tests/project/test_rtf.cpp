// The rich-text codec: RichEdit's own documents, hand-made documents in the
// style of other writers, code pages, Unicode, and malformed input.
#include "project/RtfReader.h"
#include "project/RtfWriter.h"

#include <QtTest>

using namespace qv;

namespace {

// What a Windows RichEdit control saves for the empty project.
const QByteArray RichEditEmptyProject =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fswiss\\fcharset0 MS Sans "
    "Serif;}}\r\n\\viewkind4\\uc1\\pard\\f0\\fs17 "
    "0\\'cenone\\'ce12105912\\'ce16777215\\'ce16777215\\'ce0\\'ce0\\'ce0\\'ce0\\'ce\\par\r\n}\r\n";
const QString EmptyProjectText = QString::fromUtf8("0ÎnoneÎ12105912Î16777215Î16777215Î0Î0Î0Î0Î");

QString read(const QByteArray& doc) {
  const RtfReadResult r = ReadRtf(doc);
  return r.ok ? r.text : QStringLiteral("<error: %1>").arg(r.error);
}

}  // namespace

class TestRtf : public QObject {
  Q_OBJECT

 private slots:
  void richEditProjectFiles() {
    const RtfReadResult r = ReadRtf(RichEditEmptyProject);
    QVERIFY(r.ok);
    QCOMPARE(r.text, EmptyProjectText);
    QCOMPARE(r.codePage, 1252);
    // Some saved files end with a NUL byte, others carry junk after the brace.
    QCOMPARE(read(RichEditEmptyProject + QByteArray(1, '\0')), EmptyProjectText);
    QCOMPARE(read(RichEditEmptyProject + "{\\b junk}trailing"), EmptyProjectText);

    QCOMPARE(WriteRtf(EmptyProjectText), RichEditEmptyProject);
    QCOMPARE(WriteRtf(QString("a\\b{c}d")).split(' ').last(), QByteArray("a\\\\b\\{c\\}d\\par\r\n}\r\n"));
    QVERIFY(WriteRtf("x\r\ny\nz\tw\rv").contains("x\\par y\\line z\\tab w\\'0dv\\par"));
    // Windows-1252 characters above 0x7F as \'hh, the rest as signed \uN?.
    QVERIFY(WriteRtf(QString::fromUtf8("é€™")).contains("\\'e9\\'80\\'99\\par"));
    QVERIFY(WriteRtf(QString::fromUtf8("Ж😀")).contains("\\u1046?\\u-10179?\\u-8704?\\par"));
  }

  void roundTripsAnyText() {
    const QStringList texts = {
        "", QString::fromUtf8("Ζωή 日本 😀"), QString::fromUtf8("€‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ ¡ÿÎ"),
        QString("\\{}\\par \\'ce {\\rtf1}"), QString("lines\nand\n\nbreaks\n"),
        QString("\n leading blank after a break\ttab\t"), QString("a\r\nb\rc\n\r\n\r\r\n\n"),
        QString("\r\n"), QString("ends with a break\r\n"),
        QString("controls \x01\x1f\x7f and C1 ") + QChar(0x80) + QChar(0x81) + QChar(0x9D),
        QString("?digits after \\u: ") + QChar(0x0416) + "123", QString(QChar(0xD83D)) + "unpaired",
    };
    for (const QString& t : texts) QCOMPARE(read(WriteRtf(t)), t);
    // A paragraph mark reads as CR LF, a line break as LF, as a RichEdit
    // control on Windows gives them.
    QCOMPARE(read("{\\rtf1 a\\par b\\line c\\\r\nd\\par}"), QString("a\r\nb\nc\r\nd"));
  }

  void skipsUnicodeFallbacks() {
    QCOMPARE(read("{\\rtf1\\ansi\\uc1 a\\u1046?b\\uc2\\u1046\\'3f\\'3fc{\\uc0\\u1046}d\\u1046xy e}"),
             QString::fromUtf8("aЖbЖcЖdЖ e"));
    // A fallback cut short by a group end; surrogate pairs as two \u words;
    // a control word counts as one fallback character.
    QCOMPARE(read("{\\rtf1\\uc3\\u1046{x}yz\\uc1\\u-10179?\\u-8704?}"), QString::fromUtf8("Жxyz😀"));
    QCOMPARE(read("{\\rtf1\\uc1\\u1046\\'3f\\u1047\\par q}"), QString::fromUtf8("ЖЗq"));
  }

  void readsWordPadStyleDocuments() {
    const QByteArray doc =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat\\deflang1033{\\fonttbl{\\f0\\fnil\\fcharset0 "
        "Calibri;}{\\f1\\fnil\\fcharset2 Symbol;}}\r\n"
        "{\\colortbl ;\\red255\\green0\\blue0;}\r\n"
        "{\\stylesheet{ Normal;}{\\s1 heading 1;}}\r\n"
        "{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \r\n"
        "\\pard\\sa200\\sl276\\slmult1\\f0\\fs22\\lang9 Hello \\cf1\\b World\\b0\\cf0\\par\r\n"
        "Second\\tab line\\line third\\par\r\n"
        "{\\info{\\author Me}{\\*\\company Us}}{\\*\\bkmkstart b1}{\\*\\bkmkend b1}"
        "{\\field{\\*\\fldinst HYPERLINK \"http://x\"}{\\fldrslt link}} "
        "{\\pict\\wmetafile8\\picw10 0100ff{\\*\\blipuid 00}}{\\*\\shppict{\\pict\\bin4 }}{{}} "
        "{\\nonshppict{\\pict 00}}{\\header head}"
        "\\'e9t\\'e9\\~\\{x\\}\\emdash\\lquote q\\rquote\\unknownword12 \\\\\\par\r\n"
        "}";
    QCOMPARE(read(doc), QString::fromUtf8("Hello World\r\nSecond\tline\nthird\r\nlink  été\u00A0{x}—‘q’\\"));
  }

  void decodesTheDocumentsCodePage() {
    const RtfReadResult cyr = ReadRtf(
        "{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}\\f0 1\\'ce\\'cf\\'e0\\par}");
    QCOMPARE(cyr.codePage, 1251);
    QCOMPARE(cyr.text, QString::fromUtf8("1ОПа"));
    const std::pair<int, ushort> separators[] = {
        {1251, 0x041E}, {1252, 0xCE}, {1253, 0x039E}, {437, 0x256C}, {12345, 0xCE}};
    for (auto [page, sep] : separators) QCOMPARE(SeparatorForCodePage(page), QChar(sep));
    // A font's charset decides over the document's page.
    const RtfReadResult mixed = ReadRtf(
        "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fcharset0 Arial;}{\\f1\\fcharset161 Arial "
        "Greek;}{\\f2\\fcharset204 Arial Cyr;}}\\f0\\'e1{\\f1\\'e1}\\'e1\\f2\\'ce}");
    QCOMPARE(mixed.text, QString::fromUtf8("áαáО"));
    QCOMPARE(mixed.codePage, 1252);
    QCOMPARE(ReadRtf("{\\rtf1\\ansi\\deff1{\\fonttbl{\\f1\\fcharset204 Arial Cyr;}}\\'ce}").codePage, 1251);
    // \pc documents, unknown pages, and double-byte pages pairing \'hh with the next byte.
    QCOMPARE(read("{\\rtf1\\pc \\'ce\\'82}"), QString::fromUtf8("╬é"));
    QCOMPARE(read("{\\rtf1\\ansi\\ansicpg99999 \\'ce\\'80}"), QString::fromUtf8("Î€"));
    QCOMPARE(read("{\\rtf1\\ansi\\ansicpg932 \\'93\\'fa\\'96\\{\\'82a}"), QString::fromUtf8("日本Ｂ"));
  }

  void rejectsAndSurvivesMalformedInput() {
    for (const QByteArray bad : {QByteArray(), QByteArray("hello"), QByteArray("{rtf1}"), QByteArray("\\rtf1")}) {
      const RtfReadResult r = ReadRtf(bad);
      QVERIFY(!r.ok && !r.error.isEmpty());
    }
    const std::pair<QByteArray, QString> cases[] = {
        {"\xEF\xBB\xBF \r\n{\\rtf1 bom}", "bom"},
        {"{\\rtf1 abc{\\b def", "abcdef"},  // truncated
        {"{\\rtf1 a\\'4", "a\x04"},
        {"{\\rtf1 a\\", "a"},
        {"{\\rtf1 a\\bin99999999999 }}}", "a"},
        {"{\\rtf1 a\\u99999999999999999999 b\\u-99999999999 c\\uc-5\\u65 d}", "aAd"},
        {"{\\rtf1 a}}}}b", "a"},
        {"{\\rtf1 " + QByteArray(200000, '{') + "deep" + QByteArray(200000, '}') + "}", "deep"},
        {"{\\rtf1 \\" + QByteArray(100000, 'w') + " x}", "x"},
    };
    for (const auto& [doc, text] : cases) QCOMPARE(read(doc), text);
  }
};

QTEST_GUILESS_MAIN(TestRtf)
#include "test_rtf.moc"
