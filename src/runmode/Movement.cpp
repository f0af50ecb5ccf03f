// Movers, bounces, mirroring and collision responses.
#include "runmode/Movement.h"

#include "imaging/Flip.h"

#include <optional>
#include <utility>

namespace qv {
namespace {

// Turns the Pane to a new direction and flip code, mirroring it when it
// flips on bounds.
void turn(Workspace& ws, int slot, PaneRecord& p, int direction, int flipCode) {
  p.Direction = Integer(direction);
  p.FlipCode = Integer(flipCode);
  if (isSet(p.FlipOnBounds)) FlipPaneOnBounds(ws, slot);
}

// Distance of probe k (2..10) from the start of an edge of length len.
double probeOffset(int k, int len) {
  if (k == 2) return 2;
  if (k == 10) return len - 2;
  return (k - 1) * (len / 10.0);
}

// The last probe k (2..10) that hits, 0 when none does.
template <typename Probe>
int lastProbeHit(const HitRect& hit, Probe probeAt) {
  int last = 0;
  for (int k = 2; k <= 10; ++k) {
    const auto [x, y] = probeAt(k);
    if (hit.holds(x, y)) last = k;
  }
  return last;
}

}  // namespace

void MoveHorizontal(Workspace& ws, int slot) {
  PaneRecord& p = ws.RunPane(slot);
  const Surface& s = ws.surfaces.picStage;
  if (p.Direction == 1) {
    p.Left = Integer(p.Left - p.Speed);
    if (p.Left <= s.Left - 1) {
      p.Direction = 2;
      if (isSet(p.FlipOnBounds)) turn(ws, slot, p, 2, 2);
    }
  } else if (p.Direction == 2) {
    p.Left = Integer(p.Left + p.Speed);
    if (p.Left >= s.Width() - (p.Width + 1)) {
      p.Direction = 1;
      if (isSet(p.FlipOnBounds)) turn(ws, slot, p, 1, 1);
    }
  }
}

void MoveVertical(Workspace& ws, int slot) {
  PaneRecord& p = ws.RunPane(slot);
  if (p.Direction == 3) {
    p.Top = Integer(p.Top - p.Speed);
    if (p.Top <= 0) turn(ws, slot, p, 4, 4);
  } else if (p.Direction == 4) {
    p.Top = Integer(p.Top + p.Speed);
    if (p.Top + p.Height + 1 >= ws.surfaces.picStage.Height()) turn(ws, slot, p, 3, 3);
  }
}

void MoveDiagonal(Workspace& ws, int slot) {
  PaneRecord& p = ws.RunPane(slot);
  const int sw = ws.surfaces.picStage.Width(), sh = ws.surfaces.picStage.Height();
  // Each block checks the direction afresh, so a turn into a later code moves
  // the Pane again in the same call.
  if (p.Direction == 5) {
    p.Top = Integer(p.Top - p.Speed);
    p.Left = Integer(p.Left + p.Speed);
    if (p.Top - 2 <= 0) turn(ws, slot, p, 7, 4);
    if (p.Left + p.Width + 2 >= sw) turn(ws, slot, p, 8, 2);
  }
  if (p.Direction == 6) {
    p.Top = Integer(p.Top + p.Speed);
    p.Left = Integer(p.Left - p.Speed);
    if (p.Top + p.Height + 2 >= sh) turn(ws, slot, p, 8, 7);
    if (p.Left - 2 <= 0) turn(ws, slot, p, 7, 8);
  }
  if (p.Direction == 7) {
    p.Top = Integer(p.Top + p.Speed);
    p.Left = Integer(p.Left + p.Speed);
    if (p.Top + p.Height + 2 >= sh) turn(ws, slot, p, 5, 3);
    if (p.Left + p.Width + 2 >= sw) turn(ws, slot, p, 6, 5);
  }
  if (p.Direction == 8) {
    p.Top = Integer(p.Top - p.Speed);
    p.Left = Integer(p.Left - p.Speed);
    if (p.Top - 2 <= 0) turn(ws, slot, p, 6, 6);
    if (p.Left - 2 <= 0) turn(ws, slot, p, 5, 1);
  }
}

void FlipPaneOnBounds(Workspace& ws, int slot) {
  PaneRecord& p = ws.RunPane(slot);
  if (!isSet(p.FlipOnBounds)) return;
  std::optional<MirrorAxis> axis;
  if (ws.run.FirstFrameDone == 0) {
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
  MirrorPaneBlock(ws, slot, *axis, false);
  if (isSet(p.BlackTransparent)) MirrorPaneBlock(ws, slot, *axis, true);
}

void TestCollisions(Workspace& ws, int slot) {
  ws.run.CollisionPane = slot;
  const PaneRecord& C = ws.RunPane(slot);
  // The response is chosen by the direction at the start, even after an
  // earlier response turned the Pane.
  const int d = C.Direction;
  for (int j = 1; j <= MaxPanes; ++j) {
    const PaneRecord& J = ws.RunPaneTable[size_t(j)];
    if (!isSet(J.InUse) || C.Collision == 0 || j == slot) continue;
    const HitRect hit{J.Left - 2, J.Left + J.Width + 2, J.Top - 2, J.Top + J.Height + 2};
    const bool touch = C.Left + C.Width + 2 >= hit.Left && C.Left - 2 <= hit.Right &&
                       C.Top + C.Height + 2 >= hit.Top && C.Top - 2 <= hit.Bottom;
    if (!touch || J.Collision == 0) continue;
    if (d == 1 || d == 2) ReboundHorizontal(ws, slot, hit);
    else if (d == 3 || d == 4) ReboundVertical(ws, slot, hit);
    else if (d >= 5 && d <= 8) ReboundDiagonal(ws, slot, hit);
  }
}

void ReboundHorizontal(Workspace& ws, int slot, const HitRect& hit) {
  PaneRecord& C = ws.RunPane(slot);
  const int x = C.Direction == 1 ? C.Left - ProbeDistance : C.Left + C.Width + ProbeDistance;
  const auto probe = [&](int k) { return std::pair<double, double>(x, roundHalfEven(C.Top + probeOffset(k, C.Height))); };
  if (lastProbeHit(hit, probe) != 0) {
    const int next = C.Direction == 1 ? 2 : 1;
    if (C.Direction == C.FlipCode) {
      C.FlipCode = Integer(next);
      if (isSet(C.FlipOnBounds)) FlipPaneOnBounds(ws, slot);
    }
    C.Direction = Integer(next);
  }
  if (C.EffectType != 0) C.Flashing = QvTrue;
}

void ReboundVertical(Workspace& ws, int slot, const HitRect& hit) {
  PaneRecord& C = ws.RunPane(slot);
  const int y = C.Direction == 3 ? C.Top - ProbeDistance : C.Top + C.Height + ProbeDistance;
  const auto probe = [&](int k) { return std::pair<double, double>(C.Left + probeOffset(k, C.Width), y); };
  if (lastProbeHit(hit, probe) != 0) {
    const int next = C.Direction == 3 ? 4 : 3;
    if (isSet(C.FlipOnBounds)) {
      C.FlipCode = Integer(next);
      FlipPaneOnBounds(ws, slot);
    }
    C.Direction = Integer(next);
  }
  if (C.EffectType != 0) C.Flashing = QvTrue;
}

void ReboundDiagonal(Workspace& ws, int slot, const HitRect& hit) {
  PaneRecord& C = ws.RunPane(slot);
  if (C.Direction < 5 || C.Direction > 8) return;
  const int w = C.CelCount < 2 ? C.Width : C.CelWidth;
  const int h = C.CelCount < 2 ? C.Height : C.CelHeight;
  const bool topEdge = C.Direction == 5 || C.Direction == 8;
  const int y = topEdge ? C.Top - ProbeDistance : C.Top + h + ProbeDistance;
  const auto probe = [&](int k) { return std::pair<double, double>(C.Left + probeOffset(k, w), y); };
  const int lastHit = lastProbeHit(hit, probe);
  // Met with the top or bottom: turn vertically; met with a side: horizontally.
  static const int vertical[9][2] = {{}, {}, {}, {}, {}, {7, 4}, {8, 7}, {5, 3}, {6, 6}};
  static const int horizontal[9][2] = {{}, {}, {}, {}, {}, {8, 2}, {7, 8}, {6, 5}, {5, 1}};
  const auto& t = lastHit != 0 ? vertical[C.Direction] : horizontal[C.Direction];
  C.FlipCode = Integer(t[1]);
  if (isSet(C.FlipOnBounds)) FlipPaneOnBounds(ws, slot);
  C.Direction = Integer(t[0]);
  if (C.EffectType != 0) C.Flashing = QvTrue;
}

}  // namespace qv
