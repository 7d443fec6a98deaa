// RouteWalker: steers the player of a level along the level's authored
// route as a player would: turning with the mouse, walking with the forward
// key, opening doors and throwing switches with the use key, waiting for
// lifts and doors. Living monsters are fought on the way: the weapon in
// hand fires whenever one is under the crosshair, and one that comes close
// enough to bar the way is faced and fought, standing (closing in with the
// hammer), until it dies. The walker holds a carried gun with ammunition
// for a shot, else the hammer, choosing with the weapon keys. It feeds
// Input and leaves each step of the game to the caller (a whole Core step),
// so the same route plays in a single level and in a whole game. A step of
// the route that cannot be done fails the test with the route's line.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "LevelSource.h"
#include "platform/math/Vector.h"
#include "shell/KeybindAction.h"

namespace mirefell
{
class GridObject;
class ISwitch;
class Player;
class World;
} // namespace mirefell

namespace mirefell::testing
{

class RouteWalker
{
public:
    // `step` runs the given number of game steps (Input's snapshot and the
    // level's update among them).
    RouteWalker(World& world, std::function<void(int)> step);

    // Follows every step of the route; stops at the first that fails, and
    // when the level is complete (the exit is taken).
    void Walk(const std::vector<maptool::RouteStep>& route);

    // The map's switch on that segment, as the level script finds it.
    ISwitch* SwitchOf(uint32_t id) const;

private:
    Vector2 Where() const;
    void Turn(float yawDegrees, float pitchDegrees);
    void Aim(Vector2 target);
    void AimAt(Vector3 target);
    // The nearest living monster close enough to bar the way, or null.
    GridObject* Blocker();
    // For the next step: the weapon key of a better weapon than the one in
    // hand (pressed, then let go the step after), and the attack held while
    // a living monster is under the crosshair.
    void Arm();
    // One step facing the monster and fighting it.
    void Fight(GridObject& monster);
    bool WalkTo(Vector2 target, float stopAt);
    void Use(Vector2 target);
    void ThrowSwitch(uint32_t id);
    template <class Done> bool WaitFor(Done done);
    void Follow(const maptool::RouteStep& step);
    // Lets go of every key the walker holds.
    void LetGo();

    World& world;
    Player& player;
    std::function<void(int)> step;
    std::optional<KeybindAction> weaponKeyHeld;
    Vector2 standPoint; // where the last walk went
};

} // namespace mirefell::testing
