// MenuLabel: a row of plain text on a menu page (a page's heading). It has
// no hover, no colour change and no action; its Update does nothing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "ui/BaseUIComponent.h"
#include "ui/IMenuPanelItem.h"
#include "ui/MenuStyle.h"

namespace mirefell
{

class MenuLabel : public BaseUIComponent, public IMenuPanelItem
{
public:
    explicit MenuLabel(Painter* painter_);
    ~MenuLabel() override;

    void Update() override {}
    void Draw() override;
    Vector2 GetPosition() override { return position; }
    Vector2 GetSize() override { return size; }
    void SetPosition(const Vector2& position_) override { position = position_; }
    void SetSize(const Vector2& size_) override { size = size_; }
    void SetTextSpan(float left, float right) override;

    std::wstring text;
    int32_t textSize = 0;
    bool scaleText = true;
    int32_t alignment = 2; // 1 left, 2 centred, 3 right
    Vector2 position;
    Vector2 size;
    // As a button's single text: the span once a panel has given one.
    std::optional<TextSpan> textSpan;
};

} // namespace mirefell
