// The main window's pop-up menus (mnu_Panes, mnu_Loads, mnu_Board, mnu_Saves,
// mnu_HelpOrNew, mnu_Runn, mnu_BoardSize and the two menus without actions),
// built once and kept in step with the menu state of the workspace.
#pragma once
#include "shell/MainWindowState.h"

#include <QMap>
#include <QObject>
#include <functional>

class QAction;
class QMenu;
class QWidget;

namespace qv {

class MainMenus : public QObject {
  Q_OBJECT
 public:
  // Menus are children of owner; choosing an item calls onItem(item name).
  MainMenus(QWidget* owner, const MainWindowState& win, std::function<void(const QString&)> onItem);

  // Enabled states and captions from the menu state.
  void refresh(const MainWindowState& win);
  // The menu an icon of the strip pops up, or nullptr (icons 0, 1, 5, 11).
  QMenu* menuForIcon(int index) const;
  QMenu* menu(const QString& name) const { return menus_.value(name); }
  QAction* action(const QString& name) const { return actions_.value(name); }

 private:
  QMenu* addMenu(QWidget* owner, const QString& name, const QString& title);
  void addItem(QMenu* menu, const QString& name, const MainWindowState& win);

  QMap<QString, QMenu*> menus_;
  QMap<QString, QAction*> actions_;
  std::function<void(const QString&)> onItem_;
};

// The text an item shows: its caption and, after a tab, its key label.
QString menuItemText(const QString& name, const QString& caption);

}  // namespace qv
