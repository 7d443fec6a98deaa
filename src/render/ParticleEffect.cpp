// ParticleEffect: shaders "shaders/ParticleVertexShader.glsl" and
// "shaders/ParticlePixelShader.glsl".
#include "render/ParticleEffect.h"

#include <cstring>

#include "platform/gpu/Context.h"
#include "render/GraphicsDevice.h"

namespace mirefell
{

namespace
{
using gpu::AppendAlignedElement;
using gpu::Format;
const gpu::InputElement Elements[] = {
    {"SV_Position", 0, Format::R32G32B32_FLOAT, 0, 0, false, 0},
    {"WORLD", 0, Format::R32G32B32A32_FLOAT, 1, AppendAlignedElement, true, 1},
    {"WORLD", 1, Format::R32G32B32A32_FLOAT, 1, AppendAlignedElement, true, 1},
    {"WORLD", 2, Format::R32G32B32A32_FLOAT, 1, AppendAlignedElement, true, 1},
    {"WORLD", 3, Format::R32G32B32A32_FLOAT, 1, AppendAlignedElement, true, 1},
    {"COLOR", 0, Format::R32G32B32A32_FLOAT, 1, AppendAlignedElement, true, 1},
};
} // namespace

ParticleEffect::ParticleEffect(gpu::Device* device)
    : resources(*device, L"shaders/ParticleVertexShader.glsl", L"shaders/ParticlePixelShader.glsl", Elements, 6,
                ConstantBytes)
{}

void ParticleEffect::SetMatrices(const Matrix& world, const Matrix& view, const Matrix& projection)
{
    auto* bytes = static_cast<uint8_t*>(resources.MapConstants());
    const Matrix columns[3] = {world.Transposed(), view.Transposed(), projection.Transposed()};
    std::memcpy(bytes, columns, sizeof columns);
    resources.UnmapConstants();
    gpu::Buffer* buffers[] = {resources.constantBuffer.get()};
    DeviceContext->VSSetConstantBuffers(0, 1, buffers);
}

} // namespace mirefell
