// The whole fixed step of play as Core runs it (the state announcement, the
// input snapshot, the particles, the level script, every object's update:
// doors, elevators, pickups, every monster, the shots in flight, the player
// last; then the point lights and the HUD) in each shipped level with every
// monster awake and hunting. Target: 0.5 ms a step.
//
// A new game on Normal loads the level through the loading state (no GPU:
// the step draws nothing). Then every door is opened and held open, so
// every region of the level can be reached and no monster is dormant; every
// region counts as awakened and every monster roars, so all of them hunt the
// player, who stands at the level's start in god mode turning slowly with
// the mouse. After a one-second warm-up the step is measured over a fixed
// 30 s of game time (the crowd closes in, bites, the eyes shoot), so the
// fight is the same on every run: the random generator is seeded after the
// load.
//
// Counters: "allocs/step", heap allocations per step (the steady-state step
// must make none); "monsters", the level's monsters; "hunting", those awake,
// alive, not dormant and hunting at the end; "shots", the projectiles in
// flight at the end.
//
// `BM_LevelLoadWithoutGpu` times the loading state's step and the first
// playing step of each level in this process, which has no GPU (the level
// load needs none; with a device, bench_LevelLoadBench); `cpu_ms` is the
// process's CPU time.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "gameplay/Door.h"
#include "gameplay/Monster.h"
#include "gameplay/Projectile.h"
#include "platform/Random.h"
#include "support/AllocationCounter.h"
#include "support/BenchCore.h"
#include "support/ProcessCpuTime.h"
#include "world/AIRegionGraph.h"

namespace
{

using namespace mirefell;

constexpr int WarmUpSteps = 60;
constexpr int MeasuredSteps = 1800;

testing::BenchCore& TheCore()
{
    static testing::BenchCore core(false);
    return core;
}

// Every door open for good, every region awakened, every monster roaring.
std::vector<Monster*> WakeEveryMonster(World& world)
{
    std::vector<Monster*> monsters;
    for (const auto& object : world.objects) {
        if (auto* door = dynamic_cast<Door*>(object.get())) {
            door->SetUsable(false); // an unusable open door never closes
            door->Open();
        }
        if (auto* monster = dynamic_cast<Monster*>(object.get()))
            monsters.push_back(monster);
    }
    for (auto& [id, region] : world.aiRegions->regions) {
        region.awakened = true;
        region.alerted = true;
    }
    for (Monster* monster : monsters)
        monster->Roar(true);
    return monsters;
}

void BM_LevelStep(benchmark::State& state, const char* level)
{
    testing::BenchCore& bench = TheCore();
    bench.PlayNewGame(level);
    World& world = *bench.core->GetWorld();
    const std::vector<Monster*> monsters = WakeEveryMonster(world);
    SeedRand(1);

    Input& input = Input::GetInstance();
    PlatformEvent turn;
    turn.type = PlatformEventType::MouseMotion;
    turn.dx = 2;
    for (int i = 0; i < WarmUpSteps; ++i) {
        input.mouse->ProcessEvent(turn);
        bench.core->Update();
    }

    const uint64_t before = testing::AllocationCount();
    for (auto _ : state) {
        input.mouse->ProcessEvent(turn);
        bench.core->Update();
    }
    const uint64_t allocations = testing::AllocationCount() - before;

    int hunting = 0, dead = 0, dormant = 0;
    for (const Monster* monster : monsters) {
        hunting += !monster->dead && !monster->dormant && monster->state == MonsterState::Hunting ? 1 : 0;
        dead += monster->dead ? 1 : 0;
        dormant += !monster->dead && monster->dormant ? 1 : 0;
    }
    int shots = 0;
    for (const auto& object : world.objects)
        shots += dynamic_cast<const Projectile*>(object.get()) ? 1 : 0;
    state.counters["allocs/step"] = static_cast<double>(allocations) / static_cast<double>(state.iterations());
    state.counters["monsters"] = static_cast<double>(monsters.size());
    state.counters["hunting"] = hunting;
    state.counters["dead"] = dead;
    state.counters["dormant"] = dormant;
    state.counters["shots"] = shots;
}

BENCHMARK_CAPTURE(BM_LevelStep, pentagram, "pentagram")->Iterations(MeasuredSteps)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_LevelStep, descent, "descent")->Iterations(MeasuredSteps)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_LevelStep, mouth, "mouth")->Iterations(MeasuredSteps)->Unit(benchmark::kMicrosecond);

void BM_LevelLoadWithoutGpu(benchmark::State& state, const char* level)
{
    testing::BenchCore& bench = TheCore();
    testing::TimeFramesWithCpu(state, [&] {
        testing::BenchCore::RequestNewGame(level);
        bench.core->Update(); // loading
        bench.core->Update(); // the first playing step
    });
}
BENCHMARK_CAPTURE(BM_LevelLoadWithoutGpu, pentagram, "pentagram")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_LevelLoadWithoutGpu, descent, "descent")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_LevelLoadWithoutGpu, mouth, "mouth")->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
