// The project value: its start state, its slots and its equality.
#include "shell/Project.h"

#include <cstring>

namespace qv {

Project::Project() {
  picSprites.DrawingIsPicture = true;
  picMasks.DrawingIsPicture = true;
  picSprites.SetSize(SheetWidth, SheetHeight);
  picMasks.SetSize(SheetWidth, SheetHeight);
  picBackground.SetSize(800, 600);
}

PaneRecord& Project::Pane(int n) {
  if (!validSlot(n)) throw SlotOutOfRange(n);
  return PaneTable[size_t(n)];
}

const PaneRecord& Project::Pane(int n) const {
  if (!validSlot(n)) throw SlotOutOfRange(n);
  return PaneTable[size_t(n)];
}

QRect CellOf(int slot) { return {SheetCellOrigin(slot), QSize(CellSize, CellSize)}; }

bool CellDiffers(const QImage& a, const QImage& b, int slot) {
  const QRect r = CellOf(slot) & a.rect() & b.rect();
  if (a.constBits() == b.constBits()) return false;
  for (int y = r.top(); y <= r.bottom(); ++y)
    if (std::memcmp(a.constScanLine(y) + r.left() * 4, b.constScanLine(y) + r.left() * 4, size_t(r.width()) * 4))
      return true;
  return false;
}

bool Project::operator==(const Project& o) const {
  if (!(static_cast<const ProjectSettings&>(*this) == o) || !(static_cast<const ProjectNames&>(*this) == o)) return false;
  if (picBackground.Picture() != o.picBackground.Picture() || picBackground.Image() != o.picBackground.Image() ||
      OwnSounds != o.OwnSounds)
    return false;
  for (int n = 1; n <= MaxPanes; ++n) {
    const PaneRecord &a = PaneTable[size_t(n)], &b = o.PaneTable[size_t(n)];
    if (!isSet(a.InUse) && !isSet(b.InUse)) continue;
    if (!(a == b) || CellDiffers(picSprites.Image(), o.picSprites.Image(), n) ||
        CellDiffers(picMasks.Image(), o.picMasks.Image(), n))
      return false;
  }
  return true;
}

}  // namespace qv
