// ColorEffect: shaders "shaders/ColorVertexShader.glsl" and
// "shaders/ColorPixelShader.glsl".
#include "render/ColorEffect.h"

#include <cstring>

#include "platform/gpu/Context.h"
#include "render/GraphicsDevice.h"
#include "render/TextureRegistry.h"
#include "render/VertexTypes.h"

namespace mirefell
{

gpu::ShaderResourceView* NormalMapView = nullptr;

void WriteColorConstants(void* destination, const Matrix& world, const Matrix& view, const Matrix& projection)
{
    auto* bytes = static_cast<uint8_t*>(destination);
    const Matrix inverseColumns = world.Inverted().Transposed();
    const Matrix worldViewProjection = (world * view) * projection;
    std::memcpy(bytes, &world, 64);
    std::memcpy(bytes + 64, &inverseColumns, 64);
    std::memcpy(bytes + 128, &worldViewProjection, 64);
}

ColorEffect::ColorEffect(gpu::Device* device)
    : resources(*device, L"shaders/ColorVertexShader.glsl", L"shaders/ColorPixelShader.glsl",
                VertexPositionNormalTangentColorTexture::InputElements,
                VertexPositionNormalTangentColorTexture::InputElementCount, ConstantBytes)
{
    NormalMapView = TextureRegistry::GetInstance().GetTexture("normal");
}

void ColorEffect::SetMatrices(const Matrix& world, const Matrix& view, const Matrix& projection)
{
    WriteColorConstants(resources.MapConstants(), world, view, projection);
    resources.UnmapConstants();
    gpu::Buffer* buffers[] = {resources.constantBuffer.get()};
    DeviceContext->VSSetConstantBuffers(0, 1, buffers);
}

void ColorEffect::SetTexture(gpu::ShaderResourceView* texture)
{
    DeviceContext->PSSetShaderResources(0, 1, &texture);
}

void ColorEffect::Bind(gpu::Context* context)
{
    context->VSSetShader(resources.vertexShader.get());
    context->PSSetShader(resources.pixelShader.get());
    context->PSSetShaderResources(1, 1, &NormalMapView);
    context->IASetInputLayout(resources.inputLayout.get());
}

} // namespace mirefell
