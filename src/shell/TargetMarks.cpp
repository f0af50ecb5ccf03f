// The Target menu items, the hover marks and the layer list's entries.
#include "shell/TargetMarks.h"

namespace qv {

void AddZorderItem(Workspace& ws, int slot) {
  ws.project.List_Zorder.append({ws.Pane(slot).Label, slot});
}

void MoveZorderEntryToEnd(Workspace& ws, int slot) {
  auto& list = ws.project.List_Zorder;
  for (int i = 0; i < list.size(); ++i) {
    if (list[i].ItemData == slot) {
      list.removeAt(i);
      list.append({ws.Pane(slot).Label, slot});
      return;
    }
  }
}

void HideHoverMarks(Workspace& ws) {
  ws.win.Shape1[1].Visible = false;
  for (auto& icon : ws.win.Img_FastIcons) icon.Visible = false;
}

void EnablePaneMenus(Workspace& ws) {
  // mnu_LoadPaneLibrary only when a pane library was found.
  for (Command c : TargetMenuItems)
    if (c != Command::LoadPaneLibrary || isSet(ws.session.LibrariesPresent)) ws.win.setMenuEnabled(c, true);
  ws.win.setMenuEnabled(Command::AddCustomPane, true);
}

void DisablePaneMenus(Workspace& ws) {
  MainWindowState& w = ws.win;
  if (!w.menuEnabled(Command::EditPane) || isSet(ws.pointer.HoverFound)) return;
  for (Command c : TargetMenuItems) w.setMenuEnabled(c, false);
  w.setMenuEnabled(Command::AddCustomPane, true);
}

}  // namespace qv
