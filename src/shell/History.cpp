// Undo steps: what a command changed, found by comparing the workspace with
// a note taken before it, and exchanged back and forth.
#include "shell/History.h"

#include "shell/Workspace.h"

#include <cstring>

namespace qv {

namespace {

BoardState boardOf(const Workspace& ws) {
  const BoardDialogState& d = ws.dialogs.board;
  return {ws.BoardSettings, d.Option_BoardMove, d.Option_FloatPanes, d.Option_WirePanes,
          d.Option_FloatPanesYesEnabled, ws.surfaces.picStage.BackColor};
}

void setBoard(Workspace& ws, const BoardState& b) {
  BoardDialogState& d = ws.dialogs.board;
  ws.BoardSettings = b.settings;
  d.Option_BoardMove = b.boardMove;
  d.Option_FloatPanes = b.floatPanes;
  d.Option_WirePanes = b.wirePanes;
  d.Option_FloatPanesYesEnabled = b.floatYesEnabled;
  ws.surfaces.picStage.BackColor = b.stageBack;
}

bool sameSurface(const Surface& a, const Surface& b) {
  return a.Picture() == b.Picture() && a.Image() == b.Image();
}

QRect cellOf(int slot) { return {SheetCellOrigin(slot), QSize(CellSize, CellSize)}; }

// Whether slot's cell differs between two pictures of a sheet.
bool cellDiffers(const QImage& a, const QImage& b, int slot) {
  const QRect r = cellOf(slot) & a.rect() & b.rect();
  for (int y = r.top(); y <= r.bottom(); ++y)
    if (std::memcmp(a.constScanLine(y) + r.left() * 4, b.constScanLine(y) + r.left() * 4, size_t(r.width()) * 4))
      return true;
  return false;
}

qint64 recordBytes(const PaneRecord& p) {
  return qint64(sizeof(PaneRecord)) +
         2 * (p.WritingText.size() + p.WritingFontName.size() + p.PictureName.size() + p.URL.size() + p.Label.size());
}

// A picture and drawing that share their pixels (a fitted Background's) are
// counted once.
qint64 surfaceBytes(const Surface& s) {
  const QImage &picture = s.Picture(), &image = s.Image();
  return image.sizeInBytes() + (picture.constBits() == image.constBits() ? 0 : picture.sizeInBytes());
}

}  // namespace

// What the workspace held when the step opened. The pictures share their
// pixels with the workspace until the command writes to them.
struct History::Snapshot {
  PaneTableArray panes;
  Integer paneCount;
  BoardState board;
  QImage sprites, masks;
  Surface background;
  QVector<ZorderEntry> zorder;
};

int UndoStep::slot() const {
  int n = 0;
  for (const auto& [s, r] : panes)
    if (s > 0 && (n == 0 || s < n)) n = s;
  for (const Cell& c : cells)
    if (n == 0 || c.slot < n) n = c.slot;
  return n;
}

void History::Begin(const Workspace& ws) {
  if (depth_++ > 0) return;
  open_ = std::make_shared<Snapshot>(Snapshot{ws.PaneTable, ws.project.PaneCount, boardOf(ws),
                                              ws.surfaces.picSprites.Image(), ws.surfaces.picMasks.Image(),
                                              ws.surfaces.picBackground, ws.win.List_Zorder});
}

void History::Commit(const Workspace& ws, const QString& name) {
  if (depth_ == 0 || --depth_ > 0) return;
  const std::shared_ptr<Snapshot> was = std::move(open_);
  UndoStep step;
  // Slot 0 holds no Pane; its record is kept only with a real change.
  for (int n = 0; n <= MaxPanes; ++n)
    if (!(was->panes[size_t(n)] == ws.PaneTable[size_t(n)])) step.panes.append({n, was->panes[size_t(n)]});
  if (step.panes.size() == 1 && step.panes[0].first == 0) step.panes.clear();
  for (const bool mask : {false, true}) {
    const QImage& before = mask ? was->masks : was->sprites;
    const QImage& now = mask ? ws.surfaces.picMasks.Image() : ws.surfaces.picSprites.Image();
    if (before.constBits() == now.constBits()) continue;  // not written to
    for (int n = 1; n <= MaxPanes; ++n)
      if (cellDiffers(before, now, n)) step.cells.append({n, mask, before.copy(cellOf(n))});
  }
  if (!(was->board == boardOf(ws))) step.board = was->board;
  if (!sameSurface(was->background, ws.surfaces.picBackground)) step.background = was->background;
  if (was->zorder != ws.win.List_Zorder) step.zorder = was->zorder;
  if (was->paneCount != ws.project.PaneCount) step.paneCount = was->paneCount;
  if (step.panes.isEmpty() && step.cells.isEmpty() && !step.board && !step.background && !step.paneCount) return;

  for (const auto& [n, r] : step.panes) step.bytes += recordBytes(r);
  for (const UndoStep::Cell& c : step.cells) step.bytes += c.pixels.sizeInBytes();
  if (step.background) step.bytes += surfaceBytes(*step.background);
  if (step.zorder) step.bytes += step.zorder->size() * qint64(sizeof(ZorderEntry) + 40);
  step.name = name;
  step.id = nextId_++;
  for (const UndoStep& s : redo_) bytes_ -= s.bytes;
  redo_.clear();
  bytes_ += step.bytes;
  undo_.push_back(std::move(step));
  trim();
}

void History::trim() {
  while (!undo_.empty() && (int(undo_.size()) > maxSteps || bytes_ > maxBytes)) {
    baseId_ = undo_.front().id;
    bytes_ -= undo_.front().bytes;
    undo_.pop_front();
  }
}

void History::exchange(Workspace& ws, UndoStep& step) {
  for (auto& [n, r] : step.panes) std::swap(ws.PaneTable[size_t(n)], r);
  for (UndoStep::Cell& c : step.cells) {
    QImage& sheet = c.mask ? ws.surfaces.picMasks.Image() : ws.surfaces.picSprites.Image();
    const QRect cell = cellOf(c.slot);
    QImage now = sheet.copy(cell);
    BitBlt(sheet, cell.x(), cell.y(), cell.width(), cell.height(), c.pixels, 0, 0, RasterOp::SRCCOPY);
    c.pixels = std::move(now);
  }
  if (step.board) {
    const BoardState now = boardOf(ws);
    setBoard(ws, *step.board);
    step.board = now;
  }
  if (step.background) std::swap(ws.surfaces.picBackground, *step.background);
  if (step.zorder) std::swap(ws.win.List_Zorder, *step.zorder);
  if (step.paneCount) std::swap(ws.project.PaneCount, *step.paneCount);
}

const UndoStep* History::Undo(Workspace& ws) {
  if (undo_.empty()) return nullptr;
  redo_.push_back(std::move(undo_.back()));
  undo_.pop_back();
  exchange(ws, redo_.back());
  return &redo_.back();
}

const UndoStep* History::Redo(Workspace& ws) {
  if (redo_.empty()) return nullptr;
  undo_.push_back(std::move(redo_.back()));
  redo_.pop_back();
  exchange(ws, undo_.back());
  return &undo_.back();
}

void History::Clear() {
  undo_.clear();
  redo_.clear();
  bytes_ = 0;
  open_.reset();
  depth_ = 0;
  baseId_ = savedId_ = nextId_++;
}

}  // namespace qv
