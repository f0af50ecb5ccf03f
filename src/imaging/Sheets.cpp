// Sheet cells, Cel sizes, mask building and drawing a Pane from the sheets.
#include "imaging/Sheets.h"

#include "resources/Resources.h"

namespace qv {

Integer CelSize(int size, int cels) {
  if (cels <= 0) return 0;
  const int base = size / cels, rem = size % cels;
  if (2 * rem > cels) return Integer(base + 1);
  if (2 * rem == cels) return Integer(base + (base % 2));
  return Integer(base);
}

void AssignSheetSlot(Workspace& ws, int slot) {
  if (slot < 1 || slot > MaxPanes) return;
  PaneRecord& p = ws.Pane(slot);
  const QPoint o = SheetCellOrigin(slot);
  p.SheetX = Integer(o.x());
  p.SheetY = Integer(o.y());
}

void MaskFromBlack(Workspace& ws) {
  ws.surfaces.picStage.Pointer = MousePointer::Hourglass;
  QImage& img = ws.surfaces.picResize.Image();
  for (int y = 0; y < img.height(); ++y) {
    auto* px = reinterpret_cast<quint32*>(img.scanLine(y));
    for (int x = 0; x < img.width(); ++x) {
      const quint32 c = px[x] & 0x00FFFFFFu;
      if (c != 0x00FFFFFFu) px[x] = c == 0 ? 0xFFFFFFFFu : 0xFF000000u;
    }
  }
  ws.surfaces.picStage.Pointer = MousePointer::Arrow;
}

void BuildPaneMask(Workspace& ws, int slot) {
  const PaneRecord& p = ws.Pane(slot);
  const int w = p.Width, h = p.Height;
  ws.surfaces.picResize.SetSize(w, h);
  BitBlt(ws.surfaces.picResize.Image(), 0, 0, w, h, ws.project.picSprites.Image(), p.SheetX, p.SheetY, RasterOp::SRCCOPY);
  ws.surfaces.picResize.TakeImageAsPicture();
  MaskFromBlack(ws);
  ws.surfaces.picResize.TakeImageAsPicture();
  BitBlt(ws.project.picMasks.Image(), p.SheetX, p.SheetY, w, h, ws.surfaces.picResize.Image(), 0, 0, RasterOp::SRCCOPY);
  ws.project.picMasks.TakeImageAsPicture();
  RestorePicResize(ws);
}

void DrawPane(Workspace& ws, QImage& dst, int x, int y, int w, int h, int sx, int sy, bool transparent) {
  if (transparent)
    BlitTransparent(dst, x, y, w, h, ws.project.picMasks.Image(), ws.project.picSprites.Image(), sx, sy);
  else
    BitBlt(dst, x, y, w, h, ws.project.picSprites.Image(), sx, sy, RasterOp::SRCCOPY);
}

void FreeSheetCells(Workspace& ws, int slot) {
  if (slot < 1 || slot > MaxPanes) return;
  const QPoint o = SheetCellOrigin(slot);
  PaintPicture(ws.project.picSprites.Image(), LoadResPicture(DefaultPanePictureId), o.x(), o.y(), CellSize, CellSize);
  ws.project.picSprites.TakeImageAsPicture();
  PaintPicture(ws.project.picMasks.Image(), LoadResPicture(BlackBitmapId), o.x(), o.y(), CellSize, CellSize);
  ws.project.picMasks.TakeImageAsPicture();
}

}  // namespace qv
