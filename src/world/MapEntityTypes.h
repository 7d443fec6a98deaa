// MapEntityTypes: the one global table that gives each entity type code of a
// map's layer "3" its meaning (pickup or monster, which pickup, a monster's
// animations and frame counts). The map loader copies an entry into every
// MapEntity it reads; the entity spawners act on the copy. The table starts
// empty and is filled by Initialize, which the game calls once at start-up
// before any map is loaded.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "render/MonsterAnimation.h"

namespace mirefell
{

enum class MapEntityKind : uint32_t
{
    Powerup = 1,
    Monster = 2,
};

struct MapEntityType
{
    // Empty for fixed pickups, "powerup" for a random pickup, else the monster
    // kind name (also its texture name and the prefix of its mesh names).
    std::string name;
    MapEntityKind kind = MapEntityKind::Powerup;
    // Mesh frame count per animation; empty for pickups.
    std::map<MonsterAnimation, uint32_t> animations;
    // The pickup's kind (PowerupType numbers); 0 for monsters and
    // for random pickups until the loot tables choose one at spawn.
    uint32_t powerupType = 0;

    bool operator==(const MapEntityType&) const = default;
};

class MapEntityTypes
{
public:
    // Fills the table with the game's nine codes. Calling it again restores
    // the same contents.
    static void Initialize();
    // The entry of a code (case-sensitive), or null when the table lacks it.
    static const MapEntityType* Find(const std::string& code);
    static const std::map<std::string, MapEntityType>& All();

private:
    static std::map<std::string, MapEntityType>& Table();
};

} // namespace mirefell
