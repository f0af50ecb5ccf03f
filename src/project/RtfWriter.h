// Writes plain text as the rich-text document a Windows RichEdit control
// saves in its default mode: Windows-1252, one MS Sans Serif font.
#pragma once
#include <QByteArray>
#include <QString>

namespace qv {

// The whole document for plainText. Windows-1252 characters above 0x7F are
// written as \'hh, every other character outside the page as \uN? (UTF-16
// units, N signed); line breaks ("\r\n", "\r" or "\n") as \par, tabs as \tab.
QByteArray WriteRtf(const QString& plainText);

}  // namespace qv
