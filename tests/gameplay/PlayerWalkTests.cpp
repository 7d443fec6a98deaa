// A scripted walk through the test map, fed key by key and mouse count by
// mouse count as a player would: along a room, sliding along a wall at an
// angle, against a closed door, through it once opened with the use key,
// onto the elevator (collecting the ammunition lying there), up with it, up
// a 4-unit step onto the ledge, and back off the ledge into the shaft.
#include <algorithm>
#include <cmath>

#include <gtest/gtest.h>

#include "gameplay/Door.h"
#include "gameplay/Elevator.h"
#include "gameplay/FirstPersonController.h"
#include "gameplay/Player.h"
#include "shell/Config.h"
#include "support/GameplayFixture.h"
#include "support/WorldFixture.h"
#include "world/MapData.h"

namespace mirefell::testing
{
namespace
{

class PlayerWalk : public GameplayTest
{
protected:
    void SetUp() override
    {
        GameplayTest::SetUp();
        // One degree per mouse count makes the turns exact.
        Config::GetInstance().settings.mouseSensitivity = 1.0f;
        // The walk is the player's alone: the monsters would stand in the
        // way and bite.
        MapData map = LoadTestMap();
        std::erase_if(map.entities,
                      [](const MapEntity& entity) { return entity.entityType.kind == MapEntityKind::Monster; });
        BuildLevel(map);
        for (const auto& object : world->objects) {
            if (auto* found = dynamic_cast<Door*>(object.get()); found && found->sector->id == 2)
                door = found;
            if (auto* found = dynamic_cast<Elevator*>(object.get()))
                elevator = found;
        }
        ASSERT_TRUE(door && elevator);
    }

    // Turns by whole degrees in one step.
    void Turn(int degrees)
    {
        MoveMouse(degrees, 0);
        Step();
    }

    // Holds forward for `steps` steps.
    void Walk(int steps)
    {
        Hold(KeybindAction::MoveForward, true);
        Step(steps);
        Hold(KeybindAction::MoveForward, false);
    }

    Door* door = nullptr;
    Elevator* elevator = nullptr;
};

// The body's centre stands this far above a floor: half its height plus the
// gap the slide keeps to surfaces.
constexpr float StandingHeight = 7.0f;
constexpr float Tolerance = 0.05f;

TEST_F(PlayerWalk, ThroughTheTestMap)
{
    Step(2);
    EXPECT_NEAR(player->position.y, StandingHeight, Tolerance);
    EXPECT_FALSE(player->inAir);

    // Along the start room at full walking speed, then into the east wall.
    Turn(90); // yaw 270 -> 0: facing +X
    EXPECT_FLOAT_EQ(player->yaw, 0.0f);
    const Vector3 start = player->position;
    Walk(40);
    EXPECT_NEAR(player->position.x - start.x, 40 * Player::WalkSpeed, 1e-3f);
    EXPECT_NEAR(player->position.z, start.z, 1e-3f);
    EXPECT_NEAR(player->position.y, start.y, 1e-3f);
    Walk(60);
    const float wallStop = 128.0f - Player::BodyHalfExtents.x;
    EXPECT_NEAR(player->position.x, wallStop, 0.03f);
    EXPECT_LT(player->position.x, wallStop);

    // At 60 degrees into the wall: slides north at the tangential speed.
    Turn(60);
    const float zBefore = player->position.z;
    Walk(30);
    EXPECT_NEAR(player->position.x, wallStop, 0.03f);
    const float perStep = (player->position.z - zBefore) / 30.0f;
    EXPECT_NEAR(perStep, Player::WalkSpeed * std::sin(60.0f * 3.14159265f / 180.0f), 0.01f);
    ASSERT_GT(player->position.z, 48.0f + 3.0f); // in front of the doorway
    ASSERT_LT(player->position.z, 80.0f - 3.0f);

    // Facing the closed door: it stops the player like a wall, and it is the
    // use target.
    Turn(-60);
    Walk(20);
    EXPECT_NEAR(player->position.x, wallStop, 0.03f);
    EXPECT_EQ(door->GetState(), DoorStateClosed);
    EXPECT_EQ(player->usable, static_cast<IUsable*>(door));
    EXPECT_TRUE(player->usableInReach);

    // The use key opens it; once it has risen the player walks through.
    Hold(KeybindAction::Use, true);
    Step();
    Hold(KeybindAction::Use, false);
    EXPECT_EQ(door->GetState(), DoorStateOpening);
    Step(40); // 20 units up: the block's bottom clears the player's head
    Hold(KeybindAction::MoveForward, true);
    while (player->position.x < 304.0f)
        Step();
    Hold(KeybindAction::MoveForward, false);
    EXPECT_NEAR(player->position.y, StandingHeight, Tolerance);

    // On the elevator, where the ammunition lay: collected on touch.
    EXPECT_EQ(player->itemsCollected, 1);
    EXPECT_EQ(player->inventory.GetAmmo(AmmoType::Shells), 12); // start pack + this one

    // Ride up to 4 units below the ledge; the eye moves with the platform at
    // once (no step smoothing for a platform).
    elevator->SetTop(elevator->GetBottom() + 60.0f);
    elevator->MoveUp();
    for (int i = 0; i < 240; ++i) {
        Step();
        ASSERT_EQ(player->stepSmoothingLeft, 0) << "step " << i;
    }
    EXPECT_EQ(elevator->state, ElevatorStateTop);
    EXPECT_NEAR(player->position.y, 60.0f + StandingHeight, Tolerance);

    // Up the 4-unit step onto the ledge: the slide carries the body up the
    // step's edge over several steps, never through the ledge; the player
    // stays on its feet, and the eye follows smoothly instead of jumping
    // with the body.
    Hold(KeybindAction::MoveForward, true);
    int climbingSteps = 0;
    float steepestBody = 0.0f;
    float steepestEye = 0.0f;
    bool smoothed = false;
    while (player->position.x < 330.0f) {
        const float before = player->position.y;
        const float eyeBefore = player->controller->eye.y;
        Step();
        if (player->position.y > before + 1e-3f)
            ++climbingSteps;
        steepestBody = std::max(steepestBody, player->position.y - before);
        steepestEye = std::max(steepestEye, player->controller->eye.y - eyeBefore);
        smoothed = smoothed || player->stepSmoothingLeft > 0;
        ASSERT_FALSE(player->inAir);
        ASSERT_GE(player->position.y, 60.0f + StandingHeight - Tolerance);
    }
    Hold(KeybindAction::MoveForward, false);
    Step();
    EXPECT_GE(climbingSteps, 3);
    EXPECT_TRUE(smoothed);
    EXPECT_GT(steepestBody, 1.0f);
    EXPECT_LT(steepestEye, 0.75f);
    EXPECT_NEAR(player->position.y, 64.0f + StandingHeight, Tolerance);
    EXPECT_FALSE(player->inAir);
    // Once the smoothing and the head bob have run out the camera sits at
    // the eye height again.
    Step(40);
    EXPECT_FLOAT_EQ(camera.position.y, player->position.y + FirstPersonController::DefaultEyeHeight);

    // The platform goes back down without the player, who then walks off the
    // ledge (the shaft wall is seen from behind) and falls onto it.
    elevator->MoveDown();
    Step(245);
    EXPECT_EQ(elevator->state, ElevatorStateBottom);
    EXPECT_NEAR(player->position.y, 64.0f + StandingHeight, Tolerance);
    Turn(180);
    Hold(KeybindAction::MoveForward, true);
    while (player->position.x > 310.0f)
        Step();
    Hold(KeybindAction::MoveForward, false);
    float lowest = player->position.y;
    bool fell = false;
    for (int i = 0; i < 60; ++i) {
        Step();
        fell = fell || player->inAir;
        EXPECT_LE(player->position.y, lowest + 1e-3f);
        lowest = player->position.y;
    }
    EXPECT_TRUE(fell);
    EXPECT_FALSE(player->inAir);
    EXPECT_NEAR(player->position.y, StandingHeight, Tolerance);
    EXPECT_FLOAT_EQ(player->verticalSpeed, Player::GroundSpeed); // set by the landing
}

} // namespace
} // namespace mirefell::testing
