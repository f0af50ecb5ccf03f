// Fitting the Background picture to the Board.
#include "imaging/Background.h"

namespace qv {

void FitBackgroundToBoard(Workspace& ws, const QImage& picture) {
  const int w = std::max<int>(ws.project.BoardWidth, 1), h = std::max(ws.project.BoardHeight, 1);
  ws.surfaces.picBackground.SetSize(w, h);
  PaintPicture(ws.surfaces.picBackground.Image(), picture, 0, 0, w, h);
  ws.surfaces.picBackground.TakeImageAsPicture();
  ws.surfaces.picStage.SetPicture(ws.surfaces.picBackground.Picture());
}

}  // namespace qv
