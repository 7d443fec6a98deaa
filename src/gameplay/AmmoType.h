// AmmoType: the four kinds of ammunition, their display names and how much
// of each the player can carry. Bullets have no weapon that fires them, but
// their counter exists like the others.
#pragma once

#include <cstdint>
#include <string>

namespace mirefell
{

enum class AmmoType : uint32_t
{
    None = 0, // melee weapons
    Bullets = 1,
    Shells = 2,
    Cells = 3,
    Rockets = 4,
};

// "Bullets", "Shells", "Cells" or "Rockets"; any other value throws
// "invalid map<K, T> key".
const std::wstring& GetAmmoTypeName(AmmoType type);
// The most the player carries: Bullets 100, Shells 50, Cells 200, Rockets 30;
// any other value throws "invalid map<K, T> key".
int32_t GetMaxAmmo(AmmoType type);

} // namespace mirefell
