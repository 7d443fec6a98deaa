// Reachability: where a player can get to in a map, worked out from the
// sectors, their links and heights, the doors and elevators as the level
// script leaves and drives them (ScriptModel), and the keys on the way.
//
// A place is a sector at a floor height (an elevator's sector at each height
// its platform can rest at). From a place the player may go into a linked
// sector when the floor there is at most a step above, the opening between
// the two is as high as the player, and a door in the way can be opened: it
// cycles, or is usable and its key (if any) has been reached, or something
// already reached makes the script open it. Areas, switches and pickups
// that can be reached fire the script's reactions; a reaction that moves an
// elevator adds the platform's new height, and the player riding it comes
// along when the reaction can be fired from the platform itself. The walk
// repeats until nothing new is reached. It may grant a little more than play
// does (timing and order are not modelled); the route test plays the level.
#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <vector>

#include "ScriptProbe.h"
#include "world/MapData.h"

namespace mirefell::maptool
{

class Reachability
{
public:
    // Eye height above the floor and reach of the use key (the player's).
    static constexpr float EyeAboveFloor = 10.5f;
    static constexpr float SwitchReach = 12.0f;

    Reachability(const MapData& map_, const ScriptModel& model_);

    // Walks from the start. A door given here opens without its key.
    void Run(std::optional<uint32_t> doorOpenedAnyway = {});

    // The index of the sector (map order) holding the point, or -1.
    int SectorAt(Vector2 point) const;
    bool SectorReached(size_t index) const { return !heights[index].empty(); }
    // Some reached place touches the pickup's box.
    bool PickupReached(const MapEntity& entity) const;
    bool DoorOpenable(size_t index) const;

private:
    struct Cause
    {
        ScriptCause cause;
        bool fired = false;
    };
    struct Move
    {
        size_t cause;
        double surface;
    };

    double Top(size_t sector, double floor) const;
    bool CanEnter(size_t from, double fromFloor, size_t to, double toFloor) const;
    bool FiresFrom(const ScriptCause& cause, size_t sector, double floor) const;
    bool Add(size_t sector, double floor);

    const MapData& map;
    const ScriptModel& model;
    std::vector<std::vector<size_t>> neighbours;  // by sector index
    std::vector<std::vector<Move>> elevatorMoves; // by sector index
    std::vector<std::vector<size_t>> doorOpeners; // by sector index: causes that open the door
    std::vector<Cause> causes;
    std::vector<std::set<double>> heights; // the reached places, by sector index
    std::optional<uint32_t> forcedDoor;
    bool hasRedKey = false;
    bool hasBlueKey = false;
};

} // namespace mirefell::maptool
