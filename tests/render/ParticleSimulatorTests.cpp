// Particle motion: launches, flight under gravity, landing, blood decals and
// the age limit.
#include <gtest/gtest.h>

#include <cmath>

#include "TestDecalGrid.h"
#include "render/BloodDecals.h"
#include "render/ILevelTrace.h"
#include "render/Mesh.h"
#include "render/ParticleSimulator.h"
#include "render/ParticleSystem.h"
#include "shell/Config.h"

namespace mirefell
{
namespace
{

// The ground plane y = 0 as the level, counting the questions it is asked.
struct GroundTrace final : ILevelTrace
{
    bool TraceLineOfSight(const Vector3& from, Vector3& to, Vector3& normal) override
    {
        ++traces;
        if (to.y >= 0.0f)
            return false;
        const float t = from.y / (from.y - to.y);
        to = from + (to - from) * t;
        normal = {0, 1, 0};
        return true;
    }
    int traces = 0;
};

// Particles over a 64 x 64 floor (4 x 4 decal cells) with room for ten
// decals.
struct Particles : ::testing::Test
{
    Particles()
    {
        Config::GetInstance().settings.maxBloodDecals = 10;
        decals.Initialize();
    }
    ~Particles() override { Config::GetInstance().settings = Settings{}; }

    ParticleSimulator& simulator() { return particles; }
    Particle& SpawnAt(Vector3 at, int32_t kind)
    {
        ParticleMotion& motion = simulator().Spawn(Color(1, 1, 1, 1), kind, at);
        motion.particle->position = at;
        return *motion.particle;
    }

    Mesh root{EffectIdNone, MeshVertexFormatColor};
    testing::TestDecalGrid grid{4, 4};
    ParticleSystem particleStore;
    BloodDecals decals{&grid, &root};
    GroundTrace ground;
    ParticleSimulator particles{&particleStore, &decals, &ground};
};

TEST_F(Particles, LaunchesOffASurfaceFollowItsNormal)
{
    const float scale = ParticleSimulator::VelocityScale;
    ParticleMotion& puff = simulator().Spawn(Color(), ParticleKindPuff, {});
    const Vector3 launched = puff.velocity;
    simulator().SetVelocityFromNormal(puff, {0, -1, 0});
    EXPECT_EQ(puff.velocity, launched); // straight down keeps the spawn launch
    simulator().SetVelocityFromNormal(puff, {0, 1, 0});
    EXPECT_GE(puff.velocity.y, 30.0f * scale);
    EXPECT_LE(puff.velocity.y, 40.0f * scale);
    EXPECT_NEAR(std::hypot(puff.velocity.x, puff.velocity.z), 20.0f * scale, 1e-6f);

    // Off a wall facing +x the puffs fly out of it, never into it.
    for (int i = 0; i < 20; ++i) {
        ParticleMotion& chip = simulator().Spawn(Color(), ParticleKindPuff, {});
        simulator().SetVelocityFromNormal(chip, {1, 0, 0});
        EXPECT_GE(chip.velocity.x, 0.0f);
    }
}

TEST_F(Particles, BloodThatHitsTheLevelBecomesADecalAndVanishes)
{
    Particle& drop = SpawnAt({20, 0.001f, 20}, ParticleKindBlood);
    simulator().motions.back().velocity = {0, -1, 0};
    simulator().Update();
    EXPECT_TRUE(drop.dead);
    EXPECT_TRUE(simulator().motions.empty());
    const Mesh* placed = decals.mesh;
    ASSERT_NE(placed, nullptr);
    EXPECT_TRUE(placed->instances[0].shown);
    EXPECT_NEAR(placed->instances[0].position.y, 0.0f, 1e-6f);
    EXPECT_FALSE(placed->instances[1].shown);
}

TEST_F(Particles, DebrisLandsThenShrinksAway)
{
    Particle& chip = SpawnAt({20, 0.5f, 20}, ParticleKindPuff);
    simulator().motions.back().velocity = {0.1f, -0.2f, 0};
    int updates = 0;
    while (!simulator().motions.front().landed && updates < 50) {
        simulator().Update();
        ++updates;
    }
    ASSERT_TRUE(simulator().motions.front().landed);
    const Vector3 landedAt = chip.position;
    EXPECT_EQ(landedAt.y, 0.0f);
    EXPECT_FALSE(chip.dead);

    const int tracesBefore = ground.traces;
    simulator().Update();
    EXPECT_EQ(chip.position, landedAt); // landed particles no longer move or trace
    EXPECT_EQ(ground.traces, tracesBefore);
    EXPECT_NEAR(chip.scale.x, 0.99f, 1e-6f);
    int shrinking = 1;
    while (!simulator().motions.empty() && shrinking < 200) {
        simulator().Update();
        ++shrinking;
    }
    EXPECT_TRUE(chip.dead);
    EXPECT_GE(shrinking, 99);
    EXPECT_LE(shrinking, 101);
}

TEST_F(Particles, WithoutALandingTraceParticlesLiveThreeHundredAndOneUpdates)
{
    simulator().trace = nullptr; // a level without geometry
    Particle& drop = SpawnAt({20, 50, 20}, ParticleKindBlood);
    for (int i = 0; i < ParticleSimulator::MaxAge; ++i)
        simulator().Update();
    EXPECT_FALSE(drop.dead);
    EXPECT_LT(drop.position.y, 0.0f); // fell through: nothing to land on
    simulator().Update();
    EXPECT_TRUE(drop.dead);
    EXPECT_TRUE(simulator().motions.empty());
    particleStore.RemoveDead();
    EXPECT_TRUE(particleStore.particles.empty());
}

// A step flags what has ended and erases only its own motion records: the
// store is emptied of the dead by the World's step, at its end.
TEST_F(Particles, EndedParticlesAreFlaggedAndTheirMotionsErased)
{
    Particle& drop = SpawnAt({20, 0.001f, 20}, ParticleKindBlood);
    simulator().motions.back().velocity = {0, -1, 0}; // lands in this step
    SpawnAt({20, 50, 20}, ParticleKindBlood);
    simulator().Update();
    EXPECT_TRUE(drop.dead); // a decal now
    EXPECT_EQ(particleStore.particles.size(), 2u);
    EXPECT_EQ(simulator().motions.size(), 1u);
}

} // namespace
} // namespace mirefell
