// The lock, the journal and the replacing of a set of files, over the
// checked POSIX calls.
#include "surface/SaveJournal.h"

#include "surface/PosixFiles.h"
#include "surface/SafeFiles.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

namespace qv {

using namespace posix;

namespace {

constexpr char JournalHead[] = "quorvel save journal\n";
constexpr char ReplaceLine[] = "replace\n";
// Far more than any journal: four long names a line.
constexpr qint64 MostJournalBytes = 64 * 1024;
// Far more than any project file; a larger old file is not copied.
constexpr qint64 MostCopied = qint64(1) << 30;

QByteArray field(const QByteArray& name) { return name.isEmpty() ? QByteArray("-") : name.toPercentEncoding(); }

// A hidden companion of target with the tag and a random suffix.
bool isCompanion(const QByteArray& name, const QString& target, const char* tag) {
  const QByteArray prefix = folderOf(target) + besidePrefix(target, tag);
  return name.startsWith(prefix) && name.size() > prefix.size() && !name.mid(prefix.size()).contains('/');
}

// Keeps the old file under entry.keep: a hard link where the file system
// has them, else a copy written like any new file.
QString keepOld(const SetEntry& e) {
  const QByteArray target = native(e.target);
  if (!removeFile(e.keep)) return systemReason(errno);
  if (::link(target.constData(), e.keep.constData()) == 0) return {};
  const int err = errno;
  if (err != EPERM && err != EOPNOTSUPP && err != EMLINK && err != ENOSYS) return systemReason(err);
  QByteArray old;
  const Outcome read = ReadFileCapped(e.target, MostCopied, old);
  if (!read.succeeded()) return read.failure().reason;
  struct stat st {};
  const int copied = writeNew(e.keep, old, ::stat(target.constData(), &st) == 0 ? std::optional<mode_t>(st.st_mode & 07777)
                                                                               : std::nullopt);
  return copied ? systemReason(copied) : QString();
}

void sleepMs(int ms) {
  const timespec t{0, long(ms) * 1'000'000L};
  ::nanosleep(&t, nullptr);
}

}  // namespace

SetLock::SetLock(const QString& lastFile) : name_(besideName(lastFile, "qvlock")) {
  // Polled, so that a holder that hangs does not hang this program too.
  for (int tries = 0; tries < 1500; ++tries) {
    fd_ = ::open(name_.constData(), O_RDONLY | O_CREAT | O_CLOEXEC, 0666);
    if (fd_ < 0) {
      error_ = systemReason(errno);
      return;
    }
    if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
      // The holder before removes the file as it lets go: the lock counts
      // only on the file that still has the name.
      struct stat held {}, named {};
      if (::fstat(fd_, &held) == 0 && ::stat(name_.constData(), &named) == 0 && held.st_ino == named.st_ino &&
          held.st_dev == named.st_dev)
        return;
    } else if (errno != EWOULDBLOCK && errno != EINTR) {
      error_ = systemReason(errno);
      ::close(fd_);
      fd_ = -1;
      return;
    } else {
      sleepMs(20);
    }
    ::close(fd_);
    fd_ = -1;
  }
  error_ = QStringLiteral("another save of these files has held their lock for more than 30 seconds");
}

SetLock::~SetLock() {
  if (fd_ < 0) return;
  ::unlink(name_.constData());
  ::close(fd_);
}

SetJournal::SetJournal(const QString& lastFile) : name_(besideName(lastFile, "qvjournal")) {}

std::optional<Problem> SetJournal::write(const std::vector<SetEntry>& entries) const {
  QByteArray text(JournalHead);
  for (const SetEntry& e : entries)
    text += "entry " + field(native(e.target)) + ' ' + field(e.temp) + ' ' + field(e.keep) + '\n';
  text += ReplaceLine;
  if (!removeFile(name_)) return Problem{{}, systemReason(errno)};
  if (const int err = writeNew(name_, text, std::nullopt)) return Problem{{}, systemReason(err)};
  // The journal's name is on the disk before any rename can be.
  const QString folder = QFileInfo(QFile::decodeName(name_)).absolutePath();
  if (const QString why = syncFolder(folder); !why.isEmpty()) {
    remove();
    return Problem{folder, why};
  }
  return std::nullopt;
}

void SetJournal::markUndo() const {
  const int fd = ::open(name_.constData(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) return;
  struct stat st {};
  if (::fstat(fd, &st) == 0 && st.st_size >= qint64(sizeof ReplaceLine - 1) &&
      ::ftruncate(fd, st.st_size - qint64(sizeof ReplaceLine - 1)) == 0)
    (void)::fdatasync(fd);
  ::close(fd);
}

std::optional<std::vector<SetEntry>> SetJournal::read(const QStringList& targets, bool& replace) const {
  replace = false;
  QByteArray text;
  if (!exists() || !ReadFileCapped(QFile::decodeName(name_), MostJournalBytes, text).succeeded()) return std::nullopt;
  if (!text.startsWith(JournalHead)) return std::nullopt;
  std::vector<SetEntry> entries;
  const QList<QByteArray> lines = text.mid(qsizetype(sizeof JournalHead - 1)).split('\n');
  for (qsizetype i = 0; i + 1 < lines.size(); ++i) {  // the last piece has no line end
    const QList<QByteArray> f = lines[i].split(' ');
    if (lines[i] + '\n' == ReplaceLine && i + 2 == lines.size()) {
      replace = true;
      break;
    }
    if (f.size() != 4 || f[0] != "entry") break;  // cut short by a power cut
    SetEntry e;
    e.target = QFile::decodeName(QByteArray::fromPercentEncoding(f[1]));
    e.path = e.target;
    e.temp = QByteArray::fromPercentEncoding(f[2]);
    e.keep = f[3] == "-" ? QByteArray() : QByteArray::fromPercentEncoding(f[3]);
    const bool known = targets.contains(e.target) && isCompanion(e.temp, e.target, "qvnew") &&
                       (e.keep.isEmpty() || isCompanion(e.keep, e.target, "qvkeep"));
    for (const SetEntry& seen : entries)
      if (seen.target == e.target) return std::nullopt;
    if (!known) return std::nullopt;
    entries.push_back(e);
  }
  return entries;
}

bool SetJournal::exists() const { return posix::exists(name_); }

bool SetJournal::remove() const { return removeFile(name_); }

std::optional<Problem> ReplaceSet(const std::vector<SetEntry>& entries) {
  for (const SetEntry& e : entries) {
    if (!posix::exists(e.temp)) continue;
    QString why = e.keep.isEmpty() ? QString() : keepOld(e);
    if (why.isEmpty() && ::rename(e.temp.constData(), native(e.target).constData()) != 0) why = systemReason(errno);
    if (!why.isEmpty()) return Problem{e.path, why};
  }
  return std::nullopt;
}

QString RemoveOrSay(const QByteArray& name, const char* what) {
  if (removeFile(name)) return {};
  return QStringLiteral("; %1 %2 could not be removed (%3)").arg(QLatin1String(what), QFile::decodeName(name), systemReason(errno));
}

UndoResult UndoSet(const std::vector<SetEntry>& entries) {
  UndoResult r;
  for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
    const SetEntry& e = *it;
    if (posix::exists(e.temp)) {  // never replaced
      r.lost += RemoveOrSay(e.temp, "the new file's temporary");
      if (!e.keep.isEmpty()) r.lost += RemoveOrSay(e.keep, "the old file's kept link");
    } else if (e.keep.isEmpty()) {  // there was no file before
      if (!removeFile(native(e.target))) {
        r.whole = false;
        r.lost += QStringLiteral("; the new %1 could not be removed (%2)").arg(e.target, systemReason(errno));
      }
    } else if (posix::exists(e.keep) && ::rename(e.keep.constData(), native(e.target).constData()) != 0) {
      r.whole = false;
      r.lost += QStringLiteral("; the old %1 could not be put back (%2) and is kept as %3")
                    .arg(e.target, systemReason(errno), QFile::decodeName(e.keep));
    }
  }
  SyncFoldersOf(entries);
  return r;
}

void DropKept(const std::vector<SetEntry>& entries, Outcome& outcome) {
  for (const SetEntry& e : entries)
    if (!e.keep.isEmpty() && !removeFile(e.keep))
      outcome.warn(QFile::decodeName(e.keep),
                   QStringLiteral("the old file kept during the save could not be removed: %1").arg(systemReason(errno)));
}

void RemoveLeftovers(const QStringList& targets, Outcome& outcome) {
  for (const QString& target : targets) {
    const QByteArray folder = folderOf(target);
    DIR* dir = ::opendir(folder.constData());
    if (!dir) continue;
    QList<QByteArray> found;
    while (const dirent* d = ::readdir(dir)) {
      const QByteArray name = folder + d->d_name;
      if (isCompanion(name, target, "qvnew") || isCompanion(name, target, "qvkeep")) found << name;
    }
    ::closedir(dir);
    for (const QByteArray& name : found)
      if (!removeFile(name))
        outcome.warn(QFile::decodeName(name),
                     QStringLiteral("a file left by an interrupted save could not be removed: %1").arg(systemReason(errno)));
  }
}

std::optional<Problem> SyncFoldersOf(const std::vector<SetEntry>& entries) {
  QStringList folders;
  for (const SetEntry& e : entries)
    if (const QString f = QFileInfo(e.target).absolutePath(); !folders.contains(f)) folders << f;
  for (const QString& f : folders)
    if (const QString why = syncFolder(f); !why.isEmpty()) return Problem{f, why};
  return std::nullopt;
}

}  // namespace qv
