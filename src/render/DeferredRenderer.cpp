// DeferredRenderer: the composition of the lit frame.
#include "render/DeferredRenderer.h"

#include <algorithm>

#include "platform/gpu/CommonStates.h"
#include "platform/gpu/Context.h"
#include "platform/gpu/Device.h"
#include "render/CommonStatesHolder.h"
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
    deferredShader.reset();
}

void DeferredRenderer::Initialize()
{
    lowFeatureLevel = Device->GetFeatureLevel() < gpu::FeatureLevel::Level11_0;
    deferredShader.reset();
    deferredShader = LoadPixelShader(L"shaders/DeferredPixelShader.glsl");
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
    skyboxView = TextureRegistry::GetInstance().GetTexture("skybox");
}

void DeferredRenderer::Release()
{
    deferredShader.reset();
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
    if (bloom)
        ExtractBloom();
    if (Config::GetInstance().settings.ssao >= 0 && !lowFeatureLevel)
        DrawSsao();
    // With FXAA or bloom to come, the composition goes to the chain's scene
    // copy and the finishing pass draws it into the output; without, it goes
    // straight to the output.
    const bool finishing = bloom || Config::GetInstance().settings.fxaa;
    Compose(camera, finishing ? postFX->SceneTarget() : outputTarget);
    if (bloom)
        BlurBloom();
    if (finishing)
        Finish(bloom);
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

void DeferredRenderer::Compose(const Camera& camera, gpu::RenderTargetView* target)
{
    gpu::Context& context = *DeviceContext;
    context.OMSetRenderTargets(1, &target, nullptr);
    GeometryBuffer& g = *geometryBuffer;
    gpu::ShaderResourceView* views[] = {g.depthResourceView.get(),
                                        g.shaderResourceViews[GeometryBuffer::ColourIndex].get(),
                                        g.shaderResourceViews[GeometryBuffer::NormalIndex].get(),
                                        g.shaderResourceViews[GeometryBuffer::LightIndex].get(),
                                        g.shaderResourceViews[GeometryBuffer::OcclusionIndex].get(),
                                        skyboxView};
    context.PSSetShaderResources(0, 6, views);
    gpu::SamplerState* sampler = GetCommonStates()->LinearClamp();
    context.PSSetSamplers(0, 1, &sampler);
    context.PSSetShader(deferredShader.get());
    // The light pass draws the window region by region through the
    // composition's pixel shader.
    PointLights::GetInstance().Draw(camera);
    gpu::ShaderResourceView* none[5] = {};
    context.PSSetShaderResources(0, 5, none);
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
        DeviceContext->PSSetShader(blurShader->pixelShader.get());
    });
    context.PSSetShaderResources(0, 1, &none);
}

void DeferredRenderer::Finish(bool bloom)
{
    DeviceContext->OMSetRenderTargets(1, &outputTarget, nullptr);
    if (bloom)
        postFX->ApplyFxaa(geometryBuffer->halfResourceA.get(), glowTargets[1].view.get());
    else
        postFX->ApplyFxaa();
}

} // namespace mirefell
