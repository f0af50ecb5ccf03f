// One RunMode frame (RunLoopPass: base restore, then RunFrame) with 50
// moving, colliding, Transparent 200 x 200 Panes on the 1024 x 764 Board
// with a Background, to be held against the SDL2 peer frame. The run is
// started once and its loop continues across every timed frame, so Panes
// bounce, collide and flip as in a real run. A Pane whose Direction changed
// in a frame turned (and, flipping on bounds, mirrored) at least once; the
// turns per frame are counted.
#include "BenchSupport.h"

#include "imaging/Sheets.h"
#include "runmode/RunLoop.h"

#include <benchmark/benchmark.h>

#include <array>

namespace qvbench {
namespace {

// Gives slot n its motion: movement types 1..5 in turn, starting in the
// direction of the type, speeds 1..3, Rebound on every Pane; every third
// Pane flips on bounds and every fourth is a 2 x 2 Cel grid that advances
// every frame.
void setMotion(qv::PaneRecord& p, int n) {
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

qv::HeadlessSession& run() {
  static qv::HeadlessSession s;
  static const bool started = [] {
    buildPaneScene(s);
    for (int n = 1; n <= qv::MaxPanes; ++n) setMotion(s.ws.Pane(n), n);
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
