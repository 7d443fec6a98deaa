// ShippedLevelFixture: a shipped level built from its committed map with the
// gameplay's own objects, its level script made and started by the build as
// at the game's level start, and look-ups of the real doors, elevators,
// switches, pickups and monsters by map id. Tests drive the script through
// its hooks as the game would.
#pragma once

#include <cstdint>
#include <string>

#include "gameplay/Door.h"
#include "gameplay/Elevator.h"
#include "gameplay/Monster.h"
#include "gameplay/Powerup.h"
#include "support/GameplayFixture.h"
#include "world/AreaTrigger.h"
#include "world/ISwitch.h"
#include "world/MapScript.h"

namespace mirefell::testing
{

class ShippedLevelTest : public GameplayTest
{
protected:
    // Builds assets/maps/<name>.json under the current save's settings; the
    // build starts its script.
    void LoadLevel(const std::string& name);

    // The object of that map id; the test fails with an exception naming
    // the id when the level has none.
    Door& DoorOf(int32_t id);
    Elevator& ElevatorOf(int32_t id);
    Powerup& PickupOf(int32_t id);
    Monster& MonsterOf(int32_t id);
    // The map's switch on that segment, as the script finds it.
    ISwitch* SwitchOf(uint32_t id);

    // The map's area of that name; throws naming it when the map has none.
    const AreaTrigger& TriggerOf(const std::string& area) const;
    // The script's area, switch and pickup hooks, as the game calls them.
    void Enter(const std::string& area);
    void Throw(uint32_t switchId);
    void Collect(int32_t pickupId);

    // The height of a lift's platform.
    float Surface(int32_t elevatorId) { return ElevatorOf(elevatorId).sector->floorTopY; }

    MapScript* script = nullptr;
};

} // namespace mirefell::testing
