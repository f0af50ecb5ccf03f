// Drawing the Board in Design: RedrawBoard over the frame scene set up
// through the engine (Background, 50 Transparent 200 x 200 Panes on a
// 1024 x 764 Board), to be held against the SDL2 peer frame, and building
// one Pane's mask.
#include "BenchSupport.h"

#include "imaging/BoardRender.h"
#include "imaging/Sheets.h"

#include <benchmark/benchmark.h>

namespace qvbench {
namespace {

// The Pane whose mask is rebuilt: one in the middle of the table.
constexpr int MaskSlot = 25;

qv::HeadlessSession& board() {
  static qv::HeadlessSession s;
  static const bool built = (buildPaneScene(s), true);
  (void)built;
  return s;
}

void BM_RedrawBoard(benchmark::State& state) {
  qv::Workspace& ws = board().ws;
  // The Board the engine draws must be the peer's picture.
  static const std::string differ = [&ws] {
    qv::RedrawBoard(ws);
    return sdlPeerDifferences(ws.surfaces.picStage.Image());
  }();
  if (!differ.empty()) return state.SkipWithError(("Board differs from SDL2's:" + differ).c_str());
  for (auto _ : state) {
    qv::RedrawBoard(ws);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_RedrawBoard)->Unit(benchmark::kMicrosecond);

void BM_BuildPaneMask(benchmark::State& state) {
  qv::Workspace& ws = board().ws;
  for (auto _ : state) {
    qv::BuildPaneMask(ws, MaskSlot);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_BuildPaneMask)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace qvbench
