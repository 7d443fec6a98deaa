// IKillable: what the player and the monsters share as things that bleed and
// die. Every hit query skips an object whose IsDead is true (rays skip only
// dead monsters); monsters hunt an IKillable.
#pragma once

#include "platform/math/Color.h"
#include "platform/math/Vector.h"

namespace mirefell
{

class IKillable
{
public:
    virtual ~IKillable() = default;

    virtual bool IsDead() = 0;
    // Kills at once; false when it cannot be killed (god mode) or is already
    // dead.
    virtual bool Kill() = 0;
    // The colour of its blood particles (not yet in linear light).
    virtual Color GetBloodColor() = 0;
    virtual Vector3 GetPosition() = 0;
};

} // namespace mirefell
