// The shell's share of one fixed step in play: the state announcement, the
// input snapshot with the rebind capture, the playing branch with its
// profiler sample, and the action queries gameplay makes each step. Compare
// against the 16.7 ms step budget; "allocs/step" must stay 0 (no allocation
// in the steady-state step).

#include <benchmark/benchmark.h>

#include "app/Core.h"
#include "platform/VirtualKey.h"
#include "shell/GameStateManager.h"
#include "shell/Input.h"
#include "shell/KeybindManager.h"
#include "support/AllocationCounter.h"

namespace
{

using namespace mirefell;

void BM_PlayingStep(benchmark::State& state)
{
    KeybindManager::GetInstance().Reset(""); // never write binds.bin from a benchmark
    Input& input = Input::GetInstance();
    input.Initialize(nullptr);
    // Never destroyed: its destructor would write config.json here.
    static Core* core = new Core();
    core->Initialize();
    GameStateManager::GetInstance().Request(GameState::Playing);
    core->Update();

    PlatformEvent key;
    key.type = PlatformEventType::KeyDown;
    key.key = 'W';
    input.keyboard->ProcessEvent(key);
    PlatformEvent motion;
    motion.type = PlatformEventType::MouseMotion;
    motion.dx = 3;
    uint64_t steps = 0;
    const uint64_t before = mirefell::testing::AllocationCount();
    int held = 0;
    for (auto _ : state) {
        input.mouse->ProcessEvent(motion);
        core->Update();
        held += input.IsActionDown(KeybindAction::MoveForward) + input.IsActionPressed(KeybindAction::Attack) +
                input.IsActionDown(KeybindAction::Block) + input.IsActionPressed(KeybindAction::Sledgehammer);
        ++steps;
    }
    benchmark::DoNotOptimize(held);
    state.counters["allocs/step"] =
        static_cast<double>(mirefell::testing::AllocationCount() - before) / static_cast<double>(steps);
}
BENCHMARK(BM_PlayingStep);

} // namespace
