// StepTimer: turns real time into fixed simulation steps.
//
// Ticks are 100 ns (10,000,000 a second). In fixed mode each Tick runs as
// many whole steps of `targetElapsedTicks` as the elapsed time holds; a delta
// within 2500 ticks of the target counts as exactly one target so a ~60 Hz
// display runs one step per frame without drift, and one Tick never accounts
// for more than 100 ms so a stall costs at most 6 steps of catch-up.
// Real time comes from an IClock, so tests drive it by hand.
#pragma once

#include <cstdint>

#include "platform/Clock.h"

namespace mirefell
{

class StepTimer
{
public:
    static constexpr uint64_t TicksPerSecond = 10'000'000;
    static constexpr uint64_t DefaultTargetTicks = 166666; // 60 steps a second
    static constexpr uint64_t SnapTicks = 2500;            // 1/4000 s

    explicit StepTimer(const IClock& clock_ = GetClock());

    // Runs `update` once per step that the time since the last Tick holds.
    template <class Update> void Tick(Update&& update);
    // Forgets the time since the last Tick (after a pause or a stall).
    void ResetElapsedTime();

    void SetFixedTimeStep(bool fixed) { isFixedTimeStep = fixed; }
    void SetTargetElapsedTicks(uint64_t ticks) { targetElapsedTicks = ticks; }

    uint64_t GetElapsedTicks() const { return elapsedTicks; }
    uint64_t GetTotalTicks() const { return totalTicks; }
    uint32_t GetFrameCount() const { return frameCount; }
    uint32_t GetFramesPerSecond() const { return framesPerSecond; }
    bool IsFixedTimeStep() const { return isFixedTimeStep; }

private:
    // Counter delta since the last Tick, clamped and converted to ticks;
    // also advances the one-second frame counter.
    uint64_t TakeDelta();
    void CountFrame(uint32_t lastFrameCount);

    const IClock& clock;
    uint64_t qpcFrequency;
    uint64_t qpcLastTime;
    uint64_t qpcMaxDelta;
    uint64_t elapsedTicks = 0;
    uint64_t totalTicks = 0;
    uint64_t leftOverTicks = 0;
    uint32_t frameCount = 0;
    uint32_t framesPerSecond = 0;
    uint32_t framesThisSecond = 0;
    uint64_t qpcSecondCounter = 0;
    bool isFixedTimeStep = false;
    uint64_t targetElapsedTicks = DefaultTargetTicks;
};

template <class Update> void StepTimer::Tick(Update&& update)
{
    uint64_t delta = TakeDelta();
    const uint32_t lastFrameCount = frameCount;
    if (isFixedTimeStep) {
        const uint64_t distance = delta > targetElapsedTicks ? delta - targetElapsedTicks : targetElapsedTicks - delta;
        if (distance < SnapTicks)
            delta = targetElapsedTicks;
        leftOverTicks += delta;
        while (leftOverTicks >= targetElapsedTicks) {
            elapsedTicks = targetElapsedTicks;
            totalTicks += targetElapsedTicks;
            leftOverTicks -= targetElapsedTicks;
            ++frameCount;
            update();
        }
    } else {
        elapsedTicks = delta;
        totalTicks += delta;
        leftOverTicks = 0;
        ++frameCount;
        update();
    }
    CountFrame(lastFrameCount);
}

} // namespace mirefell
