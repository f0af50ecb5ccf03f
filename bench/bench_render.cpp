// Drawing the Board in Design: RedrawBoard over each frame scene set up
// through the engine (Background, Transparent Panes), in layers and the
// plain way, to be held against the SDL2 peer frame and against each other,
// and building one Pane's mask.
#include "BenchSupport.h"

#include "imaging/BoardRender.h"
#include "imaging/Sheets.h"

#include <benchmark/benchmark.h>

namespace qvbench {
namespace {

// The Pane whose mask is rebuilt: one in the middle of the table.
constexpr int MaskSlot = 25;

qv::HeadlessSession& board(Scene scene, bool layered) { return sceneSession(scene, layered, "redraw"); }

void BM_RedrawBoard(benchmark::State& state, Scene scene, bool layered) {
  qv::Workspace& ws = board(scene, layered).ws;
  // The Board the engine draws must be the peer's picture.
  qv::RedrawBoard(ws);
  const std::string differ = sdlPeerDifferences(ws.surfaces.picStage.Image(), scene);
  if (!differ.empty()) return state.SkipWithError(("Board differs from SDL2's:" + differ).c_str());
  for (auto _ : state) {
    qv::RedrawBoard(ws);
    benchmark::ClobberMemory();
  }
}

// BM_RedrawBoard/<scene> in layers, BM_RedrawBoard/plain/<scene> the plain way.
const bool registered = [] {
  for (Scene scene : Scenes)
    for (bool layered : {true, false})
      benchmark::RegisterBenchmark(
          (std::string("BM_RedrawBoard/") + (layered ? "" : "plain/") + setupOf(scene).name).c_str(), BM_RedrawBoard,
          scene, layered)
          ->Unit(benchmark::kMicrosecond);
  return true;
}();

void BM_BuildPaneMask(benchmark::State& state) {
  qv::Workspace& ws = board(Scene::Board1024, true).ws;
  for (auto _ : state) {
    qv::BuildPaneMask(ws, MaskSlot);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_BuildPaneMask)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace qvbench
