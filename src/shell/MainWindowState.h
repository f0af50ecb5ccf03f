// The state of the main window's controls that commands change. The engine
// decides these values; the app's widgets show them.
#pragma once
#include "model/Types.h"
#include "shell/Command.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <array>

namespace qv {

struct ControlState {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  bool Visible = true;
  bool Enabled = true;
};

// The RunMode Writing box and how it looks.
struct WritingBoxState : ControlState {
  QString Text;
  QString FontName;
  int FontSize = 10;
  bool Bold = false, Italic = false, Underline = false;
  Long ForeColor = Black;
  Long BackColor = White;
  bool Locked = false;
};

// Fixed sizes of the window's parts, in pixels.
constexpr int IconSize = 16;
constexpr int FastMenuHeight = 24;
constexpr int IntroWidth = 350;
constexpr int IntroHeight = 230;
constexpr int Picture1Size = 24;

struct MainWindowState {
  // True while code fills lists and dialog controls: the handlers that must
  // not react to the selections this makes ignore them.
  Flag DialogFilling = QvFalse;
  ControlState picHolder;
  ControlState picFastMenu{0, 0, 0, FastMenuHeight};
  ControlState picIntro{10, 30, IntroWidth, IntroHeight};
  ControlState Picture1{0, 0, Picture1Size, Picture1Size, false};
  int Line_FastMenuX2 = 0;
  std::array<ControlState, 12> Img_IconStrip{};
  std::array<ControlState, 4> Img_FastIcons{};
  // 0 = target box (blue), 1 = hover box (white); overlays above the Board.
  std::array<ControlState, 2> Shape1{};
  // Our addition: the lighter boxes of the selected Panes other than the
  // Target, the rubber band a Shift drag on free Board draws, and the snap
  // guides of a drag (0 the vertical line, 1 the horizontal one).
  QVector<ControlState> SelectionBoxes;
  ControlState RubberBand{0, 0, 0, 0, false};
  std::array<ControlState, 2> SnapGuides{{{0, 0, 0, 0, false}, {0, 0, 0, 0, false}}};
  ControlState Frame_ListZ{0, 0, 160, 140, false};
  QString Lab_Readouts;
  int Lab_ReadoutsLeft = 0;
  QString Label1;
  // The layer list's selected entry; its entries are the project's.
  int List_ZorderIndex = -1;
  QStringList Combo_Board;
  int Combo_BoardIndex = -1;
  // Whether each command's menu item is enabled (greyed when not).
  std::array<bool, CommandCount> MenuEnabled{};
  // The main window sees keys before its controls (on once a project is open).
  bool KeyPreview = false;
  WritingBoxState Text_Writing;
  ControlState Button_Url{0, 0, 60, 20, false};
  // Moving the whole Board with the mouse: the grab point on the Board.
  bool BoardMoving = false;
  int BoardGrabX = 0, BoardGrabY = 0;

  MainWindowState();
  bool menuEnabled(Command c) const { return MenuEnabled[size_t(c)]; }
  void setMenuEnabled(Command c, bool on) { MenuEnabled[size_t(c)] = on; }
};

// Sets DialogFilling while it lives: the lists and controls filled in its
// scope run no handler that must not react to a selection made in code.
class DialogFillingScope {
 public:
  explicit DialogFillingScope(MainWindowState& win) : win_(win), was_(win.DialogFilling) { win_.DialogFilling = QvTrue; }
  ~DialogFillingScope() { win_.DialogFilling = was_; }
  DialogFillingScope(const DialogFillingScope&) = delete;
  DialogFillingScope& operator=(const DialogFillingScope&) = delete;

 private:
  MainWindowState& win_;
  Flag was_;
};

}  // namespace qv
