// InstancedTextureEffect: shaders "shaders/InstancedTextureVertexShader.glsl"
// and "shaders/InstancedTexturePixelShader.glsl".
#include "render/InstancedTextureEffect.h"

#include <cstring>
#include <vector>

#include "platform/gpu/Context.h"
#include "render/GraphicsDevice.h"
#include "render/InstanceElements.h"

namespace mirefell
{

namespace
{
const std::vector<gpu::InputElement> Elements = InstanceElements(false);
}

InstancedTextureEffect::InstancedTextureEffect(gpu::Device* device)
    : resources(*device, L"shaders/InstancedTextureVertexShader.glsl", L"shaders/InstancedTexturePixelShader.glsl",
                Elements.data(), static_cast<uint32_t>(Elements.size()), ConstantBytes)
{}

void InstancedTextureEffect::SetMatrices(const Matrix&, const Matrix& view, const Matrix& projection)
{
    auto* bytes = static_cast<uint8_t*>(resources.MapConstants());
    const Matrix viewColumns = view.Transposed();
    const Matrix projectionColumns = projection.Transposed();
    std::memcpy(bytes, &viewColumns, 64);
    std::memcpy(bytes + 64, &projectionColumns, 64);
    resources.UnmapConstants();
    gpu::Buffer* buffers[] = {resources.constantBuffer.get()};
    DeviceContext->VSSetConstantBuffers(0, 1, buffers);
}

void InstancedTextureEffect::SetTexture(gpu::ShaderResourceView* texture)
{
    DeviceContext->PSSetShaderResources(0, 1, &texture);
}

} // namespace mirefell
