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

// Every sheet-block mirroring is counted: the bench links with
// --wrap for qv::MirrorBlock (see CMakeLists.txt), which sends the engine's
// calls here and leaves the real function as __real_<name>.
namespace {
long mirrorings = 0;
}

extern "C" void __real__ZN2qv11MirrorBlockER6QImageiiiiNS_10MirrorAxisE(QImage&, int, int, int,
                                                                         int, qv::MirrorAxis);
extern "C" void __wrap__ZN2qv11MirrorBlockER6QImageiiiiNS_10MirrorAxisE(QImage& img, int x, int y,
                                                                         int w, int h,
                                                                         qv::MirrorAxis axis) {
  ++mirrorings;
  __real__ZN2qv11MirrorBlockER6QImageiiiiNS_10MirrorAxisE(img, x, y, w, h, axis);
}

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
  long mirroringsInFrames = 0;
  Run() {
    buildPaneScene(b.ws, FrameScene());
    for (int n = 1; n <= qv::MaxPanes; ++n) setMotion(b.ws.Pane(n), n);
    // The pointer stays off the Board: no hover effects.
    b.ws.MouseX = -10000;
    b.ws.MouseY = -10000;
    qv::mnu_RunInWindow_Click(b.ws);
  }
};

Run& run() {
  static Run r;
  return r;
}

void frame() {
  Run& r = run();
  const long before = mirrorings;
  if (!qv::RunLoopPass(r.b.ws)) {
    std::fprintf(stderr, "the run loop ended\n");
    std::abort();
  }
  r.mirroringsInFrames += mirrorings - before;
  ++r.frames;
}

std::string flipReport() {
  const Run& r = run();
  const double perFrame = double(r.mirroringsInFrames) / double(std::max(r.frames, 1L));
  char buf[200];
  // Every Pane is Transparent: a flip mirrors its sprite and its mask block.
  std::snprintf(buf, sizeof buf,
                "%.2f Pane flips per frame (%.2f sheet-block mirrorings) over %ld frames so far",
                perFrame / 2, perFrame, r.frames);
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
            {peerModeName(PeerMode::ColorKey), [] { sdlPeerFrame(PeerMode::ColorKey); }, true},
            {peerModeName(PeerMode::ColorKeyRle), [] { sdlPeerFrame(PeerMode::ColorKeyRle); },
             true},
            {peerModeName(PeerMode::ColorKeyRleCels),
             [] { sdlPeerFrame(PeerMode::ColorKeyRleCels); }, true},
        },
    .maxRatio = 0.8,
    .targetPeer = peerModeName(PeerMode::ColorKey),
    .report = flipReport,
});

}  // namespace
}  // namespace qvbench
