// Core's level load of each shipped level as the game runs it, with a device
// on the headless context (llvmpipe): a new game on Normal is requested, then
// the loading state's step (the previous level torn down, the HUD rebuilt,
// "assets/maps/<level>.json" read, the World built and reset, the player's
// save written, the level's meshes given their device buffers) and the first
// playing step. Target: 100 ms.
//
// The wall time is the benchmark's time; `cpu_ms` is the process's CPU time
// over all its threads. The entity meshes are read once per process, by the
// first load (`BM_FirstLevelLoad`, one iteration, run first); every later
// load finds them in the registry, as the game's later levels do. The same
// load without any GPU is `BM_LevelLoadWithoutGpu` in bench_LevelStepBench.
#include <benchmark/benchmark.h>

#include <string>

#include "support/BenchCore.h"
#include "support/ProcessCpuTime.h"

namespace
{

using namespace mirefell;

testing::BenchCore& TheCore()
{
    static testing::BenchCore core(true);
    return core;
}

void Load(testing::BenchCore& bench, const char* level)
{
    testing::BenchCore::RequestNewGame(level);
    bench.core->Update(); // loading
    bench.core->Update(); // the first playing step
}

void BM_FirstLevelLoad(benchmark::State& state)
{
    testing::BenchCore& bench = TheCore();
    testing::TimeFramesWithCpu(state, [&] { Load(bench, "pentagram"); });
}
BENCHMARK(BM_FirstLevelLoad)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LevelLoad(benchmark::State& state, const char* level)
{
    testing::BenchCore& bench = TheCore();
    Load(bench, level); // the previous level is this one from here on
    testing::TimeFramesWithCpu(state, [&] { Load(bench, level); });
}
BENCHMARK_CAPTURE(BM_LevelLoad, pentagram, "pentagram")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_LevelLoad, descent, "descent")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_LevelLoad, mouth, "mouth")->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
