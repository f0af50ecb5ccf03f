// The main window (frmMain): shows the workspace's window state and the
// Board, and hands user input to the engine's commands. It keeps no project
// data of its own; after every command Refresh() shows the state again.
#pragma once
#include "shell/Workspace.h"
#include "shell/WindowHost.h"

#include <QWidget>
#include <array>
#include <functional>

class QComboBox;
class QDialog;
class QFrame;
class QLabel;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;

namespace qv {

class ClickLabel;
class IntroPicture;
class MainMenus;
class OutlineBox;
class Platform;
class StageWidget;
class frmBoard;
class frmLibrary;
class frmPanes;

class frmMain : public QWidget, public WindowHost {
  Q_OBJECT
 public:
  // Takes the workspace into service (its platform and window host) and runs
  // the load step: every dialog list is filled and the start defaults set.
  frmMain(Workspace& ws, Platform& platform, QWidget* parent = nullptr);
  ~frmMain() override;

  Workspace& workspace() { return ws_; }
  frmPanes* panesDialog() const { return panes_; }
  frmBoard* boardDialog() const { return board_; }
  frmLibrary* libraryDialog() const { return library_; }
  MainMenus* menus() const { return menus_; }
  IntroPicture* intro() const { return picIntro_; }

  // Carries out a command as its menu item does, then shows the new state.
  void runCommand(Command c);
  // Brings the window with its frame (once a window manager has framed it)
  // inside the screen's available area, smaller when it must be.
  void fitToScreen();

  // WindowHost
  QSize MainInnerSize() override;
  void ShowDialog(DialogKind kind) override;
  void HideDialog(DialogKind kind) override;
  void PopupMenu(Menu menu) override;
  void Refresh() override;
  void EndProgram() override;

  // Handlers the command layer connects; each call is followed by Refresh().
  // Board mouse events: (button 1 left / 2 right / 4 middle, keys held
  // 1 Shift / 2 Ctrl / 4 Alt, x, y).
  std::function<void(int, int, int, int)> picStage_MouseDown;
  std::function<void(int, int, int, int)> picStage_MouseMove;
  std::function<void(int, int, int, int)> picStage_MouseUp;
  // The Board dragged over its holder and dropped: (x, y) in the holder.
  std::function<void(int, int)> boardDragOver;
  std::function<void(int, int)> boardDrop;
  // A file dragged over the window at (x, y) in Board pixels: whether a drop
  // there is taken, and why not; and the drop, carried out after the drag
  // has ended.
  std::function<bool(const QString&, int, int, QString&)> fileDragOver;
  std::function<void(const QString&, int, int)> fileDrop;
  // Keys while the window sees keys first: key-down code (with the keys
  // held) and character code; true when the key ran a command.
  std::function<bool(int, int)> keyDown;
  std::function<bool(int, bool)> keyPress;  // (code, Shift held)
  // A command of the table: a menu item, an icon without a menu, a Fast Icon.
  std::function<void(Command)> command;
  // Label_IntroChoice(index) click.
  std::function<void(int)> introChoice;
  // List_Zorder click on an entry (its row).
  std::function<void(int)> listZorderClick;
  std::function<void()> labGenericClick;
  // After every Refresh: the recovery copy looks at the project (our addition).
  std::function<void()> refreshed;
  std::function<void()> buttonUrlClick;

 protected:
  void resizeEvent(QResizeEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  // Files from the file manager, anywhere on the window (the intro too).
  void dragEnterEvent(QDragEnterEvent* e) override;
  void dragMoveEvent(QDragMoveEvent* e) override;
  void dragLeaveEvent(QDragLeaveEvent* e) override;
  void dropEvent(QDropEvent* e) override;

 private:
  void buildBar();
  void buildHolderParts();
  void buildStageParts();
  void iconClicked(int index);
  void refreshBar();
  void refreshStage();
  void refreshLists();
  // The icons, painted for the screen's pixel ratio.
  void paintIcons();
  // The room the Board needs at its Design place, unless it follows the
  // window ("Max x Max"): the window scrolls when it has less.
  QSize roomForBoard() const;
  // Runs a handler, then shows the new state.
  template <typename F>
  void handle(F&& f);
  QDialog* dialog(DialogKind kind) const;
  // Mouse events on the holder while it holds the pointer for a Board drag.
  bool boardDragEvent(QEvent* event);
  // Whether the file a drag carries may be let go where it is; when not,
  // the reason shows beside the pointer.
  bool fileMayDrop(QDropEvent* e);

  Workspace& ws_;
  Platform& platform_;
  // End confirmed: the window closes without asking again.
  bool ending_ = false;
  frmPanes* panes_ = nullptr;
  frmBoard* board_ = nullptr;
  frmLibrary* library_ = nullptr;
  MainMenus* menus_ = nullptr;

  // The working area scrolls when the Board is larger than the window.
  QScrollArea* scroll_ = nullptr;
  QWidget* content_ = nullptr;
  qreal iconRatio_ = 0;
  QWidget* picHolder_ = nullptr;
  QWidget* picFastMenu_ = nullptr;
  QFrame* lineFastMenu_ = nullptr;
  std::array<ClickLabel*, 12> iconStrip_{};
  QLabel* labReadouts_ = nullptr;
  QComboBox* comboBoard_ = nullptr;
  ClickLabel* labGeneric_ = nullptr;
  QLabel* label1_ = nullptr;
  StageWidget* picStage_ = nullptr;
  std::array<OutlineBox*, 2> shape1_{};
  // The selection's lighter boxes (as many as shown so far), the rubber
  // band and the snap guides.
  QVector<OutlineBox*> selectionBoxes_;
  OutlineBox* rubberBand_ = nullptr;
  std::array<QWidget*, 2> snapGuides_{};
  std::array<ClickLabel*, 4> fastIcons_{};
  QPlainTextEdit* textWriting_ = nullptr;
  QPushButton* buttonUrl_ = nullptr;
  IntroPicture* picIntro_ = nullptr;
  QFrame* picture1_ = nullptr;
  OutlineBox* dragOutline_ = nullptr;
  QPoint dragPoint_;
  QFrame* frameListZ_ = nullptr;
  QListWidget* listZorder_ = nullptr;
  ClickLabel* labCloseList_ = nullptr;
  QLabel* dropNote_ = nullptr;
};

}  // namespace qv
