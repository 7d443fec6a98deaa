// A level loaded by Core itself (the loading state on the test map) and
// drawn by Core in the play state on llvmpipe: the player faces the hall's
// switch, whose panel shows "off" and, after the use key, "on"; the HUD
// over the level at 720p; the inventory with the level's map; the
// level-complete screen. The frames are written to test-output/
// level_switch_{off,on}.png, hud-over-level-1280x720.png,
// inventory-over-level-1280x720.png and level-complete-over-level-1280x720.png
// for the eye.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "app/Core.h"
#include "gameplay/FirstPersonController.h"
#include "gameplay/GameSaveManager.h"
#include "gameplay/Player.h"
#include "gameplay/Switch.h"
#include "platform/VirtualKey.h"
#include "platform/gpu/Context.h"
#include "platform/gpu/SwapChain.h"
#include "render/GraphicsDevice.h"
#include "render/PointLights.h"
#include "shell/INotificationService.h"
#include "shell/InventoryWindowFlag.h"
#include "shell/KeybindManager.h"
#include "support/LevelDevice.h"
#include "support/Screenshot.h"
#include "support/ShellTestSupport.h"
#include "world/AIRegionGraph.h"
#include "world/World.h"

namespace mirefell::testing
{
namespace
{

constexpr uint32_t FrameWidth = 320;
constexpr uint32_t FrameHeight = 180;

class LevelFrame : public ShellTest
{
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        LendTestMapAsLevels();
        GameSaveManager::GetInstance().current = GameSave();
        levelDevice.Create();
        PointLights::GetInstance().Clear();
        Config::GetInstance().settings.noiseIntensity = 0.0f; // no film grain in a sampled picture
        Input::GetInstance().Initialize(nullptr);

        core = std::make_unique<Core>();
        core->Initialize();
        swapChain = std::make_unique<gpu::SwapChain>(*levelDevice.device, FrameWidth, FrameHeight);
        core->OnWindowSizeChanged(FrameWidth, FrameHeight, nullptr, swapChain.get());
        core->Update(); // the main menu
        GameSaveManager::GetInstance().NewGame(0, GameDifficulty::Normal, false, false);
        core->Update(); // the level is loaded
    }

    void TearDown() override
    {
        core.reset();
        levelDevice.Release();
        GameSaveManager::GetInstance().current = GameSave();
        ShellTest::TearDown();
    }

    // The strongest excess of red over green and of green over red in the
    // panel's part of the frame.
    void Lamps(int& red, int& green)
    {
        const std::vector<uint8_t> rgba = DeviceContext->ReadPixelsRGBA8(swapChain->GetBackBuffer());
        red = green = -255;
        for (uint32_t y = 50; y < 108; ++y)
            for (uint32_t x = 110; x < 210; ++x) {
                const size_t i = (size_t(y) * FrameWidth + x) * 4;
                red = std::max(red, rgba[i] - rgba[i + 1]);
                green = std::max(green, rgba[i + 1] - rgba[i]);
            }
    }

    LevelDevice levelDevice;
    std::unique_ptr<gpu::SwapChain>& swapChain = levelDevice.swapChain;
    std::unique_ptr<Core> core;
};

TEST_F(LevelFrame, TheLoadedLevelShowsItsSwitchOffThenOn)
{
    ASSERT_EQ(GameStateManager::GetInstance().current, GameState::Playing);
    World& world = *core->GetWorld();
    auto& player = *static_cast<Player*>(world.player);
    auto* wall = dynamic_cast<Switch*>(world.aiRegions->objects.switches.at(100));
    ASSERT_NE(wall, nullptr);
    // In the hall, 12 units from the switch, facing it.
    player.SetPosition(Vector3(216, player.position.y, 116));
    player.controller->SetAngles(90.0f, 90.0f);
    core->Update();
    core->Update();
    core->Render();
    SaveScreenshot(*DeviceContext, swapChain->GetBackBuffer(), "level_switch_off");
    int red = 0, green = 0;
    Lamps(red, green);
    EXPECT_GT(red, 40) << "the red knob of \"off\"";
    EXPECT_LT(green, 20);

    const Keybind& use = KeybindManager::GetInstance().bindings.at(KeybindAction::Use);
    Send(KeyEvent(use.keyCode, true));
    core->Update();
    Send(KeyEvent(use.keyCode, false));
    core->Update();
    ASSERT_TRUE(wall->IsOn());
    core->Render();
    SaveScreenshot(*DeviceContext, swapChain->GetBackBuffer(), "level_switch_on");
    Lamps(red, green);
    EXPECT_GT(green, 40) << "the green lamps of \"on\"";
    EXPECT_LT(red, 20);
}

// The HUD the level load built, as the Core's frame draws it over the lit
// level at 1280 x 720 (u 48): the health icon fills its 2u square at the
// bottom-left, and the number, counted up to the player's 100, stands
// right-aligned on (180, 672), within the 63-pixel band of the scaled font
// centred there.
TEST_F(LevelFrame, TheHudStandsOverTheLoadedLevelAt720p)
{
    swapChain = std::make_unique<gpu::SwapChain>(*levelDevice.device, 1280, 720);
    core->OnWindowSizeChanged(1280, 720, nullptr, swapChain.get());
    auto& player = *static_cast<Player*>(core->GetWorld()->player);
    player.controller->SetAngles(30.0f, 92.0f); // along the start room to its door
    player.armor = 50.0f;
    GetNotificationService().Notify(L"Picked up the red key.", 300);
    for (int i = 0; i < 100; ++i)
        core->Update();
    core->Render();
    SaveScreenshot(*DeviceContext, swapChain->GetBackBuffer(), "hud-over-level-1280x720");

    int redLeft = 1280, redRight = -1, redTop = 720;
    int whiteRight = -1, whiteTop = 720, whiteBottom = -1;
    const std::vector<uint8_t> rgba = DeviceContext->ReadPixelsRGBA8(swapChain->GetBackBuffer());
    for (int y = 560; y < 720; ++y)
        for (int x = 0; x < 190; ++x) {
            const uint8_t* p = &rgba[(size_t(y) * 1280 + x) * 4];
            if (x < 100 && p[0] > 120 && p[1] < 40 && p[2] < 40) {
                redLeft = std::min(redLeft, x);
                redRight = std::max(redRight, x);
                redTop = std::min(redTop, y);
            }
            if (x >= 100 && p[0] > 200 && p[1] > 200 && p[2] > 200) {
                whiteRight = std::max(whiteRight, x);
                whiteTop = std::min(whiteTop, y);
                whiteBottom = std::max(whiteBottom, y);
            }
        }
    EXPECT_GE(redTop, 624);
    EXPECT_LE(redRight, 95);
    EXPECT_GT(redRight - redLeft, 48) << "the icon fills most of its square";
    EXPECT_LT(whiteRight, 180);
    EXPECT_GE(whiteRight, 177);
    EXPECT_GE(whiteTop, 640);
    EXPECT_LE(whiteBottom, 702);
}

// The Inventory key in play, through Core at 1280 x 720: the level stops
// (walking forward moves nothing while the window is open) and the frame
// shows the post chain's kept picture with the window and the map over it;
// the player at the start (32, 32) puts room A's top edge on y 84 + 176 =
// 260 from x 24 + 300 to 24 + 556 (see the automap's tests). Closing the
// window lets the level run again.
TEST_F(LevelFrame, TheInventoryPausesTheLevelAndShowsItsMap)
{
    swapChain = std::make_unique<gpu::SwapChain>(*levelDevice.device, 1280, 720);
    core->OnWindowSizeChanged(1280, 720, nullptr, swapChain.get());
    auto& player = *static_cast<Player*>(core->GetWorld()->player);
    core->Update();
    core->Render();
    auto press = [this](int32_t key) {
        Send(KeyEvent(key, true));
        core->Update();
        Send(KeyEvent(key, false));
        core->Update();
    };
    press(KeyTab);
    ASSERT_TRUE(inventoryWindowOpen);

    const Vector3 before = player.position;
    Send(KeyEvent('W', true));
    for (int i = 0; i < 30; ++i)
        core->Update();
    EXPECT_EQ(player.position, before);
    core->Render();
    SaveScreenshot(*DeviceContext, swapChain->GetBackBuffer(), "inventory-over-level-1280x720");
    const std::vector<uint8_t> rgba = DeviceContext->ReadPixelsRGBA8(swapChain->GetBackBuffer());
    // The outline's grey, 0.75 on the display (the back buffer is sRGB),
    // on the rows either side of y 260.
    int edge = 0;
    for (int y = 258; y < 262; ++y)
        for (int x = 330; x < 440; ++x) {
            const uint8_t* p = &rgba[(size_t(y) * 1280 + x) * 4];
            edge += (std::abs(p[0] - 191) < 6 && std::abs(p[1] - 191) < 6 && std::abs(p[2] - 191) < 6) ? 1 : 0;
        }
    EXPECT_GE(edge, 110) << "room A's outline";

    Send(KeyEvent('W', false));
    press(KeyTab);
    ASSERT_FALSE(inventoryWindowOpen);
    Send(KeyEvent('W', true));
    for (int i = 0; i < 30; ++i)
        core->Update();
    Send(KeyEvent('W', false));
    EXPECT_NE(player.position, before);
}

// The exit reached, through Core at 1280 x 720: the level-complete screen
// over the level in its fading tint, every row landed after 300 steps
// (slot 9 lands in update ceil((720 + 9 x 360) / 14) = 283) with the
// prompt; the title's white text centred on x 640 from y 25.
TEST_F(LevelFrame, TheLevelCompleteScreenStandsOverTheFadingLevel)
{
    swapChain = std::make_unique<gpu::SwapChain>(*levelDevice.device, 1280, 720);
    core->OnWindowSizeChanged(1280, 720, nullptr, swapChain.get());
    static_cast<Player*>(core->GetWorld()->player)->CompleteLevel();
    for (int i = 0; i < 300; ++i)
        core->Update();
    ASSERT_EQ(GameStateManager::GetInstance().current, GameState::LevelComplete);
    core->Render();
    SaveScreenshot(*DeviceContext, swapChain->GetBackBuffer(), "level-complete-over-level-1280x720");
    const std::vector<uint8_t> rgba = DeviceContext->ReadPixelsRGBA8(swapChain->GetBackBuffer());
    int title = 0, beside = 0;
    for (int y = 25; y < 88; ++y)
        for (int x = 300; x < 980; ++x) {
            const uint8_t* p = &rgba[(size_t(y) * 1280 + x) * 4];
            const bool white = p[0] > 240 && p[1] > 240 && p[2] > 240;
            (x >= 430 && x < 850 ? title : beside) += white ? 1 : 0;
        }
    EXPECT_GT(title, 500);
    EXPECT_EQ(beside, 0);
}

} // namespace
} // namespace mirefell::testing
