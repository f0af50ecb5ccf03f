// Reading a Windows module's resources as data. The layout walked here:
// DOS header -> "PE\0\0" -> file header -> optional header (PE32 or PE32+)
// with its data directories -> section table; the resource directory named
// by data directory 2 is a tree of three levels (type, id, language) whose
// leaves point to the resource bytes by relative virtual address. All
// arithmetic on file values is done in 64 bits, so no sum can wrap.
#include "library/ResourceModule.h"

#include "surface/SafeFiles.h"

#include <QtEndian>

namespace qv {

namespace {

constexpr quint32 SubdirectoryBit = 0x80000000u;
constexpr int MaxSections = 96;
constexpr qint64 DirectoryHeader = 16, DirectoryEntry = 8, DataEntry = 16;

}  // namespace

ResourceModule ResourceModule::Load(const QString& path) {
  // Only a plain file is read (a pipe would wait for ever, a device never
  // end), and never more than the limit, whatever size it reports.
  QByteArray bytes;
  if (const Outcome read = ReadFileCapped(path, MaxModuleFileSize, bytes); !read.succeeded()) {
    ResourceModule m;
    m.error_ = QStringLiteral("the file cannot be read: %1").arg(read.failure().reason);
    return m;
  }
  return FromData(bytes);
}

ResourceModule ResourceModule::FromData(const QByteArray& bytes) {
  ResourceModule m;
  m.file_ = bytes;
  m.error_ = m.readHeaders();
  if (m.error_.isEmpty() && m.resources_ >= 0) {
    quint32 parents[3] = {};
    qint64 budget = m.resourcesLength_;
    m.error_ = m.checkDirectory(0, 0, parents, budget);
  }
  if (!m.error_.isEmpty()) {
    m.file_.clear();
    m.resources_ = -1;
  }
  return m;
}

QString ResourceModule::readHeaders() {
  const auto* p = reinterpret_cast<const uchar*>(file_.constData());
  const qint64 size = file_.size();
  auto u16 = [&](qint64 off) { return qFromLittleEndian<quint16>(p + off); };
  auto u32 = [&](qint64 off) { return qFromLittleEndian<quint32>(p + off); };

  if (size < 64 || p[0] != 'M' || p[1] != 'Z') return QStringLiteral("not a module file (no DOS header)");
  const qint64 pe = u32(0x3c);
  if (pe + 24 > size || u32(pe) != 0x00004550u) return QStringLiteral("not a module file (no PE header)");
  const int sectionCount = u16(pe + 6);
  const qint64 optional = pe + 24, optionalSize = u16(pe + 20);
  if (optional + optionalSize > size) return QStringLiteral("the optional header lies beyond the end of the file");
  if (optionalSize < 2) return QStringLiteral("the optional header is missing");
  const quint16 magic = u16(optional);
  if (magic != 0x10b && magic != 0x20b) return QStringLiteral("the optional header kind 0x%1 is unknown").arg(magic, 0, 16);
  pe32Plus_ = magic == 0x20b;
  const qint64 countAt = pe32Plus_ ? 108 : 92;  // NumberOfRvaAndSizes; the directories follow it
  if (optionalSize < countAt + 4) return QStringLiteral("the optional header is cut short");
  const qint64 directories = u32(optional + countAt);
  const qint64 resourceAt = countAt + 4 + 2 * 8;
  quint32 resourceRva = 0, resourceSize = 0;
  if (directories > 2) {
    if (optionalSize < resourceAt + 8) return QStringLiteral("the optional header is cut short");
    resourceRva = u32(optional + resourceAt);
    resourceSize = u32(optional + resourceAt + 4);
  }

  if (sectionCount > MaxSections) return QStringLiteral("the module lists %1 sections").arg(sectionCount);
  const qint64 table = optional + optionalSize;
  if (table + 40 * qint64(sectionCount) > size) return QStringLiteral("the section table lies beyond the end of the file");
  for (int i = 0; i < sectionCount; ++i) {
    const qint64 s = table + 40 * i;
    const quint32 virtualSize = u32(s + 8), address = u32(s + 12), rawSize = u32(s + 16), rawOffset = u32(s + 20);
    if (qint64(rawOffset) + rawSize > size) return QStringLiteral("section %1 lies beyond the end of the file").arg(i + 1);
    // Bytes past the section's virtual size are not part of it.
    sections_.append({address, virtualSize ? std::min(virtualSize, rawSize) : rawSize, rawOffset});
  }

  if (resourceRva == 0 && resourceSize == 0) return QString();  // a module without resources
  // The directory's own size field is not trusted: its offsets are bounded
  // by the rest of the section it starts in.
  resources_ = mapRva(resourceRva, DirectoryHeader, &resourcesLength_);
  if (resources_ < 0) return QStringLiteral("the resource directory lies outside the module's sections");
  return QString();
}

qint64 ResourceModule::mapRva(quint32 rva, quint32 len, qint64* rest) const {
  for (const Section& s : sections_) {
    const qint64 end = qint64(s.address) + s.length;
    if (rva >= s.address && qint64(rva) + len <= end) {
      if (rest) *rest = end - rva;
      return s.fileOffset + (rva - s.address);
    }
  }
  return -1;
}

quint32 ResourceModule::at32(qint64 resourceOffset) const {
  return qFromLittleEndian<quint32>(file_.constData() + resources_ + resourceOffset);
}

// Checks the directory at offset dir (from the start of the resource
// directory) and everything below it. Levels 0 and 1 (type, id) point to
// subdirectories, level 2 (language) to data entries. Every directory and
// data entry read is taken from a budget of the resource area's size: a tree
// whose parts do not overlap always fits, so running out means parts are
// shared or overlap, and the walk stays linear in the file's size.
QString ResourceModule::checkDirectory(quint32 dir, int level, quint32 parents[3], qint64& budget) const {
  auto u16 = [&](qint64 off) { return qFromLittleEndian<quint16>(file_.constData() + resources_ + off); };
  if (dir + DirectoryHeader > resourcesLength_) return QStringLiteral("a resource directory lies outside the resources");
  const qint64 count = qint64(u16(dir + 12)) + u16(dir + 14);
  const qint64 bytes = DirectoryHeader + DirectoryEntry * count;
  if (dir + bytes > resourcesLength_) return QStringLiteral("a resource directory lists more entries than fit");
  budget -= bytes;
  if (budget < 0) return QStringLiteral("the resource directories overlap");
  parents[level] = dir;
  for (qint64 i = 0; i < count; ++i) {
    const qint64 entry = dir + DirectoryHeader + DirectoryEntry * i;
    // Entries named by a string instead of a number are looked at only for
    // where they point: the names themselves are never read.
    const quint32 target = at32(entry + 4);
    const quint32 offset = target & ~SubdirectoryBit;
    if (level < 2) {
      if (!(target & SubdirectoryBit)) return QStringLiteral("the resource tree is missing a level");
      for (int j = 0; j <= level; ++j)
        if (parents[j] == offset) return QStringLiteral("the resource tree loops back on itself");
      const QString e = checkDirectory(offset, level + 1, parents, budget);
      if (!e.isEmpty()) return e;
    } else {
      if (target & SubdirectoryBit) return QStringLiteral("the resource tree is deeper than three levels");
      if (offset + DataEntry > resourcesLength_) return QStringLiteral("a resource entry lies outside the resources");
      budget -= DataEntry;
      if (budget < 0) return QStringLiteral("the resource directories overlap");
      if (mapRva(at32(offset), at32(offset + 4)) < 0)
        return QStringLiteral("the data of a resource lies outside the module's sections");
    }
  }
  return QString();
}

std::optional<quint32> ResourceModule::findEntry(quint32 dir, quint32 id, bool first) const {
  auto u16 = [&](qint64 off) { return qFromLittleEndian<quint16>(file_.constData() + resources_ + off); };
  const qint64 named = u16(dir + 12), count = named + u16(dir + 14);
  for (qint64 i = first ? 0 : named; i < count; ++i) {
    const qint64 entry = dir + DirectoryHeader + DirectoryEntry * i;
    if (first || at32(entry) == id) return at32(entry + 4) & ~SubdirectoryBit;
  }
  return std::nullopt;
}

std::optional<QByteArray> ResourceModule::resource(quint32 type, quint32 id) const {
  if (resources_ < 0) return std::nullopt;  // none, or a module that failed
  const auto ids = findEntry(0, type, false);
  const auto languages = ids ? findEntry(*ids, id, false) : std::nullopt;
  const auto data = languages ? findEntry(*languages, 0, true) : std::nullopt;
  if (!data) return std::nullopt;
  const quint32 length = at32(*data + 4);
  return file_.mid(mapRva(at32(*data), length), length);
}

std::optional<QString> ResourceModule::string(int id) const {
  if (quint32(id) > 0xffff) return std::nullopt;  // negative ones too
  // Strings are stored in blocks of 16: block id/16 + 1 holds string id as
  // its entry id % 16, each a length followed by that many UTF-16 units.
  const auto block = resource(ResourceString, quint32(id / 16 + 1));
  if (!block) return std::nullopt;
  const auto* p = reinterpret_cast<const uchar*>(block->constData());
  qint64 at = 0;
  for (int i = 0;; ++i) {
    if (at + 2 > block->size()) return std::nullopt;
    const qint64 length = qFromLittleEndian<quint16>(p + at);
    if (at + 2 + 2 * length > block->size()) return std::nullopt;
    if (i == id % 16) {
      if (length == 0) return std::nullopt;
      QString text(length, Qt::Uninitialized);
      qFromLittleEndian<quint16>(p + at + 2, length, text.data());
      return text;
    }
    at += 2 + 2 * length;
  }
}

DibResult ResourceModule::bitmap(int id) const {
  if (!ok()) return {QImage(), error_};
  const auto bytes = resource(ResourceBitmap, quint32(id));
  if (!bytes) return {QImage(), QStringLiteral("the module has no bitmap %1").arg(id)};
  return DecodeDib(*bytes);
}

DibCheck ResourceModule::checkBitmap(int id) const {
  if (!ok()) return {{}, error_};
  const auto bytes = resource(ResourceBitmap, quint32(id));
  if (!bytes) return {{}, QStringLiteral("the module has no bitmap %1").arg(id)};
  return CheckDib(*bytes);
}

}  // namespace qv
