// Matrix: a 4x4 row-major float matrix for row vectors. A point transforms as
// v x M, so matrices compose left to right: world x view x projection, and
// the translation sits in the fourth row (m[3][0..2]). Projections are
// right-handed with clip depth 0..1, as the renderer expects; the GPU layer
// is the only place that knows OpenGL thinks otherwise.
#pragma once

#include "platform/math/Vector.h"

namespace mirefell
{

struct Quaternion;

struct Matrix
{
    float m[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};

    constexpr Matrix() = default;
    constexpr Matrix(float m00, float m01, float m02, float m03, float m10, float m11, float m12, float m13, float m20,
                     float m21, float m22, float m23, float m30, float m31, float m32, float m33)
        : m{{m00, m01, m02, m03}, {m10, m11, m12, m13}, {m20, m21, m22, m23}, {m30, m31, m32, m33}}
    {}

    static constexpr Matrix Identity() { return Matrix{}; }

    constexpr Matrix operator*(const Matrix& b) const
    {
        Matrix r;
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 4; ++j)
                r.m[i][j] = m[i][0] * b.m[0][j] + m[i][1] * b.m[1][j] + m[i][2] * b.m[2][j] + m[i][3] * b.m[3][j];
        return r;
    }
    constexpr Matrix& operator*=(const Matrix& b) { return *this = *this * b; }
    constexpr bool operator==(const Matrix&) const = default;

    constexpr Vector3 Translation() const { return {m[3][0], m[3][1], m[3][2]}; }
    constexpr Matrix Transposed() const
    {
        return {m[0][0], m[1][0], m[2][0], m[3][0], m[0][1], m[1][1], m[2][1], m[3][1],
                m[0][2], m[1][2], m[2][2], m[3][2], m[0][3], m[1][3], m[2][3], m[3][3]};
    }
    // The inverse; a singular matrix gives the zero matrix rather than
    // infinities (the caller can test Determinant when it matters).
    Matrix Inverted() const;
    float Determinant() const;

    static constexpr Matrix CreateTranslation(const Vector3& t)
    {
        return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, t.x, t.y, t.z, 1};
    }
    static constexpr Matrix CreateScale(const Vector3& s)
    {
        return {s.x, 0, 0, 0, 0, s.y, 0, 0, 0, 0, s.z, 0, 0, 0, 0, 1};
    }
    static constexpr Matrix CreateScale(float s) { return CreateScale(Vector3(s)); }
    static Matrix CreateRotationX(float radians);
    static Matrix CreateRotationY(float radians);
    static Matrix CreateRotationZ(float radians);
    // Roll about z first, then pitch about x, then yaw about y.
    static Matrix CreateFromYawPitchRoll(float yaw, float pitch, float roll);
    // The same with the angles as (pitch, yaw, roll) in x, y, z.
    static Matrix CreateFromYawPitchRoll(const Vector3& angles)
    {
        return CreateFromYawPitchRoll(angles.y, angles.x, angles.z);
    }
    static Matrix CreateFromQuaternion(const Quaternion& q);
    static Matrix CreateFromAxisAngle(const Vector3& axis, float radians);

    // Right-handed view matrix: the camera at eye looks at target.
    static Matrix CreateLookAt(const Vector3& eye, const Vector3& target, const Vector3& up);
    // Right-handed perspective with depth 0 at the near plane and 1 at the far.
    static Matrix CreatePerspectiveFieldOfView(float fovY, float aspect, float nearZ, float farZ);
    // Right-handed orthographic projection of the box left..right, bottom..top.
    static Matrix CreateOrthographicOffCenter(float left, float right, float bottom, float top, float nearZ,
                                              float farZ);
};

// v x M with w = 1, divided by the resulting w (a point).
inline Vector3 TransformPoint(const Vector3& v, const Matrix& a)
{
    const float x = v.x * a.m[0][0] + v.y * a.m[1][0] + v.z * a.m[2][0] + a.m[3][0];
    const float y = v.x * a.m[0][1] + v.y * a.m[1][1] + v.z * a.m[2][1] + a.m[3][1];
    const float z = v.x * a.m[0][2] + v.y * a.m[1][2] + v.z * a.m[2][2] + a.m[3][2];
    const float w = v.x * a.m[0][3] + v.y * a.m[1][3] + v.z * a.m[2][3] + a.m[3][3];
    return w != 1.0f && w != 0.0f ? Vector3{x / w, y / w, z / w} : Vector3{x, y, z};
}

// v x M with w = 0 (a direction: translation does not apply).
inline constexpr Vector3 TransformNormal(const Vector3& v, const Matrix& a)
{
    return {v.x * a.m[0][0] + v.y * a.m[1][0] + v.z * a.m[2][0], v.x * a.m[0][1] + v.y * a.m[1][1] + v.z * a.m[2][1],
            v.x * a.m[0][2] + v.y * a.m[1][2] + v.z * a.m[2][2]};
}

inline constexpr Vector4 Transform(const Vector4& v, const Matrix& a)
{
    return {v.x * a.m[0][0] + v.y * a.m[1][0] + v.z * a.m[2][0] + v.w * a.m[3][0],
            v.x * a.m[0][1] + v.y * a.m[1][1] + v.z * a.m[2][1] + v.w * a.m[3][1],
            v.x * a.m[0][2] + v.y * a.m[1][2] + v.z * a.m[2][2] + v.w * a.m[3][2],
            v.x * a.m[0][3] + v.y * a.m[1][3] + v.z * a.m[2][3] + v.w * a.m[3][3]};
}

} // namespace mirefell
