// ProjectileType: the kinds of flying shot. The world makes projectiles
// through its factory table by kind (World::MakeProjectile); the gameplay's
// Projectile takes its tuning from the kind and the game's difficulty.
#pragma once

#include <cstdint>

namespace mirefell
{

enum class ProjectileType : int32_t
{
    Bolt = 1,             // same tuning as the hyper blaster's; nothing fires it
    HyperBlasterBolt = 2, // bounces off walls
    EyeShot = 3,          // the eye monster's charged shot; speed and life by difficulty
    Rocket = 4,           // explodes with splash damage
};

} // namespace mirefell
