// Movers, bounces, mirroring and collision responses.
#include "runmode/Movement.h"

#include "imaging/Flip.h"

#include <optional>

namespace qv {
namespace {

// A probe hits when it lies in the other Pane's grown rectangle.
bool probeHits(const Workspace& ws, double x, double y) {
  return ws.HitLeft <= x && x <= ws.HitRight && ws.HitTop <= y && y <= ws.HitBottom;
}

PaneRecord& current(Workspace& ws) { return ws.RunPane(ws.CurrentPane); }

// Turns the Pane to a new direction and flip code, mirroring it when it
// flips on bounds.
void turn(Workspace& ws, PaneRecord& p, int direction, int flipCode) {
  p.Direction = Integer(direction);
  p.FlipCode = Integer(flipCode);
  if (isSet(p.FlipOnBounds)) FlipPaneOnBounds(ws);
}

// Distance of probe k (2..10) from the start of an edge of length len.
double probeOffset(int k, int len) {
  if (k == 2) return 2;
  if (k == 10) return len - 2;
  return (k - 1) * (len / 10.0);
}


}  // namespace

void MoveHorizontal(Workspace& ws) {
  PaneRecord& p = current(ws);
  const Surface& s = ws.picStage;
  if (p.Direction == 1) {
    p.Left = Integer(p.Left - p.Speed);
    if (p.Left <= s.Left - 1) {
      p.Direction = 2;
      if (isSet(p.FlipOnBounds)) turn(ws, p, 2, 2);
    }
  } else if (p.Direction == 2) {
    p.Left = Integer(p.Left + p.Speed);
    if (p.Left >= s.Width() - (p.Width + 1)) {
      p.Direction = 1;
      if (isSet(p.FlipOnBounds)) turn(ws, p, 1, 1);
    }
  }
}

void MoveVertical(Workspace& ws) {
  PaneRecord& p = current(ws);
  if (p.Direction == 3) {
    p.Top = Integer(p.Top - p.Speed);
    if (p.Top <= 0) turn(ws, p, 4, 4);
  } else if (p.Direction == 4) {
    p.Top = Integer(p.Top + p.Speed);
    if (p.Top + p.Height + 1 >= ws.picStage.Height()) turn(ws, p, 3, 3);
  }
}

void MoveDiagonal(Workspace& ws) {
  PaneRecord& p = current(ws);
  const int sw = ws.picStage.Width(), sh = ws.picStage.Height();
  // Each block checks the direction afresh, so a turn into a later code moves
  // the Pane again in the same call.
  if (p.Direction == 5) {
    p.Top = Integer(p.Top - p.Speed);
    p.Left = Integer(p.Left + p.Speed);
    if (p.Top - 2 <= 0) turn(ws, p, 7, 4);
    if (p.Left + p.Width + 2 >= sw) turn(ws, p, 8, 2);
  }
  if (p.Direction == 6) {
    p.Top = Integer(p.Top + p.Speed);
    p.Left = Integer(p.Left - p.Speed);
    if (p.Top + p.Height + 2 >= sh) turn(ws, p, 8, 7);
    if (p.Left - 2 <= 0) turn(ws, p, 7, 8);
  }
  if (p.Direction == 7) {
    p.Top = Integer(p.Top + p.Speed);
    p.Left = Integer(p.Left + p.Speed);
    if (p.Top + p.Height + 2 >= sh) turn(ws, p, 5, 3);
    if (p.Left + p.Width + 2 >= sw) turn(ws, p, 6, 5);
  }
  if (p.Direction == 8) {
    p.Top = Integer(p.Top - p.Speed);
    p.Left = Integer(p.Left - p.Speed);
    if (p.Top - 2 <= 0) turn(ws, p, 6, 6);
    if (p.Left - 2 <= 0) turn(ws, p, 5, 1);
  }
}

void FlipPaneOnBounds(Workspace& ws) {
  const int i = ws.CurrentPane;
  PaneRecord& p = ws.RunPane(i);
  if (!isSet(p.FlipOnBounds)) return;
  std::optional<MirrorAxis> axis;
  if (ws.FirstFrameDone == 0) {
    // The first frame gives the Pane the orientation of its starting direction.
    if (p.Direction == 2 || p.Direction == 7) axis = MirrorAxis::LeftRight;
    else if (p.Direction == 4 || p.Direction == 8) axis = MirrorAxis::TopBottom;
    if (axis) p.FlipCode = p.Direction;
  } else {
    switch (p.FlipCode) {
      case 1: case 2: case 5: case 8: axis = MirrorAxis::LeftRight; break;
      case 3: case 4: case 6: case 7: axis = MirrorAxis::TopBottom; break;
      default: break;
    }
  }
  if (!axis) return;
  MirrorPaneBlock(ws, i, *axis, false);
  if (isSet(p.BlackTransparent)) MirrorPaneBlock(ws, i, *axis, true);
}

void TestCollisions(Workspace& ws) {
  const int c = ws.CurrentPane;
  ws.CollisionPane = c;
  PaneRecord& C = ws.RunPane(c);
  const int d = C.Direction;
  for (int j = 1; j <= MaxPanes; ++j) {
    const PaneRecord& J = ws.RunPaneTable[size_t(j)];
    if (!isSet(J.InUse) || C.Collision == 0 || j == c) continue;
    ws.HitLeft = J.Left - 2;
    ws.HitRight = J.Left + J.Width + 2;
    ws.HitTop = J.Top - 2;
    ws.HitBottom = J.Top + J.Height + 2;
    const bool touch = C.Left + C.Width + 2 >= ws.HitLeft && C.Left - 2 <= ws.HitRight &&
                       C.Top + C.Height + 2 >= ws.HitTop && C.Top - 2 <= ws.HitBottom;
    if (!touch || J.Collision == 0) continue;
    if (d == 1 || d == 2) ReboundHorizontal(ws);
    else if (d == 3 || d == 4) ReboundVertical(ws);
    else if (d >= 5 && d <= 8) ReboundDiagonal(ws);
  }
}

void ReboundHorizontal(Workspace& ws) {
  PaneRecord& C = ws.RunPane(ws.CollisionPane);
  const int x = C.Direction == 1 ? C.Left - ws.ProbeDistance : C.Left + C.Width + ws.ProbeDistance;
  int lastHit = 0;
  for (int k = 2; k <= 10; ++k)
    if (probeHits(ws, x, roundHalfEven(C.Top + probeOffset(k, C.Height)))) lastHit = k;
  if (lastHit != 0) {
    const int next = C.Direction == 1 ? 2 : 1;
    if (C.Direction == C.FlipCode) {
      C.FlipCode = Integer(next);
      if (isSet(C.FlipOnBounds)) FlipPaneOnBounds(ws);
    }
    C.Direction = Integer(next);
  }
  if (C.EffectType != 0) C.Flashing = QvTrue;
}

void ReboundVertical(Workspace& ws) {
  PaneRecord& C = ws.RunPane(ws.CollisionPane);
  const int y = C.Direction == 3 ? C.Top - ws.ProbeDistance : C.Top + C.Height + ws.ProbeDistance;
  int lastHit = 0;
  for (int k = 2; k <= 10; ++k)
    if (probeHits(ws, C.Left + probeOffset(k, C.Width), y)) lastHit = k;
  if (lastHit != 0) {
    const int next = C.Direction == 3 ? 4 : 3;
    if (isSet(C.FlipOnBounds)) {
      C.FlipCode = Integer(next);
      FlipPaneOnBounds(ws);
    }
    C.Direction = Integer(next);
  }
  if (C.EffectType != 0) C.Flashing = QvTrue;
}

void ReboundDiagonal(Workspace& ws) {
  PaneRecord& C = ws.RunPane(ws.CollisionPane);
  if (C.Direction < 5 || C.Direction > 8) return;
  const int w = C.CelCount < 2 ? C.Width : C.CelWidth;
  const int h = C.CelCount < 2 ? C.Height : C.CelHeight;
  const bool topEdge = C.Direction == 5 || C.Direction == 8;
  const int y = topEdge ? C.Top - ws.ProbeDistance : C.Top + h + ws.ProbeDistance;
  int lastHit = 0;
  for (int k = 2; k <= 10; ++k)
    if (probeHits(ws, C.Left + probeOffset(k, w), y)) lastHit = k;
  // Met with the top or bottom: turn vertically; met with a side: horizontally.
  static const int vertical[9][2] = {{}, {}, {}, {}, {}, {7, 4}, {8, 7}, {5, 3}, {6, 6}};
  static const int horizontal[9][2] = {{}, {}, {}, {}, {}, {8, 2}, {7, 8}, {6, 5}, {5, 1}};
  const auto& t = lastHit != 0 ? vertical[C.Direction] : horizontal[C.Direction];
  C.FlipCode = Integer(t[1]);
  if (isSet(C.FlipOnBounds)) FlipPaneOnBounds(ws);
  C.Direction = Integer(t[0]);
  if (C.EffectType != 0) C.Flashing = QvTrue;
}

}  // namespace qv
