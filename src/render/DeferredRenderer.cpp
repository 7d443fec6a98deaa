// DeferredRenderer: the composition of the lit frame.
#include "render/DeferredRenderer.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/gpu/CommonStates.h"
#include "platform/gpu/Context.h"
#include "platform/gpu/Device.h"
#include "render/ASSAODX11.h"
#include "render/CommonStatesHolder.h"
#include "render/FramePass.h"
#include "render/GeometryBuffer.h"
#include "render/GraphicsDevice.h"
#include "render/PassResources.h"
#include "render/PointLights.h"
#include "render/PostFXBloomExtractShader.h"
#include "render/PostFXChain.h"
#include "render/PostFXGaussianBlurShader.h"
#include "render/ReadData.h"
#include "render/SpriteBatch.h"
#include "render/TextureRegistry.h"
#include "render/TileDepthBounds.h"
#include "shell/Config.h"

namespace mirefell
{

DeferredRenderer::DeferredRenderer(GeometryBuffer* geometryBuffer_, PostFXChain* postFX_)
    : geometryBuffer(geometryBuffer_), postFX(postFX_)
{}

DeferredRenderer::~DeferredRenderer()
{
    depthBounds.reset();
    spriteBatch.reset();
    blurShader.reset();
    bloomExtractShader.reset();
    occludedShader.reset();
    deferredShader.reset();
}

void DeferredRenderer::Initialize()
{
    lowFeatureLevel = Device->GetFeatureLevel() < gpu::FeatureLevel::Level11_0;
    deferredShader.reset();
    deferredShader = LoadPixelShader(L"shaders/DeferredPixelShader.glsl");
    occludedShader = LoadPixelShader(L"shaders/DeferredPixelShader.glsl", "#define OCCLUSION 1\n");
    skyShader = LoadPixelShader(L"shaders/DeferredPixelShader.glsl", "#define SKY 1\n");
    const std::vector<uint8_t> skyVertex = ReadData(L"shaders/SkyVertexShader.glsl");
    skyVertexShader = Device->CreateVertexShader(skyVertex.data(), skyVertex.size());
    // The depth-stencil states that split the window between the sky and
    // the composition (none writes the depth).
    gpu::DepthStencilDesc test;
    test.depthWrite = false;
    test.depthFunc = gpu::ComparisonFunc::Greater;
    surfaceDepth = Device->CreateDepthStencilState(test);
    test.depthFunc = gpu::ComparisonFunc::LessEqual;
    test.stencilEnable = true;
    test.stencilReadMask = SurfaceMark;
    test.stencilWriteMask = 0;
    test.frontFace.func = gpu::ComparisonFunc::Equal;
    test.backFace.func = gpu::ComparisonFunc::Equal;
    skyDepth = Device->CreateDepthStencilState(test);       // reference 0
    markedFarDepth = Device->CreateDepthStencilState(test); // reference SurfaceMark
    // Surfaces that write no depth: the depth test of DepthRead, and a mark.
    gpu::DepthStencilDesc mark;
    mark.depthWrite = false;
    mark.depthFunc = gpu::ComparisonFunc::LessEqual;
    mark.stencilEnable = true;
    mark.stencilWriteMask = SurfaceMark;
    mark.frontFace.passOp = gpu::StencilOp::Replace;
    mark.backFace.passOp = gpu::StencilOp::Replace;
    markingDepthRead = Device->CreateDepthStencilState(mark);
    depthBounds = std::make_unique<TileDepthBounds>();
    depthBounds->Initialize();
    bloomExtractShader = std::make_unique<PostFXBloomExtractShader>();
    blurShader = std::make_unique<PostFXGaussianBlurShader>();
    spriteBatch = std::make_unique<SpriteBatch>(Device, DeviceContext);
}

void DeferredRenderer::CreateWindowSizeResources(gpu::RenderTargetView* outputTarget_)
{
    blurShader->UpdateWeights();
    outputTarget = outputTarget_;
    fullRectangle = {0, 0, ScreenWidth, ScreenHeight};
    halfRectangle = {0, 0, ScreenWidth / 2, ScreenHeight / 2};
    // A quarter of the half size, rounded down but never below one pixel.
    const int32_t quarterWidth = std::max(ScreenWidth / 2 / 2, 1);
    const int32_t quarterHeight = std::max(ScreenHeight / 2 / 2, 1);
    quarterRectangle = {0, 0, quarterWidth, quarterHeight};
    for (GlowTarget& glow : glowTargets) {
        glow = {};
        gpu::Texture2DDesc desc;
        desc.width = static_cast<uint32_t>(quarterWidth);
        desc.height = static_cast<uint32_t>(quarterHeight);
        desc.format = gpu::Format::R8G8B8A8_UNORM;
        desc.bindFlags = gpu::BindRenderTarget | gpu::BindShaderResource;
        auto texture = Device->CreateTexture2D(desc);
        glow.target = Device->CreateRenderTargetView(texture.get());
        glow.view = Device->CreateShaderResourceView(texture.get());
    }
    depthBounds->CreateWindowSizeResources();
    skyboxView = TextureRegistry::GetInstance().GetTexture("skybox");
}

void DeferredRenderer::Release()
{
    deferredShader.reset();
    occludedShader.reset();
    skyShader.reset();
    skyVertexShader.reset();
    skyDepth.reset();
    surfaceDepth.reset();
    markedFarDepth.reset();
    markingDepthRead.reset();
    depthBounds.reset();
    bloomExtractShader.reset();
    blurShader.reset();
    spriteBatch.reset();
    glowTargets = {};
    outputTarget = nullptr;
}

void DeferredRenderer::DrawQuad(gpu::ShaderResourceView* source, const gpu::Rect& destination, gpu::BlendState* blend,
                                const std::function<void()>& setUp)
{
    spriteBatch->Begin(SpriteSortMode::Immediate, blend, nullptr, nullptr, nullptr, setUp);
    spriteBatch->Draw(source, destination, SpriteBatch::White);
    spriteBatch->End();
}

void DeferredRenderer::Draw(const Camera& camera, bool bloom)
{
    BoundDepths();
    MarkFramePass(FramePass::DepthBounds);
    if (bloom) {
        ExtractBloom();
        MarkFramePass(FramePass::BloomExtract);
    }
    if (Config::GetInstance().settings.ssao >= 0 && !lowFeatureLevel) {
        DrawSsao();
        MarkFramePass(FramePass::Ssao);
    }
    // With FXAA or bloom to come, the composition goes to the chain's scene
    // copy and the finishing pass draws it into the output; without, it goes
    // straight to the output.
    const bool finishing = bloom || Config::GetInstance().settings.fxaa;
    Compose(camera, finishing ? postFX->SceneTarget() : outputTarget);
    MarkFramePass(FramePass::Composition);
    if (bloom) {
        BlurBloom();
        MarkFramePass(FramePass::Glow);
    }
    if (finishing) {
        Finish(bloom);
        MarkFramePass(FramePass::Finish);
    }
}

void DeferredRenderer::ExtractBloom()
{
    gpu::RenderTargetView* target = geometryBuffer->halfTargetA.get();
    DeviceContext->OMSetRenderTargets(1, &target, nullptr);
    DrawQuad(geometryBuffer->shaderResourceViews[GeometryBuffer::ColourIndex].get(), halfRectangle, nullptr,
             [this] { bloomExtractShader->Apply(); });
}

void DeferredRenderer::DrawSsao()
{
    gpu::RenderTargetView* target = geometryBuffer->renderTargetViews[GeometryBuffer::OcclusionIndex].get();
    DeviceContext->OMSetRenderTargets(1, &target, nullptr);
    postFX->DrawSsao(geometryBuffer->depthResourceView.get());
}

void DeferredRenderer::BoundDepths()
{
    depthBounds->Reduce(geometryBuffer->depthResourceView.get());
}

void DeferredRenderer::Compose(const Camera& camera, gpu::RenderTargetView* target)
{
    gpu::Context& context = *DeviceContext;
    GeometryBuffer& g = *geometryBuffer;
    // One wait for the rasteriser serves both: the copy and the read-back.
    g.CopyDepthForTests();
    const std::span<const LightGrid::DepthRange> depths = depthBounds->Read();
    context.OMSetRenderTargets(1, &target, g.depthTestView.get());
    gpu::ShaderResourceView* occlusion = g.shaderResourceViews[GeometryBuffer::OcclusionIndex].get();
    gpu::ShaderResourceView* views[] = {g.depthResourceView.get(),
                                        g.shaderResourceViews[GeometryBuffer::ColourIndex].get(),
                                        g.shaderResourceViews[GeometryBuffer::NormalIndex].get(),
                                        g.shaderResourceViews[GeometryBuffer::LightIndex].get(),
                                        occlusion,
                                        skyboxView};
    context.PSSetShaderResources(0, 6, views);
    gpu::CommonStates& states = *GetCommonStates();
    gpu::SamplerState* samplers[] = {states.PointClamp(), states.LinearClamp()};
    context.PSSetSamplers(0, 2, samplers);

    context.OMSetBlendState(states.Opaque(), nullptr, 0xffffffff);
    context.OMSetDepthStencilState(skyDepth.get(), 0);
    context.RSSetState(states.CullNone());
    context.IASetInputLayout(nullptr);
    context.IASetPrimitiveTopology(gpu::PrimitiveTopology::TriangleList);
    context.VSSetShader(skyVertexShader.get());
    context.PSSetShader(skyShader.get());
    gpu::Buffer* frame = PointLights::GetInstance().FrameConstantBuffer();
    context.PSSetConstantBuffers(0, 1, &frame);
    context.Draw(3, 0);
    MarkFramePass(FramePass::Sky);

    // The light pass draws the window region by region through the
    // composition's pixel shader.
    context.OMSetDepthStencilState(surfaceDepth.get(), 0);
    PointLights& lights = PointLights::GetInstance();
    gpu::PixelShader* composition = deferredShader.get();
    if (lights.OcclusionShown())
        composition = occludedShader.get();
    context.PSSetShader(composition);
    lights.Draw(camera, depths);
    // Marked surfaces in front of the sky: unlit (no light reaches the far
    // plane, where their depth puts them), as the composition shades them.
    context.OMSetDepthStencilState(markedFarDepth.get(), SurfaceMark);
    lights.DrawWindowUnlit();
    gpu::ShaderResourceView* none[5] = {};
    context.PSSetShaderResources(0, 5, none);
    context.OMSetDepthStencilState(states.DepthNone(), 0);
}

void DeferredRenderer::BlurBloom()
{
    gpu::Context& context = *DeviceContext;
    gpu::CommonStates& states = *GetCommonStates();
    // Horizontally from the half-size extract into the first glow target
    // (quarter size), then vertically into the second.
    gpu::RenderTargetView* target = glowTargets[0].target.get();
    context.OMSetRenderTargets(1, &target, nullptr);
    DrawQuad(geometryBuffer->halfResourceA.get(), quarterRectangle, states.Opaque(), [this] {
        gpu::Buffer* weights = blurShader->horizontalConstants.get();
        DeviceContext->PSSetConstantBuffers(0, 1, &weights);
        DeviceContext->PSSetShader(blurShader->pixelShader.get());
    });
    gpu::ShaderResourceView* none = nullptr;
    context.PSSetShaderResources(0, 1, &none);

    target = glowTargets[1].target.get();
    context.OMSetRenderTargets(1, &target, nullptr);
    DrawQuad(glowTargets[0].view.get(), quarterRectangle, states.Opaque(), [this] {
        gpu::Buffer* weights = blurShader->verticalConstants.get();
        DeviceContext->PSSetConstantBuffers(0, 1, &weights);
        DeviceContext->PSSetShader(blurShader->verticalShader.get());
    });
    context.PSSetShaderResources(0, 1, &none);
}

void DeferredRenderer::Finish(bool bloom)
{
    // The depth test copy's stencil has only SurfaceMark set; the finishing
    // pass may use its FlatMark bit to run FXAA on the edges alone.
    static_assert((PostFXChain::FlatMark & SurfaceMark) == 0, "two marks, two bits");
    DeviceContext->OMSetRenderTargets(1, &outputTarget, geometryBuffer->depthTestView.get());
    if (bloom)
        postFX->ApplyFxaa(geometryBuffer->halfResourceA.get(), glowTargets[1].view.get(), true);
    else
        postFX->ApplyFxaa(nullptr, nullptr, true);
    DeviceContext->OMSetRenderTargets(1, &outputTarget, nullptr);
}

} // namespace mirefell
