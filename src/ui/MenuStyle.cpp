// MenuStyle: the colours computed at start-up.
#include "ui/MenuStyle.h"

#include <cmath>

namespace mirefell
{

namespace
{
constexpr float DisplayGamma = 2.2f;
const float GreyLevel = std::pow(0.25f, DisplayGamma);
const Color DisabledGrey{GreyLevel, GreyLevel, GreyLevel, 1.0f};
} // namespace

const Color& MenuDisabledGrey()
{
    return DisabledGrey;
}

Color MenuPulseColour(float pulseTime)
{
    const float p = std::pow((std::sin(pulseTime) + 1.0f) * 0.5f, DisplayGamma);
    return Color(std::pow(1.0f, DisplayGamma), p, p, 1.0f);
}

float MenuTextX(float margin, Vector2 position, Vector2 size, int32_t alignment)
{
    if (alignment == MenuAlignLeft)
        return position.x + margin;
    if (alignment == MenuAlignRight)
        return position.x + size.x - margin;
    return position.x + size.x * 0.5f;
}

} // namespace mirefell
