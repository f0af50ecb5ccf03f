// The project commands: save, load, new and end. Each reports its outcome;
// the menu handlers show failures and warnings to the user.
#pragma once
#include "model/Outcome.h"
#include "shell/Platform.h"
#include "shell/Workspace.h"

namespace qv {

// Largest project text file read; larger files are refused.
constexpr qint64 MaxProjectFileBytes = 64 * 1024 * 1024;

extern const QString ProjectFilter;
// The titles of the message boxes that report the project commands.
extern const QString SaveProjectTitle;
extern const QString LoadProjectTitle;

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
// The menu handlers: the command, then what the menu adds (load: the menu
// bar shown and the Board redrawn), and a message box for what went wrong.
Outcome mnu_SaveProject_Click(Workspace& ws);
Outcome mnu_LoadsProject_Click(Workspace& ws);
// A project named when the program starts (quorvel FILE.QV1): loaded as the
// menu's Load does, the intro left behind.
Outcome OpenProjectAtStart(Workspace& ws, const QString& path);
// What the menu adds after a load: the bar shown, the Board redrawn, and a
// message box for what went wrong.
Outcome FinishLoad(Workspace& ws, const Outcome& outcome);
// New Project: cancelled unless the user answers Yes.
Outcome NewProject(Workspace& ws);
// End: done when the user confirmed ending the program, else cancelled.
Outcome EndApplication(Workspace& ws);

// Shows a failed command's file and reason, or a command's warnings, in a
// message box with the given title. Done and cancelled show nothing.
void ReportOutcome(Workspace& ws, const QString& title, const Outcome& outcome);

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
