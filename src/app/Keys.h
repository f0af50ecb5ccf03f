// Translates Qt key events into the key and character codes the command
// handlers work with (F1 = 112, Esc = 27, Ctrl+A = character 1, ...).
#pragma once

class QKeyEvent;

namespace qv {

// The key-down code of a key event, or 0 for keys without one.
int keyDownCode(const QKeyEvent& e);
// The character code a key press produces, or 0 when it produces none.
int keyPressCode(const QKeyEvent& e);

}  // namespace qv
