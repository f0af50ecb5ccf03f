// The project commands: save, load, new and end. Each returns its outcome;
// the command dispatcher shows failures and warnings to the user.
#pragma once
#include "model/Outcome.h"
#include "shell/Platform.h"
#include "shell/Workspace.h"
#include "surface/SafeFiles.h"

namespace qv {

// Largest project text file read; larger files are refused.
constexpr qint64 MaxProjectFileBytes = 64 * 1024 * 1024;

extern const QString ProjectFilter;

// Where the Save dialog starts: the project's own file while its folder is
// there, else its name (if any) in the last folder a project was used in.
QString SaveDialogStart(const Workspace& ws);
// Save Project: asks for a name, writes the project text and its three
// bitmaps as one set: a failure anywhere leaves all four earlier files as
// they were. Failed names the file and the reason; a file the user may not
// write is replaced only when the user answers Yes.
Outcome SaveProject(Workspace& ws);
// Load a Project. Failed when the project text cannot be read (the Board is
// then empty); done with warnings when the text is damaged or a bitmap was
// not used, each with its file and reason.
Outcome LoadProject(Workspace& ws);
// The load steps for a file already chosen.
Outcome LoadProjectFile(Workspace& ws, const FileChoice& choice);
// The Load dialog's start folder: the program's folder, or the example
// projects when they are there (installed, or beside the build).
QString ProjectStartFolder(const QString& programFolder);
// The menu's Load: the command, then what the menu adds.
Outcome mnu_LoadsProject_Click(Workspace& ws);
// What the menu adds after a load: the bar shown and the Board redrawn.
Outcome FinishLoad(Workspace& ws, const Outcome& outcome);
// With changes since the last save, load or New, asks "Save changes to
// NAME?" (our addition): Save runs Save Project. Done when the command that
// asked may go on (no changes, Don't Save, or saved); cancelled or failed
// (the save's failure) when it must not.
Outcome SaveChangesFirst(Workspace& ws, const QString& title);
// New Project: cancelled unless the user answers Yes (or, with unsaved
// changes, the save question lets it go on).
Outcome NewProject(Workspace& ws);
// End: when the user confirms, the main window closes and the program ends.
Outcome EndApplication(Workspace& ws);
// Quit (Ctrl+Q, our addition): the program ends at once, or after the save
// question when there are unsaved changes; cancelled or failed as that
// question ends.
Outcome QuitApplication(Workspace& ws);

// The project name and folder derived from a chosen path and file title;
// false when the title is too short to give a name.
bool DeriveProjectName(Workspace& ws, const QString& path, const QString& title);
// The four files of the current project name and folder.
struct ProjectFiles {
  QString text, back, sprites, masks;
};
ProjectFiles ProjectFilesOf(const Workspace& ws);
// The four files in the order a save replaces them, the project file last.
QStringList SaveOrder(const ProjectFiles& files);
}  // namespace qv
