// IPowerup: a pickup as the world sees it: the handle by which level scripts
// recognise a pickup (compared by identity), and what a moving platform asks
// before it carries one.
#pragma once

#include <cstdint>

namespace mirefell
{

class IPowerup
{
public:
    virtual ~IPowerup() = default;
    // Whether the pickup rides the elevator of this sector id: it lies on
    // that elevator and is not static.
    virtual bool RidesElevator(int32_t elevatorSectorId) const = 0;
};

} // namespace mirefell
