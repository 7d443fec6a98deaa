// The fixed step allocates nothing once a level is warm: the player walking
// and turning, a door and the elevator cycling, all through World::Update;
// shots fired, flying and gone; and a crowd can gather in any cell of a new
// level without a cell's list growing.
// Heap allocations are counted by replacing the global operator new for this
// test program; only the World's updates are counted.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "gameplay/Door.h"
#include "gameplay/Elevator.h"
#include "gameplay/Player.h"
#include "gameplay/ProjectilePool.h"
#include "render/PointLights.h"
#include "shell/Input.h"
#include "support/AllocationCounter.h"
#include "support/GameplayFixture.h"
#include "support/WorldFixture.h"
#include "world/GridCell.h"

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

TEST_F(GameplayTest, ShotsFiredInAWarmLevelAllocateNothing)
{
    BuildLevel(LoadTestMap());
    PointLights::GetInstance().Reserve(ProjectilePool::Capacity); // as the level load does
    const Vector3 muzzle = player->position + Vector3(0.0f, 4.0f, 0.0f);
    // A volley every 10 steps, each shot a light, a body and a cell list;
    // bolts bounce about the room, eye shots and rockets meet the walls.
    const auto fight = [&](int steps) {
        const uint64_t before = mirefell::testing::AllocationCount();
        for (int i = 0; i < steps; ++i) {
            if (i % 10 == 0) {
                const float angle = 0.7f * static_cast<float>(i);
                const Vector3 direction(std::cos(angle), 0.0f, std::sin(angle));
                for (ProjectileType type :
                     {ProjectileType::HyperBlasterBolt, ProjectileType::EyeShot, ProjectileType::Rocket})
                    world->SpawnProjectile(nullptr, type, {1, 1, 1, 1}, {1, 1, 1, 1}, muzzle + direction * 8.0f,
                                           direction, 1.0f);
            }
            Input::GetInstance().Update();
            world->Update();
            PointLights::GetInstance().Update();
        }
        return mirefell::testing::AllocationCount() - before;
    };
    const uint64_t warmUp = fight(400);
    const size_t inFlight = ProjectilePool::Capacity - ProjectilePool::GetInstance().FreeSlots();
    EXPECT_GT(inFlight, 3u);
    EXPECT_EQ(fight(400), 0u) << "warm-up allocations: " << warmUp;
}

TEST_F(GameplayTest, ACrowdGathersInTheBusiestCellWithoutAllocating)
{
    BuildLevel(LoadTestMap());
    GridCell* busiest = &world->CellAt(0, 0);
    for (int32_t row = 0; row < world->rows; ++row)
        for (int32_t column = 0; column < world->columns; ++column)
            if (world->CellAt(column, row).objects.size() > busiest->objects.size())
                busiest = &world->CellAt(column, row);
    ASSERT_GE(busiest->objects.size(), 4u); // walls, floor and ceiling meet there

    // Nine monsters side by side overlap one cell at most, and the player.
    std::vector<std::unique_ptr<TestObject>> crowd;
    for (int i = 0; i < 10; ++i)
        crowd.push_back(std::make_unique<TestObject>(world.get(), GridObjectType::Monster));
    const Vector3 centre((busiest->min.x + busiest->max.x) / 2, 0.0f, (busiest->min.y + busiest->max.y) / 2);
    const size_t before = busiest->objects.size();
    const uint64_t allocations = mirefell::testing::AllocationCount();
    for (auto& member : crowd)
        member->Place(centre, {1.0f, 1.0f, 1.0f});
    EXPECT_EQ(mirefell::testing::AllocationCount() - allocations, 0u);
    EXPECT_EQ(busiest->objects.size(), before + 10);
    for (auto& member : crowd)
        member->RemoveFromCells();
}

} // namespace
} // namespace mirefell::testing
