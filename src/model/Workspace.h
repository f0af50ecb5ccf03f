// All process-wide state of one Quorvel session: the pane tables, the Board
// settings, the project and interaction values, the picture surfaces and the
// main window's control state. The app owns one; every test builds its own.
#pragma once
#include "model/PaneRecord.h"
#include "shell/MainWindowState.h"
#include "surface/Surface.h"

#include <array>
#include <stdexcept>

namespace qv {

class Platform;
class WindowHost;

constexpr int MaxPanes = 50;
constexpr int SlotCount = 51;  // slots 0..50; Panes live in 1..50

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

// A slot number outside 0..50: the operation in progress stops.
struct SlotOutOfRange : std::runtime_error {
  explicit SlotOutOfRange(int slot)
      : std::runtime_error("slot " + std::to_string(slot) + " is outside 0..50"), slot(slot) {}
  int slot;
};

inline bool validSlot(int n) { return n >= 0 && n < SlotCount; }

struct Workspace {
  Workspace();

  std::array<PaneRecord, SlotCount> PaneTable{};
  std::array<PaneRecord, SlotCount> RunPaneTable{};
  BoardSettingsRecord BoardSettings;

  // The slot n of a table; throws SlotOutOfRange outside 0..50.
  PaneRecord& Pane(int n);
  PaneRecord& RunPane(int n);

  // Project state.
  Integer PaneCount = 0;
  QString ProjectName;
  QString ProjectFolder;
  QString ProjectFileTitle;
  QString SavePath;
  int CurrentPane = 1;
  Integer TargetPane = 0;
  Flag DialogFilling = QvFalse;
  Integer BoardWidth = 0;
  int BoardHeight = 0;

  // Interaction state.
  Flag Running = QvFalse;
  Flag Dragging = QvFalse;
  Flag HoverFound = QvFalse;
  Flag TargetSelection = QvFalse;
  double MouseX = 0;
  Integer MouseY = 0;
  int LastTargetPane = 0;
  Integer DragStartLeft = 0;
  Integer DragStartTop = 0;
  Integer PictureTarget = 0;
  QString PictureFilePath;
  Flag LibrariesPresent = QvFalse;
  Integer SelectedLibrary = 0;
  int CollisionPane = 0;
  Integer FirstFrameDone = 0;
  Integer ProbeDistance = 4;
  Flag CelsAnimate = QvFalse;
  // The other Pane's rectangle, grown by 2 pixels, during a collision test.
  int HitLeft = 0, HitRight = 0, HitTop = 0, HitBottom = 0;
  // True from the start of the run loop until its last pass has ended.
  bool RunLoopActive = false;
  // The mirrorings RunMode has applied to each Pane's sheet blocks, toggled
  // by every mirroring, so that Stop can put every block back exactly.
  struct MirrorState {
    bool spriteLR = false, spriteTB = false, maskLR = false, maskTB = false;
    bool any() const { return spriteLR || spriteTB || maskLR || maskTB; }
  };
  std::array<MirrorState, SlotCount> RunMirrors{};
  // While a frame moves a Pane its mirrorings are only noted here (toggled),
  // and done once, for their net effect, before the Pane is drawn: a Pane
  // that turns back and forth within a frame costs no pixel work.
  bool HoldingMirrors = false;
  std::array<MirrorState, SlotCount> PendingMirrors{};
  // The sound resource being played; it stays alive while it plays.
  QByteArray SoundData;
  // The Board's size before a Full Board run, given back by RestoreDesignStage.
  int RunSavedWidth = 800;
  int RunSavedHeight = 600;

  // Picture surfaces.
  Surface picStage;
  Surface picSprites;
  Surface picMasks;
  Surface picBackground;
  Surface picResize;

  MainWindowState win;

  // The services this workspace uses; set by its owner before any command.
  Platform* platform = nullptr;
  WindowHost* windows = nullptr;
};

// Resets a slot: InUse False, CelCount 1, position and size 0; every other
// field keeps its value.
void ResetSlot(PaneRecord& r);
// The first free slot from 1 upwards, or 0 when all of 1..50 are in use.
int FindFreeSlot(const Workspace& ws);
// Number of slots 1..50 in use.
int CountPanesInUse(const Workspace& ws);
// Puts picResize back to its rest state: 200 x 200 with DefaultPanePicture.
void RestorePicResize(Workspace& ws);

}  // namespace qv
