// ProjectileData: the tuning of one kind of projectile at one difficulty,
// and the makers that produce it. Only the eye's shot depends on the
// difficulty (its speed, and so its lifetime, grow with it).
#pragma once

#include <functional>
#include <map>

#include "gameplay/GameSave.h"
#include "platform/math/Vector.h"
#include "world/ProjectileType.h"

namespace mirefell
{

struct ProjectileData
{
    Vector3 halfExtents; // collision half extents
    Vector3 scale;       // of the drawn body
    bool spin = false;   // the body turns while flying
    float speed = 0.0f;  // units per step
    float range = 0.0f;  // units; the lifetime is floor(range / speed) steps
    bool bounces = false;
    bool explosive = false;
    float explosionRadius = 0.0f; // reach of the blast and final size of the fireball
};

using ProjectileDataMaker = std::function<ProjectileData(GameDifficulty)>;

// The makers of the four kinds, keyed 1 to 4, made on first use.
std::map<ProjectileType, ProjectileDataMaker>& GetProjectileDataMakers();
// The tuning of a kind at a difficulty: a kind without a maker throws
// "invalid map<K, T> key", an empty maker std::bad_function_call.
ProjectileData MakeProjectileData(ProjectileType type, GameDifficulty difficulty);
// The eye shot's speed factor: 1.0, 1.0, 1.5, 2.0, 2.5 from "Easy" to
// "Masochistic"; any other value throws "invalid map<K, T> key".
float GetProjectileSpeedFactor(GameDifficulty difficulty);

} // namespace mirefell
