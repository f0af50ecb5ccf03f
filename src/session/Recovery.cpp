// The recovery copy's keeper and the question at start.
#include "session/Recovery.h"

#include "shell/Platform.h"

#include <QDir>
#include <algorithm>

namespace qv {

namespace {

const QString Title = QStringLiteral("Recovery");

// Tells of a copy that cannot be read and moves it aside.
void setAside(Workspace& ws, RecoveryFolder& folder, const QString& aside, const QString& reason) {
  const QString was = folder.path();
  QString why;
  const QString to = folder.MoveAside(aside, why);
  const QString text = to.isEmpty()
                           ? QStringLiteral("A recovery copy could not be read, nor moved aside (%1); it stays in %2.")
                                 .arg(why, QDir::toNativeSeparators(was))
                           : QStringLiteral("A recovery copy could not be read; it was moved to %1.")
                                 .arg(QDir::toNativeSeparators(to));
  ws.platform->ShowMessage(Title, text, reason);
}

}  // namespace

QString RecoveryRootIn(const QString& stateFolder) { return QDir(stateFolder).filePath("quorvel/recovery"); }
QString RecoveryAsideIn(const QString& stateFolder) { return QDir(stateFolder).filePath("quorvel/recovery-damaged"); }

RecoveryKeeper::RecoveryKeeper(QString root, int intervalSeconds) : root_(std::move(root)), interval_(intervalSeconds) {}

RecoveryKeeper::~RecoveryKeeper() {
  {
    const std::lock_guard lock(mutex_);
    stop_ = true;
  }
  wake_.notify_one();
  if (worker_.joinable()) worker_.join();
}

qint64 RecoveryKeeper::Tick(Workspace& ws, qint64 nowMs, bool busy) {
  {
    // A write that failed holds nothing: the next is due as after a change.
    const std::lock_guard lock(mutex_);
    if (lost_) copied_ = 0;
    lost_ = false;
  }
  // A recovered copy is removed so too when no copies are kept.
  if (!ws.history.Unsaved()) {
    if (folder_) Discard();
    due_.reset();
    return -1;
  }
  if (interval_ <= 0) return -1;
  const bool starting = ws.run.LoopActive && !looping_;
  looping_ = ws.run.LoopActive;
  if (ws.history.StateId() == copied_) {
    due_.reset();
    return -1;
  }
  // Before every run: a run is where a program is most likely to be stopped.
  if (starting) {
    WriteNow(ws);
    return -1;
  }
  if (!due_) due_ = nowMs + qint64(interval_) * 1000;
  if (nowMs < *due_) return *due_ - nowMs;
  if (busy || ws.run.LoopActive || ws.history.IsOpen()) return 1000;
  due_.reset();
  WriteNow(ws);
  return -1;
}

void RecoveryKeeper::WriteNow(Workspace& ws) {
  if (interval_ <= 0 || !ws.history.Unsaved() || ws.history.StateId() == copied_) return;
  if (!folder_) {
    QString why;
    folder_ = RecoveryFolder::Create(root_, why);
    if (!folder_) {
      const std::lock_guard lock(mutex_);
      failure_ = why;
      return;
    }
  }
  // The sheets' noted mirrorings are done here, on the window's thread, so
  // that the writer only reads.
  Project& p = ws.project;
  p.picSprites.Image();
  p.picMasks.Image();
  p.picBackground.Image();
  {
    const std::lock_guard lock(mutex_);
    pending_ = Job{p, QDateTime::currentDateTime()};
    copied_ = ws.history.StateId();
    if (!worker_.joinable()) worker_ = std::thread(&RecoveryKeeper::work, this);
  }
  wake_.notify_one();
}

void RecoveryKeeper::work() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return stop_ || pending_; });
    if (!pending_) return;
    std::optional<Job> job = std::move(pending_);
    pending_.reset();
    busy_ = true;
    const RecoveryFolder* folder = folder_.get();
    lock.unlock();
    const Outcome written = folder->Write(job->project, job->when);
    job.reset();
    lock.lock();
    busy_ = false;
    if (written.hasFailed()) failure_ = written.failure().file + ": " + written.failure().reason;
    lost_ = written.hasFailed();
    idle_.notify_all();
  }
}

void RecoveryKeeper::Wait() {
  std::unique_lock lock(mutex_);
  idle_.wait(lock, [this] { return !busy_ && !pending_; });
}

void RecoveryKeeper::Discard() {
  {
    std::unique_lock lock(mutex_);
    pending_.reset();
    idle_.wait(lock, [this] { return !busy_; });
    lost_ = false;
  }
  if (folder_) folder_->Remove();
  folder_.reset();
  copied_ = 0;
  due_.reset();
}

void RecoveryKeeper::Adopt(std::unique_ptr<RecoveryFolder> folder, quint64 stateId) {
  Discard();
  folder_ = std::move(folder);
  copied_ = stateId;
}

QString RecoveryKeeper::TakeFailure() {
  const std::lock_guard lock(mutex_);
  QString out;
  std::swap(out, failure_);
  return out;
}

QString RecoveryQuestion(const RecoveryNote& note, const QDate& today) {
  const QString name = note.original.isEmpty() ? QStringLiteral("the new project") : QFileInfo(note.original).fileName();
  const QDateTime at = note.saved.toLocalTime();
  QString when = at.toString(QStringLiteral("HH:mm"));
  if (at.date() != today) when += QStringLiteral(" on ") + at.date().toString(Qt::ISODate);
  return QStringLiteral("Quorvel closed with unsaved changes to %1 (saved for recovery at %2). Recover them?").arg(name, when);
}

bool OfferRecovery(Workspace& ws, RecoveryKeeper& keeper, const QString& aside) {
  struct Found {
    std::unique_ptr<RecoveryFolder> folder;
    RecoveryNote note;
  };
  std::vector<Found> found;
  // A folder that a running Quorvel holds is not claimed.
  for (const QString& path : RecoveryFolderPaths(keeper.root())) {
    auto folder = RecoveryFolder::Claim(path);
    if (!folder) continue;
    const RecoveryCopyRead read = ReadRecoveryCopy(path);
    if (read.kind == RecoveryCopyRead::Kind::None) folder->Remove();
    else if (read.kind == RecoveryCopyRead::Kind::Damaged) setAside(ws, *folder, aside, read.why);
    else found.push_back({std::move(folder), read.note});
  }
  std::stable_sort(found.begin(), found.end(), [](const Found& a, const Found& b) { return a.note.saved > b.note.saved; });
  const QDate today = QDate::currentDate();
  for (Found& f : found) {
    switch (ws.platform->AskRecover(Title, RecoveryQuestion(f.note, today))) {
      case RecoverChoice::Recover:
        if (const Outcome opened = OpenRecoveryCopy(ws, f.folder->path()); !opened.succeeded()) {
          setAside(ws, *f.folder, aside, opened.hasFailed() ? opened.failure().reason : QString());
          break;
        }
        // One window holds one project: the copies not yet asked about stay
        // for the next start.
        keeper.Adopt(std::move(f.folder), ws.history.StateId());
        return true;
      case RecoverChoice::Discard: f.folder->Remove(); break;
      case RecoverChoice::Later: break;
    }
  }
  return false;
}

}  // namespace qv
