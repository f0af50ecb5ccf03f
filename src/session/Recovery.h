// Our addition: keeping the recovery copy while a window has unsaved
// changes, and offering the copies of windows that are gone at the next
// start. The window's thread only takes the project value (its pictures are
// shared); a worker thread writes it into the window's recovery folder.
#pragma once
#include "model/Outcome.h"
#include "project/RecoveryCopy.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace qv {

// The recovery root under a state folder: STATE/quorvel/recovery.
QString RecoveryRootIn(const QString& stateFolder);
// Where copies that could not be read are moved: STATE/quorvel/recovery-damaged.
QString RecoveryAsideIn(const QString& stateFolder);

class RecoveryKeeper {
 public:
  // Copies go under root, at most intervalSeconds after the last change
  // (0: no copies are kept).
  RecoveryKeeper(QString root, int intervalSeconds);
  // Waits for a write under way; the copy stays.
  ~RecoveryKeeper();
  RecoveryKeeper(const RecoveryKeeper&) = delete;
  RecoveryKeeper& operator=(const RecoveryKeeper&) = delete;

  const QString& root() const { return root_; }
  int interval() const { return interval_; }

  // Looks at the workspace after every event and when the timer is due, at
  // nowMs (a steady clock): without unsaved changes the copy is removed;
  // when a run starts, or interval seconds after the first change the copy
  // lacks, the value is handed to the writer. busy: a command is under way
  // (a dialog is open), so the value may be half-changed: the copy waits.
  // Gives the milliseconds until it should look again, or -1.
  qint64 Tick(Workspace& ws, qint64 nowMs, bool busy = false);
  // Hands the value to the writer now when the copy lacks changes.
  void WriteNow(Workspace& ws);
  // Waits until the writer is idle.
  void Wait();
  // Removes the copy and its folder (a clean end, a save).
  void Discard();
  // A recovered copy's folder becomes this window's; it holds the state.
  void Adopt(std::unique_ptr<RecoveryFolder> folder, quint64 stateId);
  // The folder of this window's copy; empty while there is none.
  QString folder() const { return folder_ ? folder_->path() : QString(); }
  // What went wrong with the last write, once (empty when it went well).
  QString TakeFailure();

 private:
  struct Job {
    Project project;
    QDateTime when;
  };
  void work();

  QString root_;
  int interval_;
  std::unique_ptr<RecoveryFolder> folder_;
  // The state the copy holds or is being written with; 0: none.
  quint64 copied_ = 0;
  std::optional<qint64> due_;
  bool looping_ = false;

  std::mutex mutex_;
  std::condition_variable wake_, idle_;
  std::optional<Job> pending_;
  // A write is under way; the last one failed and holds nothing.
  bool busy_ = false, stop_ = false, lost_ = false;
  QString failure_;
  std::thread worker_;
};

// At start: for each copy under the keeper's root that no running Quorvel
// holds, newest first, asks "Quorvel closed with unsaved changes to ...":
// Recover opens it (the keeper adopts its folder, and no later copy is
// asked about), Discard removes it, Later keeps it for the next start. A
// copy that cannot be read is reported and moved into aside. True when a
// copy was recovered.
bool OfferRecovery(Workspace& ws, RecoveryKeeper& keeper, const QString& aside);
// The question's text for a note, today being the given date.
QString RecoveryQuestion(const RecoveryNote& note, const QDate& today);

}  // namespace qv
