// WorldFixture: a World built without a GPU (scene nodes and the particle
// store are plain CPU objects), with helpers to add the static geometry of
// its map, and small stand-ins for the gameplay objects that later issues
// build (doors, monsters), so the world's services can be tested against
// the interfaces they drive.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "gameplay/IDoor.h"
#include "gameplay/IMonster.h"
#include "render/Mesh.h"
#include "render/ParticleSystem.h"
#include "world/GridObject.h"
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
    void Close() override { state = DoorStateClosing; }
    void SetCycling(bool) override {}

    uint32_t state = DoorStateClosed;
};

// A monster that counts the calls of the AI region graph.
class TestMonster : public GridObject, public IMonster
{
public:
    TestMonster(World* world_, MapEntity* entity);
    void Roar(bool force) override { force ? ++forcedRoars : ++roars; }
    void SetState(uint32_t state_) override { state = state_; }
    void Awaken() override { ++awakenings; }

    int roars = 0;
    int forcedRoars = 0;
    int awakenings = 0;
    uint32_t state = 0;
};

} // namespace mirefell::testing
