// PostFXFxaaShader: its shader and constants.
#include "render/PostFXFxaaShader.h"

#include "platform/gpu/Context.h"
#include "platform/gpu/Device.h"
#include "render/GraphicsDevice.h"

namespace mirefell
{

PostFXFxaaShader::PostFXFxaaShader()
    : pixelShader(LoadPixelShader(L"shaders/PostFXFxaaPixelShader.glsl")),
      flatShader(LoadPixelShader(L"shaders/PostFXFxaaPixelShader.glsl", "#define FLAT_PIXELS 1\n"))
{
    gpu::BufferDesc desc;
    desc.byteWidth = ConstantBytes;
    desc.usage = gpu::Usage::Default;
    desc.bindFlags = gpu::BindConstantBuffer;
    constantBuffer = Device->CreateBuffer(desc);
    gpu::SamplerDesc sampler;
    sampler.filter = gpu::Filter::MinMagMipLinear;
    sampler.addressU = sampler.addressV = sampler.addressW = gpu::TextureAddressMode::Clamp;
    linearClamp = Device->CreateSamplerState(sampler);
    sampler.filter = gpu::Filter::MinMagMipPoint;
    pointClamp = Device->CreateSamplerState(sampler);
}

void PostFXFxaaShader::Apply()
{
    gpu::Buffer* buffer = constantBuffer.get();
    DeviceContext->PSSetConstantBuffers(ConstantSlot, 1, &buffer);
    DeviceContext->PSSetShader(flatPixels ? flatShader.get() : pixelShader.get());
    // The bloom's two textures are read bilinearly through sampler slot 1;
    // the flat variant reads the frame through the point sampler at slot 0
    // (cheaper than texelFetch on the software rasteriser, and its clamping
    // stands the edge texels in beyond the picture), while the whole pass
    // keeps the batch's bilinear one for FXAA's blend.
    gpu::SamplerState* linear = linearClamp.get();
    DeviceContext->PSSetSamplers(1, 1, &linear);
    if (flatPixels) {
        gpu::SamplerState* point = pointClamp.get();
        DeviceContext->PSSetSamplers(0, 1, &point);
    }
}

} // namespace mirefell
