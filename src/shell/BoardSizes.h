// The Board size presets: the list Combo_Board and the "Board Size" menu.
#pragma once
#include "shell/Workspace.h"

namespace qv {

// The five list entries; entry 4 is "Max x Max".
const QStringList& BoardSizeEntries();
constexpr int MaxBoardEntry = 4;

// Selects a list entry in code or by the user; runs the list's click handler.
void SelectBoardSize(Workspace& ws, int index);
void Combo_Board_Click(Workspace& ws);
// mnu_320x240, mnu_640x480, mnu_800x600, mnu_1024x768: Board at (0, 0), sized.
void BoardSizeMenu(Workspace& ws, int width, int height);
void mnu_MaxScreen_Click(Workspace& ws);
// An item of the "Board Size" menu by name (mnu_320x240 .. mnu_MaxScreen);
// false for a name that is none of them.
bool mnu_BoardSize_Click(Workspace& ws, const QString& item);

}  // namespace qv
