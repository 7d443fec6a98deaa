// The level table's order, links and look-up failures.
#include <gtest/gtest.h>

#include "shell/Levels.h"

namespace mirefell
{
namespace
{

TEST(Levels, ThreeLevelsInPlayingOrderLinkedToTheEnd)
{
    const auto& levels = Levels::GetAll();
    ASSERT_EQ(levels.size(), 3u);
    EXPECT_EQ(levels[0].id, "pentagram");
    EXPECT_EQ(levels[1].id, "descent");
    EXPECT_EQ(levels[2].id, "mouth");
    // Walking the next ids from the first level visits every level once.
    std::string id = "pentagram";
    uint32_t expectedNumber = 1;
    while (!id.empty()) {
        const LevelInfo& level = Levels::GetLevel(id);
        EXPECT_EQ(level.number, expectedNumber++);
        id = level.nextId;
    }
    EXPECT_EQ(expectedNumber, 4u);
    EXPECT_EQ(Levels::GetLevel("descent").musicTrack, "music_track2");
    EXPECT_EQ(Levels::GetLevel("mouth").displayName, L"Mouth");
    // Repeated use does not add entries again.
    EXPECT_EQ(Levels::GetAll().size(), 3u);
}

TEST(Levels, UnknownIdsAreRefused)
{
    EXPECT_THROW(Levels::GetLevel("Pentagram"), std::out_of_range); // ids are case-sensitive
    EXPECT_FALSE(Levels::Exists(""));
    EXPECT_TRUE(Levels::Exists("mouth"));
}

} // namespace
} // namespace mirefell
