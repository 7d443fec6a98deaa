// World: the spatial queries over the cell grid, and the triangle and
// segment sources built on them.
#include <algorithm>
#include <cmath>
#include <deque>
#include <utility>
#include <vector>

#include "world/GridObject.h"
#include "world/World.h"

namespace mirefell
{

namespace
{

// A run of one cell's list: entries of one type mask, in ascending id.
struct Run
{
    const CellEntry* first;
    const CellEntry* last;
};

// Room a query's scratch lists have from their first use, far more than a
// level's queries gather, so that even the first of them allocates nothing
// in play.
constexpr size_t ScratchEntries = 1024;
constexpr size_t ScratchRuns = 256;

// What a query gathers from the cells: the entries of the runs it asks for,
// one run after another, the runs' ends, the other half of each merge pass,
// and the runs a search reads in place. One set per nesting depth, so that a
// visitor may run another query; they keep their capacity. A deque keeps
// the outer sets in place while an inner one is added.
struct QueryScratch
{
    QueryScratch()
    {
        found.reserve(ScratchEntries);
        merged.reserve(ScratchEntries);
        runEnds.reserve(ScratchRuns);
        runs.reserve(ScratchRuns);
    }

    std::vector<CellEntry> found;
    std::vector<CellEntry> merged;
    std::vector<size_t> runEnds;
    std::vector<Run> runs;
};
struct ScratchStack
{
    std::deque<QueryScratch> sets;
    size_t depth = 0;
};
// The queries run on the game thread only.
ScratchStack scratchStack;

class ScratchLease
{
public:
    ScratchLease()
    {
        if (scratchStack.sets.size() <= scratchStack.depth)
            scratchStack.sets.emplace_back();
        scratch = &scratchStack.sets[scratchStack.depth++];
        scratch->found.clear();
        scratch->runEnds.clear();
        scratch->runs.clear();
    }
    ~ScratchLease() { --scratchStack.depth; }
    ScratchLease(const ScratchLease&) = delete;
    ScratchLease& operator=(const ScratchLease&) = delete;

    QueryScratch& operator*() { return *scratch; }

private:
    QueryScratch* scratch;
};

bool ById(const CellEntry& a, const CellEntry& b)
{
    return a.id < b.id;
}

// The end of the run of `type` that starts at `entry`: a galloping search,
// a step or two for a short run and a binary search for a long one (a crowd
// of monsters).
const CellEntry* RunEnd(const CellEntry* entry, const CellEntry* end, uint32_t type)
{
    size_t step = 1;
    while (static_cast<size_t>(end - entry) > step && entry[step].typeMask == type) {
        entry += step;
        step *= 2;
    }
    const CellEntry* const limit = static_cast<size_t>(end - entry) > step ? entry + step : end;
    return std::upper_bound(entry, limit, type,
                            [](uint32_t value, const CellEntry& other) { return value < other.typeMask; });
}

// Calls take(run) for each run of the cell's list whose type mask meets
// `mask`. The runs of other types are stepped over, never read one by one.
template <class Take> void ForEachRun(const GridCell& cell, uint32_t mask, Take take)
{
    const CellEntry* entry = cell.objects.data();
    const CellEntry* const end = entry + cell.objects.size();
    while (entry != end) {
        const uint32_t type = entry->typeMask;
        const CellEntry* const runEnd = RunEnd(entry, end, type);
        if (type & mask)
            take(Run{entry, runEnd});
        entry = runEnd;
    }
}

// Puts the runs of scratch.found into one list in ascending id, keeping
// equal ids in run order (an object met in two cells then sits twice, side
// by side). A few entries are put in place one by one; more are merged run
// with run, pass after pass, so the work grows with the entries times the
// passes, never with the square of a crowd.
void OrderRuns(QueryScratch& scratch)
{
    constexpr size_t FewEntries = 24;
    std::vector<CellEntry>& found = scratch.found;
    std::vector<size_t>& ends = scratch.runEnds;
    if (ends.size() < 2)
        return;
    if (found.size() <= FewEntries) {
        for (size_t i = 1; i < found.size(); ++i) {
            const CellEntry entry = found[i];
            size_t j = i;
            for (; j > 0 && entry.id < found[j - 1].id; --j)
                found[j] = found[j - 1];
            found[j] = entry;
        }
        return;
    }
    while (ends.size() > 1) {
        scratch.merged.resize(found.size());
        const auto in = found.begin();
        size_t begin = 0;
        size_t kept = 0;
        for (size_t run = 0; run < ends.size(); run += 2) {
            const size_t middle = ends[run];
            const size_t end = run + 1 < ends.size() ? ends[run + 1] : middle;
            std::merge(in + begin, in + middle, in + middle, in + end, scratch.merged.begin() + begin, ById);
            ends[kept++] = end;
            begin = end;
        }
        ends.resize(kept);
        found.swap(scratch.merged);
    }
}

// Collects the objects of `mask` from every cell that forEachCell offers,
// then visits each once in ascending id.
template <class ForEachCell> void VisitObjects(ForEachCell forEachCell, uint32_t mask, ObjectVisitor visitor)
{
    if (mask == 0)
        return;
    ScratchLease lease;
    QueryScratch& scratch = *lease;
    forEachCell([&](const GridCell& cell) {
        ForEachRun(cell, mask, [&](Run run) {
            scratch.found.insert(scratch.found.end(), run.first, run.last);
            scratch.runEnds.push_back(scratch.found.size());
        });
    });
    if (scratch.found.empty())
        return;
    OrderRuns(scratch);
    const auto unique = std::unique(scratch.found.begin(), scratch.found.end(),
                                    [](const CellEntry& a, const CellEntry& b) { return a.id == b.id; });
    // The list is this depth's own: a visitor's queries use the next one.
    for (auto entry = scratch.found.begin(); entry != unique; ++entry)
        visitor(entry->object);
}

// The first object of `mask` in ascending id that `accept` takes, read in
// place from the runs of the cells forEachCell offers: a search stops at
// its answer instead of gathering the whole set first.
template <class ForEachCell> GridObject* FindObject(ForEachCell forEachCell, uint32_t mask, ObjectTest accept)
{
    if (mask == 0)
        return nullptr;
    ScratchLease lease;
    std::vector<Run>& runs = (*lease).runs;
    forEachCell([&](const GridCell& cell) { ForEachRun(cell, mask, [&](Run run) { runs.push_back(run); }); });
    bool tested = false;
    uint32_t lastId = 0;
    for (;;) {
        // The run whose next entry has the lowest id.
        Run* lowest = nullptr;
        for (Run& run : runs)
            if (run.first != run.last && (!lowest || run.first->id < lowest->first->id))
                lowest = &run;
        if (!lowest)
            return nullptr;
        const CellEntry& entry = *lowest->first++;
        if (tested && entry.id == lastId)
            continue; // the same object in another cell
        tested = true;
        lastId = entry.id;
        if (accept(entry.object))
            return entry.object;
    }
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

GridObject* World::FindObjectInCells(std::span<GridCell* const> cells, uint32_t mask, ObjectTest accept)
{
    return FindObject(
        [&](auto&& take) {
            for (const GridCell* cell : cells)
                take(*cell);
        },
        mask, accept);
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

GridObject* World::FindObjectInRange(const CellRange& range, uint32_t mask, ObjectTest accept) const
{
    const CellBlock block(range);
    if (block.Empty())
        return nullptr;
    return FindObject(
        [&](auto&& take) {
            for (int32_t row = block.firstRow; row <= block.lastRow; ++row)
                for (int32_t column = block.firstColumn; column <= block.lastColumn; ++column)
                    take(CellAt(column, row));
        },
        mask, accept);
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
