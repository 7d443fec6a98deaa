// Map colours to linear light.
#include "world/MapColour.h"

#include <algorithm>
#include <cmath>

#include "world/MapData.h"

namespace mirefell
{

float SectorLight(int32_t lightLevel)
{
    const float level = static_cast<float>(lightLevel) * 0.1f;
    return std::clamp(level * level, 0.25f, 0.75f);
}

Vector4 LitMapColour(uint32_t packed, float light)
{
    const auto channel = [&](int shift) { return static_cast<float>((packed >> shift) & 0xFFu) / 255.0f * light; };
    return {std::pow(channel(16), 2.2f), std::pow(channel(8), 2.2f), std::pow(channel(0), 2.2f), channel(24)};
}

Vector4 SectorColour(const MapSector& sector)
{
    return LitMapColour(sector.lightColor, SectorLight(sector.lightLevel));
}

} // namespace mirefell
