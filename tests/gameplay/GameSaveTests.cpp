// The save-game record: a fresh game, the score's float arithmetic and the
// labels the menus show.
#include <gtest/gtest.h>

#include "gameplay/GameSave.h"
#include "gameplay/GameSaveManager.h"

namespace mirefell
{
namespace
{

TEST(GameSave, FreshRecordStartsAtTheFirstLevelWithZeroedUnsetFields)
{
    const GameSave save;
    EXPECT_FLOAT_EQ(save.health, 100.0f);
    EXPECT_FLOAT_EQ(save.armor, 0.0f);
    EXPECT_EQ(save.levelId, "pentagram");
    EXPECT_EQ(save.highestLevel, 1);
    EXPECT_TRUE(save.levels.empty());
    EXPECT_TRUE(save.items.empty());
    EXPECT_FALSE(save.freshGame || save.blackout || save.permadeath || save.permadead || save.cheater);
    // What a new game or a loaded file sets later starts at zero.
    EXPECT_EQ(save.slot, 0);
    EXPECT_EQ(static_cast<int32_t>(save.difficulty), 0);
    EXPECT_EQ(save.saveTime, 0);
    EXPECT_TRUE(save.equippedItem.IsEmpty());
    EXPECT_NE(save.lootSeed, 0u);
}

GameSave WithLevels(GameDifficulty difficulty, std::initializer_list<std::pair<int32_t, size_t>> timesAndPickups)
{
    GameSave save;
    save.difficulty = difficulty;
    int n = 0;
    for (const auto& [bestTime, pickups] : timesAndPickups) {
        GameSaveLevelData& level = save.levels["level" + std::to_string(n++)];
        level.bestTime = bestTime;
        for (unsigned id = 0; id < pickups; ++id)
            level.pickedUpItemIds[id] = true;
    }
    return save;
}

TEST(GameSave, ScoreRewardsPickupsAndFastRuns)
{
    EXPECT_EQ(WithLevels(GameDifficulty::Normal, {{0, 0}}).GetScore(), 8888);
    EXPECT_EQ(WithLevels(GameDifficulty::Easy, {{-1, 20}, {-1, 34}}).GetScore(), 39999); // all 54 pickups
    EXPECT_EQ(WithLevels(GameDifficulty::Normal, {{-1, 0}, {180, 0}, {500, 0}}).GetScore(), 0);
    EXPECT_EQ(WithLevels(GameDifficulty::Normal, {{90, 0}}).GetScore(), 4444);
    EXPECT_EQ(WithLevels(GameDifficulty::Normal, {{-1, 1}}).GetScore(), 987); // 53333 / 54

    GameSave hardest = WithLevels(GameDifficulty::Masochistic, {{-1, 54}});
    hardest.blackout = true;
    hardest.permadeath = true;
    EXPECT_EQ(hardest.GetScore(), 249998); // 53333 x 3.0 x 1.25 x 1.25
    hardest.blackout = false;
    EXPECT_EQ(hardest.GetScore(), 199998);

    EXPECT_THROW(GameSave().GetScore(), std::out_of_range) << "no difficulty chosen yet";
}

TEST(GameSave, LabelsNameTheDifficultyAndModifiers)
{
    EXPECT_EQ(GameSaveManager::GetDifficultyLabel(GameDifficulty::VeryHard, true, true, true),
              L"Very Hard Blackout Permadead");
    EXPECT_EQ(GameSaveManager::GetDifficultyLabel(GameDifficulty::Normal, false, true, false), L"Normal Permadeath");
    EXPECT_EQ(GameSaveManager::GetDifficultyLabel(GameDifficulty::Easy, false, false, true), L"Easy");
    EXPECT_THROW(GameSaveManager::GetDifficultyLabel(GameDifficulty{6}, false, false, false), std::out_of_range);

    GameSave save;
    save.difficulty = GameDifficulty::Masochistic;
    save.blackout = true;
    EXPECT_EQ(GameSaveManager::GetModeLabel(save), L"Masochistic Blackout");
    save.cheater = true;
    EXPECT_EQ(GameSaveManager::GetModeLabel(save), L"Cheater");

    EXPECT_EQ(GameSaveManager::GetLevelLabel(Levels::GetLevel("pentagram")), L"Level 1 - Pentagram");
    EXPECT_EQ(GameSaveManager::GetLevelLabel(Levels::GetLevel("mouth")), L"Level 3 - Mouth");
}

} // namespace
} // namespace mirefell
