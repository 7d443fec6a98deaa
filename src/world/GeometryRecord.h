// GeometryRecord: the world's CPU-side description of drawable geometry, laid
// out field for field like the renderer's mesh geometry (two flag bytes, a
// colour, positions, and 52-byte triangle records), so the level builders can
// produce pictures without the renderer being present and the renderer can
// take the record over unchanged. The world fills these for sector regions and
// moving sectors; the renderer owns everything that turns them into vertices.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/math/Vector.h"

namespace mirefell
{

struct GeometryTriangle
{
    Vector4 colour;
    uint32_t a = 0;
    uint32_t b = 0;
    uint32_t c = 0;
    Vector2 uvA;
    Vector2 uvB;
    Vector2 uvC;
};
static_assert(sizeof(GeometryTriangle) == 52, "triangle records are 52 bytes, as the renderer reads them");

struct GeometryRecord
{
    // Set: every triangle is drawn in its own colour; clear: `colour` is used for all.
    bool useTriangleColours = false;
    bool smoothNormals = false;
    Vector4 colour{0.0f, 0.0f, 0.0f, 1.0f};
    std::vector<Vector3> positions;
    std::vector<GeometryTriangle> triangles;

    // Appends the other record's triangles, their indices moved past this
    // record's positions, then its positions. Flags and colour stay ours.
    void Append(const GeometryRecord& other);
};

} // namespace mirefell
