// The Board-wide settings saved after the Panes, with their start defaults.
#pragma once
#include "model/Types.h"

namespace qv {

struct BoardSettingsRecord {
  QString BackPictureName = QStringLiteral("none");
  QString BackPicturePath = QStringLiteral("none");  // not saved
  Long BoardBackColor = Grey;
  Long LabelColor = White;
  Long SelectionColor = White;
  Flag UseBackPicture = QvFalse;
  Flag WirePanes = QvFalse;
  Flag FloatPanes = QvFalse;
  Flag BoardLocked = QvFalse;
  bool operator==(const BoardSettingsRecord&) const = default;
};

}  // namespace qv
