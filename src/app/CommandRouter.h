// Command routing of the main window: icons, menus, keys, Fast Icons, the
// layer list and Board mouse events reach the engine here, and the RunMode
// pump runs the loop one pass every 30 ms on the UI thread while a run is on.
#pragma once
#include "shell/Command.h"

#include <QObject>
#include <QTimer>

namespace qv {

class frmMain;
struct Workspace;

class CommandRouter : public QObject {
  Q_OBJECT
 public:
  // The pump passes every pumpMs milliseconds; with 0 nothing passes by
  // itself and the caller runs each pass (tests drive the run that way).
  explicit CommandRouter(frmMain& window, int pumpMs = 30);

  // A run loop is on and passes are due.
  bool pumping() const;
  // One pass of the run loop (the pump's timer runs it).
  void pumpPass();

 private:
  // Runs an event's engine handler; a slot number outside 0..50 stops it.
  // Then the window shows the new state and the pump follows the run.
  template <typename F>
  void handle(F&& f);

  frmMain& window_;
  Workspace& ws_;
  QTimer pump_;
  bool manual_;
};

}  // namespace qv
