// BasicPostFXShader: one pixel shader.
#include "render/BasicPostFXShader.h"

#include "platform/gpu/Context.h"
#include "render/GraphicsDevice.h"

namespace mirefell
{

BasicPostFXShader::BasicPostFXShader(const std::wstring& file) : pixelShader(LoadPixelShader(file)) {}

void BasicPostFXShader::Apply()
{
    DeviceContext->PSSetShader(pixelShader.get());
}

} // namespace mirefell
