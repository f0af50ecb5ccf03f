// The Board painter: gathered into layers, or plain.
#include "imaging/BoardPainter.h"

#include "imaging/BoardRender.h"
#include "imaging/Sheets.h"

#include <algorithm>

namespace qv {

QRect PaneBlock(const PaneRecord& p) { return {p.SheetX, p.SheetY, p.Width, p.Height}; }

BoardPainter::BoardPainter(Workspace& ws, Start start) : ws_(ws) {
  Surface& stage = ws.surfaces.picStage;
  layered_ = stage.Layers.On && !stage.AutoSize;
  if (!layered_) {
    if (start == Start::FromBase) RestoreBoardBase(ws);
    return;
  }
  if (start == Start::FromBase)
    stage.AssignPictureUnpainted(isSet(ws.project.BoardSettings.UseBackPicture) ? ws.project.picBackground.Picture()
                                                                       : QImage());
  stage.Layers.Begin(stage, start == Start::FromBase);
}

BoardPainter::~BoardPainter() {
  if (!layered_) return;
  flush();
  ws_.surfaces.picStage.Layers.End(ws_.surfaces.picStage);
}

void BoardPainter::flush() {
  Surface& stage = ws_.surfaces.picStage;
  stage.Layers.Flush(stage, ws_.project.picSprites, ws_.project.picMasks);
}

void BoardPainter::Draw(const SheetDraw& d) {
  if (layered_) {
    ws_.surfaces.picStage.Layers.Add(d);
    return;
  }
  QImage& stage = ws_.surfaces.picStage.Image();
  switch (d.ink) {
    case SheetDraw::Ink::Copy:
    case SheetDraw::Ink::Masked:
      qv::DrawPane(ws_, stage, d.x, d.y, d.w, d.h, d.sx, d.sy, d.ink == SheetDraw::Ink::Masked);
      break;
    case SheetDraw::Ink::Or:
      BitBlt(stage, d.x, d.y, d.w, d.h, ws_.project.picSprites.Image(), d.sx, d.sy, RasterOp::SRCPAINT);
      break;
  }
}

void BoardPainter::DrawPane(int x, int y, int w, int h, int sx, int sy, bool transparent, const QRect& block) {
  Draw({transparent ? SheetDraw::Ink::Masked : SheetDraw::Ink::Copy, x, y, w, h, sx, sy, block});
}

void BoardPainter::Print(const QString& text) {
  Surface& stage = ws_.surfaces.picStage;
  if (!layered_) {
    stage.Print(text);
    return;
  }
  flush();
  stage.Layers.Touched(stage.Print(text));
}

void BoardPainter::Line(int x1, int y1, int x2, int y2, Long colour) {
  Surface& stage = ws_.surfaces.picStage;
  if (!layered_) {
    stage.Line(x1, y1, x2, y2, colour);
    return;
  }
  flush();
  stage.Line(x1, y1, x2, y2, colour);
  // The line's pixels lie within the rectangle of its two ends.
  stage.Layers.Touched(QRect(QPoint(std::min(x1, x2), std::min(y1, y2)), QPoint(std::max(x1, x2), std::max(y1, y2))));
}

}  // namespace qv
