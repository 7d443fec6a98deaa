// The whole shell on a real window and GL context with no display: SDL's
// offscreen driver, a manual clock, a few hundred fixed steps and their
// frames, then a posted quit; and a game played through on the test map:
// death and restart, the in-game menu, a lost device and the exit to the
// next level.
#include <filesystem>
#include <memory>

#include <gtest/gtest.h>

#include "app/Core.h"
#include "app/Game.h"
#include "app/MessageLoop.h"
#include "gameplay/GameSaveManager.h"
#include "gameplay/Player.h"
#include "platform/EventPump.h"
#include "platform/GameError.h"
#include "platform/GameWindow.h"
#include "platform/VideoSystem.h"
#include "platform/VirtualKey.h"
#include "render/EffectRegistry.h"
#include "render/GraphicsDevice.h"
#include "render/Mesh.h"
#include "render/PointLights.h"
#include "render/TextureRegistry.h"
#include "support/ForwardingWindow.h"
#include "support/ShellTestSupport.h"
#include "world/World.h"

namespace mirefell
{
namespace
{

// The real window, with its presents counted.
class CountingWindow final : public testing::ForwardingWindow
{
public:
    using ForwardingWindow::ForwardingWindow;
    void Present(bool vsync) override
    {
        // What the swap chain put on the window, just before it is shown.
        lastPixel = window.ReadBackBufferPixel(7, 5);
        window.Present(vsync);
        ++presents;
    }
    int presents = 0;
    uint32_t lastPixel = 0x12345678;
};

// A real 320 x 200 bordered window on the offscreen driver, counted.
class HeadlessGameTest : public testing::ShellTest
{
protected:
    void SetUp() override
    {
        testing::ShellTest::SetUp();
        Settings& settings = Config::GetInstance().settings;
        settings.screenWidth = 320;
        settings.screenHeight = 200;
        settings.borderless = false;
        real = std::make_unique<GameWindow>("mirefell", layout);
        window = std::make_unique<CountingWindow>(*real);
        Config::GetInstance().window = window.get();
    }
    void TearDown() override
    {
        Config::GetInstance().window = nullptr;
        window.reset();
        real.reset();
        testing::ShellTest::TearDown();
    }

    VideoSystem video;
    const WindowLayout layout = ChooseWindowLayout(true, false, 320, 200, 1024, 768);
    std::unique_ptr<GameWindow> real;
    std::unique_ptr<CountingWindow> window;
};

TEST_F(HeadlessGameTest, RunsThreeHundredStepsAndTheirFramesThenQuits)
{
    {
        Game game;
        game.Initialize(window.get(), layout.width, layout.height);
        EventPump events;
        MessageLoop loop(game, events);

        int passes = 0;
        while (game.GetTimer().GetFrameCount() < 300 && passes < 10'000) {
            clock.Advance(testing::OneStep);
            ASSERT_TRUE(loop.RunOnce());
            ++passes;
        }
        EXPECT_EQ(game.GetTimer().GetFrameCount(), 300u);
        EXPECT_GE(window->presents, 290); // one per pass that ran a step
        // The title frame is composed over the sky box: opaque and not black.
        EXPECT_EQ(window->lastPixel >> 24, 0xFFu);
        EXPECT_NE(window->lastPixel & 0xFFFFFFu, 0u) << "the title scene is drawn, not just cleared";
        EXPECT_EQ(GameStateManager::GetInstance().current, GameState::MainMenu);

        EventPump::PostQuit();
        loop.Run(); // returns at the quit
        EXPECT_FALSE(loop.RunOnce());
    }
    EXPECT_TRUE(std::filesystem::exists(dir.File("config.json")));
}

TEST_F(HeadlessGameTest, ALostDeviceIsRebuiltAndTheGameGoesOn)
{
    {
        Game game;
        game.Initialize(window.get(), layout.width, layout.height);
        ASSERT_NE(Device, nullptr);
        EXPECT_EQ(TextureRegistry::GetInstance().Entries().size(), 69u);
        EXPECT_FALSE(EffectRegistry::GetInstance().empty());
        EventPump events;
        MessageLoop loop(game, events);
        for (int i = 0; i < 10; ++i) {
            clock.Advance(testing::OneStep);
            ASSERT_TRUE(loop.RunOnce());
        }
        const uint32_t stepsBefore = game.GetTimer().GetFrameCount();

        game.OnDeviceLost();
        EXPECT_NE(Device, nullptr);
        EXPECT_EQ(TextureRegistry::GetInstance().Entries().size(), 69u);
        EXPECT_FALSE(EffectRegistry::GetInstance().empty());
        window->lastPixel = 0x12345678;
        for (int i = 0; i < 10; ++i) {
            clock.Advance(testing::OneStep);
            ASSERT_TRUE(loop.RunOnce());
        }
        EXPECT_EQ(window->lastPixel >> 24, 0xFFu) << "frames are drawn again on the new device";
        EXPECT_NE(window->lastPixel & 0xFFFFFFu, 0u);
        EXPECT_EQ(game.GetTimer().GetFrameCount(), stepsBefore + 10);
        EXPECT_EQ(GameStateManager::GetInstance().current, GameState::MainMenu);
    }
    EXPECT_EQ(Device, nullptr);
    EXPECT_TRUE(TextureRegistry::GetInstance().Entries().empty());
}

// Whether every drawable node of the tree has its device buffers.
bool HasBuffers(const Mesh& node)
{
    if (node.effectId != EffectIdNone && !node.vertexBuffer)
        return false;
    for (const auto& child : node.children)
        if (!HasBuffers(*child))
            return false;
    return true;
}

TEST_F(HeadlessGameTest, AGameIsPlayedThroughTheTestMapToTheNextLevel)
{
    LendTestMapAsLevels();
    GameSaveManager& saves = GameSaveManager::GetInstance();
    saves.current = GameSave();
    saves.onGameFinished = nullptr;
    {
        Game game;
        game.Initialize(window.get(), layout.width, layout.height);
        EventPump events;
        MessageLoop loop(game, events);
        GameStateManager& states = GameStateManager::GetInstance();
        SoundManager& sound = SoundManager::GetInstance();
        auto run = [&](int steps) {
            for (int i = 0; i < steps; ++i) {
                clock.Advance(testing::OneStep);
                ASSERT_TRUE(loop.RunOnce());
            }
        };
        auto player = [&] { return static_cast<Player*>(game.GetCore()->GetWorld()->player); };

        run(5);
        ASSERT_EQ(states.current, GameState::MainMenu);
        EXPECT_NE(sound.music, nullptr) << "the title music plays";
        EXPECT_EQ(sound.GetMusicLevelId(), "");

        saves.NewGame(0, GameDifficulty::Normal, false, false);
        run(60);
        ASSERT_EQ(states.current, GameState::Playing);
        World* world = game.GetCore()->GetWorld();
        ASSERT_NE(world, nullptr);
        EXPECT_TRUE(HasBuffers(game.GetCore()->GetRoot()));
        EXPECT_EQ(sound.GetMusicLevelId(), "pentagram");

        // Death, then Enter: the level is built again from the slot.
        player()->Kill();
        run(2);
        world->itemCount = -7; // marks this World
        Send(testing::KeyEvent(KeyEnter, true));
        run(1);
        Send(testing::KeyEvent(KeyEnter, false));
        run(2);
        ASSERT_EQ(states.current, GameState::Playing);
        EXPECT_NE(game.GetCore()->GetWorld()->itemCount, -7);
        EXPECT_FALSE(player()->IsDead());

        // The in-game menu stops the level clock.
        states.Request(GameState::IngameMenu);
        run(1);
        EXPECT_TRUE(player()->levelClock.IsPaused());
        states.Request(GameState::Playing);
        run(1);
        EXPECT_FALSE(player()->levelClock.IsPaused());

        // A lost device: the level and the state stay, the buffers return.
        game.GetCore()->GetWorld()->itemCount = -8;
        game.OnDeviceLost();
        run(2);
        EXPECT_EQ(states.current, GameState::Playing);
        EXPECT_EQ(game.GetCore()->GetWorld()->itemCount, -8);
        EXPECT_TRUE(HasBuffers(game.GetCore()->GetRoot()));

        // Into the closet, onto the exit: the level is complete, the music
        // stops; the next level follows.
        player()->SetPosition(Vector3(500, 71.03f, 68));
        run(2);
        ASSERT_EQ(states.current, GameState::LevelComplete);
        EXPECT_EQ(sound.music, nullptr);
        saves.AdvanceToNextLevel();
        run(2);
        ASSERT_EQ(states.current, GameState::Playing);
        EXPECT_EQ(saves.current.levelId, "descent");
        EXPECT_EQ(saves.current.highestLevel, 2);
        EXPECT_EQ(sound.GetMusicLevelId(), "descent");

        // "Save and exit": the title music again.
        states.Request(GameState::MainMenu);
        run(2);
        EXPECT_EQ(sound.GetMusicLevelId(), "");
        EXPECT_NE(sound.music, nullptr);
    }
    saves.current = GameSave();
    PointLights::GetInstance().Clear();
}

TEST_F(HeadlessGameTest, AGpuResetIsFoundAfterItsFrameAndTheLevelGoesOnOverANewContext)
{
    LendTestMapAsLevels();
    GameSaveManager& saves = GameSaveManager::GetInstance();
    saves.current = GameSave();
    saves.onGameFinished = nullptr;
    {
        Game game;
        game.Initialize(window.get(), layout.width, layout.height);
        EventPump events;
        MessageLoop loop(game, events);
        auto run = [&](int steps) {
            for (int i = 0; i < steps; ++i) {
                clock.Advance(testing::OneStep);
                ASSERT_TRUE(loop.RunOnce());
            }
        };
        saves.NewGame(0, GameDifficulty::Normal, false, false);
        run(60);
        ASSERT_EQ(GameStateManager::GetInstance().current, GameState::Playing);
        World* world = game.GetCore()->GetWorld();
        auto* player = static_cast<Player*>(world->player);
        player->health = 37.0f;
        const Vector3 position = player->position;

        // The driver reports a reset once; the frame that saw it is the last
        // on the old context.
        int asked = 0;
        real->SetResetStatusSource([&asked] { return ++asked == 1; });
        run(1);
        EXPECT_EQ(asked, 1);
        EXPECT_EQ(real->GetContextGeneration(), 1);
        EXPECT_NE(Device, nullptr);
        EXPECT_TRUE(HasBuffers(game.GetCore()->GetRoot()));

        window->lastPixel = 0x12345678;
        run(3);
        EXPECT_EQ(asked, 4) << "asked once a frame";
        EXPECT_EQ(real->GetContextGeneration(), 1);
        EXPECT_EQ(window->lastPixel >> 24, 0xFFu) << "frames are drawn again on the new context";
        EXPECT_NE(window->lastPixel & 0xFFFFFFu, 0u);
        EXPECT_EQ(GameStateManager::GetInstance().current, GameState::Playing);
        EXPECT_EQ(game.GetCore()->GetWorld(), world);
        EXPECT_EQ(player->health, 37.0f);
        EXPECT_NEAR(Vector3::Distance(player->position, position), 0.0f, 0.01f);
    }
    saves.current = GameSave();
    PointLights::GetInstance().Clear();
}

TEST_F(HeadlessGameTest, AGpuThatKeepsResettingEndsTheGameAtTheThirdResetWithinTenSecondsTheSettingsSaved)
{
    constexpr uint64_t Second = 10'000'000; // the manual clock's ticks
    const std::filesystem::path settings = dir.File("config.json");
    std::string stopped;
    {
        Game game;
        game.Initialize(window.get(), layout.width, layout.height);
        EventPump events;
        MessageLoop loop(game, events);
        auto pass = [&](uint64_t ticks) {
            clock.Advance(ticks);
            loop.RunOnce();
        };
        for (int i = 0; i < 5; ++i)
            pass(testing::OneStep);
        bool resetNext = false, resetAlways = false;
        real->SetResetStatusSource([&] {
            const bool reset = resetNext || resetAlways;
            resetNext = false;
            return reset;
        });

        // Resets 6 s apart, at 0, 6 and 12 s: the first and the third are
        // 12 s apart, so each is recovered.
        for (int reset = 0; reset < 3; ++reset) {
            resetNext = true;
            pass(reset == 0 ? testing::OneStep : 6 * Second);
        }
        ASSERT_EQ(real->GetContextGeneration(), 3);
        window->lastPixel = 0x12345678;
        pass(testing::OneStep);
        EXPECT_NE(window->lastPixel & 0xFFFFFFu, 0u) << "the title is drawn again";

        // 11 s on, a reset at every frame: the first (11 s after the one at
        // 12 s, so 17 s after the one at 6 s) and the second (11 s after the
        // one at 12 s) are recovered; the third comes within a few frames of
        // both and ends the game.
        resetAlways = true;
        clock.Advance(11 * Second);
        int frames = 0;
        for (; frames < 10 && stopped.empty(); ++frames) {
            try {
                pass(testing::OneStep);
            } catch (const GameError& error) {
                stopped = error.what();
            }
        }
        EXPECT_EQ(frames, 3);
        EXPECT_EQ(real->GetContextGeneration(), 5);
        EXPECT_FALSE(std::filesystem::exists(settings));
    }
    EXPECT_EQ(stopped, Game::GpuKeepsResetting);
    EXPECT_TRUE(std::filesystem::exists(settings)) << "the settings are saved as at any exit";
}

} // namespace
} // namespace mirefell
