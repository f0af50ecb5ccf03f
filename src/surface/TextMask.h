// A text as the Board prints it: the pixels its glyphs cover, drawn without
// antialiasing, so that printing it is one colour over whatever lies below
// and the web page can print it the same way from a picture.
#pragma once
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QString>

namespace qv {

struct TextMask {
  // 255 where the text covers a pixel, 0 elsewhere (Grayscale8); null when
  // nothing is covered.
  QImage mask;
  // Where the mask's top-left pixel lies from the drawing position.
  QPoint offset;
  // How far the drawing position moves down after the text.
  int lineHeight = 0;
};

// The text in the font, its top at the drawing position. Fonts exist only in
// a GUI process; elsewhere the mask is empty.
TextMask RenderTextMask(const QFont& font, const QString& text);

}  // namespace qv
