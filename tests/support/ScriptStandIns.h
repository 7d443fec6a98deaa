// ScriptStandIns: starts a level's script on a World whose build does not
// yet make every object the script looks up. Switches (segments of type 5)
// and monsters (kind-2 entities) that the object index lacks get stand-ins
// that record what the script does to them; then the script is made and
// started as the AI region graph does for a map with "hasScript". Build the
// World from a copy of the map with "hasScript" cleared, then call Start.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "world/AreaTrigger.h"
#include "world/IMonster.h"
#include "world/ISwitch.h"
#include "world/World.h"

namespace mirefell::testing
{

class StandInSwitch : public ISwitch
{
public:
    bool IsOn() override { return on; }
    void TurnOn() override { on = true; }
    bool on = false;
};

class StandInMonster : public IMonster
{
public:
    void Roar(bool force) override { force ? ++forcedRoars : ++roars; }
    void SetState(uint32_t state_) override { state = state_; }
    void Awaken() override { ++awakenings; }
    float GetMaxHealth() override { return 0.0f; }
    float GetHealth() override { return 0.0f; }

    uint32_t state = 2;
    int roars = 0;
    int forcedRoars = 0;
    int awakenings = 0;
};

struct ScriptStandIns
{
    // Makes the stand-ins, indexes them and starts the script registered
    // under the map's name (level scripts must be registered).
    void Start(World& world);
    // The area trigger of that name; the test fails without one.
    const AreaTrigger& Trigger(World& world, const std::string& name) const;

    std::map<uint32_t, StandInSwitch> switches;
    std::map<uint32_t, StandInMonster> monsters;
};

} // namespace mirefell::testing
