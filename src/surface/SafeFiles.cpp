// Safe writing of single files and sets of files, and capped reading.
//
// A set is written in two phases, under the set's lock. First every file
// goes to a temporary ".NAME.qvnew-XXXXXXX" beside it: written in full,
// flushed to the disk (fdatasync) and closed; each old file is kept under a
// second name ".NAME.qvkeep-XXXXXXX" (a hard link, or a copy where the file
// system has no links). A journal beside the last file then lists the set,
// by names in its folder and the identities of the files it made, and says
// it may be replaced. Then, in order, each temporary is renamed over its
// file; rename replaces a name in one step, so each name always holds a
// whole file. The folder is synced, the kept files and the journal removed.
// A failure undoes the renames done so far from the kept files. A save
// killed at any point (or a power cut) is finished, or undone when it had
// not reached its renames, by the next save or load of the set, which also
// removes what it left, wherever the folder is reached from.
#include "surface/SafeFiles.h"

#include "surface/PosixFiles.h"
#include "surface/SaveJournal.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace qv {

using namespace posix;

namespace {

// Far more than any project file; a larger old file is not copied.
constexpr qint64 MostCopied = qint64(1) << 30;

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

// Keeps the old file under entry.keep: a hard link where the file system
// has them, else a copy written like any new file (a link in the file's
// place is kept as a link). Sets the kept file's identity.
QString keepOld(const FileSet& set, SetEntry& e) {
  const QByteArray target = set.at(e.name), keep = set.at(e.keep);
  struct stat st {};
  if (::link(target.constData(), keep.constData()) == 0 && ::lstat(keep.constData(), &st) == 0) {
    e.keepId = {quint64(st.st_dev), quint64(st.st_ino)};
    return {};
  }
  const int err = errno;
  if (err != EPERM && err != EOPNOTSUPP && err != EMLINK && err != ENOSYS) return systemReason(err);
  if (!e.oldMode) {  // a link
    char to[4096];
    const ssize_t n = ::readlink(target.constData(), to, sizeof to - 1);
    if (n < 0) return systemReason(errno);
    to[n] = '\0';
    if (::symlink(to, keep.constData()) != 0 || ::lstat(keep.constData(), &st) != 0) return systemReason(errno);
    e.keepId = {quint64(st.st_dev), quint64(st.st_ino)};
    return {};
  }
  QByteArray old;
  const Outcome read = ReadFileCapped(e.path, MostCopied, old);
  if (!read.succeeded()) return read.failure().reason;
  const int copied = writeNew(keep, old, e.oldMode, &e.keepId);
  return copied ? systemReason(copied) : QString();
}

// Under the set's lock: finishes a save of the set that was interrupted
// after its journal said to replace, undoes one that was not, and removes
// what it left. The reason it could not when the set could not be made
// whole or the journal does not match the files (the journal and its files
// then stay for the next try, or for the user).
std::optional<QString> finishInterrupted(const FileSet& set, Outcome& outcome) {
  const SetJournal journal(set);
  const SetJournal::Read found = journal.read();
  const QString named = set.paths.last();
  const auto unmatched = [&](const QString& why) {
    return QStringLiteral("a save of this project was interrupted, and its journal %1 does not match the files "
                          "beside it (%2). Nothing was changed. Open the project from the folder it was saved in to "
                          "finish that save, or remove the journal and the hidden .qvnew and .qvkeep files beside it "
                          "to use the files as they are now.")
        .arg(journal.path(), why);
  };
  if (found.kind == SetJournal::Read::Kind::Unmatched) return unmatched(found.why);
  for (const SetEntry& e : found.entries) {
    const auto state = StateOf(set, e);
    if (!state || (found.replace && state == EntryState::OldInPlace) ||
        (!found.replace && state == EntryState::Replaced && !e.keep.isEmpty() &&
         find(set.at(e.keep), e.keepId) != posix::Found::Ours))
      return unmatched(QStringLiteral("its files are not the ones it wrote; was the folder copied?"));
  }
  if (found.kind == SetJournal::Read::Kind::Entries) {
    UndoResult undone;
    const auto failed = found.replace ? ReplaceSet(set, found.entries) : std::nullopt;
    if (failed) {
      journal.markUndo();
      undone = UndoSet(set, found.entries);
      undone.lost.prepend(QStringLiteral(": ") + failed->file + ": " + failed->reason);
    } else if (!found.replace) {
      undone = UndoSet(set, found.entries);
    } else {
      syncFolder(set.folderPath());
      DropKept(set, found.entries, outcome);
      RemoveStrays(set, found.entries, outcome);
    }
    if (!undone.whole) return QStringLiteral("an interrupted save could not be finished or undone") + undone.lost;
    if (!undone.lost.isEmpty()) outcome.warn(named, QStringLiteral("an interrupted save was undone") + undone.lost);
  }
  if (!journal.remove())
    outcome.warn(named, QStringLiteral("the journal of an interrupted save could not be removed: %1").arg(systemReason(errno)));
  RemoveLeftovers(set, outcome);
  return std::nullopt;
}

// Removes the temporaries and kept files made so far by a save that failed
// before its journal; the text to add to its reason for each that stays.
QString dropMade(const FileSet& set, const std::vector<SetEntry>& entries) {
  QString lost;
  for (const SetEntry& e : entries) {
    if (!e.temp.isEmpty() && find(set.at(e.temp), e.tempId) == posix::Found::Ours)
      lost += RemoveOrSay(set.at(e.temp), "the new file's temporary");
    if (!e.keep.isEmpty() && find(set.at(e.keep), e.keepId) == posix::Found::Ours)
      lost += RemoveOrSay(set.at(e.keep), "the old file's kept link");
  }
  return lost;
}

// A failure after the journal: the set goes back to its old files. The
// journal goes with it unless some file could not be put back; then the
// next save or load tries again.
Outcome undo(const FileSet& set, const std::vector<SetEntry>& entries, const SetJournal& journal, const Problem& failed) {
  journal.markUndo();
  const UndoResult undone = UndoSet(set, entries);
  if (undone.whole) journal.remove();
  return Outcome::failed(failed.file, failed.reason + undone.lost);
}

}  // namespace

Outcome WriteFileSafely(const QString& path, const QByteArray& bytes) { return WriteFilesTogether({{path, bytes}}); }

Outcome WriteFilesTogether(const QVector<FileContents>& files, const SetFamily& family) {
  QStringList paths;
  for (const FileContents& f : files) paths << f.path;
  const QString& named = paths.last();
  QString why;
  const auto set = FileSet::of(paths, why, family);
  if (!set) return Outcome::failed(named, why);
  const SetLock lock(*set);
  if (!lock.error().isEmpty()) return Outcome::failed(named, lock.error());
  Outcome outcome = Outcome::done();
  if (const auto refused = finishInterrupted(*set, outcome)) return Outcome::failed(named, *refused);

  std::vector<SetEntry> entries;
  for (qsizetype i = 0; i < files.size(); ++i) {
    SetEntry e{paths[i], set->names[i], {}, {}, {}, {}, std::nullopt};
    struct stat st {};
    if (::lstat(set->at(e.name).constData(), &st) == 0) {
      if (const QString what = notAFile(st.st_mode); !what.isEmpty() && !S_ISLNK(st.st_mode))
        return Outcome::failed(e.path, what);
      if (S_ISREG(st.st_mode)) e.oldMode = st.st_mode & 07777;
      e.keep = randomBesideName(e.path, "qvkeep").mid(set->folder.size());
    } else if (errno != ENOENT) {
      return Outcome::failed(e.path, systemReason(errno));
    }
    entries.push_back(e);
  }
  for (qsizetype i = 0; i < files.size(); ++i) {
    SetEntry& e = entries[size_t(i)];
    int err = EEXIST;
    for (int attempt = 0; attempt < 32 && err == EEXIST; ++attempt) {
      e.temp = randomBesideName(e.path, "qvnew").mid(set->folder.size());
      err = writeNew(set->at(e.temp), files[i].bytes, e.oldMode, &e.tempId);
    }
    if (err) {
      e.temp.clear();
      for (SetEntry& rest : entries) rest.keep.clear();
      return Outcome::failed(e.path, systemReason(err) + dropMade(*set, entries));
    }
  }
  for (SetEntry& e : entries) {
    if (e.keep.isEmpty()) continue;
    if (const QString fail = keepOld(*set, e); !fail.isEmpty()) {
      for (SetEntry& rest : entries)
        if (&rest >= &e) rest.keep.clear();
      return Outcome::failed(e.path, fail + dropMade(*set, entries));
    }
  }

  const SetJournal journal(*set);
  if (const auto failed = journal.write(entries))
    return Outcome::failed(failed->file.isEmpty() ? named : failed->file, failed->reason + dropMade(*set, entries));
  if (const auto failed = ReplaceSet(*set, entries)) return undo(*set, entries, journal, *failed);
  if (const QString fail = syncFolder(set->folderPath()); !fail.isEmpty())
    return undo(*set, entries, journal, {set->folderPath(), fail});
  DropKept(*set, entries, outcome);
  // Before the journal goes: a save killed here is finished by the next.
  RemoveStrays(*set, entries, outcome);
  if (!journal.remove())
    outcome.warn(named, QStringLiteral("the save's journal could not be removed: %1").arg(systemReason(errno)));
  return outcome;
}

Outcome ReadFilesTogether(QVector<FileToRead>& files, const SetFamily& family, const MoreFiles& more) {
  QStringList paths;
  for (const FileToRead& f : files) paths << f.path;
  const QString named = paths.last();
  QString why;
  const auto set = FileSet::of(paths, why, family);
  if (!set) return Outcome::failed(named, why);
  Outcome outcome = Outcome::done();
  const SetLock lock(*set);
  if (lock.error().isEmpty()) {
    if (const auto refused = finishInterrupted(*set, outcome)) return Outcome::failed(named, *refused);
  } else if (!lock.folderReadOnly() || SetJournal(*set).exists()) {
    return Outcome::failed(named, QStringLiteral("its files cannot be read as one: %1").arg(lock.error()));
  }
  const auto read = [](FileToRead& f) {
    if (const Outcome got = ReadFileCapped(f.path, f.maxBytes, f.bytes); !got.succeeded()) f.error = got.failure().reason;
  };
  for (FileToRead& f : files) read(f);
  if (!more) return outcome;
  QVector<FileToRead> further = more(files);
  // Only members of the family, in the set's folder.
  for (FileToRead& f : further) {
    if (family.has(native(QFileInfo(f.path).fileName())) && folderOf(f.path) == set->folder) read(f);
    else f.error = QStringLiteral("it is not a file of this project");
  }
  files += further;
  return outcome;
}

bool IsReadOnlyFile(const QString& path) {
  const QByteArray name = native(path);
  struct stat st {};
  if (::lstat(name.constData(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
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
