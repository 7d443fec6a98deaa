// PostFXChain: the post effects, their timers and the SSAO feed.
#include "render/PostFXChain.h"

#include <algorithm>

#include "platform/Random.h"
#include "platform/gpu/Context.h"
#include "platform/gpu/Device.h"
#include "render/ASSAODX11.h"
#include "render/BasicPostFXShader.h"
#include "render/Camera.h"
#include "render/GraphicsDevice.h"
#include "render/IScreenFlashSource.h"
#include "render/PassResources.h"
#include "render/PointLights.h"
#include "render/PostFXFxaaShader.h"
#include "render/PostFXScreenEffectShader.h"
#include "render/ReadData.h"
#include "render/SpriteBatch.h"
#include "render/TextureRegistry.h"
#include "shell/Config.h"
#include "shell/GameStateManager.h"
#include "shell/InventoryWindowFlag.h"

namespace mirefell
{

PostFXChain::PostFXChain(Camera* camera_) : camera(camera_)
{
    UpdateSsaoSettings();
    GameStateManager::GetInstance().AddListener([](GameState, GameState) {
        fadeLevel = 0.0f;
        menuDistortion = 1.0f;
    });
}

PostFXChain::~PostFXChain() = default;

bool PostFXChain::LowFeatureLevel() const
{
    return !Device || Device->GetFeatureLevel() < gpu::FeatureLevel::Level11_0;
}

void PostFXChain::CreateDeviceResources()
{
    spriteBatch = std::make_unique<SpriteBatch>(Device, DeviceContext);
    screenEffectShader = std::make_unique<PostFXScreenEffectShader>();
    fxaaShader = std::make_unique<PostFXFxaaShader>();
    luminanceShader = std::make_unique<BasicPostFXShader>(L"shaders/PostFXLuminancePixelShader.glsl");
    invulnerabilityShader = std::make_unique<BasicPostFXShader>(L"shaders/PostFXInvulnerabilityPixelShader.glsl");
    CreateSsao();
}

void PostFXChain::CreateSsao()
{
    ssao.reset();
    if (!LowFeatureLevel()) {
        const std::vector<uint8_t> source = ReadData(SsaoSourceFile);
        const ASSAO_CreateDescDX11 desc(Device, source.data(), source.size());
        auto effect = std::make_unique<ASSAODX11>(desc);
        // A failed initialisation was reported by the effect; the chain goes
        // on without occlusion.
        if (effect->InitializeDX())
            ssao = std::move(effect);
    }
    PointLights::GetInstance().occlusionAvailable = ssao != nullptr;
}

void PostFXChain::CreateWindowSizeResources(gpu::Texture2D* backBuffer_, gpu::RenderTargetView* backBufferView_,
                                            gpu::DepthStencilView* depthStencilView_)
{
    const float fxaaConstants[4] = {static_cast<float>(ScreenWidth), static_cast<float>(ScreenHeight), 0.0f, 0.0f};
    DeviceContext->UpdateSubresource(fxaaShader->constantBuffer.get(), fxaaConstants);
    backBuffer = backBuffer_;
    backBufferView = backBufferView_;
    depthStencilView = depthStencilView_;

    sceneCopyView.reset();
    sceneCopyTarget.reset();
    sceneCopy.reset();
    sceneCopy = CreateFrameCopy();
    sceneCopyTarget = Device->CreateRenderTargetView(sceneCopy.get());
    sceneCopyView = Device->CreateShaderResourceView(sceneCopy.get());
    fullRectangle = {0, 0, ScreenWidth, ScreenHeight};
    inventoryView = TextureRegistry::GetInstance().GetTexture("inventory");
}

void PostFXChain::OnDeviceLost()
{
    if (!LowFeatureLevel())
        ssao.reset();
    PointLights::GetInstance().occlusionAvailable = false;
    sceneCopyView.reset();
    sceneCopyTarget.reset();
    sceneCopy.reset();
    spriteBatch.reset();
    screenEffectShader.reset();
    fxaaShader.reset();
    luminanceShader.reset();
    invulnerabilityShader.reset();
    backBuffer = nullptr;
    backBufferView = nullptr;
    depthStencilView = nullptr;
}

void PostFXChain::Update()
{
    menuDistortion -= DistortionStep;
    if (menuDistortion <= 0.0f)
        menuDistortion = 1.0f;
    if (fadeLevel < FadeLimit)
        fadeLevel += FadeStep;
}

void PostFXChain::UpdateSsaoSettings()
{
    SsaoSettings& s = ssaoSettings;
    s.adaptiveQualityLimit = 0.5f;
    s.blurPassCount = 1;
    s.detailShadowStrength = 0.5f;
    s.fadeOutFrom = 1000.0f;
    s.fadeOutTo = 1500.0f;
    s.horizonAngleThreshold = 0.1f;
    s.qualityLevel = std::clamp(Config::GetInstance().settings.ssao, 0, 3);
    s.radius = 1.0f;
    s.shadowClamp = 0.98f;
    s.shadowMultiplier = 1.0f;
    s.shadowPower = 1.5f;
    s.sharpness = 0.98f;

    const GameState state = GameStateManager::GetInstance().current;
    if (state == GameState::MainMenu) {
        s.horizonAngleThreshold = 0.1f;
        s.radius = 1.0f;
    } else if (state == GameState::IngameMenu) {
        s.horizonAngleThreshold = 0.2f;
        s.radius = 10.0f;
    } else {
        GameStateManager::GetInstance().AddListener([this](GameState newState, GameState) {
            if (newState == GameState::MainMenu) {
                ssaoSettings.horizonAngleThreshold = 0.1f;
                ssaoSettings.radius = 1.0f;
            } else if (newState == GameState::Loading) {
                ssaoSettings.horizonAngleThreshold = 0.2f;
                ssaoSettings.radius = 10.0f;
            }
        });
    }
}

void PostFXChain::DrawSsao(gpu::ShaderResourceView* depthView)
{
    if (!ssao)
        return;
    ASSAO_InputsDX11 inputs;
    inputs.scissorRight = inputs.viewportWidth = ScreenWidth;
    inputs.scissorBottom = inputs.viewportHeight = ScreenHeight;
    inputs.projectionMatrix = camera->projection;
    inputs.matricesRowMajorOrder = true;
    inputs.normalsUnpackMul = 2.0f;
    inputs.normalsUnpackAdd = -1.0f;
    inputs.drawOpaque = true;
    inputs.deviceContext = DeviceContext;
    inputs.depthSRV = depthView;
    ssao->Draw(ssaoSettings, &inputs);
}

void PostFXChain::ApplyFxaa()
{
    if (Config::GetInstance().settings.fxaa)
        DrawFullScreen(fxaaShader.get(), SpriteBatch::White);
}

void PostFXChain::ApplyMenuEffects()
{
    const float amount = std::clamp(menuDistortion, 0.0f, 1.0f);
    screenEffectShader->SetParameters(0.0f, 0.0f);
    const float green = RandUnit() * amount;
    const float red = RandUnit() * amount;
    DrawFullScreen(screenEffectShader.get(), Color(red, green, 0.0f, 0.0f));
}

void PostFXChain::ApplyGameEffects()
{
    if (inventoryWindowOpen) {
        spriteBatch->Begin(SpriteSortMode::Deferred);
        spriteBatch->Draw(inventoryView, fullRectangle, InventoryTint);
        spriteBatch->End();
        return;
    }
    const ScreenFlashes flashes = flashSource ? flashSource->GetScreenFlashes() : ScreenFlashes{};
    if (flashes.invulnerable) {
        DrawFullScreen(invulnerabilityShader.get(), SpriteBatch::White);
        return;
    }
    // Every frame, flash or not: without one the screen effect gives the
    // frame back as it was.
    screenEffectShader->SetParameters(flashes.teleport, flashes.pickup);
    const float d = flashes.damage;
    DrawFullScreen(screenEffectShader.get(), Color(d, d, d, 0.0f));
}

void PostFXChain::DrawFullScreen(IPostFXShader* shader, const Color& tint, const std::function<void()>& extra)
{
    DeviceContext->CopyResource(sceneCopy.get(), backBuffer);
    ++copiesMade;
    spriteBatch->Begin(SpriteSortMode::Immediate, nullptr, nullptr, nullptr, nullptr, [shader, &extra] {
        shader->Apply();
        if (extra)
            extra();
    });
    spriteBatch->Draw(sceneCopyView.get(), fullRectangle, tint);
    spriteBatch->End();
}

} // namespace mirefell
