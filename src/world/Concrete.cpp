// Concrete: the two kinds of static geometry piece.
#include "world/Concrete.h"

namespace mirefell
{

Concrete::Concrete(World* world_, MapSector* sector_, SectorRegion* region_)
    : GridObject(world_, SectorLayerKey, sector_), mapSector(sector_), region(region_)
{
    typeMask = GridObjectType::Concrete;
    sector = sector_;
}

Concrete::Concrete(World* world_, MapSegment* segment_, MapSector* wallSector, SectorRegion* region_)
    : GridObject(world_, SegmentLayerKey, segment_), mapSector(wallSector), segment(segment_), region(region_)
{
    typeMask = GridObjectType::Concrete;
}

} // namespace mirefell
