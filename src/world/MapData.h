// MapData and its records: one level's map as the map loader reads it from
// "assets/maps/<name>.json". A map point (x, y) is the world point (x, z);
// heights are world y. MapData is a plain value: the World keeps its own copy
// for the life of the level and builds every level object from it. The loader
// guarantees that every index list holds whole triangles whose indices lie
// inside the list they index, so builders may index without checks.
#pragma once

#include <cstdint>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "platform/math/Vector.h"
#include "world/MapEntityTypes.h"

namespace mirefell
{

class IDoor;

// The layer keys of "layerObjects"; they also name the objects built from
// each layer, which the world's queries recognise by name.
inline constexpr const char* SegmentLayerKey = "0";
inline constexpr const char* SectorLayerKey = "2";
inline constexpr const char* EntityLayerKey = "3";
inline constexpr const char* AreaLayerKey = "4";
inline constexpr const char* LightLayerKey = "5";

// Segment "type" values with a meaning of their own; any other is a plain wall.
inline constexpr int32_t SegmentTypeTVScreen = 4;
inline constexpr int32_t SegmentTypeSwitch = 5;

// Layer "0": a wall segment, TV screen or switch. Doors and elevators also
// own edge copies of this record whose heights move with them.
struct MapSegment
{
    int32_t id = 0;
    Vector2 start;
    Vector2 end;
    int32_t type = 0;
    float bottomY = 0.0f;
    float topY = 0.0f;
    int32_t sectorId = 0;
    std::string texId;
    std::vector<uint16_t> indices; // triangles into vertices
    std::vector<Vector3> vertices; // render vertices, world coordinates
    int32_t bottomRightIndex = 0;  // the bottom-right corner; only compared with indices, may name none
    uint32_t lightColor = 0;       // packed 0xAARRGGBB
};

// A door sector's "key": the key the player needs to open it.
inline constexpr uint8_t SectorKeyNone = 0;
inline constexpr uint8_t SectorKeyRed = 1;
inline constexpr uint8_t SectorKeyBlue = 2;

// Layer "2": a sector (floor and ceiling polygon), possibly a door, elevator
// or teleporter.
struct MapSector
{
    int32_t id = 0;
    std::vector<Vector2> vertices; // render polygon
    std::vector<uint16_t> indices; // triangles into vertices
    float floorBottomY = 0.0f;
    float floorTopY = 0.0f;
    float ceilBottomY = 0.0f;
    float ceilTopY = 0.0f;
    bool ceiling = false;
    bool door = false;
    float doorMaxHeight = 0.0f;
    bool elevator = false;
    float elevatorMaxHeight = 0.0f;
    std::string floorTexId;
    std::string ceilTexId;
    std::string sideTexId;
    int32_t lightLevel = 0;
    uint32_t lightColor = 0;
    std::vector<Vector2> collisionVertices; // collision and cell-registration polygon
    std::vector<uint16_t> collisionIndices; // triangles into collisionVertices
    bool useVertexColors = false;
    uint32_t ceilingCatColor = 0;
    int32_t teleportInID = 0;
    int32_t teleportOutID = 0;
    uint8_t key = SectorKeyNone; // the key a door needs

    // Run-time state, not read from the file.
    uint8_t doorOpen = 0;        // set by the sector's Door while it is open
    IDoor* doorObject = nullptr; // the sector's Door, once built
};

// Layer "3": a pickup or a monster.
struct MapEntity
{
    int32_t id = 0;
    Vector2 pos;
    MapEntityType entityType; // copy of the type table's entry for the record's code
    float y = 0.0f;
    bool isStatic = false;
    float rotation = 0.0f; // degrees
    int32_t lootTableId = 0;
};

// Layer "4": a named rectangle between two corners, used by level scripts.
struct MapArea
{
    std::string name;
    int32_t id = 0;
    Vector2 start;
    Vector2 end;
};

// Layer "5": a point light "yOffset" above its sector's floor.
struct MapLight
{
    int32_t id = 0;
    float yOffset = 0.0f;
    Vector2 pos;
    uint32_t lightColor = 0;
};

struct MapData
{
    std::string name;
    Vector2 playerStartPosition;
    std::vector<int32_t> sectorLinks; // flat pairs of sector ids
    bool hasScript = false;
    Vector2 boundsMin{std::numeric_limits<float>::infinity(), std::numeric_limits<float>::infinity()};
    Vector2 boundsMax{-std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity()};
    std::vector<MapSegment> segments;
    std::vector<MapSector> sectors;
    std::vector<MapEntity> entities;
    std::vector<MapArea> areas;
    std::vector<MapLight> lights;
    // Sector id to the sector inside this very MapData. Empty after loading:
    // the owner fills it with IndexSectors once its copy no longer moves, and
    // must refill it after copying (a copy's pointers lead into the original).
    std::map<int32_t, MapSector*> sectorsById;

    // Bounds of every segment end and every sector render vertex; entities,
    // areas, lights and collision polygons do not count.
    void ComputeBounds();
    // Fills sectorsById from sectors; a later sector with the same id wins.
    void IndexSectors();
};

} // namespace mirefell
