// Board size presets from the list and from the "Board Size" menu.
#include "shell/BoardSizes.h"

#include "shell/Setups.h"

namespace qv {

QStringList BoardSizeEntries() {
  QStringList entries;
  for (const BoardSizePreset& p : BoardSizePresets) entries << QString::fromLatin1(p.entry);
  return entries << QStringLiteral("Max x Max");
}

void Combo_Board_Click(Workspace& ws, int index) {
  ws.win.Combo_BoardIndex = index;
  PlaceBoardBelowBar(ws);
  if (index >= 0 && index < MaxBoardEntry)
    ws.surfaces.picStage.SetSize(BoardSizePresets[index].width, BoardSizePresets[index].height);
}

void BoardSizeMenu(Workspace& ws, int preset) {
  ws.surfaces.picStage.Left = 0;
  ws.surfaces.picStage.Top = 0;
  ws.surfaces.picStage.SetSize(BoardSizePresets[preset].width, BoardSizePresets[preset].height);
}

void mnu_MaxScreen_Click(Workspace& ws) {
  Combo_Board_Click(ws, MaxBoardEntry);
  ws.surfaces.picStage.Left = 0;
  ws.surfaces.picStage.Top = 0;
  LayoutMainWindow(ws);
}

}  // namespace qv
