// SwapChain: the back buffer the frame is drawn into and its way onto the
// window. OpenGL's window framebuffer cannot be read as a texture and keeps
// its rows bottom first, so the game draws into an sRGB texture of the window
// size (what the passes copy and read) and PresentToWindow copies it onto the
// window, top row at the top; the window's own swap follows.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gpu/GpuResources.h"

namespace mirefell::gpu
{

class Device;

class SwapChain
{
public:
    static constexpr Format BackBufferFormat = Format::R8G8B8A8_UNORM_SRGB;

    SwapChain(Device& device, uint32_t width, uint32_t height);
    // Replaces the back buffer and its view; views taken before are stale.
    void ResizeBuffers(uint32_t width, uint32_t height);

    Texture2D* GetBackBuffer() const { return backBuffer.get(); }
    RenderTargetView* GetBackBufferView() const { return backBufferView.get(); }
    uint32_t Width() const { return width; }
    uint32_t Height() const { return height; }

    // Copies the back buffer over the window's framebuffer (stretched when the
    // sizes differ). The caller swaps the window afterwards.
    void PresentToWindow(int windowWidth, int windowHeight);
    // The window framebuffer's pixels, RGBA, top row first (screenshots and
    // tests of the presented picture).
    static std::vector<uint8_t> ReadWindowPixels(int windowWidth, int windowHeight);

private:
    Device& device;
    uint32_t width = 0;
    uint32_t height = 0;
    std::shared_ptr<Texture2D> backBuffer;
    std::shared_ptr<RenderTargetView> backBufferView;
};

} // namespace mirefell::gpu
