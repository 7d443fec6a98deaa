// SavedContextState: copies bindings out of a Context and back in.
#include "platform/gpu/SavedContextState.h"

#include <cassert>

#include "platform/gpu/Context.h"

namespace mirefell::gpu
{

namespace
{

template <class T> std::shared_ptr<T> Hold(T* object)
{
    return object ? std::static_pointer_cast<T>(object->shared_from_this()) : nullptr;
}

// Raw pointers of the held objects, as the context's setters take them.
template <class T, size_t N> std::array<T*, N> Pointers(const std::array<std::shared_ptr<T>, N>& held)
{
    std::array<T*, N> raw{};
    for (size_t i = 0; i < N; ++i)
        raw[i] = held[i].get();
    return raw;
}

} // namespace

void SavedContextState::Save(const Context& context, const PixelSlots& slots_)
{
    assert(slots_.samplers <= SamplerSlots && slots_.constantBuffers <= ConstantBufferSlots &&
           slots_.resources <= ShaderResourceSlots);
    slots = slots_;
    viewport = context.RSGetViewport();
    scissor = context.RSGetScissorRect();
    for (uint32_t slot = 0; slot < slots.samplers; ++slot)
        samplers[slot] = Hold(context.PSGetSampler(slot));
    for (uint32_t slot = 0; slot < slots.constantBuffers; ++slot)
        constantBuffers[slot] = Hold(context.PSGetConstantBuffer(slot));
    for (uint32_t slot = 0; slot < slots.resources; ++slot)
        resources[slot] = Hold(context.PSGetShaderResource(slot));
    blendState = Hold(context.OMGetBlendState(blendFactor, &sampleMask));
    depthStencilState = Hold(context.OMGetDepthStencilState(&stencilRef));
    topology = context.IAGetPrimitiveTopology();
    inputLayout = Hold(context.IAGetInputLayout());
    rasterizerState = Hold(context.RSGetState());
    for (uint32_t slot = 0; slot < RenderTargetSlots; ++slot)
        renderTargets[slot] = Hold(context.OMGetRenderTarget(slot));
    depthStencil = Hold(context.OMGetDepthStencil());
}

void SavedContextState::Restore(Context& context)
{
    const auto targets = Pointers(renderTargets);
    context.OMSetRenderTargets(RenderTargetSlots, targets.data(), depthStencil.get());
    context.RSSetViewports(1, &viewport);
    context.RSSetScissorRects(1, &scissor);
    const auto samplerPointers = Pointers(samplers);
    context.PSSetSamplers(0, slots.samplers, samplerPointers.data());
    const auto bufferPointers = Pointers(constantBuffers);
    context.PSSetConstantBuffers(0, slots.constantBuffers, bufferPointers.data());
    const auto resourcePointers = Pointers(resources);
    context.PSSetShaderResources(0, slots.resources, resourcePointers.data());
    context.OMSetBlendState(blendState.get(), blendFactor, sampleMask);
    context.OMSetDepthStencilState(depthStencilState.get(), stencilRef);
    context.IASetPrimitiveTopology(topology);
    context.IASetInputLayout(inputLayout.get());
    context.RSSetState(rasterizerState.get());

    samplers = {};
    constantBuffers = {};
    resources = {};
    blendState.reset();
    depthStencilState.reset();
    inputLayout.reset();
    rasterizerState.reset();
    renderTargets = {};
    depthStencil.reset();
}

} // namespace mirefell::gpu
