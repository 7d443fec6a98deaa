// World: construction, the cell grid, Reset and the per-step update.
// The spatial queries are in WorldQueries.cpp.
#include "world/World.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <string>

#include "platform/GameError.h"
#include "platform/Random.h"
#include "render/BloodDecals.h"
#include "render/Mesh.h"
#include "render/ParticleSimulator.h"
#include "render/ParticleSystem.h"
#include "world/AIRegionGraph.h"
#include "world/GridObject.h"
#include "world/WorldCollision.h"

namespace mirefell
{

namespace
{
// Capacity kept ahead at Reset so that objects spawned during play
// (projectiles) join without growing the lists.
constexpr size_t ObjectHeadroom = 256;
constexpr size_t PendingCapacity = 64;
// Room kept at Reset in every cell where play happens, beyond what the build
// registered there, for what moves in: a 16-unit cell meets at most nine
// monster boxes side by side (the narrowest is 11.2 units wide), the player
// and the shots around them.
constexpr size_t MoverRoomPerCell = 12;

Color ToLinear(const Color& colour)
{
    return {std::pow(colour.r, 2.2f), std::pow(colour.g, 2.2f), std::pow(colour.b, 2.2f), colour.a};
}
} // namespace

World::World(Mesh* root_, Mesh* debugRoot_, ParticleSystem* particleStore_, const MapData& mapData)
    : particleStore(particleStore_), map(mapData), root(root_), debugRoot(debugRoot_)
{
    // The copy's sector index still points into the caller's map.
    map.IndexSectors();
    BuildCellGrid();
    BuildSectorGraph();
}

World::~World() = default;

void World::BuildCellGrid()
{
    cellSize = CellSize;
    columns = 0;
    rows = 0;
    cells.clear();
    // An empty map has infinite (inverted) bounds and a zero-width one no
    // columns: both give an empty grid, which every query treats as missed.
    const double width = static_cast<double>(map.boundsMax.x) - map.boundsMin.x;
    const double height = static_cast<double>(map.boundsMax.y) - map.boundsMin.y;
    if (!std::isfinite(width) || !std::isfinite(height))
        return;
    const double columnCount = std::ceil(width * 0.0625);
    const double rowCount = std::ceil(height * 0.0625);
    if (columnCount < 1.0 || rowCount < 1.0)
        return;
    if (columnCount * rowCount > static_cast<double>(MaxCells))
        throw GameError(BoundsTooLarge, std::to_string(columnCount) + " x " + std::to_string(rowCount) + " cells");
    columns = static_cast<int32_t>(columnCount);
    rows = static_cast<int32_t>(rowCount);

    cells.resize(static_cast<size_t>(rows));
    for (int32_t row = 0; row < rows; ++row) {
        std::vector<GridCell>& line = cells[static_cast<size_t>(row)];
        line.resize(static_cast<size_t>(columns));
        for (int32_t column = 0; column < columns; ++column) {
            GridCell& cell = line[static_cast<size_t>(column)];
            cell.min = {static_cast<float>(column) * cellSize + map.boundsMin.x,
                        static_cast<float>(row) * cellSize + map.boundsMin.y};
            cell.max = {static_cast<float>(column + 1) * cellSize + map.boundsMin.x,
                        static_cast<float>(row + 1) * cellSize + map.boundsMin.y};
            cell.column = column;
            cell.row = row;
        }
    }
}

DecalCell* World::FindDecalCell(const Vector3& point)
{
    const float column = std::floor((point.x - map.boundsMin.x) / cellSize);
    const float row = std::floor((point.z - map.boundsMin.y) / cellSize);
    if (!(column >= 0.0f && column < static_cast<float>(columns) && row >= 0.0f && row < static_cast<float>(rows)))
        return nullptr;
    return &CellAt(static_cast<int32_t>(column), static_cast<int32_t>(row));
}

void World::ReserveDecalCells(size_t perCell)
{
    ForEachCellOfPlay([perCell](GridCell& cell) { cell.decals.reserve(perCell); });
}

void World::ForEachCellOfPlay(FunctionRef<void(GridCell&)> visit)
{
    // Everything that moves stands on a floor, whose piece is registered in
    // the cell under it, and no mover, shot or decal reaches further than
    // the next cell from there: the cells that hold a piece and their eight
    // neighbours. The rest of the grid (the bounds of a sparse map may span
    // far more) keeps no room of its own.
    std::vector<uint8_t> marked(static_cast<size_t>(columns) * static_cast<size_t>(rows), 0);
    const auto index = [this](int32_t column, int32_t row) {
        return static_cast<size_t>(row) * static_cast<size_t>(columns) + static_cast<size_t>(column);
    };
    for (int32_t row = 0; row < rows; ++row)
        for (int32_t column = 0; column < columns; ++column) {
            if (CellAt(column, row).objects.empty())
                continue;
            for (int32_t r = std::max(row - 1, 0); r <= std::min(row + 1, rows - 1); ++r)
                for (int32_t c = std::max(column - 1, 0); c <= std::min(column + 1, columns - 1); ++c)
                    marked[index(c, r)] = 1;
        }
    for (int32_t row = 0; row < rows; ++row)
        for (int32_t column = 0; column < columns; ++column)
            if (marked[index(column, row)])
                visit(CellAt(column, row));
}

bool World::TraceLineOfSight(const Vector3& from, Vector3& to, Vector3& normal)
{
    return collision && collision->TraceLineOfSight(from, to, normal);
}

void World::BuildSectorGraph()
{
    uint32_t counter = 0;
    sectorGraph = SectorGraph::Build(counter, map.sectors, map.sectorLinks);
}

GridObject* World::AddObject(std::unique_ptr<GridObject> object)
{
    objects.push_back(std::move(object));
    return objects.back().get();
}

GridObject* World::AddPendingObject(std::unique_ptr<GridObject> object)
{
    pendingObjects.push_back(std::move(object));
    return pendingObjects.back().get();
}

std::unique_ptr<GridObject> World::MakeProjectile(World& world, GridObject* owner, ProjectileType type,
                                                  const Color& colour, const Color& lightColour, const Vector3& origin,
                                                  const Vector3& direction, float damage)
{
    return world.factories.projectile(world, owner, type, colour, lightColour, origin, direction, damage);
}

GridObject* World::SpawnProjectile(GridObject* owner, ProjectileType type, const Color& colour,
                                   const Color& lightColour, const Vector3& origin, const Vector3& direction,
                                   float damage)
{
    std::unique_ptr<GridObject> projectile =
        MakeProjectile(*this, owner, type, colour, lightColour, origin, direction, damage);
    if (!projectile)
        return nullptr;
    projectile->SetUp();
    return AddPendingObject(std::move(projectile));
}

void World::Reset()
{
    assert(root && debugRoot && "a World is reset under its scene nodes");
    bloodDecals = std::make_unique<BloodDecals>(this, root);
    particles = std::make_unique<ParticleSimulator>(particleStore, bloodDecals.get(), this);
    collision = std::make_unique<WorldCollision>(this);

    for (const auto& object : objects)
        object->SetUp();

    aiRegions = std::make_unique<AIRegionGraph>(this);
    aiRegions->Build();

    MoveMeshesIntoScene();
    bloodDecals->Initialize();

    objects.reserve(objects.size() + ObjectHeadroom);
    pendingObjects.reserve(PendingCapacity);
    ForEachCellOfPlay([](GridCell& cell) { cell.objects.reserve(cell.objects.size() + MoverRoomPerCell); });
}

void World::MoveMeshesIntoScene()
{
    auto sectors = std::make_unique<Mesh>(EffectIdNone, MeshVertexFormatColor);
    for (SectorRegion& region : sectorGraph.Regions())
        if (region.meshOwner)
            sectors->AddChild(std::move(region.meshOwner));
    root->AddChild(std::move(sectors));

    auto mapObjects = std::make_unique<Mesh>(EffectIdNone, MeshVertexFormatColor);
    constexpr uint32_t drawnMapObjects =
        GridObjectType::Door | GridObjectType::Elevator | GridObjectType::Switch | GridObjectType::TVScreen;
    constexpr uint32_t debugBoxed = GridObjectType::Powerup | GridObjectType::Monster;
    ForEachObject(drawnMapObjects, [&](GridObject* object) {
        if (object->mesh)
            mapObjects->AddChild(std::move(object->mesh));
    });
    ForEachObject(debugBoxed, [&](GridObject* object) {
        if (object->boundsMesh)
            debugRoot->AddChild(std::move(object->boundsMesh));
    });
    root->AddChild(std::move(mapObjects));
    if (entityMeshRoot)
        root->AddChild(std::move(entityMeshRoot));
}

void World::Update()
{
    assert(particles && "Reset runs before the first update");
    particles->Update();

    if (aiRegions && aiRegions->script)
        aiRegions->script->Update();

    // Objects added during the pass wait in pendingObjects; one removed
    // earlier in the pass still has its turn.
    const size_t count = objects.size();
    for (size_t i = 0; i < count; ++i)
        objects[i]->Update();

    if (!pendingObjects.empty()) {
        for (auto& object : pendingObjects)
            objects.push_back(std::move(object));
        pendingObjects.clear();
    }

    std::erase_if(objects, [](const std::unique_ptr<GridObject>& object) { return object->removed; });

    // Every particle ended in this step (landed blood, or the body of a shot
    // that struck or was shot down during the pass, even one made in it)
    // leaves the store with the step, so a level that is not drawn for a
    // while (no device) does not pile up dead particles until the next frame.
    if (particleStore)
        particleStore->RemoveDead();
}

void World::SpawnParticles(const Vector3& position, const Color& colour, int32_t count)
{
    if (count == -1)
        count = static_cast<int32_t>(std::round(RandUnit() * 3.0f)) + 3;
    for (int32_t i = 0; i < count; ++i) {
        ParticleMotion& motion = particles->Spawn(ToLinear(colour), ParticleKindBlood, position);
        motion.particle->position = position;
    }
}

void World::SpawnParticlesWithVelocity(const Vector3& position, const Vector3& direction, const Color& colour,
                                       int32_t count)
{
    for (int32_t i = 0; i < count; ++i) {
        ParticleMotion& motion = particles->Spawn(ToLinear(colour), ParticleKindPuff, position);
        particles->SetVelocityFromNormal(motion, direction);
        motion.particle->position = position;
    }
}

} // namespace mirefell
