#include "shell/StepTimer.h"

#include <stdexcept>

namespace mirefell
{

StepTimer::StepTimer(const IClock& clock_)
    : clock(clock_), qpcFrequency(clock_.Frequency()), qpcLastTime(clock_.Counter()), qpcMaxDelta(qpcFrequency / 10)
{
    if (qpcFrequency == 0)
        throw std::runtime_error("QueryPerformanceFrequency");
}

void StepTimer::ResetElapsedTime()
{
    qpcLastTime = clock.Counter();
    leftOverTicks = 0;
    framesPerSecond = 0;
    framesThisSecond = 0;
    qpcSecondCounter = 0;
}

uint64_t StepTimer::TakeDelta()
{
    const uint64_t now = clock.Counter();
    uint64_t delta = now - qpcLastTime;
    qpcLastTime = now;
    qpcSecondCounter += delta;
    if (delta > qpcMaxDelta)
        delta = qpcMaxDelta;
    // delta is at most frequency / 10, so this cannot overflow for any
    // frequency below 1.8e13.
    return delta * TicksPerSecond / qpcFrequency;
}

void StepTimer::CountFrame(uint32_t lastFrameCount)
{
    if (frameCount != lastFrameCount)
        ++framesThisSecond;
    if (qpcSecondCounter >= qpcFrequency) {
        framesPerSecond = framesThisSecond;
        framesThisSecond = 0;
        qpcSecondCounter %= qpcFrequency;
    }
}

} // namespace mirefell
