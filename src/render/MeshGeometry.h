// MeshGeometry: the CPU-side shape of a mesh, shared by the renderer's Mesh
// nodes, the MeshRegistry's entity models and the world's level geometry
// builders: two flag bytes, a colour, corner positions and 52-byte triangle
// records. Every builder gives each triangle three positions of its own
// (triples 0 1 2, 3 4 5, ...), so a mesh's vertex count is its position
// count. Turning a geometry into GPU vertices is the job of MeshVertices.h.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/math/Vector.h"

namespace mirefell
{

struct MeshTriangle
{
    Vector4 colour{0.0f, 0.0f, 0.0f, 1.0f};
    // Indices of the three corners in the geometry's positions.
    uint32_t a = 0;
    uint32_t b = 0;
    uint32_t c = 0;
    Vector2 uvA;
    Vector2 uvB;
    Vector2 uvC;
};
static_assert(sizeof(MeshTriangle) == 52, "triangle records are 52 bytes");

struct MeshGeometry
{
    // Colour vertices take each triangle's own colour instead of `colour`.
    bool useTriangleColours = false;
    // Colour vertices get normals averaged over equal positions instead of
    // face normals.
    bool smoothNormals = false;
    Vector4 colour{0.0f, 0.0f, 0.0f, 1.0f};
    std::vector<Vector3> positions;
    std::vector<MeshTriangle> triangles;

    // Appends the other geometry's triangles, their indices moved past this
    // geometry's positions (counted before the call), then its positions.
    // This geometry's flags and colour stay as they are. The lists grow
    // geometrically, so many appends cost in proportion to what they add.
    void Append(const MeshGeometry& other);

    // Throws GameError("mesh triangle index out of range", <which>) when a
    // triangle names a position the geometry does not have. The vertex
    // builders check this before they read any position.
    void ValidateIndices() const;
};

} // namespace mirefell
