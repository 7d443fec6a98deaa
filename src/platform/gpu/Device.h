// Device: the GPU layer's factory over the OpenGL 3.3 core context that is
// current on the calling thread (the game window's, or the headless test
// context). It makes every GPU object and owns the one immediate Context.
//
// Direct3D's conventions hold above this layer and are mapped here and in
// Context, nowhere else:
// - picture row 0 is the top row and texture coordinate (0, 0) the top-left
//   texel: vertex shaders get their clip-space y negated after the shader's
//   own main, so render targets are stored top row first like loaded images;
// - clip-space depth runs 0..1: glClipControl where the context has it,
//   otherwise a z = 2z - w fix-up after the shader's main;
// - with the y flip a clockwise-on-screen triangle is counter-clockwise for
//   OpenGL, so front faces and culling keep Direct3D's meaning;
// - constant-buffer slot N of the vertex stage binds uniform block binding N,
//   of the pixel stage binding 16 + N; shaders name blocks `<Name>_b<N>` and
//   samplers `<name>_t<N>` (texture slot N, sampler slot 0) or
//   `<name>_t<N>_s<M>`; a block may be used by one stage only;
// - vertex-shader inputs are named `<SEMANTIC><index>` (NORMAL0, WORLD3);
// - sRGB render targets encode on write (GL_FRAMEBUFFER_SRGB stays on).
#pragma once

#include <cstddef>
#include <memory>

#include "platform/gpu/GpuResources.h"
#include "platform/gpu/GpuTypes.h"

namespace mirefell::gpu
{

class Context;

struct DeviceOptions
{
    // Use the vertex-shader depth fix-up even where glClipControl exists
    // (tests run both paths).
    bool forceDepthFixup = false;
};

class Device
{
public:
    // Takes the current GL context; throws GpuError("CreateDevice") when
    // there is none or it offers less than OpenGL 3.3.
    explicit Device(const DeviceOptions& options = {});
    ~Device();
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    Context& GetImmediateContext() { return *context; }
    FeatureLevel GetFeatureLevel() const { return featureLevel; }
    bool UsesClipControl() const { return clipControl; }
    // Objects of this device that still exist (for leak checks in tests).
    uint64_t LiveObjectCount() const;

    // Every creation throws GpuError naming the call when it fails. Initial
    // data is required for immutable buffers and textures.
    std::shared_ptr<Buffer> CreateBuffer(const BufferDesc& desc, const void* initialData = nullptr);
    // initialData, when given, holds mipLevels x arraySize entries.
    std::shared_ptr<Texture2D> CreateTexture2D(const Texture2DDesc& desc, const SubresourceData* initialData = nullptr);
    std::shared_ptr<ShaderResourceView> CreateShaderResourceView(Texture2D* texture,
                                                                 const ShaderResourceViewDesc* desc = nullptr);
    // Without a description: mip 0 of slice 0.
    std::shared_ptr<RenderTargetView> CreateRenderTargetView(Texture2D* texture,
                                                             const RenderTargetViewDesc* desc = nullptr);
    std::shared_ptr<DepthStencilView> CreateDepthStencilView(Texture2D* texture);

    // Shaders are GLSL source text ("#version 330 core" first).
    std::shared_ptr<VertexShader> CreateVertexShader(const void* source, size_t size);
    std::shared_ptr<PixelShader> CreatePixelShader(const void* source, size_t size);
    // Fails when the vertex shader reads an input that no element supplies;
    // elements the shader does not read are ignored.
    std::shared_ptr<InputLayout> CreateInputLayout(const InputElement* elements, uint32_t count,
                                                   const void* vertexShaderSource, size_t size);

    std::shared_ptr<BlendState> CreateBlendState(const BlendDesc& desc);
    std::shared_ptr<DepthStencilState> CreateDepthStencilState(const DepthStencilDesc& desc);
    std::shared_ptr<RasterizerState> CreateRasterizerState(const RasterizerDesc& desc);
    std::shared_ptr<SamplerState> CreateSamplerState(const SamplerDesc& desc);

private:
    friend class Context;
    uint32_t CompileStage(uint32_t stage, const void* source, size_t size, const char* call) const;
    std::vector<VertexAttribute> ReflectAttributes(const void* source, size_t size) const;

    std::shared_ptr<detail::DeviceState> state;
    std::unique_ptr<Context> context;
    FeatureLevel featureLevel = FeatureLevel::Level10_0;
    bool clipControl = false;
    bool anisotropy = false;
    bool snormRenderable = true;
};

} // namespace mirefell::gpu
