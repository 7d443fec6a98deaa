// DenseRoom: the generated level of the gameplay benchmarks, a square of
// 8-unit floor tiles at heights 0 to 3 (each a sector with a floor and a
// ceiling piece) with a 4-wall pillar on every fourth tile of every fourth
// row, optionally closed by four outer walls that face in. And the run
// folder's entity meshes, which a player's weapon view copies at set-up.
#pragma once

#include <filesystem>
#include <string>
#include <utility>

#include "render/MeshRegistry.h"
#include "support/MapRecords.h"
#include "world/MapData.h"

namespace mirefell::testing
{

inline constexpr float DenseTile = 8.0f;
inline constexpr float DenseCeiling = 96.0f;

inline bool IsPillar(int row, int column)
{
    return row % 4 == 2 && column % 4 == 2;
}

// side x side tiles, each linked to its east and north neighbours; the
// player starts on the first tile.
inline MapData DenseRoom(int side, bool enclosed = false)
{
    MapData map;
    map.name = "dense";
    map.playerStartPosition = {DenseTile * 0.5f, DenseTile * 0.5f};
    int32_t wallId = 1;
    const auto addWalls = [&](int32_t sectorId, Vector2 a, Vector2 b, Vector2 c, Vector2 d, float bottom) {
        for (const auto& [start, end] : {std::pair{a, b}, std::pair{b, c}, std::pair{c, d}, std::pair{d, a}})
            map.segments.push_back(WallSegment(wallId++, sectorId, start, end, bottom, DenseCeiling));
    };
    for (int row = 0; row < side; ++row) {
        for (int column = 0; column < side; ++column) {
            const int32_t id = row * side + column + 1;
            const float x0 = static_cast<float>(column) * DenseTile;
            const float y0 = static_cast<float>(row) * DenseTile;
            const float x1 = x0 + DenseTile;
            const float y1 = y0 + DenseTile;
            MapSector& sector = map.sectors.emplace_back(RectSector(id, x0, y0, x1, y1));
            sector.floorTopY = static_cast<float>((row * 7 + column * 3) % 4);
            sector.ceilBottomY = DenseCeiling;
            sector.ceiling = true;
            sector.lightLevel = 7;
            sector.lightColor = 0xFFFFFF;
            if (column + 1 < side)
                map.sectorLinks.insert(map.sectorLinks.end(), {id, id + 1});
            if (row + 1 < side)
                map.sectorLinks.insert(map.sectorLinks.end(), {id, id + side});
            // Counter-clockwise, so every face looks out of the pillar.
            if (IsPillar(row, column))
                addWalls(id, {x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}, sector.floorTopY);
        }
    }
    if (enclosed) {
        // Clockwise round the room, so every face looks into it.
        const float size = static_cast<float>(side) * DenseTile;
        addWalls(1, {0, 0}, {0, size}, {size, size}, {size, 0}, 0.0f);
    }
    map.ComputeBounds();
    return map;
}

// Loads the entity meshes of the run folder (the parent of the folder the
// running program sits in).
inline void LoadRunFolderMeshes()
{
    const std::filesystem::path runFolder = std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path();
    MeshRegistry::GetInstance().LoadAll((runFolder / "assets" / "meshes").string() + "/");
}

} // namespace mirefell::testing
