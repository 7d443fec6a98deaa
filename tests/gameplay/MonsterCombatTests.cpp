// Monsters fighting in the test map: the nom's wind-up and bite, the flinch
// rolls over the game's generator, the eye's shots at other monsters, kills
// and the bloodlust heal, a charge that fires at a target gone behind a
// wall, and what must not break (no target, no sector, a harmless source,
// a target at the muzzle, no health).
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "gameplay/ItemMakers.h"
#include "gameplay/MonsterFixture.h"
#include "gameplay/Projectile.h"
#include "platform/Random.h"
#include "world/AIRegion.h"
#include "world/MapEntityTypes.h"

namespace mirefell::testing
{
namespace
{

class MonsterCombat : public MonsterTest
{
protected:
    // The projectiles in flight, joined or still pending.
    std::vector<Projectile*> Projectiles() const
    {
        std::vector<Projectile*> found;
        for (const auto* list : {&world->objects, &world->pendingObjects})
            for (const auto& object : *list)
                if (auto* shot = dynamic_cast<Projectile*>(object.get()); shot && !shot->removed)
                    found.push_back(shot);
        return found;
    }
    // Steps the level until no projectile flies (at most `limit` steps).
    void StepUntilTheShotLands(int limit = 60)
    {
        for (int i = 0; i < limit && !Projectiles().empty(); ++i)
            Step();
        ASSERT_TRUE(Projectiles().empty());
    }
};

TEST_F(MonsterCombat, TheNomBitesTwentyOneStepsIntoItsWindUpUnlessTheTargetLeavesReach)
{
    Build();
    PlacePlayer(219.6f, 0.0f, 80.0f); // 12.4 ahead of the nom
    nom->Roar(true);
    Run(*nom, 1);
    ASSERT_TRUE(nom->attacking);
    EXPECT_EQ(nom->windupLeft, 21);
    Run(*nom, 20);
    EXPECT_TRUE(nom->attacking);
    EXPECT_FLOAT_EQ(player->health, 100.0f);
    Run(*nom, 1);
    EXPECT_FALSE(nom->attacking);
    EXPECT_FLOAT_EQ(player->health, 85.0f);
    EXPECT_EQ(nom->biteCooldownLeft, 30);

    // It keeps after the player for 30 steps without a new wind-up.
    Run(*nom, 30);
    EXPECT_FALSE(nom->attacking);
    Run(*nom, 1);
    ASSERT_TRUE(nom->attacking);

    // The player steps back out of reach before the bite: no bite.
    Run(*nom, 10);
    PlacePlayer(219.6f, 0.0f, 110.0f);
    Run(*nom, 10);
    EXPECT_TRUE(nom->attacking);
    Run(*nom, 1);
    EXPECT_FALSE(nom->attacking);
    EXPECT_EQ(nom->windupLeft, 0);
    EXPECT_EQ(nom->biteCooldownLeft, 0);
    EXPECT_FLOAT_EQ(player->health, 85.0f);
}

TEST_F(MonsterCombat, FlinchRollsCancelAWindUpAQuarterOfTheTimeForTheNomAndThreeQuartersForTheEye)
{
    Build();
    // Seed 1 gives 41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962,
    // 24464, 5705, 28145. A hit draws one number (a flinch when it is at
    // most the chance x 32767) and a flinch one more for the sprite's tilt.
    const auto hits = [&](Monster& monster, int count) {
        SeedRand(1);
        std::vector<int> flinched;
        for (int i = 0; i < count; ++i) {
            monster.flinching = false;
            monster.StartAttack();
            EXPECT_TRUE(monster.TakeDamage(1.0f, player, Vector3()));
            flinched.push_back(monster.flinching ? 1 : 0);
            EXPECT_EQ(monster.attacking, !monster.flinching);
        }
        return flinched;
    };
    // Nom (8191.75): 41 and 6334 flinch; 19169 onwards do not.
    EXPECT_EQ(hits(*nom, 8), (std::vector<int>{1, 1, 0, 0, 0, 0, 0, 0}));
    // Eye (24575.25): 41, 6334, 19169, 11478 and 24464 flinch; 26962 and
    // 28145 do not.
    EXPECT_EQ(hits(*eye, 7), (std::vector<int>{1, 1, 1, 1, 0, 1, 0}));
    EXPECT_FLOAT_EQ(nom->health, 42.0f);
    EXPECT_FLOAT_EQ(eye->health, 8.0f);
    EXPECT_EQ(nom->state, MonsterState::Hunting);
}

TEST_F(MonsterCombat, AnEyesShotSparesEyesHurtsANomThatTurnsOnItAndKillsCountForThePlayer)
{
    MapEntity second;
    second.id = OtherRecordId;
    second.pos = {420.0f, 64.0f};
    second.y = 64.0f;
    second.entityType = *MapEntityTypes::Find("E");
    map.entities.push_back(second);
    Build();
    ASSERT_NE(other, nullptr);
    world->aiRegions->RegionForSector(3)->awakened = true; // the player has been there
    PlacePlayer(160.0f, 0.0f, 110.0f);

    eye->SetTarget(other);
    eye->FireProjectile();
    StepUntilTheShotLands();
    EXPECT_FLOAT_EQ(other->health, 15.0f);
    EXPECT_EQ(other->state, MonsterState::Asleep);
    EXPECT_NE(other->target, static_cast<IKillable*>(eye));

    PlaceMonster(*nom, 430.0f, 64.0f, 34.8f); // on the ledge, ahead of the eye
    eye->SetTarget(nom);
    eye->FireProjectile();
    StepUntilTheShotLands();
    EXPECT_FLOAT_EQ(nom->health, 25.0f);
    EXPECT_EQ(nom->target, static_cast<IKillable*>(eye));
    EXPECT_EQ(nom->state, MonsterState::Hunting);

    // A stomp deals the eye's full health; the nom's target falls back to
    // the player.
    EXPECT_TRUE(eye->TakeDamage(eye->GetMaxHealth(), player, Vector3()));
    EXPECT_TRUE(eye->IsDead());
    EXPECT_EQ(player->killCount, 1);
    nom->Update();
    EXPECT_EQ(nom->target, static_cast<IKillable*>(player));

    // The other eye kills the nom: the player still counts it, once.
    nom->SetState(static_cast<uint32_t>(MonsterState::Held));
    other->SetTarget(nom);
    other->FireProjectile();
    StepUntilTheShotLands();
    EXPECT_TRUE(nom->IsDead());
    EXPECT_EQ(player->killCount, 2);
    EXPECT_FALSE(nom->Kill());
    EXPECT_FALSE(nom->TakeDamage(10.0f, player, Vector3()));
    EXPECT_EQ(player->killCount, 2);
}

TEST_F(MonsterCombat, BloodlustHealsAQuarterOfTheFullDamageUpToTheMaximum)
{
    Build();
    std::unique_ptr<Artifact> goggles = MakeArtifactBloodlust();
    player->artifacts[Player::ArtifactBloodlust] = goggles.get();
    player->health = 50.0f;
    nom->TakeDamage(80.0f, player, Vector3()); // 30 more than the nom had
    EXPECT_TRUE(nom->IsDead());
    EXPECT_FLOAT_EQ(player->health, 70.0f);
    player->health = 99.0f;
    eye->TakeDamage(8.0f, player, Vector3());
    EXPECT_FLOAT_EQ(player->health, 100.0f);
    player->artifacts.clear();
}

TEST_F(MonsterCombat, AChargedEyeFiresThirtyStepsLaterAtWhereItsTargetIsThen)
{
    Build();
    PlacePlayer(430.0f, 64.0f, 34.8f); // on the ledge, ahead of the eye
    eye->Roar(true);
    eye->rangedCooldownLeft = 0;
    Run(*eye, 1); // aims, steps 0.25 towards the player and charges
    ASSERT_TRUE(eye->attacking);
    EXPECT_FLOAT_EQ(eye->position.x, 403.05f);

    // Gone behind the hall's east wall, down in the hall.
    PlacePlayer(270.0f, 0.0f, 34.8f);
    Run(*eye, 29);
    EXPECT_TRUE(Projectiles().empty());
    SeedRand(12345); // the cooldown's draw: 7584, floor(60 x 0.2315) = 13
    Run(*eye, 1);
    EXPECT_FALSE(eye->attacking);
    EXPECT_EQ(eye->rangedCooldownLeft, 103);
    const std::vector<Projectile*> shots = Projectiles();
    ASSERT_EQ(shots.size(), 1u);
    // From (403.05, 76, 34.8) (its step stood it at floor + 8; the muzzle is
    // half its height higher), towards the player at (270, 7.03, 34.8).
    EXPECT_EQ(shots[0]->owner, eye);
    EXPECT_EQ(shots[0]->type, ProjectileType::EyeShot);
    EXPECT_FLOAT_EQ(shots[0]->damage, 25.0f);
    EXPECT_NEAR(shots[0]->direction.x, -0.887805f, 1e-4f);
    EXPECT_NEAR(shots[0]->direction.y, -0.460219f, 1e-4f);
    EXPECT_NEAR(shots[0]->direction.z, 0.0f, 1e-6f);
}

TEST_F(MonsterCombat, NoTargetNoSectorAHarmlessSourceAShotAtTheMuzzleAndNoHealthBreakNothing)
{
    Build();
    PlacePlayer(219.6f, 0.0f, 110.0f);

    // Without a player there is no one to hunt or wander from.
    GridObject* const keptPlayer = world->player;
    world->player = nullptr;
    nom->Roar(true);
    nom->SetTarget(nullptr);
    nom->direction = Vector3(1, 0, 0);
    nom->Update();
    nom->Wander();
    EXPECT_EQ(nom->target, nullptr);
    EXPECT_EQ(nom->direction, Vector3(1, 0, 0));
    world->player = keptPlayer;

    // Off every sector it keeps the last one it stood on.
    PlaceMonster(*nom, -100.0f, 0.0f, -100.0f);
    EXPECT_EQ(nom->sector->id, 3);
    EXPECT_NO_THROW(nom->Update());
    PlaceMonster(*nom, 219.6f, 0.0f, 67.6f);

    // A door or nothing at all hurts without being hunted.
    nom->SetTarget(player);
    EXPECT_TRUE(nom->TakeDamage(5.0f, hallDoor, Vector3()));
    EXPECT_TRUE(nom->TakeDamage(5.0f, nullptr, Vector3()));
    EXPECT_FLOAT_EQ(nom->health, 40.0f);
    EXPECT_EQ(nom->target, static_cast<IKillable*>(player));

    // A wind-up whose target dies is given up.
    nom->StartAttack();
    player->Kill();
    nom->Update();
    EXPECT_FALSE(nom->attacking);

    // A target right at the muzzle: the shot goes the way the eye faces
    // (rotation 90: +x).
    world->collision->PlaceObject(player, eye->position + Vector3(0.0f, eye->halfExtents.y * 0.5f, 0.0f));
    eye->SetTarget(player);
    eye->FireProjectile();
    const std::vector<Projectile*> shots = Projectiles();
    ASSERT_EQ(shots.size(), 1u);
    EXPECT_NEAR(shots[0]->direction.x, 1.0f, 1e-6f);
    EXPECT_NEAR(shots[0]->direction.z, 0.0f, 1e-6f);
    EXPECT_EQ(shots[0]->direction.y, 0.0f);

    // A kind without health shows an empty health bar.
    eye->data.maxHealth = 0.0f;
    EXPECT_EQ(eye->HealthFraction(), 0.0f);
    EXPECT_FLOAT_EQ(nom->HealthFraction(), 0.8f);
}

} // namespace
} // namespace mirefell::testing
