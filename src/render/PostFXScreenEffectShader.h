// PostFXScreenEffectShader: the per-state screen looks (title distortion,
// damage, teleport and pickup flashes, the level-complete fade), from
// "shaders/PostFXScreenEffectPixelShader.glsl". The tint of the quad carries
// the state's colour; SetParameters writes and binds the other two values.
#pragma once

#include "platform/math/Color.h"
#include "render/IPostFXShader.h"

namespace mirefell
{

class PostFXScreenEffectShader : public IPostFXShader
{
public:
    // Pixel-stage slot 1: screen width and height at bytes 0 and 4,
    // parameter A at 16, parameter B at 20.
    static constexpr uint32_t ConstantBytes = 32;
    static constexpr uint32_t ConstantSlot = 1;

    PostFXScreenEffectShader();
    // Sets the pixel shader only; the constants are bound by SetParameters.
    void Apply() override;
    // Writes the screen size and the two parameters and binds them.
    void SetParameters(float parameterA, float parameterB);

    std::shared_ptr<gpu::PixelShader> pixelShader;
    std::shared_ptr<gpu::Buffer> constantBuffer;
};

} // namespace mirefell
