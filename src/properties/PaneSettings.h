// Pane fields set from outside the dialog, as the dialog sets them (our
// addition, for quorvel-cli set): the dialog is loaded for the Pane, each
// FIELD=VALUE goes to the field's control as a user would give it, through
// the control's own rules (the number boxes' keys, length, maximum and
// minimum, a list's entries, an option pair, a text's length), and the
// dialog's accept stores them. There is no second set of rules.
#pragma once
#include "shell/Workspace.h"

namespace qv {

struct FieldSetting {
  enum class Result { Stored, Clamped, Refused } result = Result::Stored;
  QString field, value;
  // What the control does with the value, when it changed or refused it.
  QString rule;
};

// Gives one value to the control of a field of the loaded dialog: kept as
// given, changed by the control's rules, or refused (the control stays as
// it was). Sound takes "none", "Ding!", an own sound's name or a sound file.
FieldSetting SetPaneControl(Workspace& ws, const QString& field, const QString& value);

// Sets fields of the Pane in slot n (in use) from "FIELD=VALUE" texts:
// Picture=FILE first, as Load a Picture loads one; then the dialog is
// loaded for the Pane, the other values go to their controls in order, and
// unless one was refused, its accept stores them. A Writing field needs the
// Writing "Active" and URL the URL "Active" when they are stored, as in the
// dialog (typing a WritingText makes the Writing "Active").
QVector<FieldSetting> SetPaneFields(Workspace& ws, int slot, const QStringList& assignments);

}  // namespace qv
