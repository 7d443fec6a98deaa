// InventoryModeButton: a small clickable text of the inventory window (the
// page buttons "<" and ">"). Its text comes from the text provider when one
// is set, else from `text`; its disabled and selected states from the two
// predicates, asked at every update and draw. A press acts once: in the
// first update in which the left button is down over it and the input's
// click latch is clear, it calls onClick and sets the latch. A disabled
// button is never hovered and never clicked, and draws its text grey.
//
// Its owner places it (position and size) before every update.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "ui/BaseUIComponent.h"

namespace mirefell
{

class InventoryModeButton : public BaseUIComponent
{
public:
    explicit InventoryModeButton(Painter* painter_);
    ~InventoryModeButton() override;

    void Update() override;
    // The hover fill (or the selected fill), then the text centred on the
    // vertical middle, anchored by the alignment, with an outline.
    void Draw() override;
    Vector2 GetPosition() override { return position; }
    Vector2 GetSize() override { return size; }

    std::wstring text;
    std::function<std::wstring()> textProvider;
    std::function<void()> onClick;
    std::function<bool()> isDisabled;
    std::function<bool()> isSelected;
    uint32_t fontSizeId = 0;
    bool scaled = true;    // the painter adds its font step
    int32_t alignment = 2; // 1 left, 2 centred, 3 right
    float textOffsetX = 0.0f;
    Vector2 position;
    Vector2 size;

private:
    bool IsDisabled() const { return isDisabled && isDisabled(); }
};

} // namespace mirefell
