// ShippedLevelFixture: a shipped level built from its committed map with the
// gameplay's own objects, its level script started on stand-ins for what
// the build does not make yet (monsters), and look-ups of the real doors,
// elevators, switches and pickups by map id. Tests drive the script through
// its hooks as the game would.
#pragma once

#include <cstdint>
#include <string>

#include "gameplay/Door.h"
#include "gameplay/Elevator.h"
#include "gameplay/Powerup.h"
#include "support/GameplayFixture.h"
#include "support/ScriptStandIns.h"
#include "world/MapScript.h"

namespace mirefell::testing
{

class ShippedLevelTest : public GameplayTest
{
protected:
    // Builds assets/maps/<name>.json under the current save's settings and
    // starts its script.
    void LoadLevel(const std::string& name);

    // The object of that map id; the test fails with an exception naming
    // the id when the level has none.
    Door& DoorOf(int32_t id);
    Elevator& ElevatorOf(int32_t id);
    Powerup& PickupOf(int32_t id);
    // The map's switch on that segment, as the script finds it.
    ISwitch* SwitchOf(uint32_t id);

    // The script's area, switch and pickup hooks, as the game calls them.
    void Enter(const std::string& area);
    void Throw(uint32_t switchId);
    void Collect(int32_t pickupId);

    // The height of a lift's platform.
    float Surface(int32_t elevatorId) { return ElevatorOf(elevatorId).sector->floorTopY; }

    ScriptStandIns standIns;
    MapScript* script = nullptr;
};

} // namespace mirefell::testing
