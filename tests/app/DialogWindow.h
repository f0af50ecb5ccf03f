// The main window with its command router over a scripted platform: a blank
// project with Pane 1 (at 50,50, 100 x 100) as the Target. Dialogs open
// through their commands and are driven with real key and mouse events
// while they run modally.
#pragma once
#include "app/CommandRouter.h"
#include "app/frmMain.h"
#include "shell/Headless.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <functional>

namespace qv::testing {

struct DialogWindow {
  HeadlessPlatform platform;
  Workspace ws;
  frmMain w{ws, platform};
  CommandRouter router{w};

  DialogWindow() {
    w.resize(1000, 720);
    w.show();
    if (!QTest::qWaitForWindowExposed(&w)) qFatal("window not exposed");
    QTest::mouseClick(get("Label_IntroChoice_0"), Qt::LeftButton);
    w.runMenu(QStringLiteral("mnu_AddCustomPane"));
    QTest::mouseClick(get("picStage"), Qt::LeftButton, {}, QPoint(60, 60));
  }
  PaneRecord& pane(int n = 1) { return ws.PaneTable[size_t(n)]; }

  template <typename T = QWidget>
  T* get(const QString& name) {
    T* found = w.findChild<T*>(name);
    if (!found) qFatal("no control %s", qPrintable(name));
    return found;
  }

  // Runs steps while the dialog that trigger opens is shown; a dialog the
  // steps leave open (a failed check) is closed.
  void open(const std::function<void()>& trigger, const std::function<void()>& steps) {
    QTimer::singleShot(0, &w, [steps] {
      auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (!d) return;
      steps();
      if (d->isVisible()) d->done(QDialog::Rejected);
    });
    trigger();
  }
  void open(const QString& menu, const std::function<void()>& steps) {
    open([&] { w.runMenu(menu); }, steps);
  }

  // Brings the tab holding a control to the front, as a click on its tab.
  QWidget* reveal(const QString& name) {
    QWidget* c = get(name);
    for (QTabWidget* tabs : w.findChildren<QTabWidget*>(QStringLiteral("SSTab1")))
      for (int i = 0; i < tabs->count(); ++i)
        if (tabs->widget(i)->isAncestorOf(c) && tabs->isVisible())
          QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(i).center());
    return c;
  }
  void click(const QString& name) { QTest::mouseClick(reveal(name), Qt::LeftButton); }
  // Empties a box with the keyboard, then types.
  void type(const QString& name, const QString& keys) {
    auto* e = qobject_cast<QLineEdit*>(reveal(name));
    e->setFocus();
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Backspace);
    QTest::keyClicks(e, keys);
  }
  QString text(const QString& name) { return get<QLineEdit>(name)->text(); }
  // Chooses a list entry in its opened list with the keyboard.
  void choose(const QString& name, int index) {
    auto* c = qobject_cast<QComboBox*>(reveal(name));
    QTest::keyClick(c, Qt::Key_F4);
    QAbstractItemView* v = c->view();
    QTest::keyClick(v, Qt::Key_Home);
    for (int i = 0; i < index; ++i) QTest::keyClick(v, Qt::Key_Down);
    QTest::keyClick(v, Qt::Key_Return);
  }
};

}  // namespace qv::testing
