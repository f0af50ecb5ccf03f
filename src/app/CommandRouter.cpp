// Routes every command of the main window to the engine.
#include "app/CommandRouter.h"

#include "app/Menus.h"
#include "app/frmMain.h"
#include "editing/Panes.h"
#include "imaging/BoardRender.h"
#include "imaging/Pictures.h"
#include "library/LibraryPicker.h"
#include "project/ProjectCommands.h"
#include "properties/BoardProperties.h"
#include "properties/PaneProperties.h"
#include "runmode/ClickActions.h"
#include "runmode/RunLoop.h"
#include "runmode/StageMouse.h"

#include <QApplication>
#include <QCursor>
#include <QMenu>

namespace qv {

CommandRouter::CommandRouter(frmMain& window) : QObject(&window), window_(window), ws_(window.workspace()) {
  pump_.setInterval(30);
  connect(&pump_, &QTimer::timeout, this, &CommandRouter::pumpPass);
  window.menuCommand = [this](const QString& name) { menu(name); };
  window.keyDown = [this](int code) { return keyDown(code); };
  window.keyPress = [this](int code) { return keyPress(code); };
  window.iconCommand = [this](int i) { icon(i); };
  window.fastIconClick = [this](int i) { fastIcon(i); };
  window.listZorderClick = [this](int row) { guarded([&] { List_Zorder_Click(ws_, row); }); };
  window.buttonUrlClick = [this] { guarded([&] { OpenPaneUrl(ws_); }); };
  window.labGenericClick = [this] {
    // "Click for properties": the Target's properties, when there is a Target.
    if (ws_.win.menuEnabled(QStringLiteral("mnu_EditPane"))) menu(QStringLiteral("mnu_EditPane"));
  };
  window.loadExistingProject = [this] { menu(QStringLiteral("mnu_LoadsProject")); };
  window.picStage_MouseDown = [this](int b, int x, int y) { mouseDown(b, x, y); };
  window.picStage_MouseMove = [this](int b, int x, int y) { mouseMove(b, x, y); };
  window.picStage_MouseUp = [this](int b, int x, int y) { mouseUp(b, x, y); };
  window.boardDragOver = [this](int x, int y) { guarded([&] { BoardDragOver(ws_, x, y); }); };
  window.boardDrop = [this](int x, int y) { guarded([&] { BoardMoveDrop(ws_, x, y); }); };
}

template <typename F>
void CommandRouter::guarded(F&& f) {
  try {
    f();
  } catch (const SlotOutOfRange&) {
    // The command stops where the bad slot number was met.
  }
}

void CommandRouter::menu(const QString& name) {
  guarded([&] {
    if (name == "mnu_AddCustomPane") AddPane(ws_);
    else if (name == "mnu_EditPane") mnu_EditPane_Click(ws_);
    else if (name == "mnu_ResizePane") mnu_ResizePane_Click(ws_);
    else if (name == "mnu_FlipHorizontally") FlipTargetPane(ws_, MirrorAxis::LeftRight);
    else if (name == "mnu_FlipVertically") FlipTargetPane(ws_, MirrorAxis::TopBottom);
    else if (name == "mnu_RemovePane") ConfirmRemovePane(ws_);
    else if (name == "mnu_LoadsPicture") ReportOutcome(ws_, LoadPictureTitle, mnu_LoadsPicture_Click(ws_));
    else if (name == "mnu_LoadPicBack") mnu_LoadPicBack_Click(ws_);
    else if (name == "mnu_LoadPaneLibrary") mnu_LoadPaneLibrary_Click(ws_);
    else if (name == "mnu_EditBoard") mnu_EditBoard_Click(ws_);
    else if (name == "mnu_BoardCompositePanes") CompositePanes(ws_);
    else if (name == "mnu_SaveProject") mnu_SaveProject_Click(ws_);
    else if (name == "mnu_LoadsProject") mnu_LoadsProject_Click(ws_);
    else if (name == "mnu_NewProject") NewProject(ws_);
    else if (name == "mnu_Help") mnu_Help_Click(ws_);
    else if (name == "mnu_End") {
      if (EndApplication(ws_).succeeded()) QApplication::quit();
    } else if (name == "mnu_RunFullscreen") {
      mnu_RunFullscreen_Click(ws_);
      startPump();
    } else if (name == "mnu_RunInWindow") {
      mnu_RunInWindow_Click(ws_);
      startPump();
    }
  });
  window_.Refresh();
}

// Runs a menu item from a key only while the item is enabled; true when it ran.
bool CommandRouter::menuIfEnabled(const QString& item, const QString& enabledBy) {
  if (!ws_.win.menuEnabled(enabledBy)) return false;
  menu(item);
  return true;
}

bool CommandRouter::keyDown(int code) {
  const bool running = isSet(ws_.run.Running);
  const auto run = [&](const char* item) {
    menu(QLatin1String(item));
    return true;
  };
  switch (code) {
    case 122: return run("mnu_RunInWindow");  // F11
    case 27:  // Esc
      guarded([&] { StopRun(ws_, StopForm::EscKey); });
      return true;
    case 117: return !running && run("mnu_LoadsProject");   // F6
    case 116:                                               // F5
      if (running) return false;
      RedrawBoard(ws_);
      return true;
    case 123: return !running && run("mnu_RunFullscreen");  // F12
    case 112: return !running && run("mnu_Help");           // F1
    case 46: return !running && menuIfEnabled(QStringLiteral("mnu_RemovePane"), QStringLiteral("mnu_RemovePane"));
    default: return false;
  }
}

bool CommandRouter::keyPress(int code) {
  if (isSet(ws_.run.Running)) return false;
  const auto run = [&](const char* item) {
    menu(QLatin1String(item));
    return true;
  };
  const auto runIf = [&](const char* item, const char* enabledBy) {
    return menuIfEnabled(QLatin1String(item), QLatin1String(enabledBy));
  };
  switch (code) {
    case 1: return ws_.project.PaneCount < MaxPanes && run("mnu_AddCustomPane");  // Ctrl+A
    case 5: return runIf("mnu_EditPane", "mnu_EditPane");                         // Ctrl+E
    case 8: return runIf("mnu_FlipHorizontally", "mnu_Flip");                     // Ctrl+H, Backspace
    case 12: return runIf("mnu_LoadsPicture", "mnu_LoadsPicture");                // Ctrl+L
    case 14: return run("mnu_NewProject");                                        // Ctrl+N
    case 18: return runIf("mnu_ResizePane", "mnu_ResizePane");                    // Ctrl+R
    case 19: return run("mnu_SaveProject");                                       // Ctrl+S
    case 22: return runIf("mnu_FlipVertically", "mnu_Flip");                      // Ctrl+V
    case 24: return run("mnu_End");                                               // Ctrl+X
    default: return false;
  }
}

void CommandRouter::icon(int index) {
  guarded([&] {
    if (index == 0) RedrawBoard(ws_);
    else if (index == 5) StopRun(ws_, StopForm::StopIcon);
    else if (index == 11) StopRun(ws_, StopForm::FullBoardStopIcon);
  });
}

void CommandRouter::fastIcon(int index) {
  guarded([&] {
    for (auto& icon : ws_.win.Img_FastIcons) icon.Visible = false;
    ws_.win.Shape1[0].Visible = true;
    ws_.pointer.TargetPane = Integer(ws_.pointer.CurrentPane);
    PlaceTargetBox(ws_);
    EnablePaneMenus(ws_);
    ws_.surfaces.picStage.Pointer = MousePointer::Hourglass;
    switch (index) {
      case 0: ReportOutcome(ws_, LoadPictureTitle, FastIconLoadPicture(ws_)); break;
      case 1: FastIconResize(ws_); break;
      case 2: FastIconEdit(ws_); break;
      case 3: ConfirmRemovePane(ws_); break;
      default: break;
    }
    ws_.surfaces.picStage.Pointer = MousePointer::Arrow;
  });
}

void CommandRouter::mouseDown(int button, int x, int y) {
  guarded([&] { picStage_MouseDown(ws_, button, x, y); });
}

void CommandRouter::mouseMove(int button, int x, int y) {
  guarded([&] { picStage_MouseMove(ws_, button, x, y); });
}

void CommandRouter::mouseUp(int button, int x, int y) {
  guarded([&] { picStage_MouseUp(ws_, button, x, y); });
}

void CommandRouter::startPump() {
  if (!pump_.isActive()) pump_.start();
}

void CommandRouter::pumpPass() {
  bool going = false;
  guarded([&] { going = RunLoopPass(ws_); });
  if (!going) pump_.stop();
  window_.Refresh();
}

}  // namespace qv
