// GridCell: keeping a cell's registrations in their order.
#include "world/GridCell.h"

#include <algorithm>

#include "world/GridObject.h"

namespace mirefell
{

void GridCell::Insert(GridObject* object)
{
    const CellEntry entry{object->typeMask, object->id, object};
    // After any equal entry: an object entered twice sits twice, side by side.
    objects.insert(std::upper_bound(objects.begin(), objects.end(), entry), entry);
}

void GridCell::Erase(GridObject* object)
{
    const CellEntry key{object->typeMask, object->id, object};
    const auto found = std::lower_bound(objects.begin(), objects.end(), key);
    if (found != objects.end() && found->object == object)
        objects.erase(found);
}

} // namespace mirefell
