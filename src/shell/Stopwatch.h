// Stopwatch: milliseconds of running time with pause and resume, on the
// process clock. The player's level time is one; the in-game menu pauses it.
// Pausing a paused watch or resuming a running one does nothing, so a level
// is never counted twice.
#pragma once

#include <cstdint>

namespace mirefell
{

class Stopwatch
{
public:
    // Starts running.
    Stopwatch();

    void Pause();
    void Resume();
    bool IsPaused() const { return paused; }
    // Running time in whole milliseconds (truncated).
    int64_t ElapsedMs() const;
    // Running time in whole seconds (truncated).
    int64_t ElapsedSeconds() const;

private:
    int64_t ElapsedNs() const;

    int64_t start;       // ns on the process clock when last started
    int64_t accumulated; // ns of earlier running spans
    bool paused;
};

} // namespace mirefell
