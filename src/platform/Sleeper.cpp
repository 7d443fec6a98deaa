#include "platform/Sleeper.h"

#include <chrono>
#include <thread>

namespace mirefell
{

void ThreadSleeper::Sleep(uint64_t nanoseconds)
{
    std::this_thread::sleep_for(std::chrono::nanoseconds(nanoseconds));
}

void ThreadSleeper::Yield()
{
    std::this_thread::yield();
}

namespace
{
ThreadSleeper threadSleeper;
ISleeper* currentSleeper = &threadSleeper;
} // namespace

ISleeper& GetSleeper()
{
    return *currentSleeper;
}

void SetSleeper(ISleeper* sleeper)
{
    currentSleeper = sleeper ? sleeper : &threadSleeper;
}

void WaitUntil(const IClock& clock, ISleeper& sleeper, uint64_t deadline)
{
    for (uint64_t now = clock.Counter(); now < deadline; now = clock.Counter()) {
        const auto left = static_cast<uint64_t>(CounterToNanoseconds(deadline - now, clock.Frequency()));
        if (left > SpinNanoseconds)
            sleeper.Sleep(left - SpinNanoseconds);
        else
            sleeper.Yield();
    }
}

} // namespace mirefell
