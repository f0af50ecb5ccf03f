// Transparency and animation of pictures loaded into a Pane.
#include "imaging/PaneFrames.h"

#include "imaging/BoardRender.h"
#include "imaging/Pictures.h"
#include "imaging/Sheets.h"
#include "surface/PictureFile.h"

#include <cmath>

namespace qv {
namespace {

// A frame kept until the grid is chosen: no larger than a Pane's cell.
QImage keptFrame(const QImage& frame) {
  if (frame.width() <= CellSize && frame.height() <= CellSize) return frame;
  return frame.scaled(CellSize, CellSize, Qt::KeepAspectRatio, Qt::FastTransformation);
}

// The frame as the sprite sheet takes it.
QImage sheetPicture(const QImage& frame, bool transparent) {
  return transparent ? MaskReadyPicture(frame) : Flattened(frame, 0xFF000000);
}

}  // namespace

CelGrid ChooseCelGrid(int frames, QSize frameSize) {
  const int fw = std::max(frameSize.width(), 1), fh = std::max(frameSize.height(), 1);
  CelGrid best;
  int bestCels = 0;
  double bestScale = 0;
  for (int down = 1; down <= MaxCelsASide; ++down) {
    for (int across = 1; across <= MaxCelsASide; ++across) {
      const int cels = across * down;
      if (cels < std::min(frames, MaxCels)) continue;
      const double scale = std::min({1.0, double(CellSize / across) / fw, double(CellSize / down) / fh});
      const bool better = bestCels == 0 || cels < bestCels ||
                          (cels == bestCels && (scale > bestScale ||
                                                (scale == bestScale && std::abs(across - down) < std::abs(best.across - best.down))));
      if (!better) continue;
      bestCels = cels;
      bestScale = scale;
      best.across = across;
      best.down = down;
    }
  }
  // Grown, shape kept, when the Pane would be under 20 a side.
  const double scale = std::max({bestScale, double(MinPaneSide) / (fw * best.across),
                                 double(MinPaneSide) / (fh * best.down)});
  const auto side = [&](int size, int count) {
    return std::clamp(int(std::lround(size * scale)), (MinPaneSide + count - 1) / count, CellSize / count);
  };
  best.cel = QSize(side(fw, best.across), side(fh, best.down));
  return best;
}

QImage MaskReadyPicture(const QImage& picture) {
  QImage out = picture.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < out.height(); ++y) {
    auto* px = reinterpret_cast<quint32*>(out.scanLine(y));
    for (int x = 0; x < out.width(); ++x) {
      if (qAlpha(px[x]) < 128) px[x] = 0xFF000000u;
      else px[x] = (px[x] & 0xFFFFFFu) == 0 ? 0xFF010101u : px[x] | 0xFF000000u;
    }
  }
  return std::move(out).convertToFormat(QImage::Format_RGB32);
}

bool HasTransparentPixels(const QImage& picture) {
  if (!picture.hasAlphaChannel()) return false;
  const QImage img = picture.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < img.height(); ++y) {
    const auto* px = reinterpret_cast<const quint32*>(img.constScanLine(y));
    for (int x = 0; x < img.width(); ++x)
      if (qAlpha(px[x]) < 128) return true;
  }
  return false;
}

Integer CelDelayFor(const QVector<int>& delaysMs) {
  if (delaysMs.isEmpty()) return 1;
  qint64 total = 0;
  for (int ms : delaysMs) total += ms < 20 ? 100 : ms;
  const qint64 frames = std::llround(double(total) / double(delaysMs.size()) / 30.0);
  return Integer(std::clamp<qint64>(frames, 1, 99));
}

namespace {

// The frames come from a reader (of a file or of bytes); path names them.
template <typename Reader>
Outcome readPanePicture(const Reader& readFrames, const QString& path, PanePicture& out) {
  QVector<QImage> frames;
  QVector<int> delays;
  bool transparent = false;
  const FramesResult read = readFrames([&](const QImage& frame, int delayMs) {
    transparent = transparent || HasTransparentPixels(frame);
    // The first frame is kept whole: a still picture is stretched to the
    // Pane's size from it.
    frames.append(frames.isEmpty() ? frame : keptFrame(frame));
    delays.append(delayMs);
  });
  if (!read.error.isEmpty()) return Outcome::failed(path, read.error);
  out = PanePicture{};
  out.transparent = transparent;
  Outcome outcome = Outcome::done();
  if (frames.size() == 1) {
    out.picture = sheetPicture(frames.front(), transparent);
    return outcome;
  }
  const CelGrid grid = ChooseCelGrid(int(frames.size()), frames.front().size());
  out.cels = grid;
  out.celDelay = CelDelayFor(delays);
  out.picture = QImage(grid.cel.width() * grid.across, grid.cel.height() * grid.down, QImage::Format_RGB32);
  out.picture.fill(0xFF000000u);
  for (int k = 0; k < grid.across * grid.down; ++k) {
    // Cels beyond the last frame repeat it.
    const QImage cel = sheetPicture(frames[std::min<qsizetype>(k, frames.size() - 1)], transparent);
    PaintPicture(out.picture, cel, k % grid.across * grid.cel.width(), k / grid.across * grid.cel.height(),
                 grid.cel.width(), grid.cel.height());
  }
  if (read.frames > frames.size())
    outcome.warn(path, QStringLiteral("The animation has %1 frames; a Pane holds %2 Cels, so the last %3 were left out.")
                           .arg(read.frames)
                           .arg(MaxCels)
                           .arg(read.frames - frames.size()));
  return outcome;
}

}  // namespace

Outcome ReadPanePicture(const QString& path, PanePicture& out) {
  return readPanePicture([&](const FrameTaker& take) { return ReadPictureFrames(path, MaxCels, take); }, path, out);
}

Outcome ReadPanePictureData(const QByteArray& data, const QString& name, PanePicture& out) {
  return readPanePicture([&](const FrameTaker& take) { return ReadPictureFramesData(data, MaxCels, take); }, name, out);
}

void TakePanePicture(Workspace& ws, int slot, const PanePicture& pic) {
  PaneRecord& p = ws.Pane(slot);
  if (pic.transparent) p.BlackTransparent = QvTrue;
  if (pic.cels) {
    const CelGrid& g = *pic.cels;
    p.CelsAcross = Integer(g.across);
    p.CelsDown = Integer(g.down);
    p.CelCount = Integer(g.across * g.down);
    p.Width = Integer(g.cel.width() * g.across);
    p.Height = Integer(g.cel.height() * g.down);
    p.CelWidth = CelSize(p.Width, p.CelsAcross);
    p.CelHeight = CelSize(p.Height, p.CelsDown);
    p.CelDelay = pic.celDelay;
    // The Target's box follows the Pane's new size.
    if (slot == ws.pointer.TargetPane) PlaceTargetBox(ws, slot);
  }
  CommitPanePicture(ws, slot, pic.picture);
}

}  // namespace qv
