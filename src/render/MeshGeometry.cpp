// MeshGeometry: appending and index checks.
#include "render/MeshGeometry.h"

#include <string>

#include "platform/GameError.h"

namespace mirefell
{

void MeshGeometry::Append(const MeshGeometry& other)
{
    const auto offset = static_cast<uint32_t>(positions.size());
    triangles.reserve(triangles.size() + other.triangles.size());
    for (MeshTriangle triangle : other.triangles) {
        triangle.a += offset;
        triangle.b += offset;
        triangle.c += offset;
        triangles.push_back(triangle);
    }
    positions.insert(positions.end(), other.positions.begin(), other.positions.end());
}

void MeshGeometry::ValidateIndices() const
{
    const size_t count = positions.size();
    for (size_t i = 0; i < triangles.size(); ++i) {
        const MeshTriangle& t = triangles[i];
        for (uint32_t index : {t.a, t.b, t.c}) {
            if (index >= count)
                throw GameError("mesh triangle index out of range", "triangle " + std::to_string(i) +
                                                                        " names position " + std::to_string(index) +
                                                                        " of " + std::to_string(count));
        }
    }
}

} // namespace mirefell
