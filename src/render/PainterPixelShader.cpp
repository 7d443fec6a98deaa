// PainterPixelShader: the shader file to a GPU object.
#include "render/PainterPixelShader.h"

#include "platform/gpu/Device.h"
#include "render/ReadData.h"

namespace mirefell
{

PainterPixelShader::PainterPixelShader(gpu::Device* device)
{
    const std::vector<uint8_t> bytes = ReadData(L"shaders/PainterPixelShader.glsl");
    shader = device->CreatePixelShader(bytes.data(), bytes.size());
}

} // namespace mirefell
