#include "gameplay/ProjectileData.h"

#include "platform/Lookup.h"

namespace mirefell
{

namespace
{

ProjectileData MakeBoltData(GameDifficulty)
{
    ProjectileData data;
    data.halfExtents = {1.0f, 1.0f, 1.0f};
    data.scale = {1.0f, 1.0f, 3.0f};
    data.speed = 5.0f;
    data.range = 1000.0f;
    data.bounces = true;
    return data;
}

ProjectileData MakeEyeShotData(GameDifficulty difficulty)
{
    ProjectileData data;
    data.halfExtents = {2.0f, 2.0f, 2.0f};
    data.scale = {3.0f, 3.0f, 3.0f};
    data.spin = true;
    data.speed = 2.0f * GetProjectileSpeedFactor(difficulty);
    data.range = 1000.0f;
    return data;
}

ProjectileData MakeRocketData(GameDifficulty)
{
    ProjectileData data;
    data.halfExtents = {2.0f, 2.0f, 2.0f};
    data.scale = {2.0f, 2.0f, 2.0f};
    data.spin = true;
    data.speed = 4.0f;
    data.range = 500.0f;
    data.explosive = true;
    data.explosionRadius = 30.0f;
    return data;
}

} // namespace

std::map<ProjectileType, ProjectileDataMaker>& GetProjectileDataMakers()
{
    static std::map<ProjectileType, ProjectileDataMaker> makers = {
        {ProjectileType::Bolt, MakeBoltData},
        {ProjectileType::HyperBlasterBolt, MakeBoltData},
        {ProjectileType::EyeShot, MakeEyeShotData},
        {ProjectileType::Rocket, MakeRocketData},
    };
    return makers;
}

ProjectileData MakeProjectileData(ProjectileType type, GameDifficulty difficulty)
{
    return MapAt(GetProjectileDataMakers(), type)(difficulty);
}

float GetProjectileSpeedFactor(GameDifficulty difficulty)
{
    static const std::map<GameDifficulty, float> factors = {
        {GameDifficulty::Easy, 1.0f},     {GameDifficulty::Normal, 1.0f},      {GameDifficulty::Hard, 1.5f},
        {GameDifficulty::VeryHard, 2.0f}, {GameDifficulty::Masochistic, 2.5f},
    };
    return MapAt(factors, difficulty);
}

} // namespace mirefell
