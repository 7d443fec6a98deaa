// CommonStates: the toolkit's named states as GPU-layer state objects.
#include "platform/gpu/CommonStates.h"

#include "platform/gpu/Device.h"

namespace mirefell::gpu
{

CommonStates::CommonStates(Device& device_) : device(device_) {}
CommonStates::~CommonStates() = default;

BlendState* CommonStates::MakeBlend(std::shared_ptr<BlendState>& slot, gpu::Blend src, gpu::Blend dest)
{
    if (!slot) {
        BlendDesc desc;
        RenderTargetBlendDesc& target = desc.renderTarget[0];
        target.srcBlend = target.srcBlendAlpha = src;
        target.destBlend = target.destBlendAlpha = dest;
        target.blendEnable = target.srcBlend != gpu::Blend::One || target.destBlend != gpu::Blend::Zero;
        slot = device.CreateBlendState(desc);
    }
    return slot.get();
}

BlendState* CommonStates::Opaque()
{
    return MakeBlend(opaque, gpu::Blend::One, gpu::Blend::Zero);
}
BlendState* CommonStates::AlphaBlend()
{
    return MakeBlend(alphaBlend, gpu::Blend::One, gpu::Blend::InvSrcAlpha);
}
BlendState* CommonStates::Additive()
{
    return MakeBlend(additive, gpu::Blend::SrcAlpha, gpu::Blend::One);
}
BlendState* CommonStates::NonPremultiplied()
{
    return MakeBlend(nonPremultiplied, gpu::Blend::SrcAlpha, gpu::Blend::InvSrcAlpha);
}

DepthStencilState* CommonStates::MakeDepth(std::shared_ptr<DepthStencilState>& slot, bool enable, bool write)
{
    if (!slot) {
        DepthStencilDesc desc;
        desc.depthEnable = enable;
        desc.depthWrite = write;
        desc.depthFunc = ComparisonFunc::LessEqual;
        desc.stencilEnable = false;
        slot = device.CreateDepthStencilState(desc);
    }
    return slot.get();
}

DepthStencilState* CommonStates::DepthNone()
{
    return MakeDepth(depthNone, false, false);
}
DepthStencilState* CommonStates::DepthDefault()
{
    return MakeDepth(depthDefault, true, true);
}
DepthStencilState* CommonStates::DepthRead()
{
    return MakeDepth(depthRead, true, false);
}

RasterizerState* CommonStates::MakeRaster(std::shared_ptr<RasterizerState>& slot, CullMode cull, bool wire)
{
    if (!slot) {
        RasterizerDesc desc;
        desc.cullMode = cull;
        desc.fillMode = wire ? FillMode::Wireframe : FillMode::Solid;
        desc.frontCounterClockwise = false;
        desc.depthClipEnable = true;
        slot = device.CreateRasterizerState(desc);
    }
    return slot.get();
}

RasterizerState* CommonStates::CullNone()
{
    return MakeRaster(cullNone, CullMode::None, false);
}
RasterizerState* CommonStates::CullClockwise()
{
    return MakeRaster(cullClockwise, CullMode::Front, false);
}
RasterizerState* CommonStates::CullCounterClockwise()
{
    return MakeRaster(cullCounterClockwise, CullMode::Back, false);
}
RasterizerState* CommonStates::Wireframe()
{
    return MakeRaster(wireframe, CullMode::Back, true);
}

SamplerState* CommonStates::MakeSampler(std::shared_ptr<SamplerState>& slot, Filter filter, TextureAddressMode address)
{
    if (!slot) {
        SamplerDesc desc;
        desc.filter = filter;
        desc.addressU = desc.addressV = desc.addressW = address;
        desc.maxAnisotropy = 16;
        desc.minLod = 0;
        slot = device.CreateSamplerState(desc);
    }
    return slot.get();
}

SamplerState* CommonStates::PointWrap()
{
    return MakeSampler(pointWrap, Filter::MinMagMipPoint, TextureAddressMode::Wrap);
}
SamplerState* CommonStates::PointClamp()
{
    return MakeSampler(pointClamp, Filter::MinMagMipPoint, TextureAddressMode::Clamp);
}
SamplerState* CommonStates::LinearWrap()
{
    return MakeSampler(linearWrap, Filter::MinMagMipLinear, TextureAddressMode::Wrap);
}
SamplerState* CommonStates::LinearClamp()
{
    return MakeSampler(linearClamp, Filter::MinMagMipLinear, TextureAddressMode::Clamp);
}
SamplerState* CommonStates::AnisotropicWrap()
{
    return MakeSampler(anisotropicWrap, Filter::Anisotropic, TextureAddressMode::Wrap);
}
SamplerState* CommonStates::AnisotropicClamp()
{
    return MakeSampler(anisotropicClamp, Filter::Anisotropic, TextureAddressMode::Clamp);
}

} // namespace mirefell::gpu
