// Pane library modules built by the MinGW tools for 64 and 32-bit Windows:
// strings, bitmaps of every depth arriving exactly through LoadLibraryBitmap,
// the folder scan, damaged modules and bitmaps refused with a reason; then
// the picker over the program's folders: the order of the list, skipped
// modules, the previews, and an image sent into the Target Pane.
#include "library/Dib.h"
#include "library/LibraryModules.h"
#include "library/LibraryPicker.h"
#include "library/ResourceModule.h"
#include "project/StartDefaults.h"

#include "support/Fixtures.h"

using namespace qv;

namespace {

QString modulePath(const char* name) { return QStringLiteral(QV_TEST_MODULES "/lib_%1.dll").arg(QLatin1String(name)); }

quint32 get(const QByteArray& b, qint64 at, int width = 4) {
  return width == 2 ? qFromLittleEndian<quint16>(b.constData() + at) : qFromLittleEndian<quint32>(b.constData() + at);
}

// The parts of a module file that a damage is placed relative to.
enum Part { File, End, Pe, Optional, ResourceEntry, FirstSection, Root, Ids, Languages, Data, ResourceSection, Parts };

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
      at[Root] = get(b, s + 20) + rva - get(b, s + 12), at[ResourceSection] = s;
  // Following entry 0 of each directory down to a data entry.
  for (int p = Ids; p <= Data; ++p) at[p] = at[Root] + (get(b, at[p - 1] + 20) & 0x7fffffff);
  return at;
}

// `value` written over `width` bytes at `at` from a part of a module (or the
// start of sample bitmap `part`), or with width 0 the bytes cut there; the
// words of the reason it is refused for, empty when it still loads.
struct Damage {
  QByteArray name;
  int part;
  qint64 at;
  quint64 value;
  int width;
  QString reason;
};

// The damages of a data file, one a line, with the columns named in its head.
QList<Damage> damagesIn(const char* file, int count) {
  const QStringList parts = {"File", "End", "Pe", "Optional", "ResourceEntry", "FirstSection", "Root", "Ids", "Languages", "Data", "ResourceSection"};
  QList<Damage> out;
  for (const QStringList& f : fieldRows(QV_TEST_DATA + QString("/") + file, count)) {
    const int part = parts.indexOf(f[1]);
    out.append({f[0].toUtf8(), part >= 0 ? part : f[1].toInt(), f[2].toLongLong(nullptr, 0), f[3].toULongLong(nullptr, 0), f[4].toInt(), f[5] == "loads" ? QString() : f[5]});
  }
  return out;
}

QByteArray damage(QByteArray b, qint64 at, const Damage& d) {
  if (d.width == 0) b.truncate(at);
  putLE(b, at, d.value, d.width);
  return b;
}

const QString Sample = QStringLiteral(QV_SAMPLE_LIBRARY) + "/qv_1.dll";

// A session whose program lives in folder, scanned at start-up.
struct Session : HeadlessSession {
  explicit Session(const QString& folder) {
    platform.programFolder = folder;
    FillLists(ws);
  }
};

}  // namespace

class TestLibrary : public QObject {
  Q_OBJECT

 private slots:
  void strings_data() {
    QTest::addColumn<QString>("module");
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("expected");
    const QString cut = QString("ABCDEFGHIJKLMNOPQRSTUVWXYZ").repeated(40).left(1023);
    for (const char* module : {"a64", "a32"})
      for (const QStringList& f : fieldRows(QV_TEST_DATA "/strings.txt", 9))
        QTest::addRow("%s %s", module, qPrintable(f[0])) << modulePath(module) << f[0].toInt() << (f[1] == "cut" ? cut : f[1]);
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
  // copied, the rest keeps the box's back colour. A bitmap that cannot be
  // had leaves the box empty.
  void bitmaps_data() {
    QTest::addColumn<QString>("module");
    QTest::addColumn<int>("id");
    QTest::addColumn<QImage>("expected");
    for (const char* module : {"a64", "a32"})
      for (int id = 1; id <= 16; ++id) {
        // Sample bitmap b<id>.bmp has its pixels in b<id>.png.
        QImage expected = QImage(QStringLiteral(QV_TEST_DATA "/b%1.png").arg(id)).convertToFormat(QImage::Format_RGB32);
        fill(expected, 200, 0, expected.width(), expected.height(), RGB(1, 2, 3));
        QTest::addRow("%s b%d", module, id) << modulePath(module) << id << expected;
      }
    const QImage empty = boardModel({40, 300}, RGB(1, 2, 3), {});
    for (const auto& [module, id] : {std::pair{"c", 101}, std::pair{"none", 1}, std::pair{"a64", 99}})
      QTest::addRow("%s %d fails", module, id) << modulePath(module) << id << empty;
  }
  void bitmaps() {
    QFETCH(QString, module);
    QFETCH(int, id);
    QFETCH(QImage, expected);
    Surface box;
    box.BackColor = RGB(1, 2, 3);
    box.SetSize(40, 300);
    box.SetPicture(QImage(40, 300, QImage::Format_RGB32));
    const bool loads = expected.size() != QSize(40, 300);
    QCOMPARE(LoadLibraryBitmap(module, id, box), loads);
    QCOMPARE(box.Image(), expected);
    QCOMPARE(box.Picture(), loads ? expected : QImage());
  }

  // Only qv_1 .. qv_99 in plain decimal are found, in number order; modules
  // that cannot be listed are reported. A module of 64 MiB is read, one
  // byte more is refused unread.
  void scan() {
    QTemporaryDir dir;
    QVERIFY(!ScanLibraryFolder(dir.filePath(QStringLiteral("Library"))).LibrariesPresent);
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("qv_2.dll")));
    QStringList listed;  // the files of data/scan.txt
    for (const QStringList& f : fieldRows(QV_TEST_DATA "/scan.txt", 10)) {
      const QByteArray module = readFile(modulePath(qPrintable(f[1].section(' ', 0, 0))));
      QVERIFY(writeFile(dir.filePath("qv_" + f[0] + ".dll"), f[1].endsWith(" cut") ? module.chopped(1) : module));
      if (!f[2].isEmpty()) listed << f[2];
    }
    const LibraryScanResult r = ScanLibraryFolder(dir.path());
    QVERIFY(r.LibrariesPresent);
    QStringList got;
    for (const auto& m : r.modules)
      got << QStringLiteral("%1 %2 %3 %4 %5").arg(m.fileNumber).arg(m.number).arg(m.name, m.imageNames.join(','), m.skipReason.section(':', 0, 0)).trimmed();
    QCOMPARE(got, listed);

    QFile big(dir.filePath("qv_big.dll"));
    QVERIFY(big.resize(MaxModuleFileSize));
    QVERIFY(ResourceModule::Load(big.fileName()).ok());
    QVERIFY(big.resize(MaxModuleFileSize + 1));
    QVERIFY(!ResourceModule::Load(big.fileName()).ok());
    // Paths that are no module file say what they are, without reading a
    // device without end.
    QVERIFY(QFile::link("/dev/zero", dir.filePath("zero.dll")) && QFile::link("/proc/self/mem", dir.filePath("mem.dll")));
    for (const auto& [name, is] : {std::pair{"zero.dll", "character device"}, std::pair{"mem.dll", "cannot be read: Input/output error"}})
      QVERIFY2(ResourceModule::Load(dir.filePath(name)).error().contains(is), name);
  }

  // Damaged modules are refused as a whole with a reason: no string, no
  // bitmap, no crash. A module without resources loads and has nothing.
  void modules_data() {
    QTest::addColumn<QByteArray>("good");
    QTest::addColumn<QByteArray>("damaged");
    QTest::addColumn<QString>("reason");
    const QList<Damage> damages = damagesIn("module-damages.txt", 24);
    for (const char* module : {"a64", "a32"}) {
      const QByteArray good = readFile(modulePath(module));
      const QVector<qint64> at = partsOf(good);
      for (const Damage& d : damages)
        QTest::addRow("%s %s", module, d.name.constData()) << good << damage(good, at[d.part] + d.at, d) << d.reason;
      // An id directory pointing back to itself.
      QByteArray loop = good;
      qToLittleEndian(quint32(0x80000000 | (at[Ids] - at[Root])), loop.data() + at[Ids] + 20);
      QTest::addRow("%s id entry loops to itself", module) << good << loop << QString("loops back");
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
      QTest::addRow("%s shared directories", module) << good << shared << QString("directories overlap");
    }
  }
  void modules() {
    QFETCH(QByteArray, good);
    QFETCH(QByteArray, damaged);
    QFETCH(QString, reason);
    QVERIFY(ResourceModule::FromData(good).ok());
    const ResourceModule m = ResourceModule::FromData(damaged);
    QCOMPARE(m.ok(), reason.isEmpty());
    QVERIFY2(reason.isEmpty() ? m.error().isEmpty() : m.error().contains(reason), qPrintable(m.error()));
    QVERIFY(!m.string(101) && !m.bitmap(1).ok());
  }

  // Each damage to a good bitmap (as a bitmap resource holds it) gives its
  // reason and no image.
  void bitmapsRefused() {
    for (const Damage& d : damagesIn("bitmap-damages.txt", 27)) {
      const QByteArray good = readFile(QStringLiteral(QV_TEST_DATA "/b%1.bmp").arg(d.part)).mid(14);
      const DibResult r = DecodeDib(damage(good, d.at, d));
      QVERIFY2(DecodeDib(good).ok() && r.image.isNull() && r.error.contains(d.reason), qPrintable(d.name + ": " + r.error));
    }
  }

  // A 40-byte header with alpha bit fields carries four masks, the pixels
  // after the fourth; the alpha is left out.
  void alphaBitfields() {
    QByteArray dib(40 + 16 + 8, '\0');
    const auto put = [&](int at, quint32 v) { qToLittleEndian(v, dib.data() + at); };
    put(0, 40), put(4, 2), put(8, 1), put(12, 1 | 32 << 16), put(16, 6);
    put(40, 0xFF0000), put(44, 0xFF00), put(48, 0xFF), put(52, 0xFF000000u), put(56, 0x80112233), put(60, 0x445566);
    const DibResult r = DecodeDib(dib);
    QVERIFY2(r.ok(), qPrintable(r.error));
    QCOMPARE(QList<QRgb>({r.image.pixel(0, 0), r.image.pixel(1, 0)}), QList<QRgb>({qRgb(0x11, 0x22, 0x33), qRgb(0x44, 0x55, 0x66)}));
  }

  // An installed program looks beside itself and in its data folder; a
  // number found beside the program is taken from there.
  void scanListsModulesInNumberOrder() {
    QTemporaryDir dir;
    const QString bin = dir.filePath("inst/bin/Library/"), share = dir.filePath("inst/share/quorvel/Library/");
    QVERIFY(QDir().mkpath(bin) && QDir().mkpath(share) && QFile::copy(Sample, share + "qv_1.dll"));
    for (const auto& [module, to] : {std::pair{"a64", bin + "qv_1.dll"}, std::pair{"nonumber", bin + "qv_2.dll"},
                                     std::pair{"c", share + "qv_3.dll"}})
      QVERIFY(QFile::copy(QStringLiteral(QV_TEST_MODULES "/lib_%1.dll").arg(module), to));
    Session s(dir.filePath("inst/bin"));
    QVERIFY(isSet(s.ws.session.LibrariesPresent));
    AddPane(s.ws);
    EnablePaneMenus(s.ws);
    QVERIFY(s.ws.win.menuEnabled(Command::LoadPaneLibrary));
    ListState& l = s.ws.dialogs.library.List_Libraries;
    QVERIFY(l.Entries == QStringList({"Alpha Library", "Gamma Library"}) && l.ItemData == QVector<int>({1, 3}));
    QCOMPARE(LibraryFileOf(s.ws, 1) + " " + LibraryFileOf(s.ws, 3), bin + "qv_1.dll " + share + "qv_3.dll");
    // Library 3 names only its first image: three entries all the same.
    l.Index = 1;
    List_Libraries_Click(s.ws);
    QCOMPARE(s.ws.dialogs.library.List_Images.Entries, (QStringList{"Only image", "", ""}));
  }

  void imageGoesIntoTheTargetPane() {
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("Library") && QFile::copy(Sample, dir.filePath("Library/qv_1.dll")));
    Session s(dir.path());
    for (int i = 0; i < 3; ++i) AddPane(s.ws);
    s.ws.pointer.TargetPane = 2;
    s.ws.win.Shape1[0].Visible = true;
    mnu_LoadPaneLibrary_Click(s.ws);
    LibraryDialogState& d = s.ws.dialogs.library;
    QCOMPARE(d.Tab, 0);
    d.List_Libraries.Index = 0;
    List_Libraries_Click(s.ws);
    Surface expected;
    QVERIFY(LoadLibraryBitmap(Sample, 100, expected));
    QCOMPARE(d.picLibraryPreview.Image(), expected.Image());
    d.List_Images.Index = 1;
    List_Images_Click(s.ws);
    QVERIFY(LoadLibraryBitmap(Sample, 102, expected));
    QCOMPARE(d.picImagePreview.Image(), expected.Image());
    const QString name = d.List_Images.Entries[1];
    Button_frmLibrary_Click(s.ws, 1);
    const PaneRecord& p = s.ws.project.PaneTable[2];
    QCOMPARE(p.Label + " " + p.PictureName, name + " " + name + ".bmp");
    QVERIFY(isSet(p.PictureLoaded));
    QCOMPARE(s.ws.project.List_Zorder.last(), (ZorderEntry{name, 2}));
    QCOMPARE(s.windows.hidden.last(), DialogKind::Library);
    // The picker keeps its state; accepting with no image chosen sends the
    // empty preview, all its light grey, as "Untitled".
    Session fresh(dir.path());
    AddPane(fresh.ws);
    fresh.ws.pointer.CurrentPane = 1;
    Button_frmLibrary_Click(fresh.ws, 1);
    QCOMPARE(fresh.ws.project.PaneTable[1].Label, QString("Untitled"));
    QCOMPARE(sheetBlock(fresh.ws, 1), boardModel({100, 100}, RGB(240, 240, 240), {}));
  }
};

QTEST_GUILESS_MAIN(TestLibrary)
#include "test_library.moc"
