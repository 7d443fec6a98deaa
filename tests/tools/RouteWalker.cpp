#include "RouteWalker.h"

#include <cmath>
#include <utility>

#include <gtest/gtest.h>

#include "gameplay/Door.h"
#include "gameplay/Elevator.h"
#include "gameplay/FirstPersonController.h"
#include "gameplay/Player.h"
#include "gameplay/Weapon.h"
#include "gameplay/WeaponView.h"
#include "platform/Lookup.h"
#include "shell/GameStateManager.h"
#include "support/GameplayFixture.h"
#include "world/AIRegionGraph.h"
#include "world/IKillable.h"
#include "world/ISwitch.h"
#include "world/IUsable.h"
#include "world/World.h"
#include "world/WorldCollision.h"

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
// A living monster this near (centre to centre, across the floor) and level
// with the player (their boxes overlap in height) is fought before walking
// on; one on another floor cannot bar the way.
constexpr float BlockerReach = 28.0f;
// With the hammer the walker closes in to this distance (the hammer reaches
// 12 from the eye; a monster's box is at least 5.6 wide on each side).
constexpr float HammerStandOff = WorldCollision::HammerReach + 2.0f;
// Steps spent fighting before the walker walks on regardless (god mode
// keeps it alive).
constexpr int FightingSteps = 1200;

// The weapons by preference: a gun with ammunition, the hammer last.
constexpr std::pair<KeybindAction, const char*> WeaponChoice[] = {
    {KeybindAction::DoubleShotgun, "item_double_shotgun"},
    {KeybindAction::HyperBlaster, "item_hyper_blaster"},
    {KeybindAction::RocketLauncher, "item_rocket_launcher"},
    {KeybindAction::Sledgehammer, "item_hammer"},
};

// Taking the exit ends the level (and, under Core, its updates).
bool LevelComplete()
{
    return GameStateManager::GetInstance().current == GameState::LevelComplete;
}

bool Alive(GridObject* object)
{
    auto* killable = dynamic_cast<IKillable*>(object);
    return killable && !killable->IsDead();
}

bool IsHammer(const Item* item)
{
    return item && static_cast<const Weapon*>(item)->data.weaponClass != WeaponClass::Ranged;
}

} // namespace

RouteWalker::RouteWalker(World& world_, std::function<void(int)> step_)
    : world(world_), player(*static_cast<Player*>(world_.player)), step(std::move(step_))
{}

void RouteWalker::Walk(const std::vector<RouteStep>& route)
{
    step(2);
    for (const RouteStep& routeStep : route) {
        if (LevelComplete())
            break;
        SCOPED_TRACE("route step on line " + std::to_string(routeStep.line));
        Follow(routeStep);
        if (::testing::Test::HasFatalFailure())
            break;
    }
    LetGo();
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

// The mouse counts that turn the view by these degrees (yaw, then pitch:
// more looks down), at the controller's sensitivity.
void RouteWalker::Turn(float yawDegrees, float pitchDegrees)
{
    const FirstPersonController& controller = *player.controller;
    const float sign = controller.invertY ? -1.0f : 1.0f;
    GameplayTest::MoveMouse(static_cast<int32_t>(std::lround(yawDegrees / controller.sensitivity)),
                            static_cast<int32_t>(std::lround(sign * pitchDegrees / controller.sensitivity)));
}

// Turns to face the point, looking level (the walk is slower off level),
// during the next step.
void RouteWalker::Aim(Vector2 target)
{
    const Vector2 to = target - Where();
    const float wanted = std::atan2(to.y, to.x) * 180.0f / Pi;
    Turn(std::fmod(wanted - player.yaw + 540.0f, 360.0f) - 180.0f, FirstPersonController::DefaultPitch - player.pitch);
}

// Turns to look at the point from the eye during the next step.
void RouteWalker::AimAt(Vector3 target)
{
    const Vector3 eye = player.EyePosition();
    const float wantedYaw = std::atan2(target.z - eye.z, target.x - eye.x) * 180.0f / Pi;
    const float across = std::hypot(target.x - eye.x, target.z - eye.z);
    const float wantedPitch = FirstPersonController::DefaultPitch + std::atan2(eye.y - target.y, across) * 180.0f / Pi;
    Turn(std::fmod(wantedYaw - player.yaw + 540.0f, 360.0f) - 180.0f, wantedPitch - player.pitch);
}

GridObject* RouteWalker::Blocker()
{
    GridObject* nearest = nullptr;
    float nearestDistance = BlockerReach;
    world.ForEachObject(GridObjectType::Monster, [&](GridObject* monster) {
        const float distance =
            std::hypot(monster->position.x - player.position.x, monster->position.z - player.position.z);
        const bool level =
            std::abs(monster->position.y - player.position.y) < monster->halfExtents.y + Player::BodyHalfExtents.y;
        if (distance < nearestDistance && level && Alive(monster)) {
            nearest = monster;
            nearestDistance = distance;
        }
    });
    return nearest;
}

void RouteWalker::Arm()
{
    if (weaponKeyHeld) {
        GameplayTest::Hold(*weaponKeyHeld, false);
        weaponKeyHeld.reset();
    } else if (!player.weaponView->switching) {
        for (const auto& [action, textureId] : WeaponChoice) {
            auto* weapon = static_cast<Weapon*>(player.inventory.FindByName(textureId));
            const bool loaded = weapon && (weapon->data.weaponClass != WeaponClass::Ranged ||
                                           player.inventory.GetAmmo(weapon->data.ammoType) >=
                                               static_cast<int32_t>(weapon->data.ammoPerShot));
            if (!loaded)
                continue;
            if (weapon != player.equippedItem) {
                GameplayTest::Hold(action, true);
                weaponKeyHeld = action;
            }
            break;
        }
    }
    GameplayTest::Hold(KeybindAction::Attack, Alive(player.crosshairMonster));
}

void RouteWalker::Fight(GridObject& monster)
{
    const float distance = std::hypot(monster.position.x - Where().x, monster.position.z - Where().y);
    GameplayTest::Hold(KeybindAction::MoveForward, IsHammer(player.equippedItem) && distance > HammerStandOff);
    AimAt(monster.position);
    Arm();
    step(1);
}

// Walks to the point, or (with a stop distance) until that near or blocked.
// Fights (see above) do not use up the walk's steps. False when the way
// takes too long.
bool RouteWalker::WalkTo(Vector2 target, float stopAt)
{
    const auto distance = [&] { return std::hypot(target.x - Where().x, target.y - Where().y); };
    const int budget = static_cast<int>(distance() * StepsPerUnit) + WaitingSteps;
    int still = 0;
    int fighting = 0;
    standPoint = target;
    for (int count = 0; count < budget && distance() > stopAt && !LevelComplete(); ++count) {
        if (GridObject* blocker = Blocker(); !blocker) {
            fighting = 0;
        } else if (fighting < FightingSteps) {
            Fight(*blocker);
            ++fighting;
            --count;
            still = 0;
            continue;
        }
        GameplayTest::Hold(KeybindAction::MoveForward, true);
        const Vector2 before = Where();
        Aim(target);
        Arm();
        step(1);
        still = std::hypot(Where().x - before.x, Where().y - before.y) < 0.01f ? still + 1 : 0;
        if (stopAt > ArrivalRadius && still > StillSteps)
            break; // against the door
    }
    LetGo();
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

// The use key on the switch, facing it from where the route stands (back
// there first when a fight moved the player), a step closer when it is just
// out of reach.
void RouteWalker::ThrowSwitch(uint32_t id)
{
    const MapSegment* found = nullptr;
    for (const MapSegment& segment : world.map.segments)
        if (segment.type == SegmentTypeSwitch && static_cast<uint32_t>(segment.id) == id)
            found = &segment;
    ASSERT_NE(found, nullptr);
    const Vector2 middle = (found->start + found->end) * 0.5f;
    GridObject* blocker = nullptr;
    for (int count = 0; count < FightingSteps && (blocker = Blocker()); ++count)
        Fight(*blocker);
    LetGo();
    ASSERT_TRUE(WalkTo(standPoint, ArrivalRadius));
    Aim(middle);
    step(1);
    if (player.usable != dynamic_cast<IUsable*>(SwitchOf(id))) {
        ASSERT_TRUE(WalkTo(middle, UseDistance));
    }
    Aim(middle);
    step(1);
    ASSERT_EQ(player.usable, dynamic_cast<IUsable*>(SwitchOf(id))) << "switch " << id << " not in reach";
    GameplayTest::Hold(KeybindAction::Use, true);
    step(1);
    GameplayTest::Hold(KeybindAction::Use, false);
}

// Waits, fighting what comes close, until `done`; false when it never is.
template <class Done> bool RouteWalker::WaitFor(Done done)
{
    for (int count = 0; count < 4 * WaitingSteps && !done(); ++count) {
        if (GridObject* blocker = Blocker()) {
            Fight(*blocker);
            GameplayTest::Hold(KeybindAction::MoveForward, false);
        } else {
            Arm();
            step(1);
        }
    }
    LetGo();
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
        Elevator* lift = FindElevator(world, routeStep.id);
        ASSERT_NE(lift, nullptr);
        const uint32_t end = routeStep.top ? ElevatorStateTop : ElevatorStateBottom;
        ASSERT_TRUE(WaitFor([&] { return lift->state == end; }));
        break;
    }
    case RouteAction::Door: {
        Door* door = FindDoor(world, routeStep.id);
        ASSERT_NE(door, nullptr);
        ASSERT_TRUE(WaitFor([&] { return door->GetState() == DoorStateOpen; }));
        break;
    }
    }
}

void RouteWalker::LetGo()
{
    GameplayTest::Hold(KeybindAction::MoveForward, false);
    GameplayTest::Hold(KeybindAction::Attack, false);
    if (weaponKeyHeld)
        GameplayTest::Hold(*weaponKeyHeld, false);
    weaponKeyHeld.reset();
}

} // namespace mirefell::testing
