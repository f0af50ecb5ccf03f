// The sprite and mask sheets: each Pane's 200 x 200 cell, its Cel grid, its
// mask, and drawing a Pane from the sheets. All work on ws.pointer.CurrentPane.
#pragma once
#include "shell/Workspace.h"

namespace qv {

// Width / cels rounded to the nearest integer, halves to the even neighbour.
Integer CelSize(int size, int cels);

// Stores the cell origin of the slot (1..50) as its SheetX, SheetY.
void AssignSheetSlot(Workspace& ws, int slot);
// Rebuilds the slot's mask cell from its sprite cell, through picResize.
void BuildPaneMask(Workspace& ws, int slot);
// The pixel pass over picResize: true black becomes white, pure white stays
// white, every other colour becomes black.
void MaskFromBlack(Workspace& ws);
// Draws a w x h block from (sx, sy) of the sheets at (x, y) of dst: through
// the mask when transparent, as a plain copy otherwise.
void DrawPane(Workspace& ws, QImage& dst, int x, int y, int w, int h, int sx, int sy, bool transparent);
// Frees the slot's cells: DefaultPanePicture into the sprite cell and
// BlackBitmap into the mask cell, over the full 200 x 200.
void FreeSheetCells(Workspace& ws, int slot);

}  // namespace qv
