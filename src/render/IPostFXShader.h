// IPostFXShader: one full-screen effect's pixel shader and whatever
// constants it binds itself. The post-processing chain and the deferred
// renderer draw a quad through the sprite batch and call Apply from the
// batch's set-up callback, after the batch has set its own shaders, so Apply
// replaces the pixel shader.
#pragma once

#include <memory>
#include <string>

#include "platform/gpu/GpuResources.h"

namespace mirefell
{

class IPostFXShader
{
public:
    virtual ~IPostFXShader() = default;
    // Binds the effect's pixel shader (and its constants, where it has
    // them) on the immediate context.
    virtual void Apply() = 0;
};

// A pixel shader from a shader file read through ReadData, on the
// process-wide Device; throws what ReadData and the GPU layer throw.
std::shared_ptr<gpu::PixelShader> LoadPixelShader(const std::wstring& file);

} // namespace mirefell
