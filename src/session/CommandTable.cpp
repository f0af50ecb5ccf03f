// The command table. Rows are in the order of Command; within a menu, in the
// order its items show.
#include "session/CommandTable.h"

#include "editing/Arrange.h"
#include "editing/LayerOrder.h"
#include "editing/PaneCopies.h"
#include "editing/Panes.h"
#include "editing/Selection.h"
#include "editing/UndoRedo.h"
#include "imaging/BoardRender.h"
#include "imaging/Pictures.h"
#include "library/LibraryPicker.h"
#include "project/ProjectCommands.h"
#include "properties/BoardProperties.h"
#include "properties/PaneProperties.h"
#include "runmode/RunLoop.h"
#include "session/Clipboard.h"
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

template <LayerMove Move>
Outcome layer(Workspace& ws) {
  return MoveLayer(ws, Move);
}

template <AlignTo To>
Outcome align(Workspace& ws) {
  return AlignPanes(ws, To);
}

template <bool Horizontal>
Outcome distribute(Workspace& ws) {
  return DistributePanes(ws, Horizontal);
}

template <int Dx, int Dy>
Outcome nudge(Workspace& ws) {
  return NudgePanes(ws, Dx, Dy);
}

using C = Command;
using M = Menu;

// Key-down codes and the keys held with them.
constexpr int KeyInsert = 45, KeyLeft = 37, KeyUp = 38, KeyRight = 39, KeyDown = 40;
constexpr int KeyBracketLeft = 219, KeyBracketRight = 221;  // "[" and "]", with Shift "{" and "}"
constexpr int CtrlShift = CtrlMask | ShiftMask;

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
    // Our additions for several Panes at once. Ctrl+A is Add Pane and Ctrl+X
    // End, so Select All and Cut have no key.
    {.id = C::DuplicatePane, .name = "mnu_DuplicatePane", .caption = "Duplicate Pane", .menu = M::Panes, .keyChar = 4,
     .keyLabel = "Ctrl+D", .gate = Gate::Enabled, .changesProject = true, .handler = DuplicatePane, .separated = true},
    {.id = C::Cut, .name = "mnu_Cut", .caption = "Cut", .menu = M::Panes, .changesProject = true, .handler = CutPanes},
    {.id = C::Copy, .name = "mnu_Copy", .caption = "Copy", .menu = M::Panes, .keyDown = KeyInsert,
     .keyDownShift = CtrlMask, .keyChar = 3, .keyLabel = "Ctrl+C", .gate = Gate::Enabled,
     .handler = CopyPanesToClipboard},
    // A knowing difference: the original design runs Flip Vertically for
    // character 22 with or without Shift; here Ctrl+Shift+V pastes and
    // Ctrl+V alone stays Flip Vertically.
    {.id = C::Paste, .name = "mnu_Paste", .caption = "Paste", .menu = M::Panes, .keyDown = KeyInsert,
     .keyDownShift = ShiftMask, .keyCharShifted = 22, .keyLabel = "Ctrl+Shift+V", .changesProject = true,
     .handler = PastePanes},
    {.id = C::SelectAll, .name = "mnu_SelectAll", .caption = "Select All", .menu = M::Panes, .handler = SelectAllPanes},
    {.id = C::Order, .name = "mnu_Order", .caption = "Order ...", .menu = M::Panes, .submenu = M::Order},
    {.id = C::BringToFront, .name = "mnu_BringToFront", .caption = "Bring to Front", .menu = M::Order,
     .keyDown = KeyBracketRight, .keyDownShift = CtrlShift, .keyLabel = "Ctrl+Shift+]", .gate = Gate::Enabled,
     .changesProject = true, .handler = layer<LayerMove::ToFront>},
    {.id = C::BringForward, .name = "mnu_BringForward", .caption = "Bring Forward", .menu = M::Order,
     .keyDown = KeyBracketRight, .keyDownShift = CtrlMask, .keyLabel = "Ctrl+]", .gate = Gate::Enabled,
     .changesProject = true, .handler = layer<LayerMove::Forward>},
    {.id = C::SendBackward, .name = "mnu_SendBackward", .caption = "Send Backward", .menu = M::Order,
     .keyDown = KeyBracketLeft, .keyDownShift = CtrlMask, .keyLabel = "Ctrl+[", .gate = Gate::Enabled,
     .changesProject = true, .handler = layer<LayerMove::Backward>},
    {.id = C::SendToBack, .name = "mnu_SendToBack", .caption = "Send to Back", .menu = M::Order,
     .keyDown = KeyBracketLeft, .keyDownShift = CtrlShift, .keyLabel = "Ctrl+Shift+[", .gate = Gate::Enabled,
     .changesProject = true, .handler = layer<LayerMove::ToBack>},
    {.id = C::Align, .name = "mnu_Align", .caption = "Align ...", .menu = M::Panes, .submenu = M::Align},
    {.id = C::AlignLeft, .name = "mnu_AlignLeft", .caption = "Align Left", .menu = M::Align, .changesProject = true,
     .handler = align<AlignTo::Left>},
    {.id = C::AlignCentres, .name = "mnu_AlignCentres", .caption = "Align Centres", .menu = M::Align,
     .changesProject = true, .handler = align<AlignTo::Centres>},
    {.id = C::AlignRight, .name = "mnu_AlignRight", .caption = "Align Right", .menu = M::Align, .changesProject = true,
     .handler = align<AlignTo::Right>},
    {.id = C::AlignTop, .name = "mnu_AlignTop", .caption = "Align Top", .menu = M::Align, .changesProject = true,
     .handler = align<AlignTo::Top>, .separated = true},
    {.id = C::AlignMiddles, .name = "mnu_AlignMiddles", .caption = "Align Middles", .menu = M::Align,
     .changesProject = true, .handler = align<AlignTo::Middles>},
    {.id = C::AlignBottom, .name = "mnu_AlignBottom", .caption = "Align Bottom", .menu = M::Align,
     .changesProject = true, .handler = align<AlignTo::Bottom>},
    {.id = C::DistributeHorizontally, .name = "mnu_DistributeHorizontally", .caption = "Distribute Horizontally",
     .menu = M::Align, .changesProject = true, .handler = distribute<true>, .separated = true},
    {.id = C::DistributeVertically, .name = "mnu_DistributeVertically", .caption = "Distribute Vertically",
     .menu = M::Align, .changesProject = true, .handler = distribute<false>},
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
    // Our addition: the arrow keys nudge the chosen Panes, 1 pixel, or 10
    // with Shift; a run of nudges is one undo step.
    {.id = C::NudgeLeft, .name = "Left", .caption = "Nudge", .keyDown = KeyLeft, .keyDownShift = 0,
     .keyLabel = "Left", .gate = Gate::Enabled, .changesProject = true, .joinsRun = true, .handler = nudge<-1, 0>},
    {.id = C::NudgeUp, .name = "Up", .caption = "Nudge", .keyDown = KeyUp, .keyDownShift = 0, .keyLabel = "Up",
     .gate = Gate::Enabled, .changesProject = true, .joinsRun = true, .handler = nudge<0, -1>},
    {.id = C::NudgeRight, .name = "Right", .caption = "Nudge", .keyDown = KeyRight, .keyDownShift = 0,
     .keyLabel = "Right", .gate = Gate::Enabled, .changesProject = true, .joinsRun = true, .handler = nudge<1, 0>},
    {.id = C::NudgeDown, .name = "Down", .caption = "Nudge", .keyDown = KeyDown, .keyDownShift = 0, .keyLabel = "Down",
     .gate = Gate::Enabled, .changesProject = true, .joinsRun = true, .handler = nudge<0, 1>},
    {.id = C::NudgeLeft10, .name = "Shift+Left", .caption = "Nudge", .keyDown = KeyLeft, .keyDownShift = ShiftMask,
     .keyLabel = "Shift+Left", .gate = Gate::Enabled, .changesProject = true, .joinsRun = true,
     .handler = nudge<-10, 0>},
    {.id = C::NudgeUp10, .name = "Shift+Up", .caption = "Nudge", .keyDown = KeyUp, .keyDownShift = ShiftMask,
     .keyLabel = "Shift+Up", .gate = Gate::Enabled, .changesProject = true, .joinsRun = true, .handler = nudge<0, -10>},
    {.id = C::NudgeRight10, .name = "Shift+Right", .caption = "Nudge", .keyDown = KeyRight, .keyDownShift = ShiftMask,
     .keyLabel = "Shift+Right", .gate = Gate::Enabled, .changesProject = true, .joinsRun = true,
     .handler = nudge<10, 0>},
    {.id = C::NudgeDown10, .name = "Shift+Down", .caption = "Nudge", .keyDown = KeyDown, .keyDownShift = ShiftMask,
     .keyLabel = "Shift+Down", .gate = Gate::Enabled, .changesProject = true, .joinsRun = true,
     .handler = nudge<0, 10>},

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
    {M::Order, "mnu_Order", nullptr},
    {M::Align, "mnu_Align", nullptr},
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
