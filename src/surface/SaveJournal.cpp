// The lock, the journal and the replacing of a set of files, over the
// checked POSIX calls.
#include "surface/SaveJournal.h"

#include "surface/SafeFiles.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
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

constexpr char JournalHead[] = "quorvel save journal 2\n";
constexpr char ReplaceLine[] = "replace";
// Far more than any journal: four long names a line.
constexpr qint64 MostJournalBytes = 64 * 1024;

QByteArray field(const QByteArray& name) { return name.isEmpty() ? QByteArray("-") : name.toPercentEncoding(); }
QByteArray idField(const FileId& id) { return QByteArray::number(id.dev) + ':' + QByteArray::number(id.ino); }

std::optional<FileId> idFrom(const QByteArray& f) {
  const QList<QByteArray> parts = f.split(':');
  bool okDev = false, okIno = false;
  if (parts.size() != 2) return std::nullopt;
  const FileId id{parts[0].toULongLong(&okDev), parts[1].toULongLong(&okIno)};
  if (!okDev || !okIno) return std::nullopt;
  return id;
}

// A hidden companion of the file name with the tag and a random suffix, by
// name alone.
bool isCompanion(const QByteArray& companion, const QByteArray& name, const char* tag) {
  const QByteArray prefix = besidePrefix(QFile::decodeName(name), tag);
  return companion.startsWith(prefix) && companion.size() > prefix.size() && !companion.contains('/');
}

void sleepMs(int ms) {
  const timespec t{0, long(ms) * 1'000'000L};
  ::nanosleep(&t, nullptr);
}

}  // namespace

bool SetFamily::has(const QByteArray& name) const {
  if (prefix.isEmpty() || !name.startsWith(prefix) || !name.endsWith(suffix)) return false;
  const QByteArray digits = name.mid(prefix.size(), name.size() - prefix.size() - suffix.size());
  return !digits.isEmpty() && digits.size() <= 10 &&
         std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::optional<FileSet> FileSet::of(const QStringList& paths, QString& why, const SetFamily& family) {
  FileSet set;
  set.paths = paths;
  set.family = family;
  for (const QString& p : paths) {
    const QFileInfo info(p);
    const QByteArray folder = folderOf(p);
    if (!set.folder.isEmpty() && folder != set.folder) {
      why = QStringLiteral("the files of one save must share a folder");
      return std::nullopt;
    }
    set.folder = folder;
    set.names << native(info.fileName());
  }
  return set;
}

QString FileSet::pathOf(const QByteArray& name) const { return QFile::decodeName(at(name)); }

QString FileSet::folderPath() const { return QFile::decodeName(folder.size() > 1 ? folder.chopped(1) : folder); }

SetLock::SetLock(const FileSet& set) : name_(besideName(set.paths.last(), "qvlock")) {
  const QString lockName = QFile::decodeName(name_);
  // Polled, so that a holder that hangs does not hang this program too.
  for (int tries = 0; tries < 1500; ++tries) {
    fd_ = ::open(name_.constData(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd_ < 0) {
      const int err = errno;
      readOnly_ = err == EACCES || err == EROFS || err == EPERM;
      error_ = err == ELOOP ? QStringLiteral("its lock file %1 is a symbolic link; remove it").arg(lockName)
                            : systemReason(err);
      return;
    }
    struct stat held {};
    if (::fstat(fd_, &held) != 0 || !S_ISREG(held.st_mode)) {
      error_ = QStringLiteral("its lock file %1 is not a plain file (%2); remove it")
                   .arg(lockName, notAFile(held.st_mode));
      ::close(fd_);
      fd_ = -1;
      return;
    }
    if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
      // The holder before removes the file as it lets go: the lock counts
      // only on the file that still has the name.
      if (find(name_, {quint64(held.st_dev), quint64(held.st_ino)}) == Found::Ours) return;
    } else if (errno != EWOULDBLOCK && errno != EINTR) {
      error_ = systemReason(errno);
      ::unlink(name_.constData());
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
  struct stat held {};
  if (::fstat(fd_, &held) == 0 && find(name_, {quint64(held.st_dev), quint64(held.st_ino)}) == Found::Ours)
    ::unlink(name_.constData());
  ::close(fd_);
}

SetJournal::SetJournal(const FileSet& set) : set_(set), name_(besideName(set.paths.last(), "qvjournal")) {}

QString SetJournal::path() const { return QFile::decodeName(name_); }

std::optional<Problem> SetJournal::write(const std::vector<SetEntry>& entries) const {
  QByteArray text(JournalHead);
  for (const SetEntry& e : entries)
    text += "entry " + field(e.name) + ' ' + field(e.temp) + ' ' + idField(e.tempId) + ' ' + field(e.keep) + ' ' +
            idField(e.keepId) + '\n';
  text += ReplaceLine + QByteArray("\n");
  if (!removeFile(name_)) return Problem{{}, systemReason(errno)};
  if (const int err = writeNew(name_, text, std::nullopt)) return Problem{{}, systemReason(err)};
  // The journal's name is on the disk before any rename can be.
  const QString folder = set_.folderPath();
  if (const QString why = syncFolder(folder); !why.isEmpty()) {
    remove();
    return Problem{folder, why};
  }
  return std::nullopt;
}

void SetJournal::markUndo() const {
  const int fd = ::open(name_.constData(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return;
  struct stat st {};
  const qint64 tail = qint64(sizeof ReplaceLine);  // with its line end
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size >= tail && ::ftruncate(fd, st.st_size - tail) == 0)
    (void)::fdatasync(fd);
  ::close(fd);
}

SetJournal::Read SetJournal::read() const {
  Read r;
  if (!exists()) return r;
  r.kind = Read::Kind::Unmatched;
  const int fd = ::open(name_.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  struct stat st {};
  const bool plain = fd >= 0 && ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  if (fd >= 0) ::close(fd);
  if (!plain) {
    r.why = QStringLiteral("the journal is not a plain file");
    return r;
  }
  if (st.st_uid != ::geteuid()) {
    r.why = QStringLiteral("the journal belongs to another user");
    return r;
  }
  QByteArray text;
  if (const Outcome got = ReadFileCapped(path(), MostJournalBytes, text); !got.succeeded()) {
    r.why = got.failure().reason;
    return r;
  }
  // What follows the last line end was cut short while the journal was
  // written: no file had been replaced then.
  QList<QByteArray> lines = text.left(text.lastIndexOf('\n') + 1).split('\n');
  lines.removeLast();
  r.kind = Read::Kind::Entries;
  if (lines.isEmpty()) return r;
  r.kind = Read::Kind::Unmatched;
  if (lines.takeFirst() + '\n' != JournalHead) {
    r.why = QStringLiteral("the journal was not written by this version of Quorvel");
    return r;
  }
  for (qsizetype i = 0; i < lines.size(); ++i) {
    if (lines[i] == ReplaceLine && i + 1 == lines.size()) {
      r.replace = true;
      break;
    }
    const QList<QByteArray> f = lines[i].split(' ');
    SetEntry e;
    const auto tempId = f.size() == 6 ? idFrom(f[3]) : std::nullopt;
    const auto keepId = f.size() == 6 ? idFrom(f[5]) : std::nullopt;
    if (f.size() == 6) {
      e.name = QByteArray::fromPercentEncoding(f[1]);
      e.temp = QByteArray::fromPercentEncoding(f[2]);
      e.keep = f[4] == "-" ? QByteArray() : QByteArray::fromPercentEncoding(f[4]);
    }
    const qsizetype index = set_.names.indexOf(e.name);
    const bool member = index >= 0 || set_.family.has(e.name);
    const bool known = f[0] == "entry" && tempId && keepId && member && isCompanion(e.temp, e.name, "qvnew") &&
                       (e.keep.isEmpty() || isCompanion(e.keep, e.name, "qvkeep"));
    if (!known) {
      r.why = QStringLiteral("the journal names files that are not this project's");
      return r;
    }
    for (const SetEntry& seen : r.entries)
      if (seen.name == e.name) {
        r.why = QStringLiteral("the journal names a file twice");
        return r;
      }
    e.path = index >= 0 ? set_.paths[index] : set_.pathOf(e.name);
    e.tempId = *tempId;
    e.keepId = *keepId;
    r.entries.push_back(e);
  }
  r.kind = Read::Kind::Entries;
  return r;
}

bool SetJournal::exists() const { return posix::exists(name_); }

bool SetJournal::remove() const { return removeFile(name_); }

std::optional<EntryState> StateOf(const FileSet& set, const SetEntry& e) {
  const Found keep = e.keep.isEmpty() ? Found::Absent : find(set.at(e.keep), e.keepId);
  if (keep == Found::Other) return std::nullopt;
  switch (find(set.at(e.temp), e.tempId)) {
    case Found::Ours: return EntryState::NotReplaced;
    case Found::Other: return std::nullopt;
    case Found::Absent: break;
  }
  return find(set.at(e.name), e.tempId) == Found::Ours ? EntryState::Replaced : EntryState::OldInPlace;
}

std::optional<Problem> ReplaceSet(const FileSet& set, const std::vector<SetEntry>& entries) {
  for (const SetEntry& e : entries) {
    if (StateOf(set, e) != EntryState::NotReplaced) continue;
    if (::rename(set.at(e.temp).constData(), set.at(e.name).constData()) != 0) return Problem{e.path, systemReason(errno)};
  }
  return std::nullopt;
}

QString RemoveOrSay(const QByteArray& name, const char* what) {
  if (removeFile(name)) return {};
  return QStringLiteral("; %1 %2 could not be removed (%3)").arg(QLatin1String(what), QFile::decodeName(name), systemReason(errno));
}

UndoResult UndoSet(const FileSet& set, const std::vector<SetEntry>& entries) {
  UndoResult r;
  for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
    const SetEntry& e = *it;
    const QByteArray target = set.at(e.name), keep = set.at(e.keep);
    const auto state = StateOf(set, e);
    if (!state) {
      r.whole = false;
      r.lost += QStringLiteral("; %1 or its hidden companions were changed by another program").arg(e.path);
      continue;
    }
    const bool kept = !e.keep.isEmpty() && find(keep, e.keepId) == Found::Ours;
    if (state == EntryState::NotReplaced) {
      r.lost += RemoveOrSay(set.at(e.temp), "the new file's temporary");
      if (kept) r.lost += RemoveOrSay(keep, "the old file's kept link");
    } else if (state == EntryState::Replaced && e.keep.isEmpty()) {  // there was no file before
      if (!removeFile(target)) {
        r.whole = false;
        r.lost += QStringLiteral("; the new %1 could not be removed (%2)").arg(e.path, systemReason(errno));
      }
    } else if (kept && (state == EntryState::Replaced || !posix::exists(target))) {
      if (::rename(keep.constData(), target.constData()) != 0) {
        r.whole = false;
        r.lost += QStringLiteral("; the old %1 could not be put back (%2) and is kept as %3")
                      .arg(e.path, systemReason(errno), QFile::decodeName(keep));
      }
    } else if (state == EntryState::Replaced) {  // its old file is gone
      r.whole = false;
      r.lost += QStringLiteral("; the old %1 is lost").arg(e.path);
    } else if (kept) {
      r.lost += RemoveOrSay(keep, "the old file's kept link");
    }
  }
  syncFolder(set.folderPath());
  return r;
}

void DropKept(const FileSet& set, const std::vector<SetEntry>& entries, Outcome& outcome) {
  for (const SetEntry& e : entries)
    if (!e.keep.isEmpty() && find(set.at(e.keep), e.keepId) == Found::Ours && !removeFile(set.at(e.keep)))
      outcome.warn(set.pathOf(e.keep),
                   QStringLiteral("the old file kept during the save could not be removed: %1").arg(systemReason(errno)));
}

void RemoveLeftovers(const FileSet& set, Outcome& outcome) {
  DIR* dir = ::opendir(set.folder.constData());
  if (!dir) return;
  QList<QByteArray> found;
  while (const dirent* d = ::readdir(dir)) {
    QList<QByteArray> names = set.names;
    // A family member's companion: ".NAME.qvnew-..." or ".NAME.qvkeep-...".
    const QByteArray entry(d->d_name);
    for (const char* tag : {".qvnew-", ".qvkeep-"})
      if (const qsizetype end = entry.indexOf(tag); entry.startsWith('.') && end > 1 && set.family.has(entry.mid(1, end - 1)))
        names << entry.mid(1, end - 1);
    for (const QByteArray& name : names)
      if (isCompanion(entry, name, "qvnew") || isCompanion(entry, name, "qvkeep")) {
        found << set.at(entry);
        break;
      }
  }
  ::closedir(dir);
  for (const QByteArray& name : found)
    if (!removeFile(name))
      outcome.warn(QFile::decodeName(name),
                   QStringLiteral("a file left by an interrupted save could not be removed: %1").arg(systemReason(errno)));
}

void RemoveStrays(const FileSet& set, const std::vector<SetEntry>& entries, Outcome& outcome) {
  DIR* dir = ::opendir(set.folder.constData());
  if (!dir) return;
  QList<QByteArray> strays;
  const auto named = [&](const char* name) {
    return std::any_of(entries.begin(), entries.end(), [&](const SetEntry& e) { return e.name == name; });
  };
  while (const dirent* d = ::readdir(dir))
    if (set.family.has(d->d_name) && !named(d->d_name)) strays << set.at(d->d_name);
  ::closedir(dir);
  for (const QByteArray& name : strays)
    if (!removeFile(name))
      outcome.warn(QFile::decodeName(name),
                   QStringLiteral("a file of an earlier save that is no longer used could not be removed: %1")
                       .arg(systemReason(errno)));
}

}  // namespace qv
