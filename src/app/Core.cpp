#include "app/Core.h"

#include <algorithm>

#include "gameplay/LevelScriptCatalogue.h"
#include "platform/Clock.h"
#include "platform/IGameWindow.h"
#include "platform/VirtualKey.h"
#include "platform/gpu/CommonStates.h"
#include "platform/gpu/Context.h"
#include "platform/gpu/Device.h"
#include "platform/gpu/SwapChain.h"
#include "render/BasicPostFXShader.h"
#include "render/BrightnessContrast.h"
#include "render/CommonStatesHolder.h"
#include "render/DebugLines.h"
#include "render/DeferredRenderer.h"
#include "render/EffectRegistry.h"
#include "render/FramePass.h"
#include "render/Frustum.h"
#include "render/GeometryBuffer.h"
#include "render/GraphicsDevice.h"
#include "render/Painter.h"
#include "render/ParticleSystem.h"
#include "render/PointLights.h"
#include "render/PostFXChain.h"
#include "render/PostFXScreenEffectShader.h"
#include "render/TextureRegistry.h"
#include "shell/Config.h"
#include "shell/GameStateManager.h"
#include "shell/INotificationService.h"
#include "shell/Input.h"
#include "shell/InventoryWindowFlag.h"
#include "shell/Profiler.h"
#include "shell/Screen.h"
#include "shell/SoundManager.h"
#include "shell/TitleSubPageFlag.h"
#include "ui/MenuScene.h"
#include "ui/NotificationService.h"
#include "ui/UIManager.h"
#include "world/MapEntityTypes.h"
#include "world/World.h"

namespace mirefell
{

namespace
{

// The mesh filters of the level passes, made once.
const MeshFilter ColourFilter = [](const Mesh* mesh) { return mesh->effectId == EffectIdColor; };
const MeshFilter InstancedFilter = [](const Mesh* mesh) { return mesh->effectId == EffectIdInstancedTexture; };
const MeshFilter TexturedOpaqueFilter = [](const Mesh* mesh) {
    return mesh->effectId == EffectIdTexture && mesh->subKind == MeshSubKindOpaque;
};
const MeshFilter TexturedBlendedFilter = [](const Mesh* mesh) {
    return mesh->effectId == EffectIdTexture && mesh->subKind == MeshSubKindBlended;
};
const MeshFilter DecalFilter = [](const Mesh* mesh) { return mesh->effectId == EffectIdDecal; };
const MeshFilter NoFilter;

// Whether the decal pass will draw a decal whose box contains the eye (a
// shown instance of a visible decal mesh under `node`).
bool AnyDecalSurrounds(const Mesh& node, const Vector3& eye)
{
    if (!node.visible)
        return false;
    if (DecalFilter(&node))
        for (const MeshInstance& instance : node.instances)
            if (instance.shown && !instance.removed && instance.bounds && IsPointInBox(eye, instance.bounds))
                return true;
    for (const auto& child : node.children)
        if (AnyDecalSurrounds(*child, eye))
            return true;
    return false;
}

// The ambient light of the title scene's frames.
constexpr Color TitleAmbient{0.05f, 0.05f, 0.05f, 0.0f};

} // namespace

uint32_t Core::TickCountMs()
{
    const IClock& clock = GetClock();
    return static_cast<uint32_t>(CounterToNanoseconds(clock.Counter(), clock.Frequency()) / 1'000'000);
}

Core::Core() : statsStartTick(TickCountMs())
{
    MapEntityTypes::Initialize();
    root.name = "root";
    debugRoot.name = "debugRoot";
    SetNotificationService(&NotificationService::GetInstance());
    // The world makes level scripts by name; gameplay owns them.
    LevelScriptCatalogue::RegisterAll();
    CreateRenderer();
    GameStateManager& states = GameStateManager::GetInstance();
    states.AddListener([this](GameState newState, GameState) { OnLevelStart(newState); });
    states.AddListener([this](GameState newState, GameState previousState) { OnPause(newState, previousState); });
}

Core::~Core()
{
    SetNotificationService(nullptr);
    Config& config = Config::GetInstance();
    config.Save();
    // The settings outlive the Core: they must not keep pointers into it.
    config.world = nullptr;
    config.camera = nullptr;
    config.postFX = nullptr;
}

void Core::Initialize()
{
    CreateDeviceResources();
    GameStateManager& states = GameStateManager::GetInstance();
    if (states.current == GameState::Start) {
        CreateTitleScene();
        states.Request(GameState::MainMenu);
    }
}

void Core::Update()
{
    GameStateManager& states = GameStateManager::GetInstance();
    Input& input = Input::GetInstance();
    states.NotifyListeners();
    input.Update();

    switch (states.current) {
    case GameState::MainMenu:
        UpdatePostEffects();
        UpdateTitleScene();
        UpdateUi();
        break;
    case GameState::Playing: {
        const IClock& clock = GetClock();
        const uint64_t start = clock.Counter();
        if (!inventoryWindowOpen) {
            UpdateWorld();
            UpdatePointLights();
        }
        UpdateUi();
        const float elapsedMs = static_cast<float>(clock.Counter() - start) * 1000.0f / clock.Frequency();
        Profiler::GetInstance().AddSample(L"update time", elapsedMs);
        CheckDeathRestart();
        break;
    }
    case GameState::LevelComplete:
        UpdatePostEffects();
        UpdateUi();
        break;
    case GameState::IngameMenu:
        UpdateUi();
        break;
    default:
        break;
    }
    // A step that leaves the level for the title (save and exit, the end of
    // the game) switches the level's lights off at once: the frame drawn
    // after it is already the title's, while the title scene hears of the
    // change, and adds its own lights, only at the next step. The lights stay
    // in the list until the next load.
    if (states.changed && states.current == GameState::MainMenu && states.previous != GameState::MainMenu)
        for (PointLight& light : PointLights::GetInstance().lights)
            light.enabled = 0;

    if (input.keyboardTracker.IsKeyPressed(KeyF1))
        Profiler::GetInstance().ToggleVisible();
    input.wheel = 0;
}

void Core::CheckDeathRestart()
{
    if (!CanRestartAfterDeath())
        return;
    if (Input::GetInstance().keyboardTracker.IsKeyPressed(KeyEnter)) {
        ReloadCurrentSave();
        GameStateManager::GetInstance().Request(GameState::Loading);
    }
}

void Core::OnLevelStart(GameState newState)
{
    if (newState == GameState::Loading)
        StartLevel();
}

void Core::OnPause(GameState newState, GameState previousState)
{
    if (newState == GameState::IngameMenu && previousState == GameState::Playing)
        SetLevelTimerPaused(true);
    else if (newState == GameState::Playing && previousState == GameState::IngameMenu)
        SetLevelTimerPaused(false);
}

void Core::Render()
{
    const GameState state = GameStateManager::GetInstance().current;
    BeginFrame();
    switch (state) {
    case GameState::MainMenu:
        RenderTitle();
        break;
    case GameState::Loading:
        RenderLoading();
        break;
    case GameState::Playing:
    case GameState::LevelComplete:
    case GameState::IngameMenu:
        RenderLevel(state);
        break;
    default:
        break;
    }
    ApplyBrightnessContrast();
    CountFrame();
    if (state == GameState::MainMenu || state == GameState::Playing || state == GameState::IngameMenu)
        Profiler::GetInstance().SetValue(L"fps", static_cast<int32_t>(framesPerSecond));
}

bool Core::CanDraw() const
{
    return deviceResources && DeviceContext && renderTargetView;
}

void Core::BeginFrame()
{
    if (!DeviceContext || !renderTargetView) {
        if (window)
            window->ClearBackBuffer(ClearColour);
        return;
    }
    gpu::Context& context = *DeviceContext;
    const float clear[4] = {ClearColour.r, ClearColour.g, ClearColour.b, ClearColour.a};
    context.ClearRenderTargetView(renderTargetView, clear);
    if (depthStencilView)
        context.ClearDepthStencilView(depthStencilView, gpu::ClearDepth | gpu::ClearStencil, 1.0f, 0);
    context.OMSetRenderTargets(1, &renderTargetView, depthStencilView);
    FrameViewport =
        gpu::Viewport{0.0f, 0.0f, static_cast<float>(ScreenWidth), static_cast<float>(ScreenHeight), 0.0f, 1.0f};
    context.RSSetViewports(1, &FrameViewport);
}

void Core::CountFrame()
{
    ++frameCount;
    const uint32_t now = TickCountMs();
    if (now - statsStartTick >= 1000) {
        framesPerSecond = frameCount;
        frameCount = 0;
        statsStartTick = now;
    }
}

void Core::OnWindowSizeChanged(int32_t width, int32_t height, IGameWindow* window_, gpu::SwapChain* swapChain)
{
    window = window_;
    backBuffer = swapChain ? swapChain->GetBackBuffer() : nullptr;
    renderTargetView = swapChain ? swapChain->GetBackBufferView() : nullptr;
    ScreenWidth = width;
    ScreenHeight = height;
    ResizeRenderer(width, height);
    const GameState state = GameStateManager::GetInstance().current;
    if (state == GameState::Playing || state == GameState::LevelComplete || state == GameState::IngameMenu)
        ResizeWeaponView(camera.aspectRatio);
}

void Core::UpdateLevelBuffers()
{
    if (!deviceResources)
        return;
    root.Update();
    debugRoot.Update();
    if (Mesh* weaponView = WeaponViewRoot())
        weaponView->Update();
}

void Core::OnDeviceLost()
{
    ReleaseDeviceResources();
}

// --- Seams -----------------------------------------------------------------
// Each runs one layer's part (named beside its declaration in Core.h) at its
// place in the update, frame or lifecycle order.

void Core::CreateRenderer()
{
    ui = std::make_unique<UIManager>();
    geometryBuffer = std::make_unique<GeometryBuffer>();
    postFX = std::make_unique<PostFXChain>(&camera);
    deferred = std::make_unique<DeferredRenderer>(geometryBuffer.get(), postFX.get());
    brightnessContrast = std::make_unique<BrightnessContrast>();
    Profiler::GetInstance().painter = std::make_unique<Painter>();
    Config::GetInstance().camera = &camera;
    Config::GetInstance().postFX = postFX.get();
    camera.fieldOfView = Config::GetInstance().settings.fov;
    camera.UpdateProjection();
}

void Core::CreateDeviceResources()
{
    if (!Device)
        return;
    TextureRegistry::GetInstance().LoadAll();
    EffectRegistry::Initialize();
    particles.Create();
    PointLights::GetInstance().Initialize();
    DebugLines::GetInstance().Initialize();
    ui->painter->Initialize();
    Profiler::GetInstance().painter->Initialize();
    postFX->CreateDeviceResources();
    brightnessContrast->LoadShader();
    deferred->Initialize();
    GetCommonStates() = CreateCommonStates(Device);
    gpu::DepthStencilDesc farFace;
    farFace.depthWrite = false;
    farFace.depthFunc = gpu::ComparisonFunc::GreaterEqual;
    decalFarFaceDepth = Device->CreateDepthStencilState(farFace);
    deviceResources = true;
    UpdateLevelBuffers();
    if (titleScene)
        titleScene->root->Update();
}

void Core::CreateTitleScene()
{
    titleScene = std::make_unique<MenuScene>();
    if (ScreenWidth > 0 && ScreenHeight > 0) {
        titleScene->camera->aspectRatio = static_cast<float>(ScreenWidth) / static_cast<float>(ScreenHeight);
        titleScene->camera->UpdateProjection();
    }
    if (deviceResources)
        titleScene->root->Update();
}

void Core::UpdatePostEffects()
{
    postFX->Update();
}
void Core::UpdateTitleScene()
{
    if (titleScene)
        titleScene->Update();
}
void Core::UpdatePointLights()
{
    PointLights::GetInstance().Update();
}
void Core::UpdateUi()
{
    ui->Update();
}
void Core::RenderLoading()
{
    if (CanDraw())
        ui->DrawLoadingScreen();
}
void Core::DrawParticles()
{
    particles.Draw(camera);
}

void Core::DrawDebugLines()
{
    DebugLines::GetInstance().Draw(camera);
}

void Core::DrawUi()
{
    ui->Draw();
    Profiler::GetInstance().Draw();
}

void Core::ResizeRenderer(int32_t width, int32_t height)
{
    const float aspect = static_cast<float>(width) / static_cast<float>(std::max(height, 1));
    camera.aspectRatio = aspect;
    camera.UpdateProjection();
    if (titleScene) {
        titleScene->camera->aspectRatio = aspect;
        titleScene->camera->UpdateProjection();
    }
    depthStencilView = nullptr;
    ui->OnResize();
    Profiler::GetInstance().painter->UpdateScales();
    if (!Device || !deviceResources || !backBuffer)
        return;
    geometryBuffer->Create();
    geometryBuffer->CreateDepthBuffer();
    depthStencilView = geometryBuffer->depthStencilView.get();
    deferred->CreateWindowSizeResources(renderTargetView);
    postFX->CreateWindowSizeResources(backBuffer, renderTargetView, depthStencilView);
    brightnessContrast->CreateTarget(backBuffer);
}

void Core::ReleaseDeviceResources()
{
    deviceResources = false;
    TextureRegistry::GetInstance().Clear();
    EffectRegistry::ReleaseAll();
    particles.Release();
    PointLights::GetInstance().Release();
    DebugLines::GetInstance().Release();
    ui->painter->Release();
    Profiler::GetInstance().painter->Release();
    postFX->OnDeviceLost();
    brightnessContrast->Release();
    geometryBuffer->Release();
    deferred->Release();
    decalFarFaceDepth.reset();
    root.ReleaseBuffers();
    debugRoot.ReleaseBuffers();
    if (Mesh* weaponView = WeaponViewRoot())
        weaponView->ReleaseBuffers();
    if (titleScene)
        titleScene->Release();
    GetCommonStates().reset();
    depthStencilView = nullptr;
    renderTargetView = nullptr;
    backBuffer = nullptr;
}

// --- Frame passes ------------------------------------------------------------
//
// The geometry passes sample trilinearly (LinearWrap). Anisotropic filtering
// costs the software rasteriser more than the rest of the pass (at 1280 x 720
// about 55 of the pass's 97 ms of CPU, whatever the anisotropy limit), and
// the level's broad, low-contrast textures look the same either way at the
// grazing angles of floors and corridors (docs/PERFORMANCE.md compares them).

void Core::SetStates(gpu::SamplerState* sampler, gpu::BlendState* blend, gpu::DepthStencilState* depth,
                     gpu::RasterizerState* rasterizer)
{
    gpu::Context& context = *DeviceContext;
    context.PSSetSamplers(0, 1, &sampler);
    context.OMSetBlendState(blend, nullptr, 0xFFFFFFFF);
    context.OMSetDepthStencilState(depth, 0);
    context.RSSetState(rasterizer);
}

void Core::BindGeometryBuffer()
{
    geometryBuffer->Clear();
    gpu::RenderTargetView* targets[] = {geometryBuffer->renderTargetViews[GeometryBuffer::ColourIndex].get(),
                                        geometryBuffer->renderTargetViews[GeometryBuffer::NormalIndex].get()};
    DeviceContext->OMSetRenderTargets(2, targets, geometryBuffer->depthStencilView.get());
}

void Core::RenderTitle()
{
    if (!CanDraw() || !titleScene)
        return;
    BindGeometryBuffer();
    DrawTitlePass();
    deferred->Draw(*titleScene->camera, false);
    postFX->ApplyMenuEffects();
    if (titleSubPageOpen)
        postFX->DrawFullScreen(postFX->luminanceShader.get(), PostFXChain::MenuDimTint);
    DrawUi();
}

void Core::DrawTitlePass()
{
    gpu::CommonStates& states = *GetCommonStates();
    SetStates(states.LinearWrap(), states.Opaque(), states.DepthDefault(), states.CullClockwise());
    const Camera& titleCamera = *titleScene->camera;
    PointLights::GetInstance().PrepareFrame(titleCamera, TitleAmbient, 0.0f, false);
    titleScene->root->Draw(titleCamera, NoFilter, false, false);
}

void Core::RenderLevel(GameState s)
{
    Mesh::drawCalls = 0;
    Mesh::drawnInstances = 0;
    if (!CanDraw())
        return;
    const Settings& settings = Config::GetInstance().settings;
    if (!inventoryWindowOpen) {
        BindGeometryBuffer();
        MarkFramePass(FramePass::Clear);
        DrawColourPass();
        MarkFramePass(FramePass::Geometry);
        DrawDecalPass();
        MarkFramePass(FramePass::Decals);
        DrawScenePass();
        MarkFramePass(FramePass::Scene);
        DrawWeaponViewPass();
        MarkFramePass(FramePass::WeaponView);
        deferred->Draw(camera, settings.bloom);
    }
    if (s == GameState::Playing || s == GameState::IngameMenu) {
        postFX->ApplyGameEffects();
        MarkFramePass(FramePass::GameEffects);
    }
    if (!inventoryWindowOpen) {
        if (debugDraw)
            DrawDebugPass();
        DrawDebugLines();
    }
    if (s == GameState::IngameMenu) {
        postFX->DrawFullScreen(postFX->luminanceShader.get(), PostFXChain::MenuDimTint);
    } else if (s == GameState::LevelComplete) {
        postFX->screenEffectShader->SetParameters(0.0f, 0.0f);
        const float f = PostFXChain::fadeLevel;
        postFX->DrawFullScreen(postFX->screenEffectShader.get(), Color(0.75f * f, f, 0.0f, f));
    }
    DrawUi();
    MarkFramePass(FramePass::Ui);
}

void Core::DrawColourPass()
{
    gpu::CommonStates& states = *GetCommonStates();
    SetStates(states.LinearWrap(), states.Opaque(), states.DepthDefault(), states.CullClockwise());
    root.Draw(camera, ColourFilter, false, false);
}

void Core::DrawDecalPass()
{
    // A negative limit, like 0, means no decals (the level made none).
    if (Config::GetInstance().settings.maxBloodDecals <= 0)
        return;
    gpu::Context& context = *DeviceContext;
    gpu::CommonStates& states = *GetCommonStates();
    gpu::RenderTargetView* colour = geometryBuffer->renderTargetViews[GeometryBuffer::ColourIndex].get();
    context.OMSetRenderTargets(1, &colour, nullptr);
    gpu::ShaderResourceView* sampled[] = {geometryBuffer->shaderResourceViews[GeometryBuffer::NormalIndex].get(),
                                          geometryBuffer->depthResourceView.get()};
    context.PSSetShaderResources(1, 2, sampled);
    // Trilinear, not anisotropic: seen from inside a decal's box (an eye in
    // a pool of blood, as a dead player's is) the box's far faces cover the
    // window, the decal's texture coordinates of distant pixels change
    // enormously from pixel to pixel, and the software rasteriser's
    // anisotropic filter then takes seconds to minutes a frame; the pictures
    // do not differ visibly.
    SetStates(states.LinearClamp(), states.AlphaBlend(), states.DepthRead(), states.CullClockwise());
    root.Draw(camera, DecalFilter, true, false);
    // The boxes around the eye are drawn by their far faces, which cover the
    // whole window. A scene point inside a box lies in front of the box's far
    // face along its ray, so the depth test against a copy of the scene's
    // depth (the depth itself is being read) keeps only the pixels that may
    // show the decal; the rest are spared the shader. The copy is made only
    // when an eye is inside a box.
    if (AnyDecalSurrounds(root, camera.position)) {
        geometryBuffer->CopyDepthForTests();
        context.OMSetRenderTargets(1, &colour, geometryBuffer->depthTestView.get());
        context.OMSetDepthStencilState(decalFarFaceDepth.get(), 0);
        context.RSSetState(states.CullCounterClockwise());
        root.Draw(camera, DecalFilter, true, true);
    }
    gpu::ShaderResourceView* none[5] = {};
    context.PSSetShaderResources(0, 5, none);
    gpu::RenderTargetView* targets[] = {colour, geometryBuffer->renderTargetViews[GeometryBuffer::NormalIndex].get()};
    context.OMSetRenderTargets(2, targets, geometryBuffer->depthStencilView.get());
}

void Core::DrawScenePass()
{
    gpu::CommonStates& states = *GetCommonStates();
    SetStates(states.LinearWrap(), states.AlphaBlend(), states.DepthRead(), states.CullClockwise());
    root.Draw(camera, TexturedBlendedFilter, false, false);
    SetStates(states.LinearWrap(), states.Opaque(), states.DepthDefault(), states.CullClockwise());
    root.Draw(camera, TexturedOpaqueFilter, false, false);
    root.Draw(camera, InstancedFilter, false, false);
    DrawParticles();
    PointLights::GetInstance().PrepareFrame(camera, LevelAmbient(), Config::GetInstance().settings.noiseIntensity,
                                            true);
}

void Core::DrawWeaponViewPass()
{
    gpu::CommonStates& states = *GetCommonStates();
    SetStates(states.LinearWrap(), states.Opaque(), states.DepthDefault(), states.CullClockwise());
    DrawWeaponView();
}

void Core::DrawDebugPass()
{
    gpu::CommonStates& states = *GetCommonStates();
    DeviceContext->OMSetDepthStencilState(states.DepthNone(), 0);
    DeviceContext->RSSetState(states.Wireframe());
    debugRoot.Draw(camera, NoFilter, false, false);
}

void Core::ApplyBrightnessContrast()
{
    if (!CanDraw())
        return;
    const Settings& settings = Config::GetInstance().settings;
    brightnessContrast->Apply(settings.brightness, settings.contrast);
    MarkFramePass(FramePass::Brightness);
}

} // namespace mirefell
