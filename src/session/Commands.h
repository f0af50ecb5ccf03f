// Carrying out the main window's commands: one dispatcher for menu items,
// icons, Fast Icons and keys, one place that tells the user what went wrong,
// and the window events that are not commands of the table.
#pragma once
#include "model/Outcome.h"
#include "shell/Command.h"

namespace qv {

struct Workspace;

// Runs a command as its menu item or icon does: its handler (an undo step
// when it changes the project), a redraw when the Board grew, and the
// report of a failure or warnings.
Outcome RunCommand(Workspace& ws, Command c);
// Whether a menu item is enabled now (Undo and Redo while there is a step),
// and what it shows ("Undo Flip Horizontally").
bool MenuItemEnabled(const Workspace& ws, Command c);
QString MenuItemCaption(const Workspace& ws, Command c);
// Whether a key may run the command now.
bool KeyMayRun(const Workspace& ws, Command c);
// A key the main window sees before its controls, as key-down code (with
// the keys held: ShiftMask, CtrlMask, AltMask) and as character code (and
// whether Shift is held): the command it names runs when its rule allows.
// True when a command ran (the key is then used up).
bool MainKeyDown(Workspace& ws, int code, int shift = 0);
bool MainKeyPress(Workspace& ws, int code, bool shift = false);

// Mouse presses and releases on the Board: a drag of a Pane from press to
// release is one undo step. shift: the keys held with the press.
void BoardMouseDown(Workspace& ws, int button, double x, double y, int shift = 0);
void BoardMouseUp(Workspace& ws, int button, double x, double y);

// The main window's title: the project, marked when it has unsaved changes
// ("garden.QV1 * — Quorvel").
QString MainWindowTitle(const Workspace& ws);
// The main window asked to close: with unsaved changes the save question
// comes first (our addition). False when the window must stay.
bool MainWindowMayClose(Workspace& ws);
// Shows a failed command's file and reason, or its warnings, in a message
// box titled as the command's row says. Done and cancelled show nothing.
void ReportOutcome(Workspace& ws, Command c, const Outcome& outcome);

// Img_FastIcons(index) click: the Fast Icons hide, the Pane they belong to
// becomes the Target and its menu items are enabled, then the icon's own
// step runs under the hourglass: 0 load a picture, 1 resize, 2 edit, 3 remove.
Outcome FastIconClick(Workspace& ws, int index);

// The intro's choices: 0 "Blank new Project", 1 "Load existing Project".
void Label_IntroChoice_Click(Workspace& ws, int index);
// "Target :" ("Click for properties") opens the Target's properties.
void Lab_Generic_Click(Workspace& ws);
// The Board size list chosen by the user, and the main window resized.
void Combo_Board_Chosen(Workspace& ws, int index);
void MainWindowResized(Workspace& ws);
// A project named when the program starts (quorvel FILE.QV1): loaded as
// the menu's Load does, the intro left behind, after the save question when
// a recovered project has changes; what went wrong is reported.
Outcome OpenProjectAtStart(Workspace& ws, const QString& path);

}  // namespace qv
