// The World's spatial queries over generated maps of growing size (a square
// of 64-unit rooms, 256 to 5,041 sectors, each with a floor, a ceiling and
// four walls). Every query covers a small box, as the movement and hit code
// ask, so its cost should stay flat however large the map grows; the
// "allocs" counter shows that a query allocates nothing once warm. Compare
// against the 16.7 ms step budget. The second argument 1 keeps the queries
// in one corner of the map: the work per query is then the same on every
// map, and so is its time; spread over the whole map, the time grows a
// little with the memory the queries touch (cache misses), not with the
// work. Last, the particles' step with 2,000 live particles landing through
// the World's trace.
#include <benchmark/benchmark.h>

#include <cmath>
#include <map>
#include <memory>
#include <random>
#include <vector>

#include "render/Mesh.h"
#include "render/ParticleSimulator.h"
#include "render/ParticleSystem.h"
#include "support/AllocationCounter.h"
#include "support/MapRecords.h"
#include "world/ConcreteBuilder.h"
#include "world/GridObject.h"
#include "world/World.h"

namespace
{

using namespace mirefell;

constexpr float RoomSize = testing::GridRoomSize;

struct Level
{
    explicit Level(int side)
    {
        world = std::make_unique<World>(&root, &debugRoot, &particles, testing::RoomGridMap(side));
        for (MapSector& sector : world->map.sectors) {
            ConcreteBuilder::AddSectorConcrete(*world, sector, false);
            ConcreteBuilder::AddSectorConcrete(*world, sector, true);
        }
        for (MapSegment& segment : world->map.segments)
            ConcreteBuilder::AddWallConcrete(*world, segment);
        // Query boxes the size of a player's sweep: anywhere on the map, or
        // within one 900-unit corner of it (the same places on every map, so
        // the memory touched stays the same too).
        std::mt19937 random(11);
        const float extent = static_cast<float>(side) * RoomSize;
        std::uniform_real_distribution<float> anywhere(0.0f, extent - 24.0f);
        std::uniform_real_distribution<float> corner(0.0f, 900.0f);
        for (int i = 0; i < 1024; ++i) {
            corners.push_back({anywhere(random), anywhere(random)});
            localCorners.push_back({corner(random), corner(random)});
        }
    }

    // The query corners of a benchmark: range(1) 1 keeps them local.
    const std::vector<Vector2>& Corners(const benchmark::State& state) const
    {
        return state.range(1) ? localCorners : corners;
    }

    Mesh root{EffectIdNone, MeshVertexFormatColor};
    Mesh debugRoot{EffectIdNone, MeshVertexFormatColor};
    ParticleSystem particles;
    std::unique_ptr<World> world;
    std::vector<Vector2> corners;
    std::vector<Vector2> localCorners;
};

Level& LevelOfSide(int side)
{
    static std::map<int, std::unique_ptr<Level>> levels;
    auto& level = levels[side];
    if (!level)
        level = std::make_unique<Level>(side);
    return *level;
}

void Report(benchmark::State& state, const Level& level, uint64_t allocationsBefore, uint64_t found)
{
    const auto queries = static_cast<double>(state.iterations());
    state.counters["sectors"] = static_cast<double>(level.world->map.sectors.size());
    state.counters["objects"] = static_cast<double>(level.world->objects.size());
    state.counters["found"] = static_cast<double>(found) / queries;
    state.counters["allocs"] = static_cast<double>(mirefell::testing::AllocationCount() - allocationsBefore) / queries;
}

// Every wall, floor and ceiling piece near a 24-unit box, once each.
void BM_ObjectsInRange(benchmark::State& state)
{
    Level& level = LevelOfSide(static_cast<int>(state.range(0)));
    const World& world = *level.world;
    size_t next = 0;
    uint64_t found = 0;
    world.ForEachObjectInRange(world.GetCellRange({{0, 0}, {24, 24}}), ~0u, [](GridObject*) {}); // warm
    const uint64_t before = mirefell::testing::AllocationCount();
    for (auto _ : state) {
        const Vector2 corner = level.Corners(state)[next++ & 1023];
        const CellRange range = world.GetCellRange({corner, corner + Vector2(24, 24)});
        world.ForEachObjectInRange(range, GridObjectType::Concrete, [&](GridObject*) { ++found; });
    }
    Report(state, level, before, found);
}
BENCHMARK(BM_ObjectsInRange)->ArgsProduct({{16, 32, 48, 71}, {0, 1}});

// The movement code's read: triangles of the pieces whose box meets the
// query box.
void BM_TriangleSweep(benchmark::State& state)
{
    Level& level = LevelOfSide(static_cast<int>(state.range(0)));
    const World& world = *level.world;
    size_t next = 0;
    uint64_t found = 0;
    Box3 query;
    const ObjectPredicate overlaps = [&query](GridObject* object) { return object->box.Overlaps(query); };
    const uint64_t before = mirefell::testing::AllocationCount();
    for (auto _ : state) {
        const Vector2 corner = level.Corners(state)[next++ & 1023];
        query = Box3({corner.x, 2, corner.y}, {corner.x + 24, 20, corner.y + 24});
        const TriangleSource source =
            world.CollectObjectsInRange(world.GetCellRange({corner, corner + Vector2(24, 24)}), 7, overlaps);
        source([&](GridObject*, const Vector3&, const Vector3&, const Vector3&, int32_t) { ++found; });
    }
    Report(state, level, before, found);
}
BENCHMARK(BM_TriangleSweep)->ArgsProduct({{16, 32, 48, 71}, {0, 1}});

// The monster movement's read: wall segments around a footprint.
void BM_SegmentSweep(benchmark::State& state)
{
    Level& level = LevelOfSide(static_cast<int>(state.range(0)));
    const World& world = *level.world;
    size_t next = 0;
    uint64_t found = 0;
    const uint64_t before = mirefell::testing::AllocationCount();
    for (auto _ : state) {
        const Vector2 corner = level.Corners(state)[next++ & 1023];
        const SegmentSource source =
            world.CollectSegmentsInRange(world.GetCellRange({corner, corner + Vector2(24, 24)}));
        source([&](const MapSegment&) { ++found; });
    }
    Report(state, level, before, found);
}
BENCHMARK(BM_SegmentSweep)->ArgsProduct({{16, 32, 48, 71}, {0, 1}});

// An object moving about the map: re-registration and the sector under it.
void BM_MoveAndFindSector(benchmark::State& state)
{
    Level& level = LevelOfSide(static_cast<int>(state.range(0)));
    World& world = *level.world;
    GridObject mover(&world, {}, nullptr);
    mover.halfExtents = {3, 7, 3};
    size_t next = 0;
    uint64_t found = 0;
    mover.SetCells(world.GetCellRange({{0, 0}, {6, 6}}));
    const uint64_t before = mirefell::testing::AllocationCount();
    for (auto _ : state) {
        const Vector2 corner = level.Corners(state)[next++ & 1023];
        mover.position = {corner.x + 3, 0, corner.y + 3};
        mover.SetCells(world.GetCellRange({corner, corner + Vector2(6, 6)}));
        found += mover.FindSector() ? 1 : 0;
    }
    mover.RemoveFromCells();
    Report(state, level, before, found);
}
BENCHMARK(BM_MoveAndFindSector)->ArgsProduct({{16, 32, 48, 71}, {0, 1}});

// A monster-like object: walks a circle, re-registers and looks for the
// sector under it every step.
class Wanderer : public GridObject
{
public:
    Wanderer(World* world_, Vector2 centre_) : GridObject(world_, {}, nullptr), centre(centre_)
    {
        typeMask = GridObjectType::Monster;
        halfExtents = {3, 7, 3};
    }
    void Update() override
    {
        angle += 0.02f;
        position = {centre.x + 20.0f * std::cos(angle), 7.0f, centre.y + 20.0f * std::sin(angle)};
        UpdateBounds();
        SetCells(world->GetCellRange({{box.min.x, box.min.z}, {box.max.x, box.max.z}}));
        current = FindSector();
    }

    Vector2 centre;
    float angle = 0.0f;
    MapSector* current = nullptr;
};

// One fixed step of a level with 256 moving objects: flat in the map's size
// and free of allocation.
void BM_WorldUpdate(benchmark::State& state)
{
    const int side = static_cast<int>(state.range(0));
    Mesh root(EffectIdNone, MeshVertexFormatColor);
    Mesh debugRoot(EffectIdNone, MeshVertexFormatColor);
    ParticleSystem particles;
    World world(&root, &debugRoot, &particles, testing::RoomGridMap(side));
    for (MapSector& sector : world.map.sectors)
        ConcreteBuilder::AddSectorConcrete(world, sector, false);
    std::mt19937 random(5);
    std::uniform_real_distribution<float> coordinate(32.0f, static_cast<float>(side) * RoomSize - 32.0f);
    for (int i = 0; i < 256; ++i)
        world.AddObject(std::make_unique<Wanderer>(&world, Vector2(coordinate(random), coordinate(random))));
    world.Reset();
    for (int i = 0; i < 400; ++i) // every wanderer has visited all its cells
        world.Update();
    const uint64_t before = mirefell::testing::AllocationCount();
    for (auto _ : state)
        world.Update();
    state.counters["sectors"] = static_cast<double>(world.map.sectors.size());
    state.counters["allocs"] =
        static_cast<double>(mirefell::testing::AllocationCount() - before) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_WorldUpdate)->Arg(16)->Arg(32)->Arg(48)->Arg(71);

// The particles' step over a real level: 2,000 live chips and blood drops
// sprayed in the rooms of a 16 x 16 map fly and land on its floors and walls
// through the World's landing trace (blood leaving decals); the step erases
// the dead (as the next draw would) and sprays as many anew.
void BM_ParticleStep(benchmark::State& state)
{
    constexpr size_t LiveParticles = 2000;
    constexpr int side = 16;
    Mesh root(EffectIdNone, MeshVertexFormatColor);
    Mesh debugRoot(EffectIdNone, MeshVertexFormatColor);
    ParticleSystem particles;
    World world(&root, &debugRoot, &particles, testing::RoomGridMap(side));
    for (MapSector& sector : world.map.sectors) {
        ConcreteBuilder::AddSectorConcrete(world, sector, false);
        ConcreteBuilder::AddSectorConcrete(world, sector, true);
    }
    for (MapSegment& segment : world.map.segments)
        ConcreteBuilder::AddWallConcrete(world, segment);
    world.Reset();
    std::mt19937 random(3);
    std::uniform_real_distribution<float> coordinate(4.0f, static_cast<float>(side) * RoomSize - 4.0f);
    std::uniform_real_distribution<float> height(8.0f, 88.0f);
    size_t spawned = 0;
    auto step = [&] {
        world.particles->Update();
        particles.RemoveDead();
        while (world.particles->motions.size() < LiveParticles) {
            const Vector3 at{coordinate(random), height(random), coordinate(random)};
            if (spawned++ % 2 == 0)
                world.SpawnParticlesWithVelocity(at, {0, 1, 0}, Color(0.8f, 0.8f, 0.8f, 1), 1);
            else
                world.SpawnParticles(at, Color(0.6f, 0, 0, 1), 1);
        }
    };
    for (int i = 0; i < 400; ++i) // past the first generation's lifetimes
        step();
    const uint64_t before = mirefell::testing::AllocationCount();
    for (auto _ : state)
        step();
    const auto steps = static_cast<double>(state.iterations());
    state.counters["live"] = static_cast<double>(world.particles->motions.size());
    state.counters["spawned"] = static_cast<double>(spawned) / steps;
    state.counters["allocs"] = static_cast<double>(mirefell::testing::AllocationCount() - before) / steps;
}
BENCHMARK(BM_ParticleStep)->Unit(benchmark::kMicrosecond);

} // namespace
