// RouteWalker: steers the player of a level along a Route as a player
// would: turning with the mouse, walking with the forward key, opening
// doors and throwing switches with the use key, waiting for lifts and
// doors. Living monsters are fought on the way: the weapon in hand fires
// whenever one is under the crosshair, and one that comes close enough to
// bar the way is faced and fought, standing (closing in with the hammer),
// until it dies. The walker holds a carried gun with ammunition for a shot,
// else the hammer, choosing with the weapon keys.
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
    // For the coming step: the weapon key of a better weapon than the one
    // in hand (pressed, then let go the step after), and the attack held
    // while a living monster is under the crosshair.
    void Arm();
    // The input of one step facing the monster and fighting it.
    void Fight(GridObject& monster);
    // Ends the walk with the reason, naming the route step's line.
    bool Fail(const std::string& reason);

    // The tasks of the walk (StepTask.h); each ends false when it failed.
    StepTask Walk();
    StepTask Follow(RouteStep routeStep);
    StepTask WalkTo(Vector2 target, float stopAt);
    StepTask Use(Vector2 target);
    StepTask ThrowSwitch(uint32_t id);
    // Waits, fighting what comes close, until `done`.
    StepTask WaitFor(std::function<bool()> done);

    World& world;
    Player& player;
    std::vector<RouteStep> route;
    StepDriver driver;
    std::optional<KeybindAction> weaponKeyHeld;
    Vector2 standPoint; // where the last walk went
    int32_t line = 0;   // of the route step being followed
    std::string failure;
};

} // namespace mirefell
