// GridObject: the base of every object that lives in a World: static
// geometry, doors, elevators, switches, screens, lights, pickups, monsters,
// projectiles and the player. It gives each object a unique id, a name, its
// place (position, half extents, 3D box and 2D footprint), the grid cells it
// is registered in, optional collision geometry (a triangle list and moving
// wall-segment copies), links to its drawables and the removal flag.
//
// The base registers objects in the cell grid, finds the sector under an
// object, snaps it to the floor and moves its geometry; subclasses override
// the first five virtual operations (and a few override UpdateBounds or
// Remove). Calls between the base's own operations go through the virtual
// slots.
//
// Ownership: the World owns every GridObject. An object owns its name, mesh,
// bounds mesh, cell list (not the cells), vertices and segments; world,
// source, sector, instanceMesh, instanceBatch and sceneNode are borrowed.
// Objects leave by Remove (out of every cell at once, flag set); the World
// destroys them after the update pass.
#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "platform/math/Bounds.h"
#include "platform/math/Vector.h"
#include "world/CellRange.h"
#include "world/MapData.h"

namespace mirefell
{

class Mesh;
class World;
struct GridCell;

// Type-mask bits, one per class; queries take the objects whose mask shares
// a bit with theirs. The base sets none, each subclass its own.
namespace GridObjectType
{
inline constexpr uint32_t None = 0;
inline constexpr uint32_t Concrete = 1;
inline constexpr uint32_t Door = 2;
inline constexpr uint32_t Elevator = 4;
inline constexpr uint32_t Powerup = 8;
inline constexpr uint32_t Monster = 16;
inline constexpr uint32_t Player = 32;
inline constexpr uint32_t Projectile = 64;
inline constexpr uint32_t Switch = 128;
inline constexpr uint32_t TVScreen = 256;
inline constexpr uint32_t LightSource = 512;
} // namespace GridObjectType

class GridObject
{
public:
    // The running id counter: each new object takes the next value, so the
    // first is 1. Never reset: ids keep growing across levels.
    static inline uint32_t nextId = 0;
    // Room every cell list has from the start, so that moving between cells
    // does not allocate.
    static constexpr size_t ReservedCells = 4;

    // source: the map record the object was built from (a MapSector,
    // MapSegment, MapEntity or MapLight in the World's map), a projectile's
    // owner, or null.
    GridObject(World* world_, std::string name_, void* source_);
    // The same, adopting `cellList` (emptied) as the cell list instead of
    // reserving a new one: objects made and destroyed in play hand theirs on.
    GridObject(World* world_, std::string name_, void* source_, std::vector<GridCell*> cellList);
    // Does not leave the cells: Remove (or RemoveFromCells) does that first.
    virtual ~GridObject();
    GridObject(const GridObject&) = delete;
    GridObject& operator=(const GridObject&) = delete;

    // Once for every object when the level starts (World::Reset).
    virtual void SetUp() {}
    // Once per update step while the object is in the World's list.
    virtual void Update() {}
    // The base takes no damage and reports true.
    virtual bool TakeDamage(float damage, GridObject* source, const Vector3& direction);
    // The object's own move (movement code, moving platforms); the base
    // ignores it.
    virtual void SetPosition(const Vector3& newPosition);

    // Re-registers the object in the range's cells: an invalid range takes
    // it out of every cell; the same cells as now change nothing.
    virtual void SetCells(const CellRange& range);
    // The sector under the object's position among the floors, ceilings and
    // elevators registered in its own cells; null when there is none or the
    // object is in no cell.
    virtual MapSector* FindSector();
    // box = position -/+ halfExtents; then the footprint, the scene node and
    // the drawn instance's bounds follow it.
    virtual void UpdateBounds();
    virtual void Translate(const Vector3& offset);
    // Moves every owned segment's bottom and top by dy.
    virtual void RaiseSegments(float dy);
    // Stands the object on the floor of FindSector's sector (without
    // UpdateBounds); leaves it where it is when there is none. Returns the
    // sector.
    virtual MapSector* SnapToFloor();
    // Enters the object into every cell of the range (no duplicate test).
    virtual void AddToCells(const CellRange& range);
    // Takes every entry of this object out of its cells.
    virtual void RemoveFromCells();
    // RemoveFromCells, then the removal flag.
    virtual void Remove();

    uint32_t id;
    bool registered = false;
    // The query box and cell indices (first column, first row, last column,
    // last row) of the range the object was last registered with.
    Vector2 rangeMin{std::numeric_limits<float>::infinity(), std::numeric_limits<float>::infinity()};
    Vector2 rangeMax{-std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity()};
    std::array<float, 4> cellRect{};
    uint32_t typeMask = GridObjectType::None; // set by the constructor; fixed while registered
    World* world;
    std::string name; // map objects: their layer key ("0" wall, "2" floor or ceiling, "3" entity, "5" light)
    Vector3 halfExtents;
    void* source;
    MapSector* sector = nullptr;      // a door's, elevator's or floor/ceiling piece's own sector
    Vector3 position;                 // centre of the box
    std::unique_ptr<Mesh> mesh;       // own drawable, moved into the scene when the level starts
    std::unique_ptr<Mesh> boundsMesh; // debug box, moved under "debugRoot" when the level starts
    std::vector<GridCell*> cells;
    Box3 box;                         // 3D bounds; empty until set
    MapRect footprint;                // 2D bounds in the map plane (world x, z)
    std::vector<Vector3> vertices;    // collision triangles, world coordinates, three per triangle
    std::vector<MapSegment> segments; // moving wall copies (doors, elevators)
    Vector3 collisionHalfExtents;     // the movers' radii and query-box half size
    Mesh* instanceMesh = nullptr;     // a mesh that draws only this object; its bounds are `box`
    Mesh* instanceBatch = nullptr;    // an instanced mesh and this object's instance in it
    uint32_t instanceIndex = 0;
    Mesh* sceneNode = nullptr; // a node that follows the box (the debug box)
    bool removed = false;

    // `box` as the six floats (min x, y, z, max x, y, z) that mesh bounds
    // pointers read.
    const float* BoxFloats() const { return &box.min.x; }
};

static_assert(sizeof(Box3) == 6 * sizeof(float), "mesh bounds read a box as six floats");

} // namespace mirefell
