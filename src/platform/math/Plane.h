// Plane: the points p with normal . p + d = 0. Normalising scales normal and d
// by 1 / |normal|; a zero normal gives the zero plane.
#pragma once

#include "platform/math/Vector.h"

namespace mirefell
{

struct Plane
{
    Vector3 normal;
    float d = 0.0f;

    constexpr Plane() = default;
    constexpr Plane(float a, float b, float c, float d_) : normal(a, b, c), d(d_) {}
    constexpr Plane(const Vector3& normal_, float d_) : normal(normal_), d(d_) {}
    static Plane FromPointNormal(const Vector3& point, const Vector3& normal) { return {normal, -normal.Dot(point)}; }

    Plane Normalized() const
    {
        const float length = normal.Length();
        return length > 0.0f ? Plane{normal / length, d / length} : Plane{};
    }
    void Normalize() { *this = Normalized(); }
    constexpr float DotCoordinate(const Vector3& p) const { return normal.Dot(p) + d; }
    constexpr bool operator==(const Plane&) const = default;
};

} // namespace mirefell
