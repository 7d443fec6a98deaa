// GameplayFixture: a whole level built from a map by the level build, with
// no GPU, in a fresh working folder per test (saves land there), the entity
// meshes loaded, the game in progress on "Normal", and the singletons the
// player and the map objects touch reset before and after.
// Input is fed as the message loop would: key and mouse events go to Input's
// keyboard and mouse, and Step runs Input's snapshot, then one World update.
// What the gameplay tells the player is recorded by a notification service
// of the fixture's own, registered for the test.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "gameplay/Player.h"
#include "render/Camera.h"
#include "render/Mesh.h"
#include "render/ParticleSystem.h"
#include "shell/INotificationService.h"
#include "shell/KeybindAction.h"
#include "support/TempDir.h"
#include "world/MapData.h"
#include "world/World.h"

namespace mirefell
{
class Door;
class Elevator;
class Monster;
class Powerup;
} // namespace mirefell

namespace mirefell::testing
{

// Keeps every post, oldest first.
class RecordingNotifications final : public INotificationService
{
public:
    struct Posted
    {
        std::wstring text;
        int32_t ticks = 0;
    };

    void Notify(std::wstring text, int32_t ticks) override { posted.push_back({std::move(text), ticks}); }
    void NotifyPickup(const std::wstring& itemName, const std::string&) override { pickups.push_back(itemName); }

    std::vector<Posted> posted;
    std::vector<std::wstring> pickups; // item names
};

// The door or elevator built for the sector with this id, the monster or
// pickup built from the entity record with this id; null when the level has
// none.
Door* FindDoor(const World& world, int32_t sectorId);
Elevator* FindElevator(const World& world, int32_t sectorId);
Monster* FindMonster(const World& world, int32_t recordId);
Powerup* FindPickup(const World& world, int32_t recordId);

class TestMonster;

class GameplayTest : public ::testing::Test
{
public:
    // Input as the message loop feeds it (usable by any test that steps a
    // level through Input): holds or releases the key or mouse button bound
    // to the action by default, ...
    static void Hold(KeybindAction action, bool down);
    // ... and moves the mouse for the next step (in look mode).
    static void MoveMouse(int32_t dx, int32_t dy);

protected:
    void SetUp() override;
    void TearDown() override;

    // World::Create over the map with the gameplay's factories and the
    // current save's level settings; `player` points at its player.
    void BuildLevel(const MapData& map);
    // Holds or releases a key by its virtual-key code.
    static void HoldKey(int32_t virtualKey, bool down);
    // A wheel notch (+1 away, -1 towards) for the next step.
    static void TurnWheel(int32_t direction);
    // Input's snapshot and one World update; the wheel notch is cleared
    // after it.
    void Step(int count = 1);
    // The look-ups above in this test's level.
    Door* FindDoor(int32_t sectorId) const { return testing::FindDoor(*world, sectorId); }
    Elevator* FindElevator(int32_t sectorId) const { return testing::FindElevator(*world, sectorId); }
    Monster* FindMonster(int32_t recordId) const { return testing::FindMonster(*world, recordId); }
    Powerup* FindPickup(int32_t recordId) const { return testing::FindPickup(*world, recordId); }
    // A stand-in monster of that size added to the level at `at`.
    TestMonster* AddTestMonster(const Vector3& at, const Vector3& halfExtents = Vector3(4, 8, 4));

    TempDir dir;
    std::filesystem::path previousFolder;
    Mesh root{EffectIdNone, MeshVertexFormatColor};
    Mesh debugRoot{EffectIdNone, MeshVertexFormatColor};
    ParticleSystem particleStore;
    Camera camera;
    RecordingNotifications notifications;
    std::unique_ptr<World> world;
    Player* player = nullptr;
};

// A GameplayTest over the shared test map (LoadTestMap), which a test may
// change before it builds the level from it.
class TestMapTest : public GameplayTest
{
protected:
    void SetUp() override;

    MapData map;
};

} // namespace mirefell::testing
