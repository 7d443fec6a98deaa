// A level loaded by Core itself (the loading state on the test map) and
// drawn by Core in the play state on llvmpipe: the player faces the hall's
// switch, whose panel shows "off" and, after the use key, "on". The frames
// are written to test-output/level_switch_{off,on}.png for the eye.
#include <gtest/gtest.h>

#include <algorithm>
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

} // namespace
} // namespace mirefell::testing
