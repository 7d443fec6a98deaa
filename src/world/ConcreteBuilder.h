// ConcreteBuilder: turns the map's unmoving sectors and walls into Concrete
// pieces while the level is built, after the sector graph exists and before
// World::Reset. Each piece gets collision triangles, a box and its cells and
// joins the World's object list; its picture (positions, triangle records in
// the sector's lit colour, texture coordinates repeating every 64 units) is
// appended to the mesh of its sector region.
//
// Winding: floors are emitted in the order i2, i1, i0 of their index
// triples and ceilings in the order i0, i1, i2, so for the maps'
// counter-clockwise polygons floors face up and ceilings down.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "platform/math/Vector.h"
#include "world/MapData.h"

namespace mirefell
{

class Concrete;
class World;
struct SectorRegion;

class ConcreteBuilder
{
public:
    // Texture repeat length of static geometry, in world units.
    static constexpr float TextureRepeat = 64.0f;

    // The floor (ceiling false) or ceiling piece of a sector of the World's
    // map. A ceiling piece of a sector without "ceiling" or a floor piece of
    // an elevator is registered but has no geometry. Throws "sector has no
    // corresponding region".
    static Concrete* AddSectorConcrete(World& world, MapSector& sector, bool ceiling);
    // The piece of a wall segment of the World's map; rewrites the segment's
    // "bottomRightIndex" (see WallTrianglePositions). A wall without render
    // indices draws nothing but still collides through its quad, which its
    // box always covers. Throws "sector has no corresponding region".
    static Concrete* AddWallConcrete(World& world, MapSegment& segment);
    // The six corners of a wall quad from "bottomY" to "topY": (s, top),
    // (e, top), (s, bottom), then (e, top), (e, bottom), (s, bottom).
    static std::array<Vector3, 6> SegmentQuad(const MapSegment& segment);
    // The region whose sectors hold the id, in region order; throws
    // "sector has no corresponding region".
    static SectorRegion& RegionOfSector(World& world, int32_t sectorId);

    // A sector's triangle corners at its floor or ceiling height, from its
    // render polygon or its collision polygon, wound as described above.
    static std::vector<Vector3> SectorTrianglePositions(const MapSector& sector, bool ceiling, bool collision);
    // A wall's render triangles as stored. Rewrites "bottomRightIndex" to
    // 3k + 3 for the last triangle k that closes at the old bottom-right
    // corner (0 when none does, or without indices): the count of positions
    // in the wall's first part.
    static std::vector<Vector3> WallTrianglePositions(MapSegment& segment);
    // Horizontal repeats of a wall of length L: L / 64 up to 64 units, the
    // nearest whole number of repeats (halves away from zero) beyond.
    static float WallRepeat(float length);
};

} // namespace mirefell
