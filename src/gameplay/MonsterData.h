// MonsterData: every number that makes the two monster kinds differ, and
// that makes them harder on higher difficulties: the melee "nom" and the
// ranged "eye". A maker fills one record for a kind and a difficulty; the
// Monster constructor asks for its own copy once and keeps it for its whole
// life. Nothing else reads the makers. The behaviour these numbers drive is
// the Monster's.
//
// Steps are fixed updates of 1/60 s (durations given in milliseconds become
// roundf(ms x 0.060024) steps); distances are world units.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "gameplay/GameSave.h"
#include "platform/math/Color.h"
#include "platform/math/Vector.h"

namespace mirefell
{

// The kind of a monster; its name is the map entity's type name.
enum class MonsterType : uint32_t
{
    Nom = 1, // "nom", bites
    Eye = 2, // "eye", shoots
};

enum class MonsterAttackKind : uint32_t
{
    None = 0,
    Melee = 1,
    Ranged = 2,
};

// A field a kind does not use holds zero (colours (0, 0, 0, 1)).
struct MonsterData
{
    Vector3 halfExtents;                    // the collision box around the position
    Vector3 spriteScale;                    // of the drawn sprite; x also sets the wander distance
    Vector3 spawnOffset{0.0f, 8.03f, 0.0f}; // added to the map record's point
    float speed = 0.0f;                     // units per step
    float spriteYawOffset = 0.0f;           // radians, added to the yaw to draw and to look ahead
    float flinchChance = 0.0f;              // per hit taken
    MonsterAttackKind attackKind = MonsterAttackKind::None;
    float maxHealth = 0.0f; // starting health
    float biteDamage = 0.0f;
    int32_t biteCooldown = 0;         // steps the melee logic rests after a bite
    float meleeRange = 0.0f;          // a target nearer than this wakes a watcher and can be bitten
    float chaseScatter = 0.0f;        // radius of the aim offset at a target farther than this
    int32_t rangedCooldownBase = 0;   // steps between shots, fixed part
    int32_t rangedCooldownRandom = 0; // steps between shots, random part (0 to this)
    float rangedRange = 0.0f;
    int32_t projectileType = 0; // the ProjectileType fired
    Color projectileColor;
    Color projectileLightColor;
    int32_t attackWindup = 0; // steps from the start of an attack to the blow or the shot
    float projectileDamage = 0.0f;
    int32_t walkFrameTicks = 0; // steps per walk frame
    Color bloodColor;
};

// "nom" 1, "eye" 2; any other name throws "invalid map<K, T> key".
MonsterType MonsterTypeFromString(const std::string& name);

// Scales only the speed: 1, 1, 1.5, 2, 2.5 from "Easy" to "Masochistic". A
// difficulty outside 1 to 5 throws "invalid map<K, T> key".
float MonsterSpeedFactor(GameDifficulty difficulty);
// Scales only the bite and projectile damage: 0.5, 1, 1.5, 2, 2.5.
float MonsterDamageFactor(GameDifficulty difficulty);

MonsterData MakeNomData(GameDifficulty difficulty);
MonsterData MakeEyeData(GameDifficulty difficulty);

using MonsterDataMaker = std::function<MonsterData(GameDifficulty)>;
// Each kind's maker; read-only once the program runs.
extern const std::map<MonsterType, MonsterDataMaker> MonsterDataMakers;

} // namespace mirefell
