// PostFXFxaaShader: its shader and constants.
#include "render/PostFXFxaaShader.h"

#include "platform/gpu/Context.h"
#include "platform/gpu/Device.h"
#include "render/GraphicsDevice.h"

namespace mirefell
{

PostFXFxaaShader::PostFXFxaaShader() : pixelShader(LoadPixelShader(L"shaders/PostFXFxaaPixelShader.glsl"))
{
    gpu::BufferDesc desc;
    desc.byteWidth = ConstantBytes;
    desc.usage = gpu::Usage::Default;
    desc.bindFlags = gpu::BindConstantBuffer;
    constantBuffer = Device->CreateBuffer(desc);
}

void PostFXFxaaShader::Apply()
{
    gpu::Buffer* buffer = constantBuffer.get();
    DeviceContext->PSSetConstantBuffers(ConstantSlot, 1, &buffer);
    DeviceContext->PSSetShader(pixelShader.get());
}

} // namespace mirefell
