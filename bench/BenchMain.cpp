// Runs the benchmarks as repetitions in random interleaving, so load from the
// rest of the machine falls on every contender alike, and after the usual
// table prints each target: the ratio of our median to the peer's median
// (SDL2 doing the same pixel work, or plain writes of the same bytes), or our
// mean, beside its limit and whether it is met. The defaults set here come
// before the command line's flags, which therefore override them.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace {

// A figure held against a target. With a peer: median of ours over median of
// the peer, at most `limit` (0: printed without a target). Without a peer:
// the mean of ours, at most `limit` microseconds. Figures are thread CPU
// time, or wall-clock time for work that waits for the disk.
struct Target {
  std::string title;
  std::string ours;
  std::string peer;  // empty: none
  double limit;
  bool wallClock = false;
  const char* peerName = "SDL2";
};

// The scenes as the benchmarks name them, the first being 1024 x 764 with 50 Panes.
const char* const Scenes[] = {"1024x764", "320x240", "max_1920x1080"};

std::vector<Target> targets() {
  std::vector<Target> t = {
      {"restore", "BM_RestoreOurs", "BM_RestoreSdl2", 0},
      {"plain frame", "BM_FrameOurs/fused", "BM_FrameSdl2/colour_key/1024x764", 0.8},
      {"plain frame", "BM_FrameOurs/fused", "BM_FrameSdl2/rle_sheet/1024x764", 0},
      {"plain frame", "BM_FrameOurs/fused", "BM_FrameSdl2/rle_cels/1024x764", 0},
      {"plain frame", "BM_FrameOurs/two_step", "BM_FrameSdl2/colour_key/1024x764", 0},
  };
  // RedrawBoard and RunFrame on each scene: against SDL2's colour key and its
  // RLE surface per Cel, and in layers against the plain way (a RunMode
  // frame with every Pane moving is the worst case for the layers).
  for (const char* scene : Scenes) {
    const std::string at = std::string(" ") + scene, sdl = std::string("/") + scene;
    for (const char* what : {"RedrawBoard", "RunFrame"}) {
      const std::string ours = std::string("BM_") + what + "/" + scene;
      const std::string plain = std::string("BM_") + what + "/plain/" + scene;
      t.push_back({what + at, ours, "BM_FrameSdl2/colour_key" + sdl, 0});
      t.push_back({what + at, ours, "BM_FrameSdl2/rle_cels" + sdl, 0.5});
      t.push_back({what + at, ours, plain, 1.0, false, "plain"});
      t.push_back({what + at + " plain", plain, "BM_FrameSdl2/rle_cels" + sdl, 0});
    }
  }
  t.push_back({"BuildPaneMask 200x200", "BM_BuildPaneMask", "", 200});
  t.push_back({"SaveProject", "BM_SaveProject/real_time", "BM_PlainWrites/fsync/real_time", 1.5, true, "plain"});
  t.push_back({"SaveProject", "BM_SaveProject/real_time", "BM_PlainWrites/fdatasync/real_time", 0, true, "plain"});
  t.push_back({"SaveProject", "BM_SaveProject/real_time", "BM_PlainWrites/no_sync/real_time", 0, true, "plain"});
  t.push_back({"LoadProject", "BM_LoadProject", "", 100'000});
  // The window's pause for a recovery copy, 50 Panes on the Max Board (our addition).
  t.push_back({"recovery copy pause", "BM_RecoveryCopy/write:0/iterations:20/real_time", "", 50'000, true});
  return t;
}

// One benchmark's figures in microseconds per iteration, from its median and
// mean over the repetitions (both from the single run when there is one).
struct Figures {
  double cpuMedian = 0, wallMedian = 0, cpuMean = 0, wallMean = 0;
  bool measured = false;
  std::string error;
  benchmark::UserCounters counters;  // of the median
  double median(bool wall) const { return wall ? wallMedian : cpuMedian; }
  double mean(bool wall) const { return wall ? wallMean : cpuMean; }
};

// The console table as usual, then the targets.
class TargetReporter : public benchmark::ConsoleReporter {
 public:
  // Coloured on a terminal only, as the library's own console table. With a
  // filter, targets whose benchmarks did not run are left out silently.
  explicit TargetReporter(bool filtered)
      : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Color : OO_None), filtered_(filtered) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& r : runs) {
      Figures& f = figures_[r.run_name.str()];
      if (r.error_occurred) {
        f.error = r.error_message;
        continue;
      }
      if (r.iterations <= 0) continue;
      const double cpu = r.cpu_accumulated_time / double(r.iterations) * 1e6;
      const double wall = r.real_accumulated_time / double(r.iterations) * 1e6;
      const bool single = r.run_type == Run::RT_Iteration && r.repetitions <= 1;
      if (single || r.aggregate_name == "median") {
        f.cpuMedian = cpu, f.wallMedian = wall, f.counters = r.counters;
        f.measured = true;
        repetitions_ = int(r.repetitions);
      }
      if (single || r.aggregate_name == "mean") f.cpuMean = cpu, f.wallMean = wall;
    }
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    for (const Target& t : targets()) print(t);
    std::printf("(medians, and means for mean targets, of %d repetitions; thread CPU time, "
                "SaveProject wall-clock time; Boards, saved files and the loaded project are "
                "checked against their peers before timing)\n",
                repetitions_);
    std::fflush(stdout);
  }

 private:
  // The benchmark's figures; null when it did not run or failed (its error
  // is printed once).
  const Figures* find(const Target& t, const std::string& name) {
    const auto it = figures_.find(name);
    if (it == figures_.end()) {
      if (!filtered_) std::printf("%s: %s: not run\n", t.title.c_str(), name.c_str());
      return nullptr;
    }
    Figures& f = it->second;
    if (!f.measured && !f.error.empty()) std::printf("%s: %s: %s\n", t.title.c_str(), name.c_str(), f.error.c_str());
    f.error.clear();
    return f.measured ? &f : nullptr;
  }

  void print(const Target& t) {
    const Figures* ours = find(t, t.ours);
    const Figures* peer = ours && !t.peer.empty() ? find(t, t.peer) : nullptr;
    if (!ours || (!t.peer.empty() && !peer)) return;
    const char* other = t.wallClock ? "CPU" : "wall";
    std::string counters;
    for (const Figures* f : {ours, peer})
      if (f)
        for (const auto& [name, c] : f->counters) counters += "; " + name + " " + number(c.value, 2);
    if (!peer) {
      const double mean = ours->mean(t.wallClock);
      std::printf("%s: mean %.1f us, median %.1f us  target mean <= %.0f us: %s   "
                  "[%s; %s mean %.1f us%s]\n",
                  t.title.c_str(), mean, ours->median(t.wallClock), t.limit, verdict(mean <= t.limit),
                  t.ours.c_str(), other, ours->mean(!t.wallClock), counters.c_str());
      return;
    }
    const double ratio = ours->median(t.wallClock) / peer->median(t.wallClock);
    const std::string target =
        t.limit > 0 ? "  target <= " + number(t.limit, 2) + ": " + verdict(ratio <= t.limit) : "";
    std::printf("%s: ours %.1f us, %s %.1f us, ratio %.2f%s   [%s vs %s; %s %.1f / %.1f us%s]\n",
                t.title.c_str(), ours->median(t.wallClock), t.peerName, peer->median(t.wallClock), ratio,
                target.c_str(), t.ours.c_str(), t.peer.c_str(), other, ours->median(!t.wallClock),
                peer->median(!t.wallClock), counters.c_str());
  }

  static const char* verdict(bool met) { return met ? "met" : "MISSED"; }
  static std::string number(double v, int decimals) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    return buf;
  }

  bool filtered_;
  std::map<std::string, Figures> figures_;
  int repetitions_ = 1;
};

}  // namespace

int main(int argc, char** argv) {
  std::vector<char*> args{argv[0]};
  char repetitions[] = "--benchmark_repetitions=20";
  char minTime[] = "--benchmark_min_time=0.1";
  char interleave[] = "--benchmark_enable_random_interleaving=true";
  char aggregatesOnly[] = "--benchmark_display_aggregates_only=true";
  for (char* flag : {repetitions, minTime, interleave, aggregatesOnly}) args.push_back(flag);
  args.insert(args.end(), argv + 1, argv + argc);
  int count = int(args.size());
  benchmark::Initialize(&count, args.data());
  if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 1;
  bool filtered = false;
  for (int i = 1; i < argc; ++i)
    filtered |= std::string_view(argv[i]).starts_with("--benchmark_filter=");
  TargetReporter reporter(filtered);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
