// The Game's frame loop over a recording window: when frames are drawn and
// presented, how sizes and full screen reach the window, and how a pause is
// forgotten. Core's per-state branches are exercised through the same loop.
#include <filesystem>

#include <gtest/gtest.h>

#include "app/Core.h"
#include "app/Game.h"
#include "gameplay/GameSaveManager.h"
#include "platform/VirtualKey.h"
#include "shell/INotificationService.h"
#include "shell/Screen.h"
#include "support/ShellTestSupport.h"
#include "ui/NotificationBox.h"

namespace mirefell
{
namespace
{

using testing::OneStep;

class GameTest : public testing::ShellTest
{
protected:
    std::unique_ptr<Game> MakeGame(int32_t width = 800, int32_t height = 600)
    {
        auto game = std::make_unique<Game>();
        game->Initialize(&window, width, height);
        return game;
    }
    // Advances the clock and ticks; returns the steps the tick ran.
    uint32_t TickAfter(Game& game, uint64_t ticks)
    {
        clock.Advance(ticks);
        const uint32_t before = game.GetTimer().GetFrameCount();
        game.Tick();
        return game.GetTimer().GetFrameCount() - before;
    }
    // Ticks with nothing but the Game's own waits moving the clock, as on an
    // idle title screen whose frames cost next to nothing, until a second
    // has passed; false when the loop spun instead (2000 passes, no time).
    bool TickThroughOneSecondOfWaits(Game& game)
    {
        const uint64_t start = clock.Counter();
        for (int pass = 0; pass < 2000 && clock.Counter() - start < 10'000'000; ++pass)
            game.Tick();
        return clock.Counter() - start >= 10'000'000;
    }
    testing::RecordingWindow window;
    Settings& settings = Config::GetInstance().settings;
};

TEST_F(GameTest, NoFrameBeforeTheFirstStepThenOneFramePerTick)
{
    auto game = MakeGame();
    EXPECT_EQ(TickAfter(*game, 0), 0u);
    EXPECT_EQ(TickAfter(*game, OneStep - 2600), 0u); // outside the snap: nothing yet
    EXPECT_EQ(window.Presents(), 0);
    EXPECT_EQ(GameStateManager::GetInstance().current, GameState::MainMenu);
    EXPECT_TRUE(GameStateManager::GetInstance().changed) << "announced at the first step";

    EXPECT_EQ(TickAfter(*game, 2600), 1u);
    EXPECT_FALSE(GameStateManager::GetInstance().changed);
    EXPECT_EQ(window.syncedPresents, 1);
    EXPECT_EQ(window.clears, 1);
    EXPECT_EQ(window.lastClear, Core::ClearColour);

    EXPECT_EQ(TickAfter(*game, 20 * OneStep), 6u); // a stall: 100 ms of catch-up at most
    EXPECT_EQ(window.syncedPresents, 2);
    TickAfter(*game, 1000); // a tick that runs no step still redraws
    EXPECT_EQ(window.syncedPresents, 3);
}

TEST_F(GameTest, WithoutVsyncTheLimiterDrawsAtMost180FramesASecond)
{
    settings.vsync = false;
    auto game = MakeGame();
    const uint64_t end = clock.Counter() + 10'000'000;
    while (clock.Counter() < end)
        TickAfter(*game, 10'000); // 1 ms of work per pass, then what the limiter sleeps, for one second
    EXPECT_EQ(window.syncedPresents, 0);
    EXPECT_LE(window.unsyncedPresents, 180);
    // The pass after each wait costs its 1 ms: a frame every 6.56 ms.
    EXPECT_GE(window.unsyncedPresents, 150);

    settings.frameLimiter = false;
    window.unsyncedPresents = 0;
    for (int i = 0; i < 100; ++i)
        TickAfter(*game, 10'000);
    EXPECT_EQ(window.unsyncedPresents, 100);
}

// Each wait must sleep, busy-waiting no more than its last SpinNanoseconds.
TEST_F(GameTest, TheLimiterSleepsOutEachFrameInsteadOfSpinning)
{
    settings.vsync = false;
    auto game = MakeGame();
    ASSERT_TRUE(TickThroughOneSecondOfWaits(*game)) << "the loop spun without sleeping";
    // A frame every 1/180 s once the first step has run at 1/60 s.
    EXPECT_GE(window.unsyncedPresents, 176);
    EXPECT_LE(window.unsyncedPresents, 180);
    ASSERT_GE(sleeper.sleeps.size(), 179u);
    EXPECT_LE(sleeper.sleeps.size(), 181u);
    for (uint64_t sleep : sleeper.sleeps) {
        EXPECT_GE(sleep, 5'200'000u); // 1/180 s less the 0.3 ms spun
        EXPECT_LE(sleep, 5'300'000u);
    }
    EXPECT_GE(sleeper.SleptNanoseconds(), 940'000'000u); // of the 1 s that passed
}

TEST_F(GameTest, AVsyncTheDisplayIgnoresIsMadeUpBySleeping)
{
    // This window's present returns at once, as on drivers that ignore vsync.
    auto game = MakeGame();
    TickAfter(*game, OneStep); // the first step and frame
    ASSERT_TRUE(TickThroughOneSecondOfWaits(*game)) << "the loop spun without sleeping";
    EXPECT_GE(window.syncedPresents, 60);
    EXPECT_LE(window.syncedPresents, 62);
    ASSERT_GE(sleeper.sleeps.size(), 59u);
    for (uint64_t sleep : sleeper.sleeps) {
        EXPECT_GE(sleep, 16'300'000u); // 1/60 s less the 0.3 ms spun
        EXPECT_LE(sleep, 16'400'000u);
    }

    // A display that waits (time passes between presents) gets no extra
    // sleep, at its own refresh rate.
    window.refreshRate = 144;
    auto fast = MakeGame();
    sleeper.sleeps.clear();
    sleeper.yields = 0;
    for (int i = 0; i < 144; ++i)
        TickAfter(*fast, 10'000'000 / 144);
    EXPECT_GE(window.syncedPresents, 150);
    EXPECT_TRUE(sleeper.sleeps.empty());
    EXPECT_EQ(sleeper.yields, 0);
}

TEST_F(GameTest, SizesReachTheCoreNeverBelowOnePixel)
{
    auto game = MakeGame(1024, 768);
    EXPECT_EQ(ScreenWidth, 1024);
    EXPECT_EQ(ScreenHeight, 768);
    game->OnWindowSizeChanged(0, 0); // minimised
    EXPECT_EQ(game->GetOutputWidth(), 1);
    EXPECT_EQ(ScreenWidth, 1);
    EXPECT_EQ(ScreenHeight, 1);
    game->OnWindowSizeChanged(640, 360);
    EXPECT_EQ(ScreenWidth, 640);
    EXPECT_EQ(window.Count("fullscreen"), 0) << "a windowed game never asks for full screen";
    // The display sizes were read once, rates of one size merged.
    EXPECT_EQ(Config::GetInstance().displayModes, (std::vector<DisplaySize>{{640, 480}, {1920, 1080}}));
}

TEST_F(GameTest, AFullScreenGameReentersFullScreenOnEveryResizeAndLeavesItAtTheEnd)
{
    settings.windowed = false;
    auto game = MakeGame();
    EXPECT_EQ(window.Count("fullscreen"), 1);
    game->OnWindowSizeChanged(800, 600);
    EXPECT_EQ(window.Count("fullscreen"), 2);
    game.reset();
    EXPECT_EQ(window.calls.back(), "windowed");
}

TEST_F(GameTest, SwitchingToFullScreenSizesTheBackBufferToTheSettingsFirst)
{
    auto game = MakeGame();
    window.calls.clear();
    Config& config = Config::GetInstance();
    config.pending = settings;
    config.pending.windowed = false;
    config.pending.screenWidth = 1280;
    config.pending.screenHeight = 720;
    config.ApplyDisplaySettings();
    EXPECT_EQ(window.calls, (std::vector<std::string>{"windowed", "client 1280x720", "fullscreen", "fullscreen"}));
    EXPECT_EQ(ScreenWidth, 1280);
    EXPECT_EQ(ScreenHeight, 720);
}

TEST_F(GameTest, ResumingForgetsTheTimeAway)
{
    auto game = MakeGame();
    TickAfter(*game, OneStep);
    game->Suspend();
    clock.Advance(5 * 10'000'000ull);
    game->Resume();
    EXPECT_EQ(TickAfter(*game, OneStep), 1u);
}

TEST_F(GameTest, TheDefaultScreenSizeIsTheLargestModeOrAFallback)
{
    int32_t width = 0, height = 0;
    Game::QueryDefaultScreenSize(window.modes, width, height);
    EXPECT_EQ(width, 1920);
    EXPECT_EQ(height, 1080);
    Game::QueryDefaultScreenSize({}, width, height);
    EXPECT_EQ(width, Game::DefaultWidth);
    EXPECT_EQ(height, Game::DefaultHeight);
}

TEST_F(GameTest, DestroyingTheGameWritesTheSettings)
{
    auto game = MakeGame();
    settings.fov = 110.0f;
    game.reset();
    Config::GetInstance().Reset();
    Config::GetInstance().Load();
    EXPECT_EQ(Config::GetInstance().settings.fov, 110.0f);
}

TEST_F(GameTest, CoreStepsByStateToggleTheOverlayOnceAndClearTheWheel)
{
    auto game = MakeGame();
    Input& input = Input::GetInstance();
    Profiler& profiler = Profiler::GetInstance();
    TickAfter(*game, OneStep); // now in the main menu

    Send(testing::KeyEvent(KeyF1, true));
    input.wheel = 1;
    TickAfter(*game, OneStep);
    EXPECT_TRUE(profiler.visible);
    EXPECT_EQ(input.wheel, 0);
    TickAfter(*game, OneStep); // still held
    EXPECT_TRUE(profiler.visible);
    Send(testing::KeyEvent(KeyF1, false));
    TickAfter(*game, OneStep);
    Send(testing::KeyEvent(KeyF1, true));
    TickAfter(*game, OneStep);
    EXPECT_FALSE(profiler.visible);

    EXPECT_FALSE(profiler.GetStats().contains(L"update time"));
    GameStateManager::GetInstance().Request(GameState::Playing);
    TickAfter(*game, OneStep);
    ASSERT_TRUE(profiler.GetStats().contains(L"update time"));
    EXPECT_EQ(profiler.GetStats().find(L"update time")->second.count, 1u);
}

TEST_F(GameTest, FramesPerSecondCountsTheLastWholeSecondInTheStatesThatShowIt)
{
    auto game = MakeGame();
    // Thirty frames spread over the first second of the Core's life.
    for (int i = 0; i < 30; ++i)
        TickAfter(*game, 10'000'000 / 30 + 1);
    EXPECT_EQ(game->GetCore()->GetFramesPerSecond(), 30u);
    const auto& stats = Profiler::GetInstance().GetStats();
    ASSERT_TRUE(stats.contains(L"fps"));
    EXPECT_EQ(stats.find(L"fps")->second.max, 30.0f);

    Profiler::GetInstance().ClearStatistics();
    // A level is only ever completed in a game, which has a difficulty.
    GameSaveManager::GetInstance().current.difficulty = GameDifficulty::Normal;
    GameStateManager::GetInstance().Request(GameState::LevelComplete);
    TickAfter(*game, OneStep);
    EXPECT_FALSE(stats.contains(L"fps"));
}

TEST_F(GameTest, WhatTheGameplayPostsLandsInTheNotificationBoxWhileTheCoreLives)
{
    auto& messages = NotificationBox::GetMessages();
    NotificationBox::Clear(messages);
    {
        auto game = MakeGame();
        GetNotificationService().Notify(L"You need the red key to open this door.", 300);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages.front().text, L"You need the red key to open this door.");
        EXPECT_EQ(messages.front().ticks, 300);
    }
    GetNotificationService().Notify(L"after the Core", 300); // the silent service again
    EXPECT_EQ(messages.size(), 1u);
    NotificationBox::Clear(messages);
}

} // namespace
} // namespace mirefell
