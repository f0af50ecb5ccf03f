// One RunMode frame (RunLoopPass: base restore, then RunFrame) on each
// frame scene with a Background, every Pane moving every frame, colliding
// and Transparent: in layers and the plain way, to be held against the SDL2
// peer frame and against each other. Each run is started once and its loop
// continues across every timed frame, so Panes bounce, collide and flip as
// in a real run. A Pane whose Direction changed in a frame turned (and,
// flipping on bounds, mirrored) at least once; the turns per frame are
// counted, and the memory the layers keep.
#include "BenchSupport.h"

#include "runmode/RunLoop.h"

#include <benchmark/benchmark.h>

#include <array>

namespace qvbench {
namespace {

qv::HeadlessSession& run(Scene scene, bool layered) {
  qv::HeadlessSession& s = sceneSession(scene, layered, "run");
  if (!s.ws.run.LoopActive) {
    setRunMotion(s, setupOf(scene).panes);
    // The pointer stays off the Board: no hover effects.
    s.ws.pointer.MouseX = -10000;
    s.ws.pointer.MouseY = -10000;
    qv::mnu_RunInWindow_Click(s.ws);
  }
  return s;
}

void BM_RunFrame(benchmark::State& state, Scene scene, bool layered) {
  qv::Workspace& ws = run(scene, layered).ws;
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
  if (layered) state.counters["layers_KiB"] = double(ws.surfaces.picStage.Layers.Bytes()) / 1024;
}

// BM_RunFrame/<scene> in layers, BM_RunFrame/plain/<scene> the plain way.
const bool registered = [] {
  for (Scene scene : Scenes)
    for (bool layered : {true, false})
      benchmark::RegisterBenchmark(
          (std::string("BM_RunFrame/") + (layered ? "" : "plain/") + setupOf(scene).name).c_str(), BM_RunFrame, scene,
          layered)
          ->Unit(benchmark::kMicrosecond);
  return true;
}();

}  // namespace
}  // namespace qvbench
