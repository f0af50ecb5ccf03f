// Helpers shared by the engine tests: reading pixels as colours, filling
// blocks, and placing a Pane with the new-Pane defaults in a given slot.
#pragma once
#include "editing/Panes.h"
#include "shell/Workspace.h"

#include <QImage>
#include <QRandomGenerator>

namespace qv::fixtures {

inline Long px(const QImage& img, int x, int y) { return fromQRgb(img.pixel(x, y)); }

inline void fill(QImage& img, int x, int y, int w, int h, Long c) {
  for (int j = y; j < y + h; ++j)
    for (int i = x; i < x + w; ++i) img.setPixel(i, j, toQRgb(c));
}

// A picture of random colours from a seed.
inline QImage randomImage(int w, int h, quint32 seed) {
  QImage img(w, h, QImage::Format_RGB32);
  QRandomGenerator rng(seed);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) img.setPixel(x, y, 0xff000000u | (rng.generate() & 0xffffffu));
  return img;
}

// Gives slot n a Pane with the new-Pane defaults at (left, top), size w x h
// (its Writing box the same size), and counts it.
inline PaneRecord& placeAt(Workspace& ws, int slot, int left, int top, int w, int h) {
  ws.pointer.CurrentPane = slot;
  InitPaneRecord(ws, slot);
  PaneRecord& p = ws.Pane(slot);
  p.Left = Integer(left);
  p.Top = Integer(top);
  p.Width = p.WritingWidth = Integer(w);
  p.Height = p.WritingHeight = Integer(h);
  ws.project.PaneCount = Integer(ws.project.PaneCount + 1);
  return p;
}

}  // namespace qv::fixtures
