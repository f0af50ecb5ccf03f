// Key-down codes follow the classic virtual key table; character codes are
// what the key types, with Ctrl+letter giving the control characters 1..26.
#include "app/Keys.h"

#include "shell/Command.h"

#include <QKeyEvent>

namespace qv {

int keyDownCode(const QKeyEvent& e) {
  const int k = e.key();
  if (k >= Qt::Key_F1 && k <= Qt::Key_F24) return 112 + (k - Qt::Key_F1);
  if (k >= Qt::Key_A && k <= Qt::Key_Z) return k;  // 65..90
  if (k >= Qt::Key_0 && k <= Qt::Key_9) return k;  // 48..57
  switch (k) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab: case Qt::Key_Backtab: return 9;
    case Qt::Key_Return: case Qt::Key_Enter: return 13;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Pause: return 19;
    case Qt::Key_CapsLock: return 20;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Space: return 32;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    // With Shift, X reports "[" and "]" as "{" and "}" (US layout).
    case Qt::Key_BracketLeft: case Qt::Key_BraceLeft: return 219;
    case Qt::Key_BracketRight: case Qt::Key_BraceRight: return 221;
    default: return 0;
  }
}

int keyShift(const QKeyEvent& e) { return modifierMask(e.modifiers()); }

int modifierMask(Qt::KeyboardModifiers m) {
  return (m & Qt::ShiftModifier ? ShiftMask : 0) | (m & Qt::ControlModifier ? CtrlMask : 0) |
         (m & Qt::AltModifier ? AltMask : 0);
}

int keyPressCode(const QKeyEvent& e) {
  const int k = e.key();
  if (e.modifiers() & Qt::ControlModifier) {
    if (k >= Qt::Key_A && k <= Qt::Key_Z) return k - Qt::Key_A + 1;
    return 0;
  }
  switch (k) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab: return 9;
    case Qt::Key_Return: case Qt::Key_Enter: return 13;
    case Qt::Key_Escape: return 27;
    default: break;
  }
  const QString text = e.text();
  if (text.isEmpty()) return 0;
  const char16_t c = text.at(0).unicode();
  return c >= 32 && c != 127 ? int(c) : 0;
}

}  // namespace qv
