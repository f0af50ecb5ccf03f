// Files written so that a failure never leaves a damaged or half-replaced
// file behind, and files read with a hard limit on their size.
#pragma once
#include "model/Outcome.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

namespace qv {

// Further files of a set, beyond those a save or load names: in its folder,
// named PREFIX + digits + SUFFIX (a project's own sounds, our addition). A
// journal may name them; a save removes those it does not write.
struct SetFamily {
  QByteArray prefix, suffix;
  bool has(const QByteArray& name) const;
};

// One file of a set to write: where it goes and what it holds.
struct FileContents {
  QString path;
  QByteArray bytes;
};

// Writes bytes to path. They go to a new file in the same folder first, every
// write checked, then flushed to the disk and closed; only then does that
// file take the place of path, in one step. On failure path is as it was and
// no temporary file is left; the failure names path and the system's reason.
// It is a set of one for WriteFilesTogether.
Outcome WriteFileSafely(const QString& path, const QByteArray& bytes);

// Writes the files as one set, all in one folder, under an exclusive lock
// on the set (a second save of it waits): all of them to temporaries first
// (each fully written and on the disk) and the old files kept under second
// names, then a journal, then each replaces its file in the given order. A
// failure at any point puts the kept files back, so every file of the set is
// as it was before, and names the file it happened on with the system's
// reason and every file that could not be put back or removed. A save that
// was killed or cut off by a power cut is finished or undone first; one
// whose journal does not match the files beside it is left as it is and
// the save fails, saying so. A path that is a symbolic link gets a plain
// file in the link's place; the file the link pointed to is not touched.
// Once the set is in place, the files of its family it did not write are
// removed (each that stays is a warning).
Outcome WriteFilesTogether(const QVector<FileContents>& files, const SetFamily& family = {});

// A file of a set to read, at most maxBytes of it, and what was read: its
// bytes, or why it could not be read.
struct FileToRead {
  QString path;
  qint64 maxBytes = 0;
  QByteArray bytes;
  QString error;
};
// Reads the files of a set (one folder) as one: under the set's lock, so a
// running save is waited for, after a save that was interrupted has been
// finished or undone, so the files are all old or all new. A file that
// cannot be read has its error. Failed when the set could not be made
// whole (its journal then stays, with every file it names) or its lock
// cannot be taken; done with warnings for leftovers that could not be
// removed. In a folder that may not be written no lock can be taken and
// nothing can be saving: the files are read as they are. With more, the
// files it names after the first ones were read (members of the family,
// given what was read) are read too, under the same lock, and appended.
using MoreFiles = std::function<QVector<FileToRead>(const QVector<FileToRead>&)>;
Outcome ReadFilesTogether(QVector<FileToRead>& files, const SetFamily& family = {}, const MoreFiles& more = {});

// Whether the user may not write the file at path: the permissions that
// apply to the user forbid it, or its file system is read-only. For a user
// who may write any file (root) a file that no one may write still counts
// as read-only, as editors treat it. A link is never read-only: a save
// replaces the link, not its target.
bool IsReadOnlyFile(const QString& path);

// Reads a whole plain file of at most maxBytes bytes, whatever size the file
// system reports for it (files under /proc report 0). A folder, pipe, device
// or socket is refused, without waiting on it, by a reason that says what
// the path is.
Outcome ReadFileCapped(const QString& path, qint64 maxBytes, QByteArray& bytes);
// The first bytes (at most count) of a plain file, refused as above.
Outcome ReadFileHead(const QString& path, int count, QByteArray& bytes);

}  // namespace qv
