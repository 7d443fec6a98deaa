// BasicPostFXShader: a post effect that is nothing but a pixel shader, read
// from the file given at construction (the luminance and invulnerability
// looks).
#pragma once

#include <string>

#include "render/IPostFXShader.h"

namespace mirefell
{

class BasicPostFXShader : public IPostFXShader
{
public:
    explicit BasicPostFXShader(const std::wstring& file);
    void Apply() override;

    std::shared_ptr<gpu::PixelShader> pixelShader;
};

} // namespace mirefell
