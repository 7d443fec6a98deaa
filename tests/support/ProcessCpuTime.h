// ProcessCpuTime: the CPU time the whole process has used so far, every
// thread of it (llvmpipe's rasteriser threads included), for benchmarks that
// report the work a frame is beside its wall-clock time: the first is little
// disturbed by other processes on the machine, the second is what a player
// waits. Header-only.
#pragma once

#include <benchmark/benchmark.h>

#include <ctime>

namespace mirefell::testing
{

inline double ProcessCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) * 1e-6;
}

// Runs `frame` once per benchmark iteration and reports the process CPU
// time of a frame as the counter `cpu_ms`.
template <class Frame> void TimeFramesWithCpu(benchmark::State& state, Frame&& frame)
{
    double cpu = 0.0;
    for (auto _ : state) {
        const double start = ProcessCpuMs();
        frame();
        cpu += ProcessCpuMs() - start;
    }
    state.counters["cpu_ms"] = cpu / static_cast<double>(state.iterations());
}

} // namespace mirefell::testing
