// TextureEffect: shaders "shaders/TextureVertexShader.glsl" and
// "shaders/TexturePixelShader.glsl".
#include "render/TextureEffect.h"

#include "platform/gpu/Context.h"
#include "render/ColorEffect.h"
#include "render/GraphicsDevice.h"
#include "render/VertexTypes.h"

namespace mirefell
{

TextureEffect::TextureEffect(gpu::Device* device)
    : resources(*device, L"shaders/TextureVertexShader.glsl", L"shaders/TexturePixelShader.glsl",
                VertexPositionNormalTexture::InputElements, VertexPositionNormalTexture::InputElementCount,
                ConstantBytes)
{}

void TextureEffect::SetMatrices(const Matrix& world, const Matrix& view, const Matrix& projection)
{
    WriteColorConstants(resources.MapConstants(), world, view, projection);
    resources.UnmapConstants();
    gpu::Buffer* buffers[] = {resources.constantBuffer.get()};
    DeviceContext->VSSetConstantBuffers(0, 1, buffers);
}

void TextureEffect::SetTexture(gpu::ShaderResourceView* texture)
{
    DeviceContext->PSSetShaderResources(0, 1, &texture);
}

} // namespace mirefell
