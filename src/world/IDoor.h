// IDoor: how level scripts and the AI region graph drive a Door. The door
// sector's record points at its door (MapSector::doorObject) once the door
// is built.
#pragma once

#include <cstdint>

namespace mirefell
{

// Door states as GetState reports them.
inline constexpr uint32_t DoorStateOpen = 0;
inline constexpr uint32_t DoorStateClosed = 1;
inline constexpr uint32_t DoorStateOpening = 2;
inline constexpr uint32_t DoorStateClosing = 3;

class IDoor
{
public:
    virtual ~IDoor() = default;

    virtual uint32_t GetState() = 0;
    // Whether the player may open it with the use key.
    virtual void SetUsable(bool usable) = 0;
    virtual void SetSpeed(float speed) = 0;
    // Starts opening (also from open or closing), without key test or sound.
    virtual void Open() = 0;
    // The same as Open.
    virtual void ForceOpen() = 0;
    // Starts closing, without sound.
    virtual void Close() = 0;
    // Endless opening and closing that crushes what it catches; a cycling
    // door is not usable.
    virtual void SetCycling(bool cycling) = 0;
};

} // namespace mirefell
