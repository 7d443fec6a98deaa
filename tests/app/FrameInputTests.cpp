// Keys pressed between frames, through the message loop and the fixed-step
// timer, which runs none, one or several steps in a frame: on the
// level-complete screen every Enter the player makes counts once, also one
// pressed and released within a frame, one pressed again before the next
// frame and two tapped within one frame.
#include <deque>

#include <gtest/gtest.h>

#include "app/Core.h"
#include "app/Game.h"
#include "app/MessageLoop.h"
#include "gameplay/GameSaveManager.h"
#include "gameplay/Player.h"
#include "platform/VirtualKey.h"
#include "support/ShellTestSupport.h"
#include "world/World.h"

namespace mirefell
{
namespace
{

using testing::KeyEvent;
using testing::OneStep;

// The 100 ms a frame is allowed to catch up: six steps.
constexpr uint64_t SlowFrame = 1'000'000;
// Too short for a step.
constexpr uint64_t FastFrame = 50'000;

class FrameInput : public testing::ShellTest
{
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        LendTestMapAsLevels();
        ResetSaves();
        game = std::make_unique<Game>();
        game->Initialize(&window, 800, 600);
        loop = std::make_unique<MessageLoop>(*game, events);
    }
    void TearDown() override
    {
        loop.reset();
        game.reset();
        ResetSaves();
        ShellTest::TearDown();
    }
    static void ResetSaves()
    {
        GameSaveManager& saves = GameSaveManager::GetInstance();
        saves.current = GameSave();
        saves.slots.clear();
        saves.onGameFinished = nullptr;
    }
    // One pass of the loop as the window sees it: the events that came since
    // the last frame are handled, then one tick after `ticks` of time.
    // Returns the steps the tick ran.
    uint32_t Frame(std::deque<PlatformEvent> happened, uint64_t ticks)
    {
        events.queue = std::move(happened);
        while (!events.queue.empty())
            loop->RunOnce();
        clock.Advance(ticks);
        const uint32_t before = game->GetTimer().GetFrameCount();
        loop->RunOnce();
        return game->GetTimer().GetFrameCount() - before;
    }
    // A new game on the first level, completed: the level-complete screen
    // shows with its rows still sliding.
    void CompleteFirstLevel()
    {
        GameSaveManager::GetInstance().NewGame(0, GameDifficulty::Normal, false, false);
        ASSERT_EQ(Frame({}, OneStep), 1u);
        ASSERT_EQ(State(), GameState::Playing);
        static_cast<Player*>(game->GetCore()->GetWorld()->player)->CompleteLevel();
        ASSERT_EQ(Frame({}, OneStep), 1u);
        ASSERT_EQ(State(), GameState::LevelComplete);
    }
    static GameState State() { return GameStateManager::GetInstance().current; }
    static std::string LevelId() { return GameSaveManager::GetInstance().current.levelId; }

    testing::RecordingWindow window;
    testing::ScriptedEvents events;
    std::unique_ptr<Game> game;
    std::unique_ptr<MessageLoop> loop;
};

// Enter lands the rows and is still held when the frame ends; released and
// pressed again before the next frame, it goes on, once, in a frame of six
// steps.
TEST_F(FrameInput, EnterPressedAgainWithinOneFrameGoesOnFromTheLevelCompleteScreen)
{
    CompleteFirstLevel();
    ASSERT_EQ(Frame({KeyEvent(KeyEnter, true)}, OneStep), 1u);
    ASSERT_EQ(State(), GameState::LevelComplete) << "the rows land";

    ASSERT_EQ(Frame({KeyEvent(KeyEnter, false), KeyEvent(KeyEnter, true), KeyEvent(KeyEnter, false)}, SlowFrame), 6u);
    EXPECT_EQ(State(), GameState::Playing);
    EXPECT_EQ(LevelId(), "descent");
}

// Two taps of Enter within one frame: the first lands the rows, the second,
// at the next step, goes on.
TEST_F(FrameInput, TwoEntersWithinOneFrameLandTheRowsAndGoOn)
{
    CompleteFirstLevel();
    ASSERT_EQ(Frame({KeyEvent(KeyEnter, true), KeyEvent(KeyEnter, false), KeyEvent(KeyEnter, true),
                     KeyEvent(KeyEnter, false)},
                    SlowFrame),
              6u);
    EXPECT_EQ(State(), GameState::Playing);
    EXPECT_EQ(LevelId(), "descent");
}

// Taps shorter than a frame, at frames of one step and of none: the first
// lands the rows, the second, made in a frame that runs no step, goes on at
// the next step.
TEST_F(FrameInput, EnterTappedInFramesOfOneStepAndOfNoneCountsEveryTime)
{
    CompleteFirstLevel();
    ASSERT_EQ(Frame({KeyEvent(KeyEnter, true), KeyEvent(KeyEnter, false)}, OneStep), 1u);
    ASSERT_EQ(State(), GameState::LevelComplete) << "the rows land";

    ASSERT_EQ(Frame({KeyEvent(KeyEnter, true), KeyEvent(KeyEnter, false)}, FastFrame), 0u);
    EXPECT_EQ(State(), GameState::LevelComplete);
    ASSERT_GE(Frame({}, OneStep), 1u); // with what the frames before left over
    EXPECT_EQ(State(), GameState::Playing);
    EXPECT_EQ(LevelId(), "descent");
}

} // namespace
} // namespace mirefell
