// The levels these tests play seed the game's generator from the calendar
// clock at every load. The program is linked with --wrap=time, so that
// clock is the test's own clock (ShellTest's, which every test starts at the
// same count): a walk through a level replays exactly, whatever the hour.
#include <ctime>

#include "platform/Clock.h"

extern "C" time_t __wrap_time(time_t* out)
{
    const mirefell::IClock& clock = mirefell::GetClock();
    const auto now = static_cast<time_t>(clock.Counter() / clock.Frequency());
    if (out)
        *out = now;
    return now;
}
