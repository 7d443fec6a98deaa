// MapLimits: the checks.
#include "world/MapLimits.h"

#include <cstdio>
#include <string>

#include "platform/GameError.h"
#include "world/MapData.h"

namespace mirefell::MapLimits
{

namespace
{

std::string Units(float value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.0f", static_cast<double>(value));
    return text;
}

void Require(size_t count, size_t limit, const char* message, const char* what)
{
    if (count > limit)
        throw GameError(message, std::to_string(count) + " " + what + ", at most " + std::to_string(limit));
}

} // namespace

void CheckFileSize(uintmax_t bytes)
{
    if (bytes > MaxFileBytes)
        throw GameError(FileTooLarge, std::to_string(bytes) + " bytes, at most " + std::to_string(MaxFileBytes));
}

void Check(const MapData& map)
{
    Require(map.sectors.size(), MaxSectors, TooManySectors, "sectors");
    Require(map.segments.size(), MaxSegments, TooManySegments, "segments");
    Require(map.sectorLinks.size(), MaxSectorLinkIds, TooManySectorLinks, "ids in the sector links");
    Require(map.entities.size(), MaxEntities, TooManyEntities, "entities");
    Require(map.areas.size(), MaxAreas, TooManyAreas, "areas");
    Require(map.lights.size(), MaxLights, TooManyLights, "lights");

    size_t vertices = 0;
    size_t indices = 0;
    for (const MapSector& sector : map.sectors) {
        vertices += sector.vertices.size() + sector.collisionVertices.size();
        indices += sector.indices.size() + sector.collisionIndices.size();
    }
    for (const MapSegment& segment : map.segments) {
        vertices += segment.vertices.size();
        indices += segment.indices.size();
    }
    Require(vertices, MaxVertices, TooManyVertices, "vertices");
    Require(indices, MaxIndices, TooManyIndices, "indices");

    // An empty map's bounds are inverted (no extent), which passes.
    const float width = map.boundsMax.x - map.boundsMin.x;
    const float height = map.boundsMax.y - map.boundsMin.y;
    if (width > MaxExtent || height > MaxExtent)
        throw GameError(BoundsTooLarge,
                        Units(width) + " x " + Units(height) + " units, at most " + Units(MaxExtent) + " each way");
}

} // namespace mirefell::MapLimits
