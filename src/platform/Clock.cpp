#include "platform/Clock.h"

#include <chrono>

namespace mirefell
{

uint64_t SteadyClock::Counter() const
{
    return static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
            .count());
}

namespace
{
SteadyClock steadyClock;
IClock* currentClock = &steadyClock;
} // namespace

IClock& GetClock()
{
    return *currentClock;
}

void SetClock(IClock* clock)
{
    currentClock = clock ? clock : &steadyClock;
}

} // namespace mirefell
