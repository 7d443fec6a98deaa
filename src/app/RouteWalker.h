// RouteWalker: steers the player of a level along a Route as a player
// would: turning with the mouse, walking with the movement keys, opening
// doors and throwing switches with the use key (and opening a door again
// that closed in its way), waiting for lifts and doors, and timing its way
// under crushing doors. Living monsters are fought on the way: one close
// enough to bar the way, or one hunting the player that sees it from within
// a shotgun's reach, is faced and fought until it dies, the gun fired where
// most of its pellets find the body and the hammer swung where it reaches.
// The walker steps aside from shots that come at it and keeps out of a nom's
// bite, backing off along the way it came as the nom comes on and walking
// that way again afterwards; with the hammer it strikes from a little
// farther than a nom bites. It never steps off a drop or off a moving lift
// to do so. Low on shells or hurt, it fetches an ammunition pack or a medkit
// it sees nearby and comes back to its way. It holds a carried gun with
// ammunition for a shot, else the hammer, choosing with the weapon keys.
//
// It plays closed-loop, one step at a time: Advance() before each step
// reads where the player is and what the step before did, and feeds that
// step's keys, buttons and mouse movement through InputFeed, as the window
// system's events arrive. Whoever owns the loop runs the steps: the route
// tests (whole Core steps) and the developer's Autopilot (the game's own
// frame loop). It does not step the game, change anything but Input, or
// survive its World.
//
// A step of the route that cannot be done ends the walk with Failure()
// naming the route's line; taking the exit (the level complete) ends it
// too.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "app/Route.h"
#include "app/StepDriver.h"
#include "shell/KeybindAction.h"

namespace mirefell
{

class GridObject;
class ISwitch;
struct MapSector;
class Player;
class World;

class RouteWalker
{
public:
    // The walk starts at the first Advance. `world` must outlive the walker.
    RouteWalker(World& world, std::vector<RouteStep> route);
    // Lets go of every key still held.
    ~RouteWalker();
    RouteWalker(const RouteWalker&) = delete;
    RouteWalker& operator=(const RouteWalker&) = delete;

    // Before each step: feeds the step's input; false once the walk is over
    // (every key let go).
    bool Advance();
    // Why the walk stopped short ("route line 356: door 4 did not open"), or
    // empty.
    const std::string& Failure() const { return failure; }
    // Lets go of every key and button the walker may hold; the walk goes on
    // at the next Advance, pressing what it needs again.
    void LetGo();

private:
    Vector2 Where() const;
    void Turn(float yawDegrees, float pitchDegrees);
    void Aim(Vector2 target);
    void AimAt(Vector3 target);
    // The nearest living monster close enough to bar the way, or null.
    GridObject* Blocker();
    // What to fight now: a blocker, else the nearest hunting monster that
    // sees the player from within reach; or null.
    GridObject* Foe();
    // A pickup worth a short way off the route: an ammunition pack while the
    // guns run low, a medkit while hurt; near, on about the player's floor
    // and in plain view. Or null.
    const GridObject* Supply();
    // A weapon of that texture id is carried and can strike or shoot.
    bool Loaded(const char* textureId);
    // Whether walking on towards `next` keeps the player out from under a
    // crushing (cycling) door that would come down on it: false just before
    // such a door while it would not stay high enough for the crossing.
    bool ClearOfCrushers(Vector2 next);
    // The map's sector under a point of the map plane, or null.
    const MapSector* SectorAt(Vector2 point) const;
    // Whether the straight way from the player to the point keeps to about
    // the player's floor all along (no drop, no climb).
    bool LevelWay(Vector2 to) const;
    // Whether the player stands on a lift that is on its way.
    bool OnMovingLift() const;
    // Whether a few steps that way keep the player on about its floor (no
    // drop, and not off a moving lift).
    bool FirmGround(Vector2 direction) const;
    // Holds the keys that step aside from the nearest monster's shot coming
    // at the player, if one comes; false (no key touched) when none does.
    bool Dodge();
    // Remembers where the player has walked, for backing off.
    void LeaveTrail();
    // Where the walk heads next on its way to `target`: back through the
    // places a fight backed it out of, then the target.
    Vector2 NextPlace(Vector2 target);
    // The keys that move the player towards the point while it faces
    // elsewhere (forward, backward and the strafes), held for the coming step
    // and reckoned from where that step's turn leaves the view.
    void StepTowards(Vector2 point);
    // For the coming step: the weapon key of a better weapon than the one
    // in hand (pressed, then let go the step after), and the attack held
    // while a living monster is under the crosshair.
    void Arm();
    // The input of one step facing the monster and fighting it; stepping
    // aside and backing off only where the walk may leave its place.
    void Fight(GridObject& monster, bool mayMove);
    // Whether the monster stands on the player's floor (their boxes overlap
    // in height).
    bool OnPlayersFloor(const GridObject& monster) const;
    // The nearest living nom on the player's floor nearer than `distance`,
    // which becomes its distance; or null.
    GridObject* NearestNom(float& distance);
    // The keys that take the player away from the nom.
    void BackOff(GridObject& nom, float distance);
    // Ends the walk with the reason, naming the route step's line.
    bool Fail(const std::string& reason);

    // The tasks of the walk (StepTask.h); each ends false when it failed.
    StepTask Walk();
    StepTask Follow(RouteStep routeStep);
    StepTask WalkTo(Vector2 target, float stopAt);
    StepTask Use(Vector2 target);
    StepTask ThrowSwitch(uint32_t id);
    // Waits, fighting what comes close, until `done`; where it may move (not
    // on a lift) it steps aside and backs off as in a walk.
    StepTask WaitFor(std::function<bool()> done, bool mayMove);

    World& world;
    Player& player;
    std::vector<RouteStep> route;
    StepDriver driver;
    std::optional<KeybindAction> weaponKeyHeld;
    Vector2 standPoint;     // where the last walk went
    float facingYaw = 0.0f; // where the coming step's mouse turns the view (degrees)
    // A stack of places that forgets its oldest place when full.
    class PlaceStack
    {
    public:
        void Push(Vector2 place);
        Vector2 Pop();
        Vector2 Top() const { return places[(next + Capacity - 1) % Capacity]; }
        bool Empty() const { return count == 0; }

    private:
        static constexpr size_t Capacity = 64;
        std::array<Vector2, Capacity> places{};
        size_t next = 0;
        size_t count = 0;
    };
    // The places walked through, newest on top; backing off takes them back
    // (onto `retraced`), and the walk goes through those again before it
    // heads on.
    PlaceStack trail;
    PlaceStack retraced;
    float trailFeet = 0.0f; // the height of the feet at the trail's last place
    // A detour to a pickup: where it lies, while on the way; and the places
    // of pickups found out of reach, not tried again.
    bool fetching = false;
    Vector2 fetchingAt;
    std::array<Vector2, 8> givenUp{};
    size_t givenUpNext = 0;
    int32_t line = 0; // of the route step being followed
    std::string failure;
};

} // namespace mirefell
