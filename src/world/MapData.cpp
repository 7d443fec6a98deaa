// The map's derived data: its 2D bounds and its sector index.
#include "world/MapData.h"

#include "platform/math/Bounds.h"

namespace mirefell
{

void MapData::ComputeBounds()
{
    MapRect bounds;
    for (const MapSegment& segment : segments) {
        bounds.Widen(segment.start);
        bounds.Widen(segment.end);
    }
    for (const MapSector& sector : sectors)
        for (const Vector2& point : sector.vertices)
            bounds.Widen(point);
    boundsMin = bounds.Min();
    boundsMax = bounds.Max();
}

void MapData::IndexSectors()
{
    sectorsById.clear();
    for (MapSector& sector : sectors)
        sectorsById[sector.id] = &sector;
}

} // namespace mirefell
