// Projectiles in flight: tuning by kind and difficulty, a bolt's bounces and
// its fizzle at the end of its life, a rocket's lifetime, its one blast and
// its fireball, a shot the player shrugs off turning back, a shot with
// no direction, and shots past the pool's room.
#include <cmath>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "gameplay/GameSaveManager.h"
#include "gameplay/Player.h"
#include "gameplay/Projectile.h"
#include "gameplay/ProjectilePool.h"
#include "platform/Random.h"
#include "render/ParticleSimulator.h"
#include "render/ParticleSystem.h"
#include "render/PointLight.h"
#include "support/GameplayFixture.h"
#include "support/MapRecords.h"
#include "support/WorldFixture.h"
#include "world/WorldCollision.h"

namespace mirefell::testing
{
namespace
{

// One open room of `size` units with a floor at 0 and walls `wallHeight`
// high (none when 0), counter-clockwise so they face in; the player starts
// in a corner.
MapData Room(float size, float wallHeight)
{
    MapData map = RoomMap(0, 0, size, size);
    if (wallHeight > 0.0f) {
        const Vector2 a{0, 0}, b{0, size}, c{size, size}, d{size, 0};
        int32_t id = 1;
        for (const auto& [start, end] : {std::pair{a, b}, std::pair{b, c}, std::pair{c, d}, std::pair{d, a}})
            map.segments.push_back(WallSegment(id++, 1, start, end, 0, wallHeight));
    }
    map.playerStartPosition = {10, 10};
    return map;
}

// A monster that keeps the direction of the last blow.
class WatchedMonster : public TestMonster
{
public:
    using TestMonster::TestMonster;
    bool TakeDamage(float damage, GridObject* source, const Vector3& direction) override
    {
        lastDirection = direction;
        ++blows;
        return TestMonster::TakeDamage(damage, source, direction);
    }
    Vector3 lastDirection{9, 9, 9};
    int blows = 0;
};

class Projectiles : public GameplayTest
{
protected:
    void SetUp() override
    {
        GameplayTest::SetUp();
        GameSaveManager::GetInstance().current.difficulty = GameDifficulty::Normal;
    }

    WatchedMonster* AddMonster(const Vector3& at)
    {
        auto* monster = static_cast<WatchedMonster*>(
            world->AddObject(std::make_unique<WatchedMonster>(world.get(), at, Vector3(4, 8, 4))));
        monster->maxHealth = monster->health = 1000.0f;
        return monster;
    }

    // Spawned as if during the last step's pass: it has joined the objects,
    // and the next step is its first.
    Projectile* Fire(GridObject* owner, ProjectileType type, const Vector3& from, const Vector3& direction,
                     float damage)
    {
        auto* shot = static_cast<Projectile*>(
            world->SpawnProjectile(owner, type, {1, 1, 1, 1}, {1, 1, 1, 1}, from, direction, damage));
        world->AddObject(std::move(world->pendingObjects.back()));
        world->pendingObjects.pop_back();
        return shot;
    }

    bool InWorld(const GridObject* object) const
    {
        for (const auto& listed : world->objects)
            if (listed.get() == object)
                return true;
        return false;
    }

    size_t Particles() const { return world->particles->motions.size(); }
};

TEST_F(Projectiles, TuningFollowsTheKindAndTheEyeShotQuickensWithTheDifficulty)
{
    const ProjectileData bolt = MakeProjectileData(ProjectileType::HyperBlasterBolt, GameDifficulty::Easy);
    EXPECT_EQ(bolt.speed, 5.0f);
    EXPECT_TRUE(bolt.bounces);
    EXPECT_EQ(bolt.scale, Vector3(1, 1, 3));
    const ProjectileData rocket = MakeProjectileData(ProjectileType::Rocket, GameDifficulty::Easy);
    EXPECT_TRUE(rocket.explosive);
    EXPECT_EQ(rocket.explosionRadius, 30.0f);

    const ProjectileData easy = MakeProjectileData(ProjectileType::EyeShot, GameDifficulty::Easy);
    const ProjectileData hard = MakeProjectileData(ProjectileType::EyeShot, GameDifficulty::Masochistic);
    EXPECT_EQ(easy.speed, 2.0f);
    EXPECT_EQ(hard.speed, 5.0f);

    BuildLevel(Room(256, 0));
    GameSaveManager::GetInstance().current.difficulty = GameDifficulty::Masochistic;
    EXPECT_EQ(Fire(player, ProjectileType::EyeShot, {100, 50, 100}, {1, 0, 0}, 1)->lifetime, 200);
    GameSaveManager::GetInstance().current.difficulty = GameDifficulty::Easy;
    EXPECT_EQ(Fire(player, ProjectileType::EyeShot, {100, 50, 100}, {1, 0, 0}, 1)->lifetime, 500);
    EXPECT_EQ(Fire(player, ProjectileType::Rocket, {100, 50, 100}, {1, 0, 0}, 1)->lifetime, 125);

    // Only the eye's shot needs a known difficulty; an unknown kind fails.
    GameSaveManager::GetInstance().current.difficulty = GameDifficulty{};
    EXPECT_EQ(Fire(player, ProjectileType::Bolt, {100, 50, 100}, {1, 0, 0}, 1)->lifetime, 200);
    EXPECT_THROW(Fire(player, ProjectileType::EyeShot, {100, 50, 100}, {1, 0, 0}, 1), std::out_of_range);
    EXPECT_THROW(Fire(player, ProjectileType{7}, {100, 50, 100}, {1, 0, 0}, 1), std::out_of_range);
}

TEST_F(Projectiles, ABoltBouncesBetweenTheWallsAndFizzlesInItsTwoHundredAndFirstStep)
{
    BuildLevel(Room(64, 100));
    Projectile* bolt = Fire(player, ProjectileType::HyperBlasterBolt, {32, 50, 40}, {1, 0, 0}, 2.5f);
    Particle* body = bolt->instance;
    PointLight* light = bolt->light;
    ASSERT_TRUE(body && light);

    Step();
    EXPECT_FALSE(body->visible); // nothing shows at the muzzle
    EXPECT_EQ(light->enabled, 0);
    EXPECT_NEAR(bolt->position.x, 37.0f, 1e-4f);
    Step();
    EXPECT_TRUE(body->visible);
    EXPECT_EQ(light->enabled, 1);
    EXPECT_EQ(body->position, bolt->position);

    float lowest = bolt->position.x;
    float highest = bolt->position.x;
    for (int step = 3; step <= 200; ++step) {
        Step();
        lowest = std::min(lowest, bolt->position.x);
        highest = std::max(highest, bolt->position.x);
    }
    EXPECT_LT(highest, 63.0f); // turned back by both walls
    EXPECT_GT(lowest, 1.0f);
    EXPECT_LT(lowest, 10.0f);
    EXPECT_TRUE(InWorld(bolt));

    const size_t before = Particles();
    Step(); // the 201st
    EXPECT_FALSE(InWorld(bolt));
    EXPECT_TRUE(body->dead);
    EXPECT_EQ(light->remove, 1);
    EXPECT_EQ(Particles(), before + 5);
}

TEST_F(Projectiles, ARocketThatHitsNothingExplodesInItsHundredAndTwentySixthStepAndGrowsAFireball)
{
    BuildLevel(Room(1200, 0));
    Projectile* rocket = Fire(player, ProjectileType::Rocket, {100, 50, 600}, {1, 0, 0}, 85);
    Particle* body = rocket->instance;
    PointLight* light = rocket->light;
    EXPECT_EQ(body->shape, ParticleShapeSphere);
    Step(125);
    EXPECT_FALSE(rocket->exploding);
    EXPECT_NEAR(rocket->position.x, 600.0f, 1e-2f);
    Step();
    ASSERT_TRUE(rocket->exploding);
    EXPECT_NEAR(rocket->position.x, 604.0f, 1e-2f);
    EXPECT_FLOAT_EQ(light->colour.g, 0.21763764f); // 0.5 to the power 2.2

    // From 2 towards 30 in steps of 28 / 15; gone at the 15th step.
    const float radius = light->fixedRadius;
    Step();
    EXPECT_NEAR(body->scale.x, 2.0f + 28.0f / 15.0f, 1e-4f);
    EXPECT_FLOAT_EQ(light->fixedRadius, radius + 5.0f);
    EXPECT_NEAR(rocket->position.x, 604.0f, 1e-2f); // it no longer flies
    Step(13);
    EXPECT_NEAR(body->scale.x, 2.0f + 14.0f * 28.0f / 15.0f, 1e-3f);
    EXPECT_TRUE(InWorld(rocket));
    Step();
    EXPECT_FALSE(InWorld(rocket));
    EXPECT_TRUE(body->dead);
}

TEST_F(Projectiles, ARocketStrikingAtTheEndOfItsLifeBlastsOnceWithFallOff)
{
    BuildLevel(Room(1200, 0));
    // After 125 steps the rocket's front is at 602; in the 126th, its last,
    // its box reaches into the monster's (face at 603), and the blast is
    // centred where the step ends, 604: 3 from the monster, 0.9 of the
    // damage.
    WatchedMonster* struck = AddMonster({607, 50, 600});
    WatchedMonster* beside = AddMonster({604, 50, 620}); // 20 from the blast: half
    Projectile* rocket = Fire(player, ProjectileType::Rocket, {100, 50, 600}, {1, 0, 0}, 85);
    Step(126);
    ASSERT_TRUE(rocket->exploding);
    EXPECT_EQ(struck->blows, 1);
    EXPECT_FLOAT_EQ(struck->damageTaken, 76.5f);
    EXPECT_EQ(struck->lastAttacker, player);
    EXPECT_EQ(beside->blows, 1);
    EXPECT_FLOAT_EQ(beside->damageTaken, 42.5f);
    Step(20);
    EXPECT_EQ(struck->blows, 1);
}

TEST_F(Projectiles, AShotThePlayerShrugsOffTurnsBackAndHurtsItsShooter)
{
    BuildLevel(Room(256, 0));
    player->godMode = true;
    world->collision->PlaceObject(player, {100, 7.0f, 100});
    WatchedMonster* eye = AddMonster({140, 7, 100});
    Projectile* shot = Fire(eye, ProjectileType::EyeShot, {110, 7, 100}, {-1, 0, 0}, 10);
    SeedRand(1); // the first draw, 41, is within the 25 %
    Step(3);
    EXPECT_EQ(shot->owner, player);
    EXPECT_FLOAT_EQ(shot->direction.x, 1.0f);
    EXPECT_EQ(player->health, 100.0f);
    for (int i = 0; i < 30 && eye->blows == 0; ++i)
        Step();
    EXPECT_EQ(eye->blows, 1);
    EXPECT_EQ(eye->lastAttacker, player);
    EXPECT_FLOAT_EQ(eye->damageTaken, 10.0f);
}

TEST_F(Projectiles, AShotWithoutDirectionHitsWhatItStandsInWithoutNaN)
{
    BuildLevel(Room(256, 0));
    WatchedMonster* monster = AddMonster({150, 50, 150});
    Projectile* shot = Fire(nullptr, ProjectileType::EyeShot, {150, 50, 150}, {0, 0, 0}, 4);
    EXPECT_FALSE(std::isnan(shot->instance->rotation.x));
    Step();
    EXPECT_EQ(monster->blows, 1);
    EXPECT_EQ(monster->lastDirection, Vector3(0, 0, 0));
    EXPECT_FALSE(InWorld(shot));
}

TEST_F(Projectiles, ShotsPastThePoolsRoomComeFromTheHeapAndFlyAlike)
{
    BuildLevel(Room(256, 32));
    ProjectilePool& pool = ProjectilePool::GetInstance();
    const size_t freeAtStart = pool.FreeSlots();
    std::vector<std::unique_ptr<GridObject>> held;
    while (pool.FreeSlots() > 0)
        held.push_back(World::MakeProjectile(*world, player, ProjectileType::HyperBlasterBolt, {}, {}, {100, 20, 100},
                                             {1, 0, 0}, 1.0f));
    EXPECT_TRUE(pool.Owns(held.back().get()));

    Projectile* overflow = Fire(player, ProjectileType::Rocket, {100, 20, 100}, {1, 0, 0}, 1.0f);
    EXPECT_FALSE(pool.Owns(overflow));
    EXPECT_GE(overflow->cells.capacity(), GridObject::ReservedCells);
    Step(3);
    EXPECT_FLOAT_EQ(overflow->position.x, 112.0f); // 4 units a step
    EXPECT_FALSE(overflow->cells.empty());

    held.clear();
    EXPECT_EQ(pool.FreeSlots(), freeAtStart);
    Step(60); // the overflow shot meets the far wall in 36 steps, its fireball lasts 15
    EXPECT_FALSE(InWorld(overflow));
    EXPECT_TRUE(pool.Owns(Fire(player, ProjectileType::Rocket, {100, 20, 100}, {0, 0, 1}, 1.0f)));
}

} // namespace
} // namespace mirefell::testing
