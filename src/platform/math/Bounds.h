// MapRect and Box3: the axis-aligned 2D rectangle (map plane) and 3D box
// (world space) that the map helpers, queries, movement code and the blood
// decals' culling boxes pass around as minimum and maximum corners. A
// default-made bound is empty: minimum +infinity, maximum -infinity, so
// widening it by the first point gives that point. Overlap tests use closed
// intervals: touching counts.
#pragma once

#include <limits>

#include "platform/math/Vector.h"

namespace mirefell
{

struct MapRect
{
    float minX = std::numeric_limits<float>::infinity();
    float minY = std::numeric_limits<float>::infinity();
    float maxX = -std::numeric_limits<float>::infinity();
    float maxY = -std::numeric_limits<float>::infinity();

    constexpr MapRect() = default;
    constexpr MapRect(float minX_, float minY_, float maxX_, float maxY_)
        : minX(minX_), minY(minY_), maxX(maxX_), maxY(maxY_)
    {}

    constexpr void Widen(Vector2 p)
    {
        minX = p.x < minX ? p.x : minX;
        minY = p.y < minY ? p.y : minY;
        maxX = p.x > maxX ? p.x : maxX;
        maxY = p.y > maxY ? p.y : maxY;
    }
    constexpr bool Overlaps(const MapRect& r) const
    {
        return maxX >= r.minX && minX <= r.maxX && maxY >= r.minY && minY <= r.maxY;
    }
    // Every point of this rectangle lies in r (bounds included).
    constexpr bool IsInside(const MapRect& r) const
    {
        return minX >= r.minX && maxX <= r.maxX && minY >= r.minY && maxY <= r.maxY;
    }
    constexpr bool Contains(Vector2 p) const { return p.x >= minX && p.x <= maxX && p.y >= minY && p.y <= maxY; }
    constexpr Vector2 Min() const { return {minX, minY}; }
    constexpr Vector2 Max() const { return {maxX, maxY}; }
    constexpr Vector2 Centre() const { return {(minX + maxX) * 0.5f, (minY + maxY) * 0.5f}; }
    constexpr bool operator==(const MapRect&) const = default;
};

struct Box3
{
    Vector3 min{std::numeric_limits<float>::infinity()};
    Vector3 max{-std::numeric_limits<float>::infinity()};

    constexpr Box3() = default;
    constexpr Box3(const Vector3& min_, const Vector3& max_) : min(min_), max(max_) {}

    constexpr void Widen(const Vector3& p)
    {
        min = Vector3::Min(min, p);
        max = Vector3::Max(max, p);
    }
    constexpr bool Overlaps(const Box3& b) const
    {
        return max.x >= b.min.x && min.x <= b.max.x && max.y >= b.min.y && min.y <= b.max.y && max.z >= b.min.z &&
               min.z <= b.max.z;
    }
    constexpr Vector3 Centre() const { return (min + max) * 0.5f; }
    constexpr Vector3 HalfExtents() const { return (max - min) * 0.5f; }
    constexpr bool operator==(const Box3&) const = default;
};

} // namespace mirefell
