// PostFXBloomExtractShader: the bright part of the surface colour into the
// first half-size bloom target ("shaders/PostFXBloomExtractPixelShader.glsl").
#pragma once

#include "render/IPostFXShader.h"

namespace mirefell
{

class PostFXBloomExtractShader : public IPostFXShader
{
public:
    PostFXBloomExtractShader();
    void Apply() override;

    std::shared_ptr<gpu::PixelShader> pixelShader;
};

} // namespace mirefell
