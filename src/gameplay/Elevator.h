// Elevator: a map sector with "elevator" set, a platform whose floor moves
// between a bottom and a top height. Level scripts drive it through
// IElevator (move, snap, cycle without end). While it moves it carries what
// stands on it (pickups both ways, the player only upwards) and moves its
// sector's floor and ceiling heights with it, so floor look-ups and
// collision see the platform where it is drawn.
//
// The object's y is the centre of the platform's block, half its travel
// below its top; bottom and top are such centre heights.
#pragma once

#include <cstdint>

#include "world/GridObject.h"
#include "world/IElevator.h"

namespace mirefell
{

inline constexpr uint32_t ElevatorStateBottom = 0;
inline constexpr uint32_t ElevatorStateTop = 1;
inline constexpr uint32_t ElevatorStateMovingDown = 2;
inline constexpr uint32_t ElevatorStateMovingUp = 3;

class Elevator : public GridObject, public IElevator
{
public:
    static constexpr float DefaultSpeed = 0.25f;

    Elevator(World* world_, MapSector* sector_);

    // Bottom at the current height, top elevatorMaxHeight above.
    void SetUp() override;
    void Update() override;

    float GetBottom() override { return bottom; }
    void SetBottom(float bottom_) override { bottom = bottom_; }
    float GetTop() override { return top; }
    void SetTop(float top_) override { top = top_; }
    void SetAutoCycle(bool autoCycle_) override { autoCycle = autoCycle_; }
    void SetSpeed(float speed_) override { speed = speed_; }
    void SnapToTop() override;
    void SnapToBottom() override;
    void MoveUp() override;
    void MoveDown() override;

    Vector3 displacement; // of the current step
    float speed = DefaultSpeed;
    uint32_t state = ElevatorStateBottom;
    bool autoCycle = false;
    int32_t waitPeriod = 0; // steps at each end while cycling
    int32_t waitCountdown = 0;
    float bottom = 0.0f;
    float top = 0.0f;

private:
    // Moves the platform, its sector's heights, its picture and its riders
    // by the step's displacement.
    void ApplyMove();
};

} // namespace mirefell
