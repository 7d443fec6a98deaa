// TriangleSource: where collision and hit code read object triangles from.
// The World makes one per query (World::CollectObjectsInRange) over the
// cells of a range, a type mask and an optional object predicate; each call
// hands every triangle of every matching object in those cells to the
// visitor, objects in ascending id and triangles in list order. The objects
// are looked up again on every call, so a source used later sees the objects
// that are in its cells then; the cells themselves are fixed when the source
// is made. A source may also wrap any callable, so collision code can be
// driven by hand-made triangles in tests.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/math/Vector.h"
#include "world/CellRange.h"
#include "world/FunctionRef.h"
#include "world/ObjectVisitor.h"

namespace mirefell
{

class GridObject;
class World;

// The owning object, the triangle's corners in stored order (world
// coordinates) and the index of its first corner in the object's vertices.
using TriangleVisitor = FunctionRef<void(GridObject*, const Vector3&, const Vector3&, const Vector3&, int32_t)>;

class TriangleSource
{
public:
    using Custom = std::function<void(TriangleVisitor)>;

    // Visits nothing.
    TriangleSource() = default;
    // Hands the visitor whatever the callable produces.
    TriangleSource(Custom custom_) : custom(std::move(custom_)) {}
    // The triangles of the objects in `cells` whose type mask meets `mask`
    // and that the predicate (when set) accepts.
    TriangleSource(const World* world_, CellBlock cells_, uint32_t mask_, ObjectPredicate predicate_)
        : world(world_), cells(cells_), mask(mask_), predicate(std::move(predicate_))
    {}

    void operator()(TriangleVisitor visitor) const;

private:
    Custom custom;
    const World* world = nullptr;
    CellBlock cells;
    uint32_t mask = 0;
    ObjectPredicate predicate;
};

} // namespace mirefell
