// One frame of pixel work: restore the Board from the Background, then draw
// 50 Panes of 200 x 200 transparently from the sheets; ours beside the SDL2
// peer (colour-keyed blits, with and without RLE) over the same scene.
#include "BenchSupport.h"

#include <benchmark/benchmark.h>

namespace qvbench {
namespace {

FrameScene& scene() {
  static FrameScene s;
  return s;
}

void BM_RestoreOurs(benchmark::State& state) {
  for (auto _ : state) {
    oursRestore(scene());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_RestoreOurs)->Unit(benchmark::kMicrosecond);

void BM_RestoreSdl2(benchmark::State& state) {
  for (auto _ : state) {
    sdlPeerRestore();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_RestoreSdl2)->Unit(benchmark::kMicrosecond);

void BM_FrameOursFused(benchmark::State& state) {
  for (auto _ : state) {
    oursFrameFused(scene());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_FrameOursFused)->Unit(benchmark::kMicrosecond);

void BM_FrameOursTwoStep(benchmark::State& state) {
  for (auto _ : state) {
    oursFrameTwoStep(scene());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_FrameOursTwoStep)->Unit(benchmark::kMicrosecond);

void BM_FrameSdl2(benchmark::State& state) {
  const auto mode = PeerMode(state.range(0));
  for (auto _ : state) {
    sdlPeerFrame(mode);
    benchmark::ClobberMemory();
  }
  state.SetLabel(peerModeName(mode));
}
BENCHMARK(BM_FrameSdl2)
    ->Arg(int(PeerMode::ColorKey))
    ->Arg(int(PeerMode::ColorKeyRle))
    ->Arg(int(PeerMode::ColorKeyRleCels))
    ->Unit(benchmark::kMicrosecond);

const int frameRace = registerRace({
    "frame",
    {
        {"ours fused", [] { oursFrameFused(scene()); }, false},
        {"ours two-step", [] { oursFrameTwoStep(scene()); }, false},
        {peerModeName(PeerMode::ColorKey), [] { sdlPeerFrame(PeerMode::ColorKey); }, true},
        {peerModeName(PeerMode::ColorKeyRle), [] { sdlPeerFrame(PeerMode::ColorKeyRle); }, true},
        {peerModeName(PeerMode::ColorKeyRleCels),
         [] { sdlPeerFrame(PeerMode::ColorKeyRleCels); }, true},
    },
    // Both sides must draw the same picture, or the race means nothing.
    [] {
      std::string differ;
      for (int way = 0; way < 2; ++way) {
        if (way == 0) oursFrameFused(scene()); else oursFrameTwoStep(scene());
        for (PeerMode m : {PeerMode::ColorKey, PeerMode::ColorKeyRle, PeerMode::ColorKeyRleCels}) {
          sdlPeerFrame(m);
          if (const long n = sdlPeerDifferences(scene().board))
            differ += std::string(way == 0 ? " fused/" : " two-step/") + peerModeName(m) + ": " +
                      std::to_string(n) + " pixels;";
        }
      }
      return differ.empty() ? std::string("Boards identical to SDL2's")
                            : "Boards DIFFER from SDL2's:" + differ;
    },
});

}  // namespace
}  // namespace qvbench
