// ILevelTrace: the level's line-of-sight trace as the particles see it. A
// flying particle asks it whether its move of one update meets the level, so
// that blood can leave a decal and debris can come to rest there. The World
// implements it over its static geometry; the renderer needs nothing else of
// the world for this.
#pragma once

#include "platform/math/Vector.h"

namespace mirefell
{

class ILevelTrace
{
public:
    virtual ~ILevelTrace() = default;
    // Whether the path from `from` to `to` meets the level: then `to` becomes
    // the contact point and `normal` the surface normal there. Otherwise both
    // are left as they were.
    virtual bool TraceLineOfSight(const Vector3& from, Vector3& to, Vector3& normal) = 0;
};

} // namespace mirefell
