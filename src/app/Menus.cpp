// Menu construction from the command table. The key labels are shown only;
// the keys themselves reach the commands through the main window's keys.
#include "app/Menus.h"

#include "session/CommandTable.h"
#include "session/Commands.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

namespace qv {

QString menuItemText(const Workspace& ws, Command c) {
  const CommandRow& row = RowOf(c);
  const QString caption = MenuItemCaption(ws, c);
  return *row.keyLabel ? caption + QLatin1Char('\t') + QLatin1String(row.keyLabel) : caption;
}

MainMenus::MainMenus(QWidget* owner, const Workspace& ws, std::function<void(Command)> onItem) : QObject(owner) {
  for (const MenuRow& m : MenuTable()) {
    if (m.id == Menu::None) continue;
    auto* menu = new QMenu(QString::fromLatin1(m.title ? m.title : ""), owner);
    menu->setObjectName(QString::fromLatin1(m.name));
    menus_[size_t(m.id)] = menu;
    // Without a window manager nothing gives the keys back when a pop-up
    // menu closes: the main window takes them again (our addition). A
    // submenu closes into its menu, which keeps them.
    if (m.title) connect(menu, &QMenu::aboutToHide, owner, [owner] { owner->activateWindow(); });
  }
  for (const CommandRow& row : CommandTable()) {
    QMenu* holder = menus_[size_t(row.menu)];
    if (!holder) continue;
    QAction* a = nullptr;
    if (row.separated) holder->addSeparator();
    if (row.submenu != Menu::None) {
      QMenu* sub = menus_[size_t(row.submenu)];
      sub->setTitle(menuItemText(ws, row.id));
      a = holder->addMenu(sub);
    } else {
      a = holder->addAction(menuItemText(ws, row.id));
      connect(a, &QAction::triggered, this, [onItem, c = row.id] { onItem(c); });
    }
    a->setObjectName(QString::fromLatin1(row.name));
    actions_[size_t(row.id)] = a;
  }
}

void MainMenus::refresh(const Workspace& ws) {
  for (int i = 0; i < CommandCount; ++i) {
    QAction* a = actions_[size_t(i)];
    if (!a) continue;
    a->setEnabled(MenuItemEnabled(ws, Command(i)));
    if (const QString text = menuItemText(ws, Command(i)); a->text() != text) a->setText(text);
  }
}

QMenu* MainMenus::menuForIcon(int index) const {
  for (const MenuRow& m : MenuTable())
    if (m.icon == index && m.id != Menu::None) return menus_[size_t(m.id)];
  return nullptr;
}

}  // namespace qv
