// Small map records built in code, shared by the world tests and the
// benchmarks that generate their own maps.
#pragma once

#include <cstdint>
#include <utility>

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

inline constexpr float GridRoomSize = 64.0f;
inline constexpr float GridRoomHeight = 96.0f;

// side x side rooms of GridRoomSize, each linked to its east and north
// neighbours (one room alone to itself), with a ceiling at GridRoomHeight,
// full light and four walls one unit inside its edges; with doors, every
// fourth column of rooms is a door sector. The player starts in the first
// room's middle.
inline MapData RoomGridMap(int side, bool doors = false)
{
    MapData map;
    int32_t wallId = 1;
    for (int row = 0; row < side; ++row) {
        for (int column = 0; column < side; ++column) {
            const int32_t id = row * side + column + 1;
            const float x0 = static_cast<float>(column) * GridRoomSize;
            const float y0 = static_cast<float>(row) * GridRoomSize;
            const float x1 = x0 + GridRoomSize;
            const float y1 = y0 + GridRoomSize;
            MapSector& sector = map.sectors.emplace_back(RectSector(id, x0, y0, x1, y1, doors && column % 4 == 3));
            sector.ceilBottomY = GridRoomHeight;
            sector.ceiling = true;
            sector.lightLevel = 7;
            sector.lightColor = 0xFFFFFF;
            if (column + 1 < side)
                map.sectorLinks.insert(map.sectorLinks.end(), {id, id + 1});
            if (row + 1 < side)
                map.sectorLinks.insert(map.sectorLinks.end(), {id, id + side});
            if (side == 1)
                map.sectorLinks.insert(map.sectorLinks.end(), {id, id});
            const Vector2 a{x0 + 1, y0 + 1}, b{x0 + 1, y1 - 1}, c{x1 - 1, y1 - 1}, d{x1 - 1, y0 + 1};
            for (const auto& [start, end] : {std::pair{a, b}, std::pair{b, c}, std::pair{c, d}, std::pair{d, a}})
                map.segments.push_back(WallSegment(wallId++, id, start, end, 0.0f, GridRoomHeight));
        }
    }
    map.playerStartPosition = {GridRoomSize / 2, GridRoomSize / 2};
    map.ComputeBounds();
    return map;
}

} // namespace mirefell::testing
