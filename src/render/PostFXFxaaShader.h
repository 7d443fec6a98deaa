// PostFXFxaaShader: the frame's finishing pass ("shaders/PostFXFxaaPixel
// Shader.glsl"): fast approximate anti-aliasing of the composed frame and
// the bloom laid over it, whole or in two parts (the pixels off the edges,
// then the edges). Its constants (pixel slot 1: the screen width and
// height, then 1 or 0 for FXAA on and for the bloom on) are written by the
// chain at every window-size set-up and at every finishing pass.
#pragma once

#include "render/IPostFXShader.h"

namespace mirefell
{

class PostFXFxaaShader : public IPostFXShader
{
public:
    static constexpr uint32_t ConstantBytes = 16;
    static constexpr uint32_t ConstantSlot = 1;

    PostFXFxaaShader();
    // Binds the constants at pixel slot 1, then the pixel shader: the flat
    // variant when `flatPixels` is set; and the samplers: bilinear at slot
    // 1, and point at slot 0 for the flat variant.
    void Apply() override;

    std::shared_ptr<gpu::PixelShader> pixelShader;
    // Built with FLAT_PIXELS: draws the pixels FXAA leaves alone, discards
    // the edges.
    std::shared_ptr<gpu::PixelShader> flatShader;
    bool flatPixels = false;
    std::shared_ptr<gpu::SamplerState> linearClamp; // slot 1: the bloom's textures
    std::shared_ptr<gpu::SamplerState> pointClamp;  // slot 0 of the flat variant: the frame
    std::shared_ptr<gpu::Buffer> constantBuffer;
};

} // namespace mirefell
