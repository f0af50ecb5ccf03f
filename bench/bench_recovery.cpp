// The recovery copy of 50 Panes on the Max Board of a 1920 x 1080 window:
// the pause the window sees (taking the project value and handing it to
// the writer; target under 50 ms), and the writer's whole work beside it.
#include "BenchSupport.h"

#include "session/Recovery.h"

#include <benchmark/benchmark.h>

#include <QTemporaryDir>

namespace qvbench {
namespace {

// A Design step the copy lacks: a Pane moves and its cell is painted.
void change(qv::Workspace& ws, int n) {
  ws.history.Begin(ws);
  qv::PaneRecord& p = ws.Pane(1 + n % qv::MaxPanes);
  p.Left = qv::Integer(n % 300);
  ws.project.picSprites.Image().setPixel(p.SheetX, p.SheetY, 0xff000000u | uint(n));
  ws.history.Commit(ws, QStringLiteral("change"));
}

void BM_RecoveryCopy(benchmark::State& state) {
  const bool pause = state.range(0) == 0;
  qv::HeadlessSession& s = sceneSession(Scene::Max1920, true, "recovery");
  QTemporaryDir dir;
  qv::RecoveryKeeper keeper(dir.filePath("recovery"), 30);
  int n = 0;
  for (auto _ : state) {
    state.PauseTiming();
    keeper.Wait();
    change(s.ws, ++n);
    state.ResumeTiming();
    keeper.WriteNow(s.ws);
    if (!pause) keeper.Wait();
  }
  keeper.Wait();
  state.counters["panes"] = s.ws.project.PaneCount;
  state.counters["board_w"] = s.ws.project.picBackground.Width();
  keeper.Discard();
}
BENCHMARK(BM_RecoveryCopy)->ArgName("write")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

}  // namespace
}  // namespace qvbench
