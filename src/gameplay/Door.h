// Door: a map sector with "door" set, a block that slides up to open and
// back down to close. The player opens it with the use key (a red or blue
// key may be needed); an open usable door closes by itself after five
// seconds and reopens when a living player or monster stands in its way.
// Level scripts drive it through IDoor: open, close, lock, speed, and
// endless cycling that crushes whatever it catches.
//
// The object's y is the height of the moving block; its collision triangles,
// wall-segment copies and drawn pieces move with it. The sector keeps a
// pointer to the door (MapSector::doorObject) and its door-open flag is set
// whenever the door starts opening.
#pragma once

#include <cstdint>

#include "world/GridObject.h"
#include "world/IDoor.h"
#include "world/IUsable.h"

namespace mirefell
{

class Door : public GridObject, public IDoor, public IUsable
{
public:
    static constexpr float DefaultSpeed = 0.5f;
    static constexpr int32_t AutoCloseSteps = 300; // roundf(300.12006): five seconds
    static constexpr int32_t MessageSteps = 300;
    static constexpr const wchar_t* NeedRedKey = L"You need the red key to open this door.";
    static constexpr const wchar_t* NeedBlueKey = L"You need the blue key to open this door.";

    // The sector becomes the door's own and points back at it.
    Door(World* world_, MapSector* sector_);

    // Closed at its current height, open doorMaxHeight above.
    void SetUp() override;
    void Update() override;

    uint32_t GetState() override { return state; }
    void SetUsable(bool usable_) override;
    void SetSpeed(float speed_) override { speed = speed_; }
    void Open() override;
    void ForceOpen() override { Open(); }
    void Close() override { state = DoorStateClosing; }
    void SetCycling(bool cycling_) override;

    // Opens a closed door when the player holds the key it needs.
    void Use() override;
    bool IsUsable() override { return usableNow; }

    float closedHeight = 0.0f;
    float openHeight = 0.0f;
    bool usableNow = false;
    uint32_t state = DoorStateClosed;
    float speed = DefaultSpeed;
    int32_t autoClosePeriod = AutoCloseSteps;
    int32_t autoCloseCountdown = AutoCloseSteps;
    bool usable = true; // answers the use key and closes by itself
    bool cycling = false;

private:
    void StartOpening();
    // Moves the block and everything that follows it by dy.
    void ApplyMove(float dy);
};

} // namespace mirefell
