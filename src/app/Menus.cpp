// Menu construction. The key labels are shown only; the keys themselves are
// handled by the main window's key handler.
#include "app/Menus.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

namespace qv {

namespace {

QString keyLabel(const QString& name) {
  static const QMap<QString, QString> labels = {
      {"mnu_AddCustomPane", "Ctrl+A"}, {"mnu_EditPane", "Ctrl+E"},       {"mnu_FlipHorizontally", "Ctrl+H"},
      {"mnu_FlipVertically", "Ctrl+V"}, {"mnu_ResizePane", "Ctrl+R"},    {"mnu_RemovePane", "Del"},
      {"mnu_LoadsPicture", "Ctrl+L"},   {"mnu_LoadsProject", "F6"},      {"mnu_SaveProject", "Ctrl+S"},
      {"mnu_NewProject", "Ctrl+N"},     {"mnu_Help", "F1"},              {"mnu_End", "Ctrl+X"},
      {"mnu_RunFullscreen", "F12"},     {"mnu_RunInWindow", "F11"},
  };
  return labels.value(name);
}

}  // namespace

QString menuItemText(const QString& name, const QString& caption) {
  const QString key = keyLabel(name);
  return key.isEmpty() ? caption : caption + QLatin1Char('\t') + key;
}

MainMenus::MainMenus(QWidget* owner, const MainWindowState& win, std::function<void(const QString&)> onItem)
    : QObject(owner), onItem_(std::move(onItem)) {
  QMenu* panes = addMenu(owner, "mnu_Panes", "Panes");
  addItem(panes, "mnu_AddCustomPane", win);
  addItem(panes, "mnu_EditPane", win);
  QMenu* flip = addMenu(panes, "mnu_Flip", win.Menus.at("mnu_Flip").Caption);
  panes->addMenu(flip);
  flip->menuAction()->setObjectName("mnu_Flip");
  actions_["mnu_Flip"] = flip->menuAction();
  addItem(flip, "mnu_FlipHorizontally", win);
  addItem(flip, "mnu_FlipVertically", win);
  addItem(panes, "mnu_ResizePane", win);
  addItem(panes, "mnu_RemovePane", win);

  QMenu* loads = addMenu(owner, "mnu_Loads", "Loads");
  for (const char* n : {"mnu_LoadsPicture", "mnu_LoadPaneLibrary", "mnu_LoadPicBack", "mnu_LoadsProject"})
    addItem(loads, n, win);
  QMenu* board = addMenu(owner, "mnu_Board", "Board");
  addItem(board, "mnu_EditBoard", win);
  addItem(board, "mnu_BoardCompositePanes", win);
  addItem(addMenu(owner, "mnu_Saves", "Saves"), "mnu_SaveProject", win);
  QMenu* helpOrNew = addMenu(owner, "mnu_HelpOrNew", "Help Or New Project");
  for (const char* n : {"mnu_NewProject", "mnu_Help", "mnu_End"}) addItem(helpOrNew, n, win);
  QMenu* runn = addMenu(owner, "mnu_Runn", "Run");
  addItem(runn, "mnu_RunFullscreen", win);
  addItem(runn, "mnu_RunInWindow", win);
  QMenu* sizes = addMenu(owner, "mnu_BoardSize", "Board Size");
  for (const char* n : {"mnu_320x240", "mnu_640x480", "mnu_800x600", "mnu_1024x768", "mnu_MaxScreen"})
    addItem(sizes, n, win);
  // The menus of icons 2 and 9 name other tools and carry no actions.
  addMenu(owner, "mnu_OtherTools", "Tools");
  addMenu(owner, "mnu_AddIns", "Add-ins");
  refresh(win);
}

QMenu* MainMenus::addMenu(QWidget* owner, const QString& name, const QString& title) {
  auto* m = new QMenu(title, owner);
  m->setObjectName(name);
  menus_[name] = m;
  return m;
}

void MainMenus::addItem(QMenu* menu, const QString& name, const MainWindowState& win) {
  auto it = win.Menus.find(name);
  const QString caption = it != win.Menus.end() ? it->second.Caption : name;
  QAction* a = menu->addAction(menuItemText(name, caption));
  a->setObjectName(name);
  actions_[name] = a;
  connect(a, &QAction::triggered, this, [this, name] {
    if (onItem_) onItem_(name);
  });
}

void MainMenus::refresh(const MainWindowState& win) {
  for (auto it = actions_.cbegin(); it != actions_.cend(); ++it) {
    auto state = win.Menus.find(it.key());
    if (state == win.Menus.end()) continue;
    QAction* a = it.value();
    a->setEnabled(state->second.Enabled);
    const QString text = menuItemText(it.key(), state->second.Caption);
    if (a->text() != text) a->setText(text);
  }
}

QMenu* MainMenus::menuForIcon(int index) const {
  switch (index) {
    case 2: return menus_.value("mnu_OtherTools");
    case 3: return menus_.value("mnu_Panes");
    case 4: return menus_.value("mnu_Runn");
    case 6: return menus_.value("mnu_Saves");
    case 7: return menus_.value("mnu_Loads");
    case 8: return menus_.value("mnu_Board");
    case 9: return menus_.value("mnu_AddIns");
    case 10: return menus_.value("mnu_HelpOrNew");
    default: return nullptr;
  }
}

}  // namespace qv
