// Safe writing of single files and sets of files, and capped reading, over
// the POSIX file calls: each call's result is checked and its errno turned
// into the system's own text.
//
// A set is written in two phases. First every file goes to a temporary
// ".NAME.qvnew-XXXXXXXX" beside it: written in full, flushed to the disk
// (fdatasync) and closed. Then, in order, each old file is kept under a
// second name ".NAME.qvkeep-XXXXXXXX" (a hard link, or a copy where the file
// system has no links) and the temporary is renamed over it; rename replaces
// a file in one step, so each name always holds a whole file. The folders
// are synced last. Any failure undoes the renames done so far from the kept
// files. Only a power cut between two renames can leave a mix of old and new
// files, each of them whole.
#include "surface/SafeFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <limits>
#include <optional>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace qv {
namespace {

QString systemReason(int err) { return QString::fromStdString(std::generic_category().message(err)); }

QByteArray native(const QString& path) { return QFile::encodeName(path); }

// What a path is when it is not a plain file; empty for a plain file.
QString notAFile(mode_t mode) {
  if (S_ISREG(mode)) return {};
  if (S_ISDIR(mode)) return QStringLiteral("it is a folder, not a file");
  if (S_ISFIFO(mode)) return QStringLiteral("it is a named pipe (FIFO), not a file");
  if (S_ISCHR(mode)) return QStringLiteral("it is a character device, not a file");
  if (S_ISBLK(mode)) return QStringLiteral("it is a block device, not a file");
  if (S_ISSOCK(mode)) return QStringLiteral("it is a socket, not a file");
  return QStringLiteral("it is not a plain file");
}

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

 private:
  int fd_;
};

// The file a path names, following symbolic links (a dangling link names
// the file it would point to).
QString resolveLinks(const QString& path) {
  QString target = QFileInfo(path).absoluteFilePath();
  for (int hops = 0; hops < 40 && QFileInfo(target).isSymLink(); ++hops) target = QFileInfo(target).symLinkTarget();
  return target;
}

// Creates a file of a fresh name beside target, ".NAME.TAG-XXXXXXXX", with
// the given permissions (or the usual ones). Returns the descriptor, or -1
// with errno set.
int createBeside(const QString& target, const char* tag, std::optional<mode_t> mode, QByteArray& name) {
  const QFileInfo info(target);
  for (int attempt = 0; attempt < 32; ++attempt) {
    const QString suffix = QString::number(QRandomGenerator::global()->generate(), 36);
    name = native(info.absolutePath() + "/." + info.fileName() + "." + tag + "-" + suffix);
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      // The old file's permissions carry over; failing that, the new file
      // keeps the usual ones, which is no reason to refuse the save.
      if (mode) (void)::fchmod(fd, *mode);
      return fd;
    }
    if (errno != EEXIST) break;
  }
  name.clear();
  return -1;
}

bool writeAll(int fd, const QByteArray& bytes) {
  const char* p = bytes.constData();
  qint64 left = bytes.size();
  while (left > 0) {
    const ssize_t n = ::write(fd, p, size_t(std::min<qint64>(left, 1 << 30)));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      return false;
    }
    p += n;
    left -= n;
  }
  return true;
}

// Writes bytes to a new file beside target: fully written, on the disk and
// closed. Returns an empty string, or the reason (and leaves no file).
QString writeBeside(const QString& target, const char* tag, const QByteArray& bytes, std::optional<mode_t> mode,
                    QByteArray& name) {
  const int fd = createBeside(target, tag, mode, name);
  if (fd < 0) return systemReason(errno);
  bool ok = writeAll(fd, bytes) && ::fdatasync(fd) == 0;
  int err = errno;
  // A close can report a write the disk refused late (network file systems).
  if (::close(fd) != 0 && ok) {
    ok = false;
    err = errno;
  }
  if (ok) return {};
  ::unlink(name.constData());
  name.clear();
  return systemReason(err);
}

// Makes renames in a folder last across a power cut. File systems that
// cannot sync a folder say so with EINVAL; their renames are as durable as
// they get.
QString syncFolder(const QString& folder) {
  const int fd = ::open(native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return systemReason(errno);
  const bool ok = ::fsync(fd) == 0 || errno == EINVAL;
  const int err = errno;
  ::close(fd);
  return ok ? QString() : systemReason(err);
}

// One file of a set on its way to its place.
struct Pending {
  QString path;    // as the caller named it, for messages
  QString target;  // the file replaced (links followed)
  std::optional<mode_t> oldMode;  // set when a file is there already
  QByteArray temp;                // the new contents, until renamed
  QByteArray kept;                // the old file under its second name
  bool replaced = false;
};

// Keeps the old file under a second name: a hard link where the file system
// has them, otherwise a copy written like any new file.
QString keepOld(Pending& p) {
  const QByteArray target = native(p.target);
  const QFileInfo info(p.target);
  for (int attempt = 0; attempt < 32; ++attempt) {
    const QString suffix = QString::number(QRandomGenerator::global()->generate(), 36);
    p.kept = native(info.absolutePath() + "/." + info.fileName() + ".qvkeep-" + suffix);
    if (::link(target.constData(), p.kept.constData()) == 0) return {};
    if (errno != EEXIST) break;
  }
  const int err = errno;
  p.kept.clear();
  if (err != EPERM && err != EOPNOTSUPP && err != EMLINK && err != ENOSYS) return systemReason(err);
  QByteArray old;
  // Far more than any project file; a larger file is not copied.
  constexpr qint64 MostCopied = qint64(1) << 30;
  const Outcome read = ReadFileCapped(p.target, MostCopied, old);
  if (!read.succeeded()) return read.failure().reason;
  return writeBeside(p.target, "qvkeep", old, p.oldMode, p.kept);
}

QStringList foldersOf(const std::vector<Pending>& set) {
  QStringList folders;
  for (const Pending& p : set) {
    const QString folder = QFileInfo(p.target).absolutePath();
    if (!folders.contains(folder)) folders << folder;
  }
  return folders;
}

// Puts every replaced file back from its kept copy (or removes it when there
// was none before) and removes the temporaries. Returns what could not be
// put back, as text to add to the failure's reason.
QString rollBack(std::vector<Pending>& set) {
  QString lost;
  for (auto it = set.rbegin(); it != set.rend(); ++it) {
    Pending& p = *it;
    if (p.replaced) {
      const bool back = p.kept.isEmpty() ? ::unlink(native(p.target).constData()) == 0 || errno == ENOENT
                                         : ::rename(p.kept.constData(), native(p.target).constData()) == 0;
      if (back) p.kept.clear();
      else lost += QStringLiteral("; the old %1 could not be put back (%2)%3")
                       .arg(p.target, systemReason(errno),
                            p.kept.isEmpty() ? QString() : " and is kept as " + QFile::decodeName(p.kept));
    } else if (!p.kept.isEmpty()) {
      ::unlink(p.kept.constData());
      p.kept.clear();
    }
    if (!p.temp.isEmpty()) ::unlink(p.temp.constData());
    p.temp.clear();
  }
  for (const QString& folder : foldersOf(set)) syncFolder(folder);
  return lost;
}

}  // namespace

Outcome WriteFileSafely(const QString& path, const QByteArray& bytes) { return WriteFilesTogether({{path, bytes}}); }

Outcome WriteFilesTogether(const QVector<FileContents>& files) {
  std::vector<Pending> set;
  for (const FileContents& f : files) {
    Pending p{f.path, resolveLinks(f.path), std::nullopt, {}, {}, false};
    struct stat st {};
    if (::stat(native(p.target).constData(), &st) == 0) {
      if (const QString why = notAFile(st.st_mode); !why.isEmpty()) return Outcome::failed(f.path, why);
      p.oldMode = st.st_mode & 07777;
    } else if (errno != ENOENT) {
      return Outcome::failed(f.path, systemReason(errno));
    }
    set.push_back(p);
  }

  for (size_t i = 0; i < set.size(); ++i) {
    const QString why = writeBeside(set[i].target, "qvnew", files[int(i)].bytes, set[i].oldMode, set[i].temp);
    if (!why.isEmpty()) {
      rollBack(set);
      return Outcome::failed(set[i].path, why);
    }
  }

  for (Pending& p : set) {
    QString why;
    if (p.oldMode) why = keepOld(p);
    if (why.isEmpty()) {
      if (::rename(p.temp.constData(), native(p.target).constData()) == 0) {
        p.temp.clear();
        p.replaced = true;
        continue;
      }
      why = systemReason(errno);
    }
    return Outcome::failed(p.path, why + rollBack(set));
  }

  for (const QString& folder : foldersOf(set)) {
    if (const QString why = syncFolder(folder); !why.isEmpty()) return Outcome::failed(folder, why + rollBack(set));
  }

  Outcome done = Outcome::done();
  for (const Pending& p : set) {
    if (!p.kept.isEmpty() && ::unlink(p.kept.constData()) != 0)
      done.warn(QFile::decodeName(p.kept), QStringLiteral("the old file kept during the save could not be removed: %1")
                                               .arg(systemReason(errno)));
  }
  return done;
}

Outcome ReadFileCapped(const QString& path, qint64 maxBytes, QByteArray& bytes) {
  bytes.clear();
  const QByteArray name = native(path);
  struct stat st {};
  if (::stat(name.constData(), &st) != 0) return Outcome::failed(path, systemReason(errno));
  if (const QString why = notAFile(st.st_mode); !why.isEmpty()) return Outcome::failed(path, why);
  // Non-blocking, so that a pipe put in the file's place after the check
  // does not wait for a writer; the descriptor is checked again below.
  const ReadFd fd(::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
  if (fd.get() < 0) return Outcome::failed(path, systemReason(errno));
  if (::fstat(fd.get(), &st) != 0) return Outcome::failed(path, systemReason(errno));
  if (const QString why = notAFile(st.st_mode); !why.isEmpty()) return Outcome::failed(path, why);

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
