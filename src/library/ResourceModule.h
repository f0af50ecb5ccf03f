// Resource-only Windows modules (PE32 and PE32+ DLLs) read as data. The
// file's headers, section table and whole resource tree are checked when the
// module is read; string and bitmap resources are then handed out as values.
// Nothing in the file is ever loaded or run as code.
#pragma once
#include "library/Dib.h"

#include <QByteArray>
#include <QString>
#include <QVector>
#include <optional>

namespace qv {

// Largest module file read; longer files are refused unread.
constexpr qint64 MaxModuleFileSize = 64 * 1024 * 1024;

// Resource type numbers of the module format.
enum ResourceType : quint32 { ResourceBitmap = 2, ResourceString = 6 };

class ResourceModule {
 public:
  // Reads the module file at path (a plain file of at most
  // MaxModuleFileSize bytes; anything else is refused with what it is).
  static ResourceModule Load(const QString& path);
  // Reads a module from bytes already in memory.
  static ResourceModule FromData(const QByteArray& bytes);

  // The module was read and its resource tree is sound; otherwise error()
  // says why it cannot be loaded.
  bool ok() const { return error_.isEmpty(); }
  const QString& error() const { return error_; }
  // The module has a 64-bit (PE32+) optional header.
  bool isPe32Plus() const { return pe32Plus_; }

  // The bytes of resource type/id in the first language the module lists;
  // nullopt when it has none.
  std::optional<QByteArray> resource(quint32 type, quint32 id) const;
  // String resource id (0..65535); nullopt when it is missing or empty.
  std::optional<QString> string(int id) const;
  // Bitmap resource id, decoded; the error names a missing bitmap too.
  DibResult bitmap(int id) const;
  // Its size, or why it would not decode, from its header alone.
  DibCheck checkBitmap(int id) const;

 private:
  struct Section {
    quint32 address;  // relative virtual address
    quint32 length;   // bytes of it present in the file
    qint64 fileOffset;
  };
  // The file offset of the len bytes at rva when they lie inside one
  // section's file data, or -1; rest receives how many bytes of the
  // section follow rva.
  qint64 mapRva(quint32 rva, quint32 len, qint64* rest = nullptr) const;
  QString readHeaders();
  QString checkDirectory(quint32 dir, int level, quint32 parents[3], qint64& budget) const;
  // The subdirectory or data entry that the entry with the given id points
  // to in the directory at dir, or nullopt.
  std::optional<quint32> findEntry(quint32 dir, quint32 id, bool first) const;
  quint32 at32(qint64 resourceOffset) const;

  QByteArray file_;
  QString error_;
  bool pe32Plus_ = false;
  QVector<Section> sections_;
  qint64 resources_ = -1;  // file offset of the resource directory, -1 without one
  qint64 resourcesLength_ = 0;
};

}  // namespace qv
