// All process-wide state of one Quorvel session, in the parts it belongs to:
// the project (one value), the session's other values, the pointer and drag,
// the run, the window's picture surfaces and the main window's control
// state. The app owns one; every test builds its own.
#pragma once
#include "shell/DialogState.h"
#include "shell/History.h"
#include "shell/MainWindowState.h"
#include "shell/Project.h"
#include "surface/SoundDecoding.h"
#include "surface/Surface.h"

#include <array>

namespace qv {

class Platform;
class WindowHost;

// The session's values that are not the project's: the Board size as laid
// out, and the choices made for pictures and libraries.
struct SessionValues {
  // The Board size as last laid out.
  Integer BoardWidth = 0;
  int BoardHeight = 0;
  QString PictureFilePath;
  Flag LibrariesPresent = QvFalse;
  Integer SelectedLibrary = 0;
  // Where the library scan looked for modules.
  QStringList LibraryFolders;
  // Names the project being edited among all windows and sessions, for
  // Panes pasted from the clipboard: made anew by New and Load.
  QString ProjectIdentity;
  // The helper that decodes sound files (our addition): beside the program.
  QString SoundDecoder = SoundDecoderBesideProgram();
};

// The pointer over the Board, the Pane it works on and the drag.
struct PointerValues {
  // The slot the sheet and drawing procedures work on.
  int CurrentPane = 1;
  Integer TargetPane = 0;
  int LastTargetPane = 0;
  double MouseX = 0;
  Integer MouseY = 0;
  Flag Dragging = QvFalse;
  Flag HoverFound = QvFalse;
  Integer DragStartLeft = 0;
  Integer DragStartTop = 0;
  // Our addition: the selected Panes, in the order they were chosen, the
  // Target among them; empty when the Target alone is chosen.
  QVector<int> Selection;
  // A press on a selected Pane keeps the selection for a drag; released
  // where it was, it was a click, which leaves the Target alone.
  bool PressKeptSelection = false;
  // How far the drag's snap moved the dragged Pane from the pointer.
  QPoint DragSnap;
  // A rubber band is drawn from this point of the Board.
  bool Banding = false;
  QPoint BandStart;
};

// The mirrorings applied to a Pane's sheet blocks, one flag per sheet and axis.
struct MirrorState {
  bool spriteLR = false, spriteTB = false, maskLR = false, maskTB = false;
  bool any() const { return spriteLR || spriteTB || maskLR || maskTB; }
};

// RunMode.
struct RunValues {
  Flag Running = QvFalse;
  Integer FirstFrameDone = 0;
  int CollisionPane = 0;
  // True from the start of the run loop until its last pass has ended.
  bool LoopActive = false;
  // The mirrorings RunMode has applied to each Pane's sheet blocks, toggled
  // by every mirroring, so that Stop can put every block back exactly.
  std::array<MirrorState, SlotCount> Mirrors{};
  // The sound resource being played; it stays alive while it plays.
  QByteArray SoundData;
  // A Full Board run is on: the Board stands where the menu bar was.
  bool FullBoard = false;
  // The Board's size before a Full Board run, given back by RestoreDesignStage.
  int SavedWidth = 800;
  int SavedHeight = 600;
};

// The window's picture surfaces; the sheets and the Background are the
// project's.
struct Surfaces {
  Surface picStage;   // the Board
  Surface picResize;  // scratch picture, at rest 200 x 200 with picture 101
};

struct Workspace {
  Workspace();

  Project project;
  PaneTableArray RunPaneTable{};

  // The slot n of a table; throws SlotOutOfRange outside 0..50.
  PaneRecord& Pane(int n) { return project.Pane(n); }
  PaneRecord& RunPane(int n);

  SessionValues session;
  PointerValues pointer;
  RunValues run;
  Surfaces surfaces;
  MainWindowState win;
  DialogStates dialogs;
  // The Design steps that can be undone, and the save point.
  History history;

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
// Sets the colour the Board is cleared to (the project's) and clears it.
void SetBoardColour(Workspace& ws, Long colour);
// Gives the project a new identity (SessionValues::ProjectIdentity).
void NewProjectIdentity(Workspace& ws);

}  // namespace qv
