// The authored route through "pentagram", played headless: the player is
// steered step by step along the route of the level's source (turning with
// the mouse, walking with the forward key, opening doors with the use key,
// waiting for elevators and doors, throwing switches with the use key) with
// the god-mode cheat, and reaches the exit. On the way each scripted trigger
// fires exactly once.
//
// The level's monsters are real: they hunt and bite, and god mode shrugs
// the bites off.
#include <cmath>
#include <map>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "LevelSource.h"
#include "gameplay/Door.h"
#include "gameplay/Elevator.h"
#include "gameplay/LevelScriptCatalogue.h"
#include "gameplay/Monster.h"
#include "gameplay/Player.h"
#include "gameplay/Powerup.h"
#include "shell/Config.h"
#include "shell/GameStateManager.h"
#include "support/GameplayFixture.h"
#include "support/ScriptStandIns.h"
#include "world/AIRegionGraph.h"
#include "world/ISwitch.h"
#include "world/IUsable.h"
#include "world/MapEntityTypes.h"
#include "world/MapLoader.h"

namespace mirefell::testing
{
namespace
{

using maptool::LevelSource;
using maptool::RouteAction;
using maptool::RouteStep;

// Counts the hooks the game calls, then hands them to the level's script.
class CountingScript : public MapScript
{
public:
    explicit CountingScript(std::unique_ptr<MapScript> inner_)
        : MapScript(inner_->objects, inner_->toolbox), inner(std::move(inner_))
    {}
    void Update() override { inner->Update(); }
    void OnDoorOpened(IDoor* door) override { inner->OnDoorOpened(door); }
    void OnPowerupPickedUp(IPowerup* powerup) override
    {
        ++pickups[powerup];
        inner->OnPowerupPickedUp(powerup);
    }
    void OnSwitchToggled(ISwitch* toggled) override
    {
        ++switches[toggled];
        inner->OnSwitchToggled(toggled);
    }
    void OnTriggerEnter(const AreaTrigger& trigger) override
    {
        ++entered[trigger.name];
        inner->OnTriggerEnter(trigger);
    }
    void OnTriggerLeave(const AreaTrigger& trigger) override { inner->OnTriggerLeave(trigger); }

    std::unique_ptr<MapScript> inner;
    std::map<IPowerup*, int> pickups;
    std::map<ISwitch*, int> switches;
    std::map<std::string, int> entered;
};

constexpr float ArrivalRadius = 2.5f;
// Steps allowed per unit of way, and for waiting (crushers, doors).
constexpr float StepsPerUnit = 2.0f / Player::WalkSpeed;
constexpr int WaitingSteps = 900;
constexpr float UseDistance = 10.0f;
constexpr int32_t ClosetKeyId = 118;

class PentagramRoute : public GameplayTest
{
protected:
    void SetUp() override
    {
        GameplayTest::SetUp();
        Config::GetInstance().settings.mouseSensitivity = 1.0f; // a degree per count
        MapEntityTypes::Initialize();
        LevelScriptCatalogue::RegisterAll();
        source = LevelSource::Load(std::string(MIREFELL_SOURCE_DIR) + "/assets/maps/src/pentagram.lvl");
        MapData map = MapLoader::LoadFromFile(std::string(MIREFELL_SOURCE_DIR) + "/assets/maps/pentagram.json");
        map.hasScript = false; // started below, with stand-ins
        BuildLevel(map);
        standIns.Start(*world);
        auto counting = std::make_unique<CountingScript>(std::move(world->aiRegions->script));
        counter = counting.get();
        world->aiRegions->script = std::move(counting);
        player->godMode = true;
        for (const auto& object : world->objects)
            if (auto* pickup = dynamic_cast<Powerup*>(object.get()); pickup && pickup->record->id == ClosetKeyId)
                closetKey = pickup;
        ASSERT_NE(closetKey, nullptr);
    }

    Vector2 Where() const { return {player->position.x, player->position.z}; }

    // Turns to face the point, in whole degrees, during the next step.
    void Aim(Vector2 target)
    {
        const Vector2 to = target - Where();
        const float wanted = std::atan2(to.y, to.x) * 180.0f / Pi;
        float turn = std::fmod(wanted - player->yaw + 540.0f, 360.0f) - 180.0f;
        MoveMouse(static_cast<int32_t>(std::lround(turn)), 0);
    }

    // Walks to the point, or (with a stop distance) until that near or
    // blocked. False when the way takes too long.
    bool WalkTo(Vector2 target, float stopAt = ArrivalRadius)
    {
        const auto distance = [&] { return std::hypot(target.x - Where().x, target.y - Where().y); };
        const int budget = static_cast<int>(distance() * StepsPerUnit) + WaitingSteps;
        Hold(KeybindAction::MoveForward, true);
        int still = 0;
        for (int step = 0; step < budget && distance() > stopAt; ++step) {
            const Vector2 before = Where();
            Aim(target);
            Step();
            still = std::hypot(Where().x - before.x, Where().y - before.y) < 0.01f ? still + 1 : 0;
            if (stopAt > ArrivalRadius && still > 10)
                break; // against the door
        }
        Hold(KeybindAction::MoveForward, false);
        return distance() <= stopAt || (stopAt > ArrivalRadius && still > 10);
    }

    void Use(Vector2 target)
    {
        ASSERT_TRUE(WalkTo(target, UseDistance));
        Aim(target);
        Step();
        Hold(KeybindAction::Use, true);
        Step();
        Hold(KeybindAction::Use, false);
    }

    // The use key on the switch, facing it from where the route stands.
    void ThrowSwitch(uint32_t id)
    {
        const MapSegment* found = nullptr;
        for (const MapSegment& segment : world->map.segments)
            if (segment.type == SegmentTypeSwitch && static_cast<uint32_t>(segment.id) == id)
                found = &segment;
        ASSERT_NE(found, nullptr);
        const Vector2 middle = (found->start + found->end) * 0.5f;
        Aim(middle);
        Step();
        ASSERT_EQ(player->usable, dynamic_cast<IUsable*>(SwitchOf(id))) << "switch " << id << " not in reach";
        Hold(KeybindAction::Use, true);
        Step();
        Hold(KeybindAction::Use, false);
    }
    ISwitch* SwitchOf(uint32_t id) { return world->aiRegions->objects.switches.at(id); }

    template <class Done> bool WaitFor(Done done)
    {
        for (int step = 0; step < 4 * WaitingSteps; ++step) {
            if (done())
                return true;
            Step();
        }
        return done();
    }

    void Follow(const RouteStep& step)
    {
        const Vector2 at{static_cast<float>(step.at.x), static_cast<float>(step.at.y)};
        switch (step.action) {
        case RouteAction::Walk:
            ASSERT_TRUE(WalkTo(at)) << "stuck at " << Where().x << "," << Where().y;
            break;
        case RouteAction::Use:
            Use(at);
            break;
        case RouteAction::Switch:
            ThrowSwitch(static_cast<uint32_t>(step.id));
            break;
        case RouteAction::Wait:
            Step(step.steps);
            break;
        case RouteAction::Lift: {
            Elevator* lift = FindElevator(step.id);
            ASSERT_NE(lift, nullptr);
            const uint32_t end = step.top ? ElevatorStateTop : ElevatorStateBottom;
            ASSERT_TRUE(WaitFor([&] { return lift->state == end; }));
            break;
        }
        case RouteAction::Door: {
            Door* door = FindDoor(step.id);
            ASSERT_NE(door, nullptr);
            ASSERT_TRUE(WaitFor([&] { return door->GetState() == DoorStateOpen; }));
            break;
        }
        }
    }

    LevelSource source;
    ScriptStandIns standIns;
    CountingScript* counter = nullptr;
    IPowerup* closetKey = nullptr; // compared by address only: collected pickups are freed
};

TEST_F(PentagramRoute, ReachesTheExitAndFiresEachTriggerOnce)
{
    Step(2);
    for (const RouteStep& step : source.route) {
        SCOPED_TRACE("route step on line " + std::to_string(step.line));
        Follow(step);
        if (HasFatalFailure())
            return;
    }
    Step();

    EXPECT_EQ(GameStateManager::GetInstance().current, GameState::LevelComplete);
    EXPECT_TRUE(player->hasRedKey);
    EXPECT_FALSE(player->dead);

    const std::map<std::string, int> entered = {
        {"space_elevator_down", 1}, {"space_elevator_right", 1}, {"pentagram_tunnel", 1}, {"pentagram_left", 1}};
    EXPECT_EQ(counter->entered, entered);
    ASSERT_EQ(counter->switches.size(), 1u);
    EXPECT_EQ(counter->switches.begin()->first, SwitchOf(1973));
    EXPECT_TRUE(SwitchOf(1973)->IsOn());
    EXPECT_EQ(counter->switches.begin()->second, 1);
    EXPECT_EQ(counter->pickups[closetKey], 1);
    // The caged monsters were let out.
    for (const int32_t id : {23, 24, 25, 26, 27, 115}) {
        ASSERT_NE(FindMonster(id), nullptr) << "monster " << id;
        EXPECT_NE(FindMonster(id)->state, MonsterState::Held) << "monster " << id;
    }
}

} // namespace
} // namespace mirefell::testing
