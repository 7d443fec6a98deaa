#include "ShippedLevelFixture.h"

#include <stdexcept>

#include "gameplay/LevelScriptCatalogue.h"
#include "platform/Lookup.h"
#include "world/AIRegionGraph.h"
#include "world/MapEntityTypes.h"
#include "world/MapLoader.h"

namespace mirefell::testing
{

void ShippedLevelTest::LoadLevel(const std::string& name)
{
    MapEntityTypes::Initialize();
    LevelScriptCatalogue::RegisterAll();
    MapData map = MapLoader::LoadFromFile(std::string(MIREFELL_SOURCE_DIR) + "/assets/maps/" + name + ".json");
    ASSERT_TRUE(map.hasScript);
    BuildLevel(map);
    script = world->aiRegions->script.get();
}

Door& ShippedLevelTest::DoorOf(int32_t id)
{
    if (Door* door = FindDoor(id))
        return *door;
    throw std::runtime_error("no door " + std::to_string(id));
}

Elevator& ShippedLevelTest::ElevatorOf(int32_t id)
{
    if (Elevator* elevator = FindElevator(id))
        return *elevator;
    throw std::runtime_error("no elevator " + std::to_string(id));
}

Powerup& ShippedLevelTest::PickupOf(int32_t id)
{
    if (Powerup* pickup = FindPickup(id))
        return *pickup;
    throw std::runtime_error("no pickup " + std::to_string(id));
}

Monster& ShippedLevelTest::MonsterOf(int32_t id)
{
    if (Monster* monster = FindMonster(id))
        return *monster;
    throw std::runtime_error("no monster " + std::to_string(id));
}

ISwitch* ShippedLevelTest::SwitchOf(uint32_t id)
{
    return MapAt(world->aiRegions->objects.switches, id);
}

const AreaTrigger& ShippedLevelTest::TriggerOf(const std::string& area) const
{
    for (const AreaTrigger& trigger : world->aiRegions->areaTriggers)
        if (trigger.name == area)
            return trigger;
    throw std::runtime_error("the map has no area " + area);
}

void ShippedLevelTest::Enter(const std::string& area)
{
    script->OnTriggerEnter(TriggerOf(area));
}

void ShippedLevelTest::Throw(uint32_t switchId)
{
    script->OnSwitchToggled(SwitchOf(switchId));
}

void ShippedLevelTest::Collect(int32_t pickupId)
{
    script->OnPowerupPickedUp(&PickupOf(pickupId));
}

} // namespace mirefell::testing
