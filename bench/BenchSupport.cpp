// The frame scene, our frame and the SDL2 peer frame, and the race runner.
#include "BenchSupport.h"

#include "editing/Panes.h"
#include "imaging/Sheets.h"
#include "shell/Workspace.h"
#include "shell/BoardSizes.h"
#include "shell/Setups.h"
#include "surface/RasterOps.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <random>

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

FrameScene::FrameScene()
    : board(BoardW, BoardH, QImage::Format_RGB32),
      background(makeBackground()),
      sprites(makeSpriteSheet()),
      masks(makeMaskSheet(sprites)) {
  board.fill(0xff808080u);
}

void installScene(qv::Workspace& ws, const FrameScene& scene) {
  ws.project.BoardWidth = BoardW;
  ws.project.BoardHeight = BoardH;
  ws.surfaces.picStage.SetSize(BoardW, BoardH);
  ws.surfaces.picBackground.SetSize(BoardW, BoardH);
  ws.surfaces.picBackground.SetPicture(scene.background);
  ws.surfaces.picSprites.SetSize(SheetW, SheetH);
  ws.surfaces.picSprites.SetPicture(scene.sprites);
  ws.surfaces.picMasks.SetSize(SheetW, SheetH);
  ws.surfaces.picMasks.SetPicture(scene.masks);
}

void BenchPlatform::ShowMessage(const QString& title, const QString& text) {
  messages << title + QStringLiteral(": ") + text;
}

std::optional<qv::FileChoice> BenchPlatform::choice() const {
  if (filePath.isEmpty()) return std::nullopt;
  return qv::fileChoiceFromPath(filePath);
}

BenchWorkspace::BenchWorkspace() {
  ws.platform = &platform;
  ws.windows = &windows;
  qv::FillLists(ws);
  qv::LayoutMainWindow(ws);
}

void buildPaneScene(qv::Workspace& ws, const FrameScene& scene) {
  qv::SelectBoardSize(ws, 3);  // "1024 x 764"
  qv::LayoutMainWindow(ws);
  ws.surfaces.picBackground.SetSize(BoardW, BoardH);
  ws.surfaces.picBackground.SetPicture(scene.background);
  ws.BoardSettings.UseBackPicture = qv::QvTrue;
  ws.BoardSettings.BackPictureName = QStringLiteral("Back.bmp");
  for (int i = 0; i < PaneCount; ++i) qv::AddPane(ws);
  const std::vector<PanePlace>& places = panePlaces();
  for (int i = 0; i < PaneCount; ++i) {
    const PanePlace& place = places[size_t(i)];
    const int slot = slotOfPlace(i);
    qv::PaneRecord& p = ws.Pane(slot);
    p.Left = qv::Integer(place.x);
    p.Top = qv::Integer(place.y);
    p.Width = p.Height = qv::Integer(CelSize);
    p.BlackTransparent = qv::QvTrue;
    qv::BitBlt(ws.surfaces.picSprites.Image(), p.SheetX, p.SheetY, CelSize, CelSize, scene.sprites,
               place.sx, place.sy, qv::RasterOp::SRCCOPY);
    ws.surfaces.picSprites.TakeImageAsPicture();
    ws.pointer.CurrentPane = slot;
    qv::BuildPaneMask(ws, slot);
  }
  if (qv::CountPanesInUse(ws) != PaneCount) {
    std::fprintf(stderr, "buildPaneScene: %d Panes in use, not %d\n", qv::CountPanesInUse(ws),
                 PaneCount);
    std::abort();
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

}  // namespace

const char* peerModeName(PeerMode mode) {
  switch (mode) {
    case PeerMode::ColorKey: return "SDL2 colour key";
    case PeerMode::ColorKeyRle: return "SDL2 colour key RLE, sheet";
    case PeerMode::ColorKeyRleCels: return "SDL2 colour key RLE, cel surfaces";
  }
  return "";
}

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

double sdlPeerFrameMicros(PeerMode mode, int frames) {
  using Clock = std::chrono::steady_clock;
  for (int i = 0; i < 20; ++i) sdlPeerFrame(mode);
  const auto start = Clock::now();
  for (int i = 0; i < frames; ++i) sdlPeerFrame(mode);
  const std::chrono::duration<double, std::micro> took = Clock::now() - start;
  return took.count() / std::max(frames, 1);
}

long sdlPeerDifferences(const QImage& board) {
  SDL_Surface* s = peer().board.get();
  long diff = 0;
  for (int y = 0; y < std::min(board.height(), s->h); ++y) {
    const auto* a = reinterpret_cast<const quint32*>(board.constScanLine(y));
    const auto* b = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(s->pixels) +
                                                    y * s->pitch);
    for (int x = 0; x < std::min(board.width(), s->w); ++x)
      diff += ((a[x] ^ b[x]) & 0x00ffffffu) != 0;
  }
  return diff;
}

namespace {

std::vector<Race>& races() {
  static std::vector<Race> all;
  return all;
}

double cpuMicros() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return double(t.tv_sec) * 1e6 + double(t.tv_nsec) / 1e3;
}

double wallMicros() {
  return std::chrono::duration<double, std::micro>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

double median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
  return v[v.size() / 2];
}

}  // namespace

int registerRace(Race race) {
  races().push_back(std::move(race));
  return int(races().size());
}

namespace {

double mean(const std::vector<double>& v) {
  double sum = 0;
  for (const double x : v) sum += x;
  return v.empty() ? 0 : sum / double(v.size());
}

double minimum(const std::vector<double>& v) {
  return v.empty() ? 0 : *std::min_element(v.begin(), v.end());
}

const char* verdict(bool met) { return met ? "met" : "MISSED"; }

// The per-frame times of every contender, in thread CPU and wall-clock time.
struct Times {
  std::vector<std::vector<double>> cpu, wall;
  const std::vector<double>& judged(size_t k, bool wallClock) const {
    return wallClock ? wall[k] : cpu[k];
  }
};

Times timeRounds(Race& race, int frames) {
  const size_t n = race.contenders.size();
  Times t;
  t.cpu.assign(n, std::vector<double>(size_t(frames)));
  t.wall = t.cpu;
  // Each round runs the contenders in a fresh (seeded) order, so none
  // always follows the same one and finds the caches the way it left them.
  std::vector<size_t> order(n);
  for (size_t k = 0; k < n; ++k) order[k] = k;
  std::mt19937 shuffler(20240601u);
  for (int f = 0; f < frames; ++f) {
    std::shuffle(order.begin(), order.end(), shuffler);
    for (const size_t k : order) {
      const double c0 = cpuMicros(), w0 = wallMicros();
      race.contenders[k].frame();
      t.wall[k][size_t(f)] = wallMicros() - w0;
      t.cpu[k][size_t(f)] = cpuMicros() - c0;
    }
  }
  return t;
}

void printPairs(const Race& race, const Times& t) {
  const size_t n = race.contenders.size();
  // The peer the ratio target is held against: the one named, else the first.
  size_t targetPeer = n;
  for (size_t b = 0; b < n; ++b) {
    if (!race.contenders[b].peer) continue;
    if (race.contenders[b].name == race.targetPeer) {
      targetPeer = b;
      break;
    }
    if (targetPeer == n) targetPeer = b;
  }
  if (race.maxRatio <= 0) targetPeer = n;
  const char* secondary = race.wallClock ? "CPU" : "wall";
  for (size_t a = 0; a < n; ++a) {
    if (race.contenders[a].peer) continue;
    const double oursMain = median(t.judged(a, race.wallClock));
    const double oursOther = median(t.judged(a, !race.wallClock));
    for (size_t b = 0; b < n; ++b) {
      if (!race.contenders[b].peer) continue;
      const double peerMain = median(t.judged(b, race.wallClock));
      const double peerOther = median(t.judged(b, !race.wallClock));
      const double ratio = oursMain / peerMain;
      std::string target;
      if (b == targetPeer) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "  target <= %.2f: %s", race.maxRatio,
                      verdict(ratio <= race.maxRatio));
        target = buf;
      }
      std::printf("%s: ours %.1f us, %s %.1f us, ratio %.2f%s   [%s vs %s; %s %.1f / %.1f us]\n",
                  race.title.c_str(), oursMain, race.peerLabel.c_str(), peerMain, ratio,
                  target.c_str(), race.contenders[a].name.c_str(),
                  race.contenders[b].name.c_str(), secondary, oursOther, peerOther);
    }
  }
}

void printMeans(const Race& race, const Times& t) {
  for (size_t a = 0; a < race.contenders.size(); ++a) {
    if (race.contenders[a].peer) continue;
    const std::vector<double>& v = t.judged(a, race.wallClock);
    const std::vector<double>& other = t.judged(a, !race.wallClock);
    const double m = mean(v);
    std::printf("%s: %s mean %.1f us, min %.1f us, median %.1f us  target mean <= %.0f us: %s"
                "   [%s mean %.1f us, min %.1f us]\n",
                race.title.c_str(), race.contenders[a].name.c_str(), m, minimum(v), median(v),
                race.maxMeanMicros, verdict(m <= race.maxMeanMicros),
                race.wallClock ? "CPU" : "wall", mean(other), minimum(other));
  }
}

}  // namespace

void runRaces(int frames, const std::string& only) {
  for (Race& race : races()) {
    if (race.title.find(only) == std::string::npos) continue;
    const int rounds = std::max(race.rounds > 0 ? race.rounds : frames, 1);
    for (int i = 0; i < race.warmup; ++i)
      for (Contender& c : race.contenders) c.frame();
    if (race.check) {
      const std::string note = race.check();
      if (!note.empty()) std::printf("%s: %s\n", race.title.c_str(), note.c_str());
    }
    const Times t = timeRounds(race, rounds);
    printPairs(race, t);
    if (race.maxMeanMicros > 0) printMeans(race, t);
    if (race.report) {
      const std::string note = race.report();
      if (!note.empty()) std::printf("%s: %s\n", race.title.c_str(), note.c_str());
    }
    std::printf("(%s: %s of %d interleaved rounds each, %s time)\n", race.title.c_str(),
                race.maxMeanMicros > 0 ? "means / medians" : "medians", rounds,
                race.wallClock ? "wall-clock" : "thread CPU");
    std::fflush(stdout);
  }
}

}  // namespace qvbench
