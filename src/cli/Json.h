// JSON views of the tables, with the fields' own names.
#pragma once
#include "shell/Workspace.h"

#include <QJsonArray>
#include <QJsonObject>

namespace qv {

// One object per slot in use: "Slot" and every field by name.
QJsonArray PanesJson(const std::array<PaneRecord, SlotCount>& table);
QJsonObject BoardSettingsJson(const BoardSettingsRecord& b);
QJsonArray ZorderJson(const QVector<ZorderEntry>& zorder);

}  // namespace qv
