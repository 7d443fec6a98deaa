// The developer's aids read from the environment: what each variable turns
// on, when the program is told to end, and a frame count that is no number.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "app/DeveloperRun.h"
#include "platform/GameError.h"
#include "shell/GameStateManager.h"

namespace mirefell::testing
{
namespace
{

class DeveloperRunTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        for (const char* name : {DeveloperRun::ExitAfterTitleVariable, DeveloperRun::PlayLevelVariable,
                                 DeveloperRun::ExitAfterFramesVariable})
            ::unsetenv(name);
        GameStateManager::GetInstance().Reset();
    }
    static void Enter(GameState state) { GameStateManager::GetInstance().current = state; }
};

TEST_F(DeveloperRunTest, EachAidEndsTheProgramAtItsFrame)
{
    EXPECT_FALSE(DeveloperRun::FromEnvironment().Active());

    ::setenv(DeveloperRun::ExitAfterTitleVariable, "1", 1);
    DeveloperRun title = DeveloperRun::FromEnvironment();
    std::string line;
    Enter(GameState::Start);
    EXPECT_FALSE(title.AfterFrame(nullptr, line));
    Enter(GameState::MainMenu);
    EXPECT_TRUE(title.AfterFrame(nullptr, line));
    EXPECT_EQ(line, "mirefell: first title frame presented");
    ::unsetenv(DeveloperRun::ExitAfterTitleVariable);

    ::setenv(DeveloperRun::PlayLevelVariable, "descent", 1);
    ::setenv(DeveloperRun::ExitAfterFramesVariable, "3", 1);
    DeveloperRun play = DeveloperRun::FromEnvironment();
    EXPECT_EQ(play.playLevel, "descent");
    Enter(GameState::Loading); // frames of the loading screen do not count
    EXPECT_FALSE(play.AfterFrame(nullptr, line));
    Enter(GameState::Playing);
    EXPECT_FALSE(play.AfterFrame(nullptr, line));
    EXPECT_FALSE(play.AfterFrame(nullptr, line));
    EXPECT_TRUE(play.AfterFrame(nullptr, line));
    EXPECT_EQ(line, "mirefell: 3 frames of play presented");
}

TEST_F(DeveloperRunTest, AFrameCountThatIsNoNumberStopsTheStart)
{
    for (const char* bad : {"ten", "12x", "0", "-4"}) {
        ::setenv(DeveloperRun::ExitAfterFramesVariable, bad, 1);
        EXPECT_THROW(DeveloperRun::FromEnvironment(), GameError) << bad;
    }
}

} // namespace
} // namespace mirefell::testing
