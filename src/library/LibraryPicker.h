// The pane library: the start-up scan of the library modules and the
// picker's steps over its control values (ws.dialogs.library).
#pragma once
#include "shell/Workspace.h"

namespace qv {

// The folders a library module is looked for in: "Library" beside the
// program, then, for an installed program, the Library folder of its data
// directory. A module number is taken from the first folder that has it.
QStringList LibraryFolders(const QString& programFolder);
// The file of library n in the folders of this session; "" when none has it.
QString LibraryFileOf(const Workspace& ws, int n);

// Looks for the library modules once, at start-up: fills the picker's
// library list and sets LibrariesPresent.
void ScanLibraries(Workspace& ws);

// Load a Picture (Pane Library): the picker on its first tab.
void mnu_LoadPaneLibrary_Click(Workspace& ws);
void frmLibrary_SSTab1_Click(Workspace& ws, int tab);
// A library chosen: its images listed and its preview shown.
void List_Libraries_Click(Workspace& ws);
void FillImageList(Workspace& ws);
// An image chosen: its preview shown and its name kept.
void List_Images_Click(Workspace& ws);
// Button_frmBoard(index) of the picker: 0 cancel, 1 accept (the previewed
// image goes into the Target Pane).
void Button_frmLibrary_Click(Workspace& ws, int index);
void SendLibraryImage(Workspace& ws);

}  // namespace qv
