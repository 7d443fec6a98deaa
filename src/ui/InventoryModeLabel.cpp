// InventoryModeLabel: the label's drawing and the anchor rule it shares with
// the buttons.
#include "ui/InventoryModeLabel.h"

#include "render/Painter.h"

namespace mirefell
{

namespace
{

constexpr Color White{1.0f, 1.0f, 1.0f, 1.0f};
constexpr int32_t AlignStart = 1;
constexpr int32_t AlignEnd = 3;
constexpr int32_t AlignMiddle = 2;

} // namespace

Vector2 InventoryTextAnchor(Vector2 position, Vector2 size, int32_t alignment)
{
    float x = position.x + size.x / 2.0f;
    if (alignment == AlignStart)
        x = position.x;
    else if (alignment == AlignEnd)
        x = position.x + size.x;
    return {x, position.y + size.y / 2.0f};
}

InventoryModeLabel::InventoryModeLabel(Painter* painter_) : BaseUIComponent(painter_) {}

InventoryModeLabel::~InventoryModeLabel() = default;

void InventoryModeLabel::Draw()
{
    if (!visible)
        return;
    const std::wstring shown = textProvider ? textProvider() : text;
    painter->DrawText(static_cast<int32_t>(fontSizeId), scaled, InventoryTextAnchor(position, size, alignment),
                      shown.c_str(), White, alignment, AlignMiddle, true);
}

} // namespace mirefell
