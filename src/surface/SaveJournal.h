// A set of files in one folder replaced together: the lock held while the
// set is saved, read or recovered, the journal that lets a save killed
// halfway be finished or undone by the next load or save, and the two
// directions of replacing.
//
// No link is ever followed for writing or removing: every file of a set is
// named by its name in the set's folder, a link in a file's place is
// replaced as a name (its target untouched), and recovery renames or
// removes only files whose device and inode are those its journal recorded.
#pragma once
#include "model/Outcome.h"
#include "surface/PosixFiles.h"
#include "surface/SafeFiles.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <sys/types.h>
#include <vector>

namespace qv {

// The files of a set: one folder and their names in it.
struct FileSet {
  QByteArray folder;  // ends with '/'
  QStringList paths;  // as the caller named them, for messages
  QList<QByteArray> names;
  // Other names of the folder that belong to the set.
  SetFamily family;
  // The set of paths; nullopt (and why) when they do not share one folder.
  static std::optional<FileSet> of(const QStringList& paths, QString& why, const SetFamily& family = {});
  QByteArray at(const QByteArray& name) const { return folder + name; }
  QString pathOf(const QByteArray& name) const;
  // The folder as a path, without the closing '/' (but for the root).
  QString folderPath() const;
};

// One file of a set: its new contents wait under temp until they take the
// place of the file; the old file, when there is one, is kept under keep
// until the whole set is in place.
struct SetEntry {
  QString path;  // as the caller named it, for messages
  QByteArray name;
  QByteArray temp;
  posix::FileId tempId;
  QByteArray keep;  // empty when there was no file before
  posix::FileId keepId;
  std::optional<mode_t> oldMode;
};

// An exclusive lock (flock) on ".NAME.qvlock" beside the set's last file,
// held for the whole save of the set, while it is read and while it is
// recovered: two saves of one project never run at once, and a load waits
// for a running save. The lock file is opened without following a link and
// without waiting on a pipe, and must be a plain file. A holder that keeps
// it for more than 30 s is given up on. The lock file is removed when the
// lock is let go.
class SetLock {
 public:
  explicit SetLock(const FileSet& set);
  ~SetLock();
  SetLock(const SetLock&) = delete;
  SetLock& operator=(const SetLock&) = delete;
  // Empty when the lock is held; else why it could not be taken.
  const QString& error() const { return error_; }
  // The lock could not be made because the folder may not be written to.
  bool folderReadOnly() const { return readOnly_; }

 private:
  QByteArray name_;
  int fd_ = -1;
  QString error_;
  bool readOnly_ = false;
};

// The journal ".NAME.qvjournal" beside the set's last file: one line per
// file of the set (its name, its temporary and kept names with the
// identities they were made with), then "replace" once every temporary and
// kept file is whole on the disk. A journal that ends with "replace" is
// finished by renaming; one without it is undone.
class SetJournal {
 public:
  explicit SetJournal(const FileSet& set);
  // Writes the journal of entries, ended by "replace", on the disk. On
  // failure no journal is left and the problem names the folder when its
  // sync failed, or no file when the journal itself could not be written.
  std::optional<Problem> write(const std::vector<SetEntry>& entries) const;
  // Removes the "replace" line, so that a save stopped from here on is
  // undone. Truncating needs no free space.
  void markUndo() const;
  // What a journal left by a save of the set says.
  struct Read {
    enum class Kind { None, Entries, Unmatched } kind = Kind::None;
    std::vector<SetEntry> entries;
    bool replace = false;
    QString why;  // for Unmatched
  };
  // A journal written while it was cut short names no file after the cut.
  // One that is not a plain file of this user, names a file outside the
  // set or holds a line that is not a journal's is Unmatched.
  Read read() const;
  bool exists() const;
  bool remove() const;
  QString path() const;

 private:
  const FileSet& set_;
  QByteArray name_;
};

// Where an entry stands: its temporary not yet in place, in place, or the
// old file in place again; nullopt when the folder holds files the journal
// did not make (copied, moved to another disk, or changed by someone).
enum class EntryState { NotReplaced, Replaced, OldInPlace };
std::optional<EntryState> StateOf(const FileSet& set, const SetEntry& e);

// Puts each temporary not yet in place in its file's place, in order. On
// failure the problem names the file and the reason.
std::optional<Problem> ReplaceSet(const FileSet& set, const std::vector<SetEntry>& entries);

// What undoing a set left: whether every file holds its old contents again
// (or is gone when there was none), and the text to add to a reason for
// each file that could not be put back or removed.
struct UndoResult {
  bool whole = true;
  QString lost;
};
// Puts every replaced file back from its kept file (or removes it when there
// was none before), last first, and removes the temporaries and kept files
// of the rest.
UndoResult UndoSet(const FileSet& set, const std::vector<SetEntry>& entries);

// Removes a temporary or kept file (what names which); the text to add to
// a reason when it stays, else empty.
QString RemoveOrSay(const QByteArray& name, const char* what);
// Removes the kept old files once the set is in place; each one that stays
// is a warning.
void DropKept(const FileSet& set, const std::vector<SetEntry>& entries, Outcome& outcome);
// Removes the temporaries and kept files of the set that no journal names
// (what a save killed before its journal was whole left); each one that
// stays is a warning. Only names are removed: a link goes, its target stays.
// The companions of the set's family count too.
void RemoveLeftovers(const FileSet& set, Outcome& outcome);
// Removes the members of the set's family that the entries (a save's, whole
// on the disk) do not name: an earlier save's that this one left out. Each
// one that stays is a warning.
void RemoveStrays(const FileSet& set, const std::vector<SetEntry>& entries, Outcome& outcome);

}  // namespace qv
