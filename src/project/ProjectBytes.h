// The files of a project, made from the project value alone, so that a
// copy of the value can be written on another thread (the recovery copy) as
// Save writes it.
#pragma once
#include "shell/Project.h"
#include "surface/SafeFiles.h"

namespace qv {

// Our addition: the project's own sounds are saved beside it as
// Sound_NAME_ID.wav (ID the Sound value that plays it), with the bitmaps and
// before the project file; the files of that family no Pane plays are removed
// by the save.
QString OwnSoundFile(const QString& folder, const QString& name, Long id);
SetFamily OwnSoundFiles(const QString& name);

// What a save of the project writes into folder (ending with its separator)
// under name, in the order the files replace the old ones: the three
// bitmaps, the own sounds a Pane plays, the project file last (so it never
// names files older than itself). The sheets' noted mirrorings must have
// been done (their Image() taken once on the thread that owns them).
QVector<FileContents> ProjectFileSet(const Project& project, const QString& folder, const QString& name);

}  // namespace qv
