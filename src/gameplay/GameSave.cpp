#include "gameplay/GameSave.h"

#include <algorithm>
#include <cmath>
#include <ctime>

#include "platform/Lookup.h"

namespace mirefell
{

namespace
{

const std::map<GameDifficulty, std::wstring>& DifficultyNames()
{
    static const std::map<GameDifficulty, std::wstring> names = {
        {GameDifficulty::Easy, L"Easy"},
        {GameDifficulty::Normal, L"Normal"},
        {GameDifficulty::Hard, L"Hard"},
        {GameDifficulty::VeryHard, L"Very Hard"},
        {GameDifficulty::Masochistic, L"Masochistic"},
    };
    return names;
}

const std::map<GameDifficulty, float>& ScoreFactors()
{
    static const std::map<GameDifficulty, float> factors = {
        {GameDifficulty::Easy, 0.75f},    {GameDifficulty::Normal, 1.0f},      {GameDifficulty::Hard, 1.25f},
        {GameDifficulty::VeryHard, 1.5f}, {GameDifficulty::Masochistic, 3.0f},
    };
    return factors;
}

// A level finished in no time earns this many points, one in three minutes
// none; each second in between earns its share.
constexpr float TimeBonusPoints = 8888.833f;
constexpr float OneOverParSeconds = 0.0055555557f; // 1 / 180
constexpr int32_t ParSeconds = 180;
// All 54 pickups of the game together earn this many points.
constexpr float AllPickupsPoints = 53333.0f;
constexpr float OneOverAllPickups = 0.018518519f; // 1 / 54
constexpr float ModifierFactor = 1.25f;

} // namespace

const std::wstring& GetDifficultyName(GameDifficulty difficulty)
{
    return MapAt(DifficultyNames(), difficulty);
}

float GetDifficultyScoreFactor(GameDifficulty difficulty)
{
    return MapAt(ScoreFactors(), difficulty);
}

bool IsValidDifficulty(GameDifficulty difficulty)
{
    return DifficultyNames().count(difficulty) != 0;
}

GameSave::GameSave() : lootSeed(static_cast<uint32_t>(std::time(nullptr))) {}

int32_t GameSave::GetScore() const
{
    // Every step in float, in this order: the score must come out the same
    // to the point on every machine.
    size_t pickedCount = 0;
    float timeBonus = 0.0f;
    for (const auto& [id, level] : levels) {
        pickedCount += level.pickedUpItemIds.size();
        if (level.bestTime >= 0) {
            const float secondsUnderPar = static_cast<float>(ParSeconds - std::min(level.bestTime, ParSeconds));
            timeBonus += secondsUnderPar * TimeBonusPoints * OneOverParSeconds;
        }
    }
    const float picked = static_cast<float>(pickedCount);
    float x = picked * OneOverAllPickups * AllPickupsPoints + timeBonus;
    x = x * GetDifficultyScoreFactor(difficulty);
    x = x * (blackout ? ModifierFactor : 1.0f);
    x = x * (permadeath ? ModifierFactor : 1.0f);
    // Only a doctored record reaches this bound; converting a float beyond
    // the int range would be undefined.
    constexpr float Largest = 2147483520.0f; // the largest float below 2^31
    return static_cast<int32_t>(std::floor(std::min(x, Largest)));
}

} // namespace mirefell
