// Our addition: the recovery copy. While a project has unsaved changes, the
// window keeps a copy of the project value in a folder of its own under the
// recovery root: the four files a save writes, written by the same safe
// writer, and a note of what a .QV1 does not hold (the original path, the
// layer list's order, the time). The folder is held by a lock for as long
// as its window lives, so the next start offers only the copies whose
// program has gone.
#pragma once
#include "model/Outcome.h"
#include "shell/Workspace.h"

#include <QDateTime>
#include <QStringList>
#include <memory>

namespace qv {

// The copy's files in a folder, in the order they are written: the three
// bitmaps, the note, the project file last.
QStringList RecoveryCopyFiles(const QString& folder);

// What the note of a copy says.
struct RecoveryNote {
  // NAME.QV1 with its folder; empty for a project never saved.
  QString original;
  QDateTime saved;
};

// What a folder holds: no copy, a whole copy and its note, or a copy that
// cannot be read and why.
struct RecoveryCopyRead {
  enum class Kind { None, Whole, Damaged } kind = Kind::None;
  RecoveryNote note;
  QString why;
};
// Reads a copy as one set (a write that was killed is finished or undone
// first) and checks all of it: the note, the project text, the bitmaps.
RecoveryCopyRead ReadRecoveryCopy(const QString& folder);

// Opens a whole copy as the project it was: its names and folder, its
// layer order, marked unsaved, the undo history starting there. Failed (and
// the workspace as the load left it) when it cannot be read after all.
Outcome OpenRecoveryCopy(Workspace& ws, const QString& folder);

// One window's recovery folder, held by an exclusive lock on its
// "owner.lock" (closed on exec, let go when the program ends in any way).
class RecoveryFolder {
 public:
  // A new folder under root, made and held; nullptr and why when it cannot be.
  static std::unique_ptr<RecoveryFolder> Create(const QString& root, QString& why);
  // The folder at path, held, when no running Quorvel holds it; nullptr
  // when one does, or when path is no plain folder.
  static std::unique_ptr<RecoveryFolder> Claim(const QString& path);
  // Lets the lock go; the copy stays.
  ~RecoveryFolder();
  RecoveryFolder(const RecoveryFolder&) = delete;
  RecoveryFolder& operator=(const RecoveryFolder&) = delete;

  const QString& path() const { return path_; }
  // Writes the project value as this folder's copy; safe on any thread that
  // holds the value (its sheets' noted mirrorings done).
  Outcome Write(const Project& project, const QDateTime& when) const;
  // Removes the copy (its project file first, so a removal cut short leaves
  // no copy), the lock and the folder.
  void Remove();
  // Moves the folder into the folder aside (made when missing); the new
  // path, or empty and why.
  QString MoveAside(const QString& aside, QString& why);

 private:
  RecoveryFolder(QString path, int fd) : path_(std::move(path)), fd_(fd) {}
  QString path_;
  int fd_ = -1;
};

// The folders under root that may hold copies (plain folders, no links),
// by name.
QStringList RecoveryFolderPaths(const QString& root);

}  // namespace qv
