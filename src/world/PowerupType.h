// PowerupType: what a pickup gives, as the map's entity table and a pickup's
// record name it. The world's level build counts the health, ammunition and
// armour pickups for the level statistics; the gameplay's Powerup and the
// player's pickup handler act on the kind.
#pragma once

#include <cstdint>

namespace mirefell
{

enum class PowerupType : uint32_t
{
    Health = 1,
    AmmoPack = 2,
    LevelExit = 3,
    RedKey = 4,
    BlueKey = 5,
    Hammer = 6,
    DoubleShotgun = 7,
    HyperBlaster = 8,
    RocketLauncher = 9,
    HealthCube = 10,
    Boots = 11,
    Armor = 12,
    Breastplate = 13,
    Nightmare = 14,
    Bloodlust = 15,
};

} // namespace mirefell
