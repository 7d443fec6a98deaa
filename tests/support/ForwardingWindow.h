// ForwardingWindow: a test's stand-in for the real window that passes every
// call to a GameWindow, for tests that only want to watch or gate a few of
// them (override those; call the GameWindow's own from the override).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/GameWindow.h"
#include "platform/IGameWindow.h"

namespace mirefell::testing
{

class ForwardingWindow : public IGameWindow
{
public:
    explicit ForwardingWindow(GameWindow& window_) : window(window_) {}
    void SetFullscreenState(bool fullscreen) override { window.SetFullscreenState(fullscreen); }
    void SetWindowedStyle(int width, int height) override { window.SetWindowedStyle(width, height); }
    void SetBorderlessStyle() override { window.SetBorderlessStyle(); }
    void SetRelativeMouseMode(bool relative) override { window.SetRelativeMouseMode(relative); }
    void CentreCursor() override { window.CentreCursor(); }
    std::vector<DisplayMode> GetDisplayModes() const override { return window.GetDisplayModes(); }
    uint32_t GetRefreshRate() const override { return window.GetRefreshRate(); }
    void SetClientSize(int32_t width, int32_t height) override { window.SetClientSize(width, height); }
    std::unique_ptr<gpu::Device> CreateGpuDevice() override { return window.CreateGpuDevice(); }
    bool IsGpuDeviceLost() override { return window.IsGpuDeviceLost(); }
    void GetClientSize(int32_t& width, int32_t& height) const override { window.GetClientSize(width, height); }
    void ClearBackBuffer(const Color& colour) override { window.ClearBackBuffer(colour); }
    void Present(bool vsync) override { window.Present(vsync); }

    GameWindow& window;
};

} // namespace mirefell::testing
