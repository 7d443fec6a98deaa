// Game: the window-side driver. It owns the StepTimer, the Core, the GPU
// device and the swap chain whose back buffer every frame is drawn into. Tick runs the fixed steps that the
// elapsed time holds (Core::Update, then the audio service, per step) and
// draws and presents one frame, paced by vertical sync or, with vsync off and
// the frame limiter on, at most 180 frames a second. No frame is drawn before
// the first step has run.
//
// Waiting for the next frame sleeps (GetSleeper) and busy-waits only the last
// fraction of a millisecond: the limiter sleeps until its next frame is due,
// and a vsync the display does not honour (a frame presented well within one
// refresh of the last) is made up for by sleeping out the refresh period.
//
// After every present the window is asked whether the GPU context was lost
// to a reset; a lost one is rebuilt at once (OnDeviceLost), the level and the
// game state untouched. A GPU that keeps resetting is given up: the third
// reset within ten seconds throws GameError(GpuKeepsResetting) out of Tick
// instead, and the program ends as at any error that reaches its entry (the
// Game's destruction saves the settings, the reason goes to stderr, the exit
// code is not 0).
//
// A developer's Autopilot, when given, is asked before each step (after the
// events of the frame, before Core::Update), so its input reaches that step.
//
// A window without a GPU context (logic-only tests) gives no device: the
// Core then only clears the window's framebuffer.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/Clock.h"
#include "platform/Sleeper.h"
#include "platform/Window.h"
#include "shell/StepTimer.h"

namespace mirefell
{

namespace gpu
{
class Device;
class SwapChain;
} // namespace gpu

class Autopilot;
class Core;
class IGameWindow;

class Game
{
public:
    static constexpr int32_t DefaultWidth = 960;
    static constexpr int32_t DefaultHeight = 540;
    static constexpr double FrameLimitMs = 1000.0 / 180.0;
    // Assumed when the display does not say.
    static constexpr uint32_t DefaultRefreshRate = 60;
    // This many GPU resets within GpuResetWindowSeconds end the game.
    static constexpr int MaxGpuResets = 3;
    static constexpr double GpuResetWindowSeconds = 10.0;
    static constexpr const char* GpuKeepsResetting = "the GPU keeps being reset";

    // Starts the timer on the process clock (GetClock), waits through the
    // process sleeper (GetSleeper), and installs the
    // full-screen switch as Config's onEnterFullscreen.
    Game();
    // Leaves full screen, stops the audio and destroys the Core (which saves
    // the settings).
    virtual ~Game();
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    // `width` x `height` is the window's client size; `window` must outlive
    // the Game.
    void Initialize(IGameWindow* window, int32_t width, int32_t height);
    void Tick();
    // Null for none (the player's game).
    void SetAutopilot(std::unique_ptr<Autopilot> autopilot_);
    // Never below 1 x 1 (a minimised window reports 0 x 0).
    void OnWindowSizeChanged(int32_t width, int32_t height);
    // The window was minimised: the audio stops.
    void Suspend();
    // The window is back: the time spent away is forgotten, so it does not
    // become a burst of steps, and the audio resumes.
    void Resume();
    // An audio output device appeared: the audio engine is asked to reset.
    void OnAudioDeviceArrived();
    // The GPU device is gone: every device object is released and made again
    // on a new device (over a new context, when the window's was lost) and
    // swap chain; the game itself keeps its state.
    void OnDeviceLost();

    // The size of the last (largest) display mode; DefaultWidth x
    // DefaultHeight when the display lists none.
    static void QueryDefaultScreenSize(const std::vector<DisplayMode>& modes, int32_t& width, int32_t& height);

    const StepTimer& GetTimer() const { return timer; }
    int32_t GetOutputWidth() const { return outputWidth; }
    int32_t GetOutputHeight() const { return outputHeight; }
    Core* GetCore() const { return core.get(); }

    // Called after every presented frame; empty in the player's game (the
    // developer's aids of DeveloperRun use it).
    std::function<void()> onFramePresented;

private:
    void Update();
    void Render();
    void CreateDevice();
    void CreateResources();
    void EnterFullscreen();
    void ReleaseDevice();
    // Counter value at which the limiter lets the next frame through.
    uint64_t NextLimitedFrameCounter() const;
    // After a vsync present: sleeps out the refresh period when the present
    // did not wait for the display.
    void PaceVsync();
    // Counts a GPU reset; throws GameError(GpuKeepsResetting) when it is the
    // MaxGpuResets-th within GpuResetWindowSeconds.
    void CountGpuReset();

    std::unique_ptr<Core> core;
    std::unique_ptr<Autopilot> autopilot;
    IGameWindow* window = nullptr;
    std::unique_ptr<gpu::Device> device;
    std::unique_ptr<gpu::SwapChain> swapChain;
    int32_t outputWidth = DefaultWidth;
    int32_t outputHeight = DefaultHeight;
    bool displayModesKnown = false;
    const IClock& clock;
    ISleeper& sleeper;
    StepTimer timer;
    uint64_t limiterStart;           // clock counter when the Game was made
    double lastLimitedFrameMs = 0.0; // time of the last frame the limiter let through
    uint32_t refreshRate = DefaultRefreshRate;
    uint64_t lastVsyncPresent = 0; // clock counter after the last vsync present
    bool vsyncPresented = false;
    // Clock counters of the latest GPU resets, the latest first.
    std::array<uint64_t, MaxGpuResets> gpuResets{};
    int gpuResetCount = 0; // up to MaxGpuResets
};

} // namespace mirefell
