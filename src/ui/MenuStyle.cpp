// MenuStyle: the colours computed at start-up.
#include "ui/MenuStyle.h"

#include <algorithm>
#include <cmath>

#include "render/Painter.h"

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

float MenuTextRoom(float margin, Vector2 size, int32_t alignment)
{
    return alignment == MenuAlignLeft || alignment == MenuAlignRight ? size.x - margin : size.x;
}

float MenuTextRoomInSpan(float x, int32_t alignment, TextSpan span)
{
    if (alignment == MenuAlignLeft)
        return span.right - x;
    if (alignment == MenuAlignRight)
        return x - span.left;
    return 2.0f * std::min(x - span.left, span.right - x);
}

int32_t MenuFont(Painter& painter, int32_t textSize, bool scaleText, const wchar_t* text, float room, float rowHeight)
{
    int32_t font = scaleText ? std::min(textSize + painter.fontStep, Painter::FontCount - 1) : textSize;
    for (; font > 0; --font) {
        if (painter.GetLineHeight(font) <= rowHeight &&
            painter.fonts[static_cast<size_t>(font)]->MeasureString(text).x <= room)
            break;
    }
    return font;
}

} // namespace mirefell
