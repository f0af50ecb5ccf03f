// Pane and Background pictures, flip and rescale.
#include "imaging/Pictures.h"

#include "imaging/Background.h"
#include "imaging/BoardRender.h"
#include "imaging/Sheets.h"
#include "shell/Platform.h"
#include "shell/TargetMarks.h"
#include "surface/PictureFile.h"

#include <QFileInfo>

namespace qv {

const QString PictureFilter = QStringLiteral("Image Format (*.bmp;*.jpg;*.gif)|*.bmp;*.jpg;*.gif");
const QString LoadPictureTitle = QStringLiteral("Load a Picture");
const QString BackgroundNotLoaded = QStringLiteral("Vorpex report : Couldn't load Background ... didn't find it.");

QString ShortPictureName(const QString& title) {
  return title.size() > 4 ? WithoutSeparator(title.left(title.size() - 4)) : QString();
}

namespace {

// Reads a picture file into picResize at the file's own size.
PictureResult loadIntoPicResize(Workspace& ws, const QString& path) {
  PictureResult r = LoadPicture(path);
  if (!r.ok()) return r;
  Surface& resize = ws.surfaces.picResize;
  resize.AutoSize = true;
  resize.SetPicture(r.image);
  resize.AutoSize = false;
  return r;
}

void hideHoverBox(Workspace& ws) { ws.win.Shape1[1].Visible = false; }

}  // namespace

Outcome OpenPictureFile(Workspace& ws) {
  ProjectValues& pv = ws.project;
  const QString title = QStringLiteral("Open an image file for") +
                        (pv.PictureTarget == 2 ? QStringLiteral(" Background ...") : QStringLiteral(" Pane ..."));
  // No start folder: the dialog opens where it was last used.
  const auto choice = ws.platform->OpenFileDialog(title, PictureFilter, {});
  if (!choice || choice->path.isEmpty()) {
    ws.surfaces.picStage.Pointer = MousePointer::Arrow;
    return Outcome::cancelled();
  }
  pv.PictureFilePath = choice->path;
  const QString shortName = ShortPictureName(choice->title);
  if (pv.PictureTarget == 2) {
    BoardSettingsRecord& b = ws.BoardSettings;
    b.BackPictureName = shortName + ".bmp";
    b.UseBackPicture = QvTrue;
    b.BackPicturePath = pv.PictureFilePath;
    BoardDialogState& board = ws.dialogs.board;
    board.Text_BackPicture = {pv.PictureFilePath, false};
    board.Option_UseBackPicture = 1;
    ws.win.setMenuEnabled("mnu_BoardCompositePanes", true);
    return Outcome::done();
  }
  const int slot = ws.pointer.CurrentPane;
  if (const PictureResult r = loadIntoPicResize(ws, pv.PictureFilePath); !r.ok()) {
    // Nothing has changed. Telling the user which file and why is our
    // addition: without it a failed load looks like a cancelled one.
    ws.surfaces.picStage.Pointer = MousePointer::Arrow;
    return Outcome::failed(pv.PictureFilePath, r.error);
  }
  PaneRecord& p = ws.Pane(slot);
  p.PictureName = shortName + ".bmp";
  // Our addition: a Label no longer than the Pane dialog allows.
  p.Label = shortName.left(MaxLabelLength);
  p.PictureLoaded = QvTrue;
  CommitPanePicture(ws, slot);
  MoveZorderEntryToEnd(ws, slot);
  ws.surfaces.picStage.Pointer = MousePointer::Arrow;
  return Outcome::done();
}

void CommitPanePicture(Workspace& ws, int slot) {
  const PaneRecord& p = ws.Pane(slot);
  const QImage picture = ws.surfaces.picResize.Picture();
  PaintPicture(ws.surfaces.picStage.Image(), picture, p.Left, p.Top, p.Width, p.Height);
  PaintPicture(ws.surfaces.picSprites.Image(), picture, p.SheetX, p.SheetY, p.Width, p.Height);
  ws.surfaces.picSprites.TakeImageAsPicture();
  if (isSet(p.BlackTransparent)) BuildPaneMask(ws, slot);
  RestorePicResize(ws);
}

Outcome mnu_LoadsPicture_Click(Workspace& ws) {
  ws.pointer.CurrentPane = ws.pointer.TargetPane;
  ws.project.PictureTarget = 1;
  const Outcome o = OpenPictureFile(ws);
  ws.pointer.Dragging = QvFalse;
  hideHoverBox(ws);
  RedrawBoard(ws);
  return o;
}

Outcome FastIconLoadPicture(Workspace& ws) {
  ws.project.PictureTarget = 1;
  const Outcome o = OpenPictureFile(ws);
  RedrawBoard(ws);
  ws.pointer.Dragging = QvFalse;
  return o;
}

Outcome mnu_LoadPicBack_Click(Workspace& ws) {
  ws.project.PictureTarget = 2;
  const Outcome chosen = OpenPictureFile(ws);
  BoardSettingsRecord& b = ws.BoardSettings;
  Outcome outcome = chosen.wasCancelled() ? Outcome::cancelled() : Outcome::done();
  if (b.BackPictureName != QLatin1String("none")) {
    const PictureResult r = loadIntoPicResize(ws, b.BackPicturePath);
    if (!r.ok()) {
      // The message is fixed; the file and the reason go below it.
      ws.platform->ShowMessage(QStringLiteral("Quorvel"), BackgroundNotLoaded,
                               b.BackPicturePath + "\n" + r.error);
      RestorePicResize(ws);
      return Outcome::failed(b.BackPicturePath, r.error);
    }
    b.UseBackPicture = QvTrue;
    b.BackPictureName = ShortPictureName(QFileInfo(b.BackPicturePath).fileName()) + ".bmp";
    FitBackgroundToBoard(ws);
  } else {
    b.UseBackPicture = QvFalse;
    b.BackPictureName = QStringLiteral("none");
  }
  RedrawBoard(ws);
  ws.pointer.Dragging = QvFalse;
  hideHoverBox(ws);
  return outcome;
}

void FlipTargetPane(Workspace& ws, MirrorAxis axis) {
  const int slot = ws.pointer.TargetPane;
  ws.pointer.CurrentPane = slot;
  const PaneRecord& p = ws.Pane(slot);
  // Mirroring in place gives exactly what painting the block back through
  // picResize with a negative width (height) gives, with no scratch copy.
  MirrorBlock(ws.surfaces.picSprites.Image(), p.SheetX, p.SheetY, p.Width, p.Height, axis);
  if (isSet(p.BlackTransparent))
    MirrorBlock(ws.surfaces.picMasks.Image(), p.SheetX, p.SheetY, p.Width, p.Height, axis);
  RestorePicResize(ws);
  RedrawBoard(ws);
}

void RescalePane(Workspace& ws, int slot, int oldWidth, int oldHeight) {
  const PaneRecord& p = ws.Pane(slot);
  Surface& resize = ws.surfaces.picResize;
  resize.SetSize(p.Width, p.Height);
  PaintPicture(resize.Image(), ws.surfaces.picSprites.Image(), 0, 0, p.Width, p.Height, p.SheetX, p.SheetY,
               oldWidth, oldHeight);
  resize.TakeImageAsPicture();
  PaintPicture(ws.surfaces.picSprites.Image(), resize.Picture(), p.SheetX, p.SheetY, p.Width, p.Height);
  ws.surfaces.picSprites.TakeImageAsPicture();
  if (isSet(p.BlackTransparent)) BuildPaneMask(ws, slot);
  RestorePicResize(ws);
}

}  // namespace qv
