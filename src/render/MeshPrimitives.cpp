// MeshPrimitives: cube and geosphere.
#include "render/MeshPrimitives.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <utility>

namespace mirefell
{

namespace
{

// Subdivides every triangle of an indexed list into four, the new corners at
// the midpoints of its edges (one new vertex per edge, shared by both of the
// edge's triangles). Corner order of the four children keeps the parent's
// winding (v01 is the midpoint of v0 and v1, and so on):
//   a = (v0, v01, v20), b = (v20, v12, v2), c = (v20, v01, v12),
//   d = (v01, v1, v12).
void Subdivide(std::vector<Vector3>& vertices, std::vector<uint16_t>& indices)
{
    std::map<std::pair<uint16_t, uint16_t>, uint16_t> midpoints;
    const auto midpoint = [&](uint16_t i0, uint16_t i1) {
        const auto edge = std::minmax(i0, i1);
        const auto found = midpoints.find(edge);
        if (found != midpoints.end())
            return found->second;
        const auto index = static_cast<uint16_t>(vertices.size());
        vertices.push_back((vertices[i0] + vertices[i1]) * 0.5f);
        midpoints.emplace(edge, index);
        return index;
    };
    std::vector<uint16_t> result;
    result.reserve(indices.size() * 4);
    for (size_t t = 0; t < indices.size(); t += 3) {
        const uint16_t v0 = indices[t], v1 = indices[t + 1], v2 = indices[t + 2];
        const uint16_t v01 = midpoint(v0, v1);
        const uint16_t v12 = midpoint(v1, v2);
        const uint16_t v20 = midpoint(v0, v2);
        for (uint16_t i : {v0, v01, v20, v20, v12, v2, v20, v01, v12, v01, v1, v12})
            result.push_back(i);
    }
    indices = std::move(result);
}

} // namespace

std::vector<Vector3> BuildUnitCubeVertices()
{
    return {
        {1, 1, -1},   {1, 1, 1},   {1, -1, -1},  {1, 1, 1},   {1, -1, 1},   {1, -1, -1},  // +X
        {-1, 1, 1},   {-1, 1, -1}, {-1, -1, 1},  {-1, 1, -1}, {-1, -1, -1}, {-1, -1, 1},  // -X
        {-1, 1, 1},   {1, 1, 1},   {-1, 1, -1},  {1, 1, 1},   {1, 1, -1},   {-1, 1, -1},  // +Y
        {-1, -1, -1}, {1, -1, -1}, {-1, -1, 1},  {1, -1, -1}, {1, -1, 1},   {-1, -1, 1},  // -Y
        {1, 1, 1},    {-1, 1, 1},  {1, -1, 1},   {-1, 1, 1},  {-1, -1, 1},  {1, -1, 1},   // +Z
        {-1, 1, -1},  {1, 1, -1},  {-1, -1, -1}, {1, 1, -1},  {1, -1, -1},  {-1, -1, -1}, // -Z
    };
}

void BuildCubeMesh(MeshGeometry& geometry)
{
    geometry = MeshGeometry{};
    geometry.positions = BuildUnitCubeVertices();
    geometry.useTriangleColours = true;
    const auto count = static_cast<uint32_t>(geometry.positions.size());
    geometry.triangles.reserve(count / 3);
    for (uint32_t k = 0; k < count; k += 6) {
        geometry.triangles.push_back({{0, 0, 0, 1}, k, k + 1, k + 2, {0, 0}, {1, 0}, {0, 1}});
        geometry.triangles.push_back({{0, 0, 0, 1}, k + 3, k + 4, k + 5, {1, 0}, {1, 1}, {0, 1}});
    }
}

std::vector<Vector3> BuildUnitSphereVertices()
{
    // The octahedron, wound clockwise seen from outside; the walk from the
    // last index back to the first below turns every triangle outwards.
    std::vector<Vector3> vertices = {{0, 1, 0}, {0, 0, -1}, {1, 0, 0}, {0, 0, 1}, {-1, 0, 0}, {0, -1, 0}};
    std::vector<uint16_t> indices = {0, 1, 2, 0, 2, 3, 0, 3, 4, 0, 4, 1, 5, 1, 4, 5, 4, 3, 5, 3, 2, 5, 2, 1};
    constexpr int Subdivisions = 2;
    for (int i = 0; i < Subdivisions; ++i)
        Subdivide(vertices, indices);
    for (Vector3& v : vertices)
        v = v.Normalized();

    std::vector<Vector3> positions;
    positions.reserve(indices.size());
    for (auto it = indices.rbegin(); it != indices.rend(); ++it)
        positions.push_back(vertices[*it]);
    return positions;
}

} // namespace mirefell
