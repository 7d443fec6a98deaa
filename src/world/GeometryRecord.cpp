// Appending geometry records: how region meshes collect their sectors' pieces.
#include "world/GeometryRecord.h"

namespace mirefell
{

void GeometryRecord::Append(const GeometryRecord& other)
{
    const auto offset = static_cast<uint32_t>(positions.size());
    triangles.reserve(triangles.size() + other.triangles.size());
    for (GeometryTriangle triangle : other.triangles) {
        triangle.a += offset;
        triangle.b += offset;
        triangle.c += offset;
        triangles.push_back(triangle);
    }
    positions.insert(positions.end(), other.positions.begin(), other.positions.end());
}

} // namespace mirefell
