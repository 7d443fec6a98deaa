// ASSAODX11: the adaptive SSAO over the GPU layer's Direct3D 11-style device
// (API kind 1), with every pass compiled at start-up from one GLSL source,
// "assets/shaders/ASSAO.glsl", one entry point per define.
//
// Where a pass would need compute-only features, it uses their OpenGL 3.3
// equivalents: the depth pass writes the normals as four more
// render targets (slices of a half-size normals array, one per deinterleaved
// layer) instead of through an unordered-access view of a full-size texture;
// the adaptive pass limits itself by the average importance read from the
// 1 x 1 level of the importance map's mip chain instead of an atomic load
// counter; gathers are four texel reads.
//
// Every quality computes the four deinterleaved layers and puts them back
// together in the apply pass (the non-smart apply at quality 0).
//
// Owns its device objects from InitializeDX to destruction and its
// size-dependent textures from the first Draw (or AllocateResources) for a
// viewport size until the next size change. Draw leaves the context as it
// found it except for the vertex and pixel shaders, the vertex buffer and the
// pixel-stage slots past those it saves (samplers 0-3, constant buffer 0,
// resources 0-4).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/gpu/GpuResources.h"
#include "platform/gpu/GpuTypes.h"
#include "platform/gpu/SavedContextState.h"
#include "render/ASSAOConstants.h"
#include "render/ASSAO_Effect.h"

namespace mirefell
{

// The device and the shader source. The source bytes must stay readable
// until InitializeDX returns.
struct ASSAO_CreateDescDX11 : ASSAO_CreateDesc
{
    ASSAO_CreateDescDX11(gpu::Device* device_, const void* shaderData_, size_t shaderDataSize_)
        : ASSAO_CreateDesc(ApiDX11), device(device_), shaderData(shaderData_), shaderDataSize(shaderDataSize_)
    {}

    gpu::Device* device = nullptr;
    const void* shaderData = nullptr;
    size_t shaderDataSize = 0;
};

struct ASSAO_InputsDX11 : ASSAO_Inputs
{
    gpu::Context* deviceContext = nullptr;
    // The scene's depth (a depth texture's view, clip depth 0..1).
    gpu::ShaderResourceView* depthSRV = nullptr;
    // Full-size view-space normals, unpacked with normalsUnpackMul and Add;
    // null: the effect makes its own from depth.
    gpu::ShaderResourceView* normalSRV = nullptr;
    // Null: the result goes to the render targets bound when Draw is called.
    gpu::RenderTargetView* overrideOutputRTV = nullptr;
};

class ASSAODX11 final : public ASSAO_Effect
{
public:
    // The pixel-shader entry points, in the order InitializeDX compiles them.
    enum PixelShaderId
    {
        PSPrepareDepths,
        PSPrepareDepthsAndNormals,
        PSPrepareDepthMip1,
        PSPrepareDepthMip2,
        PSPrepareDepthMip3,
        PSGenerateQ0,
        PSGenerateQ1,
        PSGenerateQ2,
        PSGenerateQ3,
        PSGenerateQ3Base,
        PSSmartBlur,
        PSSmartBlurWide,
        PSNonSmartBlur,
        PSApply,
        PSNonSmartApply,
        PSGenerateImportanceMap,
        PSPostprocessImportanceMapA,
        PSPostprocessImportanceMapB,
        PixelShaderCount
    };
    static const char* const VertexShaderEntry;
    static const std::array<const char*, PixelShaderCount> PixelShaderEntries;
    // The macros defined for every entry point, as name and value.
    static const std::array<std::array<const char*, 2>, 6> ShaderMacros;
    static constexpr const char* CompileErrorCaption = "Pixel shader compilation error";

    // The text compiled for `entry`: the source with the macros and the
    // entry's name defined right after its #version line.
    static std::string AssembleSource(const void* source, size_t size, const char* entry);

    explicit ASSAODX11(const ASSAO_CreateDescDX11& desc);
    ~ASSAODX11() override;
    ASSAODX11(const ASSAODX11&) = delete;
    ASSAODX11& operator=(const ASSAODX11&) = delete;

    // Makes the device objects and compiles the vertex shader and every
    // pixel shader. A shader that does not compile is reported through
    // ReportShaderError with CompileErrorCaption and the compiler's text;
    // then, as after any other failed creation, everything made so far is
    // released and the result is false.
    bool InitializeDX();

    void AllocateResources(const ASSAO_Inputs* inputs) override;
    // Nothing: the textures stay until the effect goes or the size changes.
    void ReleaseResources() override {}
    uint32_t GetAllocatedMemory() override { return allocatedMemory; }
    void GetVersion(int& major, int& minor) override;
    // `inputs` must be an ASSAO_InputsDX11 with a context and a depth view.
    void Draw(const SsaoSettings& settings, const ASSAO_Inputs* inputs) override;

    // Called after each full-screen pass of a Draw with the pass's shader
    // (the benchmark times the passes with it); empty by default.
    void SetPassObserver(std::function<void(PixelShaderId)> observer) { passObserver = std::move(observer); }

private:
    // A texture with a view and a target per mip level.
    struct MipChain
    {
        std::shared_ptr<gpu::Texture2D> texture;
        std::shared_ptr<gpu::ShaderResourceView> all;
        std::array<std::shared_ptr<gpu::ShaderResourceView>, 4> levels;
        std::array<std::shared_ptr<gpu::RenderTargetView>, 4> targets;
    };
    // A single-level texture as a target and a resource.
    struct Surface
    {
        std::shared_ptr<gpu::Texture2D> texture;
        std::shared_ptr<gpu::ShaderResourceView> view;
        std::shared_ptr<gpu::RenderTargetView> target;
    };

    void ReleaseDeviceObjects();
    void ReleaseTextures();
    void UpdateTextures(const ASSAO_InputsDX11& inputs);
    Surface MakeSurface(int32_t width, int32_t height, gpu::Format format, uint32_t mipLevels = 1);
    void UpdateConstants(gpu::Context& context, const SsaoSettings& settings, const ASSAO_Inputs& inputs, int pass);
    void ClearIntermediateTargets(gpu::Context& context);
    void SetArea(gpu::Context& context, int32_t width, int32_t height, const gpu::Rect& scissor);
    void BindResources(gpu::Context& context, gpu::ShaderResourceView* t0 = nullptr,
                       gpu::ShaderResourceView* t1 = nullptr, gpu::ShaderResourceView* t2 = nullptr,
                       gpu::ShaderResourceView* t3 = nullptr, gpu::ShaderResourceView* t4 = nullptr);
    void BindTarget(gpu::Context& context, gpu::RenderTargetView* target);
    void FullscreenPass(gpu::Context& context, PixelShaderId shader, gpu::BlendState* blend = nullptr);
    void PrepareDepths(gpu::Context& context, int quality, const ASSAO_InputsDX11& inputs);
    void GenerateSSAO(gpu::Context& context, const SsaoSettings& settings, const ASSAO_InputsDX11& inputs,
                      bool adaptiveBasePass);
    void GenerateImportanceMap(gpu::Context& context);

    gpu::Device* device = nullptr;
    const void* shaderSource = nullptr;
    size_t shaderSourceSize = 0;

    // Chosen at construction.
    gpu::Format depthFormat = gpu::Format::R16_FLOAT;
    gpu::Format aoResultFormat = gpu::Format::R8G8_UNORM;
    gpu::Format normalsFormat = gpu::Format::R8G8B8A8_UNORM; // 0..1 for -1..1
    gpu::Format importanceMapFormat = gpu::Format::R8_UNORM;

    ASSAOSizes sizes;
    gpu::Rect fullScissor;
    gpu::Rect halfScissor;
    gpu::Rect quarterScissor;

    std::shared_ptr<gpu::Buffer> constantBuffer;
    std::shared_ptr<gpu::Buffer> screenTriangle;
    std::shared_ptr<gpu::BlendState> blendOpaque;
    std::shared_ptr<gpu::BlendState> blendMultiply;
    std::shared_ptr<gpu::DepthStencilState> depthOff;
    std::shared_ptr<gpu::SamplerState> pointClamp;
    std::shared_ptr<gpu::SamplerState> pointMirror;
    std::shared_ptr<gpu::SamplerState> linearClamp;
    std::shared_ptr<gpu::SamplerState> viewspaceDepthTap;
    std::shared_ptr<gpu::RasterizerState> rasterizer;
    std::shared_ptr<gpu::VertexShader> vertexShader;
    std::shared_ptr<gpu::InputLayout> inputLayout;
    std::array<std::shared_ptr<gpu::PixelShader>, PixelShaderCount> pixelShaders;

    // Size-dependent, made for `sizes` and whether a normals view is given.
    std::array<MipChain, 4> halfDepths;
    std::array<Surface, 2> pingPong;
    std::shared_ptr<gpu::Texture2D> finalResults; // four slices, one per layer
    std::shared_ptr<gpu::ShaderResourceView> finalResultsView;
    std::array<std::shared_ptr<gpu::RenderTargetView>, 4> finalResultsSlices;
    Surface importanceMap; // with a mip chain down to 1 x 1
    Surface importanceMapPong;
    // The four layers' view-space normals, made from depth or copied from
    // the caller's normals view.
    std::shared_ptr<gpu::Texture2D> normals;
    std::shared_ptr<gpu::ShaderResourceView> normalsView;
    std::array<std::shared_ptr<gpu::RenderTargetView>, 4> normalsSlices;
    bool texturesMade = false;
    bool madeWithNormalsView = false;
    uint32_t allocatedMemory = 0;
    bool requiresClear = false;

    std::function<void(PixelShaderId)> passObserver;
    gpu::SavedContextState savedState;
    std::array<gpu::RenderTargetView*, gpu::RenderTargetSlots> callerTargets{};
    gpu::DepthStencilView* callerDepth = nullptr;
};

} // namespace mirefell
