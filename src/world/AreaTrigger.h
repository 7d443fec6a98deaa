// AreaTrigger: a named area of the map (layer "4") as the level script sees
// it: the player entering or leaving its box fires the script's trigger
// hooks. The box is closed: a point on its edge is inside.
#pragma once

#include <cstdint>
#include <string>

#include "platform/math/Bounds.h"
#include "platform/math/Vector.h"

namespace mirefell
{

struct AreaTrigger
{
    std::string name;
    int32_t id = 0;
    Vector2 start; // the area's corners as in the map
    Vector2 end;
    MapRect box; // spanned by start and end

    // Whether the world point (x, z) lies in the box, edges included.
    bool Contains(const Vector3& point) const { return box.Contains({point.x, point.z}); }
};

} // namespace mirefell
