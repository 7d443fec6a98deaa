#include "LevelRoute.h"

#include <cmath>

#include "gameplay/Door.h"
#include "gameplay/Elevator.h"
#include "gameplay/LevelScriptCatalogue.h"
#include "gameplay/Player.h"
#include "gameplay/Powerup.h"
#include "platform/Lookup.h"
#include "shell/Config.h"
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

constexpr float ArrivalRadius = 2.5f;
// Steps allowed per unit of way, and for waiting (crushers, doors, lifts).
constexpr float StepsPerUnit = 2.0f / Player::WalkSpeed;
constexpr int WaitingSteps = 900;
constexpr float UseDistance = 10.0f;
// Steps without moving after which a walk towards a door counts as arrived.
constexpr int StillSteps = 10;

} // namespace

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
    Config::GetInstance().settings.mouseSensitivity = 1.0f; // a degree per count
    MapEntityTypes::Initialize();
    LevelScriptCatalogue::RegisterAll();
    source = LevelSource::Load(std::string(MIREFELL_SOURCE_DIR) + "/assets/maps/src/" + name + ".lvl");
    MapData map = MapLoader::LoadFromFile(std::string(MIREFELL_SOURCE_DIR) + "/assets/maps/" + name + ".json");
    map.hasScript = false; // started below, with stand-ins
    BuildLevel(map);
    standIns.Start(*world);
    auto counting = std::make_unique<CountingScript>(std::move(world->aiRegions->script));
    counter = counting.get();
    world->aiRegions->script = std::move(counting);
    player->godMode = true;
}

void LevelRouteTest::WalkRoute()
{
    Step(2);
    for (const RouteStep& step : source.route) {
        SCOPED_TRACE("route step on line " + std::to_string(step.line));
        Follow(step);
        if (HasFatalFailure())
            return;
    }
    Step();
}

IPowerup* LevelRouteTest::PickupById(int32_t id) const
{
    for (const auto& object : world->objects)
        if (auto* pickup = dynamic_cast<Powerup*>(object.get()); pickup && pickup->record->id == id)
            return pickup;
    return nullptr;
}

int LevelRouteTest::Throws(uint32_t switchId)
{
    const auto found = counter->switches.find(SwitchOf(switchId));
    return found == counter->switches.end() ? 0 : found->second;
}

Vector2 LevelRouteTest::Where() const
{
    return {player->position.x, player->position.z};
}

// Turns to face the point, in whole degrees, during the next step.
void LevelRouteTest::Aim(Vector2 target)
{
    const Vector2 to = target - Where();
    const float wanted = std::atan2(to.y, to.x) * 180.0f / Pi;
    const float turn = std::fmod(wanted - player->yaw + 540.0f, 360.0f) - 180.0f;
    MoveMouse(static_cast<int32_t>(std::lround(turn)), 0);
}

// Walks to the point, or (with a stop distance) until that near or blocked.
// False when the way takes too long.
bool LevelRouteTest::WalkTo(Vector2 target, float stopAt)
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
        if (stopAt > ArrivalRadius && still > StillSteps)
            break; // against the door
    }
    Hold(KeybindAction::MoveForward, false);
    return distance() <= stopAt || (stopAt > ArrivalRadius && still > StillSteps);
}

void LevelRouteTest::Use(Vector2 target)
{
    ASSERT_TRUE(WalkTo(target, UseDistance));
    Aim(target);
    Step();
    Hold(KeybindAction::Use, true);
    Step();
    Hold(KeybindAction::Use, false);
}

// The use key on the switch, facing it from where the route stands.
void LevelRouteTest::ThrowSwitch(uint32_t id)
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

ISwitch* LevelRouteTest::SwitchOf(uint32_t id) const
{
    return MapAt(world->aiRegions->objects.switches, id);
}

template <class Done> bool LevelRouteTest::WaitFor(Done done)
{
    for (int step = 0; step < 4 * WaitingSteps; ++step) {
        if (done())
            return true;
        Step();
    }
    return done();
}

void LevelRouteTest::Follow(const RouteStep& step)
{
    const Vector2 at{static_cast<float>(step.at.x), static_cast<float>(step.at.y)};
    switch (step.action) {
    case RouteAction::Walk:
        ASSERT_TRUE(WalkTo(at, ArrivalRadius)) << "stuck at " << Where().x << "," << Where().y;
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

} // namespace mirefell::testing
