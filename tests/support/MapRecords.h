// Small map records built in code, shared by the world tests and the
// benchmarks that generate their own maps.
#pragma once

#include <cstdint>

#include "world/MapData.h"

namespace mirefell::testing
{

// An axis-aligned rectangular sector, counter-clockwise, with matching
// render and collision polygons.
inline MapSector RectSector(int32_t id, float x0, float y0, float x1, float y1, bool door = false)
{
    MapSector sector;
    sector.id = id;
    sector.vertices = {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
    sector.indices = {0, 1, 2, 0, 2, 3};
    sector.collisionVertices = sector.vertices;
    sector.collisionIndices = sector.indices;
    sector.door = door;
    return sector;
}

// A wall like the maps': four render corners from the top of `start` round to
// the bottom of `start`, two triangles, the bottom-right corner at index 2.
inline MapSegment WallSegment(int32_t id, int32_t sectorId, Vector2 start, Vector2 end, float bottom, float top)
{
    MapSegment wall;
    wall.id = id;
    wall.start = start;
    wall.end = end;
    wall.bottomY = bottom;
    wall.topY = top;
    wall.sectorId = sectorId;
    wall.lightColor = 0xFFFFFF;
    wall.vertices = {{start.x, top, start.y}, {end.x, top, end.y}, {end.x, bottom, end.y}, {start.x, bottom, start.y}};
    wall.indices = {0, 1, 2, 2, 3, 0};
    wall.bottomRightIndex = 2;
    return wall;
}

// A map of one rectangular sector, linked to itself, its bounds computed.
inline MapData RoomMap(float x0, float y0, float x1, float y1)
{
    MapData map;
    map.sectors.push_back(RectSector(1, x0, y0, x1, y1));
    map.sectorLinks = {1, 1};
    map.ComputeBounds();
    return map;
}

// Two linked rooms side by side, sector 1 over (0,0)-(64,64) and sector 2
// over (64,0)-(128,64), the second floor `step` units higher; no doors.
inline MapData TwoRoomsMap(float step)
{
    MapData map;
    map.sectors.push_back(RectSector(1, 0, 0, 64, 64));
    map.sectors.push_back(RectSector(2, 64, 0, 128, 64));
    map.sectors[1].floorTopY = step;
    map.sectorLinks = {1, 2};
    map.ComputeBounds();
    return map;
}

} // namespace mirefell::testing
