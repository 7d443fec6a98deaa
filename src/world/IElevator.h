// IElevator: how level scripts drive an Elevator. Heights are platform
// heights; setting the bottom or top does not move the platform.
#pragma once

namespace mirefell
{

class IElevator
{
public:
    virtual ~IElevator() = default;

    virtual float GetBottom() = 0;
    virtual void SetBottom(float bottom) = 0;
    virtual float GetTop() = 0;
    virtual void SetTop(float top) = 0;
    virtual void SetAutoCycle(bool autoCycle) = 0;
    virtual void SetSpeed(float speed) = 0;
    // Jump to the top or bottom at once.
    virtual void SnapToTop() = 0;
    virtual void SnapToBottom() = 0;
    // Start moving, with the "elevator_move" sound.
    virtual void MoveUp() = 0;
    virtual void MoveDown() = 0;
};

} // namespace mirefell
