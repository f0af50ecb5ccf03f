// Drawing the Board in Design: RedrawBoard over the frame scene set up
// through the engine (Background, 50 Transparent 200 x 200 Panes on a
// 1024 x 764 Board) beside the SDL2 peer frame, and building one Pane's mask.
#include "BenchSupport.h"

#include "imaging/BoardRender.h"
#include "imaging/Sheets.h"

#include <benchmark/benchmark.h>

namespace qvbench {
namespace {

// The Pane whose mask is rebuilt: one in the middle of the table.
constexpr int MaskSlot = 25;

BenchWorkspace& board() {
  static BenchWorkspace b;
  static const bool built = [] {
    buildPaneScene(b.ws, FrameScene());
    return true;
  }();
  (void)built;
  return b;
}

void redraw() { qv::RedrawBoard(board().ws); }

void buildMask() {
  qv::Workspace& ws = board().ws;
  ws.pointer.CurrentPane = MaskSlot;
  qv::BuildPaneMask(ws, MaskSlot);
}

void BM_RedrawBoard(benchmark::State& state) {
  for (auto _ : state) {
    redraw();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_RedrawBoard)->Unit(benchmark::kMicrosecond);

void BM_BuildPaneMask(benchmark::State& state) {
  for (auto _ : state) {
    buildMask();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_BuildPaneMask)->Unit(benchmark::kMicrosecond);

const int redrawRace = registerRace({
    .title = "RedrawBoard",
    .contenders =
        {
            {"RedrawBoard", redraw, false},
            {peerModeName(PeerMode::ColorKey), [] { sdlPeerFrame(PeerMode::ColorKey); }, true},
            {peerModeName(PeerMode::ColorKeyRle), [] { sdlPeerFrame(PeerMode::ColorKeyRle); },
             true},
            {peerModeName(PeerMode::ColorKeyRleCels),
             [] { sdlPeerFrame(PeerMode::ColorKeyRleCels); }, true},
        },
    // The Board the engine draws must be the peer's picture.
    .check =
        [] {
          redraw();
          std::string differ;
          for (PeerMode m :
               {PeerMode::ColorKey, PeerMode::ColorKeyRle, PeerMode::ColorKeyRleCels}) {
            sdlPeerFrame(m);
            if (const long n = sdlPeerDifferences(board().ws.surfaces.picStage.Image()))
              differ += std::string(" ") + peerModeName(m) + ": " + std::to_string(n) +
                        " pixels;";
          }
          return differ.empty() ? std::string("Board identical to SDL2's")
                                : "Board DIFFERS from SDL2's:" + differ;
        },
    .maxRatio = 0.8,
    .targetPeer = peerModeName(PeerMode::ColorKey),
});

const int maskRace = registerRace({
    .title = "BuildPaneMask 200x200",
    .contenders = {{"BuildPaneMask", buildMask, false}},
    .maxMeanMicros = 200,
});

}  // namespace
}  // namespace qvbench
