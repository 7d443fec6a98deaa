// RouteWalker: the walk's tasks, the aiming and the fighting.
#include "app/RouteWalker.h"

#include <cmath>
#include <cstdio>
#include <utility>

#include "gameplay/Door.h"
#include "gameplay/Elevator.h"
#include "gameplay/FirstPersonController.h"
#include "gameplay/Monster.h"
#include "gameplay/Player.h"
#include "gameplay/Powerup.h"
#include "gameplay/Projectile.h"
#include "gameplay/Weapon.h"
#include "gameplay/WeaponView.h"
#include "shell/GameStateManager.h"
#include "shell/InputFeed.h"
#include "world/AIRegionGraph.h"
#include "world/IDoor.h"
#include "world/IKillable.h"
#include "world/ISwitch.h"
#include "world/IUsable.h"
#include "world/MapData.h"
#include "world/MapObjectIndex.h"
#include "world/Polygon.h"
#include "world/PowerupType.h"
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
// The hammer reaches 12 from the eye, and a monster's box is at least 5.6
// wide on each side: swung from this near (centre to centre, across the
// floor) it finds the body.
constexpr float StrikeDistance = WorldCollision::HammerReach + 5.0f;
// A nom bites what is nearer than its melee range (15): the walker keeps a
// little farther off, backing away as it comes.
constexpr float KeepOff = 16.5f;
// Steps spent fighting before the walker walks on regardless.
constexpr int FightingSteps = 1200;
// A hunting monster that sees the player from this near is fought; the gun
// is fired from no farther than where most of the shotgun's pellets find a
// body (closing in on one farther off, or waiting for it to come).
constexpr float EngageReach = 260.0f;
constexpr float GunReach = 130.0f;
// The trail keeps a place every so many units walked, and starts afresh
// when the feet have risen or sunk more than a few stair steps since.
constexpr float TrailSpacing = 8.0f;
constexpr float TrailClimb = 16.0f;
// How far ahead a step aside aims.
constexpr float RetreatStride = 16.0f;
// With the hammer in hand only what comes this near is fought; farther eyes
// are walked past, their shots stepped aside from.
constexpr float HammerEngageReach = 48.0f;
// Fewer shells than this (and no other gun loaded) send the walker for an
// ammunition pack it sees; this health or less for a medkit. Either lies
// within this reach, and no higher or lower than a step or two.
constexpr int32_t LowShells = 3;
constexpr float HurtHealth = 75.0f;
constexpr float SupplyReach = 200.0f;
constexpr float SupplyClimb = 14.0f;
// A pickup this near (centre to centre) touches the player's body.
constexpr float Touching = 4.0f;
// A crushing door is entered only when it will stay at least this high
// above the player's feet until the player is through (the body is 14 high).
constexpr float CrusherClearance = 16.0f;
// A crushing door this near ahead is waited for.
constexpr float CrusherApproach = 10.0f;
// A monster's shot this near along its flight, passing nearer than this to
// the player's centre, is stepped away from.
constexpr float DodgeHorizon = 180.0f;
constexpr float DodgeClearance = 9.0f;
// Backing off and stepping aside look this far ahead for the floor, and
// keep off floors more than a stair step below the feet.
constexpr float FootingProbe = 8.0f;
constexpr float StepDown = 8.0f;
// A straight way is probed for its floor every so many units.
constexpr float WayProbe = 2.0f;
// A movement key is held when the wished direction leans this far its way
// (the cosine of 67.5 degrees: eight directions).
constexpr float KeyLean = 0.38f;

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
    const auto yawCounts = static_cast<int32_t>(std::lround(yawDegrees / controller.sensitivity));
    FeedMouseMotion(yawCounts, static_cast<int32_t>(std::lround(sign * pitchDegrees / controller.sensitivity)));
    facingYaw = player.yaw + static_cast<float>(yawCounts) * controller.sensitivity;
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

bool RouteWalker::OnPlayersFloor(const GridObject& monster) const
{
    return std::abs(monster.position.y - player.position.y) < monster.halfExtents.y + Player::BodyHalfExtents.y;
}

GridObject* RouteWalker::Blocker()
{
    GridObject* nearest = nullptr;
    float nearestDistance = BlockerReach;
    world.ForEachObject(GridObjectType::Monster, [&](GridObject* monster) {
        const float distance =
            std::hypot(monster->position.x - player.position.x, monster->position.z - player.position.z);
        if (distance < nearestDistance && OnPlayersFloor(*monster) && Alive(monster)) {
            nearest = monster;
            nearestDistance = distance;
        }
    });
    return nearest;
}

GridObject* RouteWalker::Foe()
{
    if (GridObject* blocker = Blocker())
        return blocker;
    GridObject* nearest = nullptr;
    const bool hammer = IsHammer(player.equippedItem) || !player.equippedItem;
    const float reach = hammer ? HammerEngageReach : EngageReach;
    float nearestDistance = reach;
    world.ForEachObject(GridObjectType::Monster, [&](GridObject* object) {
        const auto* monster = static_cast<const Monster*>(object);
        if (monster->dead || monster->dormant || monster->state != MonsterState::Hunting ||
            (hammer && !OnPlayersFloor(*object)))
            return;
        const float distance = Vector3::Distance(monster->position, player.position);
        // One out of the gun's reach counts only where the player can walk to it.
        const Vector2 at{object->position.x, object->position.z};
        if (distance < nearestDistance && (hammer || distance <= GunReach || LevelWay(at)) &&
            world.collision->CanReach(&player, object, reach)) {
            nearest = object;
            nearestDistance = distance;
        }
    });
    return nearest;
}

const GridObject* RouteWalker::Supply()
{
    PlayerInventory& carried = player.inventory;
    const bool lowOnAmmo = carried.GetAmmo(AmmoType::Shells) < LowShells && !Loaded("item_hyper_blaster") &&
                           !Loaded("item_rocket_launcher");
    // Bloodlust refuses medkits.
    const bool hurt = player.health <= HurtHealth && !player.HasArtifact(Player::ArtifactBloodlust);
    if (!lowOnAmmo && !hurt)
        return nullptr;
    const GridObject* nearest = nullptr;
    float nearestDistance = SupplyReach;
    world.ForEachObject(GridObjectType::Powerup, [&](GridObject* object) {
        if (object->removed || std::abs(object->position.y - player.position.y) > SupplyClimb)
            return;
        const Vector2 at{object->position.x, object->position.z};
        for (const Vector2& place : givenUp)
            if (Vector2::Distance(place, at) < ArrivalRadius)
                return;
        const PowerupType type = static_cast<const Powerup*>(object)->GetType();
        if (!(type == PowerupType::AmmoPack && lowOnAmmo) && !(type == PowerupType::Health && hurt))
            return;
        const Vector3 to = object->position - player.position;
        const float distance = to.Length();
        if (distance >= nearestDistance || distance < 0.01f)
            return;
        const RaycastResult hit = world.collision->Raycast(
            player.position, to * (1.0f / distance), WorldCollision::RayBlockers, GridObjectType::None,
            static_cast<int32_t>(distance / WorldCollision::RayStride) + 1, nullptr);
        if (hit.type == RaycastResult::Triangle && hit.distanceSquared < distance * distance)
            return;
        if (!LevelWay(at))
            return;
        nearest = object;
        nearestDistance = distance;
    });
    return nearest;
}

bool RouteWalker::Loaded(const char* textureId)
{
    const auto* weapon = static_cast<const Weapon*>(player.inventory.FindByName(textureId));
    return weapon &&
           (weapon->data.weaponClass != WeaponClass::Ranged ||
            player.inventory.GetAmmo(weapon->data.ammoType) >= static_cast<int32_t>(weapon->data.ammoPerShot));
}

bool RouteWalker::ClearOfCrushers(Vector2 next)
{
    const Vector2 here = Where();
    bool clear = true;
    world.ForEachObject(GridObjectType::Door, [&](GridObject* object) {
        const auto* door = static_cast<const Door*>(object);
        if (!door->cycling || !clear)
            return;
        const Vector2 low{door->box.min.x, door->box.min.z};
        const Vector2 high{door->box.max.x, door->box.max.z};
        const Vector2 nearest{std::clamp(here.x, low.x, high.x), std::clamp(here.y, low.y, high.y)};
        const float away = Vector2::Distance(nearest, here) - Player::BodyHalfExtents.x;
        if (away <= 0.0f)
            return; // already under it: on through
        const Vector2 middle = (low + high) * 0.5f;
        const Vector2 heading = next - here;
        if (away > CrusherApproach || (middle.x - here.x) * heading.x + (middle.y - here.y) * heading.y <= 0.0f)
            return;
        // The door's rise above its closed height, step by step while the
        // player crosses it (its depth and the body, at walking speed).
        const float depth = std::min(high.x - low.x, high.y - low.y);
        const int crossing =
            static_cast<int>((away + depth + 2.0f * Player::BodyHalfExtents.x) / Player::WalkSpeed) + 6;
        const float top = door->openHeight - door->closedHeight;
        float rise = door->position.y - door->closedHeight;
        uint32_t state = door->state;
        for (int step = 0; step < crossing && clear; ++step) {
            if (state == DoorStateOpening) {
                rise += door->speed;
                if (rise >= top) {
                    rise = top;
                    state = DoorStateOpen;
                }
            } else if (state == DoorStateClosing) {
                rise -= door->speed;
                if (rise <= 0.0f) {
                    rise = 0.0f;
                    state = DoorStateClosed;
                }
            } else {
                state = state == DoorStateOpen ? DoorStateClosing : DoorStateOpening;
            }
            clear = rise >= CrusherClearance;
        }
    });
    return clear;
}

const MapSector* RouteWalker::SectorAt(Vector2 point) const
{
    for (const MapSector& sector : world.map.sectors)
        if (Polygon::ContainsPoint(sector, point))
            return &sector;
    return nullptr;
}

bool RouteWalker::LevelWay(Vector2 to) const
{
    const Vector2 from = Where();
    const float feet = player.position.y - Player::BodyHalfExtents.y;
    const float length = Vector2::Distance(from, to);
    for (float along = 0.0f; along < length; along += WayProbe) {
        const MapSector* under = SectorAt(from + (to - from) * (along / length));
        if (!under || std::abs(under->floorTopY - feet) > StepDown)
            return false;
    }
    return true;
}

bool RouteWalker::OnMovingLift() const
{
    const MapSector* under = SectorAt(Where());
    if (!under || !under->elevator)
        return false;
    const auto* lift = dynamic_cast<const Elevator*>(Find(world.aiRegions->objects.elevators, under->id));
    return lift && lift->state != ElevatorStateTop && lift->state != ElevatorStateBottom;
}

bool RouteWalker::FirmGround(Vector2 direction) const
{
    const float length = direction.Length();
    if (length < 0.01f || OnMovingLift())
        return false;
    const MapSector* ahead = SectorAt(Where() + direction * (FootingProbe / length));
    const float feet = player.position.y - Player::BodyHalfExtents.y;
    return ahead && ahead->floorTopY >= feet - StepDown;
}

bool RouteWalker::Dodge()
{
    const Vector2 here = Where();
    float nearestAlong = DodgeHorizon;
    Vector2 away;
    world.ForEachObject(GridObjectType::Projectile, [&](GridObject* object) {
        const auto* shot = static_cast<const Projectile*>(object);
        if (shot->removed || shot->exploding || !shot->owner || shot->owner->typeMask != GridObjectType::Monster)
            return;
        Vector2 heading{shot->direction.x, shot->direction.z};
        const float length = heading.Length();
        if (length < 0.01f)
            return;
        heading = heading * (1.0f / length);
        const Vector2 to = here - Vector2{shot->position.x, shot->position.z};
        const float along = to.x * heading.x + to.y * heading.y;
        const Vector2 side{-heading.y, heading.x};
        const float across = to.x * side.x + to.y * side.y;
        if (along > 0.0f && along < nearestAlong && std::abs(across) < DodgeClearance) {
            nearestAlong = along;
            away = side * (across >= 0.0f ? 1.0f : -1.0f);
        }
    });
    if (nearestAlong >= DodgeHorizon)
        return false;
    if (!FirmGround(away))
        away = away * -1.0f; // the other side, then
    if (FirmGround(away))
        StepTowards(here + away * RetreatStride);
    return true; // standing its ground where neither side will do
}

void RouteWalker::PlaceStack::Push(Vector2 place)
{
    places[next] = place;
    next = (next + 1) % Capacity;
    count = std::min(count + 1, Capacity);
}

Vector2 RouteWalker::PlaceStack::Pop()
{
    next = (next + Capacity - 1) % Capacity;
    --count;
    return places[next];
}

void RouteWalker::LeaveTrail()
{
    // A lift ride or a drop leaves the places below or above behind.
    const float feet = player.position.y - Player::BodyHalfExtents.y;
    if (std::abs(feet - trailFeet) > TrailClimb) {
        while (!trail.Empty())
            trail.Pop();
        trailFeet = feet;
    }
    if (trail.Empty() || Vector2::Distance(trail.Top(), Where()) >= TrailSpacing) {
        trail.Push(Where());
        trailFeet = feet;
    }
}

Vector2 RouteWalker::NextPlace(Vector2 target)
{
    while (!retraced.Empty() && Vector2::Distance(retraced.Top(), Where()) <= ArrivalRadius)
        trail.Push(retraced.Pop());
    return retraced.Empty() ? target : retraced.Top();
}

void RouteWalker::StepTowards(Vector2 point)
{
    const Vector2 to = point - Where();
    const float length = std::hypot(to.x, to.y);
    const float yaw = facingYaw * Pi / 180.0f;
    const float forward = length > 0.0f ? (to.x * std::cos(yaw) + to.y * std::sin(yaw)) / length : 0.0f;
    const float right = length > 0.0f ? (to.x * -std::sin(yaw) + to.y * std::cos(yaw)) / length : 0.0f;
    FeedAction(KeybindAction::MoveForward, forward > KeyLean);
    FeedAction(KeybindAction::MoveBackward, forward < -KeyLean);
    FeedAction(KeybindAction::StrafeRight, right > KeyLean);
    FeedAction(KeybindAction::StrafeLeft, right < -KeyLean);
}

void RouteWalker::Arm()
{
    if (weaponKeyHeld) {
        FeedAction(*weaponKeyHeld, false);
        weaponKeyHeld.reset();
    } else if (!player.weaponView->switching) {
        for (const auto& [action, textureId] : WeaponChoice) {
            if (!Loaded(textureId))
                continue;
            Item* weapon = player.inventory.FindByName(textureId);
            if (weapon != player.equippedItem) {
                FeedAction(action, true);
                weaponKeyHeld = action;
            }
            break;
        }
    }
    // The hammer is swung only where it reaches, and the gun fired only
    // where most of its pellets find the body.
    GridObject* aimed = player.crosshairMonster;
    const float reach = IsHammer(player.equippedItem) ? StrikeDistance : GunReach;
    const bool inReach = aimed && Vector2::Distance({aimed->position.x, aimed->position.z}, Where()) <= reach;
    FeedAction(KeybindAction::Attack, Alive(aimed) && inReach);
}

void RouteWalker::Fight(GridObject& monster, bool mayMove)
{
    const float distance = Vector2::Distance({monster.position.x, monster.position.z}, Where());
    AimAt(monster.position);
    FeedAction(KeybindAction::MoveForward, false);
    FeedAction(KeybindAction::MoveBackward, false);
    FeedAction(KeybindAction::StrafeLeft, false);
    FeedAction(KeybindAction::StrafeRight, false);
    const bool hammer = IsHammer(player.equippedItem) || !player.equippedItem;
    if (mayMove && !Dodge()) {
        float nomDistance = KeepOff;
        if (GridObject* nom = NearestNom(nomDistance))
            BackOff(*nom, nomDistance);
        else if (distance > (hammer ? StrikeDistance : GunReach) && LevelWay({monster.position.x, monster.position.z}))
            FeedAction(KeybindAction::MoveForward, true); // closing in
    }
    Arm();
}

GridObject* RouteWalker::NearestNom(float& distance)
{
    GridObject* nearest = nullptr;
    world.ForEachObject(GridObjectType::Monster, [&](GridObject* object) {
        const auto* monster = static_cast<const Monster*>(object);
        if (monster->dead || monster->dormant || monster->data.attackKind != MonsterAttackKind::Melee)
            return;
        if (!OnPlayersFloor(*object))
            return;
        const float away = Vector2::Distance({object->position.x, object->position.z}, Where());
        if (away < distance) {
            nearest = object;
            distance = away;
        }
    });
    return nearest;
}

// Back along the trail while it leads away from the nom, else straight away
// from it.
void RouteWalker::BackOff(GridObject& nom, float distance)
{
    const Vector2 at{nom.position.x, nom.position.z};
    while (!trail.Empty() && Vector2::Distance(trail.Top(), Where()) <= ArrivalRadius)
        retraced.Push(trail.Pop());
    if (OnMovingLift())
        return;
    if (!trail.Empty() && Vector2::Distance(trail.Top(), at) > distance && FirmGround(trail.Top() - Where()))
        StepTowards(trail.Top());
    else if (FirmGround(Where() - at))
        StepTowards(Where() + (Where() - at));
}

void RouteWalker::LetGo()
{
    for (const KeybindAction action :
         {KeybindAction::MoveForward, KeybindAction::MoveBackward, KeybindAction::StrafeLeft,
          KeybindAction::StrafeRight, KeybindAction::Attack, KeybindAction::Use})
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
        const bool stopped = co_await WaitFor([lift, end] { return lift->state == end; }, false);
        if (!stopped)
            co_return Fail("lift " + std::to_string(routeStep.id) + " did not stop at its " +
                           (routeStep.top ? "top" : "bottom"));
    } else if (action == RouteAction::Door) {
        IDoor* door = Find(world.aiRegions->objects.doors, routeStep.id);
        if (!door)
            co_return Fail("no door " + std::to_string(routeStep.id));
        const bool open = co_await WaitFor([door] { return door->GetState() == DoorStateOpen; }, true);
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
    bool usePressed = false; // let go the step after
    standPoint = target;
    for (int count = 0; count < budget && distance() > stopAt && !LevelComplete(); ++count) {
        if (GridObject* foe = Foe(); !foe) {
            fighting = 0;
        } else if (fighting < FightingSteps) {
            if (fighting == 0)
                retraced.Push(Where()); // the walk goes on from here
            Fight(*foe, true);
            co_await driver.Steps(1);
            ++fighting;
            --count;
            still = 0;
            continue;
        }
        const Vector2 before = Where();
        if (!fetching) {
            if (const GridObject* supply = Supply()) {
                // Off to fetch it; the way back starts here.
                fetching = true;
                fetchingAt = {supply->position.x, supply->position.z};
                LeaveTrail();
                retraced.Push(Where());
            }
        }
        if (fetching &&
            (Vector2::Distance(fetchingAt, Where()) <= Touching || still > StillSteps || !LevelWay(fetchingAt))) {
            // Taken, or refused, or out of reach after all (a fight may have
            // left a drop between): not again.
            givenUp[givenUpNext++ % givenUp.size()] = fetchingAt;
            fetching = false;
            still = 0;
        }
        if (!fetching && !retraced.Empty() && still > StillSteps) {
            // The way back is barred (a drop the fight went over): on to the
            // target from here.
            while (!retraced.Empty())
                retraced.Pop();
            still = 0;
        }
        Vector2 next = fetchingAt;
        if (!fetching) {
            next = NextPlace(target);
            if (retraced.Empty())
                LeaveTrail();
        }
        Aim(next);
        if (!Dodge()) {
            FeedAction(KeybindAction::MoveBackward, false);
            FeedAction(KeybindAction::StrafeLeft, false);
            FeedAction(KeybindAction::StrafeRight, false);
            const bool clear = ClearOfCrushers(next);
            FeedAction(KeybindAction::MoveForward, clear);
            if (!clear) {
                // Waiting for the crusher: neither stuck nor out of steps.
                Arm();
                co_await driver.Steps(1);
                --count;
                still = 0;
                continue;
            }
        }
        // A closed door in the way (one that closed again while the walker
        // fought or fetched) is opened, as a player would.
        auto* doorAhead = dynamic_cast<IDoor*>(player.usable);
        usePressed = !usePressed && player.usableInReach && doorAhead && doorAhead->GetState() == DoorStateClosed;
        FeedAction(KeybindAction::Use, usePressed);
        Arm();
        co_await driver.Steps(1);
        still = std::hypot(Where().x - before.x, Where().y - before.y) < 0.01f ? still + 1 : 0;
        if (fetching) {
            --count; // a detour: neither against the door nor out of the walk's steps
            continue;
        }
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
        GridObject* foe = Foe();
        if (!foe)
            break;
        Fight(*foe, true);
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

StepTask RouteWalker::WaitFor(std::function<bool()> done, bool mayMove)
{
    bool fought = false;
    for (int count = 0; count < 4 * WaitingSteps && !done(); ++count) {
        if (GridObject* foe = Foe()) {
            if (mayMove && !fought)
                retraced.Push(Where()); // the walk goes on from the place waited at
            fought = true;
            Fight(*foe, mayMove);
            co_await driver.Steps(1);
            LetGo();
        } else {
            if (mayMove)
                Dodge();
            Arm();
            co_await driver.Steps(1);
            LetGo();
        }
    }
    LetGo();
    co_return done();
}

} // namespace mirefell
