// MapObjectFactories: how the level build makes the objects whose classes
// live above the world: the door or elevator of a sector, the switch or TV
// screen of a wall segment, the pickup or monster of a layer-"3" entity
// record, and the player; how a random pickup learns what it is (the loot
// tables); and how anyone makes a projectile during play
// (World::MakeProjectile). The world keeps the build's order, the
// moving-sector geometry, the placement of entities and the level
// statistics; an object factory only constructs its object (and may leave it
// unplaced). A segment spawner builds, places and appends its object itself,
// through the World's public placement. The gameplay fills the table
// (MakeMapObjectFactories) and whoever builds a level hands it to
// World::Create, which keeps a copy.
//
// The door, elevator, pickup and player slots must be filled. An empty
// monster slot, or a factory that returns null, means the record gives no
// object (it still counts for the level statistics); an empty segment slot
// means the segment gives no object (and no wall); an empty loot slot leaves
// a random pickup without a kind or a picture. The projectile slot is needed
// only by levels where something shoots: calling World::MakeProjectile with
// it empty throws std::bad_function_call.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/math/Color.h"
#include "platform/math/Vector.h"
#include "world/ProjectileType.h"

namespace mirefell
{

class Camera;
class EntityGridObject;
class GridObject;
class World;
struct LootEntry;
struct MapEntity;
struct MapSector;
struct MapSegment;

struct MapObjectFactories
{
    // The object of a sector of the World's map ("door" or "elevator" set).
    using SectorObjectFactory = std::function<std::unique_ptr<GridObject>(World& world, MapSector& sector)>;
    // The object of an entity record of the World's map. powerupIndex is the
    // running count of random-pickup records so far (the loot of a random
    // pickup depends on it).
    using EntityObjectFactory =
        std::function<std::unique_ptr<EntityGridObject>(World& world, MapEntity& entity, uint32_t powerupIndex)>;
    // The player, looking through the camera (borrowed).
    using PlayerFactory = std::function<std::unique_ptr<GridObject>(World& world, Camera* camera)>;
    // A projectile of `type` fired by owner (may be null) from origin along
    // the unit direction, not yet set up or placed.
    using ProjectileFactory = std::function<std::unique_ptr<GridObject>(
        World& world, GridObject* owner, ProjectileType type, const Color& colour, const Color& lightColour,
        const Vector3& origin, const Vector3& direction, float damage)>;
    // The object of a wall segment of the World's map ("type" 5 switch, 4
    // TV screen), built, registered in its cells and appended to the
    // World's objects; returns it.
    using SegmentObjectSpawner = std::function<GridObject*(World& world, MapSegment& segment)>;
    // The loot of a random pickup: fills `out` for the game's loot seed, the
    // pickup's 1-based index among the map's random pickups and its loot
    // table (tier); leaves `out` as it was for a tier without loot.
    using LootPicker = std::function<void(int32_t seed, int32_t index, uint32_t tier, LootEntry& out)>;

    // Whether every slot the level build needs is filled.
    bool IsComplete() const { return door && elevator && powerup && player; }

    SectorObjectFactory door;
    SectorObjectFactory elevator;
    EntityObjectFactory powerup;
    EntityObjectFactory monster;
    PlayerFactory player;
    ProjectileFactory projectile;
    SegmentObjectSpawner switchPanel;
    SegmentObjectSpawner tvScreen;
    LootPicker loot;
};

} // namespace mirefell
