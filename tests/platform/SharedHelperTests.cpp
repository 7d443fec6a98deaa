// The generator every gameplay roll draws from, the throwing look-up, the
// process clock and the escaping of quoted file text.
#include <map>
#include <set>
#include <unordered_map>

#include <gtest/gtest.h>

#include "platform/Clock.h"
#include "platform/GameError.h"
#include "platform/Lookup.h"
#include "platform/PrintableText.h"
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

TEST(PrintableText, KeepsUtf8AndEscapesWhatIsNoneAndControlCharacters)
{
    // Letters of one to four bytes, and backslashes, pass as they are.
    const std::string letters = "a\\b \xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80 \xf4\x8f\xbf\xbf";
    EXPECT_EQ(PrintableText(letters), letters);
    // C0 controls, DEL and C1 controls.
    EXPECT_EQ(PrintableText(std::string("\x1b[31m\n\t\x7f\0", 9)), "\\x1B[31m\\x0A\\x09\\x7F\\x00");
    EXPECT_EQ(PrintableText("\xc2\x9b"
                            "2J \xc2\x80 \xc2\xa0"),
              "\\u009B2J \\u0080 \xc2\xa0");
    // The controls that turn the direction of the rest of a line (U+202E
    // would print the message after a name backwards); their neighbours pass.
    EXPECT_EQ(
        PrintableText("evil\xe2\x80\xae"
                      "txt.exe \xd8\x9c\xe2\x80\x8e\xe2\x80\xaa\xe2\x81\xa6\xe2\x81\xa9 \xe2\x80\xaf\xe2\x81\xa5"),
        "evil\\u202Etxt.exe \\u061C\\u200E\\u202A\\u2066\\u2069 \xe2\x80\xaf\xe2\x81\xa5");
    // A stray continuation byte, a lead byte with too few continuations (also
    // at the end), overlong forms, a surrogate, past U+10FFFF, bytes never
    // used: each offending byte is escaped, what follows is read afresh.
    EXPECT_EQ(PrintableText("\x80"
                            "a"),
              "\\x80a");
    EXPECT_EQ(PrintableText("\xe2\x82"
                            "a\xe2\x82"),
              "\\xE2\\x82a\\xE2\\x82");
    EXPECT_EQ(PrintableText("\xc0\xaf \xe0\x80\xaf"), "\\xC0\\xAF \\xE0\\x80\\xAF");
    EXPECT_EQ(PrintableText("\xed\xa0\x80"), "\\xED\\xA0\\x80");
    EXPECT_EQ(PrintableText("\xf4\x90\x80\x80"), "\\xF4\\x90\\x80\\x80");
    EXPECT_EQ(PrintableText("\xfe\xff\xf5"), "\\xFE\\xFF\\xF5");
    EXPECT_EQ(PrintableText(""), "");
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
