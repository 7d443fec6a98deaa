// LevelScriptNeeds: what a level script expects of its map, by kind: the
// doors and elevators (sector ids), switches (segment ids), pickups and
// monsters (entity ids) it looks up, singly or as a group, and the names of
// the areas it reacts to. A look-up of a single object the map lacks ends the
// level start; a group member or an area the map lacks silently does
// nothing. The level checker compares a map against this list, so each
// script keeps it beside the code that uses the ids.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mirefell
{

struct LevelScriptNeeds
{
    std::vector<uint32_t> doors;
    std::vector<uint32_t> elevators;
    std::vector<uint32_t> switches;
    std::vector<uint32_t> pickups;
    std::vector<uint32_t> monsters;
    std::vector<std::string> areas;
};

} // namespace mirefell
