// HudNumber: the counter, the show rule and the number drawing.
#include "ui/HudNumber.h"

#include <cwchar>

#include "render/Painter.h"
#include "shell/InventoryWindowFlag.h"
#include "ui/HudState.h"

namespace mirefell
{

namespace
{

constexpr int32_t NumberFont = 0; // raised by the font step
constexpr int32_t AlignRight = 3;
constexpr int32_t AlignMiddle = 2;

} // namespace

void HudCounter::Track(float value)
{
    if (value != last) {
        target = value;
        last = value;
    }
}

void HudCounter::Step()
{
    if (displayed < target) {
        displayed += rate;
        if (displayed > target)
            displayed = target;
    }
    if (displayed > target) {
        displayed -= rate;
        if (displayed < target)
            displayed = target;
    }
}

int32_t HudCounter::Shown() const
{
    return static_cast<int32_t>(displayed);
}

bool AreHudNumbersShown(bool visible)
{
    return visible && IsHudShown() && (inventoryWindowOpen || !IsMasochistic());
}

float HudIconSize(const Painter& painter)
{
    return 2.0f * painter.unitSize.x;
}

void DrawHudNumber(Painter& painter, Vector2 iconPosition, float textOffsetX, const std::string& iconName,
                   Color iconColor, int32_t number, Color textColor)
{
    const float unit = painter.unitSize.x;
    const Vector2 iconSize(HudIconSize(painter), HudIconSize(painter));
    painter.DrawTextureShadow(iconPosition, iconSize, iconName, HudIconShadow);
    painter.DrawTexture(iconPosition, iconSize, iconName, iconColor);

    // A fixed buffer: the number is drawn every frame and must not allocate.
    wchar_t text[16];
    std::swprintf(text, 16, L"%d", number);
    const Vector2 textPosition = iconPosition + Vector2(textOffsetX, unit);
    painter.DrawTextShadow(NumberFont, true, textPosition, text, AlignRight);
    painter.DrawText(NumberFont, true, textPosition, text, textColor, AlignRight, AlignMiddle, false);
}

} // namespace mirefell
