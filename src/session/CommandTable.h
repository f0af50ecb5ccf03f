// Every command of the main window, one row each: its control name and
// caption, the menu that holds it, the icon, Fast Icon and keys that reach
// it, the rule that lets a key run it, whether it changes the project, and
// its handler. The menus, the key tables and the dispatcher are made from it.
#pragma once
#include "model/Outcome.h"
#include "shell/Command.h"

#include <span>

namespace qv {

struct Workspace;

// When a key may run a command. Menu items and icons are reached only while
// they are enabled and shown; keys check this rule instead.
enum class Gate : uint8_t {
  Always,       // in Design and while running (F11, Esc)
  Design,       // not while running
  Enabled,      // not while running, and while its menu item is enabled
  FlipEnabled,  // not while running, and while "Flip ..." is enabled
  RoomForPane,  // not while running, and below 50 Panes
  DesignOrIntro,  // not while running, and also while the intro shows (where no other key acts)
};

struct CommandRow {
  Command id;
  const char* name;     // the control: mnu_..., Img_IconStrip_n or Img_FastIcons_n
  const char* caption;  // the menu item's caption, or the icon's tooltip
  Menu menu = Menu::None;     // the pop-up menu that holds the item
  Menu submenu = Menu::None;  // the submenu the item opens (it has no handler)
  int icon = -1;              // the Img_IconStrip element that runs it
  int fastIcon = -1;          // the Img_FastIcons element that runs it
  int keyDown = 0;            // its key-down code (F-keys, Delete, Esc)
  int keyDownShift = -1;      // the keys held with it (ShiftMask, ...); -1: any
  int keyChar = 0;            // its character code (Ctrl+letter gives 1..26)
  int keyCharShifted = 0;     // a character code that runs it with Shift held
  const char* keyLabel = "";  // the key as menus and the README show it
  Gate gate = Gate::Design;
  bool changesProject = false;
  // The name of its undo step, when not its caption.
  const char* stepName = nullptr;
  // A run of it with nothing between is one undo step (the nudges).
  bool joinsRun = false;
  Outcome (*handler)(Workspace&) = nullptr;
  // The title of the box that reports a failure or warnings (default: the
  // caption), and a fixed text shown instead of the file and the reason,
  // which then go below it.
  const char* reportTitle = nullptr;
  const char* reportText = nullptr;
  // A separator line above the item in its menu.
  bool separated = false;
};

// A pop-up menu: its control name, its title and the icon that pops it up.
struct MenuRow {
  Menu id;
  const char* name;
  const char* title;  // nullptr for a submenu: it shows its item's caption
  int icon = -1;
  const char* tip = "";  // the icon's tooltip
};

std::span<const CommandRow> CommandTable();
std::span<const MenuRow> MenuTable();
const CommandRow& RowOf(Command c);
const MenuRow& RowOf(Menu m);

}  // namespace qv
