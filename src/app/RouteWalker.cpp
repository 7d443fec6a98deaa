// RouteWalker: the walk's tasks, the aiming and the fighting.
#include "app/RouteWalker.h"

#include <cmath>
#include <cstdio>
#include <utility>

#include "gameplay/Elevator.h"
#include "gameplay/FirstPersonController.h"
#include "gameplay/Player.h"
#include "gameplay/Weapon.h"
#include "gameplay/WeaponView.h"
#include "shell/GameStateManager.h"
#include "shell/InputFeed.h"
#include "world/AIRegionGraph.h"
#include "world/IDoor.h"
#include "world/IKillable.h"
#include "world/ISwitch.h"
#include "world/IUsable.h"
#include "world/MapObjectIndex.h"
#include "world/World.h"
#include "world/WorldCollision.h"

namespace mirefell
{

namespace
{

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
// Steps spent fighting before the walker walks on regardless.
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

std::string PointText(Vector2 point)
{
    char text[48];
    std::snprintf(text, sizeof text, "%g,%g", point.x, point.y);
    return text;
}

// The map object of that id in the level's index, or null.
template <class Map> auto Find(const Map& objects, uint32_t id) -> typename Map::mapped_type
{
    const auto found = objects.find(id);
    return found == objects.end() ? nullptr : found->second;
}

} // namespace

RouteWalker::RouteWalker(World& world_, std::vector<RouteStep> route_)
    : world(world_), player(*static_cast<Player*>(world_.player)), route(std::move(route_))
{
    driver.Start(Walk());
}

RouteWalker::~RouteWalker()
{
    LetGo();
}

bool RouteWalker::Advance()
{
    if (driver.Advance())
        return true;
    LetGo();
    return false;
}

bool RouteWalker::Fail(const std::string& reason)
{
    failure = "route line " + std::to_string(line) + ": " + reason;
    return false;
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
    FeedMouseMotion(static_cast<int32_t>(std::lround(yawDegrees / controller.sensitivity)),
                    static_cast<int32_t>(std::lround(sign * pitchDegrees / controller.sensitivity)));
}

// Turns to face the point, looking level (the walk is slower off level),
// during the coming step.
void RouteWalker::Aim(Vector2 target)
{
    const Vector2 to = target - Where();
    const float wanted = std::atan2(to.y, to.x) * 180.0f / Pi;
    Turn(std::fmod(wanted - player.yaw + 540.0f, 360.0f) - 180.0f, FirstPersonController::DefaultPitch - player.pitch);
}

// Turns to look at the point from the eye during the coming step.
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
        FeedAction(*weaponKeyHeld, false);
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
                FeedAction(action, true);
                weaponKeyHeld = action;
            }
            break;
        }
    }
    FeedAction(KeybindAction::Attack, Alive(player.crosshairMonster));
}

void RouteWalker::Fight(GridObject& monster)
{
    const float distance = std::hypot(monster.position.x - Where().x, monster.position.z - Where().y);
    FeedAction(KeybindAction::MoveForward, IsHammer(player.equippedItem) && distance > HammerStandOff);
    AimAt(monster.position);
    Arm();
}

void RouteWalker::LetGo()
{
    for (const KeybindAction action : {KeybindAction::MoveForward, KeybindAction::Attack, KeybindAction::Use})
        FeedAction(action, false);
    if (weaponKeyHeld)
        FeedAction(*weaponKeyHeld, false);
    weaponKeyHeld.reset();
}

StepTask RouteWalker::Walk()
{
    co_await driver.Steps(2);
    for (const RouteStep& routeStep : route) {
        if (LevelComplete())
            break;
        line = routeStep.line;
        const bool done = co_await Follow(routeStep);
        if (!done)
            break;
    }
    LetGo();
    co_await driver.Steps(1);
    co_return failure.empty();
}

StepTask RouteWalker::Follow(RouteStep routeStep)
{
    const RouteAction action = routeStep.action;
    if (action == RouteAction::Walk) {
        const bool arrived = co_await WalkTo(routeStep.at, ArrivalRadius);
        if (!arrived)
            co_return Fail("stuck at " + PointText(Where()) + " on the way to " + PointText(routeStep.at));
    } else if (action == RouteAction::Use) {
        const bool used = co_await Use(routeStep.at);
        co_return used;
    } else if (action == RouteAction::Switch) {
        const bool thrown = co_await ThrowSwitch(static_cast<uint32_t>(routeStep.id));
        co_return thrown;
    } else if (action == RouteAction::Wait) {
        co_await driver.Steps(routeStep.steps);
    } else if (action == RouteAction::Lift) {
        auto* lift = dynamic_cast<Elevator*>(Find(world.aiRegions->objects.elevators, routeStep.id));
        if (!lift)
            co_return Fail("no lift " + std::to_string(routeStep.id));
        const uint32_t end = routeStep.top ? ElevatorStateTop : ElevatorStateBottom;
        const bool stopped = co_await WaitFor([lift, end] { return lift->state == end; });
        if (!stopped)
            co_return Fail("lift " + std::to_string(routeStep.id) + " did not stop at its " +
                           (routeStep.top ? "top" : "bottom"));
    } else if (action == RouteAction::Door) {
        IDoor* door = Find(world.aiRegions->objects.doors, routeStep.id);
        if (!door)
            co_return Fail("no door " + std::to_string(routeStep.id));
        const bool open = co_await WaitFor([door] { return door->GetState() == DoorStateOpen; });
        if (!open)
            co_return Fail("door " + std::to_string(routeStep.id) + " did not open");
    }
    co_return true;
}

// Walks to the point, or (with a stop distance) until that near or blocked.
// Fights (see above) do not use up the walk's steps. False when the way
// takes too long.
StepTask RouteWalker::WalkTo(Vector2 target, float stopAt)
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
            co_await driver.Steps(1);
            ++fighting;
            --count;
            still = 0;
            continue;
        }
        FeedAction(KeybindAction::MoveForward, true);
        const Vector2 before = Where();
        Aim(target);
        Arm();
        co_await driver.Steps(1);
        still = std::hypot(Where().x - before.x, Where().y - before.y) < 0.01f ? still + 1 : 0;
        if (stopAt > ArrivalRadius && still > StillSteps)
            break; // against the door
    }
    LetGo();
    co_return distance() <= stopAt || (stopAt > ArrivalRadius && still > StillSteps) || LevelComplete();
}

StepTask RouteWalker::Use(Vector2 target)
{
    const bool near = co_await WalkTo(target, UseDistance);
    if (!near)
        co_return Fail("could not come within reach of " + PointText(target));
    Aim(target);
    co_await driver.Steps(1);
    FeedAction(KeybindAction::Use, true);
    co_await driver.Steps(1);
    FeedAction(KeybindAction::Use, false);
    co_return true;
}

// The use key on the switch, facing it from where the route stands (back
// there first when a fight moved the player), a step closer when it is just
// out of reach.
StepTask RouteWalker::ThrowSwitch(uint32_t id)
{
    const MapSegment* found = nullptr;
    for (const MapSegment& segment : world.map.segments)
        if (segment.type == SegmentTypeSwitch && static_cast<uint32_t>(segment.id) == id)
            found = &segment;
    auto* usable = dynamic_cast<IUsable*>(Find(world.aiRegions->objects.switches, id));
    if (!found || !usable)
        co_return Fail("no switch " + std::to_string(id));
    const Vector2 middle = (found->start + found->end) * 0.5f;
    for (int count = 0; count < FightingSteps; ++count) {
        GridObject* blocker = Blocker();
        if (!blocker)
            break;
        Fight(*blocker);
        co_await driver.Steps(1);
    }
    LetGo();
    const bool back = co_await WalkTo(standPoint, ArrivalRadius);
    if (!back)
        co_return Fail("could not return to " + PointText(standPoint) + " after a fight");
    Aim(middle);
    co_await driver.Steps(1);
    if (player.usable != usable) {
        const bool near = co_await WalkTo(middle, UseDistance);
        if (!near)
            co_return Fail("could not come within reach of switch " + std::to_string(id));
    }
    Aim(middle);
    co_await driver.Steps(1);
    if (player.usable != usable)
        co_return Fail("switch " + std::to_string(id) + " not in reach");
    FeedAction(KeybindAction::Use, true);
    co_await driver.Steps(1);
    FeedAction(KeybindAction::Use, false);
    co_return true;
}

StepTask RouteWalker::WaitFor(std::function<bool()> done)
{
    for (int count = 0; count < 4 * WaitingSteps && !done(); ++count) {
        if (GridObject* blocker = Blocker()) {
            Fight(*blocker);
            co_await driver.Steps(1);
            FeedAction(KeybindAction::MoveForward, false);
        } else {
            Arm();
            co_await driver.Steps(1);
        }
    }
    LetGo();
    co_return done();
}

} // namespace mirefell
