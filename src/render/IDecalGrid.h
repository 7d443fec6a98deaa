// IDecalGrid: the level's cell grid as the blood decals see it. Each cell
// keeps the decal slots that lie in it (DecalCell); the World's grid cells
// are DecalCells and the World implements the look-up, so the renderer
// needs nothing else of the world.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/math/Vector.h"

namespace mirefell
{

struct DecalCell
{
    // Blood-decal slots in this cell, at most BloodDecals::DecalsPerCell.
    std::vector<int32_t> decals;
    // Once the cell is full: the entry of `decals` the next decal here reuses.
    int32_t nextDecal = 0;
};

class IDecalGrid
{
public:
    virtual ~IDecalGrid() = default;
    // The cell under a point's (x, z), or null when the point lies off the
    // grid.
    virtual DecalCell* FindDecalCell(const Vector3& point) = 0;
    // Sizes the decal list of every cell a decal can land in for `perCell`
    // slots, so that decals placed during play do not allocate.
    virtual void ReserveDecalCells(size_t perCell) = 0;
};

} // namespace mirefell
