// Start state of the main window's controls and menus.
#include "shell/MainWindowState.h"

namespace qv {

MainWindowState::MainWindowState() {
  for (auto& icon : Img_IconStrip) icon = {0, 2, IconSize, IconSize, false, true};
  // The Stop icon of a Full Board run sits on Picture1 and shows with it.
  Img_IconStrip[11] = {4, 4, IconSize, IconSize, true, true};
  for (auto& icon : Img_FastIcons) icon = {0, 0, IconSize, IconSize, false, true};
  for (auto& s : Shape1) s.Visible = false;
  Text_Writing.Visible = false;
  // Menu items and their start state: the Target items start greyed.
  const struct { const char* name; const char* caption; bool enabled; } items[] = {
      {"mnu_AddCustomPane", "Add Pane", true},
      {"mnu_EditPane", "Edit Properties", false},
      {"mnu_Flip", "Flip ...", false},
      {"mnu_FlipHorizontally", "Flip Horizontally", true},
      {"mnu_FlipVertically", "Flip Vertically", true},
      {"mnu_ResizePane", "Resize Pane", false},
      {"mnu_RemovePane", "Remove Pane", false},
      {"mnu_LoadsPicture", "Load a Picture (Pane)", false},
      {"mnu_LoadPaneLibrary", "Load a Picture (Pane Library)", false},
      {"mnu_LoadPicBack", "Load a Picture (Background)", true},
      {"mnu_LoadsProject", "Load a Project", true},
      {"mnu_EditBoard", "Edit Properties", true},
      {"mnu_BoardCompositePanes", "Composite Panes Background", false},
      {"mnu_SaveProject", "Save Project", true},
      {"mnu_NewProject", "New Project", true},
      {"mnu_Help", "Help ... About", true},
      {"mnu_End", "End", true},
      {"mnu_RunFullscreen", "Run Full Board", true},
      {"mnu_RunInWindow", "Run in Design space", true},
      {"mnu_320x240", "320 x 240", true},
      {"mnu_640x480", "640 x 480", true},
      {"mnu_800x600", "800 x 600", true},
      {"mnu_1024x768", "1024 x 768", true},
      {"mnu_MaxScreen", "Max Screen", true},
  };
  for (const auto& i : items) Menus[QString::fromLatin1(i.name)] = {QString::fromLatin1(i.caption), i.enabled};
}

bool MainWindowState::menuEnabled(const QString& name) const {
  auto it = Menus.find(name);
  return it != Menus.end() && it->second.Enabled;
}

void MainWindowState::setMenuEnabled(const QString& name, bool on) { Menus[name].Enabled = on; }

}  // namespace qv
