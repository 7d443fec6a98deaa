// Out-of-line math: rotations, projections, inversion and colour packing.
#include "platform/math/Math.h"

#include <algorithm>
#include <cmath>

namespace mirefell
{

Matrix Matrix::CreateRotationX(float radians)
{
    const float s = std::sin(radians), c = std::cos(radians);
    return {1, 0, 0, 0, 0, c, s, 0, 0, -s, c, 0, 0, 0, 0, 1};
}

Matrix Matrix::CreateRotationY(float radians)
{
    const float s = std::sin(radians), c = std::cos(radians);
    return {c, 0, -s, 0, 0, 1, 0, 0, s, 0, c, 0, 0, 0, 0, 1};
}

Matrix Matrix::CreateRotationZ(float radians)
{
    const float s = std::sin(radians), c = std::cos(radians);
    return {c, s, 0, 0, -s, c, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
}

Matrix Matrix::CreateFromYawPitchRoll(float yaw, float pitch, float roll)
{
    return CreateRotationZ(roll) * CreateRotationX(pitch) * CreateRotationY(yaw);
}

Matrix Matrix::CreateFromQuaternion(const Quaternion& q)
{
    const float xx = q.x * q.x, yy = q.y * q.y, zz = q.z * q.z;
    const float xy = q.x * q.y, xz = q.x * q.z, yz = q.y * q.z;
    const float wx = q.w * q.x, wy = q.w * q.y, wz = q.w * q.z;
    // The transpose of the column-vector rotation matrix, since points are rows.
    return {1 - 2 * (yy + zz),
            2 * (xy + wz),
            2 * (xz - wy),
            0,
            2 * (xy - wz),
            1 - 2 * (xx + zz),
            2 * (yz + wx),
            0,
            2 * (xz + wy),
            2 * (yz - wx),
            1 - 2 * (xx + yy),
            0,
            0,
            0,
            0,
            1};
}

Matrix Matrix::CreateFromAxisAngle(const Vector3& axis, float radians)
{
    return CreateFromQuaternion(Quaternion::CreateFromAxisAngle(axis, radians));
}

Matrix Matrix::CreateLookAt(const Vector3& eye, const Vector3& target, const Vector3& up)
{
    const Vector3 zAxis = (eye - target).Normalized();
    const Vector3 xAxis = up.Cross(zAxis).Normalized();
    const Vector3 yAxis = zAxis.Cross(xAxis);
    return {xAxis.x, yAxis.x, zAxis.x, 0, xAxis.y,         yAxis.y,         zAxis.y,         0,
            xAxis.z, yAxis.z, zAxis.z, 0, -xAxis.Dot(eye), -yAxis.Dot(eye), -zAxis.Dot(eye), 1};
}

Matrix Matrix::CreatePerspectiveFieldOfView(float fovY, float aspect, float nearZ, float farZ)
{
    const float height = std::cos(0.5f * fovY) / std::sin(0.5f * fovY);
    const float width = height / aspect;
    const float range = farZ / (nearZ - farZ);
    return {width, 0, 0, 0, 0, height, 0, 0, 0, 0, range, -1, 0, 0, range * nearZ, 0};
}

Matrix Matrix::CreateOrthographicOffCenter(float left, float right, float bottom, float top, float nearZ, float farZ)
{
    const float reciprocalWidth = 1.0f / (right - left);
    const float reciprocalHeight = 1.0f / (top - bottom);
    const float range = 1.0f / (nearZ - farZ);
    return {2 * reciprocalWidth,
            0,
            0,
            0,
            0,
            2 * reciprocalHeight,
            0,
            0,
            0,
            0,
            range,
            0,
            -(left + right) * reciprocalWidth,
            -(top + bottom) * reciprocalHeight,
            range * nearZ,
            1};
}

float Matrix::Determinant() const
{
    const auto& a = m;
    const float s0 = a[0][0] * a[1][1] - a[1][0] * a[0][1];
    const float s1 = a[0][0] * a[1][2] - a[1][0] * a[0][2];
    const float s2 = a[0][0] * a[1][3] - a[1][0] * a[0][3];
    const float s3 = a[0][1] * a[1][2] - a[1][1] * a[0][2];
    const float s4 = a[0][1] * a[1][3] - a[1][1] * a[0][3];
    const float s5 = a[0][2] * a[1][3] - a[1][2] * a[0][3];
    const float c5 = a[2][2] * a[3][3] - a[3][2] * a[2][3];
    const float c4 = a[2][1] * a[3][3] - a[3][1] * a[2][3];
    const float c3 = a[2][1] * a[3][2] - a[3][1] * a[2][2];
    const float c2 = a[2][0] * a[3][3] - a[3][0] * a[2][3];
    const float c1 = a[2][0] * a[3][2] - a[3][0] * a[2][2];
    const float c0 = a[2][0] * a[3][1] - a[3][0] * a[2][1];
    return s0 * c5 - s1 * c4 + s2 * c3 + s3 * c2 - s4 * c1 + s5 * c0;
}

Matrix Matrix::Inverted() const
{
    const auto& a = m;
    const float s0 = a[0][0] * a[1][1] - a[1][0] * a[0][1];
    const float s1 = a[0][0] * a[1][2] - a[1][0] * a[0][2];
    const float s2 = a[0][0] * a[1][3] - a[1][0] * a[0][3];
    const float s3 = a[0][1] * a[1][2] - a[1][1] * a[0][2];
    const float s4 = a[0][1] * a[1][3] - a[1][1] * a[0][3];
    const float s5 = a[0][2] * a[1][3] - a[1][2] * a[0][3];
    const float c5 = a[2][2] * a[3][3] - a[3][2] * a[2][3];
    const float c4 = a[2][1] * a[3][3] - a[3][1] * a[2][3];
    const float c3 = a[2][1] * a[3][2] - a[3][1] * a[2][2];
    const float c2 = a[2][0] * a[3][3] - a[3][0] * a[2][3];
    const float c1 = a[2][0] * a[3][2] - a[3][0] * a[2][2];
    const float c0 = a[2][0] * a[3][1] - a[3][0] * a[2][1];
    const float det = s0 * c5 - s1 * c4 + s2 * c3 + s3 * c2 - s4 * c1 + s5 * c0;
    if (det == 0.0f || !std::isfinite(det))
        return Matrix{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    const float k = 1.0f / det;
    Matrix r;
    r.m[0][0] = (a[1][1] * c5 - a[1][2] * c4 + a[1][3] * c3) * k;
    r.m[0][1] = (-a[0][1] * c5 + a[0][2] * c4 - a[0][3] * c3) * k;
    r.m[0][2] = (a[3][1] * s5 - a[3][2] * s4 + a[3][3] * s3) * k;
    r.m[0][3] = (-a[2][1] * s5 + a[2][2] * s4 - a[2][3] * s3) * k;
    r.m[1][0] = (-a[1][0] * c5 + a[1][2] * c2 - a[1][3] * c1) * k;
    r.m[1][1] = (a[0][0] * c5 - a[0][2] * c2 + a[0][3] * c1) * k;
    r.m[1][2] = (-a[3][0] * s5 + a[3][2] * s2 - a[3][3] * s1) * k;
    r.m[1][3] = (a[2][0] * s5 - a[2][2] * s2 + a[2][3] * s1) * k;
    r.m[2][0] = (a[1][0] * c4 - a[1][1] * c2 + a[1][3] * c0) * k;
    r.m[2][1] = (-a[0][0] * c4 + a[0][1] * c2 - a[0][3] * c0) * k;
    r.m[2][2] = (a[3][0] * s4 - a[3][1] * s2 + a[3][3] * s0) * k;
    r.m[2][3] = (-a[2][0] * s4 + a[2][1] * s2 - a[2][3] * s0) * k;
    r.m[3][0] = (-a[1][0] * c3 + a[1][1] * c1 - a[1][2] * c0) * k;
    r.m[3][1] = (a[0][0] * c3 - a[0][1] * c1 + a[0][2] * c0) * k;
    r.m[3][2] = (-a[3][0] * s3 + a[3][1] * s1 - a[3][2] * s0) * k;
    r.m[3][3] = (a[2][0] * s3 - a[2][1] * s1 + a[2][2] * s0) * k;
    return r;
}

Quaternion Quaternion::CreateFromAxisAngle(const Vector3& axis, float radians)
{
    const Vector3 n = axis.Normalized() * std::sin(0.5f * radians);
    return {n.x, n.y, n.z, std::cos(0.5f * radians)};
}

Quaternion Quaternion::CreateFromYawPitchRoll(float yaw, float pitch, float roll)
{
    return CreateFromAxisAngle({0, 0, 1}, roll) * CreateFromAxisAngle({1, 0, 0}, pitch) *
           CreateFromAxisAngle({0, 1, 0}, yaw);
}

Quaternion Quaternion::operator*(const Quaternion& b) const
{
    // Hamilton product b (x) this: this rotation is applied first.
    const Quaternion& a = *this;
    return {b.w * a.x + b.x * a.w + b.y * a.z - b.z * a.y, b.w * a.y - b.x * a.z + b.y * a.w + b.z * a.x,
            b.w * a.z + b.x * a.y - b.y * a.x + b.z * a.w, b.w * a.w - b.x * a.x - b.y * a.y - b.z * a.z};
}

Quaternion Quaternion::Normalized() const
{
    const float length = std::sqrt(Dot(*this));
    return length > 0.0f ? Quaternion{x / length, y / length, z / length, w / length} : Quaternion{0, 0, 0, 0};
}

Quaternion Quaternion::Slerp(const Quaternion& a, const Quaternion& b, float t)
{
    float cosOmega = a.Dot(b);
    Quaternion end = b;
    if (cosOmega < 0.0f) {
        cosOmega = -cosOmega;
        end = {-b.x, -b.y, -b.z, -b.w};
    }
    float k0, k1;
    if (cosOmega > 0.9999f) {
        k0 = 1.0f - t;
        k1 = t;
    } else {
        const float omega = std::acos(cosOmega);
        const float sinOmega = std::sin(omega);
        k0 = std::sin((1.0f - t) * omega) / sinOmega;
        k1 = std::sin(t * omega) / sinOmega;
    }
    return Quaternion{a.x * k0 + end.x * k1, a.y * k0 + end.y * k1, a.z * k0 + end.z * k1, a.w * k0 + end.w * k1}
        .Normalized();
}

Vector3 Rotate(const Vector3& v, const Quaternion& q)
{
    // v' = v + 2w (u x v) + 2 u x (u x v), u the vector part.
    const Vector3 u{q.x, q.y, q.z};
    const Vector3 t = u.Cross(v) * 2.0f;
    return v + t * q.w + u.Cross(t);
}

namespace
{
uint32_t ToByte(float value)
{
    // NaN saturates to 0 like any value below the range.
    const float saturated = value > 0.0f ? (value < 1.0f ? value : 1.0f) : 0.0f;
    return static_cast<uint32_t>(std::lround(saturated * 255.0f));
}
} // namespace

uint32_t Color::ToRGBA() const
{
    return ToByte(r) | (ToByte(g) << 8) | (ToByte(b) << 16) | (ToByte(a) << 24);
}

uint32_t Color::ToARGB() const
{
    return ToByte(b) | (ToByte(g) << 8) | (ToByte(r) << 16) | (ToByte(a) << 24);
}

Color Color::FromARGB(uint32_t argb)
{
    return {static_cast<float>((argb >> 16) & 0xFF) / 255.0f, static_cast<float>((argb >> 8) & 0xFF) / 255.0f,
            static_cast<float>(argb & 0xFF) / 255.0f, static_cast<float>((argb >> 24) & 0xFF) / 255.0f};
}

} // namespace mirefell
