// Safe writing of single files and sets of files, and capped reading.
//
// A set is written in two phases, under the set's lock. First every file
// goes to a temporary ".NAME.qvnew-XXXXXXX" beside it: written in full,
// flushed to the disk (fdatasync) and closed. A journal beside the last file
// then lists the set and says it may be replaced. Then, in order, each old
// file is kept under a second name ".NAME.qvkeep-XXXXXXX" (a hard link, or
// a copy where the file system has no links) and the temporary is renamed
// over it; rename replaces a file in one step, so each name always holds a
// whole file. The folders are synced, the kept files and the journal
// removed. A failure undoes the renames done so far from the kept files. A
// save killed at any point (or a power cut) is finished, or undone when it
// had not reached its renames, by the next save or load of the set, which
// also removes what it left.
#include "surface/SafeFiles.h"

#include "surface/PosixFiles.h"
#include "surface/SaveJournal.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace qv {

using namespace posix;

namespace {

// A descriptor opened for reading, closed when it goes out of scope.
class ReadFd {
 public:
  explicit ReadFd(int fd) : fd_(fd) {}
  ~ReadFd() {
    if (fd_ >= 0) ::close(fd_);
  }
  ReadFd(const ReadFd&) = delete;
  ReadFd& operator=(const ReadFd&) = delete;
  int get() const { return fd_; }
  void reset(int fd) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
  }

 private:
  int fd_;
};

QStringList targetsOf(const QStringList& paths) {
  QStringList targets;
  for (const QString& p : paths) targets << resolveLinks(p);
  return targets;
}

// Under the set's lock: finishes a save of the set that was interrupted
// after its journal said to replace, undoes one that was not, and removes
// what it left. False when the set could not be made whole (the journal
// then stays for the next try); the warning says why.
bool finishInterrupted(const QStringList& targets, const QString& named, Outcome& outcome) {
  const SetJournal journal(targets.last());
  bool replace = false;
  if (const auto entries = journal.read(targets, replace)) {
    UndoResult undone;
    const auto failed = replace ? ReplaceSet(*entries) : std::nullopt;
    if (failed) {
      journal.markUndo();
      undone = UndoSet(*entries);
      undone.lost.prepend(QStringLiteral(": ") + failed->file + ": " + failed->reason);
    } else if (!replace) {
      undone = UndoSet(*entries);
    } else {
      SyncFoldersOf(*entries);
      DropKept(*entries, outcome);
    }
    if (!undone.whole) {
      outcome.warn(named, QStringLiteral("an interrupted save could not be finished or undone") + undone.lost);
      return false;
    }
    if (!undone.lost.isEmpty()) outcome.warn(named, QStringLiteral("an interrupted save was undone") + undone.lost);
  }
  if (!journal.remove())
    outcome.warn(named, QStringLiteral("the journal of an interrupted save could not be removed: %1").arg(systemReason(errno)));
  RemoveLeftovers(targets, outcome);
  return true;
}

// A failure after the journal: the set goes back to its old files. The
// journal goes with it unless some file could not be put back; then the
// next save or load tries again.
Outcome undo(const std::vector<SetEntry>& set, const SetJournal& journal, const Problem& failed) {
  journal.markUndo();
  const UndoResult undone = UndoSet(set);
  if (undone.whole) journal.remove();
  return Outcome::failed(failed.file, failed.reason + undone.lost);
}

}  // namespace

Outcome WriteFileSafely(const QString& path, const QByteArray& bytes) { return WriteFilesTogether({{path, bytes}}); }

Outcome WriteFilesTogether(const QVector<FileContents>& files) {
  QStringList paths;
  for (const FileContents& f : files) paths << f.path;
  const QStringList targets = targetsOf(paths);
  const QString& named = paths.last();
  const SetLock lock(targets.last());
  if (!lock.error().isEmpty()) return Outcome::failed(named, lock.error());
  Outcome outcome = Outcome::done();
  if (!finishInterrupted(targets, named, outcome)) return Outcome::failed(named, outcome.warnings().last().reason);

  std::vector<SetEntry> set;
  for (qsizetype i = 0; i < files.size(); ++i) {
    SetEntry e{paths[i], targets[i], {}, {}, std::nullopt};
    struct stat st {};
    if (::stat(native(e.target).constData(), &st) == 0) {
      if (const QString why = notAFile(st.st_mode); !why.isEmpty()) return Outcome::failed(e.path, why);
      e.oldMode = st.st_mode & 07777;
      e.keep = randomBesideName(e.target, "qvkeep");
    } else if (errno != ENOENT) {
      return Outcome::failed(e.path, systemReason(errno));
    }
    set.push_back(e);
  }
  const auto dropTemps = [&] {
    QString lost;
    for (const SetEntry& e : set)
      if (!e.temp.isEmpty()) lost += RemoveOrSay(e.temp, "the new file's temporary");
    return lost;
  };
  for (qsizetype i = 0; i < files.size(); ++i) {
    SetEntry& e = set[size_t(i)];
    int err = EEXIST;
    for (int attempt = 0; attempt < 32 && err == EEXIST; ++attempt) {
      e.temp = randomBesideName(e.target, "qvnew");
      err = writeNew(e.temp, files[i].bytes, e.oldMode);
    }
    if (err) {
      e.temp.clear();
      return Outcome::failed(e.path, systemReason(err) + dropTemps());
    }
  }

  const SetJournal journal(targets.last());
  if (const auto failed = journal.write(set))
    return Outcome::failed(failed->file.isEmpty() ? named : failed->file, failed->reason + dropTemps());
  if (const auto failed = ReplaceSet(set)) return undo(set, journal, *failed);
  if (const auto failed = SyncFoldersOf(set)) return undo(set, journal, *failed);
  DropKept(set, outcome);
  if (!journal.remove())
    outcome.warn(named, QStringLiteral("the save's journal could not be removed: %1").arg(systemReason(errno)));
  return outcome;
}

Outcome RecoverFilesTogether(const QStringList& paths) {
  const QStringList targets = targetsOf(paths);
  Outcome outcome = Outcome::done();
  const SetLock lock(targets.last());
  if (lock.error().isEmpty()) {
    finishInterrupted(targets, paths.last(), outcome);
  } else if (SetJournal(targets.last()).exists()) {
    // A folder this program may not write: nothing of a save can be there
    // unless someone else's was interrupted.
    outcome.warn(paths.last(), QStringLiteral("an interrupted save of these files cannot be finished: %1").arg(lock.error()));
  }
  return outcome;
}

bool IsReadOnlyFile(const QString& path) {
  const QByteArray name = native(resolveLinks(path));
  struct stat st {};
  if (::stat(name.constData(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  if (::access(name.constData(), W_OK) != 0) return errno == EACCES || errno == EROFS || errno == EPERM;
  return (st.st_mode & 0222) == 0;
}

namespace {

// Opens a plain file for reading; a folder, pipe, device or socket is
// refused without waiting on it. Non-blocking, so that a pipe put in the
// file's place after the check does not wait for a writer; the descriptor
// is checked again.
Outcome openPlainFile(const QString& path, ReadFd& fd, struct stat& st) {
  const QByteArray name = native(path);
  if (::stat(name.constData(), &st) != 0) return Outcome::failed(path, systemReason(errno));
  if (const QString why = notAFile(st.st_mode); !why.isEmpty()) return Outcome::failed(path, why);
  fd.reset(::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
  if (fd.get() < 0) return Outcome::failed(path, systemReason(errno));
  if (::fstat(fd.get(), &st) != 0) return Outcome::failed(path, systemReason(errno));
  if (const QString why = notAFile(st.st_mode); !why.isEmpty()) return Outcome::failed(path, why);
  return Outcome::done();
}

}  // namespace

Outcome ReadFileHead(const QString& path, int count, QByteArray& bytes) {
  bytes.clear();
  ReadFd fd(-1);
  struct stat st {};
  if (const Outcome opened = openPlainFile(path, fd, st); !opened.succeeded()) return opened;
  QByteArray out(count, Qt::Uninitialized);
  ssize_t n = -1;
  do n = ::read(fd.get(), out.data(), size_t(count));
  while (n < 0 && errno == EINTR);
  if (n < 0) return Outcome::failed(path, systemReason(errno));
  bytes = out.left(qsizetype(n));
  return Outcome::done();
}

Outcome ReadFileCapped(const QString& path, qint64 maxBytes, QByteArray& bytes) {
  bytes.clear();
  ReadFd fd(-1);
  struct stat st {};
  if (const Outcome opened = openPlainFile(path, fd, st); !opened.succeeded()) return opened;

  // The reported size is only a hint: reading goes on until the end of the
  // file or past the cap. Reads are made in whole 64 KiB blocks, which
  // files of records (such as /proc/self/pagemap) require.
  constexpr qint64 Block = 64 * 1024;
  const qint64 limit = (std::min<qint64>(maxBytes, std::numeric_limits<qint64>::max() - 2 * Block) / Block + 1) * Block;
  qint64 have = 0;
  QByteArray out;
  out.resize(qsizetype(std::min<qint64>({(st.st_size / Block + 1) * Block, limit, 1 << 30})));
  while (have <= maxBytes) {
    if (have == out.size()) out.resize(qsizetype(std::min<qint64>(limit, have * 2)));
    const ssize_t n = ::read(fd.get(), out.data() + have, size_t(out.size() - have));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return Outcome::failed(path, systemReason(errno));
    if (n == 0) break;
    have += n;
  }
  if (have > maxBytes)
    return Outcome::failed(path, QStringLiteral("it holds more than %1 bytes, the most that is read").arg(maxBytes));
  out.resize(qsizetype(have));
  bytes = out;
  return Outcome::done();
}

}  // namespace qv
