// Renumbering Panes for the layer order.
#include "editing/LayerOrder.h"

#include "editing/PaneCopies.h"
#include "editing/Selection.h"
#include "imaging/BoardRender.h"

namespace qv {

void RenumberPanes(Workspace& ws, const QMap<int, int>& to) {
  // A knowing difference from the original design, which never renumbers
  // a slot (a slot is a Pane's identity there): a layer is a slot, so a
  // Pane changes layer only by changing slot.
  Project& pr = ws.project;
  const PaneTableArray was = pr.PaneTable;
  const QVector<PaneCopy> cells = CopyPanes(ws, to.keys().toVector());
  for (const PaneCopy& c : cells) {
    const int n = to.value(c.slot);
    pr.PaneTable[size_t(n)] = was[size_t(c.slot)];
    RecordToSlot(pr.PaneTable[size_t(n)], c.slot, n);
    const QPoint o = SheetCellOrigin(n);
    BitBlt(pr.picSprites.Image(), o.x(), o.y(), CellSize, CellSize, c.sprite, 0, 0, RasterOp::SRCCOPY);
    BitBlt(pr.picMasks.Image(), o.x(), o.y(), CellSize, CellSize, c.mask, 0, 0, RasterOp::SRCCOPY);
  }
  pr.picSprites.TakeImageAsPicture();
  pr.picMasks.TakeImageAsPicture();
  const auto follow = [&](int n) { return to.value(n, n); };
  for (PaneRecord& p : pr.PaneTable)
    if (isSet(p.InUse)) p.RevealPane = Integer(follow(p.RevealPane));
  for (ZorderEntry& e : pr.List_Zorder) e.ItemData = follow(e.ItemData);
  PointerValues& pt = ws.pointer;
  pt.TargetPane = Integer(follow(pt.TargetPane));
  pt.CurrentPane = follow(pt.CurrentPane);
  pt.LastTargetPane = follow(pt.LastTargetPane);
  for (int& n : pt.Selection) n = follow(n);
}

Outcome MoveLayer(Workspace& ws, LayerMove move) {
  const int t = ChosenTarget(ws);
  if (!t) return Outcome::cancelled();
  QVector<int> used;
  for (int n = 1; n <= MaxPanes; ++n)
    if (isSet(ws.project.PaneTable[size_t(n)].InUse)) used << n;
  const qsizetype at = used.indexOf(t);
  const bool front = move == LayerMove::ToFront || move == LayerMove::Forward;
  if (front ? at == 0 : at == used.size() - 1) return Outcome::cancelled();
  // The Panes that change slot, front to back: the Target and its
  // neighbour, or every Pane from the Target to the end it goes to.
  const bool one = move == LayerMove::Forward || move == LayerMove::Backward;
  const qsizetype from = front ? (one ? at - 1 : 0) : at;
  const qsizetype last = front ? at : (one ? at + 1 : used.size() - 1);
  QMap<int, int> to;
  for (qsizetype i = from; i <= last; ++i) {
    // Moving to the front, the Target takes the first slot and the others
    // go one back; moving back, the other way round.
    const qsizetype j = used[i] == t ? (front ? from : last) : (front ? i + 1 : i - 1);
    to.insert(used[i], used[j]);
  }
  RenumberPanes(ws, to);
  MakeTarget(ws, to.value(t));
  ShowSelectionBoxes(ws);
  RedrawBoard(ws);
  return Outcome::done();
}

}  // namespace qv
