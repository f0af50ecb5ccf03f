// The POSIX file calls the safe saving is built from, each checked, with the
// system's own text for a failure, and the hidden names a save uses beside
// the files it replaces.
#pragma once
#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <optional>
#include <sys/types.h>

namespace qv::posix {

QString systemReason(int err);
QByteArray native(const QString& path);

// What a file mode is when it is not a plain file; empty for a plain file.
QString notAFile(mode_t mode);

// A file's identity: its device and inode, as lstat gives them.
struct FileId {
  quint64 dev = 0, ino = 0;
  bool operator==(const FileId&) const = default;
};
// What a name in a folder holds, links not followed: nothing, the file of
// the given identity, or something else (also when it cannot be looked at).
enum class Found { Absent, Ours, Other };
Found find(const QByteArray& name, const FileId& id);

// The folder of target, ending in a slash.
QByteArray folderOf(const QString& target);

// ".STEM.tag" beside target, and with a random suffix ".STEM.tag-XXXXXXX".
// STEM is the file's name, or for a name too long to carry the additions
// within the 255 bytes a name may have, its first bytes and a hash of the
// whole: a legal name never fails for its hidden companions.
QByteArray besideName(const QString& target, const char* tag);
QByteArray randomBesideName(const QString& target, const char* tag);
// The prefix every ".STEM.tag-XXXXXXX" of target starts with, without its
// folder.
QByteArray besidePrefix(const QString& target, const char* tag);

// Creates name (which must not exist), writes bytes, syncs them to the disk
// and closes it; mode, when given, becomes its permissions, and id, when
// given, gets the new file's identity. Returns 0, or the errno of the call
// that failed, and then leaves no file.
int writeNew(const QByteArray& name, const QByteArray& bytes, std::optional<mode_t> mode, FileId* id = nullptr);

// Makes the names made and removed in a folder last across a power cut.
QString syncFolder(const QString& folder);

bool exists(const QByteArray& name);
// Removes name; true when it is gone (also when it was never there).
bool removeFile(const QByteArray& name);

}  // namespace qv::posix
