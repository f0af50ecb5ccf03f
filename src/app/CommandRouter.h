// Command routing of the main window: icons, menus, keys, Fast Icons, the
// layer list and Board mouse events reach the engine's commands here, and the
// RunMode pump runs the loop one pass every 30 ms on the UI thread.
#pragma once
#include <QObject>
#include <QTimer>

namespace qv {

class frmMain;
struct Workspace;

class CommandRouter : public QObject {
  Q_OBJECT
 public:
  explicit CommandRouter(frmMain& window);

  // Carries out a menu item by name (also used by keys and icons).
  void menu(const QString& name);
  bool pumping() const { return pump_.isActive(); }

 private:
  bool menuIfEnabled(const QString& item, const QString& enabledBy);
  bool keyDown(int code);
  bool keyPress(int code);
  void icon(int index);
  void fastIcon(int index);
  void mouseDown(int button, int x, int y);
  void mouseMove(int button, int x, int y);
  void mouseUp(int button, int x, int y);
  void startPump();
  void pumpPass();
  // Runs a command; a slot number outside 0..50 stops it.
  template <typename F>
  void guarded(F&& f);

  frmMain& window_;
  Workspace& ws_;
  QTimer pump_;
};

}  // namespace qv
