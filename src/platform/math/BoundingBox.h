// BoundingBox: an axis-aligned box as centre and half extents, the form the
// culling and collision code read.
#pragma once

#include "platform/math/Vector.h"

namespace mirefell
{

struct BoundingBox
{
    Vector3 center;
    Vector3 extents;

    constexpr Vector3 Min() const { return center - extents; }
    constexpr Vector3 Max() const { return center + extents; }
    static constexpr BoundingBox FromMinMax(const Vector3& min, const Vector3& max)
    {
        return {(min + max) * 0.5f, (max - min) * 0.5f};
    }
    constexpr bool Contains(const Vector3& p) const
    {
        const Vector3 lo = Min(), hi = Max();
        return p.x >= lo.x && p.x <= hi.x && p.y >= lo.y && p.y <= hi.y && p.z >= lo.z && p.z <= hi.z;
    }
    constexpr bool Intersects(const BoundingBox& b) const
    {
        const Vector3 d = center - b.center;
        const Vector3 e = extents + b.extents;
        return (d.x <= e.x && -d.x <= e.x) && (d.y <= e.y && -d.y <= e.y) && (d.z <= e.z && -d.z <= e.z);
    }
};

} // namespace mirefell
