// Runs the Google benchmarks, then the interleaved races against the SDL2
// peer. --frames=N sets the rounds per race (default 2000); --frames=0 skips
// the races; --races=TEXT runs only the races whose title contains TEXT.
#include "BenchSupport.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
  int frames = 2000;
  std::string races;
  int kept = 1;
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--frames=", 9) == 0)
      frames = std::atoi(argv[i] + 9);
    else if (std::strncmp(argv[i], "--races=", 8) == 0)
      races = argv[i] + 8;
    else
      argv[kept++] = argv[i];
  }
  argc = kept;
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (frames > 0) qvbench::runRaces(frames, races);
  return 0;
}
