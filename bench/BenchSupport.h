// Shared pieces for the benchmarks: the deterministic frame scene (Board,
// Background, sprite and mask sheets, 50 Pane positions), our frame and the
// SDL2 peer frame over the same scene, and races that time several frame
// functions interleaved and print "ours vs SDL2 peer" ratios after the
// Google Benchmark run.
#pragma once
#include "shell/Workspace.h"
#include "shell/Platform.h"
#include "shell/WindowHost.h"

#include <QImage>

#include <functional>
#include <string>
#include <vector>

namespace qvbench {

constexpr int BoardW = 1024;
constexpr int BoardH = 764;
constexpr int SheetW = 1000;
constexpr int SheetH = 2000;
constexpr int CelSize = 200;
constexpr int PaneCount = 50;

// Where one Pane is drawn and which 200 x 200 cell of the sheets it shows.
struct PanePlace {
  int x, y;    // on the Board; some lie partly off each edge
  int sx, sy;  // on the sheets
};

// The 50 spread-out Pane places, the same every run.
const std::vector<PanePlace>& panePlaces();

// Deterministic RGB32 pictures. In the sprite sheet about 30% of the pixels
// are true black (the area around a disc in each cell) and the mask sheet is
// white exactly there and black elsewhere; no opaque sprite pixel is black.
QImage makeSpriteSheet();
QImage makeMaskSheet(const QImage& sprites);
QImage makeBackground();

// The pictures of one frame, each with its own pixel buffer.
struct FrameScene {
  QImage board, background, sprites, masks;
  FrameScene();
};

// Puts the scene into a Workspace's surfaces: Board size and picture-less
// stage, Background, sprite and mask sheets.
void installScene(qv::Workspace& ws, const FrameScene& scene);

// Our frame: restore the Board from the Background with a SRCCOPY block copy,
// then draw the 50 Panes transparently.
void oursRestore(FrameScene& s);
void oursFrameFused(FrameScene& s);    // qv::BlitTransparent per Pane
void oursFrameTwoStep(FrameScene& s);  // mask SRCAND, then sprite SRCPAINT

// The SDL2 peer over the same scene, in software XRGB8888 surfaces: restore
// with SDL_BlitSurface, then 50 colour-keyed (black) blits. The surfaces are
// made on first use and live until exit.
enum class PeerMode {
  ColorKey,     // colour key, RLE off, blits from the sheet
  ColorKeyRle,  // colour key, RLE on, blits from the sheet
  // Colour key, RLE on, one 200 x 200 surface per cell, as sprites loaded
  // one per surface are drawn (RLE blits must walk the runs above the source
  // rectangle, so blitting from a tall RLE sheet is slow).
  ColorKeyRleCels,
};
const char* peerModeName(PeerMode mode);
void sdlPeerRestore();
void sdlPeerFrame(PeerMode mode = PeerMode::ColorKey);
// Mean microseconds per SDL2 peer frame over `frames` frames (after warm-up).
double sdlPeerFrameMicros(PeerMode mode = PeerMode::ColorKey, int frames = 2000);
// Number of Board pixels whose RGB differs between `board` and the peer's
// Board after its last frame.
long sdlPeerDifferences(const QImage& board);

// A race: frame functions run round-robin, one frame each per round, so load
// from the rest of the machine hits them alike. After the benchmarks, main
// prints one line "<title>: ours X us, SDL2 Y us, ratio Z" for every pair of
// an ours contender and a peer contender: medians of the per-frame thread CPU
// time (robust while other processes share the cores), with the wall-clock
// medians alongside. A target, when set, is printed with its verdict.
struct Contender {
  std::string name;
  std::function<void()> frame;
  bool peer = false;
};
struct Race {
  std::string title;
  std::vector<Contender> contenders;
  // Optional: run once after warm-up; a non-empty result is printed as a note.
  std::function<std::string()> check;
  // The largest ratio ours / peer allowed against the peer named targetPeer
  // (the first peer when none has that name); 0 for no target.
  double maxRatio = 0;
  std::string targetPeer;
  // The largest mean per frame allowed for every ours contender, in
  // microseconds; 0 for no target. Mean and minimum are printed for such a
  // race.
  double maxMeanMicros = 0;
  // Timed rounds (0: the run's --frames) and untimed warm-up rounds.
  int rounds = 0;
  int warmup = 20;
  // Figures and verdicts in wall-clock time: for work that waits for the
  // disk, which thread CPU time does not see.
  bool wallClock = false;
  // What the peer contenders are called in the printed lines.
  std::string peerLabel = "SDL2";
  // Optional: run after the timed rounds; a non-empty result is printed.
  std::function<std::string()> report;
};
// Registers a race at static-initialisation time; returns a dummy for that.
int registerRace(Race race);
// Runs every registered race whose title contains `only` (all when it is
// empty) with `frames` rounds each, unless the race sets its own, and prints
// the lines.
void runRaces(int frames, const std::string& only = {});

// A platform for driving engine commands in benchmarks: both file dialogs
// choose filePath (cancel when it is empty), waiting and event processing
// cost nothing, and every other service does nothing.
class BenchPlatform : public qv::Platform {
 public:
  QString filePath;

  bool AskYesNo(const QString&, const QString&) override { return false; }
  void ShowMessage(const QString& title, const QString& text) override;
  std::optional<qv::FileChoice> OpenFileDialog(const QString&, const QString&,
                                               const QString&) override {
    return choice();
  }
  std::optional<qv::FileChoice> SaveFileDialog(const QString&, const QString&,
                                               const QString&) override {
    return choice();
  }
  std::optional<qv::Long> ChooseColor(qv::Long) override { return std::nullopt; }
  void PlaySound(const QByteArray&) override {}
  void StopSound() override {}
  void OpenUrl(const QString&) override {}
  QStringList ScreenFonts() override { return {QStringLiteral("MS Sans Serif")}; }
  void Wait(int) override {}
  void ProcessEvents() override {}
  QString ProgramFolder() override { return {}; }

  // Messages shown so far (a failed save or load tells the user).
  QStringList messages;

 private:
  std::optional<qv::FileChoice> choice() const;
};

// A workspace laid out as at start-up (lists filled, main window laid out)
// with its bench platform and a headless window host.
struct BenchWorkspace {
  BenchWorkspace();
  BenchWorkspace(const BenchWorkspace&) = delete;
  BenchWorkspace& operator=(const BenchWorkspace&) = delete;
  BenchPlatform platform;
  qv::HeadlessWindowHost windows;
  qv::Workspace ws;
};

// Sets the frame scene up in a workspace through the engine: the 1024 x 764
// Board from the size list, the Background in use, and 50 Transparent
// 200 x 200 Panes added with AddPane at panePlaces(). Place i goes to slot
// 50 - i, so the Board is drawn in the frame's order (slot 50 first); each
// slot's sheet cell holds the sprite pixels of its place's cell and its mask
// is built by BuildPaneMask. RedrawBoard then draws the frame's picture.
void buildPaneScene(qv::Workspace& ws, const FrameScene& scene);

// The slot that shows place i.
inline int slotOfPlace(int i) { return PaneCount - i; }

}  // namespace qvbench
