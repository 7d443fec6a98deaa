// Color: four float channels (r, g, b, a), usually in linear light. The
// packing helpers saturate each channel to 0..1 and round it to a byte.
#pragma once

#include <cstdint>

#include "platform/math/Vector.h"

namespace mirefell
{

struct Color
{
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float a = 1.0f;

    constexpr Color() = default;
    constexpr Color(float r_, float g_, float b_, float a_ = 1.0f) : r(r_), g(g_), b(b_), a(a_) {}
    explicit constexpr Color(const Vector4& v) : r(v.x), g(v.y), b(v.z), a(v.w) {}

    constexpr Vector4 ToVector4() const { return {r, g, b, a}; }
    constexpr Vector3 ToVector3() const { return {r, g, b}; }
    constexpr bool operator==(const Color&) const = default;
    constexpr Color operator*(float s) const { return {r * s, g * s, b * s, a * s}; }

    // Bytes in memory order r, g, b, a (r in the lowest byte of the result).
    uint32_t ToRGBA() const;
    // The 0xAARRGGBB word of Windows colours and the maps.
    uint32_t ToARGB() const;
    // Unpacks 0xAARRGGBB to (R, G, B, A) / 255.
    static Color FromARGB(uint32_t argb);
};

} // namespace mirefell
