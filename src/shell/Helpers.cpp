#include "shell/Helpers.h"

#include <cmath>
#include <iomanip>
#include <sstream>

namespace mirefell
{

std::wstring FloatToWString(float value, int precision)
{
    std::wostringstream text;
    text << std::fixed << std::setprecision(precision) << value;
    return text.str();
}

std::wstring PadTwoDigits(std::wstring text)
{
    while (text.size() < 2)
        text.insert(text.begin(), L'0');
    return text;
}

std::wstring FormatTime(int32_t seconds)
{
    const int32_t hours = seconds / 3600;
    const int32_t minutes = (seconds - hours * 3600) / 60;
    const int32_t secs = seconds - (seconds / 60) * 60;
    return PadTwoDigits(std::to_wstring(hours)) + L":" + PadTwoDigits(std::to_wstring(minutes)) + L":" +
           PadTwoDigits(std::to_wstring(secs));
}

bool IsPointInFront(float angle, const Vector3& origin, const Vector3& point)
{
    constexpr float halfPi = 1.5707964f;
    const float ax = origin.x + std::sin(angle - halfPi);
    const float az = origin.z + std::cos(angle - halfPi);
    const float bx = origin.x + std::sin(angle + halfPi);
    const float bz = origin.z + std::cos(angle + halfPi);
    return (bx - ax) * (point.z - az) - (bz - az) * (point.x - ax) > 0.0f;
}

} // namespace mirefell
