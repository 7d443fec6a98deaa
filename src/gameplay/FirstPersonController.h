// FirstPersonController: turns mouse and movement keys into a view direction
// and a wished position, hands the wished position to the owner's move
// callback (which resolves collision and writes back where the body may
// stand) and places the camera at the eye. The player owns one, made at its
// set-up; `position` is kept equal to the player's position.
//
// Angles are in degrees: yaw about the vertical axis (270 faces -Z, 0 faces
// +X), pitch from straight up (90 looks level, more looks down), clamped to
// [10, 170] so the look vector never vanishes. Speeds are world units per
// step. A diagonal move is not normalised: it covers speed x sqrt(2).
//
// The step reads its input as a ControllerInput, gathered from Input and the
// inventory-window flag by Read, so tests can drive it directly.
#pragma once

#include <functional>

#include "platform/math/Vector.h"

namespace mirefell
{

class Camera;

// What one controller step reads.
struct ControllerInput
{
    float mouseDx = 0.0f; // relative mouse counts of this step
    float mouseDy = 0.0f;
    bool look = true; // false while the inventory window is open
    bool forward = false;
    bool backward = false;
    bool strafeLeft = false;
    bool strafeRight = false;

    // This step's mouse movement (relative mode only) and movement actions.
    static ControllerInput Read();
};

class FirstPersonController
{
public:
    using MoveCallback = std::function<void(Vector3& from, Vector3& to)>;

    static constexpr float DefaultYaw = 270.0f;
    static constexpr float DefaultPitch = 90.0f;
    static constexpr float MinPitch = 10.0f;
    static constexpr float MaxPitch = 170.0f;
    static constexpr float DefaultEyeHeight = 3.5f;
    static constexpr float DefaultEyeSmoothing = 0.1f;
    static constexpr float DegreesToRadians = 0.017453292f;

    // The camera is borrowed and written at every step; sensitivity is in
    // degrees per mouse count. Faces yaw 270, pitch 90 once SetAngles runs.
    FirstPersonController(Camera* camera_, const Vector3& position_, float sensitivity_, bool invertY_);

    // One step from the current Input.
    void Update();
    // One step: look (unless input.look is false), then the move, which
    // calls `move` even without movement keys so gravity still runs.
    void Update(const ControllerInput& input);
    // Wraps the yaw once into [0, 360), clamps the pitch, recomputes the
    // look, walking and strafing directions and places the camera.
    void SetAngles(float yaw_, float pitch_);
    // Moves by the forward and strafe factors (-1, 0 or +1 each) times
    // speed through the move callback (which must be set).
    void Move(float strafe, float forwardAmount);
    // The eye follows position (y smoothed while smoothEye is set); the
    // camera sits eyeHeight (plus the head bob) above the eye and looks along
    // `look`.
    void UpdateCamera();

    Vector3 position;
    float eyeHeight = DefaultEyeHeight;
    Camera* camera;
    Vector3 eye;
    Vector3 cameraTarget;
    Vector3 lookAt;
    float speed = 1.0f;
    float sensitivity;
    bool invertY;
    Vector3 look;
    Vector3 forward;
    Vector3 right;
    Vector3 strafeRight; // the strafing copy of `right`
    float yaw = DefaultYaw;
    float pitch = DefaultPitch;
    MoveCallback move;
    bool locked = false; // movement keys ignored (death)
    bool flying = false; // walking follows the pitch too
    bool smoothEye = false;
    float eyeSmoothing = DefaultEyeSmoothing;
    float eyeBob = 0.0f; // the walk's head bob, written by the weapon view; raises the camera
};

} // namespace mirefell
