// The Target menu items, the hover marks and the layer list's entries.
#include "shell/TargetMarks.h"

namespace qv {

void AddZorderItem(Workspace& ws) {
  ws.win.List_Zorder.append({ws.Pane(ws.pointer.CurrentPane).Label, ws.pointer.CurrentPane});
}

void MoveZorderEntryToEnd(Workspace& ws, int slot) {
  auto& list = ws.win.List_Zorder;
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
  MainWindowState& w = ws.win;
  w.setMenuEnabled("mnu_LoadsPicture", true);
  if (isSet(ws.project.LibrariesPresent)) w.setMenuEnabled("mnu_LoadPaneLibrary", true);
  for (const char* m : {"mnu_AddCustomPane", "mnu_EditPane", "mnu_ResizePane", "mnu_RemovePane", "mnu_Flip"})
    w.setMenuEnabled(m, true);
}

void DisablePaneMenus(Workspace& ws) {
  MainWindowState& w = ws.win;
  if (!w.menuEnabled("mnu_EditPane") || isSet(ws.pointer.HoverFound)) return;
  for (const char* m : {"mnu_LoadsPicture", "mnu_LoadPaneLibrary", "mnu_EditPane", "mnu_ResizePane",
                        "mnu_RemovePane", "mnu_Flip"})
    w.setMenuEnabled(m, false);
  w.setMenuEnabled("mnu_AddCustomPane", true);
}

}  // namespace qv
