// IUsable: a door or switch that the player works with the use key. The
// player's move keeps the one in front of it within reach as its target and
// asks IsUsable whether the key would do anything now.
#pragma once

namespace mirefell
{

class IUsable
{
public:
    virtual ~IUsable() = default;

    virtual void Use() = 0;
    virtual bool IsUsable() = 0;
    // Whether it answers the use key at all; every usable object does.
    virtual bool IsUseTarget() { return true; }
};

} // namespace mirefell
