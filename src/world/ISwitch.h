// ISwitch: how level scripts read and set a wall Switch.
#pragma once

namespace mirefell
{

class ISwitch
{
public:
    virtual ~ISwitch() = default;

    virtual bool IsOn() = 0;
    // Shows the switch as thrown, without sound or script call.
    virtual void TurnOn() = 0;
};

} // namespace mirefell
