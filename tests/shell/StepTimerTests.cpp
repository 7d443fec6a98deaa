// The fixed-step rule: how many steps a Tick runs for a given real delta.
#include <gtest/gtest.h>

#include "shell/StepTimer.h"

namespace mirefell
{
namespace
{

// A clock whose counter is in 100 ns ticks, like the timer's own unit.
class StepTimerTest : public ::testing::Test
{
protected:
    StepTimerTest() : clock(10'000'000, 1'000'000'000), timer(clock)
    {
        timer.SetFixedTimeStep(true);
        timer.SetTargetElapsedTicks(StepTimer::DefaultTargetTicks);
    }
    int TickAfter(uint64_t ticks)
    {
        clock.Advance(ticks);
        int steps = 0;
        timer.Tick([&] { ++steps; });
        return steps;
    }
    ManualClock clock;
    StepTimer timer;
};

TEST_F(StepTimerTest, ANearTargetDeltaCountsAsOneStep)
{
    EXPECT_EQ(TickAfter(166666), 1);
    EXPECT_EQ(TickAfter(164200), 1); // within 2500 ticks: snapped
    EXPECT_EQ(TickAfter(169100), 1);
    EXPECT_EQ(timer.GetTotalTicks(), 3 * 166666u);
    EXPECT_EQ(timer.GetElapsedTicks(), 166666u);
}

TEST_F(StepTimerTest, AFarDeltaIsKeptAndLeftOver)
{
    // 2666 from the target is outside the snap: nothing runs yet.
    EXPECT_EQ(TickAfter(164000), 0);
    EXPECT_EQ(TickAfter(3000), 1);   // 167000 accumulated
    EXPECT_EQ(TickAfter(163000), 0); // 334 + 163000
    EXPECT_EQ(TickAfter(163000), 1);
    EXPECT_EQ(timer.GetFrameCount(), 2u);
}

TEST_F(StepTimerTest, AStallRunsAtMostOneHundredMillisecondsOfSteps)
{
    EXPECT_EQ(TickAfter(20'000'000), 6); // 2 s: clamped to 1,000,000 ticks
    EXPECT_EQ(TickAfter(166662), 1);     // with the 4 ticks left over: one step
}

TEST_F(StepTimerTest, ResetElapsedTimeForgetsThePause)
{
    clock.Advance(50'000'000);
    timer.ResetElapsedTime();
    EXPECT_EQ(TickAfter(166666), 1);
}

TEST_F(StepTimerTest, FramesPerSecondCountsTicksThatRanAStep)
{
    // Ticks of half a step each: every second one runs a step, and the
    // count is published once a second of counter time has passed.
    for (int i = 0; i < 60; ++i)
        TickAfter(83333);
    EXPECT_EQ(timer.GetFramesPerSecond(), 0u); // not yet a second
    for (int i = 0; i < 61; ++i)
        TickAfter(83333);
    EXPECT_EQ(timer.GetFramesPerSecond(), 60u);
}

TEST(StepTimer, VariableModeRunsOnceWithTheRealDelta)
{
    ManualClock clock(1'000'000'000); // nanoseconds
    StepTimer timer(clock);
    clock.Advance(5'000'000); // 5 ms
    int steps = 0;
    timer.Tick([&] { ++steps; });
    EXPECT_EQ(steps, 1);
    EXPECT_EQ(timer.GetElapsedTicks(), 50'000u);
    clock.Advance(0);
    timer.Tick([&] { ++steps; });
    EXPECT_EQ(steps, 2);
    EXPECT_EQ(timer.GetElapsedTicks(), 0u);
}

TEST(StepTimer, OtherCounterFrequenciesConvertToTicks)
{
    ManualClock clock(1'000'000'000);
    StepTimer timer(clock);
    timer.SetFixedTimeStep(true);
    clock.Advance(16'666'600); // 166666 ticks in nanoseconds
    int steps = 0;
    timer.Tick([&] { ++steps; });
    EXPECT_EQ(steps, 1);
}

TEST(StepTimer, AZeroFrequencyClockIsRefused)
{
    ManualClock broken(0);
    EXPECT_THROW(StepTimer timer(broken), std::runtime_error);
}

} // namespace
} // namespace mirefell
