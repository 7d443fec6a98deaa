// Route: the route file's reader and writer.
#include "app/Route.h"

#include <array>
#include <cmath>
#include <fstream>
#include <limits>
#include <sstream>

#include <nlohmann/json.hpp>

#include "platform/GameError.h"

namespace mirefell
{

namespace
{

using nlohmann::json;

// By RouteAction.
constexpr std::array<const char*, 6> ActionNames{"walk", "use", "switch", "wait", "lift", "door"};
static_assert(ActionNames.size() == static_cast<size_t>(RouteAction::Door) + 1, "one name per route action");

[[noreturn]] void Bad(const std::string& what)
{
    throw GameError(Route::BadRouteFile, what);
}

const json& Field(const json& step, const char* name, const std::string& where)
{
    const auto found = step.find(name);
    if (found == step.end())
        Bad(where + " has no \"" + name + "\"");
    return *found;
}

int32_t Integer(const json& value, const std::string& what, int64_t lowest)
{
    if (!value.is_number_integer() || value.get<int64_t>() < lowest ||
        value.get<int64_t>() > std::numeric_limits<int32_t>::max())
        Bad(what + " is not a whole number from " + std::to_string(lowest));
    return static_cast<int32_t>(value.get<int64_t>());
}

Vector2 Point(const json& value, const std::string& what)
{
    if (!value.is_array() || value.size() != 2 || !value[0].is_number() || !value[1].is_number() ||
        !std::isfinite(value[0].get<double>()) || !std::isfinite(value[1].get<double>()))
        Bad(what + " is not a point [x, y]");
    return {value[0].get<float>(), value[1].get<float>()};
}

RouteStep ReadStep(const json& step, const std::string& where)
{
    if (!step.is_object())
        Bad(where + " is not an object");
    RouteStep read;
    if (const auto line = step.find("line"); line != step.end())
        read.line = Integer(*line, where + "'s line", 0);
    const json& action = Field(step, "action", where);
    size_t index = 0;
    while (index < ActionNames.size() && !(action.is_string() && action.get<std::string>() == ActionNames[index]))
        ++index;
    if (index == ActionNames.size())
        Bad(where + " has an unknown action " + action.dump());
    read.action = static_cast<RouteAction>(index);
    switch (read.action) {
    case RouteAction::Walk:
    case RouteAction::Use:
        read.at = Point(Field(step, "at", where), where + "'s \"at\"");
        break;
    case RouteAction::Wait:
        read.steps = Integer(Field(step, "steps", where), where + "'s \"steps\"", 0);
        break;
    case RouteAction::Lift:
        if (!Field(step, "top", where).is_boolean())
            Bad(where + "'s \"top\" is not true or false");
        read.top = step["top"].get<bool>();
        [[fallthrough]];
    case RouteAction::Switch:
    case RouteAction::Door:
        read.id = Integer(Field(step, "id", where), where + "'s \"id\"", std::numeric_limits<int32_t>::min());
        break;
    }
    return read;
}

} // namespace

Route Route::FromJson(const std::string& text)
{
    const json root = json::parse(text, nullptr, false);
    if (root.is_discarded() || !root.is_object())
        Bad("not a JSON object");
    Route route;
    const json& level = Field(root, "level", "the route");
    if (!level.is_string() || level.get<std::string>().empty())
        Bad("\"level\" is not a level name");
    route.level = level.get<std::string>();
    const json& steps = Field(root, "steps", "the route");
    if (!steps.is_array())
        Bad("\"steps\" is not a list");
    for (size_t i = 0; i < steps.size(); ++i)
        route.steps.push_back(ReadStep(steps[i], "step " + std::to_string(i + 1)));
    return route;
}

Route Route::Load(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        Bad(path + ": cannot be read");
    std::ostringstream text;
    text << file.rdbuf();
    try {
        return FromJson(text.str());
    } catch (const GameError& error) {
        Bad(path + ": " + error.Detail());
    }
}

std::string Route::ToJson() const
{
    // One step a line, so a route file reads like the route in a level source.
    std::string text = "{\"level\": " + json(level).dump() + ", \"steps\": [";
    const char* separator = "\n  ";
    for (const RouteStep& step : this->steps) {
        json written = json::object();
        if (step.line > 0)
            written["line"] = step.line;
        written["action"] = ActionNames[static_cast<size_t>(step.action)];
        switch (step.action) {
        case RouteAction::Walk:
        case RouteAction::Use:
            written["at"] = {step.at.x, step.at.y};
            break;
        case RouteAction::Wait:
            written["steps"] = step.steps;
            break;
        case RouteAction::Lift:
            written["top"] = step.top;
            [[fallthrough]];
        case RouteAction::Switch:
        case RouteAction::Door:
            written["id"] = step.id;
            break;
        }
        text += separator + written.dump();
        separator = ",\n  ";
    }
    return text + "\n]}\n";
}

} // namespace mirefell
