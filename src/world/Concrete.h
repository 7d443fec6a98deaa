// Concrete: one piece of the level's unmoving geometry, a floor or ceiling
// of a sector (named "2") or a wall segment (named "0"). It carries only
// collision triangles, its box and its cells; its picture was appended to
// its sector region's mesh when it was built (ConcreteBuilder), so a whole
// region draws as one mesh and hides as one.
#pragma once

#include "world/GridObject.h"

namespace mirefell
{

struct SectorRegion;

class Concrete : public GridObject
{
public:
    // A floor or ceiling piece of `sector`.
    Concrete(World* world_, MapSector* sector_, SectorRegion* region_);
    // A wall piece of `segment`, standing in `wallSector` (null when the map
    // has no sector of the segment's id).
    Concrete(World* world_, MapSegment* segment_, MapSector* wallSector, SectorRegion* region_);

    MapSector* mapSector;          // the sector the piece belongs to (a wall's: its sector)
    MapSegment* segment = nullptr; // wall pieces only
    SectorRegion* region;          // whose mesh draws the piece
};

} // namespace mirefell
