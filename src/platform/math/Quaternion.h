// Quaternion: a rotation as (x, y, z, w) with w the scalar part, composing
// like the matrices: q1 * q2 applies q1 first, then q2.
#pragma once

#include "platform/math/Vector.h"

namespace mirefell
{

struct Quaternion
{
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 1.0f;

    constexpr Quaternion() = default;
    constexpr Quaternion(float x_, float y_, float z_, float w_) : x(x_), y(y_), z(z_), w(w_) {}

    static constexpr Quaternion Identity() { return {}; }
    static Quaternion CreateFromAxisAngle(const Vector3& axis, float radians);
    // Roll about z first, then pitch about x, then yaw about y (as the matrix).
    static Quaternion CreateFromYawPitchRoll(float yaw, float pitch, float roll);
    static Quaternion Slerp(const Quaternion& a, const Quaternion& b, float t);

    // Applies this rotation, then b.
    Quaternion operator*(const Quaternion& b) const;
    constexpr bool operator==(const Quaternion&) const = default;
    constexpr float Dot(const Quaternion& q) const { return x * q.x + y * q.y + z * q.z + w * q.w; }
    Quaternion Normalized() const;
    constexpr Quaternion Conjugate() const { return {-x, -y, -z, w}; }
};

// Rotates v by q.
Vector3 Rotate(const Vector3& v, const Quaternion& q);

} // namespace mirefell
