// MapChecker: the level checker. It builds a map with the game's own level
// build (World::Create with the gameplay's objects, the level script made and
// started on them as at the game's level start) and then checks what a
// playable level needs and the build does not enforce: every id and area its
// script looks for is there;
// every sector can be reached from the start through doors, elevators and
// keys, a key is reachable before its door and the exit is reachable; every
// monster stands inside a sector with room for its body and can move; a
// step between sectors where monsters walk is no higher than they climb;
// every door opens high enough for the player and the monsters; every
// entity stands inside a sector and on its floor.
//
// Each problem is one line that names the records involved; an empty list
// means the map passed.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "LevelSource.h"
#include "gameplay/LevelScriptCatalogue.h"
#include "world/MapData.h"

namespace mirefell::maptool
{

// What the author meant that the map file cannot say.
struct CheckNotes
{
    // Links across which monsters are meant not to pass.
    std::vector<std::pair<int32_t, int32_t>> ledges;
    // Sectors nobody is meant to stand in (window sills, decoration).
    std::set<int32_t> unwalkable;

    static CheckNotes From(const LevelSource& source);
    bool IsLedge(int32_t a, int32_t b) const;
};

class MapChecker
{
public:
    // The room a monster's body needs between floor and ceiling.
    static constexpr float MonsterHeadroom = 16.03f;

    // `script` is the level's entry in the script catalogue, or null; its
    // maker is registered under the map's name for the build (and stays
    // registered, as the game registers it). Builds the level at "Normal" in
    // a scratch working folder (the player's level start saves the game) and
    // restores the current one. The entity meshes are read from
    // "assets/meshes/" under the current folder (the game's run folder).
    static std::vector<std::string> Check(const MapData& map, const CheckNotes& notes,
                                          const LevelScriptCatalogue::Entry* script);
};

} // namespace mirefell::maptool
