// GameWindow: the one window of the game and its OpenGL 3.3 core context with
// an sRGB-capable default framebuffer. It is created in the layout the
// settings give (platform/WindowLayout.h), with a minimum client size of
// 320 x 200, and owns its context: the context is current on the creating
// thread from construction to destruction.
//
// The context is asked to be lost on a GPU reset and to say so, where the
// driver offers that (HasResetNotification; Mesa's software rasteriser does
// not). A lost context is replaced by a new one on the next CreateGpuDevice;
// everything made on the old one is gone with it.
//
// Needs a VideoSystem. Construction failures throw GameError.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/IGameWindow.h"
#include "platform/WindowLayout.h"

namespace mirefell
{

class GameWindow final : public IGameWindow
{
public:
    static constexpr int32_t MinimumWidth = 320;
    static constexpr int32_t MinimumHeight = 200;

    GameWindow(const std::string& title, const WindowLayout& layout);
    ~GameWindow() override;
    GameWindow(const GameWindow&) = delete;
    GameWindow& operator=(const GameWindow&) = delete;

    // IWindow
    // Full screen takes the display mode closest to the current client size.
    void SetFullscreenState(bool fullscreen) override;
    void SetWindowedStyle(int width, int height) override;
    void SetBorderlessStyle() override;

    // ICursorHost
    void SetRelativeMouseMode(bool relative) override;
    void CentreCursor() override;

    // IGameWindow
    std::vector<DisplayMode> GetDisplayModes() const override;
    uint32_t GetRefreshRate() const override;
    void SetClientSize(int32_t width, int32_t height) override;
    // After a lost context, a new context first.
    std::unique_ptr<gpu::Device> CreateGpuDevice() override;
    bool IsGpuDeviceLost() override;
    void GetClientSize(int32_t& width, int32_t& height) const override;
    void ClearBackBuffer(const Color& colour) override;
    void Present(bool vsync) override;

    void SetCursorVisible(bool visible);
    bool IsFullscreen() const;
    bool IsBordered() const;
    // The context's version as major * 10 + minor (33 for 3.3).
    int GetContextVersion() const;
    // Whether writes to the back buffer are encoded to sRGB.
    bool IsBackBufferSrgb() const { return srgb; }
    // Whether the driver tells of a GPU reset by losing the context.
    bool HasResetNotification() const { return resetNotification; }
    // Replaces where IsGpuDeviceLost learns of a reset (the driver's reset
    // status; nothing where the driver gives none): a test plays a reset on
    // a driver that has none. An empty source restores the driver's.
    void SetResetStatusSource(std::function<bool()> source);
    // Counts the contexts made after the first (one per lost context).
    int GetContextGeneration() const { return contextGeneration; }
    // One back-buffer pixel as bytes r, g, b, a (r lowest); row 0 is the top
    // row. For screenshots and tests; read before Present.
    uint32_t ReadBackBufferPixel(int32_t x, int32_t y) const;

private:
    // Per-context state: the sRGB encoding, the reset notification, the
    // swap interval.
    void SetUpContext();
    // Drops the lost context and makes a new one as the first was made;
    // throws GameError when the driver refuses it for about two seconds.
    void RecreateContext();

    struct Handles;
    std::unique_ptr<Handles> handles;
    bool srgbRequested = true; // the window's visual offers sRGB
    bool srgb = false;
    int swapInterval = -1; // not yet set
    bool resetNotification = false;
    bool contextLost = false; // until the next CreateGpuDevice
    int contextGeneration = 0;
    std::function<bool()> resetStatusSource;
};

} // namespace mirefell
