// A set of files replaced together: the lock held while the set is saved or
// recovered, the journal that lets a save killed halfway be finished or
// undone by the next load or save, and the two directions of replacing.
#pragma once
#include "model/Outcome.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <sys/types.h>
#include <vector>

namespace qv {

// One file of a set: its new contents wait under temp until they take the
// place of target; the old file, when there is one, is kept under keep
// until the whole set is in place.
struct SetEntry {
  QString path;    // as the caller named it, for messages
  QString target;  // the file replaced, symbolic links followed
  QByteArray temp;
  QByteArray keep;  // empty when there was no file before
  std::optional<mode_t> oldMode;
};

// An exclusive lock (flock) on ".NAME.qvlock" beside the set's last file,
// held for the whole save of the set and while it is recovered: two saves
// of one project never run at once, and a load waits for a running save.
// A holder that keeps it for more than 30 s is given up on. The lock file
// is removed when the lock is let go.
class SetLock {
 public:
  explicit SetLock(const QString& lastFile);
  ~SetLock();
  SetLock(const SetLock&) = delete;
  SetLock& operator=(const SetLock&) = delete;
  // Empty when the lock is held; else why it could not be taken.
  const QString& error() const { return error_; }

 private:
  QByteArray name_;
  int fd_ = -1;
  QString error_;
};

// The journal ".NAME.qvjournal" beside the set's last file: one line per
// file of the set (target, temporary, kept name), then "replace" once every
// temporary is whole on the disk. A journal that ends with "replace" is
// finished by renaming; one without it is undone.
class SetJournal {
 public:
  explicit SetJournal(const QString& lastFile);
  // Writes the journal of entries, ended by "replace", on the disk. On
  // failure no journal is left and the problem names the folder when its
  // sync failed, or no file when the journal itself could not be written.
  std::optional<Problem> write(const std::vector<SetEntry>& entries) const;
  // Removes the "replace" line, so that a save stopped from here on is
  // undone. Truncating needs no free space.
  void markUndo() const;
  // The entries of a journal left by a save of targets (links followed),
  // and whether it ended with "replace"; nullopt when there is none. Lines
  // naming other files than targets and their hidden companions are not
  // taken: the journal then counts as none.
  std::optional<std::vector<SetEntry>> read(const QStringList& targets, bool& replace) const;
  bool exists() const;
  bool remove() const;

 private:
  QByteArray name_;
};

// Puts each temporary in its target's place, in order, the old file kept
// under its second name (a hard link, or a copy where the file system has
// none) first. Entries whose temporary is gone were replaced already. On
// failure the problem names the file and the reason.
std::optional<Problem> ReplaceSet(const std::vector<SetEntry>& entries);

// What undoing a set left: whether every target holds its old file again
// (or is gone when there was none), and the text to add to a reason for
// each file that could not be put back or removed.
struct UndoResult {
  bool whole = true;
  QString lost;
};
// Puts every replaced target back from its kept file (or removes it when
// there was none before), last first, and removes the temporaries and kept
// files of the rest.
UndoResult UndoSet(const std::vector<SetEntry>& entries);

// Removes a temporary or kept file (what names which); the text to add to
// a reason when it stays, else empty.
QString RemoveOrSay(const QByteArray& name, const char* what);
// Removes the kept old files once the set is in place; each one that stays
// is a warning.
void DropKept(const std::vector<SetEntry>& entries, Outcome& outcome);
// Removes the temporaries and kept files of targets that no journal names
// (what a save killed before writing its journal left); each one that
// stays is a warning.
void RemoveLeftovers(const QStringList& targets, Outcome& outcome);
// Syncs the folders of the set; a failure names the folder.
std::optional<Problem> SyncFoldersOf(const std::vector<SetEntry>& entries);

}  // namespace qv
