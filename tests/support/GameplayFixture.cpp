#include "support/GameplayFixture.h"

#include "gameplay/Door.h"
#include "gameplay/Elevator.h"
#include "gameplay/GameSaveManager.h"
#include "gameplay/MapObjectMakers.h"
#include "gameplay/Monster.h"
#include "gameplay/Player.h"
#include "gameplay/Powerup.h"
#include "render/MeshRegistry.h"
#include "render/PointLights.h"
#include "shell/Config.h"
#include "shell/GameStateManager.h"
#include "shell/Input.h"
#include "shell/InputFeed.h"
#include "shell/InventoryWindowFlag.h"
#include "shell/KeybindManager.h"
#include "shell/SoundManager.h"
#include "support/WorldFixture.h"

namespace mirefell::testing
{

namespace
{

void ResetSingletons()
{
    Config::GetInstance().Reset();
    GameStateManager::GetInstance().Reset();
    Input::GetInstance().Reset();
    KeybindManager::GetInstance().Reset(""); // memory only
    SoundManager::GetInstance().Reset();
    GameSaveManager::GetInstance().current = GameSave();
    PointLights::GetInstance().Clear();
    inventoryWindowOpen = false;
}

} // namespace

void GameplayTest::SetUp()
{
    previousFolder = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());
    ResetSingletons();
    // A level is played at some difficulty; monsters read it when they are made.
    GameSaveManager::GetInstance().current.difficulty = GameDifficulty::Normal;
    // Pickups and monsters are drawn through instances of the entity meshes
    // (read once per test program, as the game reads them once per run).
    MeshRegistry::GetInstance().LoadAll(std::string(MIREFELL_RUN_DIR) + "/assets/meshes/");
    SetNotificationService(&notifications);
    // The player's weapon view copies its models from the registry; the
    // files are read once per test program.
    MeshRegistry::GetInstance().LoadAll(std::string(MIREFELL_RUN_DIR) + "/assets/meshes/");
    Input& input = Input::GetInstance();
    input.Initialize(nullptr);
    input.SetMouseMode(Input::MouseModeRelative);
    input.Update(); // the mode switch drops one step of movement
}

void GameplayTest::TearDown()
{
    world.reset();
    SetNotificationService(nullptr);
    ResetSingletons();
    std::filesystem::current_path(previousFolder);
}

void GameplayTest::BuildLevel(const MapData& map)
{
    world = World::Create(&root, &debugRoot, &particleStore, &camera, map,
                          GameSaveManager::GetInstance().GetLevelSettings(), MakeMapObjectFactories());
    player = static_cast<Player*>(world->player);
}

void GameplayTest::Hold(KeybindAction action, bool down)
{
    FeedAction(action, down);
}

void GameplayTest::HoldKey(int32_t virtualKey, bool down)
{
    FeedKey(virtualKey, down);
}

void GameplayTest::TurnWheel(int32_t direction)
{
    Input::GetInstance().wheel = direction;
}

void GameplayTest::MoveMouse(int32_t dx, int32_t dy)
{
    FeedMouseMotion(dx, dy);
}

void GameplayTest::Step(int count)
{
    Input& input = Input::GetInstance();
    for (int i = 0; i < count; ++i) {
        input.Update();
        world->Update();
        input.wheel = 0; // seen by one step only, as Core clears it
    }
}

Door* FindDoor(const World& world, int32_t sectorId)
{
    for (const auto& object : world.objects)
        if (auto* door = dynamic_cast<Door*>(object.get()); door && door->sector->id == sectorId)
            return door;
    return nullptr;
}

Elevator* FindElevator(const World& world, int32_t sectorId)
{
    for (const auto& object : world.objects)
        if (auto* elevator = dynamic_cast<Elevator*>(object.get()); elevator && elevator->sector->id == sectorId)
            return elevator;
    return nullptr;
}

Monster* FindMonster(const World& world, int32_t recordId)
{
    for (const auto& object : world.objects)
        if (auto* monster = dynamic_cast<Monster*>(object.get()); monster && monster->record->id == recordId)
            return monster;
    return nullptr;
}

Powerup* FindPickup(const World& world, int32_t recordId)
{
    for (const auto& object : world.objects)
        if (auto* pickup = dynamic_cast<Powerup*>(object.get()); pickup && pickup->record->id == recordId)
            return pickup;
    return nullptr;
}

TestMonster* GameplayTest::AddTestMonster(const Vector3& at, const Vector3& halfExtents)
{
    return static_cast<TestMonster*>(world->AddObject(std::make_unique<TestMonster>(world.get(), at, halfExtents)));
}

void TestMapTest::SetUp()
{
    GameplayTest::SetUp();
    map = LoadTestMap();
}

} // namespace mirefell::testing
