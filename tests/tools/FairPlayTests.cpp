// Each shipped level as a new player meets it on "Normal" with no cheat (see
// LevelRoute, with god mode switched off again): a player standing still at
// the start is still alive twenty seconds later, and the level's authored
// route, walked by the game's walker with its fights, reaches the exit.
#include <gtest/gtest.h>

#include "LevelRoute.h"
#include "gameplay/GameSaveManager.h"
#include "gameplay/Player.h"
#include "shell/GameStateManager.h"

namespace mirefell::testing
{
namespace
{

constexpr int TwentySeconds = 20 * 60;

class FairPlay : public LevelRouteTest, public ::testing::WithParamInterface<const char*>
{
protected:
    void SetUp() override
    {
        LevelRouteTest::SetUp();
        LoadLevel(GetParam());
        ASSERT_FALSE(HasFatalFailure());
        player->godMode = false;
    }
};

TEST_P(FairPlay, StandingStillAtTheStartLivesTwentySeconds)
{
    Step(TwentySeconds);
    EXPECT_FALSE(player->dead);
    EXPECT_EQ(State(), GameState::Playing);
}

TEST_P(FairPlay, TheRouteReachesTheExitWithItsFightsAndNoCheat)
{
    WalkToTheExit();
    EXPECT_FALSE(player->godMode);
    EXPECT_FALSE(GameSaveManager::GetInstance().current.cheater);
}

INSTANTIATE_TEST_SUITE_P(ShippedLevels, FairPlay, ::testing::Values("pentagram", "descent", "mouth"),
                         [](const ::testing::TestParamInfo<const char*>& level) { return std::string(level.param); });

} // namespace
} // namespace mirefell::testing
