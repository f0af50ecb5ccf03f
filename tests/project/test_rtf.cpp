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
    QVERIFY(WriteRtf("x\r\ny\nz\tw").contains("x\\par y\\par z\\tab w\\par"));
    // Windows-1252 characters above 0x7F as \'hh, the rest as signed \uN?.
    QVERIFY(WriteRtf(QString::fromUtf8("é€™")).contains("\\'e9\\'80\\'99\\par"));
    QVERIFY(WriteRtf(QString::fromUtf8("Ж😀")).contains("\\u1046?\\u-10179?\\u-8704?\\par"));
  }

  void roundTripsAnyText() {
    const QStringList texts = {
        "", QString::fromUtf8("Ζωή 日本 😀"), QString::fromUtf8("€‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ ¡ÿÎ"),
        QString("\\{}\\par \\'ce {\\rtf1}"), QString("lines\nand\n\nbreaks\n"),
        QString("\n leading blank after a break\ttab\t"),
        QString("controls \x01\x1f\x7f and C1 ") + QChar(0x80) + QChar(0x81) + QChar(0x9D),
        QString("?digits after \\u: ") + QChar(0x0416) + "123", QString(QChar(0xD83D)) + "unpaired",
    };
    for (const QString& t : texts) QCOMPARE(read(WriteRtf(t)), t);
    // Carriage returns are paragraph breaks and come back as "\n".
    QCOMPARE(read(WriteRtf("a\r\nb\rc")), QString("a\nb\nc"));
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
    QCOMPARE(read(doc), QString::fromUtf8("Hello World\nSecond\tline\nthird\nlink  été\u00A0{x}—‘q’\\"));
  }

  void codePages_data() {
    QTest::addColumn<QByteArray>("doc");
    QTest::addColumn<QString>("text");
    // A character of each page that differs from Windows-1252 and from the
    // other pages, declared by the document or by its font's charset.
    const struct { int charset, page; const char *hex, *text; } pages[] = {
        {222, 874, "a1", "ก"},    {238, 1250, "8c", "Ś"},  {204, 1251, "80", "Ђ"}, {0, 1252, "80", "€"},
        {161, 1253, "a2", "Ά"},   {162, 1254, "d0", "Ğ"},  {177, 1255, "a4", "₪"}, {178, 1256, "81", "پ"},
        {186, 1257, "8e", "ˇ"},   {163, 1258, "d5", "Ơ"},  {254, 437, "9b", "¢"},  {255, 850, "9b", "ø"},
        {0, 866, "80", "А"},      {77, 10000, "80", "Ä"},  {128, 932, "93fa", "日"}, {134, 936, "c8d5", "日"},
        {129, 949, "c0cf", "일"}, {136, 950, "a4e9", "日"}};
    for (const auto& p : pages) {
      QByteArray bytes;
      for (int i = 0; p.hex[i]; i += 2) bytes += "\\'" + QByteArray(p.hex + i, 2);
      QTest::addRow("ansicpg%d", p.page) << "{\\rtf1\\ansi\\ansicpg" + QByteArray::number(p.page) + " " + bytes + "}" << QString::fromUtf8(p.text);
      if (p.charset)
        QTest::addRow("fcharset%d", p.charset) << "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fcharset0 A;}{\\f1\\fcharset" +
                                                     QByteArray::number(p.charset) + " B;}}\\f1 " + bytes + "}" << QString::fromUtf8(p.text);
    }
    const std::pair<const char*, const char*> others[] = {
        {"{\\rtf1\\ansi \\'e9}", "é"},  {"{\\rtf1\\mac \\'8e}", "é"},
        {"{\\rtf1\\pc \\'9b}", "¢"},    {"{\\rtf1\\pca \\'9b}", "ø"},
        {"{\\rtf1\\ansi\\ansicpg1251\\pc \\'c0}", "А"}, {"{\\rtf1\\ansi\\ansicpg99999 \\'ce\\'80}", "Î€"},
        {"{\\rtf1\\ansi\\ansicpg932 \\'93\\'fa\\'96\\{\\'82a}", "日本Ｂ"},
        {"{\\rtf1{\\fonttbl{\\f0\\cpg1251 A;}{\\f1\\fcharset2 S;}{\\f2\\fcharset999 U;}}\\f0\\'c0\\f1\\'c0\\f2\\'c0}", "АÀÀ"},
        // The font's page holds inside its group only; \\plain returns to the default font.
        {"{\\rtf1\\deff0{\\fonttbl{\\f0\\fcharset0 A;}{\\f1\\fcharset161 G;}}\\'e1{\\f1\\'e1}\\'e1\\f1\\'e1\\plain\\'e1}", "áαáαá"}};
    for (const auto& [doc, text] : others) QTest::newRow(doc) << QByteArray(doc) << QString::fromUtf8(text);
  }

  void codePages() {
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

  void rejectsAndSurvivesMalformedInput() {
    for (const QByteArray bad : {QByteArray(), QByteArray("hello"), QByteArray("{rtf1}"), QByteArray("\\rtf1")}) {
      const RtfReadResult r = ReadRtf(bad);
      QVERIFY(!r.ok && !r.error.isEmpty());
    }
    const std::pair<QByteArray, QString> cases[] = {
        {"\xEF\xBB\xBF{\\rtf1 bom}", "bom"},
        {" \t\r\n{\\rtf1 blanks}", "blanks"},
        {"{\\rtf1 \\'C9\\'4z}", "É\x04z"},
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
