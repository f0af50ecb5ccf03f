// Board size presets from the list and from the "Board Size" menu.
#include "shell/BoardSizes.h"

#include "shell/Setups.h"

namespace qv {

const QStringList& BoardSizeEntries() {
  static const QStringList entries = {"320 x 240", "640 x 480", "800 x 600", "1024 x 764", "Max x Max"};
  return entries;
}

void SelectBoardSize(Workspace& ws, int index) {
  ws.win.Combo_BoardIndex = index;
  Combo_Board_Click(ws);
}

void Combo_Board_Click(Workspace& ws) {
  static const QSize sizes[] = {{320, 240}, {640, 480}, {800, 600}, {1024, 764}};
  PlaceBoardBelowBar(ws);
  const int i = ws.win.Combo_BoardIndex;
  if (i >= 0 && i < MaxBoardEntry) ws.surfaces.picStage.SetSize(sizes[i].width(), sizes[i].height());
}

void BoardSizeMenu(Workspace& ws, int width, int height) {
  ws.surfaces.picStage.Left = 0;
  ws.surfaces.picStage.Top = 0;
  ws.surfaces.picStage.SetSize(width, height);
}

void mnu_MaxScreen_Click(Workspace& ws) {
  SelectBoardSize(ws, MaxBoardEntry);
  ws.surfaces.picStage.Left = 0;
  ws.surfaces.picStage.Top = 0;
  LayoutMainWindow(ws);
}

bool mnu_BoardSize_Click(Workspace& ws, const QString& item) {
  // "1024 x 768" gives 764 rows, as the list's entry does.
  static const std::pair<const char*, QSize> presets[] = {
      {"mnu_320x240", {320, 240}}, {"mnu_640x480", {640, 480}}, {"mnu_800x600", {800, 600}}, {"mnu_1024x768", {1024, 764}}};
  for (const auto& [name, size] : presets) {
    if (item == QLatin1String(name)) {
      BoardSizeMenu(ws, size.width(), size.height());
      return true;
    }
  }
  if (item != QLatin1String("mnu_MaxScreen")) return false;
  mnu_MaxScreen_Click(ws);
  return true;
}

}  // namespace qv
