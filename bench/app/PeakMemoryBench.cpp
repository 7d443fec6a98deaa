// Peak resident memory (ru_maxrss of the child alone) of whole programs,
// each started as a child process: the real executable `mirefell` playing
// each shipped level (MIREFELL_PLAY_LEVEL: a new game on Normal straight
// into the level in god mode, MIREFELL_EXIT_AFTER_FRAMES: it ends itself after 120
// frames of play) under SDL's offscreen video driver and OpenAL's null
// backend, in a fresh scratch working folder; and the level frame benchmark
// (`bench_LevelFrameBench`, every view of the three levels once with every
// effect and once without, at 1280 x 720). Target: 300 MB.
//
// The time of an iteration is the child's whole run. Counters: "peak_mb",
// the peak resident set in MiB; "cpu_ms", the child's CPU time.
#include <benchmark/benchmark.h>

#include "support/ChildProcess.h"
#include "support/RunFolder.h"

namespace
{

using namespace mirefell;

void Report(benchmark::State& state, const testing::ChildRun& run)
{
    if (run.exitCode != 0) {
        state.SkipWithError("the child did not exit cleanly");
        return;
    }
    state.SetIterationTime(run.wallMs / 1000.0);
    state.counters["peak_mb"] = run.peakRssMb;
    state.counters["cpu_ms"] = run.cpuMs;
}

void BM_PeakMemoryPlaying(benchmark::State& state, const char* level)
{
    const std::string program = std::string(MIREFELL_RUN_DIR) + "/mirefell";
    for (auto _ : state) {
        testing::RunFolder folder("mirefell-memory-bench");
        Report(state,
               testing::RunChild({program}, {{"MIREFELL_PLAY_LEVEL", level}, {"MIREFELL_EXIT_AFTER_FRAMES", "120"}},
                                 folder.Path(), "frames of play presented"));
    }
}
BENCHMARK_CAPTURE(BM_PeakMemoryPlaying, pentagram, "pentagram")
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PeakMemoryPlaying, descent, "descent")
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PeakMemoryPlaying, mouth, "mouth")->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_PeakMemoryLevelFrameBench(benchmark::State& state)
{
    const std::string program = std::string(MIREFELL_RUN_DIR) + "/bench/bench_LevelFrameBench";
    for (auto _ : state) {
        testing::RunFolder folder("mirefell-memory-bench");
        Report(state, testing::RunChild({program, "--benchmark_min_time=0.01"}, {}, folder.Path(), ""));
    }
}
BENCHMARK(BM_PeakMemoryLevelFrameBench)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
