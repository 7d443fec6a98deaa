// DeferredRenderer: the composition of the lit frame.
#include "render/DeferredRenderer.h"

#include "platform/gpu/CommonStates.h"
#include "platform/gpu/Context.h"
#include "platform/gpu/Device.h"
#include "render/CommonStatesHolder.h"
#include "render/FramePass.h"
#include "render/GeometryBuffer.h"
#include "render/GraphicsDevice.h"
#include "render/PassResources.h"
#include "render/PointLights.h"
#include "render/PostFXBloomExtractShader.h"
#include "render/PostFXChain.h"
#include "render/PostFXGaussianBlurShader.h"
#include "render/SpriteBatch.h"
#include "render/TextureRegistry.h"
#include "shell/Config.h"

namespace mirefell
{

DeferredRenderer::DeferredRenderer(GeometryBuffer* geometryBuffer_, PostFXChain* postFX_)
    : geometryBuffer(geometryBuffer_), postFX(postFX_)
{}

DeferredRenderer::~DeferredRenderer()
{
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
    skyboxView = TextureRegistry::GetInstance().GetTexture("skybox");
}

void DeferredRenderer::Release()
{
    deferredShader.reset();
    occludedShader.reset();
    bloomExtractShader.reset();
    blurShader.reset();
    spriteBatch.reset();
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
    if (bloom) {
        ExtractBloom();
        MarkFramePass(FramePass::BloomExtract);
    }
    if (Config::GetInstance().settings.ssao >= 0 && !lowFeatureLevel) {
        DrawSsao();
        MarkFramePass(FramePass::Ssao);
    }
    DrawLights(camera);
    MarkFramePass(FramePass::Lights);
    Compose();
    MarkFramePass(FramePass::Composition);
    postFX->ApplyFxaa();
    MarkFramePass(FramePass::Fxaa);
    if (bloom) {
        BlurBloom();
        MarkFramePass(FramePass::Bloom);
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

void DeferredRenderer::DrawLights(const Camera& camera)
{
    gpu::Context& context = *DeviceContext;
    gpu::RenderTargetView* target = geometryBuffer->renderTargetViews[GeometryBuffer::LightIndex].get();
    context.OMSetRenderTargets(1, &target, nullptr);
    gpu::ShaderResourceView* normals = geometryBuffer->shaderResourceViews[GeometryBuffer::NormalIndex].get();
    gpu::ShaderResourceView* depth = geometryBuffer->depthResourceView.get();
    context.PSSetShaderResources(1, 1, &normals);
    context.PSSetShaderResources(2, 1, &depth);
    PointLights::GetInstance().Draw(camera);
}

void DeferredRenderer::Compose()
{
    gpu::Context& context = *DeviceContext;
    context.OMSetRenderTargets(1, &outputTarget, nullptr);
    GeometryBuffer& g = *geometryBuffer;
    gpu::ShaderResourceView* views[] = {g.shaderResourceViews[GeometryBuffer::ColourIndex].get(),
                                        g.shaderResourceViews[GeometryBuffer::NormalIndex].get(),
                                        g.shaderResourceViews[GeometryBuffer::LightIndex].get(),
                                        g.shaderResourceViews[GeometryBuffer::OcclusionIndex].get(), skyboxView};
    for (uint32_t i = 0; i < 5; ++i)
        context.PSSetShaderResources(1 + i, 1, &views[i]);
    // The variant that reads the occlusion only when the frame has it.
    gpu::PixelShader* shader =
        PointLights::GetInstance().OcclusionShown() ? occludedShader.get() : deferredShader.get();
    DrawQuad(g.depthResourceView.get(), fullRectangle, nullptr, [shader] { DeviceContext->PSSetShader(shader); });
    gpu::ShaderResourceView* none[5] = {};
    context.PSSetShaderResources(0, 5, none);
}

void DeferredRenderer::BlurBloom()
{
    gpu::Context& context = *DeviceContext;
    gpu::CommonStates& states = *GetCommonStates();
    gpu::RenderTargetView* target = geometryBuffer->halfTargetB.get();
    context.OMSetRenderTargets(1, &target, nullptr);
    DrawQuad(geometryBuffer->halfResourceA.get(), halfRectangle, states.Opaque(), [this] {
        gpu::Buffer* weights = blurShader->horizontalConstants.get();
        DeviceContext->PSSetConstantBuffers(0, 1, &weights);
        DeviceContext->PSSetShader(blurShader->pixelShader.get());
    });
    gpu::ShaderResourceView* none = nullptr;
    context.PSSetShaderResources(0, 1, &none);

    target = geometryBuffer->halfTargetA.get();
    context.OMSetRenderTargets(1, &target, nullptr);
    DrawQuad(geometryBuffer->halfResourceB.get(), halfRectangle, states.Additive(), [this] {
        gpu::Buffer* weights = blurShader->verticalConstants.get();
        DeviceContext->PSSetConstantBuffers(0, 1, &weights);
        DeviceContext->PSSetShader(blurShader->pixelShader.get());
    });

    context.OMSetRenderTargets(1, &outputTarget, nullptr);
    DrawQuad(geometryBuffer->halfResourceA.get(), fullRectangle, nullptr, {});
}

} // namespace mirefell
