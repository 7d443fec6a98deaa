#include "RouteWalker.h"

#include <cmath>

#include <gtest/gtest.h>

#include "gameplay/Door.h"
#include "gameplay/Elevator.h"
#include "gameplay/Player.h"
#include "platform/Lookup.h"
#include "shell/Config.h"
#include "shell/GameStateManager.h"
#include "support/GameplayFixture.h"
#include "world/AIRegionGraph.h"
#include "world/ISwitch.h"
#include "world/IUsable.h"
#include "world/World.h"

namespace mirefell::testing
{

namespace
{

using maptool::RouteAction;
using maptool::RouteStep;

constexpr float ArrivalRadius = 2.5f;
// Steps allowed per unit of way, and for waiting (crushers, doors, lifts).
constexpr float StepsPerUnit = 2.0f / Player::WalkSpeed;
constexpr int WaitingSteps = 900;
constexpr float UseDistance = 10.0f;
// Steps without moving after which a walk towards a door counts as arrived.
constexpr int StillSteps = 10;

// Taking the exit ends the level (and, under Core, its updates).
bool LevelComplete()
{
    return GameStateManager::GetInstance().current == GameState::LevelComplete;
}

template <class Object> Object* FindBySector(World& world, int32_t sectorId)
{
    for (const auto& object : world.objects)
        if (auto* found = dynamic_cast<Object*>(object.get()); found && found->sector->id == sectorId)
            return found;
    return nullptr;
}

} // namespace

RouteWalker::RouteWalker(World& world_, std::function<void(int)> step_)
    : world(world_), player(*static_cast<Player*>(world_.player)), step(std::move(step_))
{
    Config::GetInstance().settings.mouseSensitivity = 1.0f;
}

void RouteWalker::Walk(const std::vector<RouteStep>& route)
{
    step(2);
    for (const RouteStep& routeStep : route) {
        if (LevelComplete())
            return;
        SCOPED_TRACE("route step on line " + std::to_string(routeStep.line));
        Follow(routeStep);
        if (::testing::Test::HasFatalFailure())
            return;
    }
    step(1);
}

ISwitch* RouteWalker::SwitchOf(uint32_t id) const
{
    return MapAt(world.aiRegions->objects.switches, id);
}

Vector2 RouteWalker::Where() const
{
    return {player.position.x, player.position.z};
}

// Turns to face the point, in whole degrees, during the next step.
void RouteWalker::Aim(Vector2 target)
{
    const Vector2 to = target - Where();
    const float wanted = std::atan2(to.y, to.x) * 180.0f / Pi;
    const float turn = std::fmod(wanted - player.yaw + 540.0f, 360.0f) - 180.0f;
    GameplayTest::MoveMouse(static_cast<int32_t>(std::lround(turn)), 0);
}

// Walks to the point, or (with a stop distance) until that near or blocked.
// False when the way takes too long.
bool RouteWalker::WalkTo(Vector2 target, float stopAt)
{
    const auto distance = [&] { return std::hypot(target.x - Where().x, target.y - Where().y); };
    const int budget = static_cast<int>(distance() * StepsPerUnit) + WaitingSteps;
    GameplayTest::Hold(KeybindAction::MoveForward, true);
    int still = 0;
    for (int count = 0; count < budget && distance() > stopAt && !LevelComplete(); ++count) {
        const Vector2 before = Where();
        Aim(target);
        step(1);
        still = std::hypot(Where().x - before.x, Where().y - before.y) < 0.01f ? still + 1 : 0;
        if (stopAt > ArrivalRadius && still > StillSteps)
            break; // against the door
    }
    GameplayTest::Hold(KeybindAction::MoveForward, false);
    return distance() <= stopAt || (stopAt > ArrivalRadius && still > StillSteps) || LevelComplete();
}

void RouteWalker::Use(Vector2 target)
{
    ASSERT_TRUE(WalkTo(target, UseDistance));
    Aim(target);
    step(1);
    GameplayTest::Hold(KeybindAction::Use, true);
    step(1);
    GameplayTest::Hold(KeybindAction::Use, false);
}

// The use key on the switch, facing it from where the route stands.
void RouteWalker::ThrowSwitch(uint32_t id)
{
    const MapSegment* found = nullptr;
    for (const MapSegment& segment : world.map.segments)
        if (segment.type == SegmentTypeSwitch && static_cast<uint32_t>(segment.id) == id)
            found = &segment;
    ASSERT_NE(found, nullptr);
    const Vector2 middle = (found->start + found->end) * 0.5f;
    Aim(middle);
    step(1);
    ASSERT_EQ(player.usable, dynamic_cast<IUsable*>(SwitchOf(id))) << "switch " << id << " not in reach";
    GameplayTest::Hold(KeybindAction::Use, true);
    step(1);
    GameplayTest::Hold(KeybindAction::Use, false);
}

template <class Done> bool RouteWalker::WaitFor(Done done)
{
    for (int count = 0; count < 4 * WaitingSteps; ++count) {
        if (done())
            return true;
        step(1);
    }
    return done();
}

void RouteWalker::Follow(const RouteStep& routeStep)
{
    const Vector2 at{static_cast<float>(routeStep.at.x), static_cast<float>(routeStep.at.y)};
    switch (routeStep.action) {
    case RouteAction::Walk:
        ASSERT_TRUE(WalkTo(at, ArrivalRadius)) << "stuck at " << Where().x << "," << Where().y;
        break;
    case RouteAction::Use:
        Use(at);
        break;
    case RouteAction::Switch:
        ThrowSwitch(static_cast<uint32_t>(routeStep.id));
        break;
    case RouteAction::Wait:
        step(routeStep.steps);
        break;
    case RouteAction::Lift: {
        Elevator* lift = FindBySector<Elevator>(world, routeStep.id);
        ASSERT_NE(lift, nullptr);
        const uint32_t end = routeStep.top ? ElevatorStateTop : ElevatorStateBottom;
        ASSERT_TRUE(WaitFor([&] { return lift->state == end; }));
        break;
    }
    case RouteAction::Door: {
        Door* door = FindBySector<Door>(world, routeStep.id);
        ASSERT_NE(door, nullptr);
        ASSERT_TRUE(WaitFor([&] { return door->GetState() == DoorStateOpen; }));
        break;
    }
    }
}

} // namespace mirefell::testing
