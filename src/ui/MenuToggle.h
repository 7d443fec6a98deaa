// MenuToggle: a menu row with a caption and a check box, a child button that
// shows the texture "checked" or "unchecked" as the page's getter answers
// (asked at every update) and calls the page's toggle action when clicked
// (click sound "inventory_click"); the action flips the setting itself. The
// icon therefore follows the setting on the update after any change,
// whoever made it.
//
// A toggle needs its getter: constructing one without it throws
// std::invalid_argument.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "ui/BaseUIComponent.h"
#include "ui/IMenuPanelItem.h"

namespace mirefell
{

class MenuButton;

class MenuToggle : public BaseUIComponent, public IMenuPanelItem
{
public:
    MenuToggle(Painter* painter_, std::function<bool()> isChecked_);
    ~MenuToggle() override;

    void Update() override;
    void Draw() override;
    Vector2 GetPosition() override { return position; }
    Vector2 GetSize() override { return size; }
    // The check box takes the last 15 % of the row.
    void SetPosition(const Vector2& position_) override;
    void SetSize(const Vector2& size_) override;

    bool IsDisabled() const { return isDisabled && isDisabled(); }

    std::wstring text;
    std::function<bool()> isChecked;
    std::function<bool()> isDisabled;
    std::function<void()> onToggle;
    int32_t textSize = 0;
    bool scaleText = true;
    Vector2 position;
    Vector2 size;
    std::unique_ptr<MenuButton> checkBox;
};

} // namespace mirefell
