// Sleeper: how the frame loop gives the processor back while it waits for the
// next frame. The thread sleeper really sleeps and yields; tests install one
// that records each call and moves a ManualClock instead, so frame pacing is
// tested by what it asks for, never by wall-clock time.
#pragma once

#include <cstdint>

#include "platform/Clock.h"

namespace mirefell
{

class ISleeper
{
public:
    virtual ~ISleeper() = default;
    // Gives the processor away for about `nanoseconds`; the system may wake
    // the thread a little later.
    virtual void Sleep(uint64_t nanoseconds) = 0;
    // Gives the rest of the time slice away; returns at once when no other
    // thread wants the processor. The step of a short busy wait.
    virtual void Yield() = 0;
};

class ThreadSleeper final : public ISleeper
{
public:
    void Sleep(uint64_t nanoseconds) override;
    void Yield() override;
};

// The process sleeper; a ThreadSleeper unless a test installed another.
ISleeper& GetSleeper();
// Installs a sleeper (not owned; it must outlive its use), or the
// ThreadSleeper again for nullptr.
void SetSleeper(ISleeper* sleeper);

// The last stretch of a wait that is spent yielding rather than asleep: a
// sleeping thread wakes up to a tenth of a millisecond late, more under load.
inline constexpr uint64_t SpinNanoseconds = 300'000;

// Returns once `clock` reads `deadline` or later: sleeps through all but the
// last SpinNanoseconds, then yields until the deadline.
void WaitUntil(const IClock& clock, ISleeper& sleeper, uint64_t deadline);

} // namespace mirefell
