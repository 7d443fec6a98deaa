// MenuSlider: the two child buttons and the caption and value columns.
#include "ui/MenuSlider.h"

#include <stdexcept>

#include "render/Painter.h"
#include "ui/MenuButton.h"
#include "ui/MenuStyle.h"

namespace mirefell
{

namespace
{
constexpr float ValueColumn = 0.75f;
constexpr float WideValueColumn = 0.65f;
constexpr float ChildWidth = 0.05f;
constexpr float ChildTextOffset = -3.0f;
constexpr const char* SliderSound = "inventory_click";

std::unique_ptr<MenuButton> MakeChild(Painter* painter, const wchar_t* text, std::function<void()>& action)
{
    auto child = std::make_unique<MenuButton>(painter);
    child->text = text;
    child->textOffsetX = ChildTextOffset;
    child->clickSound = SliderSound;
    // The action is looked up at the click: the page sets it after the row
    // is made, and an empty one makes the click a sound only.
    child->onClick = [&action] {
        if (action)
            action();
    };
    return child;
}
} // namespace

MenuSlider::MenuSlider(Painter* painter_, std::function<std::wstring()> valueProvider_)
    : BaseUIComponent(painter_), valueProvider(std::move(valueProvider_))
{
    if (!valueProvider)
        throw std::invalid_argument("menu slider without a value text");
    decreaseButton = MakeChild(painter_, L"<", onDecrease);
    increaseButton = MakeChild(painter_, L">", onIncrease);
    // The children ask the row's own test, whatever the page sets it to.
    decreaseButton->isDisabled = increaseButton->isDisabled = [this] { return IsDisabled(); };
}

MenuSlider::~MenuSlider() = default;

float MenuSlider::ValueColumnStart() const
{
    return wideValue ? WideValueColumn : ValueColumn;
}

void MenuSlider::SetSize(const Vector2& size_)
{
    size = size_;
    const Vector2 childSize(size.x * ChildWidth, size.y);
    decreaseButton->SetSize(childSize);
    increaseButton->SetSize(childSize);
}

void MenuSlider::SetPosition(const Vector2& position_)
{
    position = position_;
    const float k = ValueColumnStart();
    const float decreaseX = position.x + k * size.x;
    decreaseButton->SetPosition(Vector2(decreaseX, position.y));
    increaseButton->SetPosition(Vector2(decreaseX + (1.0f - k - ChildWidth) * size.x, position.y));
}

void MenuSlider::Update()
{
    if (!visible)
        return;
    for (MenuButton* child : {decreaseButton.get(), increaseButton.get()}) {
        child->textSize = textSize;
        child->scaleText = scaleText;
        child->Update();
    }
}

void MenuSlider::Draw()
{
    if (!visible)
        return;
    const Color colour = IsDisabled() ? MenuDisabledGrey() : MenuWhite;
    const float centreY = position.y + size.y * 0.5f;
    const float k = ValueColumnStart();
    // The caption runs from one margin in up to the "<" button.
    const int32_t font = MenuFont(*painter, textSize, scaleText, text.c_str(), k * size.x - painter->margin, size.y);
    painter->DrawText(font, false, Vector2(position.x + painter->margin, centreY), text.c_str(), colour, MenuAlignLeft,
                      MenuAlignCentre, true);
    const std::wstring value = valueProvider();
    const Vector2 valueCentre(position.x + (k + (1.0f - k) * 0.5f) * size.x, centreY);
    // The value stands between the arrows, centred on their buttons' gap
    // and so a few pixels right of the arrows' own; one too wide for font 0
    // there (a long screen size on the smallest screen) is written in the
    // small font.
    const int32_t arrowFont = MenuFont(*painter, textSize, scaleText, L"<", ChildWidth * size.x, size.y);
    const float arrowWidth = painter->fonts[static_cast<size_t>(arrowFont)]->MeasureString(L"<").x;
    const float valueRoom = (1.0f - k - ChildWidth) * size.x + 2.0f * ChildTextOffset - arrowWidth;
    if (painter->fonts[MenuValueFont]->MeasureString(value.c_str()).x <= valueRoom)
        painter->DrawText(MenuValueFont, false, valueCentre, value.c_str(), colour, MenuAlignCentre, MenuAlignCentre,
                          true);
    else
        painter->DrawSmallText(valueCentre - Vector2(0.0f, painter->smallFont->GetLineSpacing() * 0.5f), value.c_str(),
                               colour, MenuAlignCentre);
    decreaseButton->Draw();
    increaseButton->Draw();
}

} // namespace mirefell
