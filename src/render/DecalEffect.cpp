// DecalEffect: shaders "shaders/DecalVertexShader.glsl" and
// "shaders/DecalPixelShader.glsl".
#include "render/DecalEffect.h"

#include <cstring>
#include <vector>

#include "platform/gpu/Context.h"
#include "render/GraphicsDevice.h"
#include "render/InstanceElements.h"

namespace mirefell
{

namespace
{
const std::vector<gpu::InputElement> Elements = InstanceElements(true);
}

DecalEffect::DecalEffect(gpu::Device* device)
    : resources(*device, L"shaders/DecalVertexShader.glsl", L"shaders/DecalPixelShader.glsl", Elements.data(),
                static_cast<uint32_t>(Elements.size()), ConstantBytes)
{}

void DecalEffect::SetMatrices(const Matrix&, const Matrix& view, const Matrix& projection)
{
    auto* bytes = static_cast<uint8_t*>(resources.MapConstants());
    const Matrix inverseViewProjection = (view * projection).Inverted();
    const float screen[2] = {static_cast<float>(ScreenWidth), static_cast<float>(ScreenHeight)};
    std::memcpy(bytes, &view, 64);
    std::memcpy(bytes + 64, &projection, 64);
    std::memcpy(bytes + 128, &inverseViewProjection, 64);
    std::memcpy(bytes + 192, screen, sizeof screen);
    resources.UnmapConstants();
    gpu::Buffer* buffers[] = {resources.constantBuffer.get()};
    DeviceContext->VSSetConstantBuffers(0, 1, buffers);
    DeviceContext->PSSetConstantBuffers(0, 1, buffers);
}

void DecalEffect::SetTexture(gpu::ShaderResourceView* texture)
{
    DeviceContext->PSSetShaderResources(0, 1, &texture);
}

} // namespace mirefell
