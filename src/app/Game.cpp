#include "app/Game.h"

#include <algorithm>
#include <cassert>

#include "app/Config.h"
#include "app/Core.h"
#include "app/Input.h"
#include "app/Screen.h"
#include "app/SoundManager.h"
#include "platform/IGameWindow.h"

namespace mirefell
{

Game::Game() : clock(GetClock()), timer(clock), limiterStart(clock.Counter())
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
    core.reset();
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
        }
        return;
    }
    if (timer.GetFrameCount() != 0)
        Render();
}

void Game::Update()
{
    core->Update();
    SoundManager::GetInstance().ServiceAudio();
}

void Game::Render()
{
    core->Render();
    window->Present(Config::GetInstance().settings.vsync);
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
    CreateGpuDevice();
    core->Initialize();
}

void Game::CreateResources()
{
    Config& config = Config::GetInstance();
    if (!displayModesKnown) {
        config.BuildDisplayModeList(window->GetDisplayModes());
        displayModesKnown = true;
    }
    // On every call, resizes included: a full-screen game stays full screen.
    if (!config.settings.windowed)
        window->SetFullscreenState(true);
    core->OnWindowSizeChanged(outputWidth, outputHeight, window);
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

// --- Seams -----------------------------------------------------------------
// Empty until the GPU layer lands; already called at its place.

void Game::CreateGpuDevice() {}

} // namespace mirefell
