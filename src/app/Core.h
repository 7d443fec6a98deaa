// Core: the engine root that the Game owns. Once per fixed step it announces
// a pending game-state change, reads the input and runs the update branch of
// the current state; once per frame it draws the branch of the current state
// and keeps the frame-rate statistics. It forwards size changes to the
// renderer and writes "config.json" when it is destroyed.
//
// A frame follows the state: the title scene lit and composed with the
// menu effects (state 1), the cleared "Loading..." frame (state 2), the
// level's geometry passes, composition, game effects and overlays (states 3
// to 5), and in every state the brightness and contrast pass last.
//
// Entering the loading state tears the old level down and builds the next
// one from "assets/maps/<level id>.json" within the same step, then asks for
// the playing state (CoreLevel.cpp). In play, a dead player restarts the
// level from its slot with Enter, unless the game ended in permadeath; the
// in-game menu stops the level clock. The user interface attaches at the
// private seams below.
//
// The constructor fills the map-entity type table, registers the user
// interface's NotificationService as the game's notification service (until
// the Core is destroyed) and the level scripts, publishes the main camera and
// the post-processing chain in Config, and registers two GameStateManager
// listeners that refer to this Core; the first Initialize makes the title
// scene, which adds its own (it plays the title music). Listeners are never
// removed, so one Core lives per process (tests reset the GameStateManager
// before making another).
#pragma once

#include <cstdint>
#include <memory>

#include "app/PlayerScreenFlashes.h"
#include "platform/math/Color.h"
#include "render/Camera.h"
#include "render/Mesh.h"
#include "render/ParticleSystem.h"
#include "shell/GameState.h"

namespace mirefell
{

namespace gpu
{
class BlendState;
class DepthStencilState;
class DepthStencilView;
class RasterizerState;
class RenderTargetView;
class SamplerState;
class SwapChain;
class Texture2D;
} // namespace gpu

class BrightnessContrast;
class DeferredRenderer;
class GeometryBuffer;
class IGameWindow;
class MenuScene;
class PostFXChain;
class UIManager;
class WeaponView;
class World;

class Core
{
public:
    // What every frame starts from.
    static constexpr Color ClearColour{0.0f, 0.0f, 0.0f, 1.0f};

    Core();
    // Writes "config.json" first, so settings changed in the options reach it.
    virtual ~Core();
    Core(const Core&) = delete;
    Core& operator=(const Core&) = delete;

    // After every device creation: the renderer's device resources and, the
    // first time (state 0), the title scene and the request of the main menu.
    void Initialize();
    // One fixed step.
    void Update();
    // One frame; changes no game state.
    void Render();
    // The back buffer now has this size. Frames draw into the swap chain's
    // back buffer, or, when there is no GPU device (swapChain null), only
    // clear the window. Neither is owned.
    void OnWindowSizeChanged(int32_t width, int32_t height, IGameWindow* window, gpu::SwapChain* swapChain);
    // The device is about to be recreated: release every device object.
    void OnDeviceLost();

    // The frames drawn in the last whole second.
    uint32_t GetFramesPerSecond() const { return framesPerSecond; }

    // The level's scene, which the level build fills: the tree the world's
    // meshes hang under, the debug tree and the camera the level is drawn
    // with. Every level load empties the roots before it builds.
    Mesh& GetRoot() { return root; }
    Mesh& GetDebugRoot() { return debugRoot; }
    Camera& GetCamera() { return camera; }
    // The particles every level's World moves and the scene pass draws;
    // emptied at every level load.
    ParticleSystem& GetParticles() { return particles; }
    // The level being played; null until the first level load.
    World* GetWorld() const { return world.get(); }
    // The ambient light the level's frames are lit with: the player's weapon
    // view's (which Blackout and the level scripts' light switch change),
    // or the normal value while there is no player.
    Color LevelAmbient() const;

private:
    void OnLevelStart(GameState newState);
    void OnPause(GameState newState, GameState previousState);
    void CheckDeathRestart();
    void BeginFrame();
    void CountFrame();
    bool CanDraw() const;
    // Milliseconds on the process clock, wrapping like a 32-bit tick count.
    static uint32_t TickCountMs();
    // The device buffers of the level's trees (root, debugRoot and the
    // weapon view's), once the renderer's device objects exist.
    void UpdateLevelBuffers();
    // Sampler slot 0, blend, depth-stencil and rasterizer states of the
    // shared CommonStates.
    static void SetStates(gpu::SamplerState* sampler, gpu::BlendState* blend, gpu::DepthStencilState* depth,
                          gpu::RasterizerState* rasterizer);
    // Clears the G-buffer and binds its colour and normal targets with its
    // depth view.
    void BindGeometryBuffer();
    void DrawTitlePass();
    void DrawColourPass();
    void DrawDecalPass();
    void DrawScenePass();
    void DrawWeaponViewPass();
    void DrawDebugPass();

    // Seams, in the order they run. Each names the part that fills it.
    void CreateRenderer();                    // renderer + UI: UI manager, G-buffer, post chain, deferred renderer,
                                              // brightness pass; Config's camera and postFX pointers
    void CreateDeviceResources();             // renderer: textures, effects, lights, painters, common states, then
                                              // the device buffers of the scene trees that exist
    void CreateTitleScene();                  // UI: the title screen's 3D background and its listener
    void UpdatePostEffects();                 // renderer: PostFXChain::Update
    void UpdateTitleScene();                  // UI: MenuScene::Update
    void UpdateWorld();                       // world: World::Update
    void UpdatePointLights();                 // renderer: PointLights::Update
    void UpdateUi();                          // UI: UIManager::Update
    bool CanRestartAfterDeath() const;        // world + saves: the player is dead and not permadead
    void ReloadCurrentSave();                 // saves: GameSaveManager::LoadSlot of the current slot
    void StartLevel();                        // level build: tear down the old level, load the next, request 3
    void LoadLevel();                         // level build: the map, the World, play input, state 3, music
    void SetLevelTimerPaused(bool paused);    // gameplay: the player's level stopwatch
    void CreateHud();                         // UI: UIManager::CreateHud
    void InitializeUi();                      // UI: UIManager::Initialize with the new World
    void SetPostEffectsWorld();               // renderer: the PostFXChain reads the new World's flashes
    WeaponView* PlayerWeaponView() const;     // gameplay: the player's weapon view, when there is a player
    Mesh* WeaponViewRoot() const;             // gameplay: the player's weapon-view tree
    void ResizeWeaponView(float aspectRatio); // gameplay: the weapon view's camera
    void RenderTitle();                       // title pass, deferred, menu effects, UI, profiler
    void RenderLoading();                     // UI: DrawLoadingScreen
    void RenderLevel(GameState s);            // level passes of states 3-5, UI, profiler
    void DrawParticles();                     // renderer: ParticleSystem::Draw
    void DrawWeaponView();                    // gameplay: the player's weapon-view tree with its camera
    void DrawDebugLines();                    // shell overlay: DebugLines::Draw
    void DrawUi();                            // UI: UIManager::Draw, then the profiler's overlay
    void ApplyBrightnessContrast();           // the last pass of every frame
    void ResizeRenderer(int32_t width, int32_t height); // renderer + UI: size-dependent targets, cameras
    void ReleaseDeviceResources();                      // renderer: every device object, in creation order

    uint32_t frameCount = 0;      // frames drawn in the running second
    uint32_t framesPerSecond = 0; // frames drawn in the last whole second
    uint32_t statsStartTick = 0;  // milliseconds at the start of the running second
    IGameWindow* window = nullptr;
    gpu::Texture2D* backBuffer = nullptr;              // the swap chain's, not owned
    gpu::RenderTargetView* renderTargetView = nullptr; // the swap chain's, not owned
    gpu::DepthStencilView* depthStencilView = nullptr; // the G-buffer's, taken at each size change
    bool debugDraw = false;                            // the debug tree is drawn in wireframe
    // The level's scene: every mesh tree the world builds hangs under root;
    // bounding boxes and other debug shapes under debugRoot.
    Mesh root{EffectIdNone, MeshVertexFormatColor};
    Mesh debugRoot{EffectIdNone, MeshVertexFormatColor};
    Camera camera;
    ParticleSystem particles;
    // Declared after what it uses (the roots, the camera, the particles), so
    // it is destroyed before them.
    std::unique_ptr<World> world;
    // The ambient light of the level's frames while there is no player (the
    // weapon view's normal value; see LevelAmbient).
    Color ambient{0.05f, 0.05f, 0.05f, 0.0f};
    // The title screen's 3D background with its own camera; made by the
    // first Initialize.
    std::unique_ptr<MenuScene> titleScene;
    std::unique_ptr<UIManager> ui;
    std::unique_ptr<GeometryBuffer> geometryBuffer;
    std::unique_ptr<PostFXChain> postFX;
    // The flashes of the level's player, which the chain reads each frame.
    PlayerScreenFlashes screenFlashes;
    std::unique_ptr<DeferredRenderer> deferred;
    std::unique_ptr<BrightnessContrast> brightnessContrast;
    // The decal pass's test for the boxes around the eye: depth read, kept
    // where the box's far face lies at or behind the scene.
    std::shared_ptr<gpu::DepthStencilState> decalFarFaceDepth;
    bool deviceResources = false; // the renderer's device objects exist
};

} // namespace mirefell
