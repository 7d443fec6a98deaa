// What the gameplay benchmarks share: the counters they report against the
// 16.7 ms step, and a scratch working folder for the levels they build (the
// player saves at its level's start).
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>

#include "support/AllocationCounter.h"

namespace mirefell::testing
{

inline constexpr double StepBudgetSeconds = 1.0 / 60.0;

// "budget_share": the fraction of a step one iteration takes; "allocs": heap
// allocations per iteration since allocationsBefore.
inline void ReportStepCounters(benchmark::State& state, uint64_t allocationsBefore)
{
    // (budget x iterations / time), inverted: time per iteration / budget.
    state.counters["budget_share"] = benchmark::Counter(
        StepBudgetSeconds, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["allocs"] = benchmark::Counter(static_cast<double>(AllocationCount() - allocationsBefore),
                                                  benchmark::Counter::kAvgIterations);
}

// A fresh folder under the system's temporary folder as the working folder
// while it lives; removed with what was written there.
class ScratchFolder
{
public:
    explicit ScratchFolder(const std::string& name)
        : folder(std::filesystem::temp_directory_path() / (name + "-" + std::to_string(::getpid()))),
          previous(std::filesystem::current_path())
    {
        std::filesystem::create_directories(folder);
        std::filesystem::current_path(folder);
    }
    ~ScratchFolder()
    {
        std::filesystem::current_path(previous);
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

private:
    std::filesystem::path folder;
    std::filesystem::path previous;
};

} // namespace mirefell::testing
