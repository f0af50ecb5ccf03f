// The main window's pop-up menus, built once from the command table and
// kept in step with the menu state of the workspace.
#pragma once
#include "shell/Workspace.h"

#include <QObject>
#include <array>
#include <functional>

class QAction;
class QMenu;
class QWidget;

namespace qv {

class MainMenus : public QObject {
  Q_OBJECT
 public:
  // Menus are children of owner; choosing an item calls onItem(its command).
  MainMenus(QWidget* owner, const Workspace& ws, std::function<void(Command)> onItem);

  // Enabled states and captions from the workspace.
  void refresh(const Workspace& ws);
  // The menu an icon of the strip pops up, or nullptr.
  QMenu* menuForIcon(int index) const;
  QMenu* menu(Menu m) const { return menus_[size_t(m)]; }
  QAction* action(Command c) const { return actions_[size_t(c)]; }

 private:
  std::array<QMenu*, MenuCount> menus_{};
  std::array<QAction*, CommandCount> actions_{};
};

// The text an item shows: its caption and, after a tab, its key label.
QString menuItemText(const Workspace& ws, Command c);

}  // namespace qv
