// Checked POSIX file calls and the hidden names beside a saved file.
#include "surface/PosixFiles.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace qv::posix {
namespace {

// A name's bytes kept whole in its hidden companions; longer names are cut
// to ShortStem bytes and a hash. 1 + 200 + ".qvjournal-" + 7 stays within 255.
constexpr qsizetype LongestStem = 200;
constexpr qsizetype ShortStem = 160;

QByteArray stemOf(const QString& fileName) {
  const QByteArray whole = native(fileName);
  if (whole.size() <= LongestStem) return whole;
  QString cut;
  for (const QChar c : fileName) {
    if (native(cut + c).size() > ShortStem) break;
    cut += c;
  }
  return native(cut) + '~' + QCryptographicHash::hash(whole, QCryptographicHash::Sha1).toHex().left(12);
}

}  // namespace

QByteArray folderOf(const QString& target) { return native(QFileInfo(target).absolutePath()) + '/'; }

QString systemReason(int err) { return QString::fromStdString(std::generic_category().message(err)); }

QByteArray native(const QString& path) { return QFile::encodeName(path); }

QString notAFile(mode_t mode) {
  if (S_ISREG(mode)) return {};
  if (S_ISDIR(mode)) return QStringLiteral("it is a folder, not a file");
  if (S_ISFIFO(mode)) return QStringLiteral("it is a named pipe (FIFO), not a file");
  if (S_ISCHR(mode)) return QStringLiteral("it is a character device, not a file");
  if (S_ISBLK(mode)) return QStringLiteral("it is a block device, not a file");
  if (S_ISSOCK(mode)) return QStringLiteral("it is a socket, not a file");
  return QStringLiteral("it is not a plain file");
}

Found find(const QByteArray& name, const FileId& id) {
  struct stat st {};
  if (::lstat(name.constData(), &st) != 0) return errno == ENOENT ? Found::Absent : Found::Other;
  return FileId{quint64(st.st_dev), quint64(st.st_ino)} == id ? Found::Ours : Found::Other;
}

QByteArray besidePrefix(const QString& target, const char* tag) {
  return '.' + stemOf(QFileInfo(target).fileName()) + '.' + tag + '-';
}

QByteArray besideName(const QString& target, const char* tag) {
  return folderOf(target) + '.' + stemOf(QFileInfo(target).fileName()) + '.' + tag;
}

QByteArray randomBesideName(const QString& target, const char* tag) {
  return folderOf(target) + besidePrefix(target, tag) +
         QByteArray::number(QRandomGenerator::global()->generate(), 36);
}

int writeNew(const QByteArray& name, const QByteArray& bytes, std::optional<mode_t> mode, FileId* id) {
  const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return errno;
  if (struct stat st {}; id && ::fstat(fd, &st) == 0) *id = {quint64(st.st_dev), quint64(st.st_ino)};
  // The old file's permissions carry over; failing that, the new file keeps
  // the usual ones, which is no reason to refuse the save.
  if (mode) (void)::fchmod(fd, *mode);
  const char* p = bytes.constData();
  qint64 left = bytes.size();
  bool ok = true;
  while (ok && left > 0) {
    const ssize_t n = ::write(fd, p, size_t(std::min<qint64>(left, 1 << 30)));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      ok = false;
    } else {
      p += n;
      left -= n;
    }
  }
  ok = ok && ::fdatasync(fd) == 0;
  int err = errno;
  // A close can report a write the disk refused late (network file systems).
  if (::close(fd) != 0 && ok) {
    ok = false;
    err = errno;
  }
  if (ok) return 0;
  ::unlink(name.constData());
  return err;
}

QString syncFolder(const QString& folder) {
  const int fd = ::open(native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return systemReason(errno);
  // File systems that cannot sync a folder say so with EINVAL; their names
  // are as durable as they get.
  const bool ok = ::fsync(fd) == 0 || errno == EINVAL;
  const int err = errno;
  ::close(fd);
  return ok ? QString() : systemReason(err);
}

bool exists(const QByteArray& name) {
  struct stat st {};
  return ::lstat(name.constData(), &st) == 0;
}

bool removeFile(const QByteArray& name) { return !exists(name) || ::unlink(name.constData()) == 0 || errno == ENOENT; }

}  // namespace qv::posix
