// PostFXChain: the full-screen effects over the back buffer after the
// deferred composition: FXAA (called by the deferred renderer), the title
// screen's distortion, the play state's flashes, invulnerable look and
// inventory backdrop, the level-complete fade and the in-game menu's
// dimming. Each effect is an
// IPostFXShader drawn over a copy of the back buffer (DrawFullScreen). The
// chain also owns and feeds the adaptive SSAO effect and keeps the two
// per-tick timers of the title distortion and the level-complete fade.
//
// Core owns one for the program's life: CreateDeviceResources after each
// device creation, CreateWindowSizeResources after the deferred renderer's
// at every size change, OnDeviceLost before the device goes. The
// constructor registers GameStateManager listeners that are never removed,
// so one chain lives per GameStateManager lifetime.
#pragma once

#include <functional>
#include <memory>

#include "platform/gpu/GpuResources.h"
#include "platform/math/Color.h"
#include "render/ASSAO_Effect.h"

namespace mirefell
{

class ASSAODX11;
class BasicPostFXShader;
class Camera;
class IPostFXShader;
class IScreenFlashSource;
class PostFXFxaaShader;
class PostFXScreenEffectShader;
class SpriteBatch;

class PostFXChain
{
public:
    // Per tick: the title distortion shrinks by this and restarts at 1 when
    // it runs out; the level-complete fade grows by FadeStep up to about 0.95.
    static constexpr float DistortionStep = 1.0f / 640.0f;
    static constexpr float FadeStep = 0.05f;
    static constexpr float FadeLimit = 0.95f;
    // The ambient-occlusion shader source, compiled when the chain is made.
    static constexpr const wchar_t* SsaoSourceFile = L"assets/shaders/ASSAO.glsl";
    // The tint of the dimmed frame behind menus (luminance shader).
    static constexpr Color MenuDimTint{0.05f, 0.05f, 0.05f, 0.0f};
    // The tint of the inventory backdrop.
    static constexpr Color InventoryTint{0.04f, 0.06f, 0.04f, 1.0f};

    // Process-wide timers: they restart (0 and 1) at every game-state change.
    static inline float menuDistortion = 1.0f;
    static inline float fadeLevel = 0.0f;
    // The "inventory" texture, taken at window-size set-up.
    static inline gpu::ShaderResourceView* inventoryView = nullptr;

    explicit PostFXChain(Camera* camera_);
    ~PostFXChain();
    PostFXChain(const PostFXChain&) = delete;
    PostFXChain& operator=(const PostFXChain&) = delete;

    // The sprite batch, the four shaders, then the SSAO effect.
    void CreateDeviceResources();
    // The SSAO effect from "assets/shaders/ASSAO.glsl", on feature level
    // 11_0 and up; a failed compilation or creation leaves none.
    void CreateSsao();
    // The back buffer (copied by every pass), its view and the scene's depth
    // view; remakes the scene copy at the screen size.
    void CreateWindowSizeResources(gpu::Texture2D* backBuffer_, gpu::RenderTargetView* backBufferView_,
                                   gpu::DepthStencilView* depthStencilView_);
    void OnDeviceLost();

    // Per tick in the main-menu and level-complete states.
    void Update();
    // The SSAO settings from the "ssao" setting and the game state.
    void UpdateSsaoSettings();
    // The occlusion into the bound target, nothing without an effect.
    void DrawSsao(gpu::ShaderResourceView* depthView);
    // FXAA over a copy of the frame when the "fxaa" setting is on; nothing
    // (no copy) when it is off.
    void ApplyFxaa();
    // The title screen's distortion.
    void ApplyMenuEffects();
    // Play and in-game menu: the inventory backdrop, else the invulnerable
    // look, else the screen effect with the damage flash in the tint and the
    // teleport and pickup flashes as its parameters, every frame.
    void ApplyGameEffects();
    // Copies the back buffer and draws the copy back through the shader with
    // the tint as vertex colour; `extra` runs after the shader's Apply.
    void DrawFullScreen(IPostFXShader* shader, const Color& tint, const std::function<void()>& extra = {});

    SsaoSettings ssaoSettings;
    std::unique_ptr<ASSAODX11> ssao;
    std::unique_ptr<PostFXScreenEffectShader> screenEffectShader;
    std::unique_ptr<PostFXFxaaShader> fxaaShader;
    std::unique_ptr<BasicPostFXShader> luminanceShader;
    std::unique_ptr<BasicPostFXShader> invulnerabilityShader;
    // What the flashes are read from each frame: the level's player's weapon
    // view, set by Core at each level load; null: no flashes.
    const IScreenFlashSource* flashSource = nullptr;
    // Full-screen copies drawn since construction (tests and benchmarks).
    uint64_t copiesMade = 0;

private:
    bool LowFeatureLevel() const;

    gpu::Texture2D* backBuffer = nullptr;
    gpu::RenderTargetView* backBufferView = nullptr;
    gpu::DepthStencilView* depthStencilView = nullptr;
    std::shared_ptr<gpu::Texture2D> sceneCopy;
    std::shared_ptr<gpu::RenderTargetView> sceneCopyTarget;
    std::shared_ptr<gpu::ShaderResourceView> sceneCopyView;
    std::unique_ptr<SpriteBatch> spriteBatch;
    gpu::Rect fullRectangle;
    Camera* camera;
};

} // namespace mirefell
