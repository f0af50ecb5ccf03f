// The command table. Rows are in the order of Command; within a menu, in the
// order its items show.
#include "session/CommandTable.h"

#include "editing/Panes.h"
#include "editing/UndoRedo.h"
#include "imaging/BoardRender.h"
#include "imaging/Pictures.h"
#include "library/LibraryPicker.h"
#include "project/ProjectCommands.h"
#include "properties/BoardProperties.h"
#include "properties/PaneProperties.h"
#include "runmode/RunLoop.h"
#include "session/Commands.h"
#include "shell/BoardSizes.h"
#include "webpage/WebPage.h"

namespace qv {
namespace {

// A procedure that has nothing to report, as a handler.
template <void (*F)(Workspace&)>
Outcome ran(Workspace& ws) {
  F(ws);
  return Outcome::done();
}

template <int Preset>
Outcome boardSize(Workspace& ws) {
  BoardSizeMenu(ws, Preset);
  return Outcome::done();
}

template <int Index>
Outcome fastIcon(Workspace& ws) {
  return FastIconClick(ws, Index);
}

template <StopForm Form>
Outcome stop(Workspace& ws) {
  StopRun(ws, Form);
  return Outcome::done();
}

template <MirrorAxis Axis>
Outcome flip(Workspace& ws) {
  FlipTargetPane(ws, Axis);
  return Outcome::done();
}

using C = Command;
using M = Menu;

constexpr CommandRow Rows[] = {
    {.id = C::AddCustomPane, .name = "mnu_AddCustomPane", .caption = "Add Pane", .menu = M::Panes, .keyChar = 1,
     .keyLabel = "Ctrl+A", .gate = Gate::RoomForPane, .changesProject = true, .handler = mnu_AddCustomPane_Click},
    {.id = C::EditPane, .name = "mnu_EditPane", .caption = "Edit Properties", .menu = M::Panes, .keyChar = 5,
     .keyLabel = "Ctrl+E", .gate = Gate::Enabled, .changesProject = true, .stepName = "Pane Properties",
     .handler = ran<mnu_EditPane_Click>},
    {.id = C::Flip, .name = "mnu_Flip", .caption = "Flip ...", .menu = M::Panes, .submenu = M::Flip},
    {.id = C::FlipHorizontally, .name = "mnu_FlipHorizontally", .caption = "Flip Horizontally", .menu = M::Flip,
     .keyChar = 8, .keyLabel = "Ctrl+H", .gate = Gate::FlipEnabled, .changesProject = true,
     .handler = flip<MirrorAxis::LeftRight>},
    {.id = C::FlipVertically, .name = "mnu_FlipVertically", .caption = "Flip Vertically", .menu = M::Flip,
     .keyChar = 22, .keyLabel = "Ctrl+V", .gate = Gate::FlipEnabled, .changesProject = true,
     .handler = flip<MirrorAxis::TopBottom>},
    {.id = C::ResizePane, .name = "mnu_ResizePane", .caption = "Resize Pane", .menu = M::Panes, .keyChar = 18,
     .keyLabel = "Ctrl+R", .gate = Gate::Enabled, .changesProject = true, .handler = ran<mnu_ResizePane_Click>},
    {.id = C::RemovePane, .name = "mnu_RemovePane", .caption = "Remove Pane", .menu = M::Panes, .keyDown = 46,
     .keyLabel = "Del", .gate = Gate::Enabled, .changesProject = true, .handler = ConfirmRemovePane},
    // Undo and Redo: our addition, at the end of the Panes menu.
    {.id = C::Undo, .name = "mnu_Undo", .caption = "Undo", .menu = M::Panes, .keyChar = 26, .keyLabel = "Ctrl+Z",
     .gate = Gate::Enabled, .handler = mnu_Undo_Click, .separated = true},
    {.id = C::Redo, .name = "mnu_Redo", .caption = "Redo", .menu = M::Panes, .keyChar = 25, .keyCharShifted = 26,
     .keyLabel = "Ctrl+Y", .gate = Gate::Enabled, .handler = mnu_Redo_Click},

    {.id = C::LoadsPicture, .name = "mnu_LoadsPicture", .caption = "Load a Picture (Pane)", .menu = M::Loads,
     .keyChar = 12, .keyLabel = "Ctrl+L", .gate = Gate::Enabled, .changesProject = true,
     .handler = mnu_LoadsPicture_Click, .reportTitle = "Load a Picture"},
    {.id = C::LoadPaneLibrary, .name = "mnu_LoadPaneLibrary", .caption = "Load a Picture (Pane Library)",
     .menu = M::Loads, .changesProject = true, .handler = ran<mnu_LoadPaneLibrary_Click>},
    {.id = C::LoadPicBack, .name = "mnu_LoadPicBack", .caption = "Load a Picture (Background)", .menu = M::Loads,
     .changesProject = true, .handler = mnu_LoadPicBack_Click, .reportTitle = "Quorvel",
     .reportText = "Vorpex report : Couldn't load Background ... didn't find it."},
    {.id = C::LoadsProject, .name = "mnu_LoadsProject", .caption = "Load a Project", .menu = M::Loads,
     .keyDown = 117, .keyLabel = "F6", .handler = mnu_LoadsProject_Click},

    {.id = C::EditBoard, .name = "mnu_EditBoard", .caption = "Edit Properties", .menu = M::Board,
     .changesProject = true, .stepName = "Board Properties", .handler = ran<mnu_EditBoard_Click>},
    {.id = C::BoardCompositePanes, .name = "mnu_BoardCompositePanes", .caption = "Composite Panes Background",
     .menu = M::Board, .changesProject = true, .handler = CompositePanes},

    {.id = C::SaveProject, .name = "mnu_SaveProject", .caption = "Save Project", .menu = M::Saves, .keyChar = 19,
     .keyLabel = "Ctrl+S", .handler = SaveProject},
    // Our addition: the project as one web page that plays as RunMode does.
    {.id = C::ExportWebPage, .name = "mnu_ExportWebPage", .caption = "Export as Web Page ...", .menu = M::Saves,
     .handler = ExportWebPageCommand},

    {.id = C::NewProject, .name = "mnu_NewProject", .caption = "New Project", .menu = M::HelpOrNew, .keyChar = 14,
     .keyLabel = "Ctrl+N", .handler = NewProject},
    {.id = C::Help, .name = "mnu_Help", .caption = "Help ... About", .menu = M::HelpOrNew, .keyDown = 112,
     .keyLabel = "F1", .changesProject = true, .stepName = "Board Properties", .handler = ran<mnu_Help_Click>},
    {.id = C::End, .name = "mnu_End", .caption = "End", .menu = M::HelpOrNew, .keyChar = 24, .keyLabel = "Ctrl+X",
     .handler = EndApplication},

    {.id = C::RunFullscreen, .name = "mnu_RunFullscreen", .caption = "Run Full Board", .menu = M::Runn,
     .keyDown = 123, .keyLabel = "F12", .handler = ran<mnu_RunFullscreen_Click>},
    {.id = C::RunInWindow, .name = "mnu_RunInWindow", .caption = "Run in Design space", .menu = M::Runn,
     .keyDown = 122, .keyLabel = "F11", .gate = Gate::Always, .handler = ran<mnu_RunInWindow_Click>},

    {.id = C::Board320x240, .name = "mnu_320x240", .caption = "320 x 240", .menu = M::BoardSize, .handler = boardSize<0>},
    {.id = C::Board640x480, .name = "mnu_640x480", .caption = "640 x 480", .menu = M::BoardSize, .handler = boardSize<1>},
    {.id = C::Board800x600, .name = "mnu_800x600", .caption = "800 x 600", .menu = M::BoardSize, .handler = boardSize<2>},
    {.id = C::Board1024x768, .name = "mnu_1024x768", .caption = "1024 x 768", .menu = M::BoardSize,
     .handler = boardSize<3>},
    {.id = C::MaxScreen, .name = "mnu_MaxScreen", .caption = "Max Screen", .menu = M::BoardSize,
     .handler = ran<mnu_MaxScreen_Click>},

    {.id = C::Refresh, .name = "Img_IconStrip_0", .caption = "Refresh - F5", .icon = 0, .keyDown = 116,
     .keyLabel = "F5", .handler = ran<RedrawBoard>},
    {.id = C::Print, .name = "Img_IconStrip_1", .caption = "Print", .icon = 1},
    {.id = C::Stop, .name = "Img_IconStrip_5", .caption = "Stop - ESC", .icon = 5, .gate = Gate::Always,
     .handler = stop<StopForm::StopIcon>},
    {.id = C::StopKey, .name = "Esc", .caption = "Stop", .keyDown = 27, .keyLabel = "Esc", .gate = Gate::Always,
     .handler = stop<StopForm::EscKey>},
    {.id = C::StopFullBoard, .name = "Img_IconStrip_11", .caption = "Stop", .icon = 11, .gate = Gate::Always,
     .handler = stop<StopForm::FullBoardStopIcon>},
    // Our addition: a way out that also works on the intro.
    {.id = C::Quit, .name = "Ctrl+Q", .caption = "Quit", .keyChar = 17, .keyLabel = "Ctrl+Q", .gate = Gate::DesignOrIntro,
     .handler = QuitApplication},

    {.id = C::FastLoadPicture, .name = "Img_FastIcons_0", .caption = "Load picture", .fastIcon = 0,
     .changesProject = true, .stepName = "Load a Picture (Pane)", .handler = fastIcon<0>,
     .reportTitle = "Load a Picture"},
    {.id = C::FastResize, .name = "Img_FastIcons_1", .caption = "Resize pane", .fastIcon = 1, .changesProject = true,
     .stepName = "Resize Pane", .handler = fastIcon<1>},
    {.id = C::FastEdit, .name = "Img_FastIcons_2", .caption = "Edit properties", .fastIcon = 2,
     .changesProject = true, .stepName = "Pane Properties", .handler = fastIcon<2>},
    {.id = C::FastRemove, .name = "Img_FastIcons_3", .caption = "REMOVE", .fastIcon = 3, .changesProject = true,
     .stepName = "Remove Pane", .handler = fastIcon<3>},
};
static_assert(std::size(Rows) == CommandCount);

constexpr bool inCommandOrder() {
  for (int i = 0; i < CommandCount; ++i)
    if (Rows[i].id != Command(i)) return false;
  return true;
}
static_assert(inCommandOrder(), "one row per command, in the order of Command");

constexpr MenuRow Menus[] = {
    {M::None, "", ""},
    {M::Panes, "mnu_Panes", "Panes", 3, "Panes"},
    {M::Flip, "mnu_Flip", nullptr},
    {M::Loads, "mnu_Loads", "Loads", 7, "Load"},
    {M::Board, "mnu_Board", "Board", 8, "Board"},
    {M::Saves, "mnu_Saves", "Saves", 6, "Save"},
    {M::HelpOrNew, "mnu_HelpOrNew", "Help Or New Project", 10, "Help, New Project, End."},
    {M::Runn, "mnu_Runn", "Run", 4, "Run - F11"},
    {M::BoardSize, "mnu_BoardSize", "Board Size"},
    // The menus of icons 2 and 9 name other tools and carry no actions.
    {M::OtherTools, "mnu_OtherTools", "Tools", 2, ""},
    {M::AddIns, "mnu_AddIns", "Add-ins", 9, "Add-ins"},
};
static_assert(std::size(Menus) == MenuCount);

constexpr bool inMenuOrder() {
  for (int i = 0; i < MenuCount; ++i)
    if (Menus[i].id != Menu(i)) return false;
  return true;
}
static_assert(inMenuOrder(), "one row per menu, in the order of Menu");

}  // namespace

std::span<const CommandRow> CommandTable() { return Rows; }
std::span<const MenuRow> MenuTable() { return Menus; }
const CommandRow& RowOf(Command c) { return Rows[size_t(c)]; }
const MenuRow& RowOf(Menu m) { return Menus[size_t(m)]; }

}  // namespace qv
