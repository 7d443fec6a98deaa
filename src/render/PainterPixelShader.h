// PainterPixelShader: the holder of the pixel shader every UI sprite and text
// is drawn with, "shaders/PainterPixelShader.glsl", installed in place of the
// sprite batch's own by Painter::BeginWithShader. It reads what the sprite
// vertex stage passes and the sprite texture at slot 0; no constants.
#pragma once

#include <memory>

#include "platform/gpu/GpuResources.h"

namespace mirefell
{

namespace gpu
{
class Device;
}

class PainterPixelShader
{
public:
    // Reads the file through ReadData; throws what ReadData and the GPU
    // layer throw.
    explicit PainterPixelShader(gpu::Device* device);

    gpu::PixelShader* Get() const { return shader.get(); }

private:
    std::shared_ptr<gpu::PixelShader> shader;
};

} // namespace mirefell
