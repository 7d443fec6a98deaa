#include "LevelRoute.h"

#include "RouteWalker.h"
#include "gameplay/LevelScriptCatalogue.h"
#include "gameplay/Player.h"
#include "gameplay/Powerup.h"
#include "platform/Lookup.h"
#include "shell/GameStateManager.h"
#include "world/AIRegionGraph.h"
#include "world/MapEntityTypes.h"
#include "world/MapLoader.h"

namespace mirefell::testing
{

CountingScript::CountingScript(std::unique_ptr<MapScript> inner_)
    : MapScript(inner_->objects, inner_->toolbox), inner(std::move(inner_))
{}

void CountingScript::OnPowerupPickedUp(IPowerup* powerup)
{
    ++pickups[powerup];
    inner->OnPowerupPickedUp(powerup);
}

void CountingScript::OnSwitchToggled(ISwitch* toggled)
{
    ++switches[toggled];
    inner->OnSwitchToggled(toggled);
}

void CountingScript::OnTriggerEnter(const AreaTrigger& trigger)
{
    ++entered[trigger.name];
    inner->OnTriggerEnter(trigger);
}

void LevelRouteTest::LoadLevel(const std::string& name)
{
    MapEntityTypes::Initialize();
    LevelScriptCatalogue::RegisterAll();
    source = maptool::LevelSource::Load(std::string(MIREFELL_SOURCE_DIR) + "/assets/maps/src/" + name + ".lvl");
    MapData map = MapLoader::LoadFromFile(std::string(MIREFELL_SOURCE_DIR) + "/assets/maps/" + name + ".json");
    BuildLevel(map);
    auto counting = std::make_unique<CountingScript>(std::move(world->aiRegions->script));
    counter = counting.get();
    world->aiRegions->script = std::move(counting);
    player->godMode = true;
}

void LevelRouteTest::WalkToTheExit()
{
    RouteWalker(*world, [this](int count) { Step(count); }).Walk(source.route);
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_EQ(GameStateManager::GetInstance().current, GameState::LevelComplete);
    EXPECT_FALSE(player->dead);
}

IPowerup* LevelRouteTest::PickupById(int32_t id) const
{
    for (const auto& object : world->objects)
        if (auto* pickup = dynamic_cast<Powerup*>(object.get()); pickup && pickup->record->id == id)
            return pickup;
    return nullptr;
}

ISwitch* LevelRouteTest::SwitchOf(uint32_t id) const
{
    return MapAt(world->aiRegions->objects.switches, id);
}

int LevelRouteTest::Throws(uint32_t switchId) const
{
    const auto found = counter->switches.find(SwitchOf(switchId));
    return found == counter->switches.end() ? 0 : found->second;
}

} // namespace mirefell::testing
