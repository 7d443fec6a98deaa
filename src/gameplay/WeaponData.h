// WeaponData: the tuning record of one weapon. Every weapon carries both the
// hitscan and the projectile part; the fire mode says which one is used.
#pragma once

#include <cstdint>
#include <string>

#include "gameplay/AmmoType.h"
#include "gameplay/ProjectileWeaponData.h"
#include "world/HitscanWeaponData.h"

namespace mirefell
{

enum class WeaponClass : uint32_t
{
    None = 0,
    Melee = 1,  // strikes in front of the player
    Ranged = 2, // uses ammunition
};

enum class FireMode : uint32_t
{
    None = 0, // melee
    Hitscan = 1,
    Projectile = 2,
};

struct WeaponData
{
    WeaponClass weaponClass = WeaponClass::None;
    AmmoType ammoType = AmmoType::None;
    uint32_t ammoPerShot = 1; // needed and spent per shot
    uint32_t cooldownMs = 0;
    float damage = 0.0f; // per hit; per pellet for hitscan weapons
    FireMode fireMode = FireMode::None;
    HitscanWeaponData hitscan;
    ProjectileWeaponData projectile;
    uint32_t viewIndex = 0; // first-person model: 2 shotgun, 3 blaster, 4 launcher, 5 hammer
    std::string viewName;   // the weapon's short name, key of its view entry

    bool operator==(const WeaponData&) const = default;
};

} // namespace mirefell
