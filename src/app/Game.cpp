#include "app/Game.h"

#include <algorithm>
#include <cassert>
#include <cstdio>

#include "app/Autopilot.h"
#include "app/Core.h"
#include "platform/GameError.h"
#include "platform/IGameWindow.h"
#include "platform/gpu/Device.h"
#include "platform/gpu/SwapChain.h"
#include "render/GraphicsDevice.h"
#include "shell/Config.h"
#include "shell/GameStateManager.h"
#include "shell/Input.h"
#include "shell/Screen.h"
#include "shell/SoundManager.h"

namespace mirefell
{

Game::Game() : clock(GetClock()), sleeper(GetSleeper()), timer(clock), limiterStart(clock.Counter())
{
    Config::GetInstance().onEnterFullscreen = [this] { EnterFullscreen(); };
    SoundManager::GetInstance().Initialize();
}

Game::~Game()
{
    Config& config = Config::GetInstance();
    if (!config.settings.windowed && window)
        window->SetFullscreenState(false);
    SoundManager::GetInstance().Shutdown();
    autopilot.reset(); // lets go of its keys while Input is still there
    // Device objects go before the device, and the device before the window's
    // context (the window outlives the Game).
    if (core)
        core->OnDeviceLost();
    core.reset();
    ReleaseDevice();
    config.onEnterFullscreen = nullptr;
}

void Game::Initialize(IGameWindow* window_, int32_t width, int32_t height)
{
    window = window_;
    ScreenWidth = width;
    ScreenHeight = height;
    outputWidth = std::max(width, 1);
    outputHeight = std::max(height, 1);
    core = std::make_unique<Core>();
    Input::GetInstance().Initialize(window);
    CreateDevice();
    CreateResources();
    timer.SetFixedTimeStep(true);
    timer.SetTargetElapsedTicks(StepTimer::DefaultTargetTicks);
}

void Game::Tick()
{
    assert(core && "Game::Tick before Game::Initialize");
    timer.Tick([this] { Update(); });

    const Settings& settings = Config::GetInstance().settings;
    if (!settings.vsync && settings.frameLimiter) {
        const double nowMs = static_cast<double>(clock.Counter() - limiterStart) * 1000.0 / clock.Frequency();
        if (nowMs - lastLimitedFrameMs > FrameLimitMs) {
            if (timer.GetFrameCount() != 0)
                Render();
            lastLimitedFrameMs = nowMs;
        } else {
            // Too early for a frame: sleep until it is due rather than spin
            // through the loop. Events are handled before the next Tick.
            WaitUntil(clock, sleeper, NextLimitedFrameCounter());
        }
        return;
    }
    if (timer.GetFrameCount() != 0) {
        Render();
        if (settings.vsync)
            PaceVsync();
    }
}

uint64_t Game::NextLimitedFrameCounter() const
{
    // The first counter value whose time is past the last frame's by more
    // than the limit.
    const double due = (lastLimitedFrameMs + FrameLimitMs) * static_cast<double>(clock.Frequency()) / 1000.0;
    return limiterStart + static_cast<uint64_t>(due) + 1;
}

void Game::PaceVsync()
{
    // A present that waited for the display comes about one refresh after
    // the last; one that returns much sooner was not synchronised.
    const uint64_t period = clock.Frequency() / refreshRate;
    if (vsyncPresented && clock.Counter() - lastVsyncPresent < period * 3 / 4)
        WaitUntil(clock, sleeper, lastVsyncPresent + period);
    lastVsyncPresent = clock.Counter();
    vsyncPresented = true;
}

void Game::SetAutopilot(std::unique_ptr<Autopilot> autopilot_)
{
    autopilot = std::move(autopilot_);
}

void Game::Update()
{
    if (autopilot)
        autopilot->BeforeStep(core->GetWorld(), GameStateManager::GetInstance().current);
    core->Update();
    SoundManager::GetInstance().ServiceAudio();
}

void Game::Render()
{
    core->Render();
    if (swapChain) {
        int32_t width = 0, height = 0;
        window->GetClientSize(width, height);
        swapChain->PresentToWindow(width, height);
    }
    window->Present(Config::GetInstance().settings.vsync);
    // A GPU reset is found after the frame it spoiled; the next frame is
    // drawn on new device objects.
    if (window->IsGpuDeviceLost()) {
        CountGpuReset();
        OnDeviceLost();
        return;
    }
    if (onFramePresented)
        onFramePresented();
}

void Game::CountGpuReset()
{
    // A driver that reports a reset at every frame would otherwise have the
    // game make contexts without end and never show a frame.
    const uint64_t now = clock.Counter();
    for (size_t i = gpuResets.size() - 1; i > 0; --i)
        gpuResets[i] = gpuResets[i - 1];
    gpuResets[0] = now;
    gpuResetCount = std::min(gpuResetCount + 1, MaxGpuResets);
    const double spanSeconds = static_cast<double>(now - gpuResets.back()) / static_cast<double>(clock.Frequency());
    if (gpuResetCount == MaxGpuResets && spanSeconds <= GpuResetWindowSeconds) {
        char detail[96];
        std::snprintf(detail, sizeof detail, "%d resets within %.1f s; the game stops", MaxGpuResets, spanSeconds);
        throw GameError(GpuKeepsResetting, detail);
    }
}

void Game::OnWindowSizeChanged(int32_t width, int32_t height)
{
    outputWidth = std::max(width, 1);
    outputHeight = std::max(height, 1);
    CreateResources();
}

void Game::Suspend()
{
    SoundManager::GetInstance().Suspend();
}

void Game::Resume()
{
    timer.ResetElapsedTime();
    SoundManager::GetInstance().Resume();
}

void Game::OnAudioDeviceArrived()
{
    SoundManager::GetInstance().RequestAudioReset();
}

void Game::QueryDefaultScreenSize(const std::vector<DisplayMode>& modes, int32_t& width, int32_t& height)
{
    if (modes.empty()) {
        width = DefaultWidth;
        height = DefaultHeight;
        return;
    }
    width = static_cast<int32_t>(modes.back().width);
    height = static_cast<int32_t>(modes.back().height);
}

void Game::CreateDevice()
{
    ReleaseDevice();
    device = window->CreateGpuDevice();
    Device = device.get();
    DeviceContext = device ? &device->GetImmediateContext() : nullptr;
    core->Initialize();
}

void Game::ReleaseDevice()
{
    swapChain.reset();
    DeviceContext = nullptr;
    Device = nullptr;
    device.reset();
}

void Game::OnDeviceLost()
{
    core->OnDeviceLost();
    CreateDevice();
    CreateResources();
}

void Game::CreateResources()
{
    Config& config = Config::GetInstance();
    if (!displayModesKnown) {
        config.BuildDisplayModeList(window->GetDisplayModes());
        displayModesKnown = true;
    }
    // The window may have moved to another display, or changed its mode.
    refreshRate = window->GetRefreshRate();
    if (refreshRate == 0)
        refreshRate = DefaultRefreshRate;
    // On every call, resizes included: a full-screen game stays full screen.
    if (!config.settings.windowed)
        window->SetFullscreenState(true);
    if (device) {
        const auto width = static_cast<uint32_t>(outputWidth), height = static_cast<uint32_t>(outputHeight);
        if (swapChain)
            swapChain->ResizeBuffers(width, height);
        else
            swapChain = std::make_unique<gpu::SwapChain>(*device, width, height);
    }
    core->OnWindowSizeChanged(outputWidth, outputHeight, window, swapChain.get());
}

void Game::EnterFullscreen()
{
    if (!window)
        return;
    const Settings& settings = Config::GetInstance().settings;
    window->SetFullscreenState(false);
    outputWidth = std::max(settings.screenWidth, 1);
    outputHeight = std::max(settings.screenHeight, 1);
    // The back buffer is the client area: size it before the display mode is
    // chosen from it.
    window->SetClientSize(outputWidth, outputHeight);
    CreateResources();
    window->SetFullscreenState(true);
}

} // namespace mirefell
