// GridCell: one 16-unit square of the World's grid. It lists the objects
// registered in it (not owned; GridObject keeps the mirror list of its
// cells) and, as a DecalCell, the blood-decal slots that lie in it.
//
// The list is kept ordered by type mask, then id, each entry carrying both,
// so that a query reads only the runs of the types it asks for (a crowd of
// monsters costs nothing to a floor query) and finds them already in
// ascending id, with no sort. An object's type mask must not change while it
// is registered.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/math/Vector.h"
#include "render/IDecalGrid.h"

namespace mirefell
{

class GridObject;

// One registration of an object in a cell.
struct CellEntry
{
    uint32_t typeMask = 0;
    uint32_t id = 0;
    GridObject* object = nullptr;

    // Read as the object it registers, as a list of objects would be.
    operator GridObject*() const { return object; }
    // The order of a cell's list.
    friend bool operator<(const CellEntry& a, const CellEntry& b)
    {
        return a.typeMask != b.typeMask ? a.typeMask < b.typeMask : a.id < b.id;
    }
};

struct GridCell : DecalCell
{
    Vector2 min; // map-plane corners
    Vector2 max;
    // By type mask, then id; an object entered twice appears twice, side by
    // side.
    std::vector<CellEntry> objects;
    int32_t column = 0;
    int32_t row = 0;

    // Enters the object at its place in the order.
    void Insert(GridObject* object);
    // Takes one entry of the object out; nothing when it has none.
    void Erase(GridObject* object);
};

} // namespace mirefell
