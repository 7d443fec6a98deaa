// ProjectileWeaponData: what a weapon that fires projectiles launches.
#pragma once

#include <cstdint>

#include "platform/math/Color.h"

namespace mirefell
{

struct ProjectileWeaponData
{
    uint32_t projectileType = 0; // 2 the hyper blaster's bolt, 4 a rocket
    Color color{1.0f, 1.0f, 1.0f, 1.0f};
    Color lightColor{0.75f, 0.85f, 1.0f, 1.0f};

    bool operator==(const ProjectileWeaponData&) const = default;
};

} // namespace mirefell
