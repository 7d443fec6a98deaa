// Core: the level's life: loading a level when the loading state is
// announced (tear-down first, then the map, the World, play input, the
// playing state and the music, in one step), the restart after death, the
// level clock's pause in the in-game menu, and the World's part of the
// playing step. The frame and the device cycle are in Core.cpp.
#include <ctime>
#include <memory>

#include "app/Core.h"
#include "gameplay/GameSaveManager.h"
#include "gameplay/MapObjectMakers.h"
#include "gameplay/Player.h"
#include "gameplay/ProjectilePool.h"
#include "gameplay/WeaponView.h"
#include "platform/GameError.h"
#include "platform/Lookup.h"
#include "platform/Random.h"
#include "platform/VirtualKey.h"
#include "render/Camera.h"
#include "render/DebugLines.h"
#include "render/Mesh.h"
#include "render/MeshRegistry.h"
#include "render/ParticleSystem.h"
#include "render/PointLights.h"
#include "render/PostFXChain.h"
#include "shell/Config.h"
#include "shell/GameStateManager.h"
#include "shell/Input.h"
#include "shell/InventoryWindowFlag.h"
#include "shell/Profiler.h"
#include "shell/SoundManager.h"
#include "ui/UIManager.h"
#include "world/MapLoader.h"
#include "world/World.h"

namespace mirefell
{

namespace
{

// A failure of the level build with the map's file in front of its detail,
// so the player learns which file to look at.
GameError InMapFile(const std::string& levelId, const char* message, const std::string& detail)
{
    const std::string path = MapLoader::MapPath(levelId);
    return GameError(message, detail.empty() ? path : path + ": " + detail);
}

// Spare light records beyond the shots' (lights a level script or a pickup
// makes in play).
constexpr size_t SparePlayLights = 32;

// A scene root as new: a group node without children.
void EmptySceneRoot(Mesh& node)
{
    node.children.clear();
}

} // namespace

void Core::UpdateWorld()
{
    if (world)
        world->Update();
}

bool Core::CanRestartAfterDeath() const
{
    const GameSave& save = GameSaveManager::GetInstance().current;
    if (save.permadeath && save.permadead)
        return false; // the game is over for good
    auto* killable = world ? dynamic_cast<IKillable*>(world->player) : nullptr;
    return killable && killable->IsDead();
}

void Core::ReloadCurrentSave()
{
    GameSaveManager& saves = GameSaveManager::GetInstance();
    saves.LoadSlot(saves.current.slot);
}

void Core::SetLevelTimerPaused(bool paused)
{
    if (!world || !world->player)
        return;
    Stopwatch& clock = static_cast<Player*>(world->player)->levelClock;
    if (paused)
        clock.Pause();
    else
        clock.Resume();
}

void Core::StartLevel()
{
    if (world) {
        // The level with all its objects (the player's weapon view among
        // them), then the scene roots its meshes hang under.
        screenFlashes.world = nullptr;
        world.reset();
        EmptySceneRoot(root);
        EmptySceneRoot(debugRoot);
        Config::GetInstance().world = nullptr;
    }
    LoadLevel();
}

void Core::LoadLevel()
{
    SeedRand(static_cast<uint32_t>(std::time(nullptr)));
    inventoryWindowOpen = false;

    particles.Clear();
    PointLights::GetInstance().Clear();
    DebugLines::GetInstance().Lines().clear();
    CreateHud();
    Profiler::GetInstance().ClearStatistics();
    camera.UpdateView();
    camera.UpdateProjection();
    MeshRegistry::GetInstance().LoadAll();
    EmptySceneRoot(root);
    EmptySceneRoot(debugRoot);

    GameSaveManager& saves = GameSaveManager::GetInstance();
    const std::string levelId = saves.current.levelId;
    auto map = std::make_unique<MapData>(MapLoader::LoadLevel(levelId));
    try {
        world = World::Create(&root, &debugRoot, &particles, &camera, *map, saves.GetLevelSettings(),
                              MakeMapObjectFactories());
    } catch (const GameError& error) {
        throw InMapFile(levelId, error.what(), error.Detail());
    } catch (const MissingEntryError& error) {
        throw InMapFile(levelId, error.what(), error.Detail());
    } catch (const std::out_of_range& error) {
        throw InMapFile(levelId, error.what(), "a table the level build reads has no entry for something in it");
    }
    // Records for the lights made in play (every shot the pool holds carries
    // one), so that making them allocates nothing.
    PointLights::GetInstance().Reserve(ProjectilePool::Capacity + SparePlayLights);

    UpdateLevelBuffers();
    InitializeUi();
    SetPostEffectsWorld();
    Config::GetInstance().world = world.get();

    Input::GetInstance().SetMouseMode(Input::MouseModeRelative);
    GameStateManager::GetInstance().Request(GameState::Playing);
    frameCount = 0;
    statsStartTick = TickCountMs();
    SoundManager::GetInstance().PlayLevelMusic(levelId);
    map.reset();
}

// --- Seams of the level load -------------------------------------------------

void Core::CreateHud()
{
    // Also empties the messages: they never carry over into the next level.
    ui->CreateHud();
}

void Core::InitializeUi()
{
    ui->Initialize(world.get());
}

void Core::SetPostEffectsWorld()
{
    screenFlashes.world = world.get();
    postFX->flashSource = &screenFlashes;
}

// The player's weapon view, when a level with a player is loaded.
WeaponView* Core::PlayerWeaponView() const
{
    auto* player = world ? static_cast<Player*>(world->player) : nullptr;
    return player ? player->weaponView.get() : nullptr;
}

Mesh* Core::WeaponViewRoot() const
{
    const WeaponView* view = PlayerWeaponView();
    return view ? view->root.get() : nullptr;
}

void Core::ResizeWeaponView(float aspectRatio)
{
    if (WeaponView* view = PlayerWeaponView()) {
        view->camera.aspectRatio = aspectRatio;
        view->camera.UpdateProjection();
    }
}

void Core::DrawWeaponView()
{
    if (WeaponView* view = PlayerWeaponView())
        view->root->Draw(view->camera, {}, false, false);
}

Color Core::LevelAmbient() const
{
    const WeaponView* view = PlayerWeaponView();
    if (!view)
        return ambient;
    return {view->ambient.x, view->ambient.y, view->ambient.z, view->ambient.w};
}

} // namespace mirefell
