// FirstPersonController: look, wished move and camera placement.
#include "gameplay/FirstPersonController.h"

#include <algorithm>
#include <cassert>
#include <cmath>

#include "render/Camera.h"
#include "shell/Input.h"
#include "shell/InventoryWindowFlag.h"

namespace mirefell
{

namespace
{
// A quarter turn in radians, as the strafe direction is offset from the yaw.
constexpr float QuarterTurn = 1.5707964f;
} // namespace

ControllerInput ControllerInput::Read()
{
    const Input& input = Input::GetInstance();
    ControllerInput read;
    // In absolute mode the mouse reports a cursor position, not movement.
    if (input.mouseState.positionMode == Mouse::Mode::Relative) {
        read.mouseDx = static_cast<float>(input.mouseState.x);
        read.mouseDy = static_cast<float>(input.mouseState.y);
    }
    read.look = !inventoryWindowOpen;
    read.forward = input.IsActionDown(KeybindAction::MoveForward);
    read.backward = input.IsActionDown(KeybindAction::MoveBackward);
    read.strafeLeft = input.IsActionDown(KeybindAction::StrafeLeft);
    read.strafeRight = input.IsActionDown(KeybindAction::StrafeRight);
    return read;
}

FirstPersonController::FirstPersonController(Camera* camera_, const Vector3& position_, float sensitivity_,
                                             bool invertY_)
    : position(position_), camera(camera_), eye(position_), sensitivity(sensitivity_), invertY(invertY_)
{
    assert(camera && "the controller writes a camera");
}

void FirstPersonController::Update()
{
    Update(ControllerInput::Read());
}

void FirstPersonController::Update(const ControllerInput& input)
{
    if (input.look) {
        const float sign = invertY ? -1.0f : 1.0f;
        SetAngles(yaw + sensitivity * input.mouseDx, pitch + sign * sensitivity * input.mouseDy);
    }
    float forwardAmount = 0.0f;
    float strafe = 0.0f;
    if (!locked) {
        forwardAmount = (input.forward ? 1.0f : 0.0f) - (input.backward ? 1.0f : 0.0f);
        strafe = (input.strafeRight ? 1.0f : 0.0f) - (input.strafeLeft ? 1.0f : 0.0f);
    }
    Move(strafe, forwardAmount);
}

void FirstPersonController::SetAngles(float yaw_, float pitch_)
{
    if (yaw_ < 0.0f)
        yaw_ += 360.0f;
    else if (yaw_ >= 360.0f)
        yaw_ -= 360.0f;
    yaw = yaw_;
    pitch = std::clamp(pitch_, MinPitch, MaxPitch);

    const float y = yaw * DegreesToRadians;
    const float p = pitch * DegreesToRadians;
    const float sinPitch = std::sin(p);
    look = Vector3(std::cos(y) * sinPitch, std::cos(p), std::sin(y) * sinPitch);
    forward = Vector3(std::cos(y) * sinPitch, flying ? std::cos(p) : 0.0f, std::sin(y) * sinPitch).Normalized();
    right = Vector3(std::cos(y + QuarterTurn) * sinPitch, 0.0f, std::sin(y + QuarterTurn) * sinPitch).Normalized();
    strafeRight = right;
    UpdateCamera();
}

void FirstPersonController::Move(float strafe, float forwardAmount)
{
    Vector3 to = position;
    if (strafe != 0.0f || forwardAmount != 0.0f)
        to += (forward * forwardAmount + strafeRight * strafe) * speed;
    // The callback may move the start too (a teleport), so it gets a copy.
    Vector3 from = position;
    move(from, to);
    position = to;
    UpdateCamera();
}

void FirstPersonController::UpdateCamera()
{
    eye.x = position.x;
    eye.z = position.z;
    if (!smoothEye)
        eye.y = position.y;
    else if (eye.y != position.y)
        eye.y += (position.y - eye.y) * eyeSmoothing;

    camera->position = Vector3(eye.x, eye.y + eyeHeight + eyeBob, eye.z);
    lookAt = eye + look;
    cameraTarget = camera->position + look;
    camera->target = cameraTarget;
    camera->UpdateView();
}

} // namespace mirefell
