// The project commands: save, load, new and end.
#pragma once
#include "model/Workspace.h"

namespace qv {

// Largest project text file read; larger files are refused.
constexpr qint64 MaxProjectFileBytes = 64 * 1024 * 1024;

extern const QString ProjectFilter;

// Save Project: asks for a name, writes the project text and its three
// bitmaps as one set (WriteFilesTogether): a failure anywhere leaves all four
// earlier files as they were, tells the user and ends the command.
void SaveProject(Workspace& ws);
// Load a Project: false when the dialog was cancelled.
bool LoadProject(Workspace& ws);
// The load command as the menu and the intro run it: load, show the menu
// bar, redraw.
void mnu_LoadsProject_Click(Workspace& ws);
void NewProject(Workspace& ws);
// True when the user confirmed ending the program.
bool EndApplication(Workspace& ws);

// The project name and folder derived from a chosen path and file title;
// false when the title is too short to give a name.
bool DeriveProjectName(Workspace& ws, const QString& path, const QString& title);
// The four files of the current project name and folder.
struct ProjectFiles {
  QString text, back, sprites, masks;
};
ProjectFiles ProjectFilesOf(const Workspace& ws);

}  // namespace qv
