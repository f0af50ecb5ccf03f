// One frame of pixel work: restore the Board from the Background, then draw
// the Panes transparently from the sheets; our plain frame beside the SDL2
// peer (colour-keyed blits, with and without RLE) over the same scene, and
// the peer alone on every scene.
#include "BenchSupport.h"

#include <benchmark/benchmark.h>

namespace qvbench {
namespace {

FrameScene& scene() {
  static FrameScene s;
  return s;
}

// Both sides must draw the same picture, or the comparison means nothing:
// each way of ours against every peer mode, checked once.
const std::string& frameCheck() {
  static const std::string differ = [] {
    std::string d;
    oursFrameFused(scene());
    if (const std::string n = sdlPeerDifferences(scene().board); !n.empty()) d += " fused:" + n;
    oursFrameTwoStep(scene());
    if (const std::string n = sdlPeerDifferences(scene().board); !n.empty()) d += " two-step:" + n;
    return d;
  }();
  return differ;
}

template <class Frame>
void timeFrame(benchmark::State& state, Frame frame) {
  if (!frameCheck().empty())
    return state.SkipWithError(("Boards differ from SDL2's:" + frameCheck()).c_str());
  for (auto _ : state) {
    frame();
    benchmark::ClobberMemory();
  }
}

void BM_RestoreOurs(benchmark::State& state) {
  timeFrame(state, [] { oursRestore(scene()); });
}
BENCHMARK(BM_RestoreOurs)->Unit(benchmark::kMicrosecond);

void BM_RestoreSdl2(benchmark::State& state) { timeFrame(state, sdlPeerRestore); }
BENCHMARK(BM_RestoreSdl2)->Unit(benchmark::kMicrosecond);

void BM_FrameOurs(benchmark::State& state, void (*frame)(FrameScene&)) {
  timeFrame(state, [frame] { frame(scene()); });
}
BENCHMARK_CAPTURE(BM_FrameOurs, fused, oursFrameFused)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_FrameOurs, two_step, oursFrameTwoStep)->Unit(benchmark::kMicrosecond);

void BM_FrameSdl2(benchmark::State& state, PeerMode mode, Scene scene) {
  if (scene != Scene::Board1024) sdlPeerReady(scene);
  timeFrame(state, [mode, scene] { sdlPeerFrame(mode, scene); });
  if (mode == PeerMode::ColorKeyRleCels)
    state.counters["cels_KiB"] = benchmark::Counter(double(sdlPeerCelBytes(scene)) / 1024);
}

// BM_FrameSdl2/<mode>/<scene>; the RLE sheet, slow as it is, on the first scene only.
const bool registered = [] {
  const std::pair<const char*, PeerMode> modes[] = {
      {"colour_key", PeerMode::ColorKey}, {"rle_sheet", PeerMode::ColorKeyRle}, {"rle_cels", PeerMode::ColorKeyRleCels}};
  for (Scene scene : Scenes)
    for (const auto& [name, mode] : modes)
      if (mode != PeerMode::ColorKeyRle || scene == Scene::Board1024)
        benchmark::RegisterBenchmark((std::string("BM_FrameSdl2/") + name + "/" + setupOf(scene).name).c_str(),
                                     BM_FrameSdl2, mode, scene)
            ->Unit(benchmark::kMicrosecond);
  return true;
}();

}  // namespace
}  // namespace qvbench
