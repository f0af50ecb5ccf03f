// Save, load, new and end.
#include "project/ProjectCommands.h"

#include "editing/Panes.h"
#include "imaging/BoardRender.h"
#include "project/ProjectText.h"
#include "project/RtfReader.h"
#include "project/RtfWriter.h"
#include "shell/Platform.h"
#include "shell/Setups.h"
#include "surface/PictureFile.h"
#include "surface/SafeFiles.h"

#include <QDir>

namespace qv {

const QString ProjectFilter = QStringLiteral("Project Format (*.QV1)|*.QV1");

namespace {

const QString SaveTitle = QStringLiteral("Save Project");
const QString LoadTitle = QStringLiteral("Load a Project");

void tell(Workspace& ws, const QString& title, const QString& path, const QString& why) {
  ws.platform->ShowMessage(title, QStringLiteral("%1\n\n%2").arg(QDir::toNativeSeparators(path), why));
}

// Frees every slot 0..50, empties the layer list and the four pictures.
void resetProject(Workspace& ws) {
  ws.win.List_Zorder.clear();
  ws.win.List_ZorderIndex = -1;
  for (auto& p : ws.PaneTable) ResetSlot(p);
  ws.PaneCount = 0;
  ws.picBackground.ClearPicture();
  ws.picSprites.ClearPicture();
  ws.picMasks.ClearPicture();
  ws.picStage.ClearPicture();
}

// Reads the project document; an empty optional and a reason on failure.
std::optional<RtfReadResult> readProjectText(const QString& path, QString& why) {
  // Only plain files are read, and never more than the cap, whatever size
  // the file reports.
  QByteArray bytes;
  if (const Outcome read = ReadFileCapped(path, MaxProjectFileBytes, bytes); !read.succeeded()) {
    why = read.failure().reason;
    return std::nullopt;
  }
  RtfReadResult doc = ReadRtf(bytes);
  if (!doc.ok) {
    why = doc.error.isEmpty() ? QStringLiteral("The file is not a project document.") : doc.error;
    return std::nullopt;
  }
  return doc;
}

}  // namespace

bool DeriveProjectName(Workspace& ws, const QString& path, const QString& title) {
  if (title.size() < 4 || path.size() < title.size()) return false;
  ws.ProjectFileTitle = title;
  ws.ProjectName = title.left(title.size() - 4);
  ws.ProjectFolder = path.left(path.size() - title.size());
  return true;
}

ProjectFiles ProjectFilesOf(const Workspace& ws) {
  const QString& f = ws.ProjectFolder;
  const QString& n = ws.ProjectName;
  return {f + n + ".QV1", f + "Back_" + n + ".bmp", f + "Sprites_" + n + ".bmp", f + "Masks_" + n + ".bmp"};
}

void SaveProject(Workspace& ws) {
  const auto choice = ws.platform->SaveFileDialog(QStringLiteral("Save Quorvel Project"), ProjectFilter, {});
  if (!choice || choice->title.isEmpty()) return;
  ws.SavePath = choice->path;
  ws.ProjectFileTitle = choice->title;
  ws.platform->ProcessEvents();
  ws.picStage.Pointer = MousePointer::Hourglass;
  const QString text = SerializeProject(ws);
  if (!DeriveProjectName(ws, choice->path, choice->title)) {
    ws.picStage.Pointer = MousePointer::Arrow;
    return;
  }
  ws.win.Label1 = ws.ProjectFolder;
  const ProjectFiles files = ProjectFilesOf(ws);
  // The four files change together or not at all; the project file takes
  // its place last, so it never names bitmaps older than itself.
  const Outcome saved = WriteFilesTogether({
      {files.back, EncodeBmp24(ws.picBackground.Image())},
      {files.sprites, EncodeBmp24(ws.picSprites.Image())},
      {files.masks, EncodeBmp24(ws.picMasks.Image())},
      {files.text, WriteRtf(text)},
  });
  if (saved.hasFailed()) {
    ws.picStage.Pointer = MousePointer::Arrow;
    tell(ws, SaveTitle, saved.failure().file,
         QStringLiteral("The project could not be saved: %1").arg(saved.failure().reason));
    return;
  }
  WaitASec(ws, 4);
  ws.picStage.Pointer = MousePointer::Arrow;
}

bool LoadProject(Workspace& ws) {
  const auto choice = ws.platform->OpenFileDialog(QStringLiteral("Load Quorvel Project"), ProjectFilter,
                                                  ws.platform->ProgramFolder());
  if (!choice || choice->title.isEmpty()) return false;
  ws.platform->ProcessEvents();
  ws.picStage.Pointer = MousePointer::Hourglass;
  if (ws.win.picIntro.Visible) {
    ws.win.picIntro.Visible = false;
    ws.picStage.Visible = true;
  }
  ShowDesignIcons(ws);
  ws.win.setMenuEnabled("mnu_BoardCompositePanes", true);
  if (!DeriveProjectName(ws, choice->path, choice->title)) {
    ws.picStage.Pointer = MousePointer::Arrow;
    return true;
  }
  ws.win.KeyPreview = true;
  resetProject(ws);

  const ProjectFiles files = ProjectFilesOf(ws);
  QString why;
  const auto doc = readProjectText(files.text, why);
  if (!doc) {
    // The Board is already emptied: no Target is left to act on.
    ws.win.Shape1[0].Visible = false;
    DisablePaneMenus(ws);
    ws.picStage.Pointer = MousePointer::Arrow;
    tell(ws, LoadTitle, files.text, QStringLiteral("The project could not be read: %1").arg(why));
    return true;
  }

  // From here on a failing step is skipped and the next one runs.
  const PictureResult back = LoadPicture(files.back);
  if (back.ok()) {
    ws.picBackground.AutoSize = true;
    ws.picBackground.SetPicture(back.image);
    ws.picBackground.AutoSize = false;
    ws.BoardSettings.UseBackPicture = QvTrue;
    ws.BoardSettings.BackPicturePath = files.back;
  }
  if (const PictureResult s = LoadPicture(files.sprites); s.ok()) ws.picSprites.SetPicture(s.image);
  if (const PictureResult m = LoadPicture(files.masks); m.ok()) ws.picMasks.SetPicture(m.image);

  ws.win.picFastMenu.Visible = true;
  PlaceBoardBelowBar(ws);
  const ParseResult parsed = ParseProject(ws, doc->text, SeparatorForCodePage(doc->codePage));
  LayoutMainWindow(ws);
  DisablePaneMenus(ws);
  ws.win.Shape1[0].Visible = false;
  ws.picStage.Pointer = MousePointer::Arrow;
  if (!parsed.complete) {
    tell(ws, LoadTitle, files.text,
         QStringLiteral("The project text is damaged or ends early: reading stopped at token %1 (%2). "
                        "What was read before it has been loaded.")
             .arg(parsed.failedToken)
             .arg(parsed.failedField));
  }
  return true;
}

void mnu_LoadsProject_Click(Workspace& ws) {
  if (!LoadProject(ws)) return;
  ws.win.picFastMenu.Visible = true;
  RedrawBoard(ws);
}

void NewProject(Workspace& ws) {
  if (!ws.platform->AskYesNo(QStringLiteral("New Project"),
                             QStringLiteral("Begin a New Project - Current Workspace will be lost?")))
    return;
  resetProject(ws);
  FillLists(ws);
  LayoutMainWindow(ws);
  ws.win.picFastMenu.Visible = true;
  DisablePaneMenus(ws);
  ws.win.setMenuEnabled("mnu_BoardCompositePanes", false);
  // The new project is open at once, so its keys work without a Load.
  ws.win.KeyPreview = true;
}

bool EndApplication(Workspace& ws) {
  return ws.platform->AskYesNo(QStringLiteral("Activity : End Application"),
                               QStringLiteral("End your time with Quorvel ?"));
}

}  // namespace qv
