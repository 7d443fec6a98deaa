// LevelRoute: a shipped level built from its committed map with the
// gameplay's own objects, its script counted, the player in god mode, and
// the level's authored route walked (RouteWalker) with the fixture's steps.
//
// Until the level build makes monsters, they are stand-ins in the script's
// index (nothing fights back).
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "LevelSource.h"
#include "support/GameplayFixture.h"
#include "world/MapScript.h"

namespace mirefell::testing
{

// Counts the hooks the game calls, then hands them to the level's script.
class CountingScript : public MapScript
{
public:
    explicit CountingScript(std::unique_ptr<MapScript> inner_);

    void Update() override { inner->Update(); }
    void OnDoorOpened(IDoor* door) override { inner->OnDoorOpened(door); }
    void OnPowerupPickedUp(IPowerup* powerup) override;
    void OnSwitchToggled(ISwitch* toggled) override;
    void OnTriggerEnter(const AreaTrigger& trigger) override;
    void OnTriggerLeave(const AreaTrigger& trigger) override { inner->OnTriggerLeave(trigger); }

    std::unique_ptr<MapScript> inner;
    std::map<IPowerup*, int> pickups;
    std::map<ISwitch*, int> switches;
    std::map<std::string, int> entered;
};

class LevelRouteTest : public GameplayTest
{
protected:
    // Builds the shipped level (assets/maps/<name>.json) with its script on
    // stand-ins, counted, and the player in god mode.
    void LoadLevel(const std::string& name);
    // Follows the whole route, which must end with the level complete and
    // the player alive; a step that cannot be done fails the test.
    void WalkToTheExit();
    // The pickup of that entity id (compare by address only: a collected
    // pickup is freed), or null.
    IPowerup* PickupById(int32_t id) const;
    // The map's switch on that segment, and how often the script's switch
    // hook was called for it.
    ISwitch* SwitchOf(uint32_t id) const;
    int Throws(uint32_t switchId) const;

    maptool::LevelSource source;
    CountingScript* counter = nullptr;
};

} // namespace mirefell::testing
