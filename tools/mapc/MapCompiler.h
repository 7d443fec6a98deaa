// MapCompiler: turns a LevelSource into the map JSON the game's loader
// reads. Room outlines become sectors wound counter-clockwise (positive in
// map x, y) with triangulated floors and ceilings, their collision polygon
// equal to their render polygon. Every edge two sectors share is a link (a
// sector that shares none is linked to itself, so every sector is named), and
// each side of it gets the walls its neighbour's heights leave open (a riser
// under a higher floor, a lintel over a lower ceiling); edges nobody shares
// are full walls. A door that is not plain (a secret drawn as the wall) is
// framed on both faces in brass-tinted metal: the 6 units next to the
// opening of every wall that meets its corners (casings in the wall's line,
// the sides of a passage as wide as the door), up to 8 above the door's
// ceiling, an 8-unit head over it, and its own sides as the jambs. Walls run clockwise around the
// sector they face, so their
// normal points into it, with the render quad [start-top, end-top,
// end-bottom, start-bottom], indices [0,1,2,2,3,0] and bottom-right index 2.
// Switches and screens are extra segments lying on a wall, running with it.
// Entities are written so that they stand where the author put them, at the
// floor of the sector under them.
//
// The same source always gives the same bytes. Faults in the source (sectors
// that overlap, an outline that crosses itself, a thing outside every
// sector, a panel on no wall, an id used twice) throw SourceError.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "LevelSource.h"

namespace mirefell::maptool
{

struct CompiledSector
{
    const SourceSector* source = nullptr;
    std::vector<Point> outline; // counter-clockwise, split where neighbours' corners lie on an edge
    std::vector<uint16_t> triangles;
    std::vector<int> neighbours; // per edge i (outline[i] to outline[i+1]): sector index or -1
};

struct CompiledSegment
{
    int32_t id = 0;
    int32_t type = 0;
    Point start, end;
    double bottom = 0.0;
    double top = 0.0;
    int32_t sectorId = 0;
    std::string tex;
    uint32_t colour = 0;
};

struct CompiledEntity
{
    const SourceThing* source = nullptr;
    Point pos; // the record's point
    double y = 0.0;
};

struct CompiledLevel
{
    std::vector<CompiledSector> sectors;
    std::vector<CompiledSegment> segments;
    std::vector<int32_t> links; // flat pairs of sector ids
    std::vector<CompiledEntity> entities;
    // Per source lamp: the map's "yOffset", which the game measures from the
    // middle of the lamp's sector (floor slab's underside to ceiling).
    std::vector<double> lampOffsets;

    // The index of the sector whose outline holds the point, or -1.
    int SectorAt(Point p) const;
};

class MapCompiler
{
public:
    // Needs the entity type table (MapEntityTypes) filled.
    static CompiledLevel Compile(const LevelSource& source);
    // The map JSON: one record per line, LF line ends.
    static std::string ToJson(const LevelSource& source, const CompiledLevel& level);
    static std::string CompileToJson(const LevelSource& source) { return ToJson(source, Compile(source)); }
};

} // namespace mirefell::maptool
