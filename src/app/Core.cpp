#include "app/Core.h"

#include "platform/Clock.h"
#include "platform/IGameWindow.h"
#include "platform/VirtualKey.h"
#include "platform/gpu/Context.h"
#include "platform/gpu/SwapChain.h"
#include "render/CommonStatesHolder.h"
#include "render/DebugLines.h"
#include "render/EffectRegistry.h"
#include "render/GeometryBuffer.h"
#include "render/GraphicsDevice.h"
#include "render/Painter.h"
#include "render/TextureRegistry.h"
#include "shell/Config.h"
#include "shell/GameStateManager.h"
#include "shell/INotificationService.h"
#include "shell/Input.h"
#include "shell/InventoryWindowFlag.h"
#include "shell/Profiler.h"
#include "shell/Screen.h"
#include "ui/NotificationService.h"
#include "ui/UIManager.h"

namespace mirefell
{

namespace
{

// Milliseconds on the process clock, wrapping like a 32-bit tick count.
uint32_t TickCountMs()
{
    const IClock& clock = GetClock();
    return static_cast<uint32_t>(CounterToNanoseconds(clock.Counter(), clock.Frequency()) / 1'000'000);
}

} // namespace

Core::Core() : statsStartTick(TickCountMs())
{
    SetNotificationService(&NotificationService::GetInstance());
    CreateRenderer();
    GameStateManager& states = GameStateManager::GetInstance();
    states.AddListener([this](GameState newState, GameState) { OnLevelStart(newState); });
    states.AddListener([this](GameState newState, GameState previousState) { OnPause(newState, previousState); });
}

Core::~Core()
{
    SetNotificationService(nullptr);
    Config::GetInstance().Save();
}

void Core::Initialize()
{
    CreateDeviceResources();
    GameStateManager& states = GameStateManager::GetInstance();
    if (states.current == GameState::Start) {
        CreateTitleScene();
        states.Request(GameState::MainMenu);
    } else {
        UpdateSceneBuffers(states.current);
    }
}

void Core::Update()
{
    GameStateManager& states = GameStateManager::GetInstance();
    Input& input = Input::GetInstance();
    states.NotifyListeners();
    input.Update();

    switch (states.current) {
    case GameState::MainMenu:
        UpdatePostEffects();
        UpdateTitleScene();
        UpdateUi();
        break;
    case GameState::Playing: {
        const IClock& clock = GetClock();
        const uint64_t start = clock.Counter();
        if (!inventoryWindowOpen) {
            UpdateWorld();
            UpdatePointLights();
        }
        UpdateUi();
        const float elapsedMs = static_cast<float>(clock.Counter() - start) * 1000.0f / clock.Frequency();
        Profiler::GetInstance().AddSample(L"update time", elapsedMs);
        CheckDeathRestart();
        break;
    }
    case GameState::LevelComplete:
        UpdatePostEffects();
        UpdateUi();
        break;
    case GameState::IngameMenu:
        UpdateUi();
        break;
    default:
        break;
    }

    if (input.keyboardTracker.IsKeyPressed(KeyF1))
        Profiler::GetInstance().ToggleVisible();
    input.wheel = 0;
}

void Core::CheckDeathRestart()
{
    if (!CanRestartAfterDeath())
        return;
    if (Input::GetInstance().keyboardTracker.IsKeyPressed(KeyEnter)) {
        ReloadCurrentSave();
        GameStateManager::GetInstance().Request(GameState::Loading);
    }
}

void Core::OnLevelStart(GameState newState)
{
    if (newState == GameState::Loading)
        StartLevel();
}

void Core::OnPause(GameState newState, GameState previousState)
{
    if (newState == GameState::IngameMenu && previousState == GameState::Playing)
        SetLevelTimerPaused(true);
    else if (newState == GameState::Playing && previousState == GameState::IngameMenu)
        SetLevelTimerPaused(false);
}

void Core::Render()
{
    const GameState state = GameStateManager::GetInstance().current;
    BeginFrame();
    switch (state) {
    case GameState::MainMenu:
        RenderTitle();
        break;
    case GameState::Loading:
        RenderLoading();
        break;
    case GameState::Playing:
    case GameState::LevelComplete:
    case GameState::IngameMenu:
        RenderLevel(state);
        break;
    default:
        break;
    }
    ApplyBrightnessContrast();
    CountFrame();
    if (state == GameState::MainMenu || state == GameState::Playing || state == GameState::IngameMenu)
        Profiler::GetInstance().SetValue(L"fps", static_cast<int32_t>(framesPerSecond));
}

void Core::BeginFrame()
{
    if (!DeviceContext || !renderTargetView) {
        if (window)
            window->ClearBackBuffer(ClearColour);
        return;
    }
    gpu::Context& context = *DeviceContext;
    const float clear[4] = {ClearColour.r, ClearColour.g, ClearColour.b, ClearColour.a};
    context.ClearRenderTargetView(renderTargetView, clear);
    if (depthStencilView)
        context.ClearDepthStencilView(depthStencilView, gpu::ClearDepth | gpu::ClearStencil, 1.0f, 0);
    context.OMSetRenderTargets(1, &renderTargetView, depthStencilView);
    FrameViewport =
        gpu::Viewport{0.0f, 0.0f, static_cast<float>(ScreenWidth), static_cast<float>(ScreenHeight), 0.0f, 1.0f};
    context.RSSetViewports(1, &FrameViewport);
}

void Core::CountFrame()
{
    ++frameCount;
    const uint32_t now = TickCountMs();
    if (now - statsStartTick >= 1000) {
        framesPerSecond = frameCount;
        frameCount = 0;
        statsStartTick = now;
    }
}

void Core::OnWindowSizeChanged(int32_t width, int32_t height, IGameWindow* window_, gpu::SwapChain* swapChain)
{
    window = window_;
    backBuffer = swapChain ? swapChain->GetBackBuffer() : nullptr;
    renderTargetView = swapChain ? swapChain->GetBackBufferView() : nullptr;
    ScreenWidth = width;
    ScreenHeight = height;
    ResizeRenderer(width, height);
}

void Core::OnDeviceLost()
{
    ReleaseDeviceResources();
}

// --- Seams -----------------------------------------------------------------
// Empty until the part named beside each declaration in Core.h lands; each is
// already called at its place in the update, frame or lifecycle order.

void Core::CreateRenderer()
{
    ui = std::make_unique<UIManager>();
    geometryBuffer = std::make_unique<GeometryBuffer>();
    Profiler::GetInstance().painter = std::make_unique<Painter>();
}

void Core::CreateDeviceResources()
{
    if (!Device)
        return;
    TextureRegistry::GetInstance().LoadAll();
    EffectRegistry::Initialize();
    DebugLines::GetInstance().Initialize();
    ui->painter->Initialize();
    Profiler::GetInstance().painter->Initialize();
    GetCommonStates() = CreateCommonStates(Device);
}

void Core::CreateTitleScene() {}
void Core::UpdateSceneBuffers(GameState) {}
void Core::UpdatePostEffects() {}
void Core::UpdateTitleScene() {}
void Core::UpdateWorld() {}
void Core::UpdatePointLights() {}
void Core::UpdateUi()
{
    ui->Update();
}
bool Core::CanRestartAfterDeath() const
{
    return false; // no level exists yet, so there is no dead player
}
void Core::ReloadCurrentSave() {}
void Core::StartLevel()
{
    DebugLines::GetInstance().Lines().clear();
}
void Core::SetLevelTimerPaused(bool) {}
void Core::RenderTitle()
{
    DrawUi();
}
void Core::RenderLoading()
{
    if (Device)
        ui->DrawLoadingScreen();
}
void Core::RenderLevel(GameState)
{
    // DebugLines::Draw with the main camera belongs here, after the debug
    // pass, once Core has its camera.
    DrawUi();
}
void Core::DrawUi()
{
    if (!Device)
        return;
    ui->Draw();
    Profiler::GetInstance().Draw();
}
void Core::ApplyBrightnessContrast() {}
void Core::ResizeRenderer(int32_t, int32_t)
{
    depthStencilView = nullptr;
    ui->OnResize();
    Profiler::GetInstance().painter->UpdateScales();
    if (!Device)
        return;
    geometryBuffer->Create();
    geometryBuffer->CreateDepthBuffer();
    depthStencilView = geometryBuffer->depthStencilView.get();
}

void Core::ReleaseDeviceResources()
{
    TextureRegistry::GetInstance().Clear();
    EffectRegistry::ReleaseAll();
    DebugLines::GetInstance().Release();
    ui->painter->Release();
    geometryBuffer->Release();
    Profiler::GetInstance().painter->Release();
    GetCommonStates().reset();
    depthStencilView = nullptr;
    renderTargetView = nullptr;
    backBuffer = nullptr;
}

} // namespace mirefell
