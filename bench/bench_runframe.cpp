// One RunMode frame (RunLoopPass: base restore, then RunFrame) with 50
// moving, colliding, Transparent 200 x 200 Panes on the 1024 x 764 Board
// with a Background, beside the SDL2 peer frame. The run is started once and
// its loop continues across every timed frame, so Panes bounce, collide and
// flip as in a real run; the flips are counted.
#include "BenchSupport.h"

#include "imaging/Flip.h"
#include "imaging/Sheets.h"
#include "runmode/RunLoop.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <array>

// The turns of the run are counted: a Pane whose Direction changed in a
// frame turned (and, flipping on bounds, mirrored) at least once.
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

struct Run {
  BenchWorkspace b;
  long frames = 0;
  long turns = 0;
  Run() {
    buildPaneScene(b.ws, FrameScene());
    for (int n = 1; n <= qv::MaxPanes; ++n) setMotion(b.ws.Pane(n), n);
    // The pointer stays off the Board: no hover effects.
    b.ws.pointer.MouseX = -10000;
    b.ws.pointer.MouseY = -10000;
    qv::mnu_RunInWindow_Click(b.ws);
  }
};

Run& run() {
  static Run r;
  return r;
}

void frame() {
  Run& r = run();
  std::array<qv::Integer, qv::SlotCount> before{};
  for (int n = 1; n <= qv::MaxPanes; ++n) before[size_t(n)] = r.b.ws.RunPaneTable[size_t(n)].Direction;
  if (!qv::RunLoopPass(r.b.ws)) {
    std::fprintf(stderr, "the run loop ended\n");
    std::abort();
  }
  for (int n = 1; n <= qv::MaxPanes; ++n) r.turns += before[size_t(n)] != r.b.ws.RunPaneTable[size_t(n)].Direction;
  ++r.frames;
}

std::string flipReport() {
  const Run& r = run();
  char buf[120];
  std::snprintf(buf, sizeof buf, "%.2f Panes turned per frame over %ld frames",
                double(r.turns) / double(std::max(r.frames, 1L)), r.frames);
  return buf;
}

void BM_RunFrame(benchmark::State& state) {
  for (auto _ : state) {
    frame();
    benchmark::ClobberMemory();
  }
  state.SetLabel(flipReport());
}
BENCHMARK(BM_RunFrame)->Unit(benchmark::kMicrosecond);

const int runRace = registerRace({
    .title = "RunFrame",
    .contenders =
        {
            {"RunLoopPass", frame, false},
            // Only the peer the target is set against: the RLE peers'
            // frames would change what the caches hold between ours.
            {peerModeName(PeerMode::ColorKey), [] { sdlPeerFrame(PeerMode::ColorKey); }, true},
        },
    .maxRatio = 0.8,
    .targetPeer = peerModeName(PeerMode::ColorKey),
    .report = flipReport,
});

}  // namespace
}  // namespace qvbench
