// The frame scene, our frame, the SDL2 peer frame and the engine's scene.
#include "BenchSupport.h"

#include "editing/Panes.h"
#include "imaging/Sheets.h"
#include "shell/BoardSizes.h"
#include "shell/Setups.h"
#include "surface/RasterOps.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace qvbench {

const std::vector<PanePlace>& panePlaces() {
  static const std::vector<PanePlace> places = [] {
    std::vector<PanePlace> v;
    // 10 columns x 5 rows with a little jitter: the first column hangs off
    // the left edge, the last off the right, the first row off the top and
    // the last off the bottom; the rest overlap inside the Board.
    for (int i = 0; i < PaneCount; ++i) {
      const int col = i % 10, row = i / 10;
      const int x = -100 + col * 112 + (i * 37) % 23;
      const int y = -90 + row * 190 + (i * 53) % 19;
      v.push_back({x, y, (i % 5) * CelSize, (i / 5) * CelSize});
    }
    return v;
  }();
  return places;
}

namespace {

QImage makeSpriteSheet() {
  QImage img(SheetW, SheetH, QImage::Format_RGB32);
  // Each cell holds a disc of radius 94 (about 69% of the cell) in a colour
  // pattern; outside the disc the sprite is true black.
  const int r2 = 94 * 94;
  for (int y = 0; y < SheetH; ++y) {
    auto* line = reinterpret_cast<quint32*>(img.scanLine(y));
    const int dy = y % CelSize - CelSize / 2;
    for (int x = 0; x < SheetW; ++x) {
      const int dx = x % CelSize - CelSize / 2;
      if (dx * dx + dy * dy > r2) {
        line[x] = 0xff000000u;
        continue;
      }
      const quint32 h = quint32(x) * 2654435761u ^ quint32(y) * 40503u;
      const quint32 r = 64 + (x * 3 + (h >> 28)) % 192, g = 64 + (y * 5) % 192,
                    b = 32 + (h >> 8) % 224;
      line[x] = 0xff000000u | (r << 16) | (g << 8) | b;
    }
  }
  return img;
}

QImage makeMaskSheet(const QImage& sprites) {
  QImage img(sprites.size(), QImage::Format_RGB32);
  for (int y = 0; y < img.height(); ++y) {
    const auto* s = reinterpret_cast<const quint32*>(sprites.constScanLine(y));
    auto* m = reinterpret_cast<quint32*>(img.scanLine(y));
    for (int x = 0; x < img.width(); ++x)
      m[x] = (s[x] & 0x00ffffffu) == 0 ? 0xffffffffu : 0xff000000u;
  }
  return img;
}

QImage makeBackground() {
  QImage img(BoardW, BoardH, QImage::Format_RGB32);
  for (int y = 0; y < BoardH; ++y) {
    auto* line = reinterpret_cast<quint32*>(img.scanLine(y));
    for (int x = 0; x < BoardW; ++x)
      line[x] = 0xff000000u | quint32((x / 4) & 0xff) << 16 | quint32((y / 3) & 0xff) << 8 |
                quint32((x ^ y) & 0xff);
  }
  return img;
}

}  // namespace

FrameScene::FrameScene()
    : board(BoardW, BoardH, QImage::Format_RGB32),
      background(makeBackground()),
      sprites(makeSpriteSheet()),
      masks(makeMaskSheet(sprites)) {
  board.fill(0xff808080u);
}

void buildPaneScene(qv::HeadlessSession& s) {
  qv::Workspace& ws = s.ws;
  const FrameScene scene;
  qv::Combo_Board_Click(ws, 3);  // "1024 x 764"
  qv::LayoutMainWindow(ws);
  ws.surfaces.picBackground.SetSize(BoardW, BoardH);
  ws.surfaces.picBackground.SetPicture(scene.background);
  ws.BoardSettings.UseBackPicture = qv::QvTrue;
  ws.BoardSettings.BackPictureName = QStringLiteral("Back.bmp");
  for (int i = 0; i < PaneCount; ++i) qv::AddPane(ws);
  const std::vector<PanePlace>& places = panePlaces();
  for (int i = 0; i < PaneCount; ++i) {
    const PanePlace& place = places[size_t(i)];
    const int slot = PaneCount - i;
    qv::PaneRecord& p = ws.Pane(slot);
    p.Left = qv::Integer(place.x);
    p.Top = qv::Integer(place.y);
    p.Width = p.Height = qv::Integer(CelSize);
    p.BlackTransparent = qv::QvTrue;
    qv::BitBlt(ws.surfaces.picSprites.Image(), p.SheetX, p.SheetY, CelSize, CelSize, scene.sprites,
               place.sx, place.sy, qv::RasterOp::SRCCOPY);
    ws.surfaces.picSprites.TakeImageAsPicture();
    qv::BuildPaneMask(ws, slot);
  }
  if (qv::CountPanesInUse(ws) != PaneCount) {
    std::fprintf(stderr, "buildPaneScene: %d Panes in use, not %d\n", qv::CountPanesInUse(ws),
                 PaneCount);
    std::abort();
  }
}

void setRunMotion(qv::HeadlessSession& s) {
  for (int n = 1; n <= qv::MaxPanes; ++n) {
    qv::PaneRecord& p = s.ws.Pane(n);
    p.MoveType = qv::Integer(1 + n % 5);
    p.Direction = p.MoveType;
    p.FlipCode = 1;
    p.Speed = qv::Integer(1 + n % 3);
    p.Collision = 1;
    p.FlipOnBounds = qv::toFlag(n % 3 == 0);
    if (n % 4 == 1) {
      p.CelsAcross = p.CelsDown = 2;
      p.CelCount = 4;
      p.CelWidth = qv::CelSize(p.Width, 2);
      p.CelHeight = qv::CelSize(p.Height, 2);
      p.CelDelay = 0;
    }
  }
}

void oursRestore(FrameScene& s) {
  qv::BitBlt(s.board, 0, 0, BoardW, BoardH, s.background, 0, 0, qv::RasterOp::SRCCOPY);
}

void oursFrameFused(FrameScene& s) {
  oursRestore(s);
  for (const PanePlace& p : panePlaces())
    qv::BlitTransparent(s.board, p.x, p.y, CelSize, CelSize, s.masks, s.sprites, p.sx, p.sy);
}

void oursFrameTwoStep(FrameScene& s) {
  oursRestore(s);
  for (const PanePlace& p : panePlaces()) {
    qv::BitBlt(s.board, p.x, p.y, CelSize, CelSize, s.masks, p.sx, p.sy, qv::RasterOp::SRCAND);
    qv::BitBlt(s.board, p.x, p.y, CelSize, CelSize, s.sprites, p.sx, p.sy,
               qv::RasterOp::SRCPAINT);
  }
}

namespace {

struct SurfaceFree {
  void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceFree>;

// An XRGB8888 software surface holding img's RGB bits (the unused byte 0, as
// SDL writes it, so the colour key matches true black).
SurfacePtr toSdl(const QImage& img) {
  SurfacePtr s(SDL_CreateRGBSurfaceWithFormat(0, img.width(), img.height(), 32,
                                              SDL_PIXELFORMAT_RGB888));
  if (!s) {
    std::fprintf(stderr, "SDL_CreateRGBSurfaceWithFormat: %s\n", SDL_GetError());
    std::abort();
  }
  for (int y = 0; y < img.height(); ++y) {
    const auto* from = reinterpret_cast<const quint32*>(img.constScanLine(y));
    auto* to = reinterpret_cast<Uint32*>(static_cast<Uint8*>(s->pixels) + y * s->pitch);
    for (int x = 0; x < img.width(); ++x) to[x] = from[x] & 0x00ffffffu;
  }
  return s;
}

struct SdlPeer {
  SurfacePtr board, background, sheet, sheetRle;
  std::vector<SurfacePtr> cels;  // one per Pane place, RLE on
  SdlPeer() {
    SDL_Init(0);
    const QImage sprites = makeSpriteSheet();
    board = toSdl(QImage(BoardW, BoardH, QImage::Format_RGB32));
    background = toSdl(makeBackground());
    sheet = toSdl(sprites);
    sheetRle = toSdl(sprites);
    for (const PanePlace& p : panePlaces())
      cels.push_back(toSdl(sprites.copy(p.sx, p.sy, CelSize, CelSize)));
    const Uint32 black = SDL_MapRGB(sheet->format, 0, 0, 0);
    for (SDL_Surface* s : {board.get(), background.get()})
      SDL_SetSurfaceBlendMode(s, SDL_BLENDMODE_NONE);
    auto keyed = [black](SDL_Surface* s, bool rle) {
      SDL_SetSurfaceBlendMode(s, SDL_BLENDMODE_NONE);
      SDL_SetColorKey(s, SDL_TRUE, black);
      SDL_SetSurfaceRLE(s, rle ? 1 : 0);
    };
    keyed(sheet.get(), false);
    keyed(sheetRle.get(), true);
    for (SurfacePtr& c : cels) keyed(c.get(), true);
  }
};

SdlPeer& peer() {
  static SdlPeer p;
  return p;
}

const char* peerModeName(PeerMode mode) {
  switch (mode) {
    case PeerMode::ColorKey: return "colour key";
    case PeerMode::ColorKeyRle: return "colour key RLE, sheet";
    case PeerMode::ColorKeyRleCels: return "colour key RLE, cel surfaces";
  }
  return "";
}

}  // namespace

void sdlPeerReady() { peer(); }

void sdlPeerRestore() {
  SdlPeer& p = peer();
  SDL_BlitSurface(p.background.get(), nullptr, p.board.get(), nullptr);
}

void sdlPeerFrame(PeerMode mode) {
  SdlPeer& p = peer();
  SDL_BlitSurface(p.background.get(), nullptr, p.board.get(), nullptr);
  const std::vector<PanePlace>& places = panePlaces();
  for (size_t i = 0; i < places.size(); ++i) {
    const PanePlace& pl = places[i];
    SDL_Rect to{pl.x, pl.y, CelSize, CelSize};  // SDL_BlitSurface clips it in place
    if (mode == PeerMode::ColorKeyRleCels) {
      SDL_BlitSurface(p.cels[i].get(), nullptr, p.board.get(), &to);
    } else {
      SDL_Rect from{pl.sx, pl.sy, CelSize, CelSize};
      SDL_BlitSurface(mode == PeerMode::ColorKey ? p.sheet.get() : p.sheetRle.get(), &from,
                      p.board.get(), &to);
    }
  }
}

std::string sdlPeerDifferences(const QImage& board) {
  std::string differ;
  for (PeerMode mode : {PeerMode::ColorKey, PeerMode::ColorKeyRle, PeerMode::ColorKeyRleCels}) {
    sdlPeerFrame(mode);
    const SDL_Surface* s = peer().board.get();
    long n = 0;
    for (int y = 0; y < std::min(board.height(), s->h); ++y) {
      const auto* a = reinterpret_cast<const quint32*>(board.constScanLine(y));
      const auto* b = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(s->pixels) +
                                                      y * s->pitch);
      for (int x = 0; x < std::min(board.width(), s->w); ++x) n += ((a[x] ^ b[x]) & 0x00ffffffu) != 0;
    }
    if (n) differ += std::string(" ") + peerModeName(mode) + ": " + std::to_string(n) + " pixels;";
  }
  return differ;
}

}  // namespace qvbench
