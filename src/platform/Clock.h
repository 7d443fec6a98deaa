// The clock: a high-resolution counter and its frequency, the stand-in for
// the performance counter. Timing code (the step timer, stopwatches, the frame
// limiter) reads the process clock through GetClock(); tests install a
// ManualClock with SetClock and move time by hand.
#pragma once

#include <cstdint>

namespace mirefell
{

class IClock
{
public:
    virtual ~IClock() = default;
    // Counter value now; only differences are meaningful.
    virtual uint64_t Counter() const = 0;
    // Counts per second.
    virtual uint64_t Frequency() const = 0;
};

// The monotonic system clock in nanoseconds.
class SteadyClock final : public IClock
{
public:
    uint64_t Counter() const override;
    uint64_t Frequency() const override { return 1'000'000'000; }
};

// A clock that only moves when told to; for tests and replays.
class ManualClock final : public IClock
{
public:
    explicit ManualClock(uint64_t frequency_ = 10'000'000, uint64_t start = 0) : frequency(frequency_), counter(start)
    {}
    uint64_t Counter() const override { return counter; }
    uint64_t Frequency() const override { return frequency; }
    void Advance(uint64_t counts) { counter += counts; }

private:
    uint64_t frequency;
    uint64_t counter;
};

// The process clock; a SteadyClock unless a test installed another.
IClock& GetClock();
// Installs a clock (not owned; it must outlive its use), or the SteadyClock
// again for nullptr.
void SetClock(IClock* clock);

// Counter counts converted to nanoseconds without overflow for any
// realistic uptime: whole seconds and the remainder are scaled apart.
inline int64_t CounterToNanoseconds(uint64_t counts, uint64_t frequency)
{
    const uint64_t seconds = counts / frequency;
    const uint64_t remainder = counts % frequency;
    return static_cast<int64_t>(seconds * 1'000'000'000ull + remainder * 1'000'000'000ull / frequency);
}

} // namespace mirefell
