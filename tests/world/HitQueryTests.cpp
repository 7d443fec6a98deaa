// The hit queries in a small room with one wall: hitscan pellets and their
// spread, the hammer's reach, line of sight, the projectile sweep's impact
// rules (bounce, strike, hurt, shrug-off and deflection), the particles'
// landing trace and the blast's fall-off.
#include <gtest/gtest.h>

#include <memory>

#include "platform/Random.h"
#include "render/ParticleSimulator.h"
#include "support/WorldFixture.h"
#include "world/HitscanWeaponData.h"
#include "world/IProjectile.h"
#include "world/MapTestData.h"
#include "world/WorldCollision.h"

namespace mirefell
{
namespace
{

using testing::TestMonster;
using testing::TestObject;
using testing::WorldFixture;

const Vector3 MonsterHalf{4.0f, 8.0f, 4.0f};

// One 256 x 256 room whose only wall stands at x = 200, facing -x, from the
// floor to 128.
MapData RoomWithWall()
{
    MapData map = testing::RoomMap(0, 0, 256, 256);
    map.segments.push_back(testing::WallSegment(1, 1, {200, 256}, {200, 0}, 0, 128));
    return map;
}

// A shot the trace drives: it records what the trace does to it.
class TestShot : public GridObject, public IProjectile
{
public:
    TestShot(World* world_, GridObject* owner_, const Vector3& at, bool bounces_, bool explosive_)
        : GridObject(world_, {}, owner_), owner(owner_), bounces(bounces_), explosive(explosive_)
    {
        typeMask = GridObjectType::Projectile;
        halfExtents = collisionHalfExtents = Vector3(1.0f);
        position = at;
        UpdateBounds();
    }
    bool TakeDamage(float, GridObject*, const Vector3&) override
    {
        ++impacts;
        impactAt = position;
        Remove();
        return true;
    }
    void SetPosition(const Vector3& at) override
    {
        position = at;
        UpdateBounds();
    }
    Vector3 GetCollisionHalfExtents() override { return collisionHalfExtents; }
    Vector3 GetSize() override { return halfExtents; }
    GridObject* GetOwner() override { return owner; }
    bool Bounces() override { return bounces; }
    bool IsExplosive() override { return explosive; }
    float GetDamage() override { return 7.0f; }
    Color GetImpactColor() override { return {0.0f, 0.0f, 1.0f, 1.0f}; }
    void Deflect(GridObject* newOwner, bool reflect, const Vector3& normal) override
    {
        ++deflections;
        reflected = reflect;
        deflectNormal = normal;
        owner = newOwner;
    }

    GridObject* owner;
    bool bounces;
    bool explosive;
    int impacts = 0;
    Vector3 impactAt;
    int deflections = 0;
    bool reflected = false;
    Vector3 deflectNormal;
};

// A living player whose shield takes every blow.
class ShieldedPlayer : public TestObject, public IKillable
{
public:
    explicit ShieldedPlayer(World* world_) : TestObject(world_, GridObjectType::Player) {}
    bool TakeDamage(float, GridObject*, const Vector3&) override
    {
        ++blows;
        return false;
    }
    bool IsDead() override { return false; }
    bool Kill() override { return false; }
    Color GetBloodColor() override { return {1.0f, 0.0f, 0.0f, 1.0f}; }
    Vector3 GetPosition() override { return position; }
    int blows = 0;
};

struct HitQueries : ::testing::Test
{
    HitQueries() : fixture(RoomWithWall())
    {
        fixture.AddStaticGeometry();
        world().Reset();
        shooter = Add<TestObject>(GridObjectType::Player);
        shooter->Place({100, 50, 128}, {3, 7, 3});
        SeedRand(1);
    }
    World& world() { return *fixture.world; }
    WorldCollision& collision() { return *world().collision; }
    template <class T, class... Args> T* Add(Args&&... args)
    {
        return static_cast<T*>(world().AddObject(std::make_unique<T>(&world(), std::forward<Args>(args)...)));
    }
    TestMonster* AddMonster(const Vector3& at) { return Add<TestMonster>(at, MonsterHalf); }
    size_t Particles() { return world().particles->motions.size(); }
    Vector3 ParticleAt(size_t index) { return world().particles->motions[index].particle->position; }

    // A shot of `owner` made at `at` and traced over `move`; `from` and `to`
    // keep the trace's ends as it left them.
    TestShot* Fire(GridObject* owner, const Vector3& at, const Vector3& move, bool bounces = false,
                   bool explosive = false)
    {
        auto* shot = Add<TestShot>(owner, at, bounces, explosive);
        from = at;
        to = at + move;
        collision().TraceProjectile(shot, from, to);
        return shot;
    }

    WorldFixture fixture;
    TestObject* shooter = nullptr;
    Vector3 from, to;
};

TEST_F(HitQueries, ShotgunPelletsSpreadOverTheWallAtTheirDrawnAngles)
{
    HitscanWeaponData shotgun;
    shotgun.pellets = 6;
    shotgun.spread = 3.0f;
    collision().FireHitscan(shooter, {100, 50, 128}, shotgun, 3.5f, 0.0f, 90.0f);

    // Seeded with 1, the generator gives 41, 18467, ...; each pellet draws
    // two numbers (yaw, pitch) and its puff five more. Pellet 1: yaw 3 x (2 x
    // 41 / 32767 - 1) = -2.99249 degrees, pitch 90 + 3 x (2 x 18467 / 32767
    // - 1) = 90.38151; 100 units ahead the wall is met at z = 128 + 100 tan
    // (yaw) and y = 50 - 100 cot(pitch) / cos(yaw). The puff stands one unit
    // out from the wall.
    const float expected[6][2] = {{49.3332f, 122.7724f}, {46.6150f, 132.1489f}, {55.0845f, 125.9472f},
                                  {53.9911f, 127.4313f}, {48.8777f, 129.0657f}, {47.0320f, 129.1277f}};
    ASSERT_EQ(Particles(), 6u);
    for (size_t i = 0; i < 6; ++i) {
        const Vector3 puff = ParticleAt(i);
        EXPECT_NEAR(puff.x, 199.0f, 1e-3f) << "pellet " << i;
        EXPECT_NEAR(puff.y, expected[i][0], 2e-3f) << "pellet " << i;
        EXPECT_NEAR(puff.z, expected[i][1], 2e-3f) << "pellet " << i;
    }
}

TEST_F(HitQueries, EveryPelletHurtsTheMonsterInFrontAndNoneTheOneBehindTheWall)
{
    TestMonster* front = AddMonster({150, 50, 128});
    TestMonster* behind = AddMonster({220, 50, 128});
    front->maxHealth = front->health = 1000.0f;
    HitscanWeaponData gun;
    gun.pellets = 4;
    gun.spread = 1.0f;
    collision().FireHitscan(shooter, {100, 50, 128}, gun, 2.5f, 0.0f, 90.0f);
    EXPECT_FLOAT_EQ(front->damageTaken, 10.0f);
    EXPECT_EQ(front->lastAttacker, shooter);
    EXPECT_EQ(behind->damageTaken, 0.0f);
    EXPECT_GE(Particles(), 4u * 3u); // 3 to 6 drops of blood per pellet

    // A shooter that is not the player hits walls only.
    TestObject* other = Add<TestObject>(GridObjectType::Monster);
    collision().FireHitscan(other, {100, 50, 128}, gun, 2.5f, 0.0f, 90.0f);
    EXPECT_FLOAT_EQ(front->damageTaken, 10.0f);
}

TEST_F(HitQueries, TheHammerReachesTwelveUnitsFromTheEye)
{
    TestMonster* near = AddMonster({115, 50, 128}); // box face at 111: 11 from the eye
    collision().HammerHit(shooter, {100, 50, 128}, {1, 0, 0}, 12.5f);
    EXPECT_FLOAT_EQ(near->damageTaken, 12.5f);

    near->SetPosition({118, 50, 128}); // face at 114
    near->SetCells(world().GetCellRange({{114, 124}, {122, 132}}));
    collision().HammerHit(shooter, {100, 50, 128}, {1, 0, 0}, 12.5f);
    EXPECT_FLOAT_EQ(near->damageTaken, 12.5f);

    // Against the wall: five white puffs one unit out from it.
    const size_t before = Particles();
    collision().HammerHit(shooter, {190, 50, 40}, {1, 0, 0}, 12.5f);
    ASSERT_EQ(Particles(), before + 5);
    EXPECT_NEAR(ParticleAt(before).x, 199.0f, 1e-3f);
}

TEST_F(HitQueries, LineOfSightIsBlockedByWallsButNotByOtherMonsters)
{
    TestMonster* watcher = AddMonster({40, 50, 128});
    TestMonster* between = AddMonster({70, 50, 128});
    TestObject* target = shooter;
    EXPECT_TRUE(collision().CanReach(watcher, target, 100.0f));
    EXPECT_FALSE(collision().CanReach(watcher, target, 59.0f)); // 60 away

    // The wall faces the room, as a map's walls do.
    auto* beyondWall = Add<TestObject>(GridObjectType::Player);
    beyondWall->Place({240, 50, 128}, {3, 7, 3});
    EXPECT_FALSE(collision().CanReach(between, beyondWall, 500.0f));
}

TEST_F(HitQueries, ABouncingShotReflectsOffTheWallAndStaysWhereItWas)
{
    auto* shot = Fire(shooter, {195, 50, 40}, {5, 0, 0}, true, false);
    EXPECT_EQ(shot->deflections, 1);
    EXPECT_TRUE(shot->reflected);
    EXPECT_NEAR(shot->deflectNormal.x, -1.0f, 1e-5f);
    EXPECT_EQ(shot->owner, shooter);
    EXPECT_EQ(shot->impacts, 0);
    EXPECT_EQ(to, from);
    EXPECT_EQ(shot->position, from);
    EXPECT_FALSE(shot->cells.empty()); // placed again
}

TEST_F(HitQueries, AShotStrikesTheWallAtItsContactWithPuffsUnlessExplosive)
{
    auto* shot = Fire(shooter, {195, 50, 40}, {5, 0, 0});
    EXPECT_EQ(shot->impacts, 1);
    EXPECT_NEAR(shot->impactAt.x, 199.0f, 0.01f); // the unit sphere touches the wall
    EXPECT_EQ(Particles(), 5u);
    EXPECT_TRUE(shot->removed);

    auto* rocket = Fire(shooter, {195, 50, 80}, {5, 0, 0}, false, true);
    EXPECT_EQ(rocket->impacts, 1);
    EXPECT_EQ(Particles(), 5u);
}

TEST_F(HitQueries, AShotHurtsTheFirstBodyButNeverItsOwner)
{
    TestMonster* monster = AddMonster({130, 50, 128});
    auto* shot = Fire(shooter, {110, 50, 128}, {30, 0, 0});
    EXPECT_FLOAT_EQ(monster->damageTaken, 7.0f);
    EXPECT_EQ(monster->lastAttacker, shooter);
    EXPECT_EQ(shot->impacts, 1);
    EXPECT_NEAR(shot->impactAt.x, 125.0f, 1e-3f); // its box meets the monster's face at 126

    // Fired from inside its owner's box, it flies on.
    auto* own = Fire(shooter, {100, 50, 128}, {0, 0, 5});
    EXPECT_EQ(own->impacts, 0);
    EXPECT_EQ(own->position, to);
}

TEST_F(HitQueries, AShotThePlayerShrugsOffTurnsBackOneTimeInFour)
{
    auto* player = Add<ShieldedPlayer>();
    player->Place({150, 50, 128}, {3, 7, 3});
    TestMonster* eye = AddMonster({180, 50, 128});

    // The first number after seed 1 is 41: 41 / 32767 x 100 <= 25, back it goes.
    auto* shot = Fire(eye, {160, 50, 128}, {-8, 0, 0});
    EXPECT_EQ(player->blows, 1);
    EXPECT_EQ(shot->deflections, 1);
    EXPECT_FALSE(shot->reflected);
    EXPECT_EQ(shot->owner, player);
    EXPECT_EQ(shot->impacts, 0);
    EXPECT_EQ(shot->position, from);

    // The next is 18467 (56 %): the shot strikes the shield and ends.
    auto* second = Fire(eye, {160, 50, 128}, {-8, 0, 0});
    EXPECT_EQ(second->deflections, 0);
    EXPECT_EQ(second->impacts, 1);
    EXPECT_EQ(Particles(), 5u); // puffs, no blood
}

TEST_F(HitQueries, AShotWhoseMoveMissesTheGridStaysPut)
{
    auto* shot = Fire(shooter, {-50, 50, 128}, {-5, 0, 0});
    EXPECT_EQ(shot->position, from);
    EXPECT_EQ(shot->impacts, 0);
}

TEST_F(HitQueries, ParticlesLandOnStaticGeometryOnly)
{
    Vector3 to{210, 50, 40};
    Vector3 normal;
    EXPECT_TRUE(collision().TraceLineOfSight({190, 50, 40}, to, normal));
    EXPECT_NEAR(to.x, 199.0f, 0.01f);
    EXPECT_NEAR(normal.x, -1.0f, 1e-5f);

    // A monster in the way is no landing place; an open path changes nothing.
    AddMonster({150, 50, 40});
    to = {170, 50, 40};
    normal = {};
    EXPECT_FALSE(collision().TraceLineOfSight({130, 50, 40}, to, normal));
    EXPECT_EQ(to, Vector3(170, 50, 40));
    EXPECT_EQ(normal, Vector3());

    // The World's particles use it: a puff thrown at the wall lands there.
    ParticleMotion& puff = world().particles->Spawn({1, 1, 1, 1}, ParticleKindPuff, {195, 50, 40});
    puff.particle->position = {195, 50, 40};
    puff.velocity = {1, 0, 0};
    Particle* particle = puff.particle;
    for (int i = 0; i < 5; ++i)
        world().particles->Update();
    ASSERT_TRUE(world().particles->motions.back().landed);
    EXPECT_NEAR(particle->position.x, 199.0f, 0.01f);
}

TEST_F(HitQueries, TheBlastFallsOffWithDistanceToHalfAndSparesTheDead)
{
    const Vector3 centre{100, 50, 40};
    TestMonster* atCentre = AddMonster(centre);
    TestMonster* quarter = AddMonster(centre + Vector3(7.5f, 0, 0));  // 1 - 7.5 / 30 = 0.75
    TestMonster* far = AddMonster(centre + Vector3(0, 0, 24));        // 1 - 24 / 30 = 0.2: half
    TestMonster* outside = AddMonster(centre + Vector3(0, 0, 34.5f)); // box from 30.5: untouched
    TestMonster* corpse = AddMonster(centre + Vector3(-10, 0, 0));
    corpse->dead = true;
    for (TestMonster* monster : {atCentre, quarter, far, outside})
        monster->maxHealth = monster->health = 1000.0f;

    collision().SplashDamage(centre, shooter, 100.0f, 30.0f);
    EXPECT_FLOAT_EQ(atCentre->damageTaken, 100.0f);
    EXPECT_FLOAT_EQ(quarter->damageTaken, 75.0f);
    EXPECT_FLOAT_EQ(far->damageTaken, 50.0f);
    EXPECT_EQ(outside->damageTaken, 0.0f);
    EXPECT_EQ(corpse->damageTaken, 0.0f);
    EXPECT_EQ(atCentre->lastAttacker, shooter);
    // Each of the three bleeds 10 to 20 particles.
    EXPECT_GE(Particles(), 30u);
    EXPECT_LE(Particles(), 60u);
}

TEST_F(HitQueries, ProjectilesAreMadeByTheFactoryTableAndJoinAfterThePass)
{
    EXPECT_THROW(World::MakeProjectile(world(), shooter, ProjectileType::Rocket, {}, {}, {}, {1, 0, 0}, 1.0f),
                 std::bad_function_call);

    ProjectileType madeType{};
    world().factories.projectile = [&](World& w, GridObject* owner, ProjectileType type, const Color&, const Color&,
                                       const Vector3& origin, const Vector3& direction,
                                       float damage) -> std::unique_ptr<GridObject> {
        madeType = type;
        auto shot = std::make_unique<TestShot>(&w, owner, origin, false, false);
        shot->halfExtents = direction * damage;
        return shot;
    };
    GridObject* shot = world().SpawnProjectile(shooter, ProjectileType::EyeShot, {}, {}, {1, 2, 3}, {1, 0, 0}, 4.0f);
    EXPECT_EQ(madeType, ProjectileType::EyeShot);
    EXPECT_EQ(shot->position, Vector3(1, 2, 3));
    EXPECT_EQ(shot->halfExtents, Vector3(4, 0, 0));
    ASSERT_EQ(world().pendingObjects.size(), 1u);
    EXPECT_EQ(world().pendingObjects.back().get(), shot);
}

} // namespace
} // namespace mirefell
