// The loot tables: the seeded lists, bit for bit, and how a pick reads them.
// The expected orders come from a reference of our own (mt19937 written out
// from its definition and the shuffle's draw rule), not from this code.
#include <algorithm>
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "gameplay/Loot.h"

namespace mirefell
{
namespace
{

std::vector<uint32_t> Kinds(const std::vector<LootEntry>& list)
{
    std::vector<uint32_t> kinds;
    for (const LootEntry& entry : list)
        kinds.push_back(entry.powerupType);
    return kinds;
}

LootEntry PickOf(int32_t seed, int32_t index, uint32_t tier)
{
    LootEntry entry{"caller", "caller", 99};
    Loot::Pick(seed, index, tier, entry);
    return entry;
}

TEST(Loot, AFixedSeedGivesFixedListsAAndB)
{
    PickOf(12345, 1, 3);
    EXPECT_EQ(Kinds(Loot::ListA()), (std::vector<uint32_t>{14, 11, 15, 13, 8, 10, 9}));
    EXPECT_EQ(Kinds(Loot::ListB()), (std::vector<uint32_t>{14, 13, 10, 15, 9, 8}));

    // A negative seed is its 32-bit pattern: -1 seeds with 0xFFFFFFFF.
    PickOf(-1, 1, 3);
    EXPECT_EQ(Kinds(Loot::ListA()), (std::vector<uint32_t>{14, 15, 8, 10, 13, 11, 9}));
    EXPECT_EQ(Kinds(Loot::ListB()), (std::vector<uint32_t>{10, 15, 14, 8, 9, 13}));

    // Back to the first seed: the same lists again.
    PickOf(12345, 1, 3);
    EXPECT_EQ(Kinds(Loot::ListA()), (std::vector<uint32_t>{14, 11, 15, 13, 8, 10, 9}));
    EXPECT_EQ(Loot::ListA()[0], (LootEntry{"nightmare", "nightmare", 14}));
    EXPECT_EQ(Loot::ListB()[1], (LootEntry{"armor", "armor", 13}));
}

TEST(Loot, ListAHoldsAllSevenAndListBNeverTheBoots)
{
    for (int32_t seed = 0; seed < 200; ++seed) {
        PickOf(seed, 1, 3);
        std::vector<uint32_t> a = Kinds(Loot::ListA());
        std::sort(a.begin(), a.end());
        EXPECT_EQ(a, (std::vector<uint32_t>{8, 9, 10, 11, 13, 14, 15})) << "seed " << seed;
        std::vector<uint32_t> b = Kinds(Loot::ListB());
        std::sort(b.begin(), b.end());
        EXPECT_EQ(b, (std::vector<uint32_t>{8, 9, 10, 13, 14, 15})) << "seed " << seed;
    }
}

TEST(Loot, ThePickReadsItsTierAndWrapsItsIndex)
{
    // Seed 12345: A = 14 11 15 13 8 10 9, B = 14 13 10 15 9 8.
    EXPECT_EQ(PickOf(12345, 1, 3).powerupType, 11u); // the second entry
    EXPECT_EQ(PickOf(12345, 7, 3).powerupType, 14u); // 7 mod 7: the first
    EXPECT_EQ(PickOf(12345, 6, 4).powerupType, 14u); // 6 mod 6
    // -1 is 2^64 - 1: 1 modulo 7, 3 modulo 6.
    EXPECT_EQ(PickOf(12345, -1, 3).powerupType, 11u);
    EXPECT_EQ(PickOf(12345, -1, 4).powerupType, 15u);

    EXPECT_EQ(PickOf(12345, 5, 1), (LootEntry{"hammer", "hammer", 6}));
    EXPECT_EQ(PickOf(12345, 5, 2), (LootEntry{"double_shotgun", "double_shotgun", 7}));
    EXPECT_EQ(PickOf(12345, 1, 0), (LootEntry{"caller", "caller", 99}));
    EXPECT_EQ(PickOf(12345, 1, 5), (LootEntry{"caller", "caller", 99}));
}

} // namespace
} // namespace mirefell
