// HitscanWeaponData: the pellet settings of a weapon that fires rays. The
// world's hitscan fire reads it (pellets, spread, puff colour and count), so
// it lives here; the gameplay's WeaponData carries one.
#pragma once

#include <cstdint>

#include "platform/math/Color.h"

namespace mirefell
{

struct HitscanWeaponData
{
    uint32_t pellets = 0;
    float spread = 0.0f;                         // degrees
    Color puffColor{1.0f, 1.0f, 1.0f, 1.0f};     // particles where a pellet hits a wall
    int32_t puffCount = 1;                       // particles per puff
    Color secondColor{0.75f, 0.85f, 1.0f, 1.0f}; // kept and saved; the fire does not read it

    bool operator==(const HitscanWeaponData&) const = default;
};

} // namespace mirefell
