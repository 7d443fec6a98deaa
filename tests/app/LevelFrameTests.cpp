// A level loaded by Core itself (the loading state on the test map) and
// drawn by Core in the play state on llvmpipe: the player faces the hall's
// switch, whose panel shows "off" and, after the use key, "on"; the HUD
// over the level at 720p; the inventory with the level's map; the
// level-complete screen; flying shots. The frames are written to
// test-output/level_switch_{off,on}.png, hud-over-level-1280x720.png,
// inventory-over-level-1280x720.png, level-complete-over-level-1280x720.png
// and level_shots.png for the eye.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "app/Core.h"
#include "gameplay/FirstPersonController.h"
#include "gameplay/GameSaveManager.h"
#include "gameplay/Player.h"
#include "gameplay/Switch.h"
#include "gameplay/WeaponView.h"
#include "gameplay/Weapons.h"
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
#include "world/MapScriptToolbox.h"
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

// The hyper blaster raised: at 720p the frame shows it over the level in
// the lower right, beside the HUD, drawn with the weapon view's camera; the
// upper right stays as it was. The level's ambient light is the weapon
// view's, which the level scripts' light switch turns off.
TEST_F(LevelFrame, TheRaisedWeaponIsDrawnOverTheLevelWithTheViewsAmbient)
{
    constexpr uint32_t Width = 1280;
    constexpr uint32_t Height = 720;
    swapChain = std::make_unique<gpu::SwapChain>(*levelDevice.device, Width, Height);
    core->OnWindowSizeChanged(Width, Height, nullptr, swapChain.get());
    auto& player = *static_cast<Player*>(core->GetWorld()->player);
    core->Render();
    const std::vector<uint8_t> bare = DeviceContext->ReadPixelsRGBA8(swapChain->GetBackBuffer());
    player.GiveItem(1000, Weapons::MakeHyperBlaster());
    for (int i = 0; i <= WeaponView::SwitchInSteps; ++i)
        core->Update();
    core->Render();
    SaveScreenshot(*DeviceContext, swapChain->GetBackBuffer(), "level_weapon_view");
    const std::vector<uint8_t> armed = DeviceContext->ReadPixelsRGBA8(swapChain->GetBackBuffer());
    const auto changed = [&](uint32_t x0, uint32_t y0, uint32_t x1, uint32_t y1) {
        int count = 0;
        for (uint32_t y = y0; y < y1; ++y)
            for (uint32_t x = x0; x < x1; ++x) {
                const size_t i = (size_t(y) * Width + x) * 4;
                const int difference = std::abs(armed[i] - bare[i]) + std::abs(armed[i + 1] - bare[i + 1]) +
                                       std::abs(armed[i + 2] - bare[i + 2]);
                count += difference > 30 ? 1 : 0;
            }
        return count;
    };
    EXPECT_GT(changed(Width * 2 / 3, Height * 2 / 3, Width * 5 / 6, Height * 7 / 8), 10000);
    EXPECT_LT(changed(Width * 3 / 4, 0, Width, Height / 2), 100); // right of the messages

    EXPECT_EQ(core->LevelAmbient(), Color(0.05f, 0.05f, 0.05f, 0.0f));
    MapScriptToolbox(core->GetWorld()).LightsOut();
    EXPECT_EQ(core->LevelAmbient(), Color(0.0f, 0.0f, 0.0f, 0.0f));
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

// Projectiles as the frame shows them: a rocket (a white sphere, lighting
// the walls around it orange) and a hyper-blaster bolt (a small blue block
// along its flight) three steps after they were fired side by side ahead of
// the player.
TEST_F(LevelFrame, FlyingShotsAreDrawnAsTheirBodies)
{
    constexpr uint32_t Width = 640;
    constexpr uint32_t Height = 360;
    swapChain = std::make_unique<gpu::SwapChain>(*levelDevice.device, Width, Height);
    core->OnWindowSizeChanged(Width, Height, nullptr, swapChain.get());
    World& world = *core->GetWorld();
    auto& player = *static_cast<Player*>(world.player);
    const Vector3 eye = player.EyePosition();
    const Vector3 look = player.LookDirection();
    const Vector3 right{-look.z, 0, look.x};
    world.SpawnProjectile(&player, ProjectileType::HyperBlasterBolt, {0.2f, 0.3f, 1, 1}, {0.75f, 0.85f, 1, 1},
                          eye + look * 8.0f + right * 3.0f, look, 1);
    world.SpawnProjectile(&player, ProjectileType::Rocket, {1, 1, 1, 1}, {1, 0.5f, 0, 1},
                          eye + look * 8.0f - right * 3.0f, look, 1);
    for (int i = 0; i < 3; ++i)
        core->Update();
    core->Render();
    SaveScreenshot(*DeviceContext, swapChain->GetBackBuffer(), "level_shots");
    const std::vector<uint8_t> rgba = DeviceContext->ReadPixelsRGBA8(swapChain->GetBackBuffer());
    int white = 0, blue = 0;
    for (uint32_t y = Height / 3; y < Height * 2 / 3; ++y)
        for (uint32_t x = Width / 4; x < Width * 3 / 4; ++x) {
            const uint8_t* p = &rgba[(size_t(y) * Width + x) * 4];
            if (x < Width / 2 && p[0] > 200 && p[1] > 200 && p[2] > 200)
                ++white;
            if (x > Width / 2 && p[2] > p[0] + 60)
                ++blue;
        }
    EXPECT_GT(white, 600) << "the rocket left of the crosshair";
    EXPECT_GT(blue, 10) << "the bolt right of it";
}

} // namespace
} // namespace mirefell::testing
