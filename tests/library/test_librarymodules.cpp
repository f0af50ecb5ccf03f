// Pane library modules built by the MinGW tools for 64 and 32-bit Windows:
// strings, bitmaps of every depth arriving exactly through LoadLibraryBitmap,
// the folder scan, and damaged modules failing as values.
#include "library/LibraryModules.h"
#include "library/ResourceModule.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

#include "SampleBitmaps.h"

using namespace qv;

namespace {

QString modulePath(const QString& name) { return QStringLiteral(QV_TEST_MODULES "/lib_%1.dll").arg(name); }

QByteArray readAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
}

quint32 get(const QByteArray& b, qint64 at) { return qFromLittleEndian<quint32>(b.constData() + at); }
void put(QByteArray& b, qint64 at, quint32 v) { qToLittleEndian(v, b.data() + at); }
void put16(QByteArray& b, qint64 at, quint16 v) { qToLittleEndian(v, b.data() + at); }

// Where the parts of a module file are.
struct Layout {
  qint64 pe, optional, resourceEntry, firstSection, resources;
  quint32 resourceRva;
  // The resource-relative offset that entry 0 of the directory at dir names.
  quint32 child(const QByteArray& b, quint32 dir) const { return get(b, resources + dir + 16 + 4) & 0x7fffffff; }
};

Layout layoutOf(const QByteArray& b) {
  Layout l{};
  l.pe = get(b, 0x3c);
  l.optional = l.pe + 24;
  l.resourceEntry = l.optional + (qFromLittleEndian<quint16>(b.constData() + l.optional) == 0x20b ? 112 : 96) + 16;
  l.resourceRva = get(b, l.resourceEntry);
  l.firstSection = l.optional + qFromLittleEndian<quint16>(b.constData() + l.pe + 20);
  for (qint64 s = l.firstSection; !l.resources; s += 40)
    if (l.resourceRva >= get(b, s + 12) && l.resourceRva < get(b, s + 12) + get(b, s + 8))
      l.resources = get(b, s + 20) + l.resourceRva - get(b, s + 12);
  return l;
}

using Patch = std::function<void(QByteArray&, const Layout&)>;

}  // namespace

class TestLibraryModules : public QObject {
  Q_OBJECT

 private slots:
  void strings_data() {
    QTest::addColumn<QString>("module");
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("expected");
    for (const char* arch : {"a64", "a32"}) {
      const QString m = QString::fromLatin1(arch);
      const QList<std::pair<int, QString>> rows = {
          {101, "1"},       {102, "Alpha Library"}, {105, "Third image"},
          {15, "fifteen"},  // last of block 1
          {16, "sixteen"},  // first of block 2
          {17, ""},         // an empty slot of a block
          {300, ""},        // no such block
          {200, QString::fromLatin1(samples::longText(1023))},  // 1100 characters, cut
          {201, QString::fromLatin1(samples::longText(1023))}};
      for (const auto& [id, text] : rows) QTest::addRow("%s %d", arch, id) << m << id << text;
    }
    QTest::newRow("104 missing") << "c" << 104 << "";
    QTest::newRow("no file") << "none" << 101 << "";
  }
  void strings() {
    QFETCH(QString, module);
    QFETCH(int, id);
    QFETCH(QString, expected);
    QCOMPARE(LoadLibraryString(modulePath(module), id), expected);
    QCOMPARE(ResourceModule::Load(modulePath(QStringLiteral("a64"))).isPe32Plus(), true);
    QCOMPARE(ResourceModule::Load(modulePath(QStringLiteral("a32"))).isPe32Plus(), false);
  }

  // Every sample arrives pixel for pixel; only the first 200 columns are
  // copied, the rest keeps the box's back colour.
  void bitmaps_data() {
    QTest::addColumn<QString>("module");
    QTest::addColumn<int>("sample");
    for (const char* arch : {"a64", "a32"})
      for (int i = 0; i < samples::sampleBitmaps().size(); ++i)
        QTest::addRow("%s %s", arch, samples::sampleBitmaps()[i].name) << QString::fromLatin1(arch) << i;
  }
  void bitmaps() {
    QFETCH(QString, module);
    QFETCH(int, sample);
    const samples::SampleBitmap s = samples::sampleBitmaps()[sample];
    Surface box;
    box.BackColor = RGB(1, 2, 3);
    box.SetSize(40, 300);
    box.SetPicture(QImage(40, 300, QImage::Format_RGB32));
    QVERIFY(LoadLibraryBitmap(modulePath(module), s.id, box));
    QImage expected(s.width, s.height, QImage::Format_RGB32);
    expected.fill(toQRgb(box.BackColor));
    const QImage full = samples::expectedImage(s);
    for (int y = 0; y < s.height; ++y)
      for (int x = 0; x < std::min(s.width, 200); ++x) expected.setPixel(x, y, full.pixel(x, y));
    QCOMPARE(box.Image(), expected);
    QCOMPARE(box.Picture(), expected);
  }

  void failedBitmapLeavesBoxEmpty() {
    for (const auto& [module, id] : {std::pair{"c", 101}, std::pair{"none", 1}, std::pair{"a64", 99}}) {
      Surface box;
      box.SetSize(3, 2);
      box.SetPicture(QImage(3, 2, QImage::Format_RGB32));
      QVERIFY(!LoadLibraryBitmap(modulePath(QString::fromLatin1(module)), id, box));
      QVERIFY(box.Picture().isNull());
      QImage empty(3, 2, QImage::Format_RGB32);
      empty.fill(toQRgb(box.BackColor));
      QCOMPARE(box.Image(), empty);
    }
  }

  void scan() {
    QTemporaryDir dir;
    auto place = [&](const char* module, const char* file) {
      QVERIFY(QFile::copy(modulePath(QString::fromLatin1(module)), dir.filePath(QString::fromLatin1(file))));
    };
    QVERIFY(!ScanLibraryFolder(dir.path()).LibrariesPresent);
    QVERIFY(!ScanLibraryFolder(dir.filePath(QStringLiteral("Library"))).LibrariesPresent);
    place("a32", "qv_01.dll");
    place("a32", "qv_100.dll");
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("qv_2.dll")));
    LibraryScanResult r = ScanLibraryFolder(dir.path());
    QVERIFY(!r.LibrariesPresent);
    QVERIFY(r.modules.isEmpty());

    place("a64", "qv_1.dll");
    place("c", "qv_3.dll");
    r = ScanLibraryFolder(dir.path());
    QVERIFY(r.LibrariesPresent);
    QCOMPARE(r.modules.size(), 2);
    const LibraryModuleInfo& a = r.modules[0];
    const LibraryModuleInfo& c = r.modules[1];
    QCOMPARE(QList<int>({a.fileNumber, a.number, c.fileNumber, c.number}), QList<int>({1, 1, 3, 3}));
    QCOMPARE(QStringList({a.name, c.name}), QStringList({"Alpha Library", "Gamma Library"}));
    QCOMPARE(a.imageNames, QStringList({"First image", "Second image", "Third image"}));
    QCOMPARE(c.imageNames, QStringList({"Only image", "", ""}));
    QCOMPARE(c.path, dir.filePath(QStringLiteral("qv_3.dll")));
    QVERIFY(a.listed() && c.listed());

    // Modules that cannot be listed are reported, in file order, and still
    // make libraries present.
    QTemporaryDir bad;
    for (const auto& [module, n] : {std::pair{"nonumber", 2}, std::pair{"badnumber", 4}, std::pair{"a64", 6}})
      QVERIFY(QFile::copy(modulePath(QString::fromLatin1(module)), LibraryModulePath(bad.path(), n)));
    writeAll(LibraryModulePath(bad.path(), 5), readAll(modulePath(QStringLiteral("c"))).chopped(1));
    r = ScanLibraryFolder(bad.path());
    QVERIFY(r.LibrariesPresent);
    QList<std::tuple<int, int, QString, bool>> got;
    for (const auto& m : r.modules) got.append({m.fileNumber, m.number, m.name, m.listed()});
    QCOMPARE(got, (QList<std::tuple<int, int, QString, bool>>{
                      {2, -1, "Numberless", false}, {4, -1, "Bad number", false}, {5, -1, "", false},
                      {6, 1, "Alpha Library", false}}));
    for (const auto& m : r.modules) QVERIFY(!m.skipReason.isEmpty());
  }

  // The library shipped beside the program is found and complete.
  void sampleLibrary() {
    const LibraryScanResult r = ScanLibraryFolder(QStringLiteral(QV_SAMPLE_LIBRARY));
    QCOMPARE(r.modules.size(), 1);
    QVERIFY(r.modules[0].listed());
    QCOMPARE(r.modules[0].imageNames.size(), 3);
    for (const QString& name : r.modules[0].imageNames) QVERIFY(!name.isEmpty());
    for (int id = 100; id <= 103; ++id) {
      Surface box;
      QVERIFY(LoadLibraryBitmap(r.modules[0].path, id, box));
      QCOMPARE(box.Picture().size(), QSize(200, 200));
    }
  }

  // Damaged modules are refused as a whole with a reason: no string, no
  // bitmap, no crash.
  void brokenModules_data() {
    QTest::addColumn<QString>("module");
    QTest::addColumn<Patch>("patch");
    const QList<std::pair<const char*, Patch>> patches = {
        {"empty", [](QByteArray& b, const Layout&) { b.clear(); }},
        {"cut by one byte", [](QByteArray& b, const Layout&) { b.chop(1); }},
        {"headers only", [](QByteArray& b, const Layout& l) { b.truncate(l.firstSection + 40); }},
        {"no DOS header", [](QByteArray& b, const Layout&) { b[1] = 'X'; }},
        {"PE header past the end", [](QByteArray& b, const Layout&) { put(b, 0x3c, 0xfffffff0); }},
        {"PE signature", [](QByteArray& b, const Layout& l) { b[l.pe + 2] = 1; }},
        {"optional header kind", [](QByteArray& b, const Layout& l) { put16(b, l.optional, 0x107); }},
        {"optional header too short", [](QByteArray& b, const Layout& l) { put16(b, l.pe + 20, 64); }},
        {"optional header past the end", [](QByteArray& b, const Layout& l) { put16(b, l.pe + 20, 0xffff); }},
        {"65535 sections", [](QByteArray& b, const Layout& l) { put16(b, l.pe + 6, 0xffff); }},
        {"section data wraps", [](QByteArray& b, const Layout& l) { put(b, l.firstSection + 20, 0xfffffe00); }},
        {"resources outside sections", [](QByteArray& b, const Layout& l) { put(b, l.resourceEntry, 0x7fff0000); }},
        {"65535 + 65535 entries", [](QByteArray& b, const Layout& l) { put(b, l.resources + 12, 0xffffffff); }},
        {"directory past the end", [](QByteArray& b, const Layout& l) { put(b, l.resources + 20, 0xfffffff0); }},
        {"type entry points to data", [](QByteArray& b, const Layout& l) { b[l.resources + 23] = 0; }},
        {"type entry loops to the root", [](QByteArray& b, const Layout& l) { put(b, l.resources + 20, 0x80000000); }},
        {"id entry loops to itself", [](QByteArray& b, const Layout& l) {
           const quint32 d = l.child(b, 0);
           put(b, l.resources + d + 20, 0x80000000 | d);
         }},
        {"language entry is a directory", [](QByteArray& b, const Layout& l) {
           b[l.resources + l.child(b, l.child(b, 0)) + 23] = char(0x80);
         }},
        {"data outside sections", [](QByteArray& b, const Layout& l) {
           put(b, l.resources + l.child(b, l.child(b, l.child(b, 0))), 0xfffffff0);
         }},
        {"data size wraps", [](QByteArray& b, const Layout& l) {
           put(b, l.resources + l.child(b, l.child(b, l.child(b, 0))) + 4, 0xffffffff);
         }},
        {"name string past the end", [](QByteArray& b, const Layout& l) { put(b, l.resources + 16, 0xfffffff0); }},
        // 20 types sharing one directory of 20 ids sharing one of 20
        // languages: 8000 paths through a few hundred bytes.
        {"shared directories", [](QByteArray& b, const Layout& l) {
           for (quint32 level = 0; level < 3; ++level) {
             const qint64 dir = l.resources + level * 176;
             put(b, dir + 12, 20 << 16);
             for (int i = 0; i < 20; ++i) {
               put(b, dir + 16 + 8 * i, i + 1);
               put(b, dir + 20 + 8 * i, level < 2 ? 0x80000000 | (level + 1) * 176 : 3 * 176);
             }
           }
           put(b, l.resources + 3 * 176, l.resourceRva), put(b, l.resources + 3 * 176 + 4, 16);
         }},
    };
    for (const char* module : {"a64", "a32"})
      for (const auto& [name, patch] : patches) QTest::addRow("%s %s", module, name) << QString::fromLatin1(module) << patch;
  }
  void brokenModules() {
    QFETCH(QString, module);
    QFETCH(Patch, patch);
    QByteArray bytes = readAll(modulePath(module));
    QVERIFY(ResourceModule::FromData(bytes).ok());
    patch(bytes, layoutOf(bytes));
    const ResourceModule m = ResourceModule::FromData(bytes);
    QVERIFY(!m.ok());
    QVERIFY(!m.error().isEmpty());
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("qv_1.dll"));
    writeAll(path, bytes);
    QCOMPARE(LoadLibraryString(path, 101), QString());
    Surface box;
    QVERIFY(!LoadLibraryBitmap(path, 1, box));
    QCOMPARE(ScanLibraryFolder(dir.path()).modules.value(0).number, -1);
  }
};

QTEST_GUILESS_MAIN(TestLibraryModules)
#include "test_librarymodules.moc"
