// Code page tables and decoders for the rich-text codec.
#include "project/RtfCodePages.h"

#include <QStringDecoder>

namespace qv {
namespace {

// Windows-1252 bytes 0x80..0x9F; the rest of the page equals Latin-1.
constexpr char16_t Cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QByteArray codecName(int cp) {
  switch (cp) {
    case 437: return "IBM437";
    case 850: return "IBM850";
    case 866: return "IBM866";
    case 932: return "Shift_JIS";
    case 10000: return "macintosh";
    default: return "windows-" + QByteArray::number(cp);
  }
}

QString decode1252(const QByteArray& bytes) {
  QString out;
  out.reserve(bytes.size());
  for (char b : bytes) out.append(QChar(Cp1252Char(static_cast<unsigned char>(b))));
  return out;
}

}  // namespace

int Cp1252Byte(char16_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return c;
  for (int i = 0; i < 32; ++i)
    if (Cp1252High[i] == c) return 0x80 + i;
  return -1;
}

char16_t Cp1252Char(unsigned char b) { return b >= 0x80 && b < 0xA0 ? Cp1252High[b - 0x80] : b; }

bool SupportedCodePage(int cp) {
  if (cp >= 1250 && cp <= 1258) return true;
  switch (cp) {
    case 874: case 932: case 936: case 949: case 950:
    case 437: case 850: case 866: case 10000:
      return true;
    default:
      return false;
  }
}

int CodePageOfCharset(int charset) {
  switch (charset) {
    case 77: return 10000;
    case 128: return 932;
    case 129: return 949;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    case 254: return 437;
    case 255: return 850;
    default: return 0;
  }
}

CodePageDecoder::CodePageDecoder() = default;
CodePageDecoder::~CodePageDecoder() = default;

QString CodePageDecoder::decode(int cp, const QByteArray& bytes) {
  if (cp == DefaultCodePage || !SupportedCodePage(cp)) return decode1252(bytes);
  auto& dec = decoders_[cp];
  if (!dec)
    dec = std::make_unique<QStringDecoder>(codecName(cp).constData(), QStringDecoder::Flag::Stateless);
  if (!dec->isValid()) return decode1252(bytes);
  return dec->decode(bytes);
}

QChar SeparatorForCodePage(int cp) {
  CodePageDecoder decoder;
  const QString s = decoder.decode(cp, QByteArray(1, char(206)));
  if (s.size() != 1 || s[0] == QChar::ReplacementCharacter || s[0].unicode() < 0x20) return QChar(0x00CE);
  return s[0];
}

}  // namespace qv
