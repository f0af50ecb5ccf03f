// Value kinds shared by every table: Integer, Long, Flag, Text, and colours.
#pragma once
#include <QColor>
#include <QString>
#include <cmath>
#include <cstdint>

namespace qv {

using Integer = int16_t;
using Long = int32_t;
// A Flag holds exactly QvTrue (-1) or QvFalse (0); only QvTrue counts as set.
using Flag = int16_t;
constexpr Flag QvTrue = -1;
constexpr Flag QvFalse = 0;
constexpr bool isSet(Flag f) { return f == QvTrue; }
constexpr Flag toFlag(bool b) { return b ? QvTrue : QvFalse; }

// Colours are Longs with red in the low byte, then green, then blue.
constexpr Long RGB(int r, int g, int b) { return Long(r & 255) | Long(g & 255) << 8 | Long(b & 255) << 16; }
inline QRgb toQRgb(Long c) { return qRgb(c & 255, (c >> 8) & 255, (c >> 16) & 255); }
inline Long fromQRgb(QRgb c) { return RGB(qRed(c), qGreen(c), qBlue(c)); }
inline QColor toQColor(Long c) { return QColor(toQRgb(c)); }

// Real-to-whole-number conversion as assignments do it: halves go to the
// even neighbour.
inline int roundHalfEven(double v) { return int(std::nearbyint(v)); }

// The character that ends every value of the project text: character 206
// of Windows-1252 (documents in another code page use that page's character
// 206 instead). No text of a project may hold it.
inline constexpr QChar FieldSeparator{char16_t(0x00CE)};
// The text without the separator character.
inline QString WithoutSeparator(QString text) { return text.remove(FieldSeparator); }

// The longest texts a project holds: the Pane dialog's limits for the Label
// and the Writing, and bounds of our own for the web address (longer ones
// do not work in browsers) and for names of pictures and fonts.
constexpr int MaxLabelLength = 99;
constexpr int MaxWritingLength = 500;
constexpr int MaxUrlLength = 2048;
constexpr int MaxNameLength = 1024;
// A text as a project can hold it: no separator, at most max characters.
inline QString ProjectTextOf(const QString& text, int max) { return WithoutSeparator(text).left(max); }

// The maker's web address, as the help, the readout and new Panes name it.
inline constexpr char MakerAddress[] = "quorvel.example.org";

constexpr Long Black = RGB(0, 0, 0);
constexpr Long White = RGB(255, 255, 255);
constexpr Long Grey = RGB(184, 184, 184);

}  // namespace qv
