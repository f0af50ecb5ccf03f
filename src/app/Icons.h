// The program's own small pictures, painted in code: the twelve 16 x 16
// command-strip icons, the four Fast Icons and the window icon.
#pragma once
#include <QPixmap>

namespace qv {

// Icon of Img_IconStrip(index), 0..11; an empty pixmap outside. Painted for
// a screen of that device pixel ratio: 16 x 16 device-independent pixels,
// sharp at 200% (our addition).
QPixmap stripIcon(int index, qreal ratio = 1);
// Icon of Img_FastIcons(index), 0..3; an empty pixmap outside.
QPixmap fastIcon(int index, qreal ratio = 1);
// The program's window icon.
QPixmap appIcon(int size = 32);

}  // namespace qv
