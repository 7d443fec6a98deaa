// PostFXFxaaShader: fast approximate anti-aliasing over a copy of the frame
// ("shaders/PostFXFxaaPixelShader.glsl"). Its constants (pixel slot 1: the
// screen width and height, then two zeros) are written by the chain at every
// window-size set-up.
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
