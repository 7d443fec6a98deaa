// AIRegion: one region of the AI region graph, wrapping a sector region with
// the monsters that spawned in it and what the player has done to it this
// level: awakened and alerted turn on once and stay on; reachable is
// recomputed after every player move.
#pragma once

#include <cstdint>
#include <vector>

namespace mirefell
{

class GridObject;
struct SectorRegion;

struct AIRegion
{
    SectorRegion* region = nullptr; // its sectors, doors, links and mesh
    bool awakened = false;
    bool alerted = false;
    bool reachable = false;
    // Monsters whose spawn sector lies in the region, in world order; they
    // stay listed here wherever they walk, dead or alive.
    std::vector<GridObject*> monsters;
    // Traversal bookkeeping: the number of the last traversal that visited it.
    uint32_t visitMark = 0;
};

} // namespace mirefell
