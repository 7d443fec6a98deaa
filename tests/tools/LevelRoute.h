// LevelRoute: a shipped level started as the game starts it (a game in
// progress on "Normal" and Core's level load), its script counted, the
// player in god mode, and the level's authored route walked (the game's
// RouteWalker) with whole Core steps. The first level starts a new game; a later level is
// continued from a save that carries what the first level's alcoves give
// (the hammer and the double shotgun), as a player arrives there.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "LevelSource.h"
#include "support/CoreFixture.h"
#include "world/MapScript.h"

namespace mirefell
{
class Player;
class World;
} // namespace mirefell

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

class LevelRouteTest : public CoreTest
{
public:
    // The loot every route plays with, and the random draws of the
    // monsters' fights from the level start on.
    static constexpr uint32_t LootSeed = 20240601;
    static constexpr uint32_t FightSeed = 7;

protected:
    // Starts the shipped level through Core's level load, as described
    // above; its script is counted and the player is in god mode.
    void LoadLevel(const std::string& name);
    // Follows a route from where the player stands, with Core's steps; a
    // step that cannot be done fails the test.
    void Walk(const std::vector<RouteStep>& route);
    // Follows the level's whole route, which must end with the level
    // complete and the player alive; a step that cannot be done fails the
    // test.
    void WalkToTheExit();
    // The pickup of that entity id (compare by address only: a collected
    // pickup is freed), or null.
    IPowerup* PickupById(int32_t id) const;
    // The map's switch on that segment, and how often the script's switch
    // hook was called for it.
    ISwitch* SwitchOf(uint32_t id) const;
    int Throws(uint32_t switchId) const;
    // The areas the route passes, each at least as often as the route
    // passes it (a fight may push the player out of an area and back in),
    // and no other.
    void ExpectEntered(const std::map<std::string, int>& passes) const;
    // Whether the player carries the item of that texture id.
    bool Carries(const char* textureId) const;

    maptool::LevelSource source;
    World* world = nullptr;
    Player* player = nullptr;
    CountingScript* counter = nullptr;
};

} // namespace mirefell::testing
