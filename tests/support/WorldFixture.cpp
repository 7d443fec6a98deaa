// WorldFixture: building test worlds and the stand-in objects.
#include "support/WorldFixture.h"

#include "render/MeshPrimitives.h"
#include "world/ConcreteBuilder.h"
#include "world/MapEntityTypes.h"
#include "world/MapLoader.h"

namespace mirefell::testing
{

MapData LoadTestMap()
{
    MapEntityTypes::Initialize();
    return MapLoader::LoadFromFile(std::string(MIREFELL_SOURCE_DIR) + "/tests/data/maps/testmap.json");
}

WorldFixture::WorldFixture(const MapData& map) : world(std::make_unique<World>(&root, &debugRoot, &particleStore, map))
{}

void WorldFixture::AddStaticGeometry()
{
    for (MapSector& sector : world->map.sectors) {
        if (!sector.elevator)
            ConcreteBuilder::AddSectorConcrete(*world, sector, false);
        if (sector.ceiling && !sector.door)
            ConcreteBuilder::AddSectorConcrete(*world, sector, true);
    }
    for (MapSegment& segment : world->map.segments)
        if (segment.type != SegmentTypeTVScreen && segment.type != SegmentTypeSwitch)
            ConcreteBuilder::AddWallConcrete(*world, segment);
}

TestObject::TestObject(World* world_, uint32_t mask, std::string name_, void* source_)
    : GridObject(world_, std::move(name_), source_)
{
    typeMask = mask;
}

void TestObject::Update()
{
    ++updates;
    if (onUpdate)
        onUpdate(*this);
}

void TestObject::Place(const Vector3& at, const Vector3& half)
{
    position = at;
    halfExtents = half;
    UpdateBounds();
    SetCells(world->GetCellRange({{at.x - half.x, at.z - half.z}, {at.x + half.x, at.z + half.z}}));
}

TestDoor::TestDoor(World* world_, MapSector* sector_) : GridObject(world_, {}, sector_)
{
    typeMask = GridObjectType::Door;
    sector = sector_;
    sector_->doorObject = this;
    SetCells(world_->GetCellRange(sector_->collisionVertices));
}

TestMonster::TestMonster(World* world_, MapEntity* entity) : GridObject(world_, EntityLayerKey, entity)
{
    typeMask = GridObjectType::Monster;
    position = {entity->pos.x, entity->y, entity->pos.y};
    SetCells(world_->GetCellRange({entity->pos}));
}

TestMonster::TestMonster(World* world_, const Vector3& at, const Vector3& half)
    : GridObject(world_, EntityLayerKey, nullptr)
{
    typeMask = GridObjectType::Monster;
    halfExtents = half;
    collisionHalfExtents = half;
    position = at;
    UpdateBounds();
    SetCells(world_->GetCellRange({{at.x - half.x, at.z - half.z}, {at.x + half.x, at.z + half.z}}));
}

bool TestMonster::TakeDamage(float damage, GridObject* source, const Vector3&)
{
    if (dead)
        return false;
    damageTaken += damage;
    lastAttacker = source;
    health -= damage;
    if (health <= 0.0f)
        Kill();
    return true;
}

void TestMonster::SetPosition(const Vector3& at)
{
    Translate(at - position);
    position = at;
    UpdateBounds();
}

bool TestMonster::Kill()
{
    if (dead)
        return false;
    health = 0.0f;
    dead = true;
    return true;
}

void TestMonster::BuildBoxTriangles()
{
    vertices = BuildUnitCubeVertices();
    for (Vector3& vertex : vertices)
        vertex = vertex * halfExtents + position;
}

} // namespace mirefell::testing
