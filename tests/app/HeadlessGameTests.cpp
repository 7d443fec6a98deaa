// The whole shell on a real window and GL context with no display: SDL's
// offscreen driver, a manual clock, a few hundred fixed steps and their
// frames, then a posted quit.
#include <filesystem>

#include <gtest/gtest.h>

#include "ShellTestSupport.h"
#include "app/Game.h"
#include "app/MessageLoop.h"
#include "platform/EventPump.h"
#include "platform/GameWindow.h"
#include "platform/VideoSystem.h"

namespace mirefell
{
namespace
{

// The real window, with its presents counted.
class CountingWindow final : public IGameWindow
{
public:
    explicit CountingWindow(GameWindow& window_) : window(window_) {}
    void SetFullscreenState(bool fullscreen) override { window.SetFullscreenState(fullscreen); }
    void SetWindowedStyle(int width, int height) override { window.SetWindowedStyle(width, height); }
    void SetBorderlessStyle() override { window.SetBorderlessStyle(); }
    void SetRelativeMouseMode(bool relative) override { window.SetRelativeMouseMode(relative); }
    void CentreCursor() override { window.CentreCursor(); }
    std::vector<DisplayMode> GetDisplayModes() const override { return window.GetDisplayModes(); }
    void SetClientSize(int32_t width, int32_t height) override { window.SetClientSize(width, height); }
    void ClearBackBuffer(const Color& colour) override
    {
        window.ClearBackBuffer(colour);
        lastPixel = window.ReadBackBufferPixel(7, 5);
    }
    void Present(bool vsync) override
    {
        window.Present(vsync);
        ++presents;
    }
    GameWindow& window;
    int presents = 0;
    uint32_t lastPixel = 0x12345678;
};

class HeadlessGameTest : public testing::ShellTest
{
protected:
    VideoSystem video;
};

TEST_F(HeadlessGameTest, RunsThreeHundredStepsAndTheirFramesThenQuits)
{
    Settings& settings = Config::GetInstance().settings;
    settings.screenWidth = 320;
    settings.screenHeight = 200;
    settings.borderless = false;
    const WindowLayout layout = ChooseWindowLayout(true, false, 320, 200, 1024, 768);
    GameWindow real("mirefell", layout);
    CountingWindow window(real);
    Config::GetInstance().window = &window;
    {
        Game game;
        game.Initialize(&window, layout.width, layout.height);
        EventPump events;
        MessageLoop loop(game, events);

        int passes = 0;
        while (game.GetTimer().GetFrameCount() < 300 && passes < 10'000) {
            clock.Advance(testing::OneStep);
            ASSERT_TRUE(loop.RunOnce());
            ++passes;
        }
        EXPECT_EQ(game.GetTimer().GetFrameCount(), 300u);
        EXPECT_GE(window.presents, 290); // one per pass that ran a step
        EXPECT_EQ(window.lastPixel, 0xFF000000u) << "each frame starts cleared to opaque black";
        EXPECT_EQ(GameStateManager::GetInstance().current, GameState::MainMenu);

        EventPump::PostQuit();
        loop.Run(); // returns at the quit
        EXPECT_FALSE(loop.RunOnce());
    }
    Config::GetInstance().window = nullptr;
    EXPECT_TRUE(std::filesystem::exists(dir.File("config.json")));
}

} // namespace
} // namespace mirefell
