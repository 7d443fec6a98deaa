// Autopilot: a developer's aid that plays a level's route in the running
// game. It exists only when the environment variable MIREFELL_AUTOPILOT
// names a route file (Route.h; the map compiler writes one per level) and is
// then asked before every fixed step. Whenever the route's level starts, a
// RouteWalker walks it from the player's start, feeding the keys, buttons
// and mouse movement of each step into Input as the window system's events
// arrive; nothing else in the game knows it is there. Menus, cheat codes and
// everything outside the route stay with whoever sits at the keyboard (or
// drives it with xdotool): the walk pauses while the in-game menu or the
// inventory is open and lets go of its keys meanwhile.
//
// What it sees it reports, one line each on its report stream (stderr in
// the game), so a script can wait for it:
//
//   autopilot: route of pentagram, 49 steps
//   autopilot: level pentagram started, walking its route
//   autopilot: level descent started, not on the route
//   autopilot: god mode on | god mode off
//   autopilot: paused | walking on      (the in-game menu or inventory)
//   autopilot: reached the exit after 7290 steps
//   autopilot: the player died after 1250 steps
//   autopilot: stopped: route line 356: door 4 did not open
//   autopilot: the route ended before the exit
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "app/Route.h"
#include "shell/GameState.h"

namespace mirefell
{

class RouteWalker;
class World;

class Autopilot
{
public:
    static constexpr const char* Variable = "MIREFELL_AUTOPILOT";

    // The autopilot of the route file the variable names; null when it is
    // unset or empty. A bad file throws GameError "bad route file".
    static std::unique_ptr<Autopilot> FromEnvironment();

    // `report` stays open while the autopilot lives.
    Autopilot(Route route, std::FILE* report);
    ~Autopilot();
    Autopilot(const Autopilot&) = delete;
    Autopilot& operator=(const Autopilot&) = delete;

    // Before each fixed step: `world` is the level in memory (null before
    // the first) and `state` the current game state. Feeds the step's input
    // while the route's level is played.
    void BeforeStep(World* world, GameState state);

private:
    void Report(const std::string& what);
    // Ends the walk (keys let go) with a report line, when one is given.
    void StopWalking(const char* why);

    Route route;
    std::FILE* report;
    World* level = nullptr;   // the level last seen started
    bool levelPending = true; // a level is being loaded: the next one seen is new
    std::unique_ptr<RouteWalker> walker;
    bool paused = false;
    bool godMode = false;
    bool dead = false;
    int32_t levelSteps = 0; // steps of play since the level started
};

} // namespace mirefell
