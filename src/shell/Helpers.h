// Small shared helpers of the shell: number and duration text for the user
// interface, and the facing test the monsters use.
#pragma once

#include <cstdint>
#include <string>

#include "platform/math/Vector.h"

namespace mirefell
{

// The value in fixed notation with `precision` digits after the point.
std::wstring FloatToWString(float value, int precision);
// Puts "0" in front until the text has two characters.
std::wstring PadTwoDigits(std::wstring text);
// Seconds as hours:minutes:seconds, each at least two digits; hours are not
// limited (360000 gives 100:00:00).
std::wstring FormatTime(int32_t seconds);
// Whether `point` lies in front of `origin` for a viewer facing
// (sin(angle), cos(angle)) in the x-z plane; a point exactly beside the
// origin is not in front.
bool IsPointInFront(float angle, const Vector3& origin, const Vector3& point);

} // namespace mirefell
