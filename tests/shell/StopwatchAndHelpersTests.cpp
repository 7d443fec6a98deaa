// Level time with pause and resume, and the text helpers of the UI.
#include <gtest/gtest.h>

#include "platform/Clock.h"
#include "shell/Helpers.h"
#include "shell/Profiler.h"
#include "shell/Stopwatch.h"

namespace mirefell
{
namespace
{

class StopwatchTest : public ::testing::Test
{
protected:
    void SetUp() override { SetClock(&clock); }
    void TearDown() override { SetClock(nullptr); }
    void AdvanceMs(uint64_t ms) { clock.Advance(ms * 10'000); }
    ManualClock clock{10'000'000, 123'456'789};
};

TEST_F(StopwatchTest, PauseFreezesAndResumeContinues)
{
    Stopwatch watch;
    AdvanceMs(1500);
    EXPECT_EQ(watch.ElapsedMs(), 1500);
    watch.Pause();
    AdvanceMs(10'000);
    EXPECT_EQ(watch.ElapsedMs(), 1500);
    EXPECT_EQ(watch.ElapsedSeconds(), 1);
    watch.Resume();
    AdvanceMs(700);
    EXPECT_EQ(watch.ElapsedMs(), 2200);
    EXPECT_EQ(watch.ElapsedSeconds(), 2);
}

TEST_F(StopwatchTest, RepeatedPauseOrResumeCountsNothingTwice)
{
    Stopwatch watch;
    AdvanceMs(1000);
    watch.Pause();
    AdvanceMs(1000);
    watch.Pause(); // already paused: must not add the paused second
    EXPECT_EQ(watch.ElapsedMs(), 1000);
    watch.Resume();
    AdvanceMs(1000);
    watch.Resume(); // already running: must not drop the running second
    AdvanceMs(500);
    EXPECT_EQ(watch.ElapsedMs(), 2500);
}

TEST_F(StopwatchTest, PartialMillisecondsTruncate)
{
    Stopwatch watch;
    clock.Advance(9'999); // 0.9999 ms
    EXPECT_EQ(watch.ElapsedMs(), 0);
    clock.Advance(1);
    EXPECT_EQ(watch.ElapsedMs(), 1);
}

TEST(TextHelpers, PaddingAndTimes)
{
    EXPECT_EQ(PadTwoDigits(L"7"), L"07");
    EXPECT_EQ(PadTwoDigits(L""), L"00");
    EXPECT_EQ(PadTwoDigits(L"123"), L"123");
    EXPECT_EQ(FormatTime(3725), L"01:02:05");
    EXPECT_EQ(FormatTime(360000), L"100:00:00");
    EXPECT_EQ(FormatTime(59), L"00:00:59");
    EXPECT_EQ(FormatTime(60), L"00:01:00");
    EXPECT_EQ(FormatTime(0), L"00:00:00");
    EXPECT_EQ(FormatTime(-1), L"00:00:-1");
}

TEST(TextHelpers, FixedNotation)
{
    EXPECT_EQ(FloatToWString(0.35f, 2), L"0.35");
    EXPECT_EQ(FloatToWString(90.0f, 0), L"90");
    EXPECT_EQ(FloatToWString(-1.25f, 1), L"-1.2"); // -1.25 is exact; ties go to even
    EXPECT_EQ(FloatToWString(2.0f, 3), L"2.000");
}

TEST(FacingTest, PointsAheadAreInFrontAndBesideAreNot)
{
    const Vector3 origin{10, 0, 20};
    EXPECT_TRUE(IsPointInFront(0.0f, origin, {10, 0, 21}));
    EXPECT_FALSE(IsPointInFront(0.0f, origin, {10, 0, 19}));
    EXPECT_FALSE(IsPointInFront(0.0f, origin, {15, 0, 20})); // exactly beside
    // Facing +x (angle pi/2).
    EXPECT_TRUE(IsPointInFront(HalfPi, origin, {11, 0, 20}));
    EXPECT_FALSE(IsPointInFront(HalfPi, origin, {9, 0, 25}));
    // Height does not matter.
    EXPECT_TRUE(IsPointInFront(0.0f, origin, {10, 500, 22}));
}

TEST(ProfilerStats, MinMaxAverageAndLineText)
{
    Profiler& profiler = Profiler::GetInstance();
    profiler.ClearStatistics();
    profiler.AddSample(L"fps", 59.0f);
    const ProfilerStat& first = profiler.GetStats().at(L"fps");
    EXPECT_EQ(first.min, 59.0f);
    EXPECT_EQ(first.max, 59.0f);
    EXPECT_EQ(first.avg, 59.0f);
    profiler.AddSample(L"fps", 61.0f);
    profiler.SetValue(L"fps", 60);
    const ProfilerStat& stat = profiler.GetStats().at(L"fps");
    EXPECT_EQ(stat.line, L"fps - 60.00, min: 59.00, max: 61.00, avg: 60.00");
    EXPECT_EQ(stat.count, 3u);

    profiler.AddSample(L"update time", 0.5f);
    profiler.AddSample(L"update time", 0.5f);
    EXPECT_EQ(profiler.GetStats().at(L"update time").min, 0.5f);
    EXPECT_EQ(profiler.GetStats().at(L"update time").max, 0.5f);
    // Records are in name order for the overlay.
    EXPECT_EQ(profiler.GetStats().begin()->first, L"fps");
    profiler.ClearStatistics();
    EXPECT_TRUE(profiler.GetStats().empty());
}

} // namespace
} // namespace mirefell
