// MenuButton: a clickable row of a menu page, or a child button of a slider
// or toggle row. It shows a text (fixed, or asked of a provider at every
// draw), an icon, or a text and a value in two columns; it is highlighted
// under the mouse, drawn grey and inert while disabled, and acts on the press
// of the left button: the click sound, then the action, then the input's
// click-consumed flag, so one press makes at most one widget act.
//
// The row stores no value: the providers and the disabled test are asked
// anew at every update or draw. Its panel (or its compound row) sets its
// position and size before every update.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "ui/BaseUIComponent.h"
#include "ui/IMenuPanelItem.h"
#include "ui/MenuStyle.h"

namespace mirefell
{

class MenuButton : public BaseUIComponent, public IMenuPanelItem
{
public:
    explicit MenuButton(Painter* painter_);
    ~MenuButton() override;

    // Hover and click, while visible and enabled; the pulse advances.
    void Update() override;
    void Draw() override;
    Vector2 GetPosition() override { return position; }
    Vector2 GetSize() override { return size; }
    void SetPosition(const Vector2& position_) override { position = position_; }
    void SetSize(const Vector2& size_) override { size = size_; }
    void SetTextSpan(float left, float right) override;

    // The disabled test is set and answers true.
    bool IsDisabled() const { return isDisabled && isDisabled(); }
    // The text shown: the provider's when set, else `text`.
    std::wstring CurrentText() const { return textProvider ? textProvider() : text; }

    bool iconMode = false;
    std::string iconName;
    std::wstring text;
    std::wstring valueText;
    std::function<std::wstring()> textProvider;
    std::function<std::wstring()> valueProvider;
    std::function<void()> onClick;
    std::function<bool()> isDisabled;
    int32_t textSize = 0;
    bool scaleText = true; // the painter raises the font by its font step
    int32_t alignment = 2; // 1 left, 2 centred, 3 right
    float textOffsetX = 0.0f;
    bool twoColumn = false;
    bool pulse = false;
    std::string clickSound = "shotgun_fire";
    Vector2 position;
    Vector2 size;
    float pulseTime = 0.0f;
    // Where a single text may run, once a panel has said (SetTextSpan);
    // until then it keeps to the row.
    std::optional<TextSpan> textSpan;
};

} // namespace mirefell
