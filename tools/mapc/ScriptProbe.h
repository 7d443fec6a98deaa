// ScriptProbe: learns what a level script does on a map by running it
// against stand-ins for the map's doors, elevators, switches, pickups and
// monsters, one stand-in per record. Start is run once to read the state it
// leaves (which doors are usable or cycling, where each elevator rests and
// between which heights it now moves); then, on a fresh script each time,
// every area of the map is entered, every switch thrown and every pickup
// taken, and the doors it opens and the elevators it sends up or down are
// recorded. The level checker walks the map with this model, so it follows
// the script as written rather than a description of it.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "world/MapData.h"
#include "world/MapScript.h"

namespace mirefell::maptool
{

struct ScriptCause
{
    enum class Kind
    {
        Area,
        Switch,
        Pickup,
    };
    Kind kind = Kind::Area;
    std::string area; // Area
    uint32_t id = 0;  // Switch (segment id) or Pickup (entity id)

    std::string Describe() const;
};

struct ScriptModel
{
    struct Door
    {
        bool usable = true;
        bool cycling = false;
        std::vector<ScriptCause> openedBy;
    };
    struct ElevatorMove
    {
        ScriptCause cause;
        double surface = 0.0; // where the platform's top ends the move
    };
    struct Elevator
    {
        double restingSurface = 0.0; // the platform's top after Start
        std::vector<ElevatorMove> moves;
    };

    std::map<uint32_t, Door> doors;         // by sector id, every door of the map
    std::map<uint32_t, Elevator> elevators; // by sector id, every elevator of the map
    std::string startFailure;               // what Start threw on the stand-ins (no cause is probed then)
};

class ScriptProbe
{
public:
    // The model of `make`'s script on `map`; with no maker, the map's doors
    // and elevators as they are without a script.
    static ScriptModel Run(const MapData& map, MapScript::Maker make);
};

} // namespace mirefell::maptool
