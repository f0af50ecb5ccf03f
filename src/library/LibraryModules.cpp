// Pane library modules over the resource reader.
#include "library/LibraryModules.h"

#include "library/ResourceModule.h"
#include "surface/RasterOps.h"

#include <QFileInfo>

namespace qv {

namespace {

QString bufferedString(const ResourceModule& module, int id) {
  return module.string(id).value_or(QString()).left(LibraryStringBuffer - 1);
}

// The value of a text of decimal digits (surrounding blanks allowed), or -1.
int decimalValue(const QString& text) {
  const QString t = text.trimmed();
  if (t.isEmpty() || t.size() > 9) return -1;
  int v = 0;
  for (const QChar c : t) {
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) return -1;
    v = v * 10 + (c.unicode() - '0');
  }
  return v;
}

}  // namespace

QString LibraryModulePath(const QString& folder, int n) {
  return folder + QStringLiteral("/qv_") + QString::number(n) + QStringLiteral(".dll");
}

QString LoadLibraryString(const QString& path, int id) {
  return bufferedString(ResourceModule::Load(path), id);
}

bool LoadLibraryBitmap(const QString& path, int id, Surface& box) {
  box.ClearPicture();
  const DibResult bmp = ResourceModule::Load(path).bitmap(id);
  if (!bmp.ok()) return false;
  box.SetSize(bmp.image.width(), bmp.image.height());
  BitBlt(box.Image(), 0, 0, LibraryBitmapColumns, bmp.image.height(), bmp.image, 0, 0, RasterOp::SRCCOPY);
  box.TakeImageAsPicture();
  return true;
}

LibraryScanResult ScanLibraryFolder(const QString& folder) {
  LibraryScanResult scan;
  for (int n = FirstLibraryNumber; n <= LastLibraryNumber; ++n) {
    LibraryModuleInfo info;
    info.fileNumber = n;
    info.path = LibraryModulePath(folder, n);
    if (!QFileInfo(info.path).isFile()) continue;
    scan.LibrariesPresent = true;
    const ResourceModule module = ResourceModule::Load(info.path);
    const QString number = bufferedString(module, 101);
    info.number = decimalValue(number);
    info.name = bufferedString(module, 102);
    for (int id = 103; id <= 105; ++id) info.imageNames.append(bufferedString(module, id));
    if (!module.ok())
      info.skipReason = QStringLiteral("the module cannot be loaded: %1").arg(module.error());
    else if (number.isEmpty())
      info.skipReason = QStringLiteral("the module has no library number (string 101)");
    else if (info.number < 0)
      info.skipReason = QStringLiteral("the library number \"%1\" is not a decimal number").arg(number);
    else if (info.number != n)
      info.skipReason = QStringLiteral("the library number %1 is not the file's number %2").arg(info.number).arg(n);
    scan.modules.append(info);
  }
  return scan;
}

}  // namespace qv
