// The frame scenes, our plain frame, the SDL2 peer frame and the engine's scene.
#include "BenchSupport.h"

#include "editing/Panes.h"
#include "imaging/Sheets.h"
#include "shell/BoardSizes.h"
#include "shell/Setups.h"
#include "surface/RasterOps.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <tuple>

namespace qvbench {

const SceneSetup& setupOf(Scene scene) {
  static const SceneSetup setups[] = {
      {"1024x764", 3, QSize(1000, 700), 50, 200},
      {"320x240", 0, QSize(1000, 700), 4, 100},
      {"max_1920x1080", 4, QSize(1920, 1080), 50, 200},
  };
  return setups[int(scene)];
}

namespace {

// A session with the scene's window and Board size laid out.
void layOut(qv::HeadlessSession& s, Scene scene) {
  s.windows.SetMainInnerSize(setupOf(scene).window);
  qv::Combo_Board_Click(s.ws, setupOf(scene).boardEntry);
  qv::LayoutMainWindow(s.ws);
}

}  // namespace

QSize boardSizeOf(Scene scene) {
  static std::map<Scene, QSize> sizes;
  auto it = sizes.find(scene);
  if (it == sizes.end()) {
    qv::HeadlessSession s;
    layOut(s, scene);
    it = sizes.emplace(scene, QSize(s.ws.surfaces.picStage.Width(), s.ws.surfaces.picStage.Height())).first;
  }
  return it->second;
}

const std::vector<PanePlace>& panePlaces(Scene scene) {
  static std::map<Scene, std::vector<PanePlace>> all;
  auto it = all.find(scene);
  if (it != all.end()) return it->second;
  std::vector<PanePlace> v;
  const SceneSetup& setup = setupOf(scene);
  const QSize board = boardSizeOf(scene);
  // A grid over the Board with a little jitter: the first column hangs off
  // the left edge, the last off the right, the first row off the top and the
  // last off the bottom; the rest overlap inside the Board. The 1024 x 764
  // scene keeps its own spacing.
  const int cols = std::max(1, int(std::lround(std::sqrt(double(setup.panes) * board.width() / board.height()))));
  const int rows = (setup.panes + cols - 1) / cols;
  const int size = setup.paneSize;
  for (int i = 0; i < setup.panes; ++i) {
    const int col = i % cols, row = i / cols;
    int x = -size / 4 + col * (board.width() - size / 2) / std::max(cols - 1, 1) + (i * 37) % 23;
    int y = -size / 4 + row * (board.height() - size / 2) / std::max(rows - 1, 1) + (i * 53) % 19;
    if (scene == Scene::Board1024) {
      x = -100 + col * 112 + (i * 37) % 23;
      y = -90 + row * 190 + (i * 53) % 19;
    }
    v.push_back({x, y, (i % 5) * CellSize, (i / 5) * CellSize});
  }
  return all.emplace(scene, std::move(v)).first->second;
}

namespace {

QImage makeSpriteSheet(int paneSize) {
  QImage img(SheetW, SheetH, QImage::Format_RGB32);
  // Each cell holds a disc of radius 0.47 of the Pane's size (about 69% of
  // its square) in a colour pattern; outside the disc the sprite is true black.
  const int r = 47 * paneSize / 100, r2 = r * r, c = paneSize / 2;
  for (int y = 0; y < SheetH; ++y) {
    auto* line = reinterpret_cast<quint32*>(img.scanLine(y));
    const int dy = y % CellSize - c;
    for (int x = 0; x < SheetW; ++x) {
      const int dx = x % CellSize - c;
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

QImage makeBackground(QSize size) {
  QImage img(size, QImage::Format_RGB32);
  for (int y = 0; y < size.height(); ++y) {
    auto* line = reinterpret_cast<quint32*>(img.scanLine(y));
    for (int x = 0; x < size.width(); ++x)
      line[x] = 0xff000000u | quint32((x / 4) & 0xff) << 16 | quint32((y / 3) & 0xff) << 8 |
                quint32((x ^ y) & 0xff);
  }
  return img;
}

}  // namespace

FrameScene::FrameScene(Scene scene)
    : board(boardSizeOf(scene), QImage::Format_RGB32),
      background(makeBackground(boardSizeOf(scene))),
      sprites(makeSpriteSheet(setupOf(scene).paneSize)),
      masks(makeMaskSheet(sprites)) {
  board.fill(0xff808080u);
}

void buildPaneScene(qv::HeadlessSession& s, Scene scene) {
  qv::Workspace& ws = s.ws;
  const FrameScene frame(scene);
  const SceneSetup& setup = setupOf(scene);
  layOut(s, scene);
  ws.project.picBackground.SetSize(frame.background.width(), frame.background.height());
  ws.project.picBackground.SetPicture(frame.background);
  ws.project.BoardSettings.UseBackPicture = qv::QvTrue;
  ws.project.BoardSettings.BackPictureName = QStringLiteral("Back.bmp");
  for (int i = 0; i < setup.panes; ++i) qv::AddPane(ws);
  const std::vector<PanePlace>& places = panePlaces(scene);
  for (int i = 0; i < setup.panes; ++i) {
    const PanePlace& place = places[size_t(i)];
    const int slot = setup.panes - i;
    qv::PaneRecord& p = ws.Pane(slot);
    p.Left = qv::Integer(place.x);
    p.Top = qv::Integer(place.y);
    p.Width = p.Height = qv::Integer(setup.paneSize);
    p.BlackTransparent = qv::QvTrue;
    qv::BitBlt(ws.project.picSprites.Image(), p.SheetX, p.SheetY, setup.paneSize, setup.paneSize, frame.sprites,
               place.sx, place.sy, qv::RasterOp::SRCCOPY);
    ws.project.picSprites.TakeImageAsPicture();
    qv::BuildPaneMask(ws, slot);
  }
  if (qv::CountPanesInUse(ws) != setup.panes || ws.surfaces.picStage.Image().size() != frame.board.size()) {
    std::fprintf(stderr, "buildPaneScene %s: %d Panes in use, not %d\n", setup.name, qv::CountPanesInUse(ws),
                 setup.panes);
    std::abort();
  }
}

qv::HeadlessSession& sceneSession(Scene scene, bool layered, const char* use) {
  static std::map<std::tuple<Scene, bool, std::string>, std::unique_ptr<qv::HeadlessSession>> sessions;
  std::unique_ptr<qv::HeadlessSession>& s = sessions[{scene, layered, use}];
  if (!s) {
    s = std::make_unique<qv::HeadlessSession>();
    buildPaneScene(*s, scene);
    s->ws.surfaces.picStage.Layers.On = layered;
  }
  return *s;
}

void setRunMotion(qv::HeadlessSession& s, int panes) {
  for (int n = 1; n <= panes; ++n) {
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
  qv::BitBlt(s.board, 0, 0, s.board.width(), s.board.height(), s.background, 0, 0, qv::RasterOp::SRCCOPY);
}

void oursFrameFused(FrameScene& s) {
  oursRestore(s);
  for (const PanePlace& p : panePlaces())
    qv::BlitTransparent(s.board, p.x, p.y, CellSize, CellSize, s.masks, s.sprites, p.sx, p.sy);
}

void oursFrameTwoStep(FrameScene& s) {
  oursRestore(s);
  for (const PanePlace& p : panePlaces()) {
    qv::BitBlt(s.board, p.x, p.y, CellSize, CellSize, s.masks, p.sx, p.sy, qv::RasterOp::SRCAND);
    qv::BitBlt(s.board, p.x, p.y, CellSize, CellSize, s.sprites, p.sx, p.sy, qv::RasterOp::SRCPAINT);
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
  Scene scene;
  SurfacePtr board, background, sheet, sheetRle;
  std::vector<SurfacePtr> cels;  // one per Pane place, RLE on
  explicit SdlPeer(Scene scene) : scene(scene) {
    SDL_Init(0);
    const FrameScene frame(scene);
    const int size = setupOf(scene).paneSize;
    board = toSdl(frame.board);
    background = toSdl(frame.background);
    sheet = toSdl(frame.sprites);
    sheetRle = toSdl(frame.sprites);
    for (const PanePlace& p : panePlaces(scene)) cels.push_back(toSdl(frame.sprites.copy(p.sx, p.sy, size, size)));
    const Uint32 black = SDL_MapRGB(sheet->format, 0, 0, 0);
    for (SDL_Surface* s : {board.get(), background.get(), sheet.get(), sheetRle.get()})
      SDL_SetSurfaceBlendMode(s, SDL_BLENDMODE_NONE);
    SDL_SetColorKey(sheet.get(), SDL_TRUE, black);
    SDL_SetColorKey(sheetRle.get(), SDL_TRUE, black);
    SDL_SetSurfaceRLE(sheetRle.get(), 1);
    for (SurfacePtr& c : cels) {
      SDL_SetSurfaceBlendMode(c.get(), SDL_BLENDMODE_NONE);
      SDL_SetColorKey(c.get(), SDL_TRUE | SDL_RLEACCEL, black);
    }
  }
};

SdlPeer& peer(Scene scene) {
  static std::map<Scene, std::unique_ptr<SdlPeer>> peers;
  std::unique_ptr<SdlPeer>& p = peers[scene];
  if (!p) p = std::make_unique<SdlPeer>(scene);
  return *p;
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

void sdlPeerReady(Scene scene) { peer(scene); }

void sdlPeerRestore() {
  SdlPeer& p = peer(Scene::Board1024);
  SDL_BlitSurface(p.background.get(), nullptr, p.board.get(), nullptr);
}

void sdlPeerFrame(PeerMode mode, Scene scene) {
  SdlPeer& p = peer(scene);
  SDL_BlitSurface(p.background.get(), nullptr, p.board.get(), nullptr);
  const std::vector<PanePlace>& places = panePlaces(scene);
  const int size = setupOf(scene).paneSize;
  for (size_t i = 0; i < places.size(); ++i) {
    const PanePlace& pl = places[i];
    SDL_Rect to{pl.x, pl.y, size, size};  // SDL_BlitSurface clips it in place
    if (mode == PeerMode::ColorKeyRleCels) {
      SDL_BlitSurface(p.cels[i].get(), nullptr, p.board.get(), &to);
    } else {
      SDL_Rect from{pl.sx, pl.sy, size, size};
      SDL_BlitSurface(mode == PeerMode::ColorKey ? p.sheet.get() : p.sheetRle.get(), &from, p.board.get(), &to);
    }
  }
}

size_t sdlPeerCelBytes(Scene scene) {
  size_t n = 0;
  for (const SurfacePtr& c : peer(scene).cels) n += size_t(c->pitch) * size_t(c->h);
  return n;
}

std::string sdlPeerDifferences(const QImage& board, Scene scene) {
  std::string differ;
  for (PeerMode mode : {PeerMode::ColorKey, PeerMode::ColorKeyRle, PeerMode::ColorKeyRleCels}) {
    sdlPeerFrame(mode, scene);
    const SDL_Surface* s = peer(scene).board.get();
    long n = 0;
    if (board.width() != s->w || board.height() != s->h) n = -1;
    for (int y = 0; n >= 0 && y < s->h; ++y) {
      const auto* a = reinterpret_cast<const quint32*>(board.constScanLine(y));
      const auto* b = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(s->pixels) + y * s->pitch);
      for (int x = 0; x < s->w; ++x) n += ((a[x] ^ b[x]) & 0x00ffffffu) != 0;
    }
    if (n) differ += std::string(" ") + peerModeName(mode) + ": " + (n < 0 ? "size" : std::to_string(n) + " pixels") + ";";
  }
  return differ;
}

}  // namespace qvbench
