// SettingRanges: the range each options page steps its setting within: a
// click adds the step, then clamps to the range. The settings file keeps a
// value beyond it as the player wrote it; only a value that would make a
// fault is held, at the limit of its range on the side it lies (Config).
#pragma once

#include <algorithm>
#include <cstdint>

namespace mirefell
{

template <class T> struct SettingRange
{
    T lowest;
    T highest;

    constexpr T Clamp(T value) const { return std::clamp(value, lowest, highest); }
    constexpr bool Contains(T value) const { return value >= lowest && value <= highest; }
};

inline constexpr SettingRange<float> FovRange{60.0f, 120.0f};         // degrees
inline constexpr SettingRange<float> NoiseIntensityRange{0.0f, 1.0f}; // no page: only holds a noise not finite
inline constexpr SettingRange<float> BrightnessRange{0.0f, 0.05f};
inline constexpr SettingRange<float> ContrastRange{1.0f, 1.05f};
inline constexpr SettingRange<int32_t> BloodDecalsRange{0, 2000};
inline constexpr SettingRange<float> MouseSensitivityRange{0.05f, 4.0f};
inline constexpr SettingRange<int32_t> SsaoRange{-1, 3}; // -1 off (any negative value means off), 0 to 3 quality
inline constexpr SettingRange<float> VolumeRange{0.0f, 1.0f};

} // namespace mirefell
