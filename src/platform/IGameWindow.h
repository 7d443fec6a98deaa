// IGameWindow: the game window as the Game and the input see it. Besides the
// restyling of IWindow and the cursor control of ICursorHost it offers what
// the Game needs of its swap chain: the display modes, the back buffer's
// clear and present. The back buffer is the window's client area; its colour
// encoding is sRGB, so colours are given in linear light.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/Mouse.h"
#include "platform/Window.h"
#include "platform/math/Color.h"

namespace mirefell
{

namespace gpu
{
class Device;
}

class IGameWindow : public IWindow, public ICursorHost
{
public:
    // The display's modes, sizes ascending (the last is the largest).
    virtual std::vector<DisplayMode> GetDisplayModes() const = 0;
    // The refresh rate of the display the window is on, in Hz; 0 when the
    // display does not say.
    virtual uint32_t GetRefreshRate() const = 0;
    // Resizes the client area of a window that is not full screen; entering
    // full screen afterwards picks the display mode closest to this size.
    virtual void SetClientSize(int32_t width, int32_t height) = 0;
    // The GPU device over this window's context, made current first; null
    // when the window has no GPU context (logic-only test windows). Each call
    // makes a new device; the caller destroys the old one first.
    virtual std::unique_ptr<gpu::Device> CreateGpuDevice() = 0;
    // Whether the GPU context was lost to a reset since the last
    // CreateGpuDevice; the Game asks once a frame, after Present, and then
    // makes every device object again. Always false for a window without a
    // GPU context or a driver that does not tell.
    virtual bool IsGpuDeviceLost() = 0;
    // The client area's size in pixels.
    virtual void GetClientSize(int32_t& width, int32_t& height) const = 0;
    // Clears the whole window framebuffer (colour, depth and stencil); used
    // only while no GPU device draws the frame.
    virtual void ClearBackBuffer(const Color& colour) = 0;
    // Shows the back buffer; with vsync, waits for the display's refresh.
    virtual void Present(bool vsync) = 0;
};

} // namespace mirefell
