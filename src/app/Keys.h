// Translates Qt key events into the key and character codes the command
// handlers work with (F1 = 112, Esc = 27, Ctrl+A = character 1, ...).
#pragma once
#include <Qt>

class QKeyEvent;

namespace qv {

// The key-down code of a key event, or 0 for keys without one.
int keyDownCode(const QKeyEvent& e);
// The keys held, as the engine's Shift argument: 1 Shift, 2 Ctrl, 4 Alt.
int keyShift(const QKeyEvent& e);
int modifierMask(Qt::KeyboardModifiers m);
// The character code a key press produces, or 0 when it produces none.
int keyPressCode(const QKeyEvent& e);

}  // namespace qv
