// Save, load, new and end.
#include "project/ProjectCommands.h"

#include "editing/OwnSounds.h"
#include "editing/Panes.h"
#include "editing/Selection.h"
#include "imaging/BoardRender.h"
#include "project/ProjectBytes.h"
#include "project/ProjectText.h"
#include "project/RtfReader.h"
#include "project/StartDefaults.h"
#include "shell/Platform.h"
#include "shell/Setups.h"
#include "shell/WindowHost.h"
#include "surface/PictureFile.h"
#include "surface/SafeFiles.h"

#include <QDir>

namespace qv {

const QString ProjectFilter = QStringLiteral("Project Format (*.QV1)|*.QV1");

namespace {

// Frees every slot 0..50, empties the layer list and the four pictures.
void resetProject(Workspace& ws) {
  // No box or Fast Icon stays over a Pane that is gone.
  HideHoverMarks(ws);
  ClearSelection(ws);
  // Panes copied before are another project's from now on.
  NewProjectIdentity(ws);
  ws.project.List_Zorder.clear();
  ws.win.List_ZorderIndex = -1;
  for (auto& p : ws.project.PaneTable) ResetSlot(p);
  ws.project.PaneCount = 0;
  ws.project.OwnSounds.clear();
  ws.project.picBackground.ClearPicture();
  ws.project.picSprites.ClearPicture();
  ws.project.picMasks.ClearPicture();
  ws.surfaces.picStage.ClearPicture();
}

// Reads the project document from its bytes; an empty optional and a reason
// on failure.
std::optional<RtfReadResult> readProjectText(const FileToRead& file, QString& why) {
  if (!file.error.isEmpty()) {
    why = file.error;
    return std::nullopt;
  }
  RtfReadResult doc = ReadRtf(file.bytes);
  if (!doc.ok) {
    why = doc.error.isEmpty() ? QStringLiteral("The file is not a project document.") : doc.error;
    return std::nullopt;
  }
  return doc;
}

}  // namespace

bool DeriveProjectName(Workspace& ws, const QString& path, const QString& title) {
  if (title.size() < 4 || path.size() < title.size()) return false;
  ws.project.ProjectName = title.left(title.size() - 4);
  ws.project.ProjectFolder = path.left(path.size() - title.size());
  return true;
}

ProjectFiles ProjectFilesOf(const Workspace& ws) {
  const QString& f = ws.project.ProjectFolder;
  const QString& n = ws.project.ProjectName;
  return {f + n + ".QV1", f + "Back_" + n + ".bmp", f + "Sprites_" + n + ".bmp", f + "Masks_" + n + ".bmp"};
}

QStringList SaveOrder(const ProjectFiles& files) { return {files.back, files.sprites, files.masks, files.text}; }

QString SaveDialogStart(const Workspace& ws) {
  // Our addition: the dialog proposes the project's own file, or starts in
  // the last folder a project was opened from or saved to.
  const QString& name = ws.project.DocumentName;
  if (!name.isEmpty() && QFileInfo(ws.project.ProjectFolder).isDir()) return ws.project.ProjectFolder + name;
  const QString last = ws.platform->LastProjectFolder();
  return name.isEmpty() || last.isEmpty() ? last + name : QDir(last).filePath(name);
}

Outcome SaveProject(Workspace& ws) {
  const auto choice = ws.platform->SaveFileDialog(QStringLiteral("Save Quorvel Project"), ProjectFilter, SaveDialogStart(ws));
  if (!choice || choice->title.isEmpty()) return Outcome::cancelled();
  // Our addition: a save that fails gives back the names, the folder and
  // Label1 it set before writing, so the window, Export and the next save
  // still name the project that is on the disk.
  const ProjectNames before = ws.project;
  const QString label1 = ws.win.Label1;
  Surface& stage = ws.surfaces.picStage;
  const auto fail = [&](const QString& file, const QString& reason) {
    static_cast<ProjectNames&>(ws.project) = before;
    ws.win.Label1 = label1;
    stage.Pointer = MousePointer::Arrow;
    return Outcome::failed(file, reason);
  };
  ws.platform->ProcessEvents();
  stage.Pointer = MousePointer::Hourglass;
  ws.project.PaneCount = Integer(CountPanesInUse(ws));
  if (!DeriveProjectName(ws, choice->path, choice->title)) {
    // Nothing is written: a title this short names no project. Saying so is
    // our addition; the command would otherwise end without a word.
    return fail(choice->path, QStringLiteral("The file name is too short to name a project."));
  }
  ws.win.Label1 = ws.project.ProjectFolder;
  // The four files (and the own sounds) change together or not at all.
  const QVector<FileContents> contents = ProjectFileSet(ws.project, ws.project.ProjectFolder, ws.project.ProjectName);
  // Our addition: files the user may not write are replaced only when the
  // user says so, as editors ask.
  for (const FileContents& file : contents) {
    if (!IsReadOnlyFile(file.path)) continue;
    if (ws.platform->AskYesNo(QStringLiteral("Save Project"), QStringLiteral("%1 is read-only.\nSave the project over it anyway?")
                                                    .arg(QDir::toNativeSeparators(file.path))))
      break;
    return fail(file.path, QStringLiteral("The file is read-only, so the project was not saved."));
  }
  const Outcome saved = WriteFilesTogether(contents, OwnSoundFiles(ws.project.ProjectName));
  if (saved.hasFailed())
    return fail(saved.failure().file, QStringLiteral("The project could not be saved: %1").arg(saved.failure().reason));
  WaitASec(ws, 4);
  stage.Pointer = MousePointer::Arrow;
  ws.project.DocumentName = ws.project.ProjectName + ".QV1";
  ws.history.MarkSaved();
  ws.platform->ProjectUsed(contents.last().path);
  return saved;
}

Outcome SaveChangesFirst(Workspace& ws, const QString& title) {
  if (!ws.history.Unsaved()) return Outcome::done();
  const QString& name = ws.project.DocumentName;
  const QString text = name.isEmpty() ? QStringLiteral("Save changes to the new project?")
                                      : QStringLiteral("Save changes to %1?").arg(name);
  switch (ws.platform->AskSaveChanges(title, text)) {
    case SaveChoice::DontSave: return Outcome::done();
    case SaveChoice::Cancel: return Outcome::cancelled();
    case SaveChoice::Save: break;
  }
  return SaveProject(ws);
}

namespace {

// Decodes one of the project's bitmaps; a picture that cannot be used is
// noted as a warning and the load goes on.
std::optional<QImage> loadProjectPicture(const FileToRead& file, const QString& what, Outcome& outcome) {
  PictureResult r = file.error.isEmpty() ? LoadPictureData(file.bytes) : PictureResult{{}, file.error};
  if (r.ok()) return r.image;
  outcome.warn(file.path, QStringLiteral("The %1 was not used: %2").arg(what, r.error));
  return std::nullopt;
}

// An own sound read beside the project: one that cannot be used is a
// warning, and its Panes play nothing.
void loadOwnSound(Workspace& ws, Long id, const FileToRead& file, Outcome& outcome) {
  QString why = file.error;
  const auto info = why.isEmpty() ? CheckOwnSound(file.bytes, why) : std::nullopt;
  if (!info) {
    outcome.warn(file.path, QStringLiteral("The sound was not used: %1").arg(why));
    return;
  }
  const QString name = info->name.isEmpty() ? QStringLiteral("Sound %1").arg(id) : info->name;
  ws.project.OwnSounds.insert(id, {name, file.bytes});
}

}  // namespace

QString ProjectStartFolder(const QString& programFolder) {
  const QDir program(programFolder);
  for (const char* examples : {"../share/quorvel/examples", "../examples"}) {
    const QString folder = QDir::cleanPath(program.filePath(QLatin1String(examples)));
    if (QFileInfo(folder).isDir()) return folder + QLatin1Char('/');
  }
  return programFolder;
}

Outcome LoadProject(Workspace& ws) {
  // Unsaved changes are offered to be saved first (our addition).
  if (const Outcome first = SaveChangesFirst(ws, QStringLiteral("Load a Project")); !first.succeeded()) return first;
  // The last folder a project was opened from or saved to comes first (our
  // addition).
  const QString last = ws.platform->LastProjectFolder();
  const auto choice = ws.platform->OpenFileDialog(QStringLiteral("Load Quorvel Project"), ProjectFilter,
                                                  last.isEmpty() ? ProjectStartFolder(ws.platform->ProgramFolder()) : last);
  if (!choice || choice->title.isEmpty()) return Outcome::cancelled();
  return LoadProjectFile(ws, *choice);
}

Outcome LoadProjectFile(Workspace& ws, const FileChoice& choice) {
  ws.platform->ProcessEvents();
  Surfaces& pics = ws.surfaces;
  pics.picStage.Pointer = MousePointer::Hourglass;
  if (ws.win.picIntro.Visible) {
    ws.win.picIntro.Visible = false;
    pics.picStage.Visible = true;
  }
  ShowDesignIcons(ws);
  ws.win.setMenuEnabled(Command::BoardCompositePanes, true);
  if (!DeriveProjectName(ws, choice.path, choice.title)) {
    pics.picStage.Pointer = MousePointer::Arrow;
    return Outcome::failed(choice.path, QStringLiteral("The file name is too short to name a project."));
  }
  ws.win.KeyPreview = true;
  resetProject(ws);
  ws.project.DocumentName.clear();

  const ProjectFiles files = ProjectFilesOf(ws);
  // The four files are read as one, under the project's lock: a save of this
  // project that was killed is finished or undone first, and a save running
  // now is waited for, so the files read are one project. Decoding follows.
  QVector<FileToRead> read;
  for (const QString& path : SaveOrder(files))
    read.append({path, path == files.text ? MaxProjectFileBytes : MaxPictureFileBytes, {}, {}});
  // The own sounds its Panes play are read with them (our addition).
  QString why;
  std::optional<RtfReadResult> doc;
  QList<Long> soundIds;
  const auto sounds = [&](const QVector<FileToRead>& got) {
    doc = readProjectText(got[3], why);
    if (doc) soundIds = OwnSoundsOfText(doc->text, SeparatorForCodePage(doc->codePage));
    QVector<FileToRead> more;
    for (const Long id : soundIds) more.append({OwnSoundFile(ws.project.ProjectFolder, ws.project.ProjectName, id), MaxOwnSoundBytes + 4096, {}, {}});
    return more;
  };
  Outcome outcome = ReadFilesTogether(read, OwnSoundFiles(ws.project.ProjectName), sounds);
  if (outcome.hasFailed()) {
    why = outcome.failure().reason;
    doc.reset();
  }
  if (!doc) {
    // The Board is already emptied: no Target is left to act on.
    ws.win.Shape1[0].Visible = false;
    DisablePaneMenus(ws);
    pics.picStage.Pointer = MousePointer::Arrow;
    ws.history.Clear();
    return Outcome::failed(files.text, QStringLiteral("The project could not be read: %1").arg(why));
  }

  // From here on a failing step is skipped and the next one runs.
  if (const auto back = loadProjectPicture(read[0], QStringLiteral("Background picture"), outcome)) {
    ws.project.picBackground.AutoSize = true;
    ws.project.picBackground.SetPicture(*back);
    ws.project.picBackground.AutoSize = false;
    ws.project.BoardSettings.UseBackPicture = QvTrue;
    ws.project.BoardSettings.BackPicturePath = files.back;
  }
  if (const auto s = loadProjectPicture(read[1], QStringLiteral("sprite sheet"), outcome))
    ws.project.picSprites.SetPicture(*s);
  if (const auto m = loadProjectPicture(read[2], QStringLiteral("mask sheet"), outcome))
    ws.project.picMasks.SetPicture(*m);

  ws.win.picFastMenu.Visible = true;
  PlaceBoardBelowBar(ws);
  const ParseResult parsed = ParseProject(ws, doc->text, SeparatorForCodePage(doc->codePage));
  for (qsizetype i = 0; i < soundIds.size(); ++i) loadOwnSound(ws, soundIds[i], read[4 + i], outcome);
  LayoutMainWindow(ws);
  DisablePaneMenus(ws);
  ws.win.Shape1[0].Visible = false;
  pics.picStage.Pointer = MousePointer::Arrow;
  ws.project.DocumentName = ws.project.ProjectName + ".QV1";
  ws.history.Clear();
  for (const QString& damage : parsed.damage)
    outcome.warn(files.text, QStringLiteral("The project text is damaged: %1").arg(damage));
  if (!parsed.complete) {
    outcome.warn(files.text,
                 QStringLiteral("The project text is damaged or ends early: reading stopped at token %1 (%2). "
                                "What was read before it has been loaded.")
                     .arg(parsed.failedToken)
                     .arg(parsed.failedField));
  }
  return outcome;
}

Outcome mnu_LoadsProject_Click(Workspace& ws) { return FinishLoad(ws, LoadProject(ws)); }

Outcome FinishLoad(Workspace& ws, const Outcome& outcome) {
  if (!outcome.wasCancelled()) {
    ws.win.picFastMenu.Visible = true;
    RedrawBoard(ws);
  }
  // The recent projects and the last folder (our addition).
  if (outcome.succeeded()) ws.platform->ProjectUsed(ws.project.ProjectFolder + ws.project.DocumentName);
  return outcome;
}

Outcome NewProject(Workspace& ws) {
  // With unsaved changes the save question takes the place of New's own
  // (our addition).
  if (ws.history.Unsaved()) {
    if (const Outcome first = SaveChangesFirst(ws, QStringLiteral("New Project")); !first.succeeded()) return first;
  } else if (!ws.platform->AskYesNo(QStringLiteral("New Project"),
                                    QStringLiteral("Begin a New Project - Current Workspace will be lost?"))) {
    return Outcome::cancelled();
  }
  resetProject(ws);
  ws.project.DocumentName.clear();
  ws.history.Clear();
  FillLists(ws);
  LayoutMainWindow(ws);
  ws.win.picFastMenu.Visible = true;
  DisablePaneMenus(ws);
  ws.win.setMenuEnabled(Command::BoardCompositePanes, false);
  // The new project is open at once, so its keys work without a Load.
  ws.win.KeyPreview = true;
  return Outcome::done();
}

Outcome EndApplication(Workspace& ws) {
  const QString title = QStringLiteral("Activity : End Application");
  // With unsaved changes the save question takes the place of End's own
  // (our addition).
  if (ws.history.Unsaved()) {
    if (const Outcome first = SaveChangesFirst(ws, title); !first.succeeded()) return first;
  } else if (!ws.platform->AskYesNo(title, QStringLiteral("End your time with Quorvel ?"))) {
    return Outcome::cancelled();
  }
  ws.history.Clear();
  ws.windows->EndProgram();
  return Outcome::done();
}

Outcome QuitApplication(Workspace& ws) {
  // Our addition: the intro has no End, and a window manager may offer no
  // close button. Only unsaved changes are worth a question.
  if (const Outcome first = SaveChangesFirst(ws, QStringLiteral("Quit")); !first.succeeded()) return first;
  ws.history.Clear();
  ws.windows->EndProgram();
  return Outcome::done();
}

}  // namespace qv
