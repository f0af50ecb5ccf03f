// The library scan and the picker.
#include "library/LibraryPicker.h"

#include "imaging/Pictures.h"
#include "library/LibraryModules.h"
#include "shell/Platform.h"
#include "shell/TargetMarks.h"
#include "shell/WindowHost.h"

#include <QDir>
#include <QFileInfo>

namespace qv {
namespace {

LibraryDialogState& dlg(Workspace& ws) { return ws.dialogs.library; }

// Shows bitmap id of library n in a preview box, which is then 200 x 200.
void preview(Workspace& ws, int n, int id, Surface& box) {
  const QString path = LibraryFileOf(ws, n);
  if (path.isEmpty()) return;  // a file gone since the scan: the box stays as it was
  LoadLibraryBitmap(path, id, box);
  box.SetSize(200, 200);
}

}  // namespace

QStringList LibraryFolders(const QString& programFolder) {
  const QDir program(programFolder);
  QStringList folders{program.filePath(QStringLiteral("Library"))};
  const QString installed = QDir::cleanPath(program.filePath(QStringLiteral("../share/quorvel/Library")));
  if (QFileInfo(installed).isDir()) folders << installed;
  return folders;
}

QString LibraryFileOf(const Workspace& ws, int n) {
  for (const QString& folder : ws.session.LibraryFolders) {
    const QString path = LibraryModulePath(folder, n);
    if (QFileInfo(path).isFile()) return path;
  }
  return {};
}

void ScanLibraries(Workspace& ws) {
  ws.session.LibrariesPresent = QvFalse;
  ListState& list = dlg(ws).List_Libraries;
  list.Clear();
  ws.session.LibraryFolders = LibraryFolders(ws.platform->ProgramFolder());
  QVector<bool> taken(LastLibraryNumber + 1, false);
  QVector<LibraryModuleInfo> found;
  for (const QString& folder : ws.session.LibraryFolders) {
    const LibraryScanResult scan = ScanLibraryFolder(folder);
    if (scan.LibrariesPresent) ws.session.LibrariesPresent = QvTrue;
    for (const LibraryModuleInfo& m : scan.modules) {
      if (taken[m.fileNumber]) continue;
      taken[m.fileNumber] = true;
      found << m;
    }
  }
  std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.fileNumber < b.fileNumber; });
  for (const LibraryModuleInfo& m : found)
    if (m.listed()) list.Add(m.name, m.number);
}

void mnu_LoadPaneLibrary_Click(Workspace& ws) {
  dlg(ws).Tab = 0;
  dlg(ws).Label1 = QStringLiteral("Select a resident Library. Libraries are scanned only during Quorvel loadup.");
  ws.windows->ShowDialog(DialogKind::Library);
}

void frmLibrary_SSTab1_Click(Workspace& ws, int tab) {
  dlg(ws).Tab = tab;
  dlg(ws).Label1 = tab == 0 ? QStringLiteral("Select a resident Library. Libraries are scanned for during Application loadup.")
                            : QStringLiteral("Select an Image which relates to any chosen Library. Accept Button to "
                                             "send the image to current Target Pane.");
}

void List_Libraries_Click(Workspace& ws) {
  LibraryDialogState& d = dlg(ws);
  if (d.List_Libraries.Index < 0) return;
  ws.session.SelectedLibrary = Integer(d.List_Libraries.SelectedData());
  FillImageList(ws);
  preview(ws, ws.session.SelectedLibrary, 100, d.picLibraryPreview);
}

void FillImageList(Workspace& ws) {
  ListState& images = dlg(ws).List_Images;
  images.Clear();
  const QString path = LibraryFileOf(ws, ws.session.SelectedLibrary);
  if (path.isEmpty()) return;
  // An empty name still gives an entry.
  for (int j = 1; j <= 3; ++j) images.Add(LoadLibraryString(path, 102 + j));
}

void List_Images_Click(Workspace& ws) {
  LibraryDialogState& d = dlg(ws);
  const int i = d.List_Images.Index;
  if (i < 0 || i >= d.List_Images.Entries.size()) return;
  d.ImageName = d.List_Images.Entries[i];
  preview(ws, ws.session.SelectedLibrary, 101 + i, d.picImagePreview);
}

void Button_frmLibrary_Click(Workspace& ws, int index) {
  if (index == 1) SendLibraryImage(ws);
  ws.windows->HideDialog(DialogKind::Library);
}

void SendLibraryImage(Workspace& ws) {
  LibraryDialogState& d = dlg(ws);
  d.picImagePreview.TakeImageAsPicture();
  if (d.ImageName.isEmpty()) d.ImageName = QStringLiteral("Untitled");
  if (ws.win.Shape1[0].Visible) ws.pointer.CurrentPane = ws.pointer.TargetPane;
  const int slot = ws.pointer.CurrentPane;
  PaneRecord& p = ws.Pane(slot);
  // Our addition: the names fit the project text (no separator, the Label
  // no longer than the Pane dialog allows).
  p.PictureName = ProjectTextOf(d.ImageName, MaxNameLength - 4) + ".bmp";
  p.Label = ProjectTextOf(d.ImageName, MaxLabelLength);
  p.PictureLoaded = QvTrue;
  CommitPanePicture(ws, slot, d.picImagePreview.Picture());
  MoveZorderEntryToEnd(ws, slot);
}

}  // namespace qv
