// MonsterData: the two kinds' tables and the difficulty factors.
#include "gameplay/MonsterData.h"

#include "platform/Lookup.h"

namespace mirefell
{

namespace
{

constexpr float SpriteYawOffset = 3.1415927f; // the sprites face away from +z
constexpr float MeleeRange = 15.0f;
constexpr int32_t WalkFrameTicks = 15;

struct DifficultyFactors
{
    float speed;
    float damage;
};

// Built on first use; a difficulty outside 1 to 5 throws.
const DifficultyFactors& FactorsOf(GameDifficulty difficulty)
{
    static const std::map<GameDifficulty, DifficultyFactors> factors = {{GameDifficulty::Easy, {1.0f, 0.5f}},
                                                                        {GameDifficulty::Normal, {1.0f, 1.0f}},
                                                                        {GameDifficulty::Hard, {1.5f, 1.5f}},
                                                                        {GameDifficulty::VeryHard, {2.0f, 2.0f}},
                                                                        {GameDifficulty::Masochistic, {2.5f, 2.5f}}};
    return MapAt(factors, difficulty);
}

} // namespace

MonsterType MonsterTypeFromString(const std::string& name)
{
    static const std::map<std::string, MonsterType> types = {{"nom", MonsterType::Nom}, {"eye", MonsterType::Eye}};
    return MapAt(types, name);
}

float MonsterSpeedFactor(GameDifficulty difficulty)
{
    return FactorsOf(difficulty).speed;
}

float MonsterDamageFactor(GameDifficulty difficulty)
{
    return FactorsOf(difficulty).damage;
}

MonsterData MakeNomData(GameDifficulty difficulty)
{
    MonsterData data;
    data.halfExtents = Vector3(7.2f, 8.0f, 7.2f);
    data.spriteScale = Vector3(0.9f, 0.9f, 0.9f);
    data.spawnOffset = Vector3(3.6f, 8.03f, 3.6f);
    data.spriteYawOffset = SpriteYawOffset;
    data.flinchChance = 0.25f;
    data.attackKind = MonsterAttackKind::Melee;
    data.maxHealth = 50.0f;
    data.biteCooldown = 30; // 500 ms
    data.meleeRange = MeleeRange;
    data.chaseScatter = 20.0f;
    data.attackWindup = 21; // 350 ms
    data.walkFrameTicks = WalkFrameTicks;
    data.bloodColor = Color(1.0f, 0.0f, 0.0f, 1.0f);
    data.speed = 0.75f * MonsterSpeedFactor(difficulty);
    data.biteDamage = 15.0f * MonsterDamageFactor(difficulty);
    return data;
}

MonsterData MakeEyeData(GameDifficulty difficulty)
{
    MonsterData data;
    data.halfExtents = Vector3(5.6f, 8.0f, 5.6f);
    data.spriteScale = Vector3(0.5f, 0.5f, 0.5f);
    data.spawnOffset = Vector3(2.8f, 8.03f, 2.8f);
    data.spriteYawOffset = SpriteYawOffset;
    data.flinchChance = 0.75f;
    data.attackKind = MonsterAttackKind::Ranged;
    data.maxHealth = 15.0f;
    data.meleeRange = MeleeRange;
    data.chaseScatter = 30.0f;
    data.rangedCooldownBase = 90;   // 1500 ms
    data.rangedCooldownRandom = 60; // 1000 ms
    data.rangedRange = 1000.0f;
    data.projectileType = 3; // the eye's shot
    data.projectileColor = Color(1.0f, 1.0f, 1.0f, 1.0f);
    data.projectileLightColor = Color(0.75f, 0.85f, 1.0f, 1.0f);
    data.attackWindup = 30; // 500 ms
    data.walkFrameTicks = WalkFrameTicks;
    data.bloodColor = Color(0.0f, 1.0f, 1.0f, 1.0f);
    data.speed = 0.25f * MonsterSpeedFactor(difficulty);
    data.projectileDamage = 25.0f * MonsterDamageFactor(difficulty);
    return data;
}

const std::map<MonsterType, MonsterDataMaker> MonsterDataMakers = {{MonsterType::Nom, MakeNomData},
                                                                   {MonsterType::Eye, MakeEyeData}};

} // namespace mirefell
