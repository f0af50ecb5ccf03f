// The library scan over the program's folders and the picker's steps, on
// real modules: the order of the list, skipped modules, the previews, and an
// image sent into the Target Pane.
#include "editing/Panes.h"
#include "imaging/Sheets.h"
#include "library/LibraryModules.h"
#include "library/LibraryPicker.h"
#include "resources/Resources.h"
#include "shell/Headless.h"
#include "shell/Setups.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

using namespace qv;

namespace {

const QString Modules = QStringLiteral(QV_TEST_MODULES);
const QString Sample = QStringLiteral(QV_SAMPLE_LIBRARY) + "/qv_1.dll";

bool copy(const QString& from, const QString& to) {
  QDir().mkpath(QFileInfo(to).absolutePath());
  return QFile::copy(from, to);
}

// A session whose program lives in folder, scanned at start-up.
struct Session : HeadlessSession {
  explicit Session(const QString& folder) {
    platform.programFolder = folder;
    FillLists(ws);
  }
};

}  // namespace

class TestLibraryPicker : public QObject {
  Q_OBJECT

 private slots:
  void scanListsModulesInNumberOrder() {
    QTemporaryDir dir;
    // No Library folder: nothing listed, the command stays greyed.
    {
      Session s(dir.path());
      QVERIFY(!isSet(s.ws.project.LibrariesPresent));
      AddPane(s.ws);
      EnablePaneMenus(s.ws);
      QVERIFY(!s.ws.win.menuEnabled("mnu_LoadPaneLibrary"));
    }
    QVERIFY(copy(Modules + "/lib_c.dll", dir.filePath("Library/qv_3.dll")));
    QVERIFY(copy(Modules + "/lib_a64.dll", dir.filePath("Library/qv_1.dll")));
    QVERIFY(copy(Modules + "/lib_nonumber.dll", dir.filePath("Library/qv_2.dll")));
    QVERIFY(copy(Modules + "/lib_a64.dll", dir.filePath("Library/qv_01.dll")));
    QVERIFY(copy(Modules + "/lib_a64.dll", dir.filePath("Library/qv_100.dll")));
    {
      Session s(dir.path());
      QVERIFY(isSet(s.ws.project.LibrariesPresent));
      const ListState& l = s.ws.dialogs.library.List_Libraries;
      QCOMPARE(l.Entries, (QStringList{"Alpha Library", "Gamma Library"}));
      QCOMPARE(l.ItemData, (QVector<int>{1, 3}));
      AddPane(s.ws);
      EnablePaneMenus(s.ws);
      QVERIFY(s.ws.win.menuEnabled("mnu_LoadPaneLibrary"));
      // Library 3 names only its first image: three entries all the same.
      s.ws.dialogs.library.List_Libraries.Index = 1;
      List_Libraries_Click(s.ws);
      QCOMPARE(s.ws.dialogs.library.List_Images.Entries, (QStringList{"Only image", "", ""}));
    }
    // An installed program also looks in its data folder; a number found
    // beside the program is taken from there.
    QVERIFY(copy(Modules + "/lib_a64.dll", dir.filePath("inst/bin/Library/qv_1.dll")));
    QVERIFY(copy(Sample, dir.filePath("inst/share/quorvel/Library/qv_1.dll")));
    QVERIFY(copy(Modules + "/lib_c.dll", dir.filePath("inst/share/quorvel/Library/qv_3.dll")));
    {
      Session s(dir.filePath("inst/bin"));
      QCOMPARE(s.ws.dialogs.library.List_Libraries.Entries, (QStringList{"Alpha Library", "Gamma Library"}));
      QCOMPARE(LibraryFileOf(s.ws, 3), dir.filePath("inst/share/quorvel/Library/qv_3.dll"));
    }
  }

  void imageGoesIntoTheTargetPane() {
    QTemporaryDir dir;
    QVERIFY(copy(Sample, dir.filePath("Library/qv_1.dll")));
    Session s(dir.path());
    for (int i = 0; i < 3; ++i) AddPane(s.ws);
    s.ws.pointer.TargetPane = 2;
    s.ws.win.Shape1[0].Visible = true;
    mnu_LoadPaneLibrary_Click(s.ws);
    LibraryDialogState& d = s.ws.dialogs.library;
    QCOMPARE(d.Tab, 0);
    QCOMPARE(s.windows.shown.last(), DialogKind::Library);
    d.List_Libraries.Index = 0;
    List_Libraries_Click(s.ws);
    QCOMPARE(s.ws.project.SelectedLibrary, Integer(1));
    Surface expected;
    QVERIFY(LoadLibraryBitmap(dir.filePath("Library/qv_1.dll"), 100, expected));
    QCOMPARE(d.picLibraryPreview.Image(), expected.Image());
    d.List_Images.Index = 1;
    List_Images_Click(s.ws);
    QVERIFY(LoadLibraryBitmap(dir.filePath("Library/qv_1.dll"), 102, expected));
    QCOMPARE(d.picImagePreview.Image(), expected.Image());
    const QString name = d.List_Images.Entries[1];
    Button_frmLibrary_Click(s.ws, 1);
    const PaneRecord& p = s.ws.PaneTable[2];
    QCOMPARE(p.Label, name);
    QCOMPARE(p.PictureName, name + ".bmp");
    QVERIFY(isSet(p.PictureLoaded));
    QCOMPARE(s.ws.win.List_Zorder.last(), (ZorderEntry{name, 2}));
    QImage cell(100, 100, QImage::Format_RGB32);
    PaintPicture(cell, expected.Image(), 0, 0, 100, 100);
    QCOMPARE(s.ws.surfaces.picSprites.Image().copy(p.SheetX, p.SheetY, 100, 100), cell);
    QCOMPARE(s.ws.surfaces.picResize.Image(), LoadResPicture(DefaultPanePictureId));
    QCOMPARE(s.windows.hidden.last(), DialogKind::Library);
    // The picker keeps its state; accepting with no image chosen sends the
    // empty preview as "Untitled".
    Session fresh(dir.path());
    AddPane(fresh.ws);
    fresh.ws.pointer.CurrentPane = 1;
    Button_frmLibrary_Click(fresh.ws, 1);
    QCOMPARE(fresh.ws.PaneTable[1].Label, QString("Untitled"));
  }
};

QTEST_GUILESS_MAIN(TestLibraryPicker)
#include "test_librarypicker.moc"
