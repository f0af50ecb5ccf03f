// The memory the undo history holds after 100 picture loads into 200 x 200
// Panes (target: under 40 MB), reported as the counter history_MB, and the
// time one such load takes with its undo step.
#include "imaging/Pictures.h"
#include "session/Commands.h"
#include "session/Headless.h"
#include "shell/Setups.h"

#include <benchmark/benchmark.h>

#include <QRandomGenerator>

namespace qvbench {
namespace {

void BM_HistoryOf100PictureLoads(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    qv::HeadlessSession s;
    qv::IntroBlankNewProject(s.ws);
    for (int n = 0; n < 10; ++n) qv::RunCommand(s.ws, qv::Command::AddCustomPane);
    QImage picture(200, 200, QImage::Format_RGB32);
    QRandomGenerator rng(7);
    state.ResumeTiming();
    for (int i = 0; i < 100; ++i) {
      const int slot = 1 + i % 10;
      qv::PaneRecord& p = s.ws.Pane(slot);
      p.Width = p.Height = 200;
      p.BlackTransparent = qv::toFlag(i % 2 == 0);
      picture.fill(rng.generate() | 0xff000000u);
      s.ws.history.Begin(s.ws);
      qv::CommitPanePicture(s.ws, slot, picture);
      s.ws.history.Commit(s.ws, QStringLiteral("Load a Picture (Pane)"));
    }
    state.counters["history_MB"] = double(s.ws.history.Bytes()) / (1024 * 1024);
    state.counters["steps"] = s.ws.history.UndoCount();
  }
}
BENCHMARK(BM_HistoryOf100PictureLoads)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace qvbench
