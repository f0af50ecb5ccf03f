// One Pane: the 60 fields in their declared order, plus a field table that
// names each field and its kind for the project file and the JSON dump.
#pragma once
#include "model/Types.h"

#include <array>
#include <stdexcept>
#include <string>
#include <variant>

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

struct PaneRecord {
  Flag InUse = QvFalse;
  Integer Left = 0;
  Integer Top = 0;
  Integer Width = 0;
  Integer Height = 0;
  Flag BlackTransparent = QvFalse;
  Integer SheetX = 0;
  Integer SheetY = 0;
  Flag UseWriting = QvFalse;
  QString WritingText;
  QString WritingFontName;
  Long WritingForeColor = 0;
  Long WritingBackColor = 0;
  Integer WritingFontSize = 0;
  Flag WritingBold = QvFalse;
  Flag WritingItalic = QvFalse;
  Flag WritingUnderline = QvFalse;
  Integer WritingMode = 0;
  Integer WritingWidth = 0;
  Integer WritingHeight = 0;
  Long Sound = 0;
  Flag PictureLoaded = QvFalse;
  QString PictureName;
  Flag UseURL = QvFalse;
  QString URL;
  Integer Process = 0;
  Integer StartValue = 0;
  Integer ProcessAmount = 0;
  Integer Value = 0;
  Integer Layer = 0;
  Integer EffectType = 0;
  Integer EffectDuration = 0;
  Flag Flashing = QvFalse;
  Integer MouseEffect = 0;
  Flag Visible = QvFalse;
  Integer RevealPane = 0;
  Integer RevealValue = 0;
  Integer CelWidth = 0;
  Integer CelHeight = 0;
  Integer CelsAcross = 0;
  Integer CelsDown = 0;
  Integer CelDelay = 0;
  Integer CelDelayCount = 0;
  Integer CelCount = 1;
  Integer CelColumn = 0;
  Integer CelRow = 0;
  Flag FlipOnBounds = QvFalse;
  QString Label;
  Integer FlipCode = 0;
  Integer Direction = 0;
  Integer Collision = 0;
  Integer MoveType = 0;
  Integer Speed = 0;
  Integer MoveDelay = 0;
  Integer MoveDelayCount = 0;
  Integer CelWrapFlag = 0;
  Integer LifeStartValue = 0;
  Integer LifeEndValue = 0;
  Flag MouseOver = QvFalse;
  Flag SpareFlag = QvFalse;

  bool operator==(const PaneRecord&) const = default;
};

enum class FieldKind { Integer, Long, Flag, Text };

// A field of PaneRecord by name, with its kind and its place in the record.
struct PaneField {
  const char* name;
  FieldKind kind;
  std::variant<Integer PaneRecord::*, Long PaneRecord::*, QString PaneRecord::*> member;

  Integer& integer(PaneRecord& r) const { return r.*std::get<0>(member); }
  Long& longValue(PaneRecord& r) const { return r.*std::get<1>(member); }
  QString& text(PaneRecord& r) const { return r.*std::get<2>(member); }
  // The field as a number (Integer, Long and Flag fields).
  qint64 number(const PaneRecord& r) const;
  // The most characters a Text field holds (Types.h).
  int maxLength() const;
  void setNumber(PaneRecord& r, qint64 v) const;
};

// The 60 fields in declared order.
const std::array<PaneField, 60>& PaneFields();
// A field by name; nullptr when there is none.
const PaneField* PaneFieldByName(const QString& name);

}  // namespace qv
