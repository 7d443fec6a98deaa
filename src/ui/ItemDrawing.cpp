// ItemDrawing: the icon, the equipped marker and the ammunition strip.
#include "ui/ItemDrawing.h"

#include <cwchar>
#include <iterator>
#include <string>

#include "gameplay/Item.h"
#include "render/Painter.h"

namespace mirefell
{

namespace
{

constexpr Color White{1.0f, 1.0f, 1.0f, 1.0f};
constexpr Color Black{0.0f, 0.0f, 0.0f, 1.0f};
constexpr float BarLength = 16.0f;
constexpr float BarThickness = 4.0f;
constexpr float StripHeight = 20.0f;
constexpr int32_t AlignStart = 1;

Vector2 ItemSize(const Painter& painter, const Item& item)
{
    const float unit = painter.unitSize.x;
    return {static_cast<float>(item.width) * unit, static_cast<float>(item.height) * unit};
}

} // namespace

void DrawItemIcon(Painter& painter, Vector2 position, const Item& item)
{
    static const std::string placeholder = "item_placeholder";
    const std::string& icon = item.textureId.empty() ? placeholder : item.textureId;
    painter.DrawTexture(position, ItemSize(painter, item), icon, White);
}

void DrawEquippedMarker(Painter& painter, Vector2 position, const Item& item)
{
    const Vector2 size = ItemSize(painter, item);
    const float a = size.x;
    const float b = size.y;
    const Vector2 upright{BarThickness, BarLength};
    const Vector2 flat{BarLength, BarThickness};
    // Per corner: the upright bar's offset, then the flat bar's.
    const Vector2 offsets[4][2] = {
        {{0.0f, 0.0f}, {0.0f, 0.0f}},
        {{a - 8.0f, 0.0f}, {a - 20.0f, 0.0f}},
        {{a - 8.0f, b - 20.0f}, {a - 20.0f, b - 8.0f}},
        {{0.0f, b - 20.0f}, {0.0f, b - 8.0f}},
    };
    for (const auto& corner : offsets) {
        painter.FillRectangle(position + corner[0], upright, White);
        painter.FillRectangle(position + corner[1], flat, White);
    }
}

void DrawAmmoCount(Painter& painter, Vector2 position, const Item& item, int32_t count)
{
    wchar_t text[16];
    std::swprintf(text, std::size(text), L"%d", count);
    const float width = painter.smallFont->MeasureString(text).x;
    const float top = position.y + ItemSize(painter, item).y - StripHeight;
    painter.FillRectangle({position.x, top}, {width + 9.0f, StripHeight}, Black);
    painter.DrawSmallText({position.x + 3.0f, top}, text, White, AlignStart);
}

} // namespace mirefell
