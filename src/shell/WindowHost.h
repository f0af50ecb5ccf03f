// The engine's view of the windows it does not own: the main window's inner
// size and showing and hiding the dialogs. The app implements it with its
// widgets; HeadlessWindowHost serves the CLI, the tests and the benchmarks.
#pragma once
#include "model/Types.h"
#include "shell/Command.h"

#include <QVector>
#include <functional>
#include <QSize>
#include <QString>
#include <QStringList>

namespace qv {

enum class DialogKind { Panes, Board, Library };

class WindowHost {
 public:
  virtual ~WindowHost() = default;
  // The main window's inner width and height.
  virtual QSize MainInnerSize() = 0;
  // Shows a dialog modally with the controls its state in the workspace
  // holds; returns once the dialog was hidden again.
  virtual void ShowDialog(DialogKind kind) = 0;
  // Hides a dialog that is shown (its buttons end with this).
  virtual void HideDialog(DialogKind kind) = 0;
  // Pops a menu up at the pointer and waits: the item chosen, if any, has
  // run when this returns.
  virtual void PopupMenu(Menu menu) = 0;
  // The windows show the workspace state again.
  virtual void Refresh() {}
  // Closes the main window and ends the program (End).
  virtual void EndProgram() = 0;
};

// Shows nothing: a dialog returns at once, leaving its state to the caller.
// The main window has a fixed inner size.
class HeadlessWindowHost : public WindowHost {
 public:
  explicit HeadlessWindowHost(QSize inner = QSize(1000, 700)) : inner_(inner) {}
  QSize MainInnerSize() override { return inner_; }
  void SetMainInnerSize(QSize s) { inner_ = s; }
  void ShowDialog(DialogKind kind) override { shown << kind; }
  void HideDialog(DialogKind kind) override { hidden << kind; }
  void EndProgram() override { ended = true; }
  void PopupMenu(Menu menu) override {
    popups << menu;
    if (onPopup) onPopup(menu);
  }

  // The dialogs shown and hidden and the menus popped up, in order.
  QVector<DialogKind> shown, hidden;
  QVector<Menu> popups;
  bool ended = false;
  // What the user chooses from a popped-up menu, when a test needs it.
  std::function<void(Menu)> onPopup;

 private:
  QSize inner_;
};

}  // namespace qv
