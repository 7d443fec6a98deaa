#include "LevelRoute.h"

#include "app/RouteWalker.h"
#include "gameplay/GameSaveManager.h"
#include "gameplay/Player.h"
#include "gameplay/Powerup.h"
#include "gameplay/Weapons.h"
#include "platform/Lookup.h"
#include "platform/Random.h"
#include "shell/GameStateManager.h"
#include "shell/Levels.h"
#include "support/GameplayFixture.h"
#include "world/AIRegionGraph.h"
#include "world/World.h"

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
    source = maptool::LevelSource::Load(std::string(MIREFELL_SOURCE_DIR) + "/assets/maps/src/" + name + ".lvl");
    GameSaveManager& saves = GameSaveManager::GetInstance();
    saves.NewGame(0, GameDifficulty::Normal, false, false); // requests the loading state
    saves.current.lootSeed = LootSeed;
    if (name != Levels::GetAll().front().id) {
        // Saved with the first level's weapons in hand, and continued.
        saves.current.levelId = name;
        std::unique_ptr<Weapon> hammer = Weapons::MakeHammer();
        std::unique_ptr<Weapon> shotgun = Weapons::MakeDoubleShotgun();
        shotgun->x = hammer->width; // side by side in the inventory
        ASSERT_TRUE(saves.Save(shotgun->id, {}, {hammer.get(), shotgun.get()}));
        ASSERT_TRUE(saves.LoadSlot(0));
    }
    Step(1); // Core's level load
    ASSERT_EQ(State(), GameState::Playing);
    SeedRand(FightSeed); // the load seeds from the calendar clock
    world = core->GetWorld();
    ASSERT_NE(world, nullptr);
    ASSERT_EQ(world->map.name, name);
    player = static_cast<Player*>(world->player);
    auto counting = std::make_unique<CountingScript>(std::move(world->aiRegions->script));
    counter = counting.get();
    world->aiRegions->script = std::move(counting);
    player->godMode = true;
}

void LevelRouteTest::Walk(const std::vector<RouteStep>& route)
{
    RouteWalker walker(*world, route);
    while (walker.Advance())
        Step(1);
    ASSERT_EQ(walker.Failure(), "");
}

void LevelRouteTest::WalkToTheExit()
{
    const int start = steps;
    Walk(source.route);
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_EQ(State(), GameState::LevelComplete);
    EXPECT_FALSE(player->dead);
    // The run's figures, in the test report.
    RecordProperty("steps", steps - start);
    RecordProperty("kills", player->killCount);
    RecordProperty("monsters", world->monsterCount);
}

IPowerup* LevelRouteTest::PickupById(int32_t id) const
{
    return FindPickup(*world, id);
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

void LevelRouteTest::ExpectEntered(const std::map<std::string, int>& passes) const
{
    for (const auto& [area, count] : counter->entered)
        EXPECT_TRUE(passes.contains(area)) << "area " << area << " is off the route";
    for (const auto& [area, count] : passes) {
        const auto found = counter->entered.find(area);
        EXPECT_GE(found == counter->entered.end() ? 0 : found->second, count) << "area " << area;
    }
}

bool LevelRouteTest::Carries(const char* textureId) const
{
    return player->inventory.FindByName(textureId) != nullptr;
}

} // namespace mirefell::testing
