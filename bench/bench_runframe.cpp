// One RunMode frame (RunLoopPass: base restore, then RunFrame) with 50
// moving, colliding, Transparent 200 x 200 Panes on the 1024 x 764 Board
// with a Background, to be held against the SDL2 peer frame. The run is
// started once and its loop continues across every timed frame, so Panes
// bounce, collide and flip as in a real run. A Pane whose Direction changed
// in a frame turned (and, flipping on bounds, mirrored) at least once; the
// turns per frame are counted.
#include "BenchSupport.h"

#include "runmode/RunLoop.h"

#include <benchmark/benchmark.h>

#include <array>

namespace qvbench {
namespace {

qv::HeadlessSession& run() {
  static qv::HeadlessSession s;
  static const bool started = [] {
    buildPaneScene(s);
    setRunMotion(s);
    // The pointer stays off the Board: no hover effects.
    s.ws.pointer.MouseX = -10000;
    s.ws.pointer.MouseY = -10000;
    qv::mnu_RunInWindow_Click(s.ws);
    return true;
  }();
  (void)started;
  return s;
}

void BM_RunFrame(benchmark::State& state) {
  qv::Workspace& ws = run().ws;
  double turns = 0;
  for (auto _ : state) {
    std::array<qv::Integer, qv::SlotCount> before{};
    for (int n = 1; n <= qv::MaxPanes; ++n) before[size_t(n)] = ws.RunPane(n).Direction;
    if (!qv::RunLoopPass(ws)) {
      state.SkipWithError("the run loop ended");
      break;
    }
    for (int n = 1; n <= qv::MaxPanes; ++n) turns += before[size_t(n)] != ws.RunPane(n).Direction;
    benchmark::ClobberMemory();
  }
  state.counters["turns"] = benchmark::Counter(turns, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_RunFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace qvbench
