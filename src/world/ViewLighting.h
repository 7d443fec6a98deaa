// ViewLighting: the first-person view's own light and ambient colour, which
// the level scripts' lights switch changes together with the map's lights.
// The player's weapon view owns both and hands their addresses to the World
// when it is set up; until then both are null and only the map's lights
// switch.
#pragma once

#include "platform/math/Vector.h"

namespace mirefell
{

struct PointLight;

struct ViewLighting
{
    PointLight* light = nullptr;
    Vector4* ambient = nullptr;
};

} // namespace mirefell
