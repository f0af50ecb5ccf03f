// Drawing a whole Board: the base picture, then Panes from the sheets, Labels
// and Boxes, in the order they are asked for. With the Board's Layers on (the
// default) the Pane draws are gathered and painted at once, in layers, when
// the painter ends or before a Label or Box is drawn; with them off every
// draw is done at once, the plain way. Both give the same Board, byte for byte.
#pragma once
#include "shell/Workspace.h"

namespace qv {

// A Pane's block of the sheets: where its picture and mask lie.
QRect PaneBlock(const PaneRecord& p);

class BoardPainter {
 public:
  enum class Start {
    FromBase,   // the Board's base picture is restored first
    OverBoard,  // the draws go over what the Board shows
  };
  BoardPainter(Workspace& ws, Start start);
  ~BoardPainter();
  BoardPainter(const BoardPainter&) = delete;
  BoardPainter& operator=(const BoardPainter&) = delete;

  void Draw(const SheetDraw& d);
  // A Pane by the rule of the sheets: through its mask when transparent.
  void DrawPane(int x, int y, int w, int h, int sx, int sy, bool transparent, const QRect& block);
  // Print and Line of the Board surface.
  void Print(const QString& text);
  void Line(int x1, int y1, int x2, int y2, Long colour);

 private:
  void flush();

  Workspace& ws_;
  bool layered_;
};

}  // namespace qv
