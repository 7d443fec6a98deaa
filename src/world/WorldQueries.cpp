// World: the spatial queries over the cell grid, and the triangle and
// segment sources built on them.
#include <algorithm>
#include <cmath>
#include <deque>

#include "world/GridObject.h"
#include "world/World.h"

namespace mirefell
{

namespace
{

// The objects a visit collects before sorting them by id. One list per
// nesting depth, so that a visitor may run another query; the lists keep
// their capacity, so visits stop allocating once warm. A deque keeps the
// outer lists in place while an inner one is added.
struct VisitLists
{
    std::deque<std::vector<GridObject*>> lists;
    size_t depth = 0;
};
thread_local VisitLists visitLists;

class VisitList
{
public:
    VisitList()
    {
        if (visitLists.lists.size() <= visitLists.depth)
            visitLists.lists.emplace_back();
        list = &visitLists.lists[visitLists.depth++];
        list->clear();
    }
    ~VisitList() { --visitLists.depth; }
    VisitList(const VisitList&) = delete;
    VisitList& operator=(const VisitList&) = delete;

    std::vector<GridObject*>& operator*() { return *list; }

private:
    std::vector<GridObject*>* list;
};

// Collects the objects of `mask` from every cell that forEachCell offers,
// then visits each once in ascending id.
template <class ForEachCell> void VisitObjects(ForEachCell forEachCell, uint32_t mask, ObjectVisitor visitor)
{
    if (mask == 0)
        return;
    VisitList scratch;
    std::vector<GridObject*>& found = *scratch;
    forEachCell([&](const GridCell& cell) {
        for (GridObject* object : cell.objects)
            if (object->typeMask & mask)
                found.push_back(object);
    });
    if (found.empty())
        return;
    std::sort(found.begin(), found.end(), [](const GridObject* a, const GridObject* b) { return a->id < b->id; });
    found.erase(std::unique(found.begin(), found.end()), found.end());
    for (GridObject* object : found)
        visitor(object);
}

float ClampIndex(float index, int32_t count)
{
    return std::min(std::max(index, 0.0f), static_cast<float>(count - 1));
}

} // namespace

CellRange World::GetCellRange(std::span<const Vector2> points) const
{
    CellRange range;
    if (columns < 1 || rows < 1)
        return range;
    Vector2 boxMin = range.boxMin;
    Vector2 boxMax = range.boxMax;
    for (const Vector2& point : points) {
        boxMin = {std::min(boxMin.x, point.x), std::min(boxMin.y, point.y)};
        boxMax = {std::max(boxMax.x, point.x), std::max(boxMax.y, point.y)};
    }
    const bool overlaps = boxMax.x >= map.boundsMin.x && boxMin.x <= map.boundsMax.x && boxMax.y >= map.boundsMin.y &&
                          boxMin.y <= map.boundsMax.y;
    if (!overlaps)
        return range;

    const float scale = 1.0f / cellSize;
    range.valid = true;
    range.boxMin = boxMin;
    range.boxMax = boxMax;
    range.firstColumn = ClampIndex(std::floor((boxMin.x - map.boundsMin.x) * scale), columns);
    range.firstRow = ClampIndex(std::floor((boxMin.y - map.boundsMin.y) * scale), rows);
    range.lastColumn = ClampIndex(std::floor((boxMax.x - map.boundsMin.x) * scale), columns);
    range.lastRow = ClampIndex(std::floor((boxMax.y - map.boundsMin.y) * scale), rows);
    return range;
}

std::vector<GridCell*> World::CellsInRange(const CellRange& range)
{
    std::vector<GridCell*> found;
    const CellBlock block(range);
    if (block.Empty())
        return found;
    found.reserve(static_cast<size_t>(block.lastColumn - block.firstColumn + 1) *
                  static_cast<size_t>(block.lastRow - block.firstRow + 1));
    for (int32_t row = block.firstRow; row <= block.lastRow; ++row)
        for (int32_t column = block.firstColumn; column <= block.lastColumn; ++column)
            found.push_back(&CellAt(column, row));
    return found;
}

void World::ForEachObjectInCells(std::span<GridCell* const> cells, uint32_t mask, ObjectVisitor visitor)
{
    VisitObjects(
        [&](auto&& take) {
            for (const GridCell* cell : cells)
                take(*cell);
        },
        mask, visitor);
}

void World::ForEachObjectInRange(const CellRange& range, uint32_t mask, ObjectVisitor visitor) const
{
    ForEachObjectInBlock(CellBlock(range), mask, visitor);
}

void World::ForEachObjectInBlock(const CellBlock& block, uint32_t mask, ObjectVisitor visitor) const
{
    if (block.Empty())
        return;
    VisitObjects(
        [&](auto&& take) {
            for (int32_t row = block.firstRow; row <= block.lastRow; ++row)
                for (int32_t column = block.firstColumn; column <= block.lastColumn; ++column)
                    take(CellAt(column, row));
        },
        mask, visitor);
}

void World::ForEachObject(uint32_t mask, ObjectVisitor visitor)
{
    const size_t count = objects.size();
    for (size_t i = 0; i < count; ++i)
        if (objects[i]->typeMask & mask)
            visitor(objects[i].get());
}

TriangleSource World::CollectObjectsInRange(const CellRange& range, uint32_t mask, ObjectPredicate predicate) const
{
    return TriangleSource(this, CellBlock(range), mask, std::move(predicate));
}

SegmentSource World::CollectSegmentsInRange(const CellRange& range, SegmentPredicate predicate) const
{
    return SegmentSource(this, CellBlock(range), std::move(predicate));
}

void TriangleSource::operator()(TriangleVisitor visitor) const
{
    if (custom) {
        custom(visitor);
        return;
    }
    if (!world)
        return;
    world->ForEachObjectInBlock(cells, mask, [&](GridObject* object) {
        if (predicate && !predicate(object))
            return;
        const std::vector<Vector3>& vertices = object->vertices;
        for (size_t i = 0; i + 2 < vertices.size(); i += 3)
            visitor(object, vertices[i], vertices[i + 1], vertices[i + 2], static_cast<int32_t>(i));
    });
}

void SegmentSource::operator()(SegmentVisitor visitor) const
{
    if (custom) {
        custom(visitor);
        return;
    }
    if (!world)
        return;
    const auto offer = [&](const MapSegment& segment) {
        if (!predicate || predicate(segment))
            visitor(segment);
    };
    constexpr uint32_t walls = GridObjectType::Concrete | GridObjectType::Door | GridObjectType::Elevator;
    world->ForEachObjectInBlock(cells, walls, [&](GridObject* object) {
        if (object->typeMask == GridObjectType::Concrete) {
            if (object->name == SegmentLayerKey && object->source)
                offer(*static_cast<const MapSegment*>(object->source));
        } else if (object->typeMask == GridObjectType::Door || object->typeMask == GridObjectType::Elevator) {
            for (const MapSegment& segment : object->segments)
                offer(segment);
        }
    });
}

} // namespace mirefell
