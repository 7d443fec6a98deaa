// SsaoSlot: the Direct3D-style per-frame inputs the post-processing chain
// hands the adaptive SSAO effect, declared here until the effect's own
// implementation header (which defines the same record) joins the renderer;
// then this file goes and PostFXChain includes that header instead.
#pragma once

#include "render/ASSAO_Effect.h"

namespace mirefell
{

struct ASSAO_InputsDX11 : ASSAO_Inputs
{
    gpu::Context* deviceContext = nullptr;
    gpu::ShaderResourceView* depthSRV = nullptr;
    gpu::ShaderResourceView* normalSRV = nullptr;
    gpu::RenderTargetView* overrideOutputRTV = nullptr;
};

} // namespace mirefell
