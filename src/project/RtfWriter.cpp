// The rich-text writer.
#include "project/RtfWriter.h"

#include "project/RtfCodePages.h"

namespace qv {
namespace {

constexpr char Header[] =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033"
    "{\\fonttbl{\\f0\\fswiss\\fcharset0 MS Sans Serif;}}\r\n"
    "\\viewkind4\\uc1\\pard\\f0\\fs17 ";
constexpr char Trailer[] = "\\par\r\n}\r\n";

void appendHexByte(QByteArray& out, int b) {
  static constexpr char digits[] = "0123456789abcdef";
  out += "\\'";
  out += digits[(b >> 4) & 15];
  out += digits[b & 15];
}

}  // namespace

QByteArray WriteRtf(const QString& plainText) {
  QByteArray out(Header);
  out.reserve(out.size() + plainText.size() * 2 + 16);
  for (qsizetype i = 0; i < plainText.size(); ++i) {
    const char16_t c = plainText[i].unicode();
    if (c == '\r' && i + 1 < plainText.size() && plainText[i + 1] == u'\n') {
      // Line breaks keep their exact form: CR LF is a paragraph mark, a
      // lone LF a line break, a lone CR an escaped character.
      ++i;
      out += "\\par ";
    } else if (c == '\n') {
      out += "\\line ";
    } else if (c == '\r') {
      appendHexByte(out, '\r');
    } else if (c == '\t') {
      out += "\\tab ";
    } else if (c == '\\' || c == '{' || c == '}') {
      out += '\\';
      out += char(c);
    } else if (c >= 0x20 && c < 0x7F) {
      out += char(c);
    } else if (const int b = Cp1252Byte(c); b >= 0) {
      appendHexByte(out, b);
    } else {
      out += "\\u" + QByteArray::number(int(int16_t(c))) + '?';
    }
  }
  out += Trailer;
  return out;
}

}  // namespace qv
