// Files written so that a failure never leaves a damaged or half-replaced
// file behind, and files read with a hard limit on their size.
#pragma once
#include "model/Outcome.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

namespace qv {

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

// Writes the files as one set, under an exclusive lock on the set (a second
// save of it waits): all of them to temporaries first (each fully written
// and on the disk), then a journal, then each replaces its file in the given
// order, the old file kept until the whole set is in place. A failure at any
// point puts the kept files back, so every file of the set is as it was
// before, and names the file it happened on with the system's reason and
// every file that could not be put back or removed. A save that was killed
// or cut off by a power cut is finished or undone first. A path that is a
// symbolic link writes the file the link points to.
Outcome WriteFilesTogether(const QVector<FileContents>& files);

// What the next load of a set does before reading it: waits while a save of
// the set runs, finishes or undoes one that was interrupted (so the set is
// all old or all new files) and removes what it left. Done, or done with
// warnings for what could not be finished or removed.
Outcome RecoverFilesTogether(const QStringList& paths);

// Whether the user may not write the file at path (links followed): the
// permissions that apply to the user forbid it, or its file system is
// read-only. For a user who may write any file (root) a file that no one
// may write still counts as read-only, as editors treat it.
bool IsReadOnlyFile(const QString& path);

// Reads a whole plain file of at most maxBytes bytes, whatever size the file
// system reports for it (files under /proc report 0). A folder, pipe, device
// or socket is refused, without waiting on it, by a reason that says what
// the path is.
Outcome ReadFileCapped(const QString& path, qint64 maxBytes, QByteArray& bytes);
// The first bytes (at most count) of a plain file, refused as above.
Outcome ReadFileHead(const QString& path, int count, QByteArray& bytes);

}  // namespace qv
