// Pane library modules built by the MinGW tools for 64 and 32-bit Windows:
// strings, bitmaps of every depth arriving exactly through LoadLibraryBitmap,
// the folder scan, and damaged modules failing as values.
#include "library/LibraryModules.h"
#include "library/ResourceModule.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "SampleBitmaps.h"

using namespace qv;

namespace {

QString modulePath(const char* name) { return QStringLiteral(QV_TEST_MODULES "/lib_%1.dll").arg(QLatin1String(name)); }

QByteArray readAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
}

quint32 get(const QByteArray& b, qint64 at, int width = 4) {
  return width == 2 ? qFromLittleEndian<quint16>(b.constData() + at) : qFromLittleEndian<quint32>(b.constData() + at);
}

// The parts of a module file that a damage is placed relative to.
enum Part { File, End, Pe, Optional, ResourceEntry, FirstSection, Root, Ids, Languages, Data, Parts };

QVector<qint64> partsOf(const QByteArray& b) {
  QVector<qint64> at(Parts, 0);
  at[End] = b.size();
  at[Pe] = get(b, 0x3c);
  at[Optional] = at[Pe] + 24;
  at[ResourceEntry] = at[Optional] + (get(b, at[Optional], 2) == 0x20b ? 112 : 96) + 16;
  at[FirstSection] = at[Optional] + get(b, at[Pe] + 20, 2);
  const quint32 rva = get(b, at[ResourceEntry]);
  for (qint64 s = at[FirstSection]; !at[Root]; s += 40)
    if (rva >= get(b, s + 12) && rva < get(b, s + 12) + get(b, s + 8))
      at[Root] = get(b, s + 20) + rva - get(b, s + 12);
  // Following entry 0 of each directory down to a data entry.
  for (int p = Ids; p <= Data; ++p) at[p] = at[Root] + (get(b, at[p - 1] + 20) & 0x7fffffff);
  return at;
}

// `value` written over `width` bytes at part + at, or with width 0 the file
// cut there.
struct Damage {
  const char* name;
  Part part;
  int at;
  quint32 value;
  int width;
};

}  // namespace

class TestLibraryModules : public QObject {
  Q_OBJECT

 private slots:
  void strings_data() {
    QTest::addColumn<QString>("module");
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("expected");
    const QString cut = QString::fromLatin1(samples::longText(1023));
    const QList<std::pair<int, QString>> rows = {
        {101, "1"}, {102, "Alpha Library"}, {105, "Third image"},
        {15, "fifteen"}, {16, "sixteen"},  // the last of block 1, the first of block 2
        {17, ""}, {300, ""},               // an empty slot of a block; no such block
        {200, cut}, {201, cut}};           // 1100 characters cut to 1023; 1023 kept
    for (const char* module : {"a64", "a32"})
      for (const auto& [id, text] : rows) QTest::addRow("%s %d", module, id) << modulePath(module) << id << text;
    QTest::newRow("104 missing") << modulePath("c") << 104 << "";
    QTest::newRow("no file") << modulePath("none") << 101 << "";
  }
  void strings() {
    QFETCH(QString, module);
    QFETCH(int, id);
    QFETCH(QString, expected);
    QCOMPARE(LoadLibraryString(module, id), expected);
    QCOMPARE(ResourceModule::Load(module).isPe32Plus(), module.endsWith(QLatin1String("a64.dll")));
  }

  // Every sample arrives pixel for pixel; only the first 200 columns are
  // copied, the rest keeps the box's back colour.
  void bitmaps_data() {
    QTest::addColumn<QString>("module");
    QTest::addColumn<int>("sample");
    for (const char* module : {"a64", "a32"})
      for (int i = 0; i < samples::sampleBitmaps().size(); ++i)
        QTest::addRow("%s %s", module, samples::sampleBitmaps()[i].name) << modulePath(module) << i;
  }
  void bitmaps() {
    QFETCH(QString, module);
    QFETCH(int, sample);
    const samples::SampleBitmap s = samples::sampleBitmaps()[sample];
    Surface box;
    box.BackColor = RGB(1, 2, 3);
    box.SetSize(40, 300);
    box.SetPicture(QImage(40, 300, QImage::Format_RGB32));
    QVERIFY(LoadLibraryBitmap(module, s.id, box));
    QImage expected = samples::expectedImage(s);
    for (int y = 0; y < s.height; ++y)
      for (int x = 200; x < s.width; ++x) expected.setPixel(x, y, toQRgb(box.BackColor));
    QCOMPARE(box.Image(), expected);
    QCOMPARE(box.Picture(), expected);
  }

  void failedBitmapLeavesBoxEmpty() {
    for (const auto& [module, id] : {std::pair{"c", 101}, std::pair{"none", 1}, std::pair{"a64", 99}}) {
      Surface box;
      box.SetSize(3, 2);
      box.SetPicture(QImage(3, 2, QImage::Format_RGB32));
      QVERIFY(!LoadLibraryBitmap(modulePath(module), id, box));
      QVERIFY(box.Picture().isNull());
      QImage empty(3, 2, QImage::Format_RGB32);
      empty.fill(toQRgb(box.BackColor));
      QCOMPARE(box.Image(), empty);
    }
  }

  // A module without resources loads and has nothing; one longer than
  // 64 MiB is refused unread.
  void moduleWithoutResourcesAndOversizedFile() {
    // The resource entry emptied, or not among the directories listed.
    const QByteArray good = readAll(modulePath("a64"));
    const qint64 entry = partsOf(good)[ResourceEntry];
    const std::pair<qint64, QByteArray> patches[] = {{entry, QByteArray(8, 0)}, {entry - 20, QByteArray("\2\0\0\0", 4)}};
    for (const auto& [at, bytes] : patches) {
      const ResourceModule m = ResourceModule::FromData(QByteArray(good).replace(at, bytes.size(), bytes));
      QVERIFY(m.ok());
      QVERIFY(!m.string(101) && !m.bitmap(1).ok());
    }

    QTemporaryDir dir;
    QFile f(dir.filePath(QStringLiteral("big.dll")));
    QVERIFY(QFile::copy(modulePath("a64"), f.fileName()) && f.resize(MaxModuleFileSize));
    QVERIFY(ResourceModule::Load(f.fileName()).ok());
    QVERIFY(f.resize(MaxModuleFileSize + 1));
    QVERIFY(!ResourceModule::Load(f.fileName()).ok());
  }

  // Only qv_1 .. qv_99 in plain decimal are found, in number order; modules
  // that cannot be listed are reported with a reason.
  void scan() {
    QTemporaryDir dir;
    QVERIFY(!ScanLibraryFolder(dir.filePath(QStringLiteral("Library"))).LibrariesPresent);
    const QList<std::pair<const char*, const char*>> files = {{"a32", "qv_01"}, {"a32", "qv_100"}};
    for (const auto& [module, file] : files)
      QVERIFY(QFile::copy(modulePath(module), dir.filePath(QLatin1String(file) + QStringLiteral(".dll"))));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("qv_2.dll")));
    QCOMPARE(ScanLibraryFolder(dir.path()).LibrariesPresent, false);

    for (const auto& [module, n] : {std::pair{"a64", 1}, std::pair{"c", 3}, std::pair{"nonumber", 4},
                                    std::pair{"badnumber", 5}, std::pair{"a64", 7}})
      QVERIFY(QFile::copy(modulePath(module), LibraryModulePath(dir.path(), n)));
    writeAll(LibraryModulePath(dir.path(), 6), readAll(modulePath("c")).chopped(1));
    const LibraryScanResult r = ScanLibraryFolder(dir.path());
    QVERIFY(r.LibrariesPresent);
    QStringList got;
    for (const auto& m : r.modules) {
      got.append(QStringLiteral("%1 %2 %3 %4 %5")
                     .arg(m.fileNumber)
                     .arg(m.number)
                     .arg(m.name, m.imageNames.join(QLatin1Char('|')))
                     .arg(int(m.listed())));
      QCOMPARE(m.path, LibraryModulePath(dir.path(), m.fileNumber));
      QCOMPARE(m.skipReason.isEmpty(), m.listed());
    }
    QCOMPARE(got, QStringList({"1 1 Alpha Library First image|Second image|Third image 1",
                               "3 3 Gamma Library Only image|| 1", "4 -1 Numberless || 0", "5 -1 Bad number || 0",
                               "6 -1  || 0", "7 1 Alpha Library First image|Second image|Third image 0"}));
  }

  // The library shipped beside the program is found and complete.
  void sampleLibrary() {
    const LibraryScanResult r = ScanLibraryFolder(QStringLiteral(QV_SAMPLE_LIBRARY));
    QCOMPARE(r.modules.size(), 1);
    QVERIFY(r.modules[0].listed());
    QVERIFY(!r.modules[0].imageNames.contains(QString()));
    for (int id = 100; id <= 103; ++id) {
      Surface box;
      QVERIFY(LoadLibraryBitmap(r.modules[0].path, id, box));
      QCOMPARE(box.Picture().size(), QSize(200, 200));
    }
  }

  // Damaged modules are refused as a whole with a reason: no string, no
  // bitmap, no crash.
  void brokenModules_data() {
    QTest::addColumn<QByteArray>("good");
    QTest::addColumn<QByteArray>("damaged");
    const Damage damages[] = {
        {"empty", File, 0, 0, 0},
        {"cut by one byte", End, -1, 0, 0},
        {"headers only", FirstSection, 40, 0, 0},
        {"no DOS header", File, 1, 'X', 1},
        {"PE header past the end", File, 0x3c, 0xfffffff0, 4},
        {"no PE signature", Pe, 2, 1, 1},
        {"optional header kind", Optional, 0, 0x107, 2},
        {"optional header too short", Pe, 20, 64, 2},
        {"optional header past the end", Pe, 20, 0xffff, 2},
        {"65535 sections", Pe, 6, 0xffff, 2},
        {"section data wraps", FirstSection, 20, 0xfffffe00, 4},
        {"resources outside sections", ResourceEntry, 0, 0x7fff0000, 4},
        {"65535 + 65535 entries", Root, 12, 0xffffffff, 4},
        {"directory past the end", Root, 20, 0xfffffff0, 4},
        {"type entry points to data", Root, 23, 0, 1},
        {"type entry loops to the root", Root, 20, 0x80000000, 4},
        {"language entry is a directory", Languages, 23, 0x80, 1},
        {"data outside sections", Data, 0, 0xfffffff0, 4},
        {"data size wraps", Data, 4, 0xffffffff, 4},
        {"data size 64 KiB", Data, 4, 0x10000, 4},
    };
    for (const char* module : {"a64", "a32"}) {
      const QByteArray good = readAll(modulePath(module));
      const QVector<qint64> at = partsOf(good);
      for (const Damage& d : damages) {
        QByteArray b = good;
        if (d.width == 0) b.truncate(at[d.part] + d.at);
        for (int i = 0; i < d.width; ++i) b[at[d.part] + d.at + i] = char(d.value >> (8 * i));
        QTest::addRow("%s %s", module, d.name) << good << b;
      }
      // An id directory pointing back to itself.
      QByteArray loop = good;
      qToLittleEndian(quint32(0x80000000 | (at[Ids] - at[Root])), loop.data() + at[Ids] + 20);
      QTest::addRow("%s id entry loops to itself", module) << good << loop;
      // 20 types sharing one directory of 20 ids sharing one of 20
      // languages: 8000 paths through a few hundred bytes.
      QByteArray shared = good;
      auto put = [&](qint64 off, quint32 v) { qToLittleEndian(v, shared.data() + at[Root] + off); };
      for (quint32 level = 0; level < 3; ++level) {
        put(level * 176 + 12, 20 << 16);
        for (quint32 i = 0; i < 20; ++i) {
          put(level * 176 + 16 + 8 * i, i + 1);
          put(level * 176 + 20 + 8 * i, level < 2 ? 0x80000000 | (level + 1) * 176 : 528);
        }
      }
      put(528, get(good, at[ResourceEntry])), put(532, 16);
      QTest::addRow("%s shared directories", module) << good << shared;
    }
  }
  void brokenModules() {
    QFETCH(QByteArray, good);
    QFETCH(QByteArray, damaged);
    QVERIFY(ResourceModule::FromData(good).ok());
    const ResourceModule m = ResourceModule::FromData(damaged);
    QVERIFY(!m.ok());
    QVERIFY(!m.error().isEmpty());
    QTemporaryDir dir;
    const QString path = LibraryModulePath(dir.path(), 1);
    writeAll(path, damaged);
    QCOMPARE(LoadLibraryString(path, 101), QString());
    Surface box;
    QVERIFY(!LoadLibraryBitmap(path, 1, box));
    QCOMPARE(ScanLibraryFolder(dir.path()).modules.value(0).number, -1);
  }
};

QTEST_GUILESS_MAIN(TestLibraryModules)
#include "test_librarymodules.moc"
