// Monster costs against the 16.7 ms step budget, in the test map with its
// two monsters replaced by 200 (rows of noms and rows of eyes in turn, 14.5
// units apart in a row and 13 between rows, so that no two boxes overlap)
// in the hall, on the ledge and in the start room:
//
// - HuntingStep: one whole World::Update with the 200 monsters hunting the
//   player (the hall door open, every region with monsters reachable):
//   chasing, moving, the wind-ups, bites and the eyes' shots in flight. The
//   player stands at its start with god mode on, so the fight runs on. The
//   step is measured over a fixed 10 s of game time after a 1 s warm-up, so
//   the fight is the same on every run.
// - DormantStep: the same level with the player shut in the closet behind
//   the red door: every monster only finds its region out of reach.
//
// "budget_share" is the fraction of a 16.7 ms step one iteration takes;
// "allocs" counts heap allocations per step (a shot fired makes one object);
// "alive" and "shots" are the living monsters and the projectiles at the end.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "gameplay/Door.h"
#include "gameplay/GameSaveManager.h"
#include "gameplay/MapObjectMakers.h"
#include "gameplay/Monster.h"
#include "gameplay/Player.h"
#include "gameplay/Projectile.h"
#include "platform/Random.h"
#include "render/Camera.h"
#include "render/Mesh.h"
#include "render/MeshRegistry.h"
#include "render/ParticleSystem.h"
#include "render/PointLights.h"
#include "support/AllocationCounter.h"
#include "support/BenchSupport.h"
#include "world/AIRegionGraph.h"
#include "world/MapEntityTypes.h"
#include "world/MapLoader.h"
#include "world/World.h"
#include "world/WorldCollision.h"

namespace
{

using namespace mirefell;

constexpr int MonsterCount = 200;
constexpr float RowSpacing = 13.0f;    // a nom's and an eye's half widths: 7.2 + 5.6
constexpr float ColumnSpacing = 14.5f; // two noms: 7.2 + 7.2

struct Room
{
    float x0, z0, x1, z1, floor;
};

// The hall and the ledge (beyond the hall door), then the start room.
constexpr Room Rooms[] = {{150, 6, 270, 114, 0}, {326, 6, 430, 114, 64}, {6, 6, 114, 114, 0}};

// The test map with `count` monster records in the rooms instead of its
// own, skipping the player's start.
MapData CrowdedTestMap(int count)
{
    MapEntityTypes::Initialize();
    MapData map = MapLoader::LoadFromFile(std::string(MIREFELL_SOURCE_DIR) + "/tests/data/maps/testmap.json");
    std::erase_if(map.entities,
                  [](const MapEntity& entity) { return entity.entityType.kind == MapEntityKind::Monster; });
    int32_t id = 100;
    for (const Room& room : Rooms) {
        int row = 0;
        for (float z = room.z0; z <= room.z1; z += RowSpacing, ++row)
            for (float x = room.x0; x <= room.x1; x += ColumnSpacing) {
                if (id == 100 + count || (x < 50 && z < 50)) // full, or the player's start
                    continue;
                MapEntity entity;
                entity.id = id;
                entity.pos = {x, z};
                entity.y = room.floor;
                entity.rotation = static_cast<float>((id * 37) % 360);
                entity.entityType = *MapEntityTypes::Find(row % 2 == 0 ? "N" : "E");
                map.entities.push_back(entity);
                ++id;
            }
    }
    return map;
}

// A level built by the level build in a scratch working folder (the player
// saves at its start).
struct Level
{
    explicit Level(bool hunting) : scratch("mirefell-monster-bench")
    {
        MeshRegistry::GetInstance().LoadAll(std::string(MIREFELL_RUN_DIR) + "/assets/meshes/");
        GameSaveManager::GetInstance().current.difficulty = GameDifficulty::Normal;
        SeedRand(1);
        world = World::Create(&root, &debugRoot, &particles, &camera, CrowdedTestMap(MonsterCount), LevelSettings{},
                              MakeMapObjectFactories());
        player = static_cast<Player*>(world->player);
        player->godMode = true;
        for (const auto& object : world->objects) {
            if (auto* monster = dynamic_cast<Monster*>(object.get()))
                monsters.push_back(monster);
            if (auto* door = dynamic_cast<Door*>(object.get()); door && door->sector->id == 2 && hunting)
                door->Open();
        }
        if (!hunting) // in the closet, clear of the level exit
            world->collision->PlaceObject(player, Vector3(515.0f, 71.03f, 45.0f));
        // The player has been everywhere: no region's first visit turns the
        // hunters into watchers.
        for (auto& [id, region] : world->aiRegions->regions)
            region.awakened = true;
        for (Monster* monster : monsters)
            monster->Roar(true);
    }
    ~Level()
    {
        world.reset();
        PointLights::GetInstance().Clear();
    }

    int Alive() const
    {
        int alive = 0;
        for (Monster* monster : monsters)
            alive += monster->dead ? 0 : 1;
        return alive;
    }
    int Shots() const
    {
        int shots = 0;
        for (const auto& object : world->objects)
            shots += dynamic_cast<Projectile*>(object.get()) ? 1 : 0;
        return shots;
    }

    testing::ScratchFolder scratch;
    Mesh root{EffectIdNone, MeshVertexFormatColor};
    Mesh debugRoot{EffectIdNone, MeshVertexFormatColor};
    ParticleSystem particles;
    Camera camera;
    std::unique_ptr<World> world;
    Player* player = nullptr;
    std::vector<Monster*> monsters;
};

void Report(benchmark::State& state, const Level& level, uint64_t allocationsBefore)
{
    testing::ReportStepCounters(state, allocationsBefore);
    state.counters["monsters"] = static_cast<double>(level.monsters.size());
    state.counters["alive"] = static_cast<double>(level.Alive());
    state.counters["shots"] = static_cast<double>(level.Shots());
}

// World steps after a one-second warm-up.
void Steps(benchmark::State& state, bool hunting)
{
    Level level(hunting);
    for (int i = 0; i < 60; ++i)
        level.world->Update();
    const uint64_t before = mirefell::testing::AllocationCount();
    for (auto _ : state)
        level.world->Update();
    Report(state, level, before);
}

void HuntingStep(benchmark::State& state)
{
    Steps(state, true);
}
BENCHMARK(HuntingStep)->Iterations(600)->Unit(benchmark::kMicrosecond);

void DormantStep(benchmark::State& state)
{
    Steps(state, false);
}
BENCHMARK(DormantStep)->Unit(benchmark::kMicrosecond);

} // namespace
