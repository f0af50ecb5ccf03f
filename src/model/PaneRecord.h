// One Pane: its fields as model/PaneFieldList.h describes them, in their
// declared order, and the field table made from the same list.
#pragma once
#include "model/PaneFieldList.h"
#include "model/Types.h"

#include <array>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

namespace qv {

constexpr int MaxPanes = 50;
constexpr int SlotCount = 51;  // slots 0..50; Panes live in 1..50

// A slot number outside 0..50: the operation in progress stops.
struct SlotOutOfRange : std::runtime_error {
  explicit SlotOutOfRange(int slot)
      : std::runtime_error("slot " + std::to_string(slot) + " is outside 0..50"), slot(slot) {}
  int slot;
};

inline bool validSlot(int n) { return n >= 0 && n < SlotCount; }

// The member types of the field kinds.
using IntegerField = Integer;
using LongField = Long;
using FlagField = Flag;
using TextField = QString;

struct PaneRecord {
#define QV_PANE_MEMBER(Name, Kind, Start, Added, Token, Page, Control) Kind##Field Name = Start;
  QV_PANE_FIELDS(QV_PANE_MEMBER)
#undef QV_PANE_MEMBER

  bool operator==(const PaneRecord&) const = default;
};

#define QV_PANE_COUNT(...) +1
constexpr int PaneFieldCount = 0 QV_PANE_FIELDS(QV_PANE_COUNT);
#undef QV_PANE_COUNT

enum class FieldKind { Integer, Long, Flag, Text };

// A field of PaneRecord by name, with its kind, its place in the record,
// its place in the project text (0: none) and whether the page carries it.
struct PaneField {
  const char* name;
  FieldKind kind;
  std::variant<Integer PaneRecord::*, Long PaneRecord::*, QString PaneRecord::*> member;
  int token;
  bool page;

  Integer& integer(PaneRecord& r) const { return r.*std::get<0>(member); }
  Long& longValue(PaneRecord& r) const { return r.*std::get<1>(member); }
  QString& text(PaneRecord& r) const { return r.*std::get<2>(member); }
  const QString& text(const PaneRecord& r) const { return r.*std::get<2>(member); }
  // The field as a number (Integer, Long and Flag fields).
  qint64 number(const PaneRecord& r) const;
  // The most characters a Text field holds (Types.h).
  int maxLength() const;
  void setNumber(PaneRecord& r, qint64 v) const;
};

// The fields in declared order.
const std::array<PaneField, PaneFieldCount>& PaneFields();
// The fields the project text holds, in its order.
const std::vector<const PaneField*>& PaneTokenFields();
// A field by name; nullptr when there is none.
const PaneField* PaneFieldByName(const QString& name);

}  // namespace qv
