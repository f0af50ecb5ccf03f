// Undo steps: what a command changed, found by comparing the workspace with
// a note taken before it, and exchanged back and forth.
#include "shell/History.h"

#include "shell/Workspace.h"

#include <algorithm>

namespace qv {

namespace {

// A member added to Project must be handled by the steps below and by
// Project::operator==: this mirror of its layout stops the build until it is.
struct ProjectLayout : ProjectSettings, ProjectNames {
  PaneTableArray table;
  Surface sprites, masks, background;
  OwnSoundMap sounds;
};
static_assert(sizeof(Project) == sizeof(ProjectLayout), "a member of Project is not kept by the undo steps");

qint64 recordBytes(const PaneRecord& p) {
  return qint64(sizeof(PaneRecord)) +
         2 * (p.WritingText.size() + p.WritingFontName.size() + p.PictureName.size() + p.URL.size() + p.Label.size());
}

qint64 settingsBytes(const ProjectSettings& s) {
  qint64 n = sizeof(ProjectSettings) + 2 * (s.BoardSettings.BackPictureName.size() + s.BoardSettings.BackPicturePath.size());
  for (const ZorderEntry& e : s.List_Zorder) n += qint64(sizeof(ZorderEntry)) + 2 * e.Text.size();
  return n;
}

// A picture and an image that share their pixels are counted once.
qint64 surfaceBytes(const Surface& s) {
  const QImage &picture = s.Picture(), &image = s.Image();
  return picture.sizeInBytes() + (image.constBits() == picture.constBits() ? 0 : image.sizeInBytes());
}

bool sameSurface(const Surface& a, const Surface& b) { return a.Picture() == b.Picture() && a.Image() == b.Image(); }

}  // namespace

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
  open_ = std::make_shared<const Project>(ws.project);
}

void History::Commit(const Workspace& ws, const QString& name, bool joinRun) {
  if (depth_ == 0 || --depth_ > 0) return;
  const bool joins = joinRun && runOpen_ && !undo_.empty() && undo_.back().name == name;
  if (!joinRun) runOpen_ = false;
  const std::shared_ptr<const Project> was = std::move(open_);
  const Project& now = ws.project;
  UndoStep step;
  // Slot 0 holds no Pane; its record is kept only with a real change.
  for (int n = 0; n <= MaxPanes; ++n)
    if (!(was->PaneTable[size_t(n)] == now.PaneTable[size_t(n)])) step.panes.append({n, was->PaneTable[size_t(n)]});
  if (step.panes.size() == 1 && step.panes[0].first == 0) step.panes.clear();
  for (const bool mask : {false, true}) {
    const QImage& before = (mask ? was->picMasks : was->picSprites).Image();
    const QImage& after = (mask ? now.picMasks : now.picSprites).Image();
    for (int n = 1; n <= MaxPanes; ++n)
      if (CellDiffers(before, after, n)) step.cells.append({n, mask, before.copy(CellOf(n))});
  }
  const ProjectSettings &wasSettings = *was, &nowSettings = now;
  if (!(wasSettings == nowSettings)) step.settings = wasSettings;
  if (!sameSurface(was->picBackground, now.picBackground)) step.background = was->picBackground;
  QList<Long> ids = was->OwnSounds.keys() + now.OwnSounds.keys();
  std::sort(ids.begin(), ids.end());
  ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
  for (const Long id : ids) {
    const auto before = was->OwnSounds.constFind(id), after = now.OwnSounds.constFind(id);
    const bool had = before != was->OwnSounds.cend(), has = after != now.OwnSounds.cend();
    if (had == has && (!had || *before == *after)) continue;
    step.sounds.append({id, had ? std::optional<OwnSound>(*before) : std::nullopt});
  }
  if (step.panes.isEmpty() && step.cells.isEmpty() && !step.background && !step.settings && step.sounds.isEmpty()) return;
  runOpen_ = joinRun;
  if (joins) return join(step);

  for (const auto& [n, r] : step.panes) step.bytes += recordBytes(r);
  for (const UndoStep::Cell& c : step.cells) step.bytes += c.pixels.sizeInBytes();
  if (step.background) step.bytes += surfaceBytes(*step.background);
  if (step.settings) step.bytes += settingsBytes(*step.settings);
  for (const auto& [id, sound] : step.sounds) step.bytes += sound ? sound->Wave.size() : 0;
  step.name = name;
  step.id = nextId_++;
  for (const UndoStep& s : redo_) bytes_ -= s.bytes;
  redo_.clear();
  bytes_ += step.bytes;
  undo_.push_back(std::move(step));
  trim();
}

void History::join(UndoStep& step) {
  // The last step keeps each record, cell and setting as it was before the
  // run; the new step adds what the run changed only now.
  UndoStep& last = undo_.back();
  const qint64 was = last.bytes;
  for (auto& [n, r] : step.panes) {
    const bool kept = std::any_of(last.panes.begin(), last.panes.end(), [n = n](const auto& e) { return e.first == n; });
    if (!kept) {
      last.bytes += recordBytes(r);
      last.panes.append({n, std::move(r)});
    }
  }
  for (UndoStep::Cell& c : step.cells) {
    const bool kept = std::any_of(last.cells.begin(), last.cells.end(),
                                  [&](const UndoStep::Cell& k) { return k.slot == c.slot && k.mask == c.mask; });
    if (!kept) {
      last.bytes += c.pixels.sizeInBytes();
      last.cells.append(std::move(c));
    }
  }
  if (!last.settings && step.settings) {
    last.bytes += settingsBytes(*step.settings);
    last.settings = std::move(step.settings);
  }
  if (!last.background && step.background) {
    last.bytes += surfaceBytes(*step.background);
    last.background = std::move(step.background);
  }
  for (auto& [id, sound] : step.sounds) {
    const bool kept = std::any_of(last.sounds.begin(), last.sounds.end(), [id = id](const auto& e) { return e.first == id; });
    if (!kept) {
      last.bytes += sound ? sound->Wave.size() : 0;
      last.sounds.append({id, std::move(sound)});
    }
  }
  bytes_ += last.bytes - was;
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
  Project& p = ws.project;
  for (auto& [n, r] : step.panes) std::swap(p.PaneTable[size_t(n)], r);
  for (UndoStep::Cell& c : step.cells) {
    QImage& sheet = (c.mask ? p.picMasks : p.picSprites).Image();
    const QRect cell = CellOf(c.slot);
    QImage now = sheet.copy(cell);
    BitBlt(sheet, cell.x(), cell.y(), cell.width(), cell.height(), c.pixels, 0, 0, RasterOp::SRCCOPY);
    c.pixels = std::move(now);
  }
  if (step.settings) std::swap(static_cast<ProjectSettings&>(p), *step.settings);
  if (step.background) std::swap(p.picBackground, *step.background);
  for (auto& [id, sound] : step.sounds) {
    std::optional<OwnSound> now;
    if (p.OwnSounds.contains(id)) now = p.OwnSounds.take(id);
    if (sound) p.OwnSounds.insert(id, *sound);
    sound = std::move(now);
  }
  ws.surfaces.picStage.BackColor = p.BoardColour;
}

const UndoStep* History::Undo(Workspace& ws) {
  runOpen_ = false;
  if (undo_.empty()) return nullptr;
  redo_.push_back(std::move(undo_.back()));
  undo_.pop_back();
  exchange(ws, redo_.back());
  return &redo_.back();
}

const UndoStep* History::Redo(Workspace& ws) {
  runOpen_ = false;
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
  runOpen_ = false;
  open_.reset();
  depth_ = 0;
  baseId_ = savedId_ = nextId_++;
}

}  // namespace qv
