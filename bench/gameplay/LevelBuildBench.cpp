// What a level load spends building the World from its map, against the
// 16.7 ms step it happens in (the level is built inside one update step).
//
// - TestMapBuild: World::Create over the test map with the gameplay's
//   factories: static geometry, doors, the elevator, the switch, nine
//   pickups with their instances and debug boxes, lights, the player (whose
//   level start writes the save), the AI regions.
// - CrowdedBuild: the same map with `range` extra ammunition packs spread
//   over the hall: what each pickup's spawn (its loot-free set-up, batch
//   instance, debug box and cells) adds.
//
// "budget_share" is the fraction of a 16.7 ms step one build takes.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

#include "gameplay/GameSaveManager.h"
#include "gameplay/MapObjectMakers.h"
#include "render/Camera.h"
#include "render/Mesh.h"
#include "render/MeshRegistry.h"
#include "render/ParticleSystem.h"
#include "render/PointLights.h"
#include "world/MapLoader.h"
#include "world/World.h"

namespace mirefell
{
namespace
{

constexpr double StepBudgetSeconds = 1.0 / 60.0;

// A scratch working folder (the player saves at the level start), the
// entity meshes and the test map.
struct Scratch
{
    Scratch()
    {
        folder = std::filesystem::temp_directory_path() / ("mirefell-level-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        previous = std::filesystem::current_path();
        MeshRegistry::GetInstance().LoadAll(std::string(MIREFELL_RUN_DIR) + "/assets/meshes/");
        MapEntityTypes::Initialize();
        GameSaveManager::GetInstance().current.difficulty = GameDifficulty::Normal; // the monsters read it
        map = MapLoader::LoadFromFile(std::string(MIREFELL_SOURCE_DIR) + "/tests/data/maps/testmap.json");
        std::filesystem::current_path(folder);
    }
    ~Scratch()
    {
        std::filesystem::current_path(previous);
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    void Build(benchmark::State& state)
    {
        for (auto _ : state) {
            PointLights::GetInstance().Clear();
            Mesh root(EffectIdNone, MeshVertexFormatColor);
            Mesh debugRoot(EffectIdNone, MeshVertexFormatColor);
            std::unique_ptr<World> world =
                World::Create(&root, &debugRoot, &particles, &camera, map,
                              GameSaveManager::GetInstance().GetLevelSettings(), MakeMapObjectFactories());
            benchmark::DoNotOptimize(world.get());
            world.reset();
        }
        state.counters["budget_share"] = benchmark::Counter(
            StepBudgetSeconds, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    }

    std::filesystem::path folder;
    std::filesystem::path previous;
    MapData map;
    ParticleSystem particles;
    Camera camera;
};

void TestMapBuild(benchmark::State& state)
{
    Scratch scratch;
    scratch.Build(state);
}
BENCHMARK(TestMapBuild)->Unit(benchmark::kMillisecond);

void CrowdedBuild(benchmark::State& state)
{
    Scratch scratch;
    // The hall spans (144, 0)-(288, 128); the packs stand on a 4-unit grid
    // inside it (the pickup stands 4 in from its record's point).
    const MapEntity ammo = scratch.map.entities[1];
    for (int i = 0; i < state.range(0); ++i) {
        MapEntity& extra = scratch.map.entities.emplace_back(ammo);
        extra.id = 1000 + i;
        extra.pos = {150.0f + static_cast<float>(i % 32) * 4.0f, 4.0f + static_cast<float>(i / 32 % 28) * 4.0f};
    }
    scratch.Build(state);
    state.counters["pickups"] = static_cast<double>(state.range(0));
}
BENCHMARK(CrowdedBuild)->Arg(100)->Arg(400)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace mirefell
