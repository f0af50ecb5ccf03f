// Fitting the Background picture to the Board.
#include "imaging/Background.h"

namespace qv {

void FitBackgroundToBoard(Workspace& ws, const QImage& picture) {
  const int w = std::max<int>(ws.session.BoardWidth, 1), h = std::max(ws.session.BoardHeight, 1);
  ws.project.picBackground.SetSize(w, h);
  PaintPicture(ws.project.picBackground.Image(), picture, 0, 0, w, h);
  ws.project.picBackground.TakeImageAsPicture();
  ws.surfaces.picStage.SetPicture(ws.project.picBackground.Picture());
}

}  // namespace qv
