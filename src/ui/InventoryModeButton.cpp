// InventoryModeButton: the press latch and the drawing of a page button.
#include "ui/InventoryModeButton.h"

#include "render/Painter.h"
#include "shell/Input.h"
#include "ui/InventoryModeLabel.h"

namespace mirefell
{

namespace
{

constexpr Color White{1.0f, 1.0f, 1.0f, 1.0f};
constexpr Color DisabledGrey{0.047366f, 0.047366f, 0.047366f, 1.0f}; // display 0.25
constexpr Color HoverFill{0.010309f, 0.047366f, 0.217638f, 1.0f};    // display (0.125, 0.25, 0.5)
constexpr Color SelectedFill{0.0f, 0.0f, 0.0f, 0.75f};
constexpr int32_t AlignMiddle = 2;

} // namespace

InventoryModeButton::InventoryModeButton(Painter* painter_) : BaseUIComponent(painter_) {}

InventoryModeButton::~InventoryModeButton() = default;

void InventoryModeButton::Update()
{
    if (!visible)
        return;
    if (IsDisabled()) {
        hovered = false;
        return;
    }
    Input& input = Input::GetInstance();
    hovered = HitTestMouse(input.mouseState);
    if (hovered && input.mouseState.leftButton && !input.clickConsumed && onClick) {
        onClick();
        input.clickConsumed = true;
    }
}

void InventoryModeButton::Draw()
{
    if (!visible)
        return;
    if (hovered)
        painter->FillRectangle(position, size, HoverFill);
    else if (isSelected && isSelected())
        painter->FillRectangle(position, size, SelectedFill);
    Vector2 anchor = InventoryTextAnchor(position, size, alignment);
    anchor.x += textOffsetX;
    const std::wstring shown = textProvider ? textProvider() : text;
    painter->DrawText(static_cast<int32_t>(fontSizeId), scaled, anchor, shown.c_str(),
                      IsDisabled() ? DisabledGrey : White, alignment, AlignMiddle, true);
}

} // namespace mirefell
