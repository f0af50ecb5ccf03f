// The selection: which Panes are chosen, the Target among them, their boxes.
#include "editing/Selection.h"

#include "imaging/BoardRender.h"
#include "shell/TargetMarks.h"

#include <algorithm>

namespace qv {

namespace {

bool inUse(const Workspace& ws, int slot) { return slot >= 1 && slot <= MaxPanes && isSet(ws.project.PaneTable[size_t(slot)].InUse); }

}  // namespace

int ChosenTarget(const Workspace& ws) {
  const int t = ws.pointer.TargetPane;
  return ws.win.Shape1[0].Visible && inUse(ws, t) ? t : 0;
}

QVector<int> ChosenPanes(const Workspace& ws) {
  QVector<int> panes;
  for (int n : ws.pointer.Selection)
    if (inUse(ws, n) && !panes.contains(n)) panes << n;
  if (panes.isEmpty())
    if (const int t = ChosenTarget(ws)) panes << t;
  std::sort(panes.begin(), panes.end());
  return panes;
}

void MakeTarget(Workspace& ws, int slot) {
  ws.pointer.TargetPane = Integer(slot);
  ws.win.Shape1[0].Visible = true;
  PlaceTargetBox(ws, slot);
  EnablePaneMenus(ws);
  ws.win.Label1 = QString::number(slot);
}

void ClearSelection(Workspace& ws) {
  ws.pointer.Selection.clear();
  ws.pointer.PressKeptSelection = false;
  ws.win.SelectionBoxes.clear();
}

void SetSelection(Workspace& ws, const QVector<int>& panes, int target) {
  ws.pointer.Selection = panes.size() > 1 ? panes : QVector<int>();
  if (target > 0) MakeTarget(ws, target);
  ShowSelectionBoxes(ws);
}

bool ToggleSelected(Workspace& ws, int slot) {
  QVector<int> chosen = ws.pointer.Selection;
  if (chosen.isEmpty())
    if (const int t = ChosenTarget(ws)) chosen << t;
  if (!chosen.contains(slot)) {
    chosen << slot;
    SetSelection(ws, chosen, slot);
    return true;
  }
  chosen.removeAll(slot);
  int target = ChosenTarget(ws);
  if (target == slot || !chosen.contains(target)) target = chosen.isEmpty() ? 0 : chosen.last();
  if (target == 0) {
    ws.pointer.TargetPane = 0;
    ws.win.Shape1[0].Visible = false;
    DisablePaneMenus(ws);
  }
  SetSelection(ws, chosen, target);
  return false;
}

QVector<int> PanesTouching(const Workspace& ws, const QRect& r) {
  QVector<int> panes;
  for (int n = 1; n <= MaxPanes; ++n) {
    const PaneRecord& p = ws.project.PaneTable[size_t(n)];
    if (!isSet(p.InUse)) continue;
    // The edges count, as in the press's hit test.
    const QSize s = shownSize(p);
    if (p.Left <= r.right() && r.left() <= p.Left + s.width() && p.Top <= r.bottom() && r.top() <= p.Top + s.height())
      panes << n;
  }
  return panes;
}

void ShowSelectionBoxes(Workspace& ws) {
  QVector<ControlState>& boxes = ws.win.SelectionBoxes;
  boxes.clear();
  const QVector<int> chosen = ws.pointer.Selection.isEmpty() ? QVector<int>() : ChosenPanes(ws);
  for (int n : chosen) {
    if (n == ChosenTarget(ws)) continue;
    const PaneRecord& p = ws.Pane(n);
    boxes.append({p.Left, p.Top, p.Width, p.Height, true, true});
  }
}

Outcome SelectAllPanes(Workspace& ws) {
  QVector<int> all;
  for (int n = 1; n <= MaxPanes; ++n)
    if (inUse(ws, n)) all << n;
  if (all.isEmpty()) return Outcome::cancelled();
  const int target = ChosenTarget(ws);
  SetSelection(ws, all, target ? target : all.first());
  return Outcome::done();
}

}  // namespace qv
