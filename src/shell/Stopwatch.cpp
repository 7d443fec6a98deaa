#include "shell/Stopwatch.h"

#include "platform/Clock.h"

namespace mirefell
{

namespace
{
int64_t NowNs()
{
    const IClock& clock = GetClock();
    return CounterToNanoseconds(clock.Counter(), clock.Frequency());
}
} // namespace

Stopwatch::Stopwatch() : start(NowNs()), accumulated(0), paused(false) {}

void Stopwatch::Pause()
{
    if (paused)
        return;
    paused = true;
    accumulated += NowNs() - start;
}

void Stopwatch::Resume()
{
    if (!paused)
        return;
    paused = false;
    start = NowNs();
}

int64_t Stopwatch::ElapsedNs() const
{
    return paused ? accumulated : NowNs() - start + accumulated;
}

int64_t Stopwatch::ElapsedMs() const
{
    return ElapsedNs() / 1'000'000;
}

int64_t Stopwatch::ElapsedSeconds() const
{
    return ElapsedNs() / 1'000'000'000;
}

} // namespace mirefell
