// CommonStates: the named blend, depth-stencil, rasterizer and sampler states
// every pass draws with, each meaning what the renderer's passes ask of it:
// - Opaque (ONE, ZERO); AlphaBlend, premultiplied (ONE, INV_SRC_ALPHA);
//   Additive (SRC_ALPHA, ONE); NonPremultiplied (SRC_ALPHA, INV_SRC_ALPHA);
//   colour and alpha use the same factors;
// - DepthNone (no test, no write); DepthDefault (LESS_EQUAL, write);
//   DepthRead (LESS_EQUAL, no write);
// - CullNone; CullClockwise drops front faces (clockwise on screen);
//   CullCounterClockwise drops back faces; Wireframe culls back faces;
// - Point, Linear and Anisotropic (16x) samplers, each Wrap or Clamp.
// Each state is made on first use and lives as long as this object.
#pragma once

#include <memory>

#include "platform/gpu/GpuResources.h"

namespace mirefell::gpu
{

class Device;

class CommonStates
{
public:
    explicit CommonStates(Device& device);
    ~CommonStates();
    CommonStates(const CommonStates&) = delete;
    CommonStates& operator=(const CommonStates&) = delete;

    BlendState* Opaque();
    BlendState* AlphaBlend();
    BlendState* Additive();
    BlendState* NonPremultiplied();

    DepthStencilState* DepthNone();
    DepthStencilState* DepthDefault();
    DepthStencilState* DepthRead();

    RasterizerState* CullNone();
    RasterizerState* CullClockwise();
    RasterizerState* CullCounterClockwise();
    RasterizerState* Wireframe();

    SamplerState* PointWrap();
    SamplerState* PointClamp();
    SamplerState* LinearWrap();
    SamplerState* LinearClamp();
    SamplerState* AnisotropicWrap();
    SamplerState* AnisotropicClamp();

private:
    BlendState* MakeBlend(std::shared_ptr<BlendState>& slot, gpu::Blend src, gpu::Blend dest);
    DepthStencilState* MakeDepth(std::shared_ptr<DepthStencilState>& slot, bool enable, bool write);
    RasterizerState* MakeRaster(std::shared_ptr<RasterizerState>& slot, CullMode cull, bool wireframe);
    SamplerState* MakeSampler(std::shared_ptr<SamplerState>& slot, Filter filter, TextureAddressMode address);

    Device& device;
    std::shared_ptr<BlendState> opaque, alphaBlend, additive, nonPremultiplied;
    std::shared_ptr<DepthStencilState> depthNone, depthDefault, depthRead;
    std::shared_ptr<RasterizerState> cullNone, cullClockwise, cullCounterClockwise, wireframe;
    std::shared_ptr<SamplerState> pointWrap, pointClamp, linearWrap, linearClamp, anisotropicWrap, anisotropicClamp;
};

} // namespace mirefell::gpu
