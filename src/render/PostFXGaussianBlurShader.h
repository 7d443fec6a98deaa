// PostFXGaussianBlurShader: the bloom blur ("shaders/PostFXGaussianBlurPixel
// Shader.glsl") and its two constant blocks, one per direction: fifteen
// float4 offsets (k dx, k dy, 0, 0) then fifteen float4 weights (w, 0, 0, 0),
// k = 0, +-1.5, +-3.5, ..., +-13.5 texels (bilinear taps), w a Gaussian of
// variance 4 over the tap pairs normalised to sum to 1. The deferred renderer
// binds the shader and one of the blocks itself, so Apply does nothing.
#pragma once

#include <array>
#include <cstdint>

#include "render/IPostFXShader.h"

namespace mirefell
{

class PostFXGaussianBlurShader : public IPostFXShader
{
public:
    static constexpr int SampleCount = 15;
    static constexpr uint32_t ConstantBytes = 480;
    using Constants = std::array<float, SampleCount * 8>;

    PostFXGaussianBlurShader();
    void Apply() override {}
    // Rewrites both blocks for the current screen size: horizontal steps of
    // one texel of a W/2-wide target, vertical of an H/2-high one.
    void UpdateWeights();
    // The block for one direction (dx, dy) in texture coordinates.
    static Constants BuildConstants(float dx, float dy);

    std::shared_ptr<gpu::PixelShader> pixelShader;
    std::shared_ptr<gpu::Buffer> horizontalConstants;
    std::shared_ptr<gpu::Buffer> verticalConstants;
};

} // namespace mirefell
