// The whole game played in logic, with no GPU: a new game on Normal; each
// level loaded by Core from the game in progress, as the game loads it; its
// authored route walked to the exit with the god-mode cheat; the game
// advanced past each level-complete screen as the player would. The slot
// file written at each level's end holds that level's statistics, and the
// exit of the last level finishes the game.
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "LevelRoute.h"
#include "LevelSource.h"
#include "app/RouteWalker.h"
#include "gameplay/Player.h"
#include "platform/Random.h"
#include "support/CoreFixture.h"
#include "world/World.h"

namespace mirefell::testing
{
namespace
{

class WholeGame : public CoreTest
{};

struct LevelPlayed
{
    std::string id;
    uint32_t lootRecords = 0;              // "P" records in its map
    std::vector<unsigned> takenOnTheRoute; // "P" records the route walks over
};

TEST_F(WholeGame, ANewGameOnNormalIsPlayedThroughTheThreeLevelsToItsEnd)
{
    GameSaveManager& saves = GameSaveManager::GetInstance();
    bool finished = false;
    saves.onGameFinished = [&] { finished = true; };
    saves.NewGame(0, GameDifficulty::Normal, false, false);
    saves.current.lootSeed = LevelRouteTest::LootSeed; // the same loot on every run

    const LevelPlayed levels[] = {{"pentagram", 3, {200, 201}}, {"descent", 5, {308}}, {"mouth", 4, {304}}};
    for (const LevelPlayed& level : levels) {
        SCOPED_TRACE(level.id);
        Step(1); // the loading state builds the level from the game in progress
        ASSERT_EQ(State(), GameState::Playing);
        World& world = *core->GetWorld();
        ASSERT_EQ(world.map.name, level.id);
        SeedRand(LevelRouteTest::FightSeed); // the load seeds from the calendar clock
        auto& player = *static_cast<Player*>(world.player);
        if (level.id != "pentagram") {
            EXPECT_NE(player.equippedItem, nullptr) << "the weapon of the level before carries over";
            EXPECT_NE(player.inventory.FindByName("item_hammer"), nullptr) << "carried over";
            EXPECT_NE(player.inventory.FindByName("item_double_shotgun"), nullptr) << "carried over";
        }
        player.godMode = true;

        const int start = steps;
        const auto source =
            maptool::LevelSource::Load(std::string(MIREFELL_SOURCE_DIR) + "/assets/maps/src/" + level.id + ".lvl");
        RouteWalker walker(world, source.route);
        while (walker.Advance())
            Step(1);
        ASSERT_EQ(walker.Failure(), "");
        ASSERT_EQ(State(), GameState::LevelComplete);
        const auto seconds = static_cast<int32_t>((steps - start) / 60);

        // The slot as the level's end wrote it.
        saves.LoadSlotList();
        ASSERT_TRUE(saves.slots.contains(0));
        const GameSave& saved = saves.slots.at(0);
        EXPECT_EQ(saved.levelId, level.id);
        EXPECT_EQ(saved.difficulty, GameDifficulty::Normal);
        ASSERT_TRUE(saved.levels.contains(level.id));
        const GameSaveLevelData& record = saved.levels.at(level.id);
        EXPECT_EQ(record.itemCount, level.lootRecords);
        EXPECT_NEAR(record.bestTime, seconds, 1);
        EXPECT_EQ(record.totalTime, static_cast<uint32_t>(record.bestTime));
        for (const unsigned id : level.takenOnTheRoute)
            EXPECT_TRUE(record.pickedUpItemIds.contains(id)) << "pickup " << id;

        EXPECT_FALSE(finished);
        saves.AdvanceToNextLevel(); // past the level-complete screen
    }
    EXPECT_TRUE(finished);
    EXPECT_EQ(saves.current.highestLevel, 3);
}

} // namespace
} // namespace mirefell::testing
