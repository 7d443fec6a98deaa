// Vector2, Vector3 and Vector4: plain 32-bit float vectors with Y up and
// right-handed coordinates. They are value types with public x, y, z, w; every
// operation is inline so the per-step movement and culling code stays in
// registers. Normalising a zero-length vector gives the zero vector, never
// NaN: callers rely on that for standing-still directions.
#pragma once

#include <cmath>

namespace mirefell
{

inline constexpr float Pi = 3.14159265f;
inline constexpr float TwoPi = 6.28318531f;
inline constexpr float HalfPi = 1.57079637f;

struct Vector2
{
    float x = 0.0f;
    float y = 0.0f;

    constexpr Vector2() = default;
    constexpr Vector2(float x_, float y_) : x(x_), y(y_) {}

    constexpr Vector2 operator+(Vector2 v) const { return {x + v.x, y + v.y}; }
    constexpr Vector2 operator-(Vector2 v) const { return {x - v.x, y - v.y}; }
    constexpr Vector2 operator-() const { return {-x, -y}; }
    constexpr Vector2 operator*(float s) const { return {x * s, y * s}; }
    constexpr Vector2 operator/(float s) const { return {x / s, y / s}; }
    constexpr Vector2& operator+=(Vector2 v)
    {
        x += v.x;
        y += v.y;
        return *this;
    }
    constexpr Vector2& operator-=(Vector2 v)
    {
        x -= v.x;
        y -= v.y;
        return *this;
    }
    constexpr Vector2& operator*=(float s)
    {
        x *= s;
        y *= s;
        return *this;
    }
    constexpr bool operator==(const Vector2&) const = default;

    constexpr float Dot(Vector2 v) const { return x * v.x + y * v.y; }
    // z of the 3D cross product of (x, y, 0) and (v.x, v.y, 0).
    constexpr float Cross(Vector2 v) const { return x * v.y - y * v.x; }
    constexpr float LengthSquared() const { return Dot(*this); }
    float Length() const { return std::sqrt(LengthSquared()); }
    Vector2 Normalized() const
    {
        const float length = Length();
        return length > 0.0f ? *this / length : Vector2{};
    }
    void Normalize() { *this = Normalized(); }

    static float Distance(Vector2 a, Vector2 b) { return (a - b).Length(); }
};

constexpr Vector2 operator*(float s, Vector2 v)
{
    return v * s;
}

struct Vector3
{
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    constexpr Vector3() = default;
    constexpr Vector3(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}
    explicit constexpr Vector3(float s) : x(s), y(s), z(s) {}

    constexpr Vector3 operator+(const Vector3& v) const { return {x + v.x, y + v.y, z + v.z}; }
    constexpr Vector3 operator-(const Vector3& v) const { return {x - v.x, y - v.y, z - v.z}; }
    constexpr Vector3 operator-() const { return {-x, -y, -z}; }
    constexpr Vector3 operator*(float s) const { return {x * s, y * s, z * s}; }
    constexpr Vector3 operator*(const Vector3& v) const { return {x * v.x, y * v.y, z * v.z}; }
    constexpr Vector3 operator/(float s) const { return {x / s, y / s, z / s}; }
    constexpr Vector3& operator+=(const Vector3& v)
    {
        x += v.x;
        y += v.y;
        z += v.z;
        return *this;
    }
    constexpr Vector3& operator-=(const Vector3& v)
    {
        x -= v.x;
        y -= v.y;
        z -= v.z;
        return *this;
    }
    constexpr Vector3& operator*=(float s)
    {
        x *= s;
        y *= s;
        z *= s;
        return *this;
    }
    constexpr Vector3& operator/=(float s)
    {
        x /= s;
        y /= s;
        z /= s;
        return *this;
    }
    constexpr bool operator==(const Vector3&) const = default;

    constexpr float Dot(const Vector3& v) const { return x * v.x + y * v.y + z * v.z; }
    constexpr Vector3 Cross(const Vector3& v) const
    {
        return {y * v.z - z * v.y, z * v.x - x * v.z, x * v.y - y * v.x};
    }
    constexpr float LengthSquared() const { return Dot(*this); }
    float Length() const { return std::sqrt(LengthSquared()); }
    Vector3 Normalized() const
    {
        const float length = Length();
        return length > 0.0f ? *this / length : Vector3{};
    }
    void Normalize() { *this = Normalized(); }

    static float Distance(const Vector3& a, const Vector3& b) { return (a - b).Length(); }
    static constexpr float DistanceSquared(const Vector3& a, const Vector3& b) { return (a - b).LengthSquared(); }
    static constexpr Vector3 Lerp(const Vector3& a, const Vector3& b, float t) { return a + (b - a) * t; }
    static constexpr Vector3 Min(const Vector3& a, const Vector3& b)
    {
        return {a.x < b.x ? a.x : b.x, a.y < b.y ? a.y : b.y, a.z < b.z ? a.z : b.z};
    }
    static constexpr Vector3 Max(const Vector3& a, const Vector3& b)
    {
        return {a.x > b.x ? a.x : b.x, a.y > b.y ? a.y : b.y, a.z > b.z ? a.z : b.z};
    }

    static constexpr Vector3 Zero() { return {0.0f, 0.0f, 0.0f}; }
    static constexpr Vector3 One() { return {1.0f, 1.0f, 1.0f}; }
    static constexpr Vector3 Up() { return {0.0f, 1.0f, 0.0f}; }
    // Right-handed: forward is -z.
    static constexpr Vector3 Forward() { return {0.0f, 0.0f, -1.0f}; }
    static constexpr Vector3 Right() { return {1.0f, 0.0f, 0.0f}; }
};

constexpr Vector3 operator*(float s, const Vector3& v)
{
    return v * s;
}

struct Vector4
{
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 0.0f;

    constexpr Vector4() = default;
    constexpr Vector4(float x_, float y_, float z_, float w_) : x(x_), y(y_), z(z_), w(w_) {}
    constexpr Vector4(const Vector3& v, float w_) : x(v.x), y(v.y), z(v.z), w(w_) {}

    constexpr Vector4 operator+(const Vector4& v) const { return {x + v.x, y + v.y, z + v.z, w + v.w}; }
    constexpr Vector4 operator-(const Vector4& v) const { return {x - v.x, y - v.y, z - v.z, w - v.w}; }
    constexpr Vector4 operator*(float s) const { return {x * s, y * s, z * s, w * s}; }
    constexpr Vector4 operator/(float s) const { return {x / s, y / s, z / s, w / s}; }
    constexpr bool operator==(const Vector4&) const = default;

    constexpr Vector3 XYZ() const { return {x, y, z}; }
    constexpr float Dot(const Vector4& v) const { return x * v.x + y * v.y + z * v.z + w * v.w; }
    float Length() const { return std::sqrt(Dot(*this)); }
    Vector4 Normalized() const
    {
        const float length = Length();
        return length > 0.0f ? *this / length : Vector4{};
    }
};

constexpr float ToRadians(float degrees)
{
    return degrees * (Pi / 180.0f);
}
constexpr float ToDegrees(float radians)
{
    return radians * (180.0f / Pi);
}

} // namespace mirefell
