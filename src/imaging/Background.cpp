// Fitting the Background picture to the Board.
#include "imaging/Background.h"

namespace qv {

void FitBackgroundToBoard(Workspace& ws) {
  Surface& resize = ws.picResize;
  resize.AutoSize = true;
  resize.SetPicture(resize.Picture());
  const int w = std::max<int>(ws.BoardWidth, 1), h = std::max(ws.BoardHeight, 1);
  ws.picBackground.SetSize(w, h);
  PaintPicture(ws.picBackground.Image(), resize.Picture(), 0, 0, w, h);
  ws.picBackground.TakeImageAsPicture();
  ws.picStage.SetPicture(ws.picBackground.Picture());
  RestorePicResize(ws);
}

}  // namespace qv
