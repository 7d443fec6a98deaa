// The generator every gameplay roll draws from, the throwing look-up and the
// process clock.
#include <map>
#include <set>
#include <unordered_map>

#include <gtest/gtest.h>

#include "platform/Clock.h"
#include "platform/GameError.h"
#include "platform/Lookup.h"
#include "platform/Random.h"

namespace mirefell
{
namespace
{

TEST(Random, MatchesTheClassicStreamAndStaysInRange)
{
    // The first numbers of the classic 15-bit stream after seeding with 1.
    SeedRand(1);
    EXPECT_EQ(Rand(), 41);
    EXPECT_EQ(Rand(), 18467);
    EXPECT_EQ(Rand(), 6334);
    EXPECT_EQ(Rand(), 26500);
    EXPECT_EQ(Rand(), 19169);

    SeedRand(12345);
    int lowest = RandMax, highest = 0;
    std::set<int> seen;
    for (int i = 0; i < 200000; ++i) {
        const int value = Rand();
        lowest = std::min(lowest, value);
        highest = std::max(highest, value);
        seen.insert(value);
    }
    EXPECT_EQ(lowest, 0);
    EXPECT_EQ(highest, RandMax);
    EXPECT_GT(seen.size(), 30000u);
}

TEST(Random, ReseedingRepeatsTheStream)
{
    SeedRand(777);
    const int a = Rand(), b = Rand();
    SeedRand(777);
    EXPECT_EQ(Rand(), a);
    EXPECT_EQ(Rand(), b);
    SeedRand(0);
    for (int i = 0; i < 1000; ++i) {
        const float r = RandUnit();
        ASSERT_GE(r, 0.0f);
        ASSERT_LE(r, 1.0f);
    }
}

TEST(Lookup, MissingKeyThrowsTheGameMessage)
{
    std::map<std::string, int> table{{"shotgun_fire", 3}};
    MapAt(table, std::string("shotgun_fire")) = 4;
    EXPECT_EQ(table["shotgun_fire"], 4);
    try {
        MapAt(table, std::string("missing"));
        FAIL() << "no exception";
    } catch (const std::out_of_range& error) {
        EXPECT_STREQ(error.what(), "invalid map<K, T> key");
    }
    const std::unordered_map<int, int> hashed{{1, 2}};
    EXPECT_EQ(MapAt(hashed, 1), 2);
    EXPECT_THROW(MapAt(hashed, 5), std::out_of_range);
}

TEST(GameErrors, CarryTheLiteralAndTheDetailApart)
{
    const GameError error("can't access file", "assets/maps/missing.json");
    EXPECT_STREQ(error.what(), "can't access file");
    EXPECT_EQ(error.Describe(), "can't access file (assets/maps/missing.json)");
    EXPECT_EQ(GameError("ReadData").Describe(), "ReadData");
}

TEST(Clock, ManualClockReplacesTheProcessClock)
{
    ManualClock manual(1000, 50);
    SetClock(&manual);
    EXPECT_EQ(GetClock().Counter(), 50u);
    manual.Advance(25);
    EXPECT_EQ(GetClock().Counter(), 75u);
    SetClock(nullptr);
    const uint64_t a = GetClock().Counter();
    const uint64_t b = GetClock().Counter();
    EXPECT_GE(b, a);
    EXPECT_EQ(GetClock().Frequency(), 1'000'000'000u);
    // Large counts convert without overflow.
    EXPECT_EQ(CounterToNanoseconds(3'000'000'000'000ull * 3, 3'000'000), 3'000'000'000'000'000ll);
}

} // namespace
} // namespace mirefell
