// The typed ids of the main window's commands and pop-up menus. Each command
// has one row in the command table (session/CommandTable), which gives its
// caption, keys, where it is reached, what greys it and its handler; the
// window state keeps one enabled flag per id.
#pragma once
#include <array>
#include <cstdint>

namespace qv {

enum class Command : uint8_t {
  // mnu_Panes, with the submenus mnu_Flip, mnu_Order and mnu_Align
  AddCustomPane, EditPane, Flip, FlipHorizontally, FlipVertically, ResizePane, RemovePane,
  DuplicatePane, Cut, Copy, Paste, SelectAll,
  Order, BringToFront, BringForward, SendBackward, SendToBack,
  Align, AlignLeft, AlignCentres, AlignRight, AlignTop, AlignMiddles, AlignBottom, DistributeHorizontally,
  DistributeVertically,
  Undo, Redo,
  // mnu_Loads
  LoadsPicture, LoadPaneLibrary, LoadPicBack, LoadsProject,
  // mnu_Board
  EditBoard, BoardCompositePanes,
  // mnu_Saves
  SaveProject, ExportWebPage,
  // mnu_HelpOrNew
  NewProject, Help, End,
  // mnu_Runn
  RunFullscreen, RunInWindow,
  // mnu_BoardSize
  Board320x240, Board640x480, Board800x600, Board1024x768, MaxScreen,
  // icons and keys without a menu item
  Refresh, Print, Stop, StopKey, StopFullBoard, Quit,
  NudgeLeft, NudgeUp, NudgeRight, NudgeDown, NudgeLeft10, NudgeUp10, NudgeRight10, NudgeDown10,
  // Img_FastIcons
  FastLoadPicture, FastResize, FastEdit, FastRemove,
  Count
};
constexpr int CommandCount = int(Command::Count);

// The Shift argument of key and mouse events: the keys held with them.
constexpr int ShiftMask = 1, CtrlMask = 2, AltMask = 4;

// The pop-up menus; Flip, Order and Align are submenus of mnu_Panes.
enum class Menu : uint8_t { None, Panes, Flip, Order, Align, Loads, Board, Saves, HelpOrNew, Runn, BoardSize, OtherTools, AddIns, Count };
constexpr int MenuCount = int(Menu::Count);

// The menu items that follow the Target: enabled whenever a Pane becomes the
// Target, greyed again when there is none (mnu_LoadPaneLibrary only while a
// pane library was found).
constexpr std::array<Command, 6> TargetMenuItems = {Command::LoadsPicture, Command::LoadPaneLibrary, Command::EditPane,
                                                    Command::ResizePane,   Command::RemovePane,      Command::Flip};

}  // namespace qv
