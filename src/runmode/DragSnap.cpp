// The snap of a drag.
#include "runmode/DragSnap.h"

#include "editing/Arrange.h"
#include "imaging/BoardRender.h"

#include <cstdlib>

namespace qv {

namespace {

// Lines along one axis in doubled pixels (so a centre is whole): an edge,
// the centre, the other edge.
struct Lines {
  int at[3];
};

Lines linesOf(int start, int size) { return {{2 * start, 2 * start + size, 2 * (start + size)}}; }

// The nearest of the targets to any of the moving lines, within the snap
// distance: how far the moving lines go (doubled), and the target line.
struct Snap {
  int by2 = 0, line2 = 0;
  bool found = false;
};

void consider(Snap& best, const Lines& moving, const Lines& target) {
  for (int m : moving.at)
    for (int t : target.at) {
      const int d = t - m;
      if (std::abs(d) <= 2 * SnapDistance && (!best.found || std::abs(d) < std::abs(best.by2))) best = {d, t, true};
    }
}

}  // namespace

void HideSnapGuides(Workspace& ws) {
  for (ControlState& g : ws.win.SnapGuides) g.Visible = false;
}

QPoint SnapMove(Workspace& ws, const QVector<int>& moving, QPoint by) {
  QRect box;
  for (int n : moving) {
    const PaneRecord& p = ws.Pane(n);
    box |= QRect(QPoint(p.Left, p.Top) + by, shownSize(p));
  }
  const QSize board(ws.surfaces.picStage.Width(), ws.surfaces.picStage.Height());
  Snap across, down;
  const Lines boxX = linesOf(box.x(), box.width()), boxY = linesOf(box.y(), box.height());
  consider(across, boxX, linesOf(0, board.width()));
  consider(down, boxY, linesOf(0, board.height()));
  for (int n = 1; n <= MaxPanes; ++n) {
    const PaneRecord& p = ws.project.PaneTable[size_t(n)];
    if (!isSet(p.InUse) || moving.contains(n)) continue;
    const QSize s = shownSize(p);
    consider(across, boxX, linesOf(p.Left, s.width()));
    consider(down, boxY, linesOf(p.Top, s.height()));
  }
  auto& [vertical, horizontal] = ws.win.SnapGuides;
  vertical = {floorDiv(across.line2, 2), 0, 1, board.height(), across.found, true};
  horizontal = {0, floorDiv(down.line2, 2), board.width(), 1, down.found, true};
  // A centre half a pixel off its line goes to the pixel before it.
  return {floorDiv(across.by2, 2), floorDiv(down.by2, 2)};
}

}  // namespace qv
