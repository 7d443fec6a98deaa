// InventoryModeLabel: a text of the inventory window that is never clicked
// (the page label). Its text comes from the text provider when one is set,
// else from `text`; it is drawn white with an outline, centred on the
// vertical middle of its rectangle and anchored by the alignment. Its owner
// places it before every update; its own update does nothing.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "ui/BaseUIComponent.h"

namespace mirefell
{

class InventoryModeLabel : public BaseUIComponent
{
public:
    explicit InventoryModeLabel(Painter* painter_);
    ~InventoryModeLabel() override;

    void Update() override {}
    void Draw() override;
    Vector2 GetPosition() override { return position; }
    Vector2 GetSize() override { return size; }

    std::wstring text;
    std::function<std::wstring()> textProvider;
    uint32_t fontSizeId = 0;
    bool scaled = true;    // the painter adds its font step
    int32_t alignment = 2; // 1 left, 2 centred, 3 right
    Vector2 position;
    Vector2 size;
};

// The point a text of the rectangle is drawn at: its vertical middle, and
// horizontally its left edge (alignment 1), right edge (3) or centre.
Vector2 InventoryTextAnchor(Vector2 position, Vector2 size, int32_t alignment);

} // namespace mirefell
