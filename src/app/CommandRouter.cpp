// Routes every event of the main window to the engine.
#include "app/CommandRouter.h"

#include "app/frmMain.h"
#include "editing/Panes.h"
#include "runmode/ClickActions.h"
#include "runmode/RunLoop.h"
#include "runmode/StageMouse.h"
#include "session/Commands.h"
#include "session/Drops.h"

namespace qv {

CommandRouter::CommandRouter(frmMain& window, int pumpMs)
    : QObject(&window), window_(window), ws_(window.workspace()), manual_(pumpMs <= 0) {
  pump_.setInterval(pumpMs);
  connect(&pump_, &QTimer::timeout, this, &CommandRouter::pumpPass);
  window.command = [this](Command c) { handle([&] { RunCommand(ws_, c); }); };
  window.keyDown = [this](int code, int shift) {
    bool ran = false;
    handle([&] { ran = MainKeyDown(ws_, code, shift); });
    return ran;
  };
  window.keyPress = [this](int code, bool shift) {
    bool ran = false;
    handle([&] { ran = MainKeyPress(ws_, code, shift); });
    return ran;
  };
  window.introChoice = [this](int i) { handle([&] { Label_IntroChoice_Click(ws_, i); }); };
  window.labGenericClick = [this] { handle([&] { Lab_Generic_Click(ws_); }); };
  window.listZorderClick = [this](int row) { handle([&] { List_Zorder_Click(ws_, row); }); };
  window.buttonUrlClick = [this] { handle([&] { OpenPaneUrl(ws_); }); };
  window.picStage_MouseDown = [this](int b, int s, int x, int y) { handle([&] { BoardMouseDown(ws_, b, x, y, s); }); };
  window.picStage_MouseMove = [this](int b, int s, int x, int y) { handle([&] { picStage_MouseMove(ws_, b, x, y, s); }); };
  window.picStage_MouseUp = [this](int b, int, int x, int y) { handle([&] { BoardMouseUp(ws_, b, x, y); }); };
  window.boardDragOver = [this](int x, int y) { handle([&] { BoardDragOver(ws_, x, y); }); };
  window.boardDrop = [this](int x, int y) { handle([&] { BoardMoveDrop(ws_, x, y); }); };
  window.fileDragOver = [this](const QString& file, int x, int y, QString& why) {
    const DropPlan plan = PlanDrop(ws_, file, QPoint(x, y));
    why = plan.refusal;
    return plan.kind != DropKind::Refused;
  };
  window.fileDrop = [this](const QString& file, int x, int y) {
    handle([&] { BoardFileDropped(ws_, file, QPoint(x, y)); });
  };
}

template <typename F>
void CommandRouter::handle(F&& f) {
  try {
    f();
  } catch (const SlotOutOfRange&) {
    // The event stops where the bad slot number was met.
  }
  window_.Refresh();
  if (ws_.run.LoopActive && !pump_.isActive() && !manual_) pump_.start();
}

bool CommandRouter::pumping() const { return manual_ ? ws_.run.LoopActive : pump_.isActive(); }

void CommandRouter::pumpPass() {
  bool going = false;
  try {
    going = RunLoopPass(ws_);
  } catch (const SlotOutOfRange&) {
  }
  if (!going) pump_.stop();
  window_.Refresh();
}

}  // namespace qv
