// Movement costs against the 16.7 ms step budget, on a generated dense room
// (support/DenseRoom.h): a square of 8-unit floor tiles at heights 0 to 3
// with a 4-wall pillar on every fourth tile of every fourth row.
//
// - PlayerMove: one whole player move (teleport test, collide-and-slide
//   with the gravity pass, grid, pickups, crosshair and use target, region
//   awakening and visibility) walking circles in a 128-unit room.
// - MonsterMove: one monster move (floor probe, wall push, blocking test)
//   and its re-registration, wandering the same room.
// - MonstersStep: 200 monsters wandering a 384-unit room, all moved once:
//   what one update step spends on monster movement.
//
// "budget_share" is the fraction of a 16.7 ms step one iteration takes;
// "allocs" counts heap allocations per iteration (0 once warm).
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <random>
#include <vector>

#include "gameplay/MapObjectMakers.h"
#include "gameplay/Player.h"
#include "render/Camera.h"
#include "render/Mesh.h"
#include "render/ParticleSystem.h"
#include "support/AllocationCounter.h"
#include "support/BenchSupport.h"
#include "support/DenseRoom.h"
#include "world/GridObject.h"
#include "world/IKillable.h"
#include "world/IMonster.h"
#include "world/World.h"
#include "world/WorldCollision.h"

namespace
{

using namespace mirefell;

using testing::DenseRoom;
using testing::IsPillar;
constexpr float Tile = testing::DenseTile;

// A monster as the movement sees it: a box that is alive.
class Walker : public GridObject, public IMonster, public IKillable
{
public:
    Walker(World* world_, const Vector3& at) : GridObject(world_, "3", nullptr)
    {
        typeMask = GridObjectType::Monster;
        halfExtents = collisionHalfExtents = Vector3(2.0f, 4.0f, 2.0f);
        position = at;
        UpdateBounds();
    }
    void SetPosition(const Vector3& at) override
    {
        position = at;
        UpdateBounds();
    }
    void Roar(bool) override {}
    void SetState(uint32_t) override {}
    void Awaken() override {}
    float GetMaxHealth() override { return 60.0f; }
    float GetHealth() override { return 60.0f; }
    bool IsDead() override { return false; }
    bool Kill() override { return false; }
    Color GetBloodColor() override { return {}; }
    Vector3 GetPosition() override { return position; }

    Vector3 heading{1.0f, 0.0f, 0.0f};
};

// A level built by the level build in a scratch working folder (the player
// saves at its start), with walkers spread over free tiles.
struct Level
{
    Level(int side, int walkers) : scratch("mirefell-movement-bench")
    {
        testing::LoadRunFolderMeshes();
        world = World::Create(&root, &debugRoot, &particles, &camera, DenseRoom(side), LevelSettings{},
                              MakeMapObjectFactories());
        std::mt19937 random(7);
        std::uniform_int_distribution<int> tile(1, side - 2);
        for (int i = 0; i < walkers; ++i) {
            int row = 0, column = 0;
            do {
                row = tile(random);
                column = tile(random);
            } while (IsPillar(row, column));
            const Vector3 at{(static_cast<float>(column) + 0.5f) * Tile, 0.0f, (static_cast<float>(row) + 0.5f) * Tile};
            auto walker = std::make_unique<Walker>(world.get(), at);
            const float angle = static_cast<float>(random() % 360) * 0.017453292f;
            walker->heading = Vector3(std::cos(angle), 0.0f, std::sin(angle));
            list.push_back(static_cast<Walker*>(world->AddObject(std::move(walker))));
            world->collision->PlaceObject(list.back(), at);
        }
    }
    ~Level() { world.reset(); }

    // One monster move of 0.5 units; a new heading when blocked or stuck.
    void MoveWalker(Walker& walker)
    {
        const Vector3 from = walker.position;
        Vector3 to = from + walker.heading * 0.5f;
        GridObject* blocker = world->collision->MoveMonster(&walker, from, to);
        world->collision->PlaceObject(&walker, to);
        const float moved = std::fabs(to.x - from.x) + std::fabs(to.z - from.z);
        if (blocker || moved < 0.25f) {
            turn = turn * 1103515245u + 12345u;
            const float angle = static_cast<float>((turn >> 16) % 360) * 0.017453292f;
            walker.heading = Vector3(std::cos(angle), 0.0f, std::sin(angle));
        }
    }

    testing::ScratchFolder scratch;
    Mesh root{EffectIdNone, MeshVertexFormatColor};
    Mesh debugRoot{EffectIdNone, MeshVertexFormatColor};
    ParticleSystem particles;
    Camera camera;
    std::unique_ptr<World> world;
    std::vector<Walker*> list;
    uint32_t turn = 1;
};

void PlayerMove(benchmark::State& state)
{
    Level level(16, 0);
    Player& player = *static_cast<Player*>(level.world->player);
    float angle = 0.0f;
    // Circles of radius 40 around the room's centre, 1.25 units a step.
    const auto walk = [&] {
        angle += 1.25f / 40.0f;
        const Vector3 from = player.position;
        Vector3 target{64.0f + 40.0f * std::cos(angle), from.y, 64.0f + 40.0f * std::sin(angle)};
        Vector3 oldPosition = from;
        Vector3 to = from + (target - from).Normalized() * 1.25f;
        player.MoveWithCollision(oldPosition, to);
    };
    for (int i = 0; i < 200; ++i) // warm up: reach the circle, grow the scratch lists
        walk();
    const uint64_t before = mirefell::testing::AllocationCount();
    for (auto _ : state) {
        walk();
        benchmark::DoNotOptimize(player.position);
    }
    testing::ReportStepCounters(state, before);
}
BENCHMARK(PlayerMove);

void MonsterMove(benchmark::State& state)
{
    Level level(16, 1);
    Walker& walker = *level.list.front();
    for (int i = 0; i < 200; ++i)
        level.MoveWalker(walker);
    const uint64_t before = mirefell::testing::AllocationCount();
    for (auto _ : state) {
        level.MoveWalker(walker);
        benchmark::DoNotOptimize(walker.position);
    }
    testing::ReportStepCounters(state, before);
}
BENCHMARK(MonsterMove);

void MonstersStep(benchmark::State& state)
{
    Level level(48, static_cast<int>(state.range(0)));
    for (int i = 0; i < 20; ++i)
        for (Walker* walker : level.list)
            level.MoveWalker(*walker);
    const uint64_t before = mirefell::testing::AllocationCount();
    for (auto _ : state) {
        for (Walker* walker : level.list)
            level.MoveWalker(*walker);
    }
    testing::ReportStepCounters(state, before);
    state.counters["monsters"] = static_cast<double>(level.list.size());
}
BENCHMARK(MonstersStep)->Arg(200)->Unit(benchmark::kMicrosecond);

} // namespace
