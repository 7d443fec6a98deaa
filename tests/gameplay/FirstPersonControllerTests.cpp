// The first-person controller on its own, with a move callback that records
// and accepts every move: angle wrap and clamp, look directions, walking
// speeds, locking, and the eye's step smoothing.
#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "gameplay/FirstPersonController.h"
#include "render/Camera.h"

namespace mirefell
{
namespace
{

struct Controller : ::testing::Test
{
    Controller() : controller(&camera, {10, 7, 10}, 0.5f, false)
    {
        controller.speed = 1.25f;
        controller.move = [this](Vector3& from, Vector3& to) { moves.push_back(to - from); };
        controller.SetAngles(FirstPersonController::DefaultYaw, FirstPersonController::DefaultPitch);
    }

    Vector3 StepWith(const ControllerInput& input)
    {
        moves.clear();
        controller.Update(input);
        return moves.at(0);
    }

    Camera camera;
    FirstPersonController controller;
    std::vector<Vector3> moves;
};

void ExpectNear(const Vector3& actual, const Vector3& expected, float tolerance = 1e-5f)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

TEST_F(Controller, YawWrapsOnceAndPitchIsClamped)
{
    controller.SetAngles(359.0f + 2.0f, 90.0f);
    EXPECT_FLOAT_EQ(controller.yaw, 1.0f);
    controller.SetAngles(-1.0f, 90.0f);
    EXPECT_FLOAT_EQ(controller.yaw, 359.0f);
    controller.SetAngles(360.0f, 90.0f);
    EXPECT_FLOAT_EQ(controller.yaw, 0.0f);
    controller.SetAngles(725.0f, 90.0f); // one wrap per call
    EXPECT_FLOAT_EQ(controller.yaw, 365.0f);

    controller.SetAngles(0.0f, 5.0f);
    EXPECT_FLOAT_EQ(controller.pitch, 10.0f);
    controller.SetAngles(0.0f, 175.0f);
    EXPECT_FLOAT_EQ(controller.pitch, 170.0f);
}

TEST_F(Controller, LookAndWalkDirectionsFollowTheAngles)
{
    // The start faces -Z, level; right is +X.
    ExpectNear(controller.look, {0, 0, -1});
    ExpectNear(controller.strafeRight, {1, 0, 0});

    // Looking down (pitch above 90) tilts the look, not the walk.
    controller.SetAngles(0.0f, 135.0f);
    const float s = std::sqrt(0.5f);
    ExpectNear(controller.look, {s, -s, 0});
    ExpectNear(controller.forward, {1, 0, 0});
    // Flying walks where it looks.
    controller.flying = true;
    controller.SetAngles(0.0f, 135.0f);
    ExpectNear(controller.forward, {s, -s, 0});

    // The camera sits at the eye height and looks along `look`.
    ExpectNear(camera.position, controller.position + Vector3(0, FirstPersonController::DefaultEyeHeight, 0));
    ExpectNear(camera.target - camera.position, controller.look);
}

TEST_F(Controller, MouseCountsTurnBySensitivityWithOptionalInversion)
{
    ControllerInput input;
    input.mouseDx = 20; // 0.5 degrees a count
    input.mouseDy = 10;
    StepWith(input);
    EXPECT_FLOAT_EQ(controller.yaw, 280.0f);
    EXPECT_FLOAT_EQ(controller.pitch, 95.0f); // mouse down looks down

    controller.invertY = true;
    StepWith(input);
    EXPECT_FLOAT_EQ(controller.pitch, 90.0f);

    // With the inventory window open the view does not turn, but the move
    // (and so gravity) still runs.
    input.look = false;
    StepWith(input);
    EXPECT_FLOAT_EQ(controller.yaw, 290.0f);
    EXPECT_EQ(moves.size(), 1u);
}

TEST_F(Controller, KeysMoveAtWalkingSpeedAndDiagonalsAreNotNormalised)
{
    ControllerInput input;
    EXPECT_EQ(StepWith(input), Vector3()); // the callback runs without keys too

    input.forward = true;
    ExpectNear(StepWith(input), {0, 0, -1.25f});
    input.strafeRight = true;
    const Vector3 diagonal = StepWith(input);
    EXPECT_NEAR(diagonal.Length(), 1.25f * std::sqrt(2.0f), 1e-5f);
    ExpectNear(diagonal, {1.25f, 0, -1.25f});

    input.backward = true; // forward and backward cancel
    ExpectNear(StepWith(input), {1.25f, 0, 0});

    controller.locked = true;
    EXPECT_EQ(StepWith(input), Vector3());
    EXPECT_THROW(([] {
                     Camera c;
                     FirstPersonController bare(&c, {}, 1.0f, false);
                     bare.Move(0, 1);
                 }()),
                 std::bad_function_call);
}

TEST_F(Controller, TheSmoothedEyeClosesATenthOfTheGapEachStep)
{
    controller.position.y = 11.0f; // the body stepped up 4 units
    controller.smoothEye = true;
    controller.UpdateCamera();
    EXPECT_FLOAT_EQ(controller.eye.y, 7.4f);
    controller.UpdateCamera();
    EXPECT_FLOAT_EQ(controller.eye.y, 7.76f);
    EXPECT_FLOAT_EQ(camera.position.y, 7.76f + FirstPersonController::DefaultEyeHeight);
    // x and z are never smoothed.
    controller.position.x = 20.0f;
    controller.UpdateCamera();
    EXPECT_FLOAT_EQ(controller.eye.x, 20.0f);

    controller.smoothEye = false;
    controller.UpdateCamera();
    EXPECT_FLOAT_EQ(controller.eye.y, 11.0f);
}

} // namespace
} // namespace mirefell
