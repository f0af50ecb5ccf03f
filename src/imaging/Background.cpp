// Fitting the Background picture to the Board.
#include "imaging/Background.h"

namespace qv {

void FitBackgroundToBoard(Workspace& ws) {
  Surface& resize = ws.surfaces.picResize;
  resize.AutoSize = true;
  resize.SetPicture(resize.Picture());
  const int w = std::max<int>(ws.project.BoardWidth, 1), h = std::max(ws.project.BoardHeight, 1);
  ws.surfaces.picBackground.SetSize(w, h);
  PaintPicture(ws.surfaces.picBackground.Image(), resize.Picture(), 0, 0, w, h);
  ws.surfaces.picBackground.TakeImageAsPicture();
  ws.surfaces.picStage.SetPicture(ws.surfaces.picBackground.Picture());
  RestorePicResize(ws);
}

}  // namespace qv
