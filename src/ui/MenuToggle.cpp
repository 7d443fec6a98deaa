// MenuToggle: the check box follows the getter; the caption sits left.
#include "ui/MenuToggle.h"

#include <stdexcept>

#include "render/Painter.h"
#include "ui/MenuButton.h"
#include "ui/MenuStyle.h"

namespace mirefell
{

namespace
{
constexpr float CheckBoxStart = 0.85f; // as a part of the row's width
} // namespace

MenuToggle::MenuToggle(Painter* painter_, std::function<bool()> isChecked_)
    : BaseUIComponent(painter_), isChecked(std::move(isChecked_))
{
    if (!isChecked)
        throw std::invalid_argument("menu toggle without a checked state");
    checkBox = std::make_unique<MenuButton>(painter_);
    checkBox->iconMode = true;
    checkBox->clickSound = "inventory_click";
    checkBox->onClick = [this] {
        if (onToggle)
            onToggle();
    };
    checkBox->isDisabled = [this] { return IsDisabled(); };
}

MenuToggle::~MenuToggle() = default;

void MenuToggle::SetSize(const Vector2& size_)
{
    size = size_;
    checkBox->SetSize(Vector2(size.x * (1.0f - CheckBoxStart), size.y));
}

void MenuToggle::SetPosition(const Vector2& position_)
{
    position = position_;
    checkBox->SetPosition(Vector2(position.x + size.x * CheckBoxStart, position.y));
}

void MenuToggle::Update()
{
    if (!visible)
        return;
    checkBox->textSize = textSize;
    checkBox->scaleText = scaleText;
    checkBox->iconName = isChecked() ? "checked" : "unchecked";
    checkBox->Update();
}

void MenuToggle::Draw()
{
    if (!visible)
        return;
    const Color colour = IsDisabled() ? MenuDisabledGrey() : MenuWhite;
    // The caption runs from one margin in up to the check box's icon, a
    // square of the row's height centred in the box.
    const float iconLeft = size.x * (1.0f + CheckBoxStart) * 0.5f - size.y * 0.5f;
    const int32_t font = MenuFont(*painter, textSize, scaleText, text.c_str(), iconLeft - painter->margin, size.y);
    painter->DrawText(font, false, Vector2(position.x + painter->margin, position.y + size.y * 0.5f), text.c_str(),
                      colour, MenuAlignLeft, MenuAlignCentre, true);
    checkBox->Draw();
}

} // namespace mirefell
