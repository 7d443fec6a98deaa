// World: building a level from its map data. Objects go straight into the
// object list in the build order (per sector: floor, ceiling, door or
// elevator; then the segments' objects; the entities; the lights; the
// player last), which is the update order.
//
// Doors, elevators, pickups, monsters and the player are constructed by the
// factories the World was given (their classes live in the gameplay); the
// build places them and gives every entity its drawn instance in the
// level's InstancedMeshBatches. Switches and TV screens (segment types 5 and
// 4) come from the segment spawners of the same table. Monster records
// without a factory give no object (they are still counted for the level
// statistics).
#include <exception>
#include <memory>
#include <stdexcept>
#include <string>

#include "platform/GameError.h"
#include "render/Mesh.h"
#include "world/BoundsMesh.h"
#include "world/ConcreteBuilder.h"
#include "world/EntityGridObject.h"
#include "world/InstancedMeshBatches.h"
#include "world/Intersections.h"
#include "world/LightSource.h"
#include "world/LootEntry.h"
#include "world/MonsterSpawn.h"
#include "world/MovingSector.h"
#include "world/PowerupType.h"
#include "world/World.h"

namespace mirefell
{

namespace
{

// Pickups that count towards the level's item statistics.
bool CountsAsItem(uint32_t powerupType)
{
    const auto type = static_cast<PowerupType>(powerupType);
    return type == PowerupType::Health || type == PowerupType::AmmoPack || type == PowerupType::Armor;
}

// The type name of a random pickup record.
constexpr const char* RandomPowerupName = "powerup";

// The entity mesh (also its texture) of each fixed pickup kind; a random
// pickup's comes from its loot.
const char* PickupMeshName(uint32_t powerupType)
{
    switch (static_cast<PowerupType>(powerupType)) {
    case PowerupType::Health:
        return "medkit";
    case PowerupType::AmmoPack:
        return "ammo";
    case PowerupType::LevelExit:
        return "win_thing";
    case PowerupType::RedKey:
        return "redkey";
    case PowerupType::BlueKey:
        return "bluekey";
    case PowerupType::Armor:
        return "armor_shard";
    default:
        return "";
    }
}

// The pickup's drawn instance and debug box. A random pickup takes its mesh,
// texture and kind from the loot of its index and loot table; the kind is
// written into the World's copy of the record, which the pickup and the
// player read from then on.
void SetUpPickup(InstancedMeshBatches& batches, World& world, EntityGridObject& pickup, uint32_t powerupIndex)
{
    MapEntity& entity = *pickup.record;
    std::string meshName = PickupMeshName(entity.entityType.powerupType);
    std::string textureName = meshName;
    if (entity.entityType.name == RandomPowerupName) {
        LootEntry loot;
        if (world.factories.loot) {
            world.factories.loot(static_cast<int32_t>(world.settings.lootSeed), static_cast<int32_t>(powerupIndex),
                                 static_cast<uint32_t>(entity.lootTableId), loot);
        }
        meshName = loot.meshName;
        textureName = loot.textureName;
        entity.entityType.powerupType = loot.powerupType;
    }
    if (meshName.empty())
        throw GameError(World::PickupWithoutMesh,
                        "entity " + std::to_string(entity.id) + ", loot table " + std::to_string(entity.lootTableId));

    const auto [batch, index] = batches.AddInstance(meshName, textureName);
    MeshInstance& instance = batch->instances[static_cast<size_t>(index)];
    instance.position = pickup.position;
    instance.scale = pickup.meshScale;
    pickup.instanceBatch = batch;
    pickup.instanceIndex = static_cast<uint32_t>(index);

    pickup.boundsMesh = CreateBoundsMesh(pickup.position);
    pickup.sceneNode = pickup.boundsMesh.get();
}

GridObject* SpawnMovingSector(World& world, MapSector& sector, const MapObjectFactories::SectorObjectFactory& make,
                              bool elevator)
{
    const CellRange range = world.GetCellRange(sector.collisionVertices);
    std::unique_ptr<GridObject> object = make(world, sector);
    MovingSector::Apply(*object, MovingSector::Build(sector, elevator));
    object->SetCells(range);
    return world.AddObject(std::move(object));
}

} // namespace

std::unique_ptr<World> World::Create(Mesh* root_, Mesh* debugRoot_, ParticleSystem* particleStore_, Camera* camera,
                                     const MapData& mapData, const LevelSettings& settings_,
                                     const MapObjectFactories& factories_)
{
    if (!factories_.IsComplete())
        throw std::invalid_argument("a level build needs door, elevator, pickup and player factories");
    // The constructor indexes the copy's sectors by id (a later sector with
    // the same id wins).
    auto world = std::make_unique<World>(root_, debugRoot_, particleStore_, mapData);
    world->settings = settings_;
    world->factories = factories_;
    SpawnMapObjects(*world);
    CreatePlayer(*world, camera);
    world->Reset();
    return world;
}

void World::SpawnMapObjects(World& world)
{
    const TeleportReceivers receivers = FindTeleportReceivers(world.map);
    for (MapSector& sector : world.map.sectors) {
        if (!sector.elevator)
            ConcreteBuilder::AddSectorConcrete(world, sector, false);
        if (sector.ceiling && !sector.door)
            ConcreteBuilder::AddSectorConcrete(world, sector, true);
        if (sector.teleportInID != 0)
            AddTeleportDestination(world, static_cast<uint32_t>(sector.teleportInID), receivers);
        if (sector.door)
            SpawnDoor(world, sector);
        else if (sector.elevator)
            SpawnElevator(world, sector);
    }

    for (MapSegment& segment : world.map.segments) {
        if (segment.type == SegmentTypeTVScreen) {
            if (world.factories.tvScreen)
                world.factories.tvScreen(world, segment);
        } else if (segment.type == SegmentTypeSwitch) {
            if (world.factories.switchPanel)
                world.factories.switchPanel(world, segment);
        } else {
            ConcreteBuilder::AddWallConcrete(world, segment);
        }
    }

    InstancedMeshBatches batches;
    uint32_t powerupIndex = 0;
    int32_t monsters = 0;
    int32_t items = 0;
    for (MapEntity& entity : world.map.entities) {
        const MapEntityType& type = entity.entityType;
        if (type.kind == MapEntityKind::Powerup) {
            if (type.name == RandomPowerupName) {
                // Counted also when skipped, so a record keeps its index.
                ++powerupIndex;
                if (world.settings.takenPickupIds.contains(static_cast<uint32_t>(entity.id)))
                    continue;
            }
            if (CountsAsItem(type.powerupType))
                ++items;
        } else if (type.kind == MapEntityKind::Monster) {
            ++monsters;
        }
        SpawnEntity(batches, world, entity, powerupIndex);
    }
    world.randomPickupCount = powerupIndex;
    world.monsterCount = monsters;
    world.itemCount = items;
    world.entityMeshRoot = std::move(batches.root);

    for (MapLight& light : world.map.lights)
        LightSource::Create(world, light);
}

World::TeleportReceivers World::FindTeleportReceivers(const MapData& map)
{
    TeleportReceivers receivers;
    for (const MapSector& sector : map.sectors)
        receivers.try_emplace(static_cast<uint32_t>(sector.teleportOutID), &sector); // the first one wins
    return receivers;
}

void World::AddTeleportDestination(World& world, uint32_t id, const TeleportReceivers& receivers)
{
    const auto found = receivers.find(id);
    if (found == receivers.end())
        return;
    const MapSector& sector = *found->second;
    const Vector2 centre = BoundingRectOfPoints(sector.vertices).Centre();
    world.teleportDestinations[id] = Vector3(centre.x, sector.floorTopY, centre.y);
}

GridObject* World::CreatePlayer(World& world, Camera* camera)
{
    std::unique_ptr<GridObject> player = world.factories.player(world, camera);
    world.player = player.get();
    player->SetCells(world.GetCellRange({world.map.playerStartPosition}));
    world.AddObject(std::move(player));
    return world.player;
}

GridObject* World::SpawnDoor(World& world, MapSector& sector)
{
    GridObject* door = SpawnMovingSector(world, sector, world.factories.door, false);
    sector.doorOpen = 0;
    return door;
}

GridObject* World::SpawnElevator(World& world, MapSector& sector)
{
    return SpawnMovingSector(world, sector, world.factories.elevator, true);
}

std::unique_ptr<EntityGridObject> World::CreateEntityObject(World& world, MapEntity& entity, uint32_t powerupIndex)
{
    const MapEntityKind kind = entity.entityType.kind;
    if (kind != MapEntityKind::Powerup && kind != MapEntityKind::Monster)
        throw std::exception();
    const MapObjectFactories::EntityObjectFactory& make =
        kind == MapEntityKind::Powerup ? world.factories.powerup : world.factories.monster;
    if (!make)
        return nullptr;
    return make(world, entity, powerupIndex);
}

GridObject* World::SpawnEntity(InstancedMeshBatches& batches, World& world, MapEntity& entity, uint32_t powerupIndex)
{
    std::unique_ptr<EntityGridObject> object = CreateEntityObject(world, entity, powerupIndex);
    if (!object)
        return nullptr;

    object->position = object->meshOffset + Vector3(entity.pos.x, entity.y, entity.pos.y);
    object->isStatic = entity.isStatic;
    const Vector3& half = object->halfExtents;
    const Vector2 centre{entity.pos.x + object->meshOffset.x, entity.pos.y + object->meshOffset.z};
    const CellRange range =
        world.GetCellRange({{centre.x - half.x, centre.y - half.z}, {centre.x + half.x, centre.y + half.z}});
    if (object->typeMask == GridObjectType::Powerup)
        SetUpPickup(batches, world, *object, powerupIndex);
    else if (object->typeMask == GridObjectType::Monster)
        SetUpMonsterInstances(batches, *object);
    object->SetCells(range);
    object->startingSector = object->FindSector();
    if (!object->startingSector) {
        object->RemoveFromCells();
        throw GameError(EntityWithoutSector, "entity " + std::to_string(entity.id));
    }
    return world.AddObject(std::move(object));
}

} // namespace mirefell
