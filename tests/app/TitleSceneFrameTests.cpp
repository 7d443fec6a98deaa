// The title scene drawn by Core in the main-menu state on llvmpipe: the
// swoop run to its end, then the frame sampled where the word, the ring band
// and the dark surroundings fall; pictures in test-output/title_scene.png
// (1280 x 720, for the eye), title_scene_swoop.png (mid-swoop) and
// title_scene_after_level.png (back from a level full of lights),
// title_scene_waving.png (the distortion under the menu); and the title with
// its menu at each supported size, as a player sees it, in
// test-output/screens/<size>/title_scene_menu.png.
#include <gtest/gtest.h>

#include <memory>

#include "app/Core.h"
#include "platform/Random.h"
#include "platform/gpu/Context.h"
#include "platform/gpu/SwapChain.h"
#include "render/GraphicsDevice.h"
#include "render/PointLights.h"
#include "render/PostFXChain.h"
#include "shell/Config.h"
#include "support/GpuTest.h"
#include "support/LevelDevice.h"
#include "support/Screenshot.h"
#include "support/ShellTestSupport.h"

namespace mirefell::testing
{
namespace
{

class TitleSceneFrame : public ShellTest
{
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        levelDevice.Create();
        PointLights::GetInstance().Clear();
        Config::GetInstance().settings.noiseIntensity = 0.0f;
        Input::GetInstance().Initialize(nullptr);
    }

    void TearDown() override
    {
        core.reset();
        levelDevice.Release();
        ShellTest::TearDown();
    }

    void Start(uint32_t width, uint32_t height)
    {
        core = std::make_unique<Core>();
        core->Initialize();
        swapChain = std::make_unique<gpu::SwapChain>(*levelDevice.device, width, height);
        core->OnWindowSizeChanged(static_cast<int32_t>(width), static_cast<int32_t>(height), nullptr, swapChain.get());
    }

    // Pixels of the last frame inside [left, right) x [top, bottom) that
    // pass the test.
    template <class Test> int Count(uint32_t left, uint32_t top, uint32_t right, uint32_t bottom, Test test)
    {
        const std::vector<uint8_t> rgba = DeviceContext->ReadPixelsRGBA8(swapChain->GetBackBuffer());
        int count = 0;
        for (uint32_t y = top; y < bottom; ++y)
            for (uint32_t x = left; x < right; ++x) {
                const size_t i = (size_t(y) * swapChain->Width() + x) * 4;
                count += test(Rgba8{rgba[i], rgba[i + 1], rgba[i + 2], rgba[i + 3]}) ? 1 : 0;
            }
        return count;
    }

    LevelDevice levelDevice;
    std::unique_ptr<gpu::SwapChain>& swapChain = levelDevice.swapChain;
    std::unique_ptr<Core> core;
};

// The word's letters are green going to peat brown, warmly lit; the ring
// band is a strong blue; below the scene the sky box fades to near black.
bool IsLetter(const Rgba8& p)
{
    return p.g > p.b + 30 && p.r > 40;
}
bool IsRingBlue(const Rgba8& p)
{
    return p.b > p.r + 100;
}
bool IsDark(const Rgba8& p)
{
    return p.r < 40 && p.g < 40 && p.b < 40;
}

// At 1280 x 720 with the camera 10 units out at 80 degrees, 1.5 below the
// origin: the word, 5 units out at y 0.25 to 0.95, lies about 14 degrees
// above the view's centre, tan 14.25 / tan 40 x 360 = 109 pixels up; about
// 0.5 x 8 letters wide, some 340 pixels across the middle.
TEST_F(TitleSceneFrame, TheSwoopEndsInFrontOfTheLitWord)
{
    Start(1280, 720);
    for (int step = 0; step < 70; ++step)
        core->Update();
    core->Render();
    SaveScreenshot(*DeviceContext, swapChain->GetBackBuffer(), "title_scene_swoop");
    // Halfway round, 22 degrees off, the word stands right of the middle.
    const int swoopLeft = Count(0, 0, 640, 720, IsLetter);
    const int swoopRight = Count(640, 0, 1280, 720, IsLetter);
    EXPECT_GT(swoopRight, 4 * swoopLeft);

    for (int step = 0; step < 100; ++step)
        core->Update();
    core->Render();
    SaveScreenshot(*DeviceContext, swapChain->GetBackBuffer(), "title_scene");
    const int word = Count(450, 220, 830, 300, IsLetter);
    const int all = Count(0, 0, 1280, 720, IsLetter);
    EXPECT_GT(word, 3000);
    EXPECT_GT(word * 10, all * 9) << "the letters stand in one band, centred";
    EXPECT_GT(Count(0, 0, 1280, 720, IsRingBlue), 30000);
    // Below the ring the ground fades to black between the main menu (left)
    // and the credit lines (right).
    EXPECT_EQ(Count(300, 680, 800, 720, IsDark), 500 * 40);
}

// The title's distortion is drawn over the scene and under the menu: from
// the same seed, the frame at distortion amount 1 and the frame at 0 (no
// waver, no parting) differ across the ring band below the word, where no
// menu row or credit line stands, while the white letters of the menu rows
// stand where they stood. The waving frame is
// test-output/title_scene_waving.png.
TEST_F(TitleSceneFrame, TheSceneWavesUnderTheStillMenu)
{
    Start(320, 180);
    for (int step = 0; step < 170; ++step)
        core->Update();
    auto frame = [&](float amount) {
        SeedRand(1);
        PostFXChain::menuDistortion = amount;
        core->Render();
        return DeviceContext->ReadPixelsRGBA8(swapChain->GetBackBuffer());
    };
    const std::vector<uint8_t> still = frame(0.0f);
    const std::vector<uint8_t> waving = frame(1.0f);
    SaveScreenshot(*DeviceContext, swapChain->GetBackBuffer(), "title_scene_waving");
    auto count = [](uint32_t left, uint32_t top, uint32_t right, uint32_t bottom, auto test) {
        int n = 0;
        for (uint32_t y = top; y < bottom; ++y)
            for (uint32_t x = left; x < right; ++x)
                n += test((size_t(y) * 320 + x) * 4);
        return n;
    };
    const int moved = count(120, 56, 200, 70, [&](size_t i) {
        return still[i] != waving[i] || still[i + 1] != waving[i + 1] || still[i + 2] != waving[i + 2];
    });
    EXPECT_GT(moved, 80 * 14 / 2);
    auto white = [](const std::vector<uint8_t>& rgba, size_t i) { return rgba[i] > 240 && rgba[i + 1] > 240; };
    const int letters = count(0, 30, 120, 100, [&](size_t i) { return white(still, i); });
    EXPECT_GT(letters, 500);
    EXPECT_EQ(count(0, 30, 120, 100, [&](size_t i) { return white(still, i) && white(waving, i); }), letters);
    PostFXChain::menuDistortion = 1.0f;
}

// Back at the title from a level whose lights fill the frame's whole light
// budget (far off, as the level stays until the next load): the word is lit
// by the title's own lights as on the first entry.
TEST_F(TitleSceneFrame, TheLightsALevelLeftDoNotDarkenTheTitle)
{
    for (uint32_t n = 0; n < PointLights::MaxLightsPerFrame; ++n) {
        PointLight& light = PointLights::GetInstance().Add();
        light.position = Vector3(1000.0f, 0.0f, 1000.0f);
        light.enabled = light.drawFirst = light.shaderFlag = 1;
        light.intensity = 1.0f;
        light.attenuationLinear = 0.1f;
        light.attenuationQuadratic = 0.01f;
        light.ComputeRange();
    }
    Start(1280, 720);
    for (int step = 0; step < 170; ++step)
        core->Update();
    core->Render();
    SaveScreenshot(*DeviceContext, swapChain->GetBackBuffer(), "title_scene_after_level");
    EXPECT_GT(Count(450, 220, 830, 300, IsLetter), 3000);
}

// The main menu's rows, white with black outlines, stand out of the dark
// ground at the bottom-left at every size; the corner lines at the
// bottom-right are faint (a tenth of white) but lighter than the ground.
TEST_F(TitleSceneFrame, TheMenuReadsOverTheSceneAtEverySize)
{
    const std::pair<uint32_t, uint32_t> sizes[] = {{800, 600}, {1280, 720}, {1920, 1080}};
    Start(800, 600);
    for (int step = 0; step < 170; ++step)
        core->Update();
    for (const auto& [width, height] : sizes) {
        SCOPED_TRACE(width);
        swapChain = std::make_unique<gpu::SwapChain>(*levelDevice.device, width, height);
        core->OnWindowSizeChanged(static_cast<int32_t>(width), static_cast<int32_t>(height), nullptr, swapChain.get());
        core->Update();
        core->Render();
        SaveScreenshot(*DeviceContext, swapChain->GetBackBuffer(),
                       "screens/" + std::to_string(width) + "x" + std::to_string(height) + "/title_scene_menu");
        // The rows: "New game" to "Exit" fill the bottom-left corner's
        // lowest rows (one unit each, 36 to 64 pixels).
        const uint32_t rowsTop = height - height / 4;
        EXPECT_GT(Count(0, rowsTop, width / 5, height, [](const Rgba8& p) { return p.r > 240 && p.g > 240; }), 500);
        EXPECT_GT(Count(width - 200, height - 30, width - 10, height - 10,
                        [](const Rgba8& p) { return p.r > 60 && p.r < 160 && p.r == p.g; }),
                  20);
    }
}

} // namespace
} // namespace mirefell::testing
