// GridCell: one 16-unit square of the World's grid. It lists the objects
// registered in it (not owned; GridObject keeps the mirror list of its
// cells) and, as a DecalCell, the blood-decal slots that lie in it.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/math/Vector.h"
#include "render/IDecalGrid.h"

namespace mirefell
{

class GridObject;

struct GridCell : DecalCell
{
    Vector2 min; // map-plane corners
    Vector2 max;
    // In registration order; an object entered twice appears twice.
    std::vector<GridObject*> objects;
    int32_t column = 0;
    int32_t row = 0;
};

} // namespace mirefell
