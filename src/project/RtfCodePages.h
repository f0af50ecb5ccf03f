// The ANSI code pages of rich-text documents: Windows-1252 done here, the
// other pages through Qt's converters, and the project separator per page.
#pragma once
#include <QByteArray>
#include <QString>

#include <map>
#include <memory>

class QStringDecoder;

namespace qv {

constexpr int DefaultCodePage = 1252;

// The Windows-1252 byte for a character, or -1 when the page has none.
int Cp1252Byte(char16_t c);
// The character of a Windows-1252 byte (the five unassigned bytes map to the
// C1 control of the same number, as Windows does).
char16_t Cp1252Char(unsigned char b);

// Whether a code page is one the reader decodes (1250-1258, 874, 932, 936,
// 949, 950, 437, 850, 866, 10000); any other page is read as 1252.
bool SupportedCodePage(int cp);
// The code page of an RTF \fcharset number, or 0 when the font uses the
// document's page (ANSI, default, symbol and unknown charsets).
int CodePageOfCharset(int charset);

// Decodes byte runs in a code page, keeping one converter per page in use.
class CodePageDecoder {
 public:
  CodePageDecoder();
  ~CodePageDecoder();
  QString decode(int cp, const QByteArray& bytes);

 private:
  std::map<int, std::unique_ptr<QStringDecoder>> decoders_;
};

// The project file's field separator as read from a document in code page
// cp: the character that code 206 stands for there (U+00CE in 1252, U+041E
// in 1251); U+00CE when 206 is no character of its own in that page.
QChar SeparatorForCodePage(int cp);

}  // namespace qv
