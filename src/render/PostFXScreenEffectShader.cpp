// PostFXScreenEffectShader: its shader and constants.
#include "render/PostFXScreenEffectShader.h"

#include <algorithm>
#include <utility>

#include "platform/gpu/Context.h"
#include "render/GraphicsDevice.h"

namespace mirefell
{

PostFXScreenEffectShader::PostFXScreenEffectShader()
    : pixelShader(LoadPixelShader(L"shaders/PostFXScreenEffectPixelShader.glsl")),
      constantBuffer(CreateDynamicConstants(ConstantBytes))
{}

void PostFXScreenEffectShader::Apply()
{
    DeviceContext->PSSetShader(pixelShader.get());
}

void PostFXScreenEffectShader::SetParameters(float parameterA, float parameterB)
{
    auto* values = static_cast<float*>(DeviceContext->Map(constantBuffer.get(), gpu::MapType::WriteDiscard));
    values[0] = static_cast<float>(ScreenWidth);
    values[1] = static_cast<float>(ScreenHeight);
    values[4] = parameterA;
    values[5] = parameterB;
    DeviceContext->Unmap(constantBuffer.get());
    gpu::Buffer* buffer = constantBuffer.get();
    DeviceContext->PSSetConstantBuffers(ConstantSlot, 1, &buffer);
}

Color PostFXScreenEffectShader::PlayWash(float damage, float teleport, float pickup)
{
    // The shader's colours and strengths ("PostFXScreenEffectPixelShader.glsl").
    constexpr Vector3 Hurt(0.8f, 0.0f, 0.0f);
    constexpr Vector3 Teleport(0.7f, 1.0f, 0.8f);
    constexpr Vector3 Pickup(1.0f, 0.8f, 0.3f);
    // Three mixes in turn: c' = c (1 - w) + colour w.
    float keep = 1.0f;
    Vector3 offset;
    for (const auto& [colour, weight] : {std::pair{Hurt, std::clamp(damage * 0.6f, 0.0f, 1.0f)},
                                         std::pair{Teleport, std::clamp(teleport * 0.8f, 0.0f, 1.0f)},
                                         std::pair{Pickup, std::clamp(pickup * 0.5f, 0.0f, 1.0f)}}) {
        offset = offset * (1.0f - weight) + colour * weight;
        keep *= 1.0f - weight;
    }
    return {offset.x, offset.y, offset.z, 1.0f - keep};
}

} // namespace mirefell
