// The project as one value: what a .QV1 and its three bitmaps hold, its
// names, and the layer list's order. Copying it is cheap (pictures share
// their pixels until written to); undo, the unsaved mark and every later
// keeper of a project work on this value, so state added here cannot
// escape them.
#pragma once
#include "model/BoardSettings.h"
#include "model/PaneRecord.h"
#include "surface/Surface.h"
#include "surface/WaveFile.h"

#include <QVector>
#include <array>

namespace qv {

using PaneTableArray = std::array<PaneRecord, SlotCount>;

// The sprite and mask sheets hold one 200 x 200 cell per slot, five across
// and ten down.
constexpr int CellSize = 200;
constexpr int SheetWidth = 1000;
constexpr int SheetHeight = 2000;
// The cell origin of slot n (1..50).
constexpr QPoint SheetCellOrigin(int slot) { return {CellSize * ((slot - 1) % 5), CellSize * ((slot - 1) / 5)}; }

// An entry of the layer list: a Pane's Label and its slot.
struct ZorderEntry {
  QString Text;
  int ItemData = 0;
  bool operator==(const ZorderEntry&) const = default;
};

// The Board dialog's three option pairs by their selected index (0 "No",
// 1 "Yes"); the Board's behaviour and layout read them.
struct BoardOptionPairs {
  int Option_BoardMove = 1;
  int Option_FloatPanes = 0;
  int Option_WirePanes = 0;
  // Option_FloatPanes(1) can be chosen (not while Wire is "Yes").
  bool Option_FloatPanesYesEnabled = true;
  bool operator==(const BoardOptionPairs&) const = default;
};

// The small parts of a project: an undo step keeps them whole when any of
// them changed.
struct ProjectSettings {
  BoardSettingsRecord BoardSettings;
  BoardOptionPairs BoardOptions;
  // The colour the Board is cleared to.
  Long BoardColour = Grey;
  Integer PaneCount = 0;
  // The layer list's entries, in their order. A .QV1 does not keep it: Load
  // rebuilds it in slot order.
  QVector<ZorderEntry> List_Zorder;
  bool operator==(const ProjectSettings&) const = default;
};

// The project's names. No step changes them: Save, Load and New are no
// steps, so undo never gives back an older name.
struct ProjectNames {
  QString ProjectName;
  QString ProjectFolder;  // ends with the path separator
  // The project the window names: NAME.QV1 of the last save or load; empty
  // for a new project.
  QString DocumentName;
  // The document's name without ".QV1", or "Untitled" for a new project:
  // what the window title, the exported page and its file are named after.
  QString DocumentTitle() const {
    return DocumentName.size() > 4 ? DocumentName.chopped(4) : QStringLiteral("Untitled");
  }
  bool operator==(const ProjectNames&) const = default;
};

struct Project : ProjectSettings, ProjectNames {
  PaneTableArray PaneTable{};
  Surface picSprites;     // sprite sheet
  Surface picMasks;       // mask sheet
  Surface picBackground;  // the Background at Board size
  // Our addition: the user's own sounds, by the Sound value that plays them.
  // Sounds no Pane uses stay until the project is saved, which leaves them out.
  OwnSoundMap OwnSounds;

  Project();
  // The slot n of the table; throws SlotOutOfRange outside 0..50.
  PaneRecord& Pane(int n);
  const PaneRecord& Pane(int n) const;
  // Equal projects have the same slots in use with the same records and the
  // same sheet cells, the same Background, own sounds, settings and names;
  // a free slot's stale fields and cells do not count.
  bool operator==(const Project& other) const;
};

// Whether a slot's 200 x 200 cell differs between two pictures of a sheet.
bool CellDiffers(const QImage& a, const QImage& b, int slot);
// The cell of slot n in a sheet.
QRect CellOf(int slot);

}  // namespace qv
