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
// One line of play's trace: {"Frame":F,"Panes":[{"Slot":N,"Left":..},..]} with
// TraceFields of every Pane in use in slots 1..50, as the page's rules write it.
QByteArray TraceLine(int frame, const std::array<PaneRecord, SlotCount>& table);

}  // namespace qv
