// The real executable from process start to its first title frame: each
// iteration starts `mirefell` from the run folder in a fresh scratch working
// folder (no config.json, no binds.bin, no saves: a first start) under SDL's
// offscreen video driver and OpenAL's null backend, with
// MIREFELL_EXIT_AFTER_FIRST_TITLE_FRAME set, and takes the time from just
// before the process is made until the game writes that the title's first
// frame has been presented (the settings, the window and its GL context, the
// audio, the shaders, textures, fonts and effects, the title scene and its
// music, the first step and the first frame). Target: 1 s.
//
// Counters: "whole_run_ms", until the process has ended (its tear-down and
// the settings written included); "cpu_ms", the child's CPU time over the
// whole run; "peak_mb", its peak resident memory (ru_maxrss).
#include <benchmark/benchmark.h>

#include "support/ChildProcess.h"
#include "support/RunFolder.h"

namespace
{

using namespace mirefell;

void BM_StartToTitleFrame(benchmark::State& state)
{
    const std::string program = std::string(MIREFELL_RUN_DIR) + "/mirefell";
    for (auto _ : state) {
        testing::RunFolder folder("mirefell-startup-bench");
        const testing::ChildRun run = testing::RunChild({program}, {{"MIREFELL_EXIT_AFTER_FIRST_TITLE_FRAME", "1"}},
                                                        folder.Path(), "first title frame presented");
        if (run.exitCode != 0 || run.lineMs < 0.0) {
            state.SkipWithError("mirefell did not present a title frame and exit cleanly");
            return;
        }
        state.SetIterationTime(run.lineMs / 1000.0);
        state.counters["whole_run_ms"] = run.wallMs;
        state.counters["cpu_ms"] = run.cpuMs;
        state.counters["peak_mb"] = run.peakRssMb;
    }
}
BENCHMARK(BM_StartToTitleFrame)->Iterations(1)->Repetitions(5)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
