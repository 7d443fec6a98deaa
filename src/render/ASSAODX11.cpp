// ASSAODX11: device objects, the size-dependent textures and the order of
// the passes.
#include "render/ASSAODX11.h"

#include <algorithm>
#include <cassert>
#include <cstring>

#include "platform/gpu/Context.h"
#include "platform/gpu/Device.h"
#include "platform/gpu/GpuError.h"
#include "render/PassResources.h"
#include "render/ShaderErrorReport.h"

namespace mirefell
{

namespace
{

constexpr int MaxBlurPassCount = 6;
constexpr uint32_t DepthMipLevels = 4;
constexpr uint32_t LayerCount = 4;
constexpr int VersionMajor = 1;
constexpr int VersionMinor = 0;

// One triangle over the whole viewport: clip position and texture coordinate.
struct ScreenVertex
{
    float position[4];
    float texcoord[2];
};
constexpr ScreenVertex ScreenTriangle[3] = {
    {{-1, 1, 0, 1}, {0, 0}},
    {{3, 1, 0, 1}, {2, 0}},
    {{-1, -3, 0, 1}, {0, 2}},
};
constexpr uint32_t ScreenVertexStride = sizeof(ScreenVertex);
static_assert(ScreenVertexStride == 24);

uint32_t SurfaceBytes(const gpu::Texture2D* texture)
{
    if (texture == nullptr)
        return 0;
    const gpu::Texture2DDesc& desc = texture->Desc();
    uint32_t bytes = 0;
    for (uint32_t mip = 0; mip < desc.mipLevels; ++mip)
        bytes += std::max(1u, desc.width >> mip) * std::max(1u, desc.height >> mip) * gpu::FormatSize(desc.format);
    return bytes * desc.arraySize;
}

} // namespace

const char* const ASSAODX11::VertexShaderEntry = "VSMain";

const std::array<const char*, ASSAODX11::PixelShaderCount> ASSAODX11::PixelShaderEntries = {
    "PSPrepareDepths",
    "PSPrepareDepthsAndNormals",
    "PSPrepareDepthMip1",
    "PSPrepareDepthMip2",
    "PSPrepareDepthMip3",
    "PSGenerateQ0",
    "PSGenerateQ1",
    "PSGenerateQ2",
    "PSGenerateQ3",
    "PSGenerateQ3Base",
    "PSSmartBlur",
    "PSSmartBlurWide",
    "PSNonSmartBlur",
    "PSApply",
    "PSNonSmartApply",
    "PSGenerateImportanceMap",
    "PSPostprocessImportanceMapA",
    "PSPostprocessImportanceMapB",
};

const std::array<std::array<const char*, 2>, 6> ASSAODX11::ShaderMacros = {{
    {"SSAO_MAX_TAPS", "32"},
    {"SSAO_MAX_REF_TAPS", "512"},
    {"SSAO_ADAPTIVE_TAP_BASE_COUNT", "5"},
    {"SSAO_ADAPTIVE_TAP_FLEXIBLE_COUNT", "(32-5)"},
    {"SSAO_DEPTH_MIP_LEVELS", "4"},
    {"SSAO_ENABLE_NORMAL_WORLD_TO_VIEW_CONVERSION", "0"},
}};

std::string ASSAODX11::AssembleSource(const void* source, size_t size, const char* entry)
{
    std::string defines;
    for (const auto& [name, value] : ShaderMacros)
        defines += std::string("#define ") + name + " " + value + "\n";
    defines += std::string("#define ") + entry + " 1\n";
    return InsertDefines(std::string(static_cast<const char*>(source), size), defines);
}

ASSAODX11::ASSAODX11(const ASSAO_CreateDescDX11& desc)
    : device(desc.device), shaderSource(desc.shaderData), shaderSourceSize(desc.shaderDataSize)
{
    assert(desc.apiKind == ASSAO_CreateDesc::ApiDX11);
}

ASSAODX11::~ASSAODX11()
{
    ReleaseTextures();
    ReleaseDeviceObjects();
}

void ASSAODX11::GetVersion(int& major, int& minor)
{
    major = VersionMajor;
    minor = VersionMinor;
}

bool ASSAODX11::InitializeDX()
{
    if (device == nullptr || shaderSource == nullptr)
        return false;
    try {
        gpu::BufferDesc constants;
        constants.byteWidth = sizeof(ASSAOConstants);
        constants.usage = gpu::Usage::Dynamic;
        constants.bindFlags = gpu::BindConstantBuffer;
        constants.cpuWrite = true;
        constantBuffer = device->CreateBuffer(constants);
        gpu::BufferDesc vertices;
        vertices.byteWidth = sizeof ScreenTriangle;
        vertices.usage = gpu::Usage::Immutable;
        vertices.bindFlags = gpu::BindVertexBuffer;
        screenTriangle = device->CreateBuffer(vertices, ScreenTriangle);

        blendOpaque = device->CreateBlendState(gpu::BlendDesc{});
        gpu::BlendDesc multiply;
        multiply.renderTarget[0].blendEnable = true;
        multiply.renderTarget[0].srcBlend = gpu::Blend::Zero;
        multiply.renderTarget[0].destBlend = gpu::Blend::SrcColor;
        multiply.renderTarget[0].srcBlendAlpha = gpu::Blend::Zero;
        multiply.renderTarget[0].destBlendAlpha = gpu::Blend::SrcAlpha;
        blendMultiply = device->CreateBlendState(multiply);
        gpu::DepthStencilDesc noDepth;
        noDepth.depthEnable = false;
        noDepth.depthWrite = false;
        depthOff = device->CreateDepthStencilState(noDepth);

        gpu::SamplerDesc sampler;
        sampler.filter = gpu::Filter::MinMagMipPoint;
        pointClamp = device->CreateSamplerState(sampler);
        sampler.addressU = sampler.addressV = sampler.addressW = gpu::TextureAddressMode::Mirror;
        pointMirror = device->CreateSamplerState(sampler);
        sampler.filter = gpu::Filter::MinMagMipLinear;
        sampler.addressU = sampler.addressV = sampler.addressW = gpu::TextureAddressMode::Clamp;
        linearClamp = device->CreateSamplerState(sampler);
        sampler.filter = gpu::Filter::MinMagMipPoint;
        viewspaceDepthTap = device->CreateSamplerState(sampler);
        gpu::RasterizerDesc raster;
        raster.cullMode = gpu::CullMode::None;
        raster.depthClipEnable = true;
        raster.scissorEnable = true;
        rasterizer = device->CreateRasterizerState(raster);

        const std::string vertexSource = AssembleSource(shaderSource, shaderSourceSize, VertexShaderEntry);
        vertexShader = device->CreateVertexShader(vertexSource.data(), vertexSource.size());
        const gpu::InputElement elements[] = {
            {"SV_Position", 0, gpu::Format::R32G32B32A32_FLOAT, 0, 0},
            {"TEXCOORD", 0, gpu::Format::R32G32_FLOAT, 0, 16},
        };
        inputLayout = device->CreateInputLayout(elements, 2, vertexSource.data(), vertexSource.size());
        for (int shader = 0; shader < PixelShaderCount; ++shader) {
            const std::string source = AssembleSource(shaderSource, shaderSourceSize, PixelShaderEntries[shader]);
            pixelShaders[shader] = device->CreatePixelShader(source.data(), source.size());
        }
    } catch (const gpu::GpuError& error) {
        const std::string call = error.what();
        if (call == "CreateVertexShader" || call == "CreatePixelShader")
            ReportShaderError(CompileErrorCaption, error.Detail());
        ReleaseDeviceObjects();
        return false;
    }
    shaderSource = nullptr; // the caller's bytes are not needed any more
    shaderSourceSize = 0;
    return true;
}

void ASSAODX11::ReleaseDeviceObjects()
{
    for (auto& shader : pixelShaders)
        shader.reset();
    inputLayout.reset();
    vertexShader.reset();
    rasterizer.reset();
    viewspaceDepthTap.reset();
    linearClamp.reset();
    pointMirror.reset();
    pointClamp.reset();
    depthOff.reset();
    blendMultiply.reset();
    blendOpaque.reset();
    screenTriangle.reset();
    constantBuffer.reset();
}

void ASSAODX11::ReleaseTextures()
{
    halfDepths = {};
    pingPong = {};
    finalResultsSlices = {};
    finalResultsView.reset();
    finalResults.reset();
    importanceMap = {};
    importanceMapPong = {};
    normalsSlices = {};
    normalsView.reset();
    normals.reset();
    texturesMade = false;
    allocatedMemory = 0;
}

ASSAODX11::Surface ASSAODX11::MakeSurface(int32_t width, int32_t height, gpu::Format format, uint32_t mipLevels)
{
    gpu::Texture2DDesc desc;
    desc.width = static_cast<uint32_t>(width);
    desc.height = static_cast<uint32_t>(height);
    desc.mipLevels = mipLevels;
    desc.format = format;
    desc.bindFlags = gpu::BindRenderTarget | gpu::BindShaderResource;
    Surface surface;
    surface.texture = device->CreateTexture2D(desc);
    surface.view = device->CreateShaderResourceView(surface.texture.get());
    surface.target = device->CreateRenderTargetView(surface.texture.get());
    allocatedMemory += SurfaceBytes(surface.texture.get());
    return surface;
}

void ASSAODX11::AllocateResources(const ASSAO_Inputs* inputs)
{
    const auto* inputsDX11 = dynamic_cast<const ASSAO_InputsDX11*>(inputs);
    assert(inputsDX11 != nullptr && "the inputs of this effect are ASSAO_InputsDX11");
    if (inputsDX11 != nullptr)
        UpdateTextures(*inputsDX11);
}

void ASSAODX11::UpdateTextures(const ASSAO_InputsDX11& inputs)
{
    const ASSAOSizes wanted = ASSAOSizes::ForViewport(inputs.viewportWidth, inputs.viewportHeight);
    const bool withNormalsView = inputs.normalSRV != nullptr;
    fullScissor = {inputs.scissorLeft, inputs.scissorTop, inputs.scissorRight, inputs.scissorBottom};
    halfScissor = {fullScissor.left / 2, fullScissor.top / 2, (fullScissor.right + 1) / 2,
                   (fullScissor.bottom + 1) / 2};
    quarterScissor = {halfScissor.left / 2, halfScissor.top / 2, (halfScissor.right + 1) / 2,
                      (halfScissor.bottom + 1) / 2};
    if (texturesMade && wanted.fullWidth == sizes.fullWidth && wanted.fullHeight == sizes.fullHeight &&
        withNormalsView == madeWithNormalsView)
        return;

    ReleaseTextures();
    sizes = wanted;
    madeWithNormalsView = withNormalsView;
    for (MipChain& chain : halfDepths) {
        gpu::Texture2DDesc desc;
        desc.width = static_cast<uint32_t>(sizes.halfWidth);
        desc.height = static_cast<uint32_t>(sizes.halfHeight);
        desc.mipLevels = DepthMipLevels;
        desc.format = depthFormat;
        desc.bindFlags = gpu::BindRenderTarget | gpu::BindShaderResource;
        chain.texture = device->CreateTexture2D(desc);
        chain.all = device->CreateShaderResourceView(chain.texture.get());
        for (uint32_t mip = 0; mip < DepthMipLevels; ++mip) {
            const gpu::ShaderResourceViewDesc level{gpu::Format::Unknown, gpu::ViewDimension::Texture2D, mip, 1};
            chain.levels[mip] = device->CreateShaderResourceView(chain.texture.get(), &level);
            const gpu::RenderTargetViewDesc target{mip, 0};
            chain.targets[mip] = device->CreateRenderTargetView(chain.texture.get(), &target);
        }
        allocatedMemory += SurfaceBytes(chain.texture.get());
    }
    for (Surface& surface : pingPong)
        surface = MakeSurface(sizes.halfWidth, sizes.halfHeight, aoResultFormat);

    // The four finished layers and the four layers' normals: arrays with a
    // target per slice.
    auto makeArray = [&](gpu::Format format, std::shared_ptr<gpu::Texture2D>& texture,
                         std::shared_ptr<gpu::ShaderResourceView>& view,
                         std::array<std::shared_ptr<gpu::RenderTargetView>, 4>& slices) {
        gpu::Texture2DDesc desc;
        desc.width = static_cast<uint32_t>(sizes.halfWidth);
        desc.height = static_cast<uint32_t>(sizes.halfHeight);
        desc.arraySize = LayerCount;
        desc.format = format;
        desc.bindFlags = gpu::BindRenderTarget | gpu::BindShaderResource;
        texture = device->CreateTexture2D(desc);
        view = device->CreateShaderResourceView(texture.get());
        for (uint32_t slice = 0; slice < LayerCount; ++slice) {
            const gpu::RenderTargetViewDesc target{0, slice};
            slices[slice] = device->CreateRenderTargetView(texture.get(), &target);
        }
        allocatedMemory += SurfaceBytes(texture.get());
    };
    makeArray(aoResultFormat, finalResults, finalResultsView, finalResultsSlices);
    makeArray(normalsFormat, normals, normalsView, normalsSlices);

    importanceMap = MakeSurface(sizes.quarterWidth, sizes.quarterHeight, importanceMapFormat, 0);
    assert(importanceMap.texture->Desc().mipLevels == sizes.importanceMipLevels);
    importanceMapPong = MakeSurface(sizes.quarterWidth, sizes.quarterHeight, importanceMapFormat);
    texturesMade = true;
    requiresClear = true;
}

void ASSAODX11::UpdateConstants(gpu::Context& context, const SsaoSettings& settings, const ASSAO_Inputs& inputs,
                                int pass)
{
    auto* constants = static_cast<ASSAOConstants*>(context.Map(constantBuffer.get(), gpu::MapType::WriteDiscard));
    FillASSAOConstants(*constants, settings, inputs, sizes, pass);
    context.Unmap(constantBuffer.get());
}

void ASSAODX11::ClearIntermediateTargets(gpu::Context& context)
{
    const float zero[4] = {0, 0, 0, 0};
    for (const MipChain& chain : halfDepths)
        for (const auto& target : chain.targets)
            context.ClearRenderTargetView(target.get(), zero);
    for (const Surface& surface : pingPong)
        context.ClearRenderTargetView(surface.target.get(), zero);
    for (const auto& slice : finalResultsSlices)
        context.ClearRenderTargetView(slice.get(), zero);
    context.ClearRenderTargetView(importanceMap.target.get(), zero);
    context.ClearRenderTargetView(importanceMapPong.target.get(), zero);
    for (const auto& slice : normalsSlices)
        context.ClearRenderTargetView(slice.get(), zero);
}

void ASSAODX11::SetArea(gpu::Context& context, int32_t width, int32_t height, const gpu::Rect& scissor)
{
    gpu::Viewport viewport;
    viewport.width = static_cast<float>(width);
    viewport.height = static_cast<float>(height);
    context.RSSetViewports(1, &viewport);
    context.RSSetScissorRects(1, &scissor);
}

// All five slots in one call, so views of another mip range of a texture
// left from the previous pass never clash with the new ones.
void ASSAODX11::BindResources(gpu::Context& context, gpu::ShaderResourceView* t0, gpu::ShaderResourceView* t1,
                              gpu::ShaderResourceView* t2, gpu::ShaderResourceView* t3, gpu::ShaderResourceView* t4)
{
    gpu::ShaderResourceView* views[] = {t0, t1, t2, t3, t4};
    context.PSSetShaderResources(0, 5, views);
}

void ASSAODX11::BindTarget(gpu::Context& context, gpu::RenderTargetView* target)
{
    context.OMSetRenderTargets(1, &target, nullptr);
}

void ASSAODX11::FullscreenPass(gpu::Context& context, PixelShaderId shader, gpu::BlendState* blend)
{
    gpu::Buffer* buffers[] = {screenTriangle.get()};
    const uint32_t offset = 0;
    context.IASetVertexBuffers(0, 1, buffers, &ScreenVertexStride, &offset);
    context.IASetInputLayout(inputLayout.get());
    context.IASetPrimitiveTopology(gpu::PrimitiveTopology::TriangleStrip);
    context.VSSetShader(vertexShader.get());
    context.PSSetShader(pixelShaders[shader].get());
    context.OMSetBlendState(blend ? blend : blendOpaque.get(), nullptr, 0xffffffffu);
    context.OMSetDepthStencilState(depthOff.get(), 0);
    context.RSSetState(rasterizer.get());
    context.Draw(3, 0);
    if (passObserver)
        passObserver(shader);
}

void ASSAODX11::PrepareDepths(gpu::Context& context, int quality, const ASSAO_InputsDX11& inputs)
{
    SetArea(context, sizes.halfWidth, sizes.halfHeight, halfScissor);
    // The four layers' view depths and normals at half size, in one pass.
    gpu::RenderTargetView* layers[LayerCount * 2];
    for (uint32_t layer = 0; layer < LayerCount; ++layer) {
        layers[layer] = halfDepths[layer].targets[0].get();
        layers[LayerCount + layer] = normalsSlices[layer].get();
    }
    context.OMSetRenderTargets(LayerCount * 2, layers, nullptr);
    BindResources(context, inputs.depthSRV, inputs.normalSRV);
    FullscreenPass(context, inputs.normalSRV ? PSPrepareDepths : PSPrepareDepthsAndNormals);

    // Qualities 2 and 3 read coarser levels for far taps.
    if (quality < 2)
        return;
    for (uint32_t mip = 1; mip < DepthMipLevels; ++mip) {
        SetArea(context, std::max(1, sizes.halfWidth >> mip), std::max(1, sizes.halfHeight >> mip),
                {0, 0, std::max(1, sizes.halfWidth >> mip), std::max(1, sizes.halfHeight >> mip)});
        for (uint32_t layer = 0; layer < LayerCount; ++layer)
            layers[layer] = halfDepths[layer].targets[mip].get();
        context.OMSetRenderTargets(LayerCount, layers, nullptr);
        BindResources(context, halfDepths[0].levels[mip - 1].get(), halfDepths[1].levels[mip - 1].get(),
                      halfDepths[2].levels[mip - 1].get(), halfDepths[3].levels[mip - 1].get());
        FullscreenPass(context, static_cast<PixelShaderId>(PSPrepareDepthMip1 + mip - 1));
    }
}

void ASSAODX11::GenerateSSAO(gpu::Context& context, const SsaoSettings& settings, const ASSAO_InputsDX11& inputs,
                             bool adaptiveBasePass)
{
    const int quality = std::clamp(settings.qualityLevel, 0, 3);
    SetArea(context, sizes.halfWidth, sizes.halfHeight, halfScissor);
    for (uint32_t layer = 0; layer < LayerCount; ++layer) {
        int blurPasses = std::clamp(settings.blurPassCount, 0, MaxBlurPassCount);
        if (quality == 3)
            blurPasses = adaptiveBasePass ? 0 : std::max(1, blurPasses); // the adaptive pass reads the array
        else if (quality == 0)
            blurPasses = std::min(1, blurPasses);
        UpdateConstants(context, settings, inputs, static_cast<int>(layer));

        const Surface* ping = &pingPong[0];
        const Surface* pong = &pingPong[1];
        BindResources(context);
        BindTarget(context, blurPasses == 0 ? finalResultsSlices[layer].get() : ping->target.get());
        const bool adaptive = quality == 3 && !adaptiveBasePass;
        // Below quality 2 the taps read level 0 only; a one-level view lets
        // the rasterizer skip level selection.
        gpu::ShaderResourceView* depths = quality < 2 ? halfDepths[layer].levels[0].get() : halfDepths[layer].all.get();
        BindResources(context, depths, normalsView.get(), nullptr, adaptive ? importanceMap.view.get() : nullptr,
                      adaptive ? finalResultsView.get() : nullptr);
        FullscreenPass(context,
                       adaptiveBasePass ? PSGenerateQ3Base : static_cast<PixelShaderId>(PSGenerateQ0 + quality));

        int wideBlursRemaining = std::max(0, blurPasses - 2);
        for (int pass = 0; pass < blurPasses; ++pass) {
            BindResources(context);
            BindTarget(context, pass == blurPasses - 1 ? finalResultsSlices[layer].get() : pong->target.get());
            BindResources(context, nullptr, nullptr, ping->view.get());
            PixelShaderId blur = PSNonSmartBlur;
            if (quality > 0) {
                blur = wideBlursRemaining > 0 ? PSSmartBlurWide : PSSmartBlur;
                wideBlursRemaining = std::max(0, wideBlursRemaining - 1);
            }
            FullscreenPass(context, blur);
            std::swap(ping, pong);
        }
    }
    BindResources(context);
}

void ASSAODX11::GenerateImportanceMap(gpu::Context& context)
{
    SetArea(context, sizes.quarterWidth, sizes.quarterHeight, quarterScissor);
    BindResources(context);
    BindTarget(context, importanceMap.target.get());
    BindResources(context, nullptr, nullptr, nullptr, nullptr, finalResultsView.get());
    FullscreenPass(context, PSGenerateImportanceMap);

    BindResources(context);
    BindTarget(context, importanceMapPong.target.get());
    BindResources(context, nullptr, nullptr, nullptr, importanceMap.view.get());
    FullscreenPass(context, PSPostprocessImportanceMapA);

    BindResources(context);
    BindTarget(context, importanceMap.target.get());
    BindResources(context, nullptr, nullptr, nullptr, importanceMapPong.view.get());
    FullscreenPass(context, PSPostprocessImportanceMapB);

    // The chain's 1 x 1 level holds the average importance.
    BindTarget(context, importanceMapPong.target.get());
    context.GenerateMips(importanceMap.view.get());
}

void ASSAODX11::Draw(const SsaoSettings& settings, const ASSAO_Inputs* inputsBase)
{
    const auto* inputsDX11 = dynamic_cast<const ASSAO_InputsDX11*>(inputsBase);
    assert(inputsDX11 != nullptr && inputsDX11->deviceContext != nullptr && inputsDX11->depthSRV != nullptr &&
           "Draw needs ASSAO_InputsDX11 with a context and a depth view");
    if (inputsDX11 == nullptr || inputsDX11->deviceContext == nullptr || inputsDX11->depthSRV == nullptr ||
        !vertexShader)
        return;
    const ASSAO_InputsDX11& inputs = *inputsDX11;
    gpu::Context& context = *inputs.deviceContext;
    const int quality = std::clamp(settings.qualityLevel, 0, 3);

    UpdateTextures(inputs);
    UpdateConstants(context, settings, inputs, 0);
    savedState.Save(context, {4, 1, 5});
    for (uint32_t slot = 0; slot < gpu::RenderTargetSlots; ++slot)
        callerTargets[slot] = context.OMGetRenderTarget(slot);
    callerDepth = context.OMGetDepthStencil();

    if (requiresClear) {
        ClearIntermediateTargets(context);
        requiresClear = false;
    }
    gpu::SamplerState* samplers[] = {pointClamp.get(), linearClamp.get(), pointMirror.get(), viewspaceDepthTap.get()};
    context.PSSetSamplers(0, 4, samplers);
    gpu::Buffer* constants[] = {constantBuffer.get()};
    context.PSSetConstantBuffers(0, 1, constants);

    PrepareDepths(context, quality, inputs);
    if (quality == 3) {
        GenerateSSAO(context, settings, inputs, true);
        GenerateImportanceMap(context);
    }
    GenerateSSAO(context, settings, inputs, false);

    // Apply: the four layers back together at full size into the output.
    if (inputs.overrideOutputRTV != nullptr) {
        BindTarget(context, inputs.overrideOutputRTV);
    } else {
        context.OMSetRenderTargets(gpu::RenderTargetSlots, callerTargets.data(), callerDepth);
    }
    gpu::Viewport viewport;
    viewport.topLeftX = static_cast<float>(inputs.viewportX);
    viewport.topLeftY = static_cast<float>(inputs.viewportY);
    viewport.width = static_cast<float>(inputs.viewportWidth);
    viewport.height = static_cast<float>(inputs.viewportHeight);
    context.RSSetViewports(1, &viewport);
    context.RSSetScissorRects(1, &fullScissor);
    BindResources(context, nullptr, nullptr, nullptr, nullptr, finalResultsView.get());
    const PixelShaderId apply = quality == 0 ? PSNonSmartApply : PSApply;
    FullscreenPass(context, apply, inputs.drawOpaque ? blendOpaque.get() : blendMultiply.get());

    savedState.Restore(context);
    callerTargets = {};
    callerDepth = nullptr;
}

} // namespace mirefell
