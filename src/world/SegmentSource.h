// SegmentSource: where monster movement reads wall segments from. The World
// makes one per query (World::CollectSegmentsInRange) over the cells of a
// range: each call visits the walls, doors and elevators registered there in
// ascending id and hands over a wall piece's own map segment and each of a
// door's or elevator's moving segment copies at their current heights, when
// the predicate (if any) accepts them. Floors and ceilings give none. As with
// TriangleSource, the cells are fixed when the source is made and the
// objects are looked up on every call; any callable may stand in for tests.
#pragma once

#include <cstdint>
#include <functional>

#include "world/CellRange.h"
#include "world/FunctionRef.h"

namespace mirefell
{

struct MapSegment;
class World;

using SegmentVisitor = FunctionRef<void(const MapSegment&)>;
// True takes the segment.
using SegmentPredicate = std::function<bool(const MapSegment&)>;

class SegmentSource
{
public:
    using Custom = std::function<void(SegmentVisitor)>;

    // Visits nothing.
    SegmentSource() = default;
    SegmentSource(Custom custom_) : custom(std::move(custom_)) {}
    SegmentSource(const World* world_, CellBlock cells_, SegmentPredicate predicate_)
        : world(world_), cells(cells_), predicate(std::move(predicate_))
    {}

    void operator()(SegmentVisitor visitor) const;

private:
    Custom custom;
    const World* world = nullptr;
    CellBlock cells;
    SegmentPredicate predicate;
};

} // namespace mirefell
