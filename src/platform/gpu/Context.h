// Context: the immediate context of a Device. It keeps Direct3D's binding
// model (slots per stage, state objects, render targets with a depth view)
// and turns it into OpenGL calls when something is drawn or cleared: the
// linked program of the bound shader pair, the vertex attributes of the bound
// layout and vertex buffers, the state objects and a sampler on every texture
// unit the pixel shader reads.
//
// Hazards follow Direct3D, per mip level: binding a render target unbinds
// every shader-resource view whose levels include the target's level (a
// depth target: every view of its texture), and binding a view whose levels
// include a bound target's level binds nothing. So no pass can read what it
// writes, while a pass may read mip N - 1 of a texture and write mip N.
//
// Bound objects are kept alive by the context until they are replaced.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "platform/gpu/GpuResources.h"
#include "platform/gpu/GpuTypes.h"

namespace mirefell::gpu
{

class Device;

class Context
{
public:
    explicit Context(Device& device);
    ~Context();
    Context(const Context&) = delete;
    Context& operator=(const Context&) = delete;

    // Shaders and their resources.
    void VSSetShader(VertexShader* shader);
    void PSSetShader(PixelShader* shader);
    void VSSetConstantBuffers(uint32_t startSlot, uint32_t count, Buffer* const* buffers);
    void PSSetConstantBuffers(uint32_t startSlot, uint32_t count, Buffer* const* buffers);
    void PSSetShaderResources(uint32_t startSlot, uint32_t count, ShaderResourceView* const* views);
    void PSSetSamplers(uint32_t startSlot, uint32_t count, SamplerState* const* samplers);

    // Input assembly.
    void IASetInputLayout(InputLayout* layout);
    void IASetVertexBuffers(uint32_t startSlot, uint32_t count, Buffer* const* buffers, const uint32_t* strides,
                            const uint32_t* offsets);
    void IASetIndexBuffer(Buffer* buffer, Format format, uint32_t offset);
    void IASetPrimitiveTopology(PrimitiveTopology topology);

    // Output merger and rasterizer. A null state means Direct3D's default.
    void OMSetRenderTargets(uint32_t count, RenderTargetView* const* views, DepthStencilView* depth);
    void OMSetBlendState(BlendState* state, const float blendFactor[4], uint32_t sampleMask);
    void OMSetDepthStencilState(DepthStencilState* state, uint32_t stencilRef);
    void RSSetState(RasterizerState* state);
    void RSSetViewports(uint32_t count, const Viewport* viewports);
    void RSSetScissorRects(uint32_t count, const Rect* rects);

    // Clears ignore the bound state: the whole view, every channel.
    void ClearRenderTargetView(RenderTargetView* view, const float color[4]);
    void ClearDepthStencilView(DepthStencilView* view, uint32_t clearFlags, float depth, uint8_t stencil);

    // Dynamic buffers only; the pointer is valid until Unmap, which uploads.
    void* Map(Buffer* buffer, MapType type);
    void Unmap(Buffer* buffer);
    // Default-usage buffers: the whole buffer from data.
    void UpdateSubresource(Buffer* buffer, const void* data);
    // Default-usage textures: one mip of one slice, rows top first.
    void UpdateSubresource(Texture2D* texture, uint32_t subresource, const void* data, uint32_t rowPitch);
    // Copies every mip of a texture of the same size and format, raw.
    void CopyResource(Texture2D* destination, Texture2D* source);
    void GenerateMips(ShaderResourceView* view);

    void Draw(uint32_t vertexCount, uint32_t startVertex);
    void DrawIndexed(uint32_t indexCount, uint32_t startIndex, int32_t baseVertex);
    void DrawInstanced(uint32_t vertexCountPerInstance, uint32_t instanceCount, uint32_t startVertex,
                       uint32_t startInstance);
    void DrawIndexedInstanced(uint32_t indexCountPerInstance, uint32_t instanceCount, uint32_t startIndex,
                              int32_t baseVertex, uint32_t startInstance);

    // Unbinds everything and restores Direct3D's default state.
    void ClearState();
    // Returns once the GPU has finished everything submitted so far
    // (benchmarks that time passes one by one).
    void Finish();
    // Forgets what OpenGL was last given, so the next draw sets framebuffer
    // and states again (after code that touched OpenGL directly).
    void InvalidateBindings() { framebufferDirty = statesDirty = true; }

    // What is bound (tests and passes that save and restore state).
    BlendState* OMGetBlendState(float factor[4], uint32_t* mask) const;
    DepthStencilState* OMGetDepthStencilState(uint32_t* reference) const;
    RasterizerState* RSGetState() const { return rasterizerState.get(); }
    const Rect& RSGetScissorRect() const { return scissor; }
    PrimitiveTopology IAGetPrimitiveTopology() const { return topology; }
    ShaderResourceView* PSGetShaderResource(uint32_t slot) const { return shaderResources[slot].get(); }
    Buffer* VSGetConstantBuffer(uint32_t slot) const { return vsConstantBuffers[slot].get(); }
    Buffer* PSGetConstantBuffer(uint32_t slot) const { return psConstantBuffers[slot].get(); }
    SamplerState* PSGetSampler(uint32_t slot) const { return samplers[slot].get(); }
    RenderTargetView* OMGetRenderTarget(uint32_t slot) const { return renderTargets[slot].get(); }
    DepthStencilView* OMGetDepthStencil() const { return depthStencil.get(); }
    VertexShader* VSGetShader() const { return vertexShader.get(); }
    PixelShader* PSGetShader() const { return pixelShader.get(); }
    InputLayout* IAGetInputLayout() const { return inputLayout.get(); }
    const Viewport& RSGetViewport() const { return viewport; }

    // Read-back for tests and screenshots: one mip of one slice, top row
    // first. RGBA8 formats give 4 bytes a pixel as stored (sRGB stays
    // encoded); other colour formats give 4 floats a pixel (missing channels
    // read 0, alpha 1); depth gives one float a pixel.
    std::vector<uint8_t> ReadPixelsRGBA8(Texture2D* texture, uint32_t mip = 0, uint32_t slice = 0);
    std::vector<float> ReadPixelsFloat(Texture2D* texture, uint32_t mip = 0, uint32_t slice = 0);
    std::vector<float> ReadDepth(Texture2D* texture);
    // The stencil of a depth-stencil texture, one byte a pixel (tests).
    std::vector<uint8_t> ReadStencil(Texture2D* texture);
    // A frame's own read-back of a small float target into memory the caller
    // keeps (no allocation): mip 0 of a 2D texture, red and green, two floats
    // a pixel, top row first. Waits for the drawing into it. Throws when
    // `out` does not hold the pixels exactly.
    void ReadRedGreen(Texture2D* texture, std::span<float> out);

private:
    template <class T> static std::shared_ptr<T> Keep(T* object);
    void PrepareDraw();
    void ApplyProgram();
    void ApplyVertexInput(uint32_t startInstance);
    void ApplyStates();
    void ApplyFramebuffer();
    uint32_t FramebufferFor(const std::array<uint64_t, 9>& ids, const std::array<uint32_t, 9>& subresources,
                            RenderTargetView* const* colour, uint32_t colourCount, Texture2D* depth);
    bool OverlapsBoundTarget(const ShaderResourceView& view) const;
    // Unbinds the views of `texture` that include `mip` (AllMipLevels: all).
    void UnbindShaderResourcesOf(const Texture2D* texture, uint32_t mip);
    void BindTextureUnit(uint32_t unit, ShaderResourceView* view);
    void SetLevelRange(Texture2D& texture, uint32_t base, uint32_t max);
    // One slice of one level in the given GL format and type.
    void ReadLevel(Texture2D* texture, uint32_t mip, uint32_t slice, uint32_t format, uint32_t type,
                   size_t bytesPerPixel, void* out);

    Device& device;
    uint32_t vertexArray = 0;
    uint32_t defaultSampler = 0;

    std::shared_ptr<VertexShader> vertexShader;
    std::shared_ptr<PixelShader> pixelShader;
    std::array<std::shared_ptr<Buffer>, ConstantBufferSlots> vsConstantBuffers;
    std::array<std::shared_ptr<Buffer>, ConstantBufferSlots> psConstantBuffers;
    std::array<std::shared_ptr<ShaderResourceView>, ShaderResourceSlots> shaderResources;
    std::array<uint32_t, ShaderResourceSlots> unitTargets{}; // GL target bound on each unit
    std::array<std::shared_ptr<SamplerState>, SamplerSlots> samplers;

    std::shared_ptr<InputLayout> inputLayout;
    std::array<std::shared_ptr<Buffer>, VertexBufferSlots> vertexBuffers;
    std::array<uint32_t, VertexBufferSlots> strides{};
    std::array<uint32_t, VertexBufferSlots> offsets{};
    std::shared_ptr<Buffer> indexBuffer;
    Format indexFormat = Format::R16_UINT;
    uint32_t indexOffset = 0;
    PrimitiveTopology topology = PrimitiveTopology::Undefined;

    std::array<std::shared_ptr<RenderTargetView>, RenderTargetSlots> renderTargets;
    std::shared_ptr<DepthStencilView> depthStencil;
    std::shared_ptr<BlendState> blendState;
    float blendFactor[4] = {1, 1, 1, 1};
    uint32_t sampleMask = 0xffffffffu;
    std::shared_ptr<DepthStencilState> depthStencilState;
    uint32_t stencilRef = 0;
    std::shared_ptr<RasterizerState> rasterizerState;
    Viewport viewport;
    Rect scissor;

    // What OpenGL currently has, so unchanged bindings cost nothing.
    uint32_t currentProgram = 0;
    bool programDirty = true;
    // Texture unit and sampler slot of each sampler the program reads.
    std::vector<std::pair<uint32_t, uint32_t>> sampledUnits;
    uint32_t currentFramebuffer = 0;
    bool framebufferDirty = true;
    bool inputDirty = true;
    bool statesDirty = true;
    uint32_t enabledAttributes = 0;
    uint32_t appliedStartInstance = 0;
};

} // namespace mirefell::gpu
