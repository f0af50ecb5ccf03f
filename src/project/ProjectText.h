// The project text: PaneCount, one 61-token group per Pane in use, then the
// eight BoardSettings tokens, every token ended by the field separator.
#pragma once
#include "shell/Workspace.h"

#include <array>
#include <variant>

namespace qv {

constexpr int PaneGroupTokens = 61;
constexpr int BoardTokens = 8;

// A Pane group: token 0 is the slot number, tokens 1..59 the fields in
// PaneTokenFields' order (the field list's Token column), token 60 is always
// empty.

struct BoardSettingsField {
  const char* name;
  FieldKind kind;
  std::variant<QString BoardSettingsRecord::*, Long BoardSettingsRecord::*, Flag BoardSettingsRecord::*> member;
};
// The eight BoardSettings tokens in file order.
const std::array<BoardSettingsField, BoardTokens>& BoardTokenFields();

// Builds the project text of PaneTable and BoardSettings and sets PaneCount
// to the number of slots 1..50 in use. Texts are written without the
// separator and cut to their field's bound, so the text always reads back.
QString SerializeProject(Workspace& ws);
// The text of a project value as it is (its PaneCount is not used): safe on
// any thread that holds the value.
QString SerializeProject(const Project& project);

// How far ParseProject got.
struct ParseResult {
  bool complete = false;  // every token was read (the buffer is empty)
  int tokensRead = 0;     // tokens taken, the one that stopped the reading included
  // When incomplete: the 0-based number of the token that stopped the
  // reading, what it was meant to be ("PaneCount", "Slot", a field name),
  // the slot whose group was read (-1 outside the groups), the token itself
  // and the text after it, which stays unread.
  int failedToken = -1;
  QString failedField;
  int failedSlot = -1;
  QString failedText;
  QString remaining;
  // What the reading changed, one sentence each: texts cut to their
  // field's bound, slots listed again.
  QStringList damage;
};

// Reads a project text into PaneTable (already reset by the caller),
// PaneCount and BoardSettings, adding a layer-list entry per Pane read.
// Texts lose the separator and are cut to their field's bound; a slot
// listed again keeps its first group (the later ones are read and dropped,
// and not counted in PaneCount); both are noted in damage.
// Numbers are decimal with an optional sign, blanks around them allowed; a
// number that is missing, malformed or outside its field's range, or a slot
// outside 0..50, stops the reading there and keeps what was stored. A Flag
// is True when its token is the number 1 ("1", "01", " 1") and False for
// anything else; Flags never stop the reading. Characters after the last
// BoardSettings token are ignored.
ParseResult ParseProject(Workspace& ws, const QString& text, QChar separator = FieldSeparator);

// The Sound values from 1000 up (own sounds, our addition) of the Pane
// groups a project text holds, read as ParseProject reads them, without a
// workspace: a load reads their files before it parses.
QList<Long> OwnSoundsOfText(const QString& text, QChar separator = FieldSeparator);

}  // namespace qv
