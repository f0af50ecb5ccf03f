// The Design steps that can be undone and redone, and whether the project
// has changes that were not saved. A step is found by comparing the project
// value before and after a command, and keeps only what it changed: the
// Pane records, the 200 x 200 sheet cells, the Background, the own sounds
// that changed, and the small settings whole (Board settings and option pairs, Board colour, Pane count,
// layer list). It keeps them as they are not now, so that undoing and
// redoing it both exchange what it kept with the project.
#pragma once
#include "shell/Project.h"

#include <QString>
#include <QVector>
#include <deque>
#include <memory>
#include <optional>

namespace qv {

struct Workspace;

struct UndoStep {
  QString name;
  quint64 id = 0;
  QVector<std::pair<int, PaneRecord>> panes;
  // A cell of the sprite (mask) sheet, by slot.
  struct Cell {
    int slot;
    bool mask;
    QImage pixels;
  };
  QVector<Cell> cells;
  std::optional<ProjectSettings> settings;
  std::optional<Surface> background;
  // Own sounds by their Sound value: none for one that was not there.
  QVector<std::pair<Long, std::optional<OwnSound>>> sounds;
  qint64 bytes = 0;
  // The Pane the step touched first (lowest slot), 0 for none.
  int slot() const;
};

class History {
 public:
  // The bounds: the oldest steps are dropped first.
  int maxSteps = 100;
  qint64 maxBytes = qint64(256) * 1024 * 1024;

  // Opens a step: the project as it is now is noted (pictures are shared,
  // not copied). Steps opened inside an open step join it.
  void Begin(const Workspace& ws);
  // Closes the step opened last; when it was the outermost one and the
  // project changed, the step is kept under the name and what could be
  // redone is dropped. The layer list's order counts: an accept that
  // changed no field still moves its Pane's entry to the end of the list, a
  // change the user sees, so undo puts the entry back.
  //
  // A step committed with joinRun joins the last step instead when that
  // one has the same name, was committed with joinRun too, and nothing
  // happened since (our addition: a run of nudges is one step). Any other
  // step, an undo or redo, and Seal() end the run.
  void Commit(const Workspace& ws, const QString& name, bool joinRun = false);
  bool IsOpen() const { return depth_ > 0; }
  // Something else happened (a command that changes nothing): the next
  // step does not join the last one.
  void Seal() { runOpen_ = false; }

  // Puts the workspace back as it was before the last step (after the next
  // one that was undone); the step, or nullptr when there is none.
  const UndoStep* Undo(Workspace& ws);
  const UndoStep* Redo(Workspace& ws);
  QString UndoName() const { return undo_.empty() ? QString() : undo_.back().name; }
  QString RedoName() const { return redo_.empty() ? QString() : redo_.back().name; }
  int UndoCount() const { return int(undo_.size()); }
  qint64 Bytes() const { return bytes_; }

  // Forgets every step (New, Load, End); the project as it is counts as saved.
  void Clear();
  // The project as it is now is the saved one.
  void MarkSaved() { savedId_ = currentId(); }
  bool Unsaved() const { return currentId() != savedId_; }
  // No state of the history is the saved one (a recovered project, our
  // addition).
  void MarkUnsaved() { savedId_ = ~quint64(0); }
  // Names the project's state: every step, undo, redo and Clear gives
  // another (the recovery copy tells by it what it holds).
  quint64 StateId() const { return currentId(); }

 private:
  quint64 currentId() const { return undo_.empty() ? baseId_ : undo_.back().id; }
  void exchange(Workspace& ws, UndoStep& step);
  void trim();
  // Takes into the last step what a step of the same run kept and it did not.
  void join(UndoStep& step);

  std::shared_ptr<const Project> open_;
  int depth_ = 0;
  std::deque<UndoStep> undo_, redo_;
  quint64 nextId_ = 1, baseId_ = 0, savedId_ = 0;
  qint64 bytes_ = 0;
  // The last step may take in the next one of its run.
  bool runOpen_ = false;
};

}  // namespace qv
