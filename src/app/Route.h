// Route: a way through one level as a player takes it, step by step (walk
// to a point, use what is there, throw a switch, stand still, wait for a
// lift or a door), which the RouteWalker plays. Each level's source carries
// its authored route; the map compiler writes it out as a route file, the
// JSON text read here:
//
//   {"level": "pentagram", "steps": [
//     {"line": 350, "action": "walk", "at": [96, 1720]},
//     {"action": "use", "at": [48, 1592]},  {"action": "switch", "id": 1973},
//     {"action": "wait", "steps": 600},      {"action": "lift", "id": 440, "top": true},
//     {"action": "door", "id": 4}]}
//
// "line" (optional) is the step's line in the level source, named when the
// step cannot be done. A file that is not a route gives a GameError "bad
// route file" with what is wrong as its detail. Owns no level objects: the
// ids are sector ids (doors, lifts) and segment ids (switches) of the map.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/math/Vector.h"

namespace mirefell
{

enum class RouteAction
{
    Walk,   // to the point
    Use,    // face the point and press use
    Switch, // throw the switch with the id
    Wait,   // stand still for `steps`
    Lift,   // wait until lift `id` has stopped at its top (or bottom)
    Door,   // wait until door `id` is open
};

struct RouteStep
{
    int32_t line = 0; // in the level source; 0 when it has none
    RouteAction action = RouteAction::Walk;
    Vector2 at;
    int32_t id = 0;
    int32_t steps = 0;
    bool top = true;
};

struct Route
{
    static constexpr const char* BadRouteFile = "bad route file";

    std::string level; // the map name the route belongs to
    std::vector<RouteStep> steps;

    // Throws GameError "bad route file" (detail: what is wrong) for text that
    // is not a route.
    static Route FromJson(const std::string& text);
    // The same from a file; an unreadable file is a bad one too, named.
    static Route Load(const std::string& path);
    // The text FromJson reads back to the same route.
    std::string ToJson() const;
};

} // namespace mirefell
