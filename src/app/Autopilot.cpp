// Autopilot: following the game's states and the player's, and the walk.
#include "app/Autopilot.h"

#include <cstdlib>

#include "app/RouteWalker.h"
#include "gameplay/Player.h"
#include "shell/InventoryWindowFlag.h"
#include "world/World.h"

namespace mirefell
{

std::unique_ptr<Autopilot> Autopilot::FromEnvironment()
{
    const char* path = std::getenv(Variable);
    if (!path || !*path)
        return nullptr;
    return std::make_unique<Autopilot>(Route::Load(path), stderr);
}

Autopilot::Autopilot(Route route_, std::FILE* report_) : route(std::move(route_)), report(report_)
{
    Report("route of " + route.level + ", " + std::to_string(route.steps.size()) + " steps");
}

Autopilot::~Autopilot() = default;

void Autopilot::Report(const std::string& what)
{
    std::fprintf(report, "autopilot: %s\n", what.c_str());
    std::fflush(report);
}

void Autopilot::StopWalking(const char* why)
{
    walker.reset();
    if (why)
        Report(why);
}

void Autopilot::BeforeStep(World* world, GameState state)
{
    // A level is built in the step after its loading was asked for.
    if (state == GameState::Loading || state == GameState::MainMenu || !world) {
        StopWalking(nullptr);
        levelPending = true;
        return;
    }
    if (state == GameState::Playing && (levelPending || world != level)) {
        levelPending = false;
        level = world;
        godMode = dead = paused = false;
        levelSteps = 0;
        const bool onRoute = world->map.name == route.level;
        Report("level " + world->map.name + " started, " + (onRoute ? "walking its route" : "not on the route"));
        walker = onRoute ? std::make_unique<RouteWalker>(*world, route.steps) : nullptr;
    }
    if (world != level)
        return;
    if (state == GameState::Playing)
        ++levelSteps;

    const auto& player = *static_cast<const Player*>(world->player);
    if (player.godMode != godMode) {
        godMode = player.godMode;
        Report(godMode ? "god mode on" : "god mode off");
    }
    if (player.dead != dead) {
        dead = player.dead;
        if (dead) {
            Report("the player died after " + std::to_string(levelSteps) + " steps");
            StopWalking(nullptr);
        }
    }
    if (!walker)
        return;
    if (state == GameState::LevelComplete) {
        StopWalking(("reached the exit after " + std::to_string(levelSteps) + " steps").c_str());
        return;
    }
    // The in-game menu and the inventory stop the level: the walk waits.
    const bool stopped = state != GameState::Playing || inventoryWindowOpen;
    if (stopped != paused) {
        paused = stopped;
        Report(paused ? "paused" : "walking on");
        if (paused)
            walker->LetGo();
    }
    if (paused)
        return;
    if (walker->Advance())
        return;
    // Taking the exit is seen at the next step, in state 4 (above).
    if (!walker->Failure().empty())
        StopWalking(("stopped: " + walker->Failure()).c_str());
    else
        StopWalking("the route ended before the exit");
}

} // namespace mirefell
