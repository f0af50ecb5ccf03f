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
  explicit CommandRouter(frmMain& window);

  bool pumping() const { return pump_.isActive(); }

 private:
  // Runs an event's engine handler; a slot number outside 0..50 stops it.
  // Then the window shows the new state and the pump follows the run.
  template <typename F>
  void handle(F&& f);
  void pumpPass();

  frmMain& window_;
  Workspace& ws_;
  QTimer pump_;
};

}  // namespace qv
