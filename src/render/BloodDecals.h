// BloodDecals: the level's ring of blood-decal slots. Each slot is one
// instance of a single decal mesh (effect 4, the "blood" texture on a unit
// box) under the scene root; a landed blood particle places a decal at its
// hit point. A decal takes the next fresh slot of the ring, or, where its
// grid cell already holds DecalsPerCell decals, reuses that cell's slots in
// turn, so no cell collects more than 8 and the level no more than the
// "maxBloodDecals" setting read when the level was built.
//
// It reaches the level's grid only through IDecalGrid (the World). The
// World makes it at Reset and calls Initialize last; the mesh belongs to the
// scene root, the slot boxes (which the instances point at for culling) to
// this object and never move after Initialize.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/math/Bounds.h"
#include "platform/math/Color.h"
#include "platform/math/Vector.h"

namespace mirefell
{

class IDecalGrid;
class Mesh;

class BloodDecals
{
public:
    static constexpr int32_t DecalsPerCell = 8;

    // Neither is owned; both outlive the decals.
    BloodDecals(IDecalGrid* grid_, Mesh* root_);

    // Builds the decal mesh with one hidden instance per slot under the root
    // when the setting is above 0, and reserves each grid cell's decal list.
    // A setting of 0 or below makes no mesh and no slots.
    void Initialize();
    // Places a decal at the hit point in the particle's colour; nothing when
    // the setting is 0 or below, there are no slots, or the point lies off
    // the grid.
    void Add(const Vector3& point, const Color& colour);

    Mesh* mesh = nullptr; // owned by the root
    uint32_t nextSlot = 0;
    std::vector<Box3> slotBoxes;
    IDecalGrid* grid;
    Mesh* root;
};

} // namespace mirefell
