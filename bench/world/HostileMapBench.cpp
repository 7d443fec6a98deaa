// Maps built to hurt: what they cost must grow no faster than the work they
// ask for. Compare against the 16.7 ms step budget.
//
// - MonsterPile: n monsters piled on one spot of a walled 256-unit room,
//   each step every one of them trying to walk out of the pile as a monster
//   moves (WorldCollision::MoveMonster: the floor under it, the walls, the
//   first body in its way; then PlaceObject and the sector under it). Each
//   is blocked by another at once, so the work per monster is the same
//   whatever n is: "per_monster" (ns) should stay flat as n doubles, and the
//   step grow in proportion to n. "allocs" counts heap allocations per step
//   once the pile has settled.
// - LargeMapBuild: a whole level built from a generated map of side x side
//   64-unit rooms (256 to 8,192 sectors, the map loader's limit), each with
//   a floor, a ceiling, four walls and the links to its east and north
//   neighbours; the second argument 1 makes every fourth column a door, so
//   the map falls into many regions, 0 leaves one region whose mesh takes
//   every room's geometry. The World, its sector graph and regions, the
//   static geometry and the AI region graph: "per_sector" (us) should stay
//   flat as the map grows.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <utility>
#include <vector>

#include "render/Mesh.h"
#include "render/ParticleSystem.h"
#include "render/PointLights.h"
#include "support/AllocationCounter.h"
#include "support/MapRecords.h"
#include "world/ConcreteBuilder.h"
#include "world/EntityGridObject.h"
#include "world/GridObject.h"
#include "world/IKillable.h"
#include "world/MapObjectFactories.h"
#include "world/World.h"
#include "world/WorldCollision.h"

namespace
{

using namespace mirefell;

constexpr float WallHeight = 96.0f;

// ---------------------------------------------------------------------------
// The monster pile

// A monster as the world sees one moving: a footprint of 12 x 12 units (as
// wide as the widest monster), a direction it walks at a monster's pace,
// blocked by any other body.
class PiledMonster final : public GridObject, public IKillable
{
public:
    PiledMonster(World* world_, const Vector3& at, float heading) : GridObject(world_, "3", nullptr)
    {
        typeMask = GridObjectType::Monster;
        halfExtents = {6.0f, 8.0f, 6.0f};
        collisionHalfExtents = halfExtents;
        position = at;
        direction = {std::cos(heading), 0.0f, std::sin(heading)};
        UpdateBounds();
        SetCells(world->GetCellRange({{box.min.x, box.min.z}, {box.max.x, box.max.z}}));
    }
    void Update() override
    {
        Vector3 to = position + direction * Speed;
        world->collision->MoveMonster(this, position, to);
        world->collision->PlaceObject(this, to);
    }
    void SetPosition(const Vector3& at) override
    {
        position = at;
        UpdateBounds();
        sector = FindSector();
    }
    bool IsDead() override { return false; }
    bool Kill() override { return false; }
    Color GetBloodColor() override { return {1, 0, 0, 1}; }
    Vector3 GetPosition() override { return position; }

    static constexpr float Speed = 0.6f;
    Vector3 direction;
};

// One room with its four walls; its centre at (128, 128).
MapData WalledRoom()
{
    MapData map = testing::RoomMap(0, 0, 256, 256);
    map.sectors[0].ceilBottomY = WallHeight;
    map.sectors[0].ceiling = true;
    const Vector2 a{1, 1}, b{1, 255}, c{255, 255}, d{255, 1};
    int32_t id = 1;
    for (const auto& [start, end] : {std::pair{a, b}, std::pair{b, c}, std::pair{c, d}, std::pair{d, a}})
        map.segments.push_back(testing::WallSegment(id++, 1, start, end, 0.0f, WallHeight));
    map.ComputeBounds();
    return map;
}

void BM_MonsterPile(benchmark::State& state)
{
    const auto count = static_cast<int>(state.range(0));
    Mesh root(EffectIdNone, MeshVertexFormatColor);
    Mesh debugRoot(EffectIdNone, MeshVertexFormatColor);
    ParticleSystem particles;
    World world(&root, &debugRoot, &particles, WalledRoom());
    for (MapSector& sector : world.map.sectors) {
        ConcreteBuilder::AddSectorConcrete(world, sector, false);
        ConcreteBuilder::AddSectorConcrete(world, sector, true);
    }
    for (MapSegment& segment : world.map.segments)
        ConcreteBuilder::AddWallConcrete(world, segment);
    const Vector3 spot(128.0f, 8.03f, 128.0f);
    for (int i = 0; i < count; ++i) // heading every way out of the pile
        world.AddObject(std::make_unique<PiledMonster>(&world, spot, 2.399963f * static_cast<float>(i)));
    world.Reset();
    for (int i = 0; i < 20; ++i)
        world.Update();
    const uint64_t before = mirefell::testing::AllocationCount();
    for (auto _ : state)
        world.Update();
    const uint64_t allocations = mirefell::testing::AllocationCount() - before; // before the counters' own
    const auto steps = static_cast<double>(state.iterations());
    state.counters["monsters"] = count;
    state.counters["per_monster"] =
        benchmark::Counter(steps * count, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["allocs"] = static_cast<double>(allocations) / steps;
    PointLights::GetInstance().Clear();
}
BENCHMARK(BM_MonsterPile)->Arg(250)->Arg(500)->Arg(1000)->Arg(2000)->Arg(4000)->Unit(benchmark::kMillisecond);

// ---------------------------------------------------------------------------
// The large map


// The level build's factories with plain objects: doors and elevators of the
// right kind (their geometry comes from the World), no pickups, a player.
MapObjectFactories PlainFactories()
{
    const auto kind = [](uint32_t mask) {
        return [mask](World& world, MapSector&) {
            auto object = std::make_unique<GridObject>(&world, "2", nullptr);
            object->typeMask = mask;
            return object;
        };
    };
    MapObjectFactories factories;
    factories.door = kind(GridObjectType::Door);
    factories.elevator = kind(GridObjectType::Elevator);
    factories.powerup = [](World&, MapEntity&, uint32_t) { return std::unique_ptr<EntityGridObject>(); };
    factories.player = [](World& world, Camera*) {
        auto player = std::make_unique<GridObject>(&world, "player", nullptr);
        player->typeMask = GridObjectType::Player;
        return player;
    };
    return factories;
}

void BM_LargeMapBuild(benchmark::State& state)
{
    const auto side = static_cast<int>(state.range(0));
    const MapData map = testing::RoomGridMap(side, state.range(1) != 0);
    const MapObjectFactories factories = PlainFactories();
    size_t regions = 0;
    for (auto _ : state) {
        Mesh root(EffectIdNone, MeshVertexFormatColor);
        Mesh debugRoot(EffectIdNone, MeshVertexFormatColor);
        ParticleSystem particles;
        std::unique_ptr<World> world =
            World::Create(&root, &debugRoot, &particles, nullptr, map, LevelSettings{}, factories);
        regions = world->sectorGraph.Regions().size();
        benchmark::DoNotOptimize(world.get());
        state.PauseTiming();
        world.reset();
        PointLights::GetInstance().Clear();
        state.ResumeTiming();
    }
    state.counters["sectors"] = static_cast<double>(map.sectors.size());
    state.counters["regions"] = static_cast<double>(regions);
    state.counters["per_sector"] = benchmark::Counter(static_cast<double>(state.iterations()) * map.sectors.size(),
                                                      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_LargeMapBuild)->ArgsProduct({{16, 32, 64, 90}, {0, 1}})->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
