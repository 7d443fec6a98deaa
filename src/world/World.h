// World: one level in memory. It keeps its own copy of the level's MapData,
// owns every GridObject of the level, divides the map's 2D bounds into a
// uniform grid of 16-unit cells in which objects register, owns the sector
// graph, the AI region graph (with the level's script), the particle
// simulator, the blood decals and the collision service, and advances
// everything once per fixed step.
//
// Lifecycle: constructed (grid and sector graph ready) -> filled by the level
// build (objects straight into `objects`) -> Reset (services, every object's
// SetUp, the AI region graph, meshes into the scene) -> Update once per step
// -> destroyed at the next level load. The grid never changes size.
//
// Objects made during an update go to `pendingObjects` and join `objects`
// after the pass; objects flagged removed are destroyed after it. The update
// allocates nothing in steady state: the object lists, the cells and the
// query scratch lists keep their capacity.
//
// Queries are 2D in the map plane: a map point (x, y) is world (x, z);
// heights never choose cells. Visitors are called synchronously and never
// kept; an object seen in several cells is visited once, in ascending id.
// Nothing here needs a GPU: meshes are only moved between scene nodes. The
// renderer's blood decals see the grid through IDecalGrid, and its particles
// land through ILevelTrace; the World implements both.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <map>
#include <memory>
#include <span>
#include <unordered_map>
#include <vector>

#include "platform/math/Color.h"
#include "platform/math/Vector.h"
#include "render/IDecalGrid.h"
#include "render/ILevelTrace.h"
#include "world/CellRange.h"
#include "world/GridCell.h"
#include "world/LevelSettings.h"
#include "world/MapData.h"
#include "world/MapLimits.h"
#include "world/MapObjectFactories.h"
#include "world/ObjectVisitor.h"
#include "world/ProjectileType.h"
#include "world/SectorGraph.h"
#include "world/SegmentSource.h"
#include "world/TriangleSource.h"
#include "world/ViewLighting.h"

namespace mirefell
{

class AIRegionGraph;
class BloodDecals;
class Camera;
class EntityGridObject;
class GridObject;
class InstancedMeshBatches;
class Mesh;
class ParticleSimulator;
class ParticleSystem;
class WorldCollision;

class World : public IDecalGrid, public ILevelTrace
{
public:
    static constexpr float CellSize = 16.0f;
    // A map larger than this many cells is refused rather than allocated:
    // the grid of the largest map the loader accepts.
    static constexpr int64_t MaxCells =
        static_cast<int64_t>(MapLimits::MaxExtent / CellSize) * static_cast<int64_t>(MapLimits::MaxExtent / CellSize);
    static constexpr const char* BoundsTooLarge = MapLimits::BoundsTooLarge;
    static constexpr const char* EntityWithoutSector = "entity doesn't have starting sector";
    static constexpr const char* PickupWithoutMesh = "invalid map - pickup has no mesh";

    // Copies the map, builds the cell grid and the sector graph. root and
    // debugRoot are the scene nodes the level's meshes move under at Reset
    // (not owned); particleStore is the renderer's particle list that the
    // world's particles live in. Throws "sector not found" for a bad link and
    // "invalid map - bounds too large" for a grid beyond MaxCells.
    World(Mesh* root_, Mesh* debugRoot_, ParticleSystem* particleStore_, const MapData& mapData);
    ~World() override;
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    // The level build (WorldBuild.cpp). Create builds a whole level from its
    // map: the World (keeping the settings and the factories), the static
    // geometry, doors, elevators and teleport destinations of the sectors,
    // the walls, the pickups of the entities (leaving out the random pickups
    // the settings list as taken), the lights and the player, counts the
    // level's items and monsters, then Resets. The objects of the upper
    // layers come from the factories, which must be complete (else
    // std::invalid_argument, before anything is built). Any failure
    // propagates and destroys the partly built World.
    static std::unique_ptr<World> Create(Mesh* root_, Mesh* debugRoot_, ParticleSystem* particleStore_, Camera* camera,
                                         const MapData& mapData, const LevelSettings& settings_,
                                         const MapObjectFactories& factories_);
    static void SpawnMapObjects(World& world);
    // Each "teleportOutID" to the first sector of the map that has it.
    using TeleportReceivers = std::unordered_map<uint32_t, const MapSector*>;
    static TeleportReceivers FindTeleportReceivers(const MapData& map);
    // The centre of the first sector whose "teleportOutID" is id (looked up
    // in `receivers`), at its floor; nothing when no sector sends there.
    static void AddTeleportDestination(World& world, uint32_t id, const TeleportReceivers& receivers);
    static GridObject* CreatePlayer(World& world, Camera* camera);
    static GridObject* SpawnDoor(World& world, MapSector& sector);
    static GridObject* SpawnElevator(World& world, MapSector& sector);
    // The object of a layer-"3" record from the pickup or monster factory;
    // null when the slot is empty or the factory gives none. Throws a bare
    // std::exception for a kind other than pickup or monster.
    static std::unique_ptr<EntityGridObject> CreateEntityObject(World& world, MapEntity& entity, uint32_t powerupIndex);
    // A pickup or monster of a layer-"3" record, placed on the record's
    // point; null when its factory gives no object. A pickup gets its
    // instance in `batches` (a random one its loot first) and its debug box;
    // a monster its sprite frame instances, its debug box and its collision
    // cube. powerupIndex is the running count of random pickup records.
    // Throws "entity doesn't have starting sector" for an entity outside
    // every sector, "invalid map - pickup has no mesh" for a pickup without a
    // mesh (a random one whose loot table gives nothing), "invalid map<K, T>
    // key" for a mesh the MeshRegistry lacks and a bare std::exception for
    // an unknown kind.
    static GridObject* SpawnEntity(InstancedMeshBatches& batches, World& world, MapEntity& entity,
                                   uint32_t powerupIndex);

    // (Re)creates the blood decals, particles and collision service, sets
    // every object up in list order, builds the AI region graph (and the
    // level script, which starts at once), moves the region meshes, the map
    // objects' meshes and the entity batches under root and the pickups' and
    // monsters' debug boxes under debugRoot, then initialises the decals and
    // reserves the room play needs: objects joining, and more registrations
    // than the build made in every cell where play happens (the cells that
    // hold a piece of the level and their neighbours), so that the grid's
    // memory follows what the map holds, not the area its bounds span.
    void Reset();
    // One fixed step: particles, the level script, every object in list
    // order (the count taken before the pass), then pending objects join and
    // removed ones are destroyed.
    void Update();

    // A projectile made by the factory table's projectile slot (which must be
    // filled), not yet set up or placed; owner may be null.
    static std::unique_ptr<GridObject> MakeProjectile(World& world, GridObject* owner, ProjectileType type,
                                                      const Color& colour, const Color& lightColour,
                                                      const Vector3& origin, const Vector3& direction, float damage);
    // MakeProjectile, its SetUp at once, and the pending list: it joins the
    // objects after the current pass. Returns it (null when the factory made
    // nothing).
    GridObject* SpawnProjectile(GridObject* owner, ProjectileType type, const Color& colour, const Color& lightColour,
                                const Vector3& origin, const Vector3& direction, float damage);

    // Appends an object built while the level is built; returns it.
    GridObject* AddObject(std::unique_ptr<GridObject> object);
    // Queues an object made during an update pass; it joins after the pass.
    GridObject* AddPendingObject(std::unique_ptr<GridObject> object);

    // A burst of blood particles (kind 2); count -1 draws 3 to 6.
    void SpawnParticles(const Vector3& position, const Color& colour, int32_t count);
    // Puffs (kind 1) flying off a surface along its normal; nothing for a
    // count below 1.
    void SpawnParticlesWithVelocity(const Vector3& position, const Vector3& direction, const Color& colour,
                                    int32_t count);

    // The cells a 2D box of points covers, clamped to the grid; invalid when
    // the box misses the map (touching counts as overlap), when there are no
    // points, or when the grid is empty.
    CellRange GetCellRange(std::span<const Vector2> points) const;
    CellRange GetCellRange(std::initializer_list<Vector2> points) const
    {
        return GetCellRange(std::span<const Vector2>(points.begin(), points.size()));
    }
    // The cells of a range, row by row. An invalid range gives none.
    std::vector<GridCell*> CellsInRange(const CellRange& range);
    // Visits each object of the cells whose type mask meets `mask` once, in
    // ascending id. The set is fixed before the first call: a visitor may
    // move objects between cells, and may query again, but must not destroy
    // an object. Reads no World state, so any object may use it on its own
    // cell list.
    static void ForEachObjectInCells(std::span<GridCell* const> cells, uint32_t mask, ObjectVisitor visitor);
    // The same over the cells of a range, without building a cell list.
    void ForEachObjectInRange(const CellRange& range, uint32_t mask, ObjectVisitor visitor) const;
    void ForEachObjectInBlock(const CellBlock& block, uint32_t mask, ObjectVisitor visitor) const;
    // The first object of the cells (or the range) whose type mask meets
    // `mask` and that `accept` takes, trying them once each in ascending id
    // and stopping there; null when none is taken. The visit order of
    // ForEachObjectInCells, for a question with one answer; the test must
    // not move objects between cells.
    static GridObject* FindObjectInCells(std::span<GridCell* const> cells, uint32_t mask, ObjectTest accept);
    GridObject* FindObjectInRange(const CellRange& range, uint32_t mask, ObjectTest accept) const;
    // Every listed object (not the pending ones) whose mask meets `mask`, in
    // list order; the end of the list is taken before the first call.
    void ForEachObject(uint32_t mask, ObjectVisitor visitor);
    // The triangles of the range's objects of `mask` that the predicate
    // (when set) accepts.
    TriangleSource CollectObjectsInRange(const CellRange& range, uint32_t mask, ObjectPredicate predicate = {}) const;
    // The wall segments of the range's walls, doors and elevators.
    SegmentSource CollectSegmentsInRange(const CellRange& range, SegmentPredicate predicate = {}) const;

    // IDecalGrid: the cell under the point's (x, z), null off the grid; the
    // decal lists reserved in every cell where play happens (see Reset).
    DecalCell* FindDecalCell(const Vector3& point) override;
    void ReserveDecalCells(size_t perCell) override;
    // ILevelTrace: the particles' landing on static geometry (the collision
    // service's sweep); nothing is met before Reset.
    bool TraceLineOfSight(const Vector3& from, Vector3& to, Vector3& normal) override;

    // The grid cell at (column, row); both must lie inside the grid.
    GridCell& CellAt(int32_t column, int32_t row)
    {
        return cells[static_cast<size_t>(row)][static_cast<size_t>(column)];
    }
    const GridCell& CellAt(int32_t column, int32_t row) const
    {
        return cells[static_cast<size_t>(row)][static_cast<size_t>(column)];
    }

    SectorGraph sectorGraph;
    GridObject* player = nullptr;                 // one of `objects`: the gameplay's Player, made by its factory
    ParticleSystem* particleStore;                // the renderer's particle list (not owned)
    std::unique_ptr<AIRegionGraph> aiRegions;     // made by Reset; holds the level script
    std::unique_ptr<WorldCollision> collision;    // made by Reset
    std::unique_ptr<ParticleSimulator> particles; // made by Reset
    MapData map;                                  // the world's own copy; sectorsById points into it
    std::unique_ptr<Mesh> entityMeshRoot;         // the entity instance batches; moved under root by Reset
    std::map<uint32_t, Vector3> teleportDestinations;
    int32_t itemCount = 0;
    int32_t monsterCount = 0;
    uint32_t randomPickupCount = 0; // the map's random-pickup records, taken or not
    LevelSettings settings;
    MapObjectFactories factories;
    std::vector<std::unique_ptr<GridObject>> pendingObjects;
    std::vector<std::unique_ptr<GridObject>> objects; // the update order
    std::vector<std::vector<GridCell>> cells;         // cells[row][column]
    std::unique_ptr<BloodDecals> bloodDecals;         // made by Reset
    Mesh* root;
    Mesh* debugRoot;
    int32_t columns = 0;
    int32_t rows = 0;
    float cellSize = CellSize;
    ViewLighting viewLighting; // the first-person view's light, switched by level scripts

private:
    void BuildCellGrid();
    void BuildSectorGraph();
    void MoveMeshesIntoScene();
    // The cells that hold a registration and their neighbours, row by row.
    void ForEachCellOfPlay(FunctionRef<void(GridCell&)> visit);
};

} // namespace mirefell
