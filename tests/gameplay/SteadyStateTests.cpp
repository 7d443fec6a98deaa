// The fixed step allocates nothing once a level is warm: the player walking
// and turning, a door and the elevator cycling, all through World::Update.
// Heap allocations are counted by replacing the global operator new for this
// test program; only the World's updates are counted.

#include <gtest/gtest.h>

#include "gameplay/Door.h"
#include "gameplay/Elevator.h"
#include "gameplay/Player.h"
#include "shell/Input.h"
#include "support/AllocationCounter.h"
#include "support/GameplayFixture.h"
#include "support/WorldFixture.h"

namespace mirefell::testing
{
namespace
{

TEST_F(GameplayTest, AWarmLevelStepsWithoutAllocating)
{
    BuildLevel(LoadTestMap());
    for (const auto& object : world->objects) {
        if (auto* door = dynamic_cast<Door*>(object.get()))
            door->SetCycling(true);
        if (auto* elevator = dynamic_cast<Elevator*>(object.get()))
            elevator->SetAutoCycle(true);
    }
    // Circles in the start room: forward held, turning a little each step.
    Hold(KeybindAction::MoveForward, true);
    const auto step = [&](uint64_t& counted) {
        MoveMouse(6, 0);
        Input::GetInstance().Update();
        const uint64_t before = mirefell::testing::AllocationCount();
        world->Update();
        counted += mirefell::testing::AllocationCount() - before;
    };
    uint64_t warmUp = 0;
    for (int i = 0; i < 600; ++i)
        step(warmUp);
    uint64_t steady = 0;
    for (int i = 0; i < 600; ++i)
        step(steady);
    EXPECT_EQ(steady, 0u) << "warm-up allocations: " << warmUp;
    EXPECT_GT(player->position.x, 0.0f); // it did walk
    EXPECT_FALSE(player->dead);
}

} // namespace
} // namespace mirefell::testing
