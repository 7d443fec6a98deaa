// GridObject: registration in the cell grid, the sector under an object and
// the moves of its geometry.
#include "world/GridObject.h"

#include "render/Mesh.h"
#include "world/GridCell.h"
#include "world/Polygon.h"
#include "world/World.h"

namespace mirefell
{

GridObject::GridObject(World* world_, std::string name_, void* source_)
    : id(++nextId), world(world_), name(std::move(name_)), source(source_)
{
    cells.reserve(ReservedCells);
}

GridObject::GridObject(World* world_, std::string name_, void* source_, std::vector<GridCell*> cellList)
    : id(++nextId), world(world_), name(std::move(name_)), source(source_), cells(std::move(cellList))
{
    cells.clear();
    if (cells.capacity() < ReservedCells)
        cells.reserve(ReservedCells);
}

GridObject::~GridObject() = default;

bool GridObject::TakeDamage(float, GridObject*, const Vector3&)
{
    return true;
}

void GridObject::SetPosition(const Vector3&) {}

void GridObject::SetCells(const CellRange& range)
{
    if (!range.valid) {
        RemoveFromCells();
        return;
    }
    if (!registered) {
        AddToCells(range);
        return;
    }
    const std::array<float, 4> wanted{range.firstColumn, range.firstRow, range.lastColumn, range.lastRow};
    if (cellRect == wanted)
        return;
    RemoveFromCells();
    AddToCells(range);
}

MapSector* GridObject::FindSector()
{
    const Vector2 point{position.x, position.z};
    MapSector* found = nullptr;
    World::FindObjectInCells(cells, GridObjectType::Concrete | GridObjectType::Elevator, [&](GridObject* object) {
        MapSector* candidate = nullptr;
        if (object->typeMask & GridObjectType::Concrete) {
            // Only floor and ceiling pieces stand for a sector; walls never do.
            if (object->name != SectorLayerKey)
                return false;
            candidate = static_cast<MapSector*>(object->source);
        } else {
            candidate = object->sector;
        }
        if (!candidate || !Polygon::ContainsPoint(*candidate, point))
            return false;
        found = candidate;
        return true;
    });
    return found;
}

void GridObject::UpdateBounds()
{
    box = Box3(position - halfExtents, position + halfExtents);
    if (sceneNode) {
        sceneNode->scale = box.max - box.min;
        sceneNode->position = position;
        sceneNode->UpdateTransform();
    }
    footprint = MapRect();
    footprint.Widen({box.min.x, box.min.z});
    footprint.Widen({box.max.x, box.max.z});
    if (instanceMesh)
        instanceMesh->bounds = BoxFloats();
    else if (instanceBatch && instanceIndex < instanceBatch->instances.size())
        instanceBatch->instances[instanceIndex].bounds = BoxFloats();
}

void GridObject::Translate(const Vector3& offset)
{
    for (Vector3& vertex : vertices)
        vertex += offset;
}

void GridObject::RaiseSegments(float dy)
{
    for (MapSegment& segment : segments) {
        segment.bottomY += dy;
        segment.topY += dy;
    }
}

MapSector* GridObject::SnapToFloor()
{
    MapSector* found = FindSector();
    if (found)
        position.y = halfExtents.y + found->floorTopY + 0.03f;
    return found;
}

void GridObject::AddToCells(const CellRange& range)
{
    const CellBlock block(range);
    for (int32_t row = block.firstRow; row <= block.lastRow; ++row) {
        for (int32_t column = block.firstColumn; column <= block.lastColumn; ++column) {
            GridCell& cell = world->CellAt(column, row);
            cell.Insert(this);
            cells.push_back(&cell);
        }
    }
    registered = range.valid;
    rangeMin = range.boxMin;
    rangeMax = range.boxMax;
    cellRect = {range.firstColumn, range.firstRow, range.lastColumn, range.lastRow};
}

void GridObject::RemoveFromCells()
{
    for (GridCell* cell : cells)
        cell->Erase(this);
    cells.clear();
    registered = false;
}

void GridObject::Remove()
{
    RemoveFromCells();
    removed = true;
}

} // namespace mirefell
