// Pane library modules: "qv_" + N + ".dll" (N = 1..99) holding the library
// number (string 101), the library name (102), three image names (103..105),
// a preview bitmap (100) and three images (101..103). Every read opens the
// module file, takes what it needs and lets it go.
#pragma once
#include "surface/Surface.h"

#include <QString>
#include <QStringList>
#include <QVector>

namespace qv {

constexpr int FirstLibraryNumber = 1;
constexpr int LastLibraryNumber = 99;
// Strings are read into a buffer of this many characters, one of them the
// terminator, so at most LibraryStringBuffer - 1 characters are used.
constexpr int LibraryStringBuffer = 1024;
// Only this many pixel columns of a library bitmap are ever copied.
constexpr int LibraryBitmapColumns = 200;

// folder + "/qv_" + n + ".dll", n in plain decimal.
QString LibraryModulePath(const QString& folder, int n);

// String resource id of the module at path, cut to 1023 characters; "" when
// the module cannot be loaded or has no such string.
QString LoadLibraryString(const QString& path, int id);

// Bitmap resource id of the module at path into box: the box's picture is
// cleared first; on success the box takes the bitmap's size, the first 200
// columns of the bitmap are copied into its image (wider bitmaps leave the
// rest in the box's back colour) and the image becomes its picture. Returns
// false, leaving the box empty, when the module or the bitmap cannot be read.
bool LoadLibraryBitmap(const QString& path, int id, Surface& box);

// One module file found by the library scan.
struct LibraryModuleInfo {
  int fileNumber = 0;      // N of "qv_N.dll"
  QString path;
  int number = 0;          // integer value of string 101
  QString name;            // string 102
  QStringList imageNames;  // strings 103, 104, 105 ("" when missing)
  QString skipReason;      // why the module is not listed; "" when it is
  bool listed() const { return skipReason.isEmpty(); }
};

struct LibraryScanResult {
  // True as soon as one module file exists, listed or not.
  bool LibrariesPresent = false;
  // Every module file found, in N order; skipped ones carry their reason.
  QVector<LibraryModuleInfo> modules;
};

// Looks for qv_1.dll .. qv_99.dll in folder. A module is skipped when it
// cannot be loaded, when its string 101 is missing or not a decimal number,
// or when that number is not the N of its file name (the list rebuilds the
// file name from the number, so such an entry would open another file).
LibraryScanResult ScanLibraryFolder(const QString& folder);

}  // namespace qv
