// Nudge, align and distribute.
#include "editing/Arrange.h"

#include "editing/Selection.h"
#include "imaging/BoardRender.h"

#include <algorithm>

namespace qv {

namespace {

Integer clampInteger(int v) { return Integer(std::clamp(v, -32768, 32767)); }

// The boxes moved; the Board drawn again.
Outcome moved(Workspace& ws) {
  if (const int t = ChosenTarget(ws)) PlaceTargetBox(ws, t);
  ShowSelectionBoxes(ws);
  RedrawBoard(ws);
  return Outcome::done();
}

// A Pane's place and shown size along one axis.
struct Span {
  int slot, start, size;
  int end() const { return start + size; }
};

QVector<Span> spans(const Workspace& ws, const QVector<int>& panes, bool across) {
  QVector<Span> out;
  for (int n : panes) {
    const PaneRecord& p = ws.project.PaneTable[size_t(n)];
    const QSize s = shownSize(p);
    out.append({n, across ? p.Left : p.Top, across ? s.width() : s.height()});
  }
  return out;
}

void place(Workspace& ws, int slot, bool across, int start) {
  PaneRecord& p = ws.Pane(slot);
  (across ? p.Left : p.Top) = clampInteger(start);
}

}  // namespace

Outcome NudgePanes(Workspace& ws, int dx, int dy) {
  const QVector<int> chosen = ChosenPanes(ws);
  if (chosen.isEmpty()) return Outcome::cancelled();
  for (int n : chosen) {
    PaneRecord& p = ws.Pane(n);
    p.Left = clampInteger(p.Left + dx);
    p.Top = clampInteger(p.Top + dy);
  }
  return moved(ws);
}

Outcome AlignPanes(Workspace& ws, AlignTo to) {
  const QVector<int> chosen = ChosenPanes(ws);
  if (chosen.size() < 2) return Outcome::cancelled();
  const bool across = to == AlignTo::Left || to == AlignTo::Centres || to == AlignTo::Right;
  const QVector<Span> all = spans(ws, chosen, across);
  int low = all.front().start, high = all.front().end();
  for (const Span& s : all) {
    low = std::min(low, s.start);
    high = std::max(high, s.end());
  }
  for (const Span& s : all) {
    switch (to) {
      case AlignTo::Left: case AlignTo::Top: place(ws, s.slot, across, low); break;
      case AlignTo::Right: case AlignTo::Bottom: place(ws, s.slot, across, high - s.size); break;
      default: place(ws, s.slot, across, floorDiv(low + high - s.size, 2)); break;
    }
  }
  return moved(ws);
}

Outcome DistributePanes(Workspace& ws, bool horizontal) {
  const QVector<int> chosen = ChosenPanes(ws);
  if (chosen.size() < 3) return Outcome::cancelled();
  QVector<Span> all = spans(ws, chosen, horizontal);
  std::stable_sort(all.begin(), all.end(), [](const Span& a, const Span& b) { return a.start < b.start; });
  const int first = all.front().start, last = all.back().end(), gaps = int(all.size()) - 1;
  int room = last - first;
  for (const Span& s : all) room -= s.size;
  int at = first;
  for (int i = 0; i <= gaps; ++i) {
    place(ws, all[i].slot, horizontal, at + floorDiv(room * i, gaps));
    at += all[i].size;
  }
  return moved(ws);
}

}  // namespace qv
