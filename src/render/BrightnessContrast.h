// BrightnessContrast: the last pass of every frame. It copies the finished
// back buffer (3D picture, post effects and interface) and draws the copy
// back over the whole window through the brightness and contrast shader, so
// the two settings act on everything the player sees; at the defaults
// (brightness 0, contrast 1) it draws the frame back as it was, through the
// shader's variant for the defaults, which only reads the copy back. Core owns one:
// LoadShader after each device creation, CreateTarget at every size change,
// Release on device loss.
#pragma once

#include <memory>

#include "platform/gpu/GpuResources.h"
#include "platform/gpu/GpuTypes.h"

namespace mirefell
{

class SpriteBatch;

class BrightnessContrast
{
public:
    // Pixel-stage slot 0: brightness at byte 0, contrast at byte 4.
    static constexpr uint32_t ConstantBytes = 16;

    BrightnessContrast();
    ~BrightnessContrast();
    BrightnessContrast(const BrightnessContrast&) = delete;
    BrightnessContrast& operator=(const BrightnessContrast&) = delete;

    // The sprite batch, the pixel shader and the constant buffer.
    void LoadShader();
    // Keeps the back buffer (not owned) and makes the frame copy at the
    // screen size.
    void CreateTarget(gpu::Texture2D* backBuffer_);
    void Release();
    // The pass, into the bound render target (the back buffer): one copy and
    // one quad, every frame.
    void Apply(float brightness, float contrast);
    // Copies made since construction (tests and benchmarks).
    uint64_t copiesMade = 0;

private:
    gpu::Texture2D* backBuffer = nullptr;
    std::shared_ptr<gpu::Texture2D> frameCopy;
    std::shared_ptr<gpu::ShaderResourceView> frameCopyView;
    std::unique_ptr<SpriteBatch> spriteBatch;
    std::shared_ptr<gpu::PixelShader> pixelShader;
    std::shared_ptr<gpu::PixelShader> defaultsShader; // AT_DEFAULTS: the copy as it is
    std::shared_ptr<gpu::Buffer> constantBuffer;
    gpu::Rect fullRectangle;
};

} // namespace mirefell
