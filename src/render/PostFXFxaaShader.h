// PostFXFxaaShader: the frame's finishing pass ("shaders/PostFXFxaaPixel
// Shader.glsl"): fast approximate anti-aliasing of the composed frame and
// the bloom laid over it. Its constants (pixel slot 1: the screen width and
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
    // Binds the constants at pixel slot 1, then the pixel shader.
    void Apply() override;

    std::shared_ptr<gpu::PixelShader> pixelShader;
    std::shared_ptr<gpu::Buffer> constantBuffer;
};

} // namespace mirefell
