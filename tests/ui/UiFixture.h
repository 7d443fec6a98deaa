// UiFixture: the user interface over a whole level with no GPU (the test
// map built by the level build, its player, a UIManager with its HUD made
// and initialised, the game in state 3), with key presses fed as the message
// loop would; and UiDrawTest, the same on the headless GPU, drawing into a
// screen-sized RGBA8 target.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "gameplay/GameSaveManager.h"
#include "platform/Clock.h"
#include "platform/gpu/CommonStates.h"
#include "platform/gpu/Device.h"
#include "platform/gpu/HeadlessGpu.h"
#include "render/CommonStatesHolder.h"
#include "render/EffectRegistry.h"
#include "render/GraphicsDevice.h"
#include "render/Painter.h"
#include "render/RenderFixture.h"
#include "render/TextureRegistry.h"
#include "shell/GameStateManager.h"
#include "shell/Input.h"
#include "shell/Screen.h"
#include "support/GameplayFixture.h"
#include "support/GpuTest.h"
#include "support/Screenshot.h"
#include "support/WorldFixture.h"
#include "ui/NotificationBox.h"
#include "ui/UIManager.h"
#include "world/IUsable.h"

namespace mirefell::testing
{

// A door or switch within reach, as the use prompt sees it.
class Lever final : public IUsable
{
public:
    void Use() override {}
    bool IsUsable() override { return true; }
};

class UiTest : public GameplayTest
{
protected:
    void SetUp() override
    {
        GameplayTest::SetUp();
        SetClock(&clock);
        GameSaveManager::GetInstance().current.difficulty = GameDifficulty::Normal;
        ui = std::make_unique<UIManager>();
        // The Core lays the UI out for the window before its first update.
        Resize(1280, 720);
        StartLevel();
    }

    // A new back-buffer size, laid out as the Core does on a resize.
    void Resize(int32_t width, int32_t height)
    {
        ScreenWidth = width;
        ScreenHeight = height;
        ui->OnResize();
    }

    void TearDown() override
    {
        ui.reset();
        NotificationBox::Clear(NotificationBox::GetMessages());
        GameplayTest::TearDown();
        SetClock(nullptr);
    }

    // The level load's part of the UI, then play.
    void StartLevel()
    {
        ui->CreateHud();
        BuildLevel(LoadTestMap());
        ui->Initialize(world.get());
        GameStateManager::GetInstance().Request(GameState::Playing);
    }

    // A key going down for one UI step as Core::Update runs it (the input's
    // snapshot, then UIManager::Update), then its release seen by one more
    // snapshot, so the next press counts again.
    void PressAndStep(int32_t key)
    {
        Key(key, true);
        UiStep();
        Key(key, false);
        Input::GetInstance().Update();
    }
    void UiStep()
    {
        Input::GetInstance().Update();
        ui->Update();
    }
    static void Key(int32_t key, bool down)
    {
        PlatformEvent event;
        event.type = down ? PlatformEventType::KeyDown : PlatformEventType::KeyUp;
        event.key = key;
        Input::GetInstance().keyboard->ProcessEvent(event);
    }
    static GameState State() { return GameStateManager::GetInstance().current; }
    // The cursor to a window point (absolute mode), seen from the next step.
    static void PointAt(float x, float y)
    {
        PlatformEvent event;
        event.type = PlatformEventType::MouseMotion;
        event.x = static_cast<int32_t>(x);
        event.y = static_cast<int32_t>(y);
        Input::GetInstance().mouse->ProcessEvent(event);
    }
    // A button going down for one UI step, then its release seen by one more
    // snapshot.
    void ClickAndStep(MouseButton button)
    {
        PlatformEvent event;
        event.type = PlatformEventType::MouseButtonDown;
        event.button = button;
        Input::GetInstance().mouse->ProcessEvent(event);
        UiStep();
        event.type = PlatformEventType::MouseButtonUp;
        Input::GetInstance().mouse->ProcessEvent(event);
        Input::GetInstance().Update();
    }

    ManualClock clock;
    std::unique_ptr<UIManager> ui;
};

class UiDrawTest : public UiTest
{
protected:
    void SetUp() override
    {
        gpu::HeadlessGpu::Shared();
        device = std::make_unique<gpu::Device>(gpu::DeviceOptions{});
        context = &device->GetImmediateContext();
        Device = device.get();
        DeviceContext = context;
        UiTest::SetUp();
        // Assets are read from the run folder; the level's saves stay in the
        // test's own.
        WorkingFolder assets(MIREFELL_RUN_DIR);
        TextureRegistry::GetInstance().LoadAll();
        GetCommonStates() = CreateCommonStates(Device);
        ui->painter->Initialize();
    }

    void TearDown() override
    {
        ui->painter->Release();
        TextureRegistry::GetInstance().Clear();
        EffectRegistry::GetInstance().clear();
        GetCommonStates().reset();
        UiTest::TearDown();
        Device = nullptr;
        DeviceContext = nullptr;
        device.reset();
    }

    // A target of the screen's size, bound with its viewport and cleared;
    // the screen size stored and the UI laid out for it.
    // An sRGB target stores what the player sees (the swap chain's format);
    // the plain one stores the linear values.
    void StartScreen(uint32_t width, uint32_t height, const Color& background,
                     gpu::Format format = gpu::Format::R8G8B8A8_UNORM)
    {
        screenWidth = width;
        screenHeight = height;
        gpu::Texture2DDesc desc;
        desc.width = width;
        desc.height = height;
        desc.format = format;
        desc.bindFlags = gpu::BindRenderTarget | gpu::BindShaderResource;
        target = device->CreateTexture2D(desc);
        view = device->CreateRenderTargetView(target.get());
        gpu::RenderTargetView* views[] = {view.get()};
        context->OMSetRenderTargets(1, views, nullptr);
        FrameViewport = gpu::Viewport{0.0f, 0.0f, static_cast<float>(width), static_cast<float>(height), 0.0f, 1.0f};
        context->RSSetViewports(1, &FrameViewport);
        const float clear[4] = {background.r, background.g, background.b, background.a};
        context->ClearRenderTargetView(view.get(), clear);
        Resize(static_cast<int32_t>(width), static_cast<int32_t>(height));
    }

    // Replaces named textures with plain white ones, so each draws as a solid
    // rectangle in its tint.
    static void WhiteTextures(const std::vector<std::string>& names)
    {
        WorkingFolder assets(MIREFELL_RUN_DIR);
        for (const std::string& name : names)
            TextureRegistry::GetInstance().Load(L"assets/textures/white.png", name, false);
    }

    void Capture() { pixels = context->ReadPixelsRGBA8(target.get()); }
    Rgba8 At(int x, int y) const
    {
        const size_t at = (static_cast<size_t>(y) * screenWidth + x) * 4;
        return {pixels[at], pixels[at + 1], pixels[at + 2], pixels[at + 3]};
    }
    void Save(const std::string& name) { SaveScreenshot(*context, target.get(), name); }

    std::unique_ptr<gpu::Device> device;
    gpu::Context* context = nullptr;
    uint32_t screenWidth = 0;
    uint32_t screenHeight = 0;
    std::shared_ptr<gpu::Texture2D> target;
    std::shared_ptr<gpu::RenderTargetView> view;
    std::vector<uint8_t> pixels;
};

// A monster at 49 % of its health under the player's crosshair and a lever
// within reach, for the HUD's health bar and use prompt; both let go before
// the level goes.
template <class Base> class AimingTestOf : public Base
{
protected:
    void Aim()
    {
        monster =
            std::make_unique<TestMonster>(this->world.get(), Vector3(40.0f, 8.0f, 40.0f), Vector3(2.0f, 4.0f, 2.0f));
        monster->maxHealth = 100.0f;
        monster->health = 49.0f;
        this->player->crosshairMonster = monster.get();
        this->player->usable = &lever;
        this->player->usableInReach = true;
    }
    void TearDown() override
    {
        if (this->player) {
            this->player->crosshairMonster = nullptr;
            this->player->usable = nullptr;
        }
        monster.reset();
        Base::TearDown();
    }

    Lever lever;
    std::unique_ptr<TestMonster> monster;
};

} // namespace mirefell::testing
