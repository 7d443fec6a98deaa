// Monster data: the two kinds at every difficulty, and the look-ups that
// must fail.
#include <gtest/gtest.h>

#include <stdexcept>

#include "gameplay/MonsterData.h"
#include "platform/Lookup.h"

namespace mirefell
{
namespace
{

TEST(MonsterData, TheFiveDifficultiesScaleOnlySpeedAndDamage)
{
    struct Row
    {
        GameDifficulty difficulty;
        float nomSpeed, bite, eyeSpeed, shot;
    };
    const Row rows[] = {{GameDifficulty::Easy, 0.75f, 7.5f, 0.25f, 12.5f},
                        {GameDifficulty::Normal, 0.75f, 15.0f, 0.25f, 25.0f},
                        {GameDifficulty::Hard, 1.125f, 22.5f, 0.375f, 37.5f},
                        {GameDifficulty::VeryHard, 1.5f, 30.0f, 0.5f, 50.0f},
                        {GameDifficulty::Masochistic, 1.875f, 37.5f, 0.625f, 62.5f}};
    for (const Row& row : rows) {
        SCOPED_TRACE(static_cast<int>(row.difficulty));
        const MonsterData nom = MapAt(MonsterDataMakers, MonsterType::Nom)(row.difficulty);
        const MonsterData eye = MapAt(MonsterDataMakers, MonsterType::Eye)(row.difficulty);
        EXPECT_FLOAT_EQ(nom.speed, row.nomSpeed);
        EXPECT_FLOAT_EQ(nom.biteDamage, row.bite);
        EXPECT_FLOAT_EQ(eye.speed, row.eyeSpeed);
        EXPECT_FLOAT_EQ(eye.projectileDamage, row.shot);
        // The rest is the same on every difficulty.
        EXPECT_FLOAT_EQ(nom.maxHealth, 50.0f);
        EXPECT_FLOAT_EQ(eye.maxHealth, 15.0f);
        EXPECT_EQ(nom.attackWindup, 21);
        EXPECT_EQ(eye.rangedCooldownBase, 90);
        EXPECT_FLOAT_EQ(eye.biteDamage, 0.0f); // not the eye's
    }

    const MonsterData nom = MakeNomData(GameDifficulty::Normal);
    EXPECT_EQ(nom.halfExtents, Vector3(7.2f, 8.0f, 7.2f));
    EXPECT_EQ(nom.spawnOffset, Vector3(3.6f, 8.03f, 3.6f));
    EXPECT_EQ(nom.attackKind, MonsterAttackKind::Melee);
    EXPECT_EQ(nom.projectileColor, Color(0, 0, 0, 1)); // unused, default
    EXPECT_EQ(nom.bloodColor, Color(1, 0, 0, 1));
    const MonsterData eye = MakeEyeData(GameDifficulty::Normal);
    EXPECT_EQ(eye.projectileType, 3);
    EXPECT_EQ(eye.projectileLightColor, Color(0.75f, 0.85f, 1.0f, 1.0f));
    EXPECT_EQ(eye.bloodColor, Color(0, 1, 1, 1));
    EXPECT_FLOAT_EQ(eye.spriteYawOffset, 3.1415927f);
}

TEST(MonsterData, UnknownKindsAndDifficultiesAreRefused)
{
    EXPECT_EQ(MonsterTypeFromString("nom"), MonsterType::Nom);
    EXPECT_EQ(MonsterTypeFromString("eye"), MonsterType::Eye);
    for (const auto& refuse : {+[] { MonsterTypeFromString("Nom"); }, +[] { MakeNomData(GameDifficulty{0}); },
                               +[] { MakeEyeData(GameDifficulty{6}); }}) {
        try {
            refuse();
            ADD_FAILURE() << "accepted";
        } catch (const std::out_of_range& error) {
            EXPECT_STREQ(error.what(), "invalid map<K, T> key");
        }
    }
}

} // namespace
} // namespace mirefell
