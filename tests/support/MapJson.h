// Map records as a map file writes them, for tests that write small maps as
// JSON documents.
#pragma once

#include <cstdint>

#include <nlohmann/json.hpp>

namespace mirefell::testing
{

// A plain sector record (id `id`) over the polygon `corners` (an array of
// {"x", "y"} points, drawn as the two triangles 0-1-2 and 0-2-3): floor at 0,
// ceiling at 64, light level 7, white light, no door, lift or teleport.
inline nlohmann::json PlainSectorRecord(int32_t id, const nlohmann::json& corners)
{
    return {{"id", id},
            {"vertices", corners},
            {"indices", {0, 1, 2, 0, 2, 3}},
            {"floorBottomY", -8},
            {"floorTopY", 0},
            {"ceilBottomY", 64},
            {"ceilTopY", 72},
            {"ceiling", true},
            {"door", false},
            {"doorMaxHeight", 0},
            {"elevator", false},
            {"elevatorMaxHeight", 0},
            {"floorTexId", "floor"},
            {"ceilTexId", "ceil"},
            {"sideTexId", ""},
            {"lightLevel", 7},
            {"lightColor", 0xFFFFFF},
            {"collisionVertices", corners},
            {"collisionIndices", {0, 1, 2, 0, 2, 3}},
            {"useVertexColors", false},
            {"ceilingCatColor", 0x808080},
            {"teleportInID", 0},
            {"teleportOutID", 0}};
}

} // namespace mirefell::testing
