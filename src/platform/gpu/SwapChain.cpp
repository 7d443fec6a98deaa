// SwapChain: the back-buffer texture and the flipped copy onto the window.
#include "platform/gpu/SwapChain.h"

#include <epoxy/gl.h>

#include <algorithm>

#include "platform/gpu/Context.h"
#include "platform/gpu/Device.h"

namespace mirefell::gpu
{

SwapChain::SwapChain(Device& device_, uint32_t width_, uint32_t height_) : device(device_)
{
    ResizeBuffers(width_, height_);
}

void SwapChain::ResizeBuffers(uint32_t width_, uint32_t height_)
{
    width = std::max(1u, width_);
    height = std::max(1u, height_);
    backBufferView.reset();
    backBuffer.reset();
    Texture2DDesc desc;
    desc.width = width;
    desc.height = height;
    desc.format = BackBufferFormat;
    desc.bindFlags = BindRenderTarget | BindShaderResource;
    backBuffer = device.CreateTexture2D(desc);
    backBufferView = device.CreateRenderTargetView(backBuffer.get());
}

void SwapChain::PresentToWindow(int windowWidth, int windowHeight)
{
    GLuint framebuffer = 0;
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
    glFramebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, backBuffer->name, 0);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glDrawBuffer(GL_BACK);
    // The stored bytes are already sRGB-encoded: copy them as they are, and
    // turn the picture the right way up for OpenGL's bottom-first window.
    glDisable(GL_FRAMEBUFFER_SRGB);
    glDisable(GL_SCISSOR_TEST);
    const bool sameSize = windowWidth == static_cast<int>(width) && windowHeight == static_cast<int>(height);
    glBlitFramebuffer(0, 0, static_cast<GLint>(width), static_cast<GLint>(height), 0, windowHeight, windowWidth, 0,
                      GL_COLOR_BUFFER_BIT, sameSize ? GL_NEAREST : GL_LINEAR);
    glEnable(GL_FRAMEBUFFER_SRGB);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glDeleteFramebuffers(1, &framebuffer);
    // The context's own framebuffer binding is stale now.
    device.GetImmediateContext().InvalidateBindings();
}

std::vector<uint8_t> SwapChain::ReadWindowPixels(int windowWidth, int windowHeight)
{
    const size_t rowBytes = static_cast<size_t>(windowWidth) * 4;
    std::vector<uint8_t> bottomFirst(rowBytes * static_cast<size_t>(windowHeight));
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, windowWidth, windowHeight, GL_RGBA, GL_UNSIGNED_BYTE, bottomFirst.data());
    std::vector<uint8_t> topFirst(bottomFirst.size());
    for (int row = 0; row < windowHeight; ++row)
        std::copy_n(bottomFirst.begin() + static_cast<long>(rowBytes * static_cast<size_t>(row)), rowBytes,
                    topFirst.begin() + static_cast<long>(rowBytes * static_cast<size_t>(windowHeight - 1 - row)));
    return topFirst;
}

} // namespace mirefell::gpu
