// SavedContextState: a copy of the parts of a Context's bindings that a
// self-contained pass changes (the adaptive SSAO, for one), taken before the
// pass and put back after it, so the caller finds its render targets,
// viewport, states and pixel-stage resources as it left them. Vertex and
// pixel shaders, vertex buffers and vertex-stage bindings are not part of it:
// callers bind their own again after such a pass.
//
// It holds references to what was bound, so nothing saved is destroyed
// before Restore; Save and Restore allocate nothing.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "platform/gpu/GpuResources.h"
#include "platform/gpu/GpuTypes.h"

namespace mirefell::gpu
{

class Context;

class SavedContextState
{
public:
    // How many of the first pixel-stage slots of each kind are kept.
    struct PixelSlots
    {
        uint32_t samplers = SamplerSlots;
        uint32_t constantBuffers = ConstantBufferSlots;
        uint32_t resources = ShaderResourceSlots;
    };

    // Keeps the viewport, the scissor rectangle, the first slots of the
    // pixel stage, the blend state with factor and sample mask, the
    // depth-stencil state with its reference, the topology, the input layout,
    // the rasterizer state, the eight render targets and the depth view.
    void Save(const Context& context, const PixelSlots& slots);
    // Every pixel-stage slot.
    void Save(const Context& context) { Save(context, PixelSlots{}); }
    // Binds everything kept back (render targets before shader resources,
    // so a view the targets hide stays unbound as it was), then lets go.
    void Restore(Context& context);

private:
    PixelSlots slots;
    Viewport viewport;
    Rect scissor;
    std::array<std::shared_ptr<SamplerState>, SamplerSlots> samplers;
    std::array<std::shared_ptr<Buffer>, ConstantBufferSlots> constantBuffers;
    std::array<std::shared_ptr<ShaderResourceView>, ShaderResourceSlots> resources;
    std::shared_ptr<BlendState> blendState;
    float blendFactor[4] = {1, 1, 1, 1};
    uint32_t sampleMask = 0xffffffffu;
    std::shared_ptr<DepthStencilState> depthStencilState;
    uint32_t stencilRef = 0;
    PrimitiveTopology topology = PrimitiveTopology::Undefined;
    std::shared_ptr<InputLayout> inputLayout;
    std::shared_ptr<RasterizerState> rasterizerState;
    std::array<std::shared_ptr<RenderTargetView>, RenderTargetSlots> renderTargets;
    std::shared_ptr<DepthStencilView> depthStencil;
};

} // namespace mirefell::gpu
