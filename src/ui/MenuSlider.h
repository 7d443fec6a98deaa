// MenuSlider: a menu row with a caption, a value text and two small child
// buttons, "<" and ">", that call the page's decrease and increase actions
// (click sound "inventory_click"). The row knows nothing of the setting it
// shows: the value text comes from the page's provider at every draw, the
// steps and limits live in the page's actions. While the disabled test
// answers true the caption and value are grey and neither child reacts.
//
// A slider needs its value provider: constructing one without it throws
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

class MenuSlider : public BaseUIComponent, public IMenuPanelItem
{
public:
    MenuSlider(Painter* painter_, std::function<std::wstring()> valueProvider_);
    ~MenuSlider() override;

    // The children's hover and clicks, while visible.
    void Update() override;
    void Draw() override;
    Vector2 GetPosition() override { return position; }
    Vector2 GetSize() override { return size; }
    // Also places the children: "<" at 0.75 of the width (0.65 with a wide
    // value), ">" at 0.95; each 0.05 of the width wide.
    void SetPosition(const Vector2& position_) override;
    void SetSize(const Vector2& size_) override;

    bool IsDisabled() const { return isDisabled && isDisabled(); }

    std::wstring text;
    std::function<std::wstring()> valueProvider;
    std::function<bool()> isDisabled;
    std::function<void()> onDecrease;
    std::function<void()> onIncrease;
    int32_t textSize = 0;
    bool scaleText = true;
    bool wideValue = false; // the value column starts at 0.65 of the width instead of 0.75
    Vector2 position;
    Vector2 size;
    std::unique_ptr<MenuButton> decreaseButton;
    std::unique_ptr<MenuButton> increaseButton;

private:
    // Where the value column starts, as a part of the row's width.
    float ValueColumnStart() const;
};

} // namespace mirefell
