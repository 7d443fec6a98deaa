// Combat costs against the 16.7 ms step budget, in the dense room of the
// movement benchmarks closed by outer walls (support/DenseRoom.h), 128 units
// square, with 24 monsters standing about.
//
// - HitscanShot: one double-shotgun shot, 6 pellets with their spread
//   (rays over the grid, puffs or blood, damage), turning round the room.
// - RocketLife: one rocket from the launcher to its end: flight until it
//   strikes a pillar, a wall or a monster, the blast over everything near,
//   and the 15 steps of its fireball. "per_step" is the cost of one of its
//   steps on average.
// - ProjectilesStep: one whole World update with 50 hyper-blaster bolts
//   bouncing round the room (each fizzling bolt replaced by a new one).
//
// "budget_share" is the fraction of a 16.7 ms step one iteration takes;
// "allocs" counts heap allocations per iteration. A shot allocates only its
// particles' list nodes and its tweens; a projectile its object, body and
// light.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

#include "gameplay/GameSaveManager.h"
#include "gameplay/MapObjectMakers.h"
#include "gameplay/Player.h"
#include "gameplay/Projectile.h"
#include "gameplay/Weapons.h"
#include "render/Camera.h"
#include "render/Mesh.h"
#include "render/ParticleSimulator.h"
#include "render/ParticleSystem.h"
#include "render/PointLights.h"
#include "support/AllocationCounter.h"
#include "support/BenchSupport.h"
#include "support/DenseRoom.h"
#include "world/GridObject.h"
#include "world/IKillable.h"
#include "world/World.h"
#include "world/WorldCollision.h"

namespace
{

using namespace mirefell;

constexpr int RoomSide = 16; // tiles: 128 units
constexpr float RoomSize = RoomSide * testing::DenseTile;

// A monster as the hit queries see it: a box that bleeds and never dies.
class Target : public GridObject, public IKillable
{
public:
    Target(World* world_, const Vector3& at) : GridObject(world_, "3", nullptr)
    {
        typeMask = GridObjectType::Monster;
        halfExtents = collisionHalfExtents = Vector3(4.0f, 8.0f, 4.0f);
        position = at;
        UpdateBounds();
    }
    bool IsDead() override { return false; }
    bool Kill() override { return false; }
    Color GetBloodColor() override { return {0.5f, 0.0f, 0.0f, 1.0f}; }
    Vector3 GetPosition() override { return position; }
};

struct Arena
{
    Arena() : scratch("mirefell-combat-bench")
    {
        testing::LoadRunFolderMeshes();
        GameSaveManager::GetInstance().current.difficulty = GameDifficulty::Normal;
        world = World::Create(&root, &debugRoot, &particles, &camera, testing::DenseRoom(RoomSide, true),
                              LevelSettings{}, MakeMapObjectFactories());
        player = static_cast<Player*>(world->player);
        world->collision->PlaceObject(player, {60, 10, 60});
        for (int i = 0; i < 24; ++i) {
            const float angle = static_cast<float>(i) * 0.2618f;
            const float reach = 20.0f + static_cast<float>(i % 4) * 10.0f;
            const Vector3 at{60 + reach * std::cos(angle), 10, 60 + reach * std::sin(angle)};
            auto* target = static_cast<Target*>(world->AddObject(std::make_unique<Target>(world.get(), at)));
            world->collision->PlaceObject(target, at);
        }
    }
    ~Arena()
    {
        world.reset();
        PointLights::GetInstance().Clear();
    }

    // Drops the particles and lights that ended (a frame's draw and the
    // light update would), and the rest every so often, so that long runs
    // keep a bounded store.
    void Tidy()
    {
        world->particles->motions.clear();
        particles.Clear();
        PointLights::GetInstance().Update();
    }

    testing::ScratchFolder scratch;
    Mesh root{EffectIdNone, MeshVertexFormatColor};
    Mesh debugRoot{EffectIdNone, MeshVertexFormatColor};
    ParticleSystem particles;
    Camera camera;
    std::unique_ptr<World> world;
    Player* player = nullptr;
};

void HitscanShot(benchmark::State& state)
{
    Arena arena;
    const auto shotgun = Weapons::MakeDoubleShotgun();
    const Vector3 eye = arena.player->EyePosition();
    float yaw = 0.0f;
    int shots = 0;
    const uint64_t before = mirefell::testing::AllocationCount();
    for (auto _ : state) {
        yaw = yaw >= 360.0f ? 0.0f : yaw + 7.0f;
        arena.world->collision->FireHitscan(arena.player, eye, shotgun->data.hitscan, 3.5f, yaw, 95.0f);
        if (++shots % 512 == 0) {
            state.PauseTiming();
            arena.Tidy();
            state.ResumeTiming();
        }
    }
    testing::ReportStepCounters(state, before);
}
BENCHMARK(HitscanShot);

void RocketLife(benchmark::State& state)
{
    Arena arena;
    const Vector3 eye = arena.player->EyePosition();
    float yaw = 0.0f;
    int64_t steps = 0;
    const uint64_t before = mirefell::testing::AllocationCount();
    for (auto _ : state) {
        yaw += 0.37f;
        const Vector3 direction{std::cos(yaw), -0.05f, std::sin(yaw)};
        std::unique_ptr<GridObject> rocket =
            World::MakeProjectile(*arena.world, arena.player, ProjectileType::Rocket, {1, 1, 1, 1}, {1, 0.5f, 0, 1},
                                  eye, direction.Normalized(), 85.0f);
        rocket->SetUp();
        while (!rocket->removed) {
            rocket->Update();
            ++steps;
        }
        rocket.reset();
        state.PauseTiming();
        arena.Tidy();
        state.ResumeTiming();
    }
    testing::ReportStepCounters(state, before);
    state.counters["per_step"] =
        benchmark::Counter(static_cast<double>(steps), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(RocketLife)->Unit(benchmark::kMicrosecond);

void ProjectilesStep(benchmark::State& state)
{
    Arena arena;
    const auto count = static_cast<size_t>(state.range(0));
    std::vector<GridObject*> bolts;
    uint32_t turn = 1;
    const auto launch = [&] {
        turn = turn * 1103515245u + 12345u;
        const float angle = static_cast<float>((turn >> 16) % 360) * 0.017453292f;
        return arena.world->SpawnProjectile(arena.player, ProjectileType::HyperBlasterBolt, {1, 1, 1, 1},
                                            {0.75f, 0.85f, 1, 1}, arena.player->EyePosition(),
                                            Vector3(std::cos(angle), 0.0f, std::sin(angle)), 2.5f);
    };
    // Bolts that end this step are replaced; the World erases them after it.
    const auto step = [&] {
        arena.world->Update();
        for (GridObject*& bolt : bolts)
            if (bolt->removed)
                bolt = launch();
    };
    for (size_t i = 0; i < count; ++i)
        bolts.push_back(launch());
    for (int i = 0; i < 300; ++i) // the first generation fizzles, the lists warm up
        step();
    int steps = 0;
    const uint64_t before = mirefell::testing::AllocationCount();
    for (auto _ : state) {
        step();
        if (++steps % 256 == 0) {
            state.PauseTiming();
            arena.world->particles->RemoveDead();
            arena.particles.RemoveDead();
            PointLights::GetInstance().Update();
            state.ResumeTiming();
        }
    }
    testing::ReportStepCounters(state, before);
    state.counters["projectiles"] = static_cast<double>(count);
}
BENCHMARK(ProjectilesStep)->Arg(50)->Unit(benchmark::kMicrosecond);

} // namespace
