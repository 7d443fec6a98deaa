// RouteWalker: steers the player of a level along the level's authored
// route as a player would: turning with the mouse, walking with the forward
// key, opening doors and throwing switches with the use key, waiting for
// lifts and doors. It feeds Input and leaves each step of the game to the
// caller (a test fixture's World update, or the whole Core), so the same
// route plays in a single level and in a whole game. A step of the route
// that cannot be done fails the test with the route's line.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "LevelSource.h"
#include "platform/math/Vector.h"

namespace mirefell
{
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
    // level's update among them). Aiming assumes a mouse sensitivity of one
    // degree per count, which the walker sets.
    RouteWalker(World& world, std::function<void(int)> step);

    // Follows every step of the route; stops at the first that fails, and
    // when the level is complete (the exit is taken).
    void Walk(const std::vector<maptool::RouteStep>& route);

    // The map's switch on that segment, as the level script finds it.
    ISwitch* SwitchOf(uint32_t id) const;

private:
    Vector2 Where() const;
    void Aim(Vector2 target);
    bool WalkTo(Vector2 target, float stopAt);
    void Use(Vector2 target);
    void ThrowSwitch(uint32_t id);
    template <class Done> bool WaitFor(Done done);
    void Follow(const maptool::RouteStep& step);

    World& world;
    Player& player;
    std::function<void(int)> step;
};

} // namespace mirefell::testing
