// BasicPostFXShader: one pixel shader; also the shader loading every post
// effect shares.
#include "render/BasicPostFXShader.h"

#include <vector>

#include "platform/gpu/Context.h"
#include "platform/gpu/Device.h"
#include "render/GraphicsDevice.h"
#include "render/ReadData.h"

namespace mirefell
{

std::shared_ptr<gpu::PixelShader> LoadPixelShader(const std::wstring& file)
{
    const std::vector<uint8_t> bytes = ReadData(file);
    return Device->CreatePixelShader(bytes.data(), bytes.size());
}

BasicPostFXShader::BasicPostFXShader(const std::wstring& file) : pixelShader(LoadPixelShader(file)) {}

void BasicPostFXShader::Apply()
{
    DeviceContext->PSSetShader(pixelShader.get());
}

} // namespace mirefell
