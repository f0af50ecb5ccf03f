// The Pane dialog's control of each Pane field, as the field list names it:
// the dialog's load and store and quorvel-cli's set work through them.
#pragma once
#include "model/PaneRecord.h"
#include "shell/Workspace.h"

#include <variant>

namespace qv {

struct Control {
  enum Kind { None, Own, Box, List, Option, Text, Look } kind = None;
  int box = 0;
  ListState PaneDialogState::*list = nullptr;
  int PaneDialogState::*option = nullptr;
  QString PaneDialogState::*text = nullptr;
  std::variant<QString WritingLook::*, double WritingLook::*, bool WritingLook::*, Long WritingLook::*> look;
  // Stored only while the Writing is "Active".
  bool writing = false;
};

// Each field's control, in the field table's order.
const std::array<Control, PaneFieldCount>& FieldControls();

// Runs the handler a user's choice in the list runs (none for most lists).
void ListChosen(Workspace& ws, ListState PaneDialogState::*list);

}  // namespace qv
