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

} // namespace mirefell
