// WorldFixture: a World built without a GPU (scene nodes and the particle
// store are plain CPU objects), with helpers to add the static geometry of
// its map, and small stand-ins for the gameplay objects that later issues
// build (doors, monsters), so the world's services can be tested against
// the interfaces they drive.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "render/Mesh.h"
#include "render/ParticleSystem.h"
#include "world/GridObject.h"
#include "world/IDoor.h"
#include "world/IKillable.h"
#include "world/IMonster.h"
#include "world/MapData.h"
#include "world/World.h"

namespace mirefell::testing
{

// tests/data/maps/testmap.json, loaded (fills the entity type table).
MapData LoadTestMap();

struct WorldFixture
{
    explicit WorldFixture(const MapData& map);

    // Floors, ceilings and walls in the level build's order: each sector's
    // floor (unless elevator) and ceiling (when it has one and is no door),
    // then every plain wall segment.
    void AddStaticGeometry();

    Mesh root{EffectIdNone, MeshVertexFormatColor};
    Mesh debugRoot{EffectIdNone, MeshVertexFormatColor};
    ParticleSystem particleStore;
    std::unique_ptr<World> world;
};

// An object of any type mask that runs `onUpdate` in its update and counts
// its set-ups and updates.
class TestObject : public GridObject
{
public:
    TestObject(World* world_, uint32_t mask, std::string name_ = {}, void* source_ = nullptr);
    void SetUp() override { ++setUps; }
    void Update() override;
    // Registers the object in the cells of the box around its position.
    void Place(const Vector3& at, const Vector3& half);

    int setUps = 0;
    int updates = 0;
    std::function<void(TestObject&)> onUpdate;
};

// A door whose state the test sets; registers itself with its sector.
class TestDoor : public GridObject, public IDoor
{
public:
    TestDoor(World* world_, MapSector* sector_);
    uint32_t GetState() override { return state; }
    void SetUsable(bool) override {}
    void SetSpeed(float) override {}
    void Open() override { state = DoorStateOpening; }
    void ForceOpen() override { Open(); }
    void Close() override { state = DoorStateClosing; }
    void SetCycling(bool) override {}

    uint32_t state = DoorStateClosed;
};

// A monster that counts the calls of the AI region graph and keeps the
// damage it takes; it dies when its health runs out. Made from a map record
// (standing at the record's point) or, for movement tests, at any position
// with a box of the given half size.
class TestMonster : public GridObject, public IMonster, public IKillable
{
public:
    TestMonster(World* world_, MapEntity* entity);
    TestMonster(World* world_, const Vector3& at, const Vector3& half);
    void Roar(bool force) override { force ? ++forcedRoars : ++roars; }
    void SetState(uint32_t state_) override { state = state_; }
    void Awaken() override { ++awakenings; }
    float GetMaxHealth() override { return maxHealth; }
    float GetHealth() override { return health; }
    bool TakeDamage(float damage, GridObject* source, const Vector3& direction) override;
    void SetPosition(const Vector3& at) override;
    bool IsDead() override { return dead; }
    bool Kill() override;
    Color GetBloodColor() override { return {0.0f, 1.0f, 0.0f, 1.0f}; }
    Vector3 GetPosition() override { return position; }
    // The unit cube scaled to the box, as the player's collision sees it.
    void BuildBoxTriangles();

    int roars = 0;
    int forcedRoars = 0;
    int awakenings = 0;
    uint32_t state = 0;
    float maxHealth = 60.0f;
    float health = 60.0f;
    float damageTaken = 0.0f;
    GridObject* lastAttacker = nullptr;
    bool dead = false;
};

} // namespace mirefell::testing
