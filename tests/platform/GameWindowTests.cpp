// The real window and GL context, headless: SDL's offscreen driver gives a
// context on Mesa's software rasteriser with no display.
#include <gtest/gtest.h>

#include "platform/EventPump.h"
#include "platform/GameWindow.h"
#include "platform/VideoSystem.h"
#include "platform/gpu/Device.h"

namespace mirefell
{
namespace
{

class GameWindowTest : public ::testing::Test
{
protected:
    // Takes events until one of `type` arrives; false when the queue runs dry.
    bool Await(PlatformEventType type, PlatformEvent& found)
    {
        EventPump pump;
        while (pump.PollEvent(found)) {
            if (found.type == type)
                return true;
        }
        return false;
    }
    void Drain()
    {
        PlatformEvent ignored;
        Await(PlatformEventType::None, ignored);
    }

    VideoSystem video;
};

TEST_F(GameWindowTest, MakesACoreContextOfAtLeast33WithAnSrgbBackBuffer)
{
    GameWindow window("mirefell", {false, 0, 0, 320, 200});
    EXPECT_GE(window.GetContextVersion(), 33);
    EXPECT_TRUE(window.IsBackBufferSrgb());
    int32_t width = 0, height = 0;
    window.GetClientSize(width, height);
    EXPECT_EQ(width, 320);
    EXPECT_EQ(height, 200);
    EXPECT_FALSE(window.IsBordered());
}

TEST_F(GameWindowTest, TheClearColourIsLinearAndStoredAsSrgb)
{
    GameWindow window("mirefell", {false, 0, 0, 320, 200});
    window.ClearBackBuffer(Color(0.5f, 0.25f, 1.0f, 1.0f));
    const uint32_t pixel = window.ReadBackBufferPixel(10, 10);
    // sRGB encodings of 0.5 and 0.25 are 0.735 and 0.537.
    EXPECT_NEAR(static_cast<int>(pixel & 0xFF), 188, 1);
    EXPECT_NEAR(static_cast<int>(pixel >> 8 & 0xFF), 137, 1);
    EXPECT_EQ(pixel >> 16, 0xFFFFu);
    window.Present(true);
    window.ClearBackBuffer(Color(0.0f, 0.0f, 0.0f, 1.0f));
    EXPECT_EQ(window.ReadBackBufferPixel(319, 199), 0xFF000000u);
    window.Present(false);
}

TEST_F(GameWindowTest, ALostContextStaysLostUntilTheNextDeviceIsMadeOnANewOne)
{
    GameWindow window("mirefell", {false, 0, 0, 320, 200});
    auto device = window.CreateGpuDevice();
    EXPECT_FALSE(window.IsGpuDeviceLost());

    bool reset = true;
    window.SetResetStatusSource([&reset] { return reset; });
    EXPECT_TRUE(window.IsGpuDeviceLost());
    reset = false; // the driver's status clears once the reset is over
    EXPECT_TRUE(window.IsGpuDeviceLost());
    EXPECT_EQ(window.GetContextGeneration(), 0);

    device.reset();
    device = window.CreateGpuDevice();
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(window.GetContextGeneration(), 1);
    EXPECT_FALSE(window.IsGpuDeviceLost());
    // The new context is set up as the first was: an sRGB back buffer.
    window.ClearBackBuffer(Color(0.5f, 0.25f, 1.0f, 1.0f));
    const uint32_t pixel = window.ReadBackBufferPixel(10, 10);
    EXPECT_NEAR(static_cast<int>(pixel & 0xFF), 188, 1);
    EXPECT_NEAR(static_cast<int>(pixel >> 8 & 0xFF), 137, 1);
    window.Present(false);

    // A device made while nothing was lost keeps the context.
    device.reset();
    device = window.CreateGpuDevice();
    EXPECT_EQ(window.GetContextGeneration(), 1);
}

TEST_F(GameWindowTest, RestylesEntersAndLeavesFullScreenAndReportsSizes)
{
    GameWindow window("mirefell", {true, 100, 100, 640, 480});
    EXPECT_TRUE(window.IsBordered());
    Drain();

    window.SetClientSize(400, 300);
    PlatformEvent event;
    ASSERT_TRUE(Await(PlatformEventType::SizeChanged, event));
    EXPECT_EQ(event.width, 400);
    EXPECT_EQ(event.height, 300);

    window.SetFullscreenState(true);
    EXPECT_TRUE(window.IsFullscreen());
    window.SetFullscreenState(false);
    EXPECT_FALSE(window.IsFullscreen());

    // (The offscreen driver keeps the frame flag as created, so only sizes
    // are checked after a restyle.)
    window.SetBorderlessStyle();
    int32_t screenWidth = 0, screenHeight = 0, width = 0, height = 0;
    ASSERT_TRUE(VideoSystem::GetScreenSize(screenWidth, screenHeight));
    window.GetClientSize(width, height);
    EXPECT_EQ(width, screenWidth);
    EXPECT_EQ(height, screenHeight);

    window.SetWindowedStyle(800, 600);
    window.GetClientSize(width, height);
    EXPECT_LE(width, 800); // the frame, when there is one, takes the rest
    EXPECT_LE(height, 600);
}

} // namespace
} // namespace mirefell
