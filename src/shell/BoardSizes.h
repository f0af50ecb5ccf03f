// The Board size presets: the list Combo_Board and the "Board Size" menu.
#pragma once
#include "shell/Workspace.h"

namespace qv {

// The four fixed sizes, as list entries 0..3 and the menu's first four items
// give them ("1024 x 768" in the menu gives 764 rows, as the list's entry).
struct BoardSizePreset {
  const char* entry;
  int width, height;
};
constexpr BoardSizePreset BoardSizePresets[] = {
    {"320 x 240", 320, 240}, {"640 x 480", 640, 480}, {"800 x 600", 800, 600}, {"1024 x 764", 1024, 764}};
// Entry 4, "Max x Max": the working area, set by LayoutMainWindow.
constexpr int MaxBoardEntry = 4;

// The five list entries.
QStringList BoardSizeEntries();

// Combo_Board click, by the user or in code: the entry shows as chosen, the
// Board goes below the bar and takes the entry's size.
void Combo_Board_Click(Workspace& ws, int index);
// mnu_320x240 .. mnu_1024x768: the Board at (0, 0) with the preset's size;
// the list keeps its entry.
void BoardSizeMenu(Workspace& ws, int preset);
void mnu_MaxScreen_Click(Workspace& ws);

}  // namespace qv
