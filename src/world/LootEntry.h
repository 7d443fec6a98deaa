// LootEntry: what a random pickup turns out to be: the entity mesh and the
// texture it is drawn with and the pickup kind it gives. The gameplay's loot
// tables fill it; the level build draws and types a random pickup by it.
#pragma once

#include <cstdint>
#include <string>

namespace mirefell
{

struct LootEntry
{
    std::string meshName;
    std::string textureName;
    uint32_t powerupType = 0; // a PowerupType value

    bool operator==(const LootEntry&) const = default;
};

} // namespace mirefell
