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
  // Every menu item starts enabled but those that need a Target, and
  // Composite Panes Background, enabled once a Background picture is chosen
  // or a project loaded.
  MenuEnabled.fill(true);
  for (Command c : TargetMenuItems) setMenuEnabled(c, false);
  setMenuEnabled(Command::BoardCompositePanes, false);
}

}  // namespace qv
