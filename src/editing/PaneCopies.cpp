// Copying Panes and putting the copies in.
#include "editing/PaneCopies.h"

#include "editing/OwnSounds.h"
#include "editing/Selection.h"
#include "imaging/BoardRender.h"
#include "shell/TargetMarks.h"

#include <QMap>
#include <QRegularExpression>

namespace qv {

QVector<PaneCopy> CopyPanes(const Workspace& ws, const QVector<int>& panes) {
  QVector<PaneCopy> copies;
  for (int n : panes) {
    const QRect cell = CellOf(n);
    const PaneRecord& p = ws.project.Pane(n);
    const auto sound = ws.project.OwnSounds.constFind(p.Sound);
    copies.append({n, p, ws.project.picSprites.Image().copy(cell), ws.project.picMasks.Image().copy(cell),
                   sound == ws.project.OwnSounds.cend() ? std::nullopt : std::optional<OwnSound>(*sound)});
  }
  return copies;
}

void RecordToSlot(PaneRecord& r, int from, int to) {
  const QPoint move = SheetCellOrigin(to) - SheetCellOrigin(from);
  r.SheetX = Integer(r.SheetX + move.x());
  r.SheetY = Integer(r.SheetY + move.y());
  r.Layer = Integer(to);
}

QString UniqueLabel(const Workspace& ws, const QString& label, const QSet<QString>& taken) {
  QSet<QString> used = taken;
  for (int n = 1; n <= MaxPanes; ++n)
    if (isSet(ws.project.PaneTable[size_t(n)].InUse)) used.insert(ws.project.PaneTable[size_t(n)].Label);
  if (!used.contains(label)) return label;
  static const QRegularExpression numbered(QStringLiteral(" \\d+$"));
  const QString base = QString(label).remove(numbered);
  for (int k = 2;; ++k) {
    const QString suffix = QStringLiteral(" %1").arg(k);
    const QString name = base.left(MaxLabelLength - suffix.size()) + suffix;
    if (!used.contains(name)) return name;
  }
}

QVector<int> PlacePaneCopies(Workspace& ws, const QVector<PaneCopy>& copies, bool sameProject, QPoint offset) {
  QVector<int> panes;
  for (int n = 1; n <= MaxPanes && panes.size() < copies.size(); ++n)
    if (!isSet(ws.project.PaneTable[size_t(n)].InUse)) panes << n;
  panes.resize(std::min<qsizetype>({panes.size(), copies.size(), qsizetype(std::max(MaxPanes - ws.project.PaneCount, 0))}));
  QMap<int, int> copyOf;
  for (int i = 0; i < panes.size(); ++i) copyOf.insert(copies[i].slot, panes[i]);
  QSet<QString> labels;
  for (int i = 0; i < panes.size(); ++i) {
    const PaneCopy& c = copies[i];
    const int slot = panes[i];
    PaneRecord r = c.record;
    RecordToSlot(r, c.slot, slot);
    r.InUse = QvTrue;
    r.Left = Integer(std::clamp(r.Left + offset.x(), -32768, 32767));
    r.Top = Integer(std::clamp(r.Top + offset.y(), -32768, 32767));
    r.Label = UniqueLabel(ws, r.Label, labels);
    labels.insert(r.Label);
    if (copyOf.contains(r.RevealPane)) r.RevealPane = Integer(copyOf.value(r.RevealPane));
    else if (!sameProject) r.RevealPane = 0;
    if (c.ownSound) {
      r.Sound = OwnSoundIdFor(ws.project, {}, *c.ownSound);
      ws.project.OwnSounds.insert(r.Sound, *c.ownSound);
    } else if (!sameProject && r.Sound >= FirstOwnSoundId) {
      r.Sound = 0;
    }
    ws.Pane(slot) = r;
    const QPoint o = SheetCellOrigin(slot);
    BitBlt(ws.project.picSprites.Image(), o.x(), o.y(), CellSize, CellSize, c.sprite, 0, 0, RasterOp::SRCCOPY);
    BitBlt(ws.project.picMasks.Image(), o.x(), o.y(), CellSize, CellSize, c.mask, 0, 0, RasterOp::SRCCOPY);
    ws.project.PaneCount = Integer(ws.project.PaneCount + 1);
    ws.pointer.CurrentPane = slot;
    AddZorderItem(ws, slot);
  }
  ws.project.picSprites.TakeImageAsPicture();
  ws.project.picMasks.TakeImageAsPicture();
  return panes;
}

Outcome DuplicatePane(Workspace& ws) {
  const int target = ChosenTarget(ws);
  if (!target) return Outcome::cancelled();
  const QVector<int> placed = PlacePaneCopies(ws, CopyPanes(ws, {target}), true, {10, 10});
  if (placed.isEmpty()) return Outcome::failed({}, QStringLiteral("The Board holds 50 Panes, the most it can."));
  ClearSelection(ws);
  MakeTarget(ws, placed.front());
  RedrawBoard(ws);
  return Outcome::done();
}

}  // namespace qv
