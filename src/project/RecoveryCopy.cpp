// The recovery copy's files, its note, its folder and its lock.
#include "project/RecoveryCopy.h"

#include "imaging/BoardRender.h"
#include "project/ProjectBytes.h"
#include "project/ProjectCommands.h"
#include "project/ProjectText.h"
#include "project/RtfCodePages.h"
#include "project/RtfReader.h"
#include "surface/PictureFile.h"
#include "surface/PosixFiles.h"
#include "surface/SafeFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qv {

namespace {

constexpr qint64 MaxNoteBytes = 4 * 1024 * 1024;
const char* const OwnerLock = "owner.lock";

// The note: what a .QV1 does not hold, and the time.
QByteArray noteBytes(const Project& p, const QDateTime& when) {
  QJsonArray order;
  for (const ZorderEntry& e : p.List_Zorder) order.append(QJsonArray{e.Text, e.ItemData});
  const BoardOptionPairs& o = p.BoardOptions;
  const QJsonObject note{
      {"saved", when.toUTC().toString(Qt::ISODateWithMs)},
      {"original", p.DocumentName.isEmpty() ? QString() : p.ProjectFolder + p.DocumentName},
      {"name", p.ProjectName},
      {"folder", p.ProjectFolder},
      {"document", p.DocumentName},
      {"order", order},
      {"backPicturePath", p.BoardSettings.BackPicturePath},
      {"backgroundPicture", !p.picBackground.Picture().isNull()},
      {"boardColour", double(p.BoardColour)},
      {"options", QJsonArray{o.Option_BoardMove, o.Option_FloatPanes, o.Option_WirePanes, o.Option_FloatPanesYesEnabled}},
  };
  return QJsonDocument(note).toJson();
}

// A note read back, checked against the project it goes with.
struct Note {
  RecoveryNote said;
  ProjectNames names;
  QVector<ZorderEntry> order;
  QString backPicturePath;
  bool backgroundPicture = true;
  Long colour = 0;
  BoardOptionPairs options;
};

std::optional<Note> readNote(const QByteArray& bytes, const Project& p, QString& why) {
  QJsonParseError error{};
  const QJsonObject o = QJsonDocument::fromJson(bytes, &error).object();
  Note n;
  n.said.saved = QDateTime::fromString(o.value("saved").toString(), Qt::ISODateWithMs);
  n.said.original = o.value("original").toString();
  n.names = {o.value("name").toString(), o.value("folder").toString(), o.value("document").toString()};
  n.backPicturePath = o.value("backPicturePath").toString();
  n.backgroundPicture = o.value("backgroundPicture").toBool();
  n.colour = Long(o.value("boardColour").toDouble());
  const QJsonArray opts = o.value("options").toArray();
  if (error.error != QJsonParseError::NoError || !n.said.saved.isValid() || opts.size() != 4) {
    why = QStringLiteral("its note is damaged");
    return std::nullopt;
  }
  n.options = {opts[0].toInt(), opts[1].toInt(), opts[2].toInt(), opts[3].toBool()};
  // The layer list names every Pane in use once.
  std::array<bool, SlotCount> listed{};
  for (const QJsonValue& v : o.value("order").toArray()) {
    const QJsonArray e = v.toArray();
    const int slot = e.size() == 2 ? e[1].toInt(-1) : -1;
    if (slot < 1 || slot > MaxPanes || listed[size_t(slot)] || !isSet(p.PaneTable[size_t(slot)].InUse)) break;
    listed[size_t(slot)] = true;
    n.order.append({e[0].toString(), slot});
  }
  if (n.order.size() != p.PaneCount || n.order.size() != o.value("order").toArray().size()) {
    why = QStringLiteral("its layer list does not match its Panes");
    return std::nullopt;
  }
  return n;
}

void applyNote(Workspace& ws, const Note& n) {
  Project& p = ws.project;
  static_cast<ProjectNames&>(p) = n.names;
  p.List_Zorder = n.order;
  p.BoardSettings.BackPicturePath = n.backPicturePath;
  p.BoardOptions = n.options;
  if (!n.backgroundPicture) p.picBackground.ClearPicture();
  SetBoardColour(ws, n.colour);
}

RecoveryCopyRead damaged(const QString& why) { return {RecoveryCopyRead::Kind::Damaged, {}, why}; }

// Takes the owner lock of a folder; -1 when another program holds it or it
// cannot be made.
int lockOwner(const QString& folder) {
  const QByteArray name = posix::native(QDir(folder).filePath(QLatin1String(OwnerLock)));
  const int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
  if (fd < 0) return -1;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

bool plainFolder(const QString& path) {
  struct stat st {};
  return ::lstat(posix::native(path).constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

QStringList RecoveryCopyFiles(const QString& folder) {
  const QDir d(folder);
  return {d.filePath("Back_copy.bmp"), d.filePath("Sprites_copy.bmp"), d.filePath("Masks_copy.bmp"),
          d.filePath("copy.json"), d.filePath("copy.QV1")};
}

RecoveryCopyRead ReadRecoveryCopy(const QString& folder) {
  const QStringList files = RecoveryCopyFiles(folder);
  QVector<FileToRead> read;
  for (int i = 0; i < files.size(); ++i)
    read.append({files[i], i < 3 ? MaxPictureFileBytes : i == 3 ? MaxNoteBytes : MaxProjectFileBytes, {}, {}});
  const Outcome together = ReadFilesTogether(read, OwnSoundFiles(QStringLiteral("copy")));
  if (together.hasFailed()) return damaged(together.failure().reason);
  // A copy whose removal was cut short has lost its project file first.
  if (!posix::exists(posix::native(files[4]))) return {};
  for (const FileToRead& f : read)
    if (!f.error.isEmpty()) return damaged(QFileInfo(f.path).fileName() + ": " + f.error);
  const RtfReadResult doc = ReadRtf(read[4].bytes);
  if (!doc.ok) return damaged(QStringLiteral("its project file is not a project document"));
  Workspace scratch;
  const ParseResult parsed = ParseProject(scratch, doc.text, SeparatorForCodePage(doc.codePage));
  if (!parsed.complete || !parsed.damage.isEmpty()) return damaged(QStringLiteral("its project text is damaged"));
  for (int i = 0; i < 3; ++i)
    if (const PictureResult pic = LoadPictureData(read[i].bytes); !pic.ok())
      return damaged(QFileInfo(files[i]).fileName() + ": " + pic.error);
  QString why;
  const auto note = readNote(read[3].bytes, scratch.project, why);
  if (!note) return damaged(why);
  return {RecoveryCopyRead::Kind::Whole, note->said, {}};
}

Outcome OpenRecoveryCopy(Workspace& ws, const QString& folder) {
  const QStringList files = RecoveryCopyFiles(folder);
  QByteArray bytes;
  Outcome read = ReadFileCapped(files[3], MaxNoteBytes, bytes);
  if (!read.succeeded()) return read;
  const Outcome loaded = LoadProjectFile(ws, fileChoiceFromPath(files[4]));
  if (!loaded.succeeded()) return loaded;
  if (!loaded.warnings().isEmpty()) return Outcome::failed(files[4], loaded.warnings().first().reason);
  QString why;
  const auto note = readNote(bytes, ws.project, why);
  if (!note) return Outcome::failed(files[3], why);
  applyNote(ws, *note);
  ws.history.Clear();
  ws.history.MarkUnsaved();
  ws.win.picFastMenu.Visible = true;
  RedrawBoard(ws);
  return Outcome::done();
}

std::unique_ptr<RecoveryFolder> RecoveryFolder::Create(const QString& root, QString& why) {
  // The recovery root is the user's alone.
  if (!QDir().mkpath(root) || !QFile::setPermissions(root, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner)) {
    why = QStringLiteral("%1 could not be made").arg(root);
    return nullptr;
  }
  const QString path = QDir(root).filePath(QStringLiteral("%1-%2-%3")
                                               .arg(QDateTime::currentDateTime().toString("yyyyMMdd-HHmmss"))
                                               .arg(QCoreApplication::applicationPid())
                                               .arg(QRandomGenerator::global()->generate() % 0x10000, 4, 16, QChar('0')));
  if (::mkdir(posix::native(path).constData(), 0700) != 0) {
    why = QStringLiteral("%1: %2").arg(path, posix::systemReason(errno));
    return nullptr;
  }
  // Another start may have claimed the empty folder in between: it removes it.
  const int fd = lockOwner(path);
  if (fd < 0) {
    why = QStringLiteral("%1: its lock could not be taken").arg(path);
    return nullptr;
  }
  return std::unique_ptr<RecoveryFolder>(new RecoveryFolder(path, fd));
}

std::unique_ptr<RecoveryFolder> RecoveryFolder::Claim(const QString& path) {
  if (!plainFolder(path)) return nullptr;
  const int fd = lockOwner(path);
  return fd < 0 ? nullptr : std::unique_ptr<RecoveryFolder>(new RecoveryFolder(path, fd));
}

RecoveryFolder::~RecoveryFolder() {
  if (fd_ >= 0) ::close(fd_);
}

Outcome RecoveryFolder::Write(const Project& project, const QDateTime& when) const {
  // The project's files as a save names them under "copy", the note before
  // the project file.
  QVector<FileContents> set = ProjectFileSet(project, path_ + '/', QStringLiteral("copy"));
  set.insert(set.size() - 1, {RecoveryCopyFiles(path_)[3], noteBytes(project, when)});
  return WriteFilesTogether(set, OwnSoundFiles(QStringLiteral("copy")));
}

void RecoveryFolder::Remove() {
  QStringList files = RecoveryCopyFiles(path_);
  files.prepend(files.takeLast());
  for (const QString& sound : QDir(path_).entryList({QStringLiteral("Sound_copy_*.wav")}, QDir::Files | QDir::Hidden))
    files << QDir(path_).filePath(sound);
  for (const QString& f : files) posix::removeFile(posix::native(f));
  posix::removeFile(posix::native(QDir(path_).filePath(QLatin1String(OwnerLock))));
  ::close(fd_);
  fd_ = -1;
  ::rmdir(posix::native(path_).constData());
}

QString RecoveryFolder::MoveAside(const QString& aside, QString& why) {
  const QString to = QDir(aside).filePath(QFileInfo(path_).fileName());
  if (!QDir().mkpath(aside) || ::rename(posix::native(path_).constData(), posix::native(to).constData()) != 0) {
    why = posix::systemReason(errno);
    return {};
  }
  path_ = to;
  return to;
}

QStringList RecoveryFolderPaths(const QString& root) {
  QStringList out;
  const QDir dir(root);
  for (const QString& name : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks, QDir::Name))
    out << dir.filePath(name);
  return out;
}

}  // namespace qv
