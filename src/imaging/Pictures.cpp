// Pane and Background pictures, flip and rescale.
#include "imaging/Pictures.h"

#include "imaging/Background.h"
#include "imaging/BoardPainter.h"
#include "imaging/BoardRender.h"
#include "imaging/PaneFrames.h"
#include "imaging/Sheets.h"
#include "shell/Platform.h"
#include "shell/TargetMarks.h"
#include "surface/PictureFile.h"

#include <QFileInfo>

namespace qv {

// PNG is our addition to the picture formats, and so are .jpeg and the
// extensions in capitals, for file dialogs that match names case-sensitively.
const QString PictureFilter = QStringLiteral(
    "Image Format (*.bmp;*.jpg;*.jpeg;*.gif;*.png)|"
    "*.bmp;*.jpg;*.jpeg;*.gif;*.png;*.BMP;*.JPG;*.JPEG;*.GIF;*.PNG");

// Our addition: the title's real extension is cut (everything after its last
// dot, unless that dot starts the title or a space follows it), where the
// original cut four characters and made "photo.jpeg" "photo.".
QString ShortPictureName(const QString& title) {
  const qsizetype dot = title.lastIndexOf(u'.');
  const bool extension = dot > 0 && !title.mid(dot).contains(u' ');
  return WithoutSeparator(extension ? title.left(dot) : title);
}

namespace {

void hideHoverBox(Workspace& ws) { ws.win.Shape1[1].Visible = false; }

}  // namespace

Outcome OpenPictureFile(Workspace& ws, PictureTarget target, int slot) {
  SessionValues& pv = ws.session;
  const bool background = target == PictureTarget::Background;
  const QString title = QStringLiteral("Open an image file for") +
                        (background ? QStringLiteral(" Background ...") : QStringLiteral(" Pane ..."));
  // No start folder: the dialog opens where it was last used.
  const auto choice = ws.platform->OpenFileDialog(title, PictureFilter, {});
  if (!choice || choice->path.isEmpty()) {
    ws.surfaces.picStage.Pointer = MousePointer::Arrow;
    return Outcome::cancelled();
  }
  pv.PictureFilePath = choice->path;
  if (background) {
    BoardSettingsRecord& b = ws.project.BoardSettings;
    b.BackPictureName = ShortPictureName(choice->title) + ".bmp";
    b.UseBackPicture = QvTrue;
    b.BackPicturePath = pv.PictureFilePath;
    BoardDialogState& board = ws.dialogs.board;
    board.Text_BackPicture = {pv.PictureFilePath, false};
    board.Option_UseBackPicture = 1;
    ws.win.setMenuEnabled(Command::BoardCompositePanes, true);
    return Outcome::done();
  }
  PanePicture pic;
  const Outcome read = ReadPanePicture(pv.PictureFilePath, pic);
  // Nothing has changed when it failed. Telling the user which file and why
  // is our addition: without it a failed load looks like a cancelled one.
  if (!read.hasFailed()) PutPictureIntoPane(ws, slot, pic, choice->title);
  ws.surfaces.picStage.Pointer = MousePointer::Arrow;
  return read;
}

void PutPictureIntoPane(Workspace& ws, int slot, const PanePicture& pic, const QString& title) {
  const QString shortName = ShortPictureName(title);
  PaneRecord& p = ws.Pane(slot);
  p.PictureName = shortName + ".bmp";
  // Our addition: a Label no longer than the Pane dialog allows.
  p.Label = shortName.left(MaxLabelLength);
  p.PictureLoaded = QvTrue;
  TakePanePicture(ws, slot, pic);
  MoveZorderEntryToEnd(ws, slot);
}

void CommitPanePicture(Workspace& ws, int slot, const QImage& picture) {
  const PaneRecord& p = ws.Pane(slot);
  PaintPicture(ws.surfaces.picStage.Image(), picture, p.Left, p.Top, p.Width, p.Height);
  PaintPicture(ws.project.picSprites.Image(), picture, p.SheetX, p.SheetY, p.Width, p.Height);
  ws.project.picSprites.TakeImageAsPicture();
  if (isSet(p.BlackTransparent)) BuildPaneMask(ws, slot);
  RestorePicResize(ws);
}

Outcome mnu_LoadsPicture_Click(Workspace& ws) {
  ws.pointer.CurrentPane = ws.pointer.TargetPane;
  const Outcome o = OpenPictureFile(ws, PictureTarget::Pane, ws.pointer.TargetPane);
  ws.pointer.Dragging = QvFalse;
  hideHoverBox(ws);
  RedrawBoard(ws);
  return o;
}

Outcome FastIconLoadPicture(Workspace& ws) {
  const Outcome o = OpenPictureFile(ws, PictureTarget::Pane, ws.pointer.TargetPane);
  RedrawBoard(ws);
  ws.pointer.Dragging = QvFalse;
  return o;
}

Outcome mnu_LoadPicBack_Click(Workspace& ws) {
  const Outcome chosen = OpenPictureFile(ws, PictureTarget::Background);
  BoardSettingsRecord& b = ws.project.BoardSettings;
  Outcome outcome = chosen.wasCancelled() ? Outcome::cancelled() : Outcome::done();
  if (b.BackPictureName != QLatin1String("none")) {
    // A picture with transparent pixels lies over the Board's colour.
    const PictureResult r = LoadPicture(b.BackPicturePath, toQRgb(b.BoardBackColor));
    // The report shows the fixed Background message, the file and the
    // reason below it.
    if (!r.ok()) return Outcome::failed(b.BackPicturePath, r.error);
    b.UseBackPicture = QvTrue;
    b.BackPictureName = ShortPictureName(QFileInfo(b.BackPicturePath).fileName()) + ".bmp";
    FitBackgroundToBoard(ws, r.image);
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
  // picResize with a negative width (height) gives, with no scratch copy; it
  // is done when the sheet is next used, and the Board's layers read the
  // block mirrored without it.
  ws.project.picSprites.MirrorLater(PaneBlock(p), axis);
  if (isSet(p.BlackTransparent)) ws.project.picMasks.MirrorLater(PaneBlock(p), axis);
  RestorePicResize(ws);
  RedrawBoard(ws);
}

void RescalePane(Workspace& ws, int slot, int oldWidth, int oldHeight) {
  const PaneRecord& p = ws.Pane(slot);
  Surface& resize = ws.surfaces.picResize;
  resize.SetSize(p.Width, p.Height);
  PaintPicture(resize.Image(), ws.project.picSprites.Image(), 0, 0, p.Width, p.Height, p.SheetX, p.SheetY,
               oldWidth, oldHeight);
  resize.TakeImageAsPicture();
  PaintPicture(ws.project.picSprites.Image(), resize.Picture(), p.SheetX, p.SheetY, p.Width, p.Height);
  ws.project.picSprites.TakeImageAsPicture();
  if (isSet(p.BlackTransparent)) BuildPaneMask(ws, slot);
  RestorePicResize(ws);
}

}  // namespace qv
