// Helpers shared by the RunMode tests: Panes with recognisable pictures,
// movements and Cels, pumping the run loop, and a scene of every movement.
#pragma once
#include "imaging/Sheets.h"
#include "runmode/RunLoop.h"
#include "runmode/StageMouse.h"
#include "shell/Headless.h"
#include "support/PaneFixtures.h"

namespace qv::runfix {

using fixtures::fill;
using fixtures::px;

constexpr Long Red = RGB(200, 0, 0), Blue = RGB(0, 0, 200), Green = RGB(0, 150, 0), Yellow = RGB(210, 200, 20);

inline Long stagePx(Workspace& ws, int x, int y) { return px(ws.surfaces.picStage.Image(), x, y); }

inline QList<Long> stagePixels(Workspace& ws, std::initializer_list<QPoint> at) {
  QList<Long> out;
  for (QPoint p : at) out << stagePx(ws, p.x(), p.y());
  return out;
}

// How many Board pixels of r meet pred.
template <typename Pred>
int countWhere(Workspace& ws, QRect r, Pred pred) {
  int n = 0;
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x) n += pred(ws.surfaces.picStage.Image().pixel(x, y)) ? 1 : 0;
  return n;
}

// A colour that differs for every pixel of a block and never is pure black or
// white, so every mirroring shows: (x, y) of slot n.
inline Long patternAt(int slot, int x, int y) {
  return RGB(10 + (x * 3 + slot) % 240, 10 + (y * 5 + slot * 7) % 240, 10 + (x + y + slot) % 240);
}

// Slot n gets a Pane with the new-Pane defaults at (left, top), size w x h,
// painted with the slot's pattern.
inline PaneRecord& placePane(Workspace& ws, int slot, int left, int top, int w, int h) {
  PaneRecord& p = fixtures::placeAt(ws, slot, left, top, w, h);
  QImage& s = ws.surfaces.picSprites.Image();
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) s.setPixel(p.SheetX + x, p.SheetY + y, toQRgb(patternAt(slot, x, y)));
  return p;
}

inline PaneRecord& placeSolid(Workspace& ws, int slot, int left, int top, int w, int h, Long c) {
  PaneRecord& p = placePane(ws, slot, left, top, w, h);
  fill(ws.surfaces.picSprites.Image(), p.SheetX, p.SheetY, w, h, c);
  return p;
}

// Makes the Pane Transparent: black cuts (every pixel with x % 4 == 0 or the
// top-left 5 x 5 corner) and its mask built from them.
inline void makeTransparent(Workspace& ws, int slot) {
  PaneRecord& p = ws.Pane(slot);
  for (int y = 0; y < p.Height; ++y)
    for (int x = 0; x < p.Width; ++x)
      if (x % 4 == 0 || (x < 5 && y < 5)) fill(ws.surfaces.picSprites.Image(), p.SheetX + x, p.SheetY + y, 1, 1, Black);
  p.BlackTransparent = QvTrue;
  ws.pointer.CurrentPane = slot;
  BuildPaneMask(ws, slot);
}

// Gives the Pane a movement as the Pane dialog applies it.
inline void setMove(PaneRecord& p, int moveType, int speed, bool flip) {
  p.MoveType = p.Direction = Integer(moveType);
  if (moveType == 5) p.FlipCode = 1;
  p.Speed = Integer(speed);
  p.FlipOnBounds = toFlag(flip);
}

// Turns the Pane into a cx x cy Cel grid.
inline void makeCels(PaneRecord& p, int cx, int cy, int delay = 0) {
  p.CelsAcross = Integer(cx);
  p.CelsDown = Integer(cy);
  p.CelCount = Integer(cx * cy);
  p.CelWidth = CelSize(p.Width, cx);
  p.CelHeight = CelSize(p.Height, cy);
  p.CelDelay = Integer(delay);
}

// Copies the design for a run and makes slot n the Pane the procedures act
// on, as in a frame after the first.
inline PaneRecord& runPane(Workspace& ws, int slot) {
  CopyPanesForRun(ws);
  ws.run.FirstFrameDone = 1;
  ws.pointer.CurrentPane = slot;
  return ws.RunPane(slot);
}

inline void passes(Workspace& ws, int n) {
  for (int i = 0; i < n; ++i) RunLoopPass(ws);
}

// Moves the pointer and lets a pass run its hover tests.
inline void hoverAt(Workspace& ws, double x, double y) {
  picStage_MouseMove(ws, 0, x, y);
  RunLoopPass(ws);
}

inline void clickAt(Workspace& ws, double x, double y, int button = 1) {
  hoverAt(ws, x, y);
  picStage_MouseDown(ws, button, x, y);
}

// Stop and let the loop run its last pass.
inline void stopAndEnd(Workspace& ws, StopForm form = StopForm::StopIcon) {
  StopRun(ws, form);
  while (RunLoopPass(ws)) {
  }
}

// A 320 x 240 Board with Panes of every movement type, all flipping on
// bounds, Transparent and plain, with and without Cels; slot 6 reaches the
// top-right corner in frame 3 and turns three times there.
inline void buildScene(Workspace& ws) {
  ws.surfaces.picStage.SetSize(320, 240);
  PaneRecord& p1 = placePane(ws, 1, 100, 20, 50, 40);
  setMove(p1, 1, 3, true);
  makeTransparent(ws, 1);
  p1.EffectType = 1;
  p1.EffectDuration = 3;
  PaneRecord& p2 = placePane(ws, 2, 30, 150, 60, 60);
  setMove(p2, 2, 2, true);
  makeCels(p2, 2, 2, 1);
  PaneRecord& p3 = placePane(ws, 3, 250, 100, 60, 30);
  makeTransparent(ws, 3);
  setMove(p3, 3, 3, true);
  makeCels(p3, 3, 1, 0);
  setMove(placePane(ws, 4, 10, 60, 40, 50), 4, 2, true);
  ws.Pane(4).EffectType = 1;
  setMove(placePane(ws, 5, 200, 60, 50, 50), 5, 3, true);
  makeTransparent(ws, 5);
  setMove(placePane(ws, 6, 259, 11, 50, 50), 5, 3, true);
  placePane(ws, 7, 150, 110, 30, 30).FlipOnBounds = QvTrue;
  PaneRecord& p8 = placePane(ws, 8, 120, 200, 40, 30);
  setMove(p8, 2, 1, false);
  p8.Process = 1;
  p8.LifeStartValue = 20;  // moves until two clicks carry it out
  p8.LifeEndValue = p8.RevealValue = 22;
  p8.RevealPane = 9;
  p8.UseWriting = p8.UseURL = QvTrue;
  PaneRecord& p9 = placePane(ws, 9, 20, 20, 30, 30);
  p9.Visible = QvFalse;
  p9.MouseEffect = 2;
}

}  // namespace qv::runfix
