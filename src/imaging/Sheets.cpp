// Sheet cells, Cel sizes, mask building and drawing a Pane from the sheets.
#include "imaging/Sheets.h"

#include "resources/Resources.h"

namespace qv {

QPoint SheetCellOrigin(int slot) {
  return {CellSize * ((slot - 1) % 5), CellSize * ((slot - 1) / 5)};
}

Integer CelSize(int size, int cels) {
  if (cels <= 0) return 0;
  const int base = size / cels, rem = size % cels;
  if (2 * rem > cels) return Integer(base + 1);
  if (2 * rem == cels) return Integer(base + (base % 2));
  return Integer(base);
}

void AssignSheetSlot(Workspace& ws) {
  if (ws.CurrentPane < 1 || ws.CurrentPane > MaxPanes) return;
  PaneRecord& p = ws.Pane(ws.CurrentPane);
  const QPoint o = SheetCellOrigin(ws.CurrentPane);
  p.SheetX = Integer(o.x());
  p.SheetY = Integer(o.y());
}

void MaskFromBlack(Workspace& ws) {
  ws.picStage.Pointer = MousePointer::Hourglass;
  QImage& img = ws.picResize.Image();
  for (int y = 0; y < img.height(); ++y) {
    auto* px = reinterpret_cast<quint32*>(img.scanLine(y));
    for (int x = 0; x < img.width(); ++x) {
      const quint32 c = px[x] & 0x00FFFFFFu;
      if (c != 0x00FFFFFFu) px[x] = c == 0 ? 0xFFFFFFFFu : 0xFF000000u;
    }
  }
  ws.picStage.Pointer = MousePointer::Arrow;
}

void BuildPaneMask(Workspace& ws) {
  const PaneRecord& p = ws.Pane(ws.CurrentPane);
  const int w = p.Width, h = p.Height;
  ws.picResize.SetSize(w, h);
  BitBlt(ws.picResize.Image(), 0, 0, w, h, ws.picSprites.Image(), p.SheetX, p.SheetY, RasterOp::SRCCOPY);
  ws.picResize.TakeImageAsPicture();
  MaskFromBlack(ws);
  ws.picResize.TakeImageAsPicture();
  BitBlt(ws.picMasks.Image(), p.SheetX, p.SheetY, w, h, ws.picResize.Image(), 0, 0, RasterOp::SRCCOPY);
  ws.picMasks.TakeImageAsPicture();
  RestorePicResize(ws);
}

void DrawPane(Workspace& ws, QImage& dst, int x, int y, int w, int h, int sx, int sy, bool transparent) {
  if (transparent)
    BlitTransparent(dst, x, y, w, h, ws.picMasks.Image(), ws.picSprites.Image(), sx, sy);
  else
    BitBlt(dst, x, y, w, h, ws.picSprites.Image(), sx, sy, RasterOp::SRCCOPY);
}

void FreeSheetCells(Workspace& ws) {
  if (ws.CurrentPane < 1 || ws.CurrentPane > MaxPanes) return;
  const QPoint o = SheetCellOrigin(ws.CurrentPane);
  PaintPicture(ws.picSprites.Image(), LoadResPicture(DefaultPanePictureId), o.x(), o.y(), CellSize, CellSize);
  ws.picSprites.TakeImageAsPicture();
  PaintPicture(ws.picMasks.Image(), LoadResPicture(BlackBitmapId), o.x(), o.y(), CellSize, CellSize);
  ws.picMasks.TakeImageAsPicture();
}

}  // namespace qv
