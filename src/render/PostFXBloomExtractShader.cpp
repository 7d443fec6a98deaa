// PostFXBloomExtractShader: its pixel shader.
#include "render/PostFXBloomExtractShader.h"

#include "platform/gpu/Context.h"
#include "render/GraphicsDevice.h"

namespace mirefell
{

PostFXBloomExtractShader::PostFXBloomExtractShader()
    : pixelShader(LoadPixelShader(L"shaders/PostFXBloomExtractPixelShader.glsl"))
{}

void PostFXBloomExtractShader::Apply()
{
    DeviceContext->PSSetShader(pixelShader.get());
}

} // namespace mirefell
