// MeshGeometry: appending and index checks.
#include "render/MeshGeometry.h"

#include <algorithm>
#include <string>

#include "platform/GameError.h"

namespace mirefell
{

namespace
{
// Room for `more` elements, growing at least by half the capacity: appending
// piece after piece to one geometry (a region's floors and walls) then
// copies each element a bounded number of times, where an exact reserve
// would copy the whole list at every append.
template <class T> void MakeRoom(std::vector<T>& list, size_t more)
{
    const size_t needed = list.size() + more;
    if (needed > list.capacity())
        list.reserve(std::max(needed, list.capacity() + list.capacity() / 2));
}
} // namespace

void MeshGeometry::Append(const MeshGeometry& other)
{
    const auto offset = static_cast<uint32_t>(positions.size());
    MakeRoom(triangles, other.triangles.size());
    MakeRoom(positions, other.positions.size());
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
