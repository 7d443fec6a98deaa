// MenuPanel: the row list's layout, the row makers and the page protocol.
#include "ui/MenuPanel.h"

#include <algorithm>

#include "render/Painter.h"
#include "ui/IMenuPanelItem.h"
#include "ui/MenuBlank.h"
#include "ui/MenuButton.h"
#include "ui/MenuLabel.h"
#include "ui/MenuSlider.h"
#include "ui/MenuStyle.h"
#include "ui/MenuToggle.h"

namespace mirefell
{

namespace
{
constexpr float RowWidthUnits = 10.0f;
constexpr int32_t ScreenCentre = 5;
constexpr int32_t BottomLeft = 7;
constexpr int32_t BottomRight = 9;
} // namespace

std::unique_ptr<MenuPanel> MenuPanel::Create(Painter* painter_)
{
    return CreateWithAlignment(painter_, true);
}

std::unique_ptr<MenuPanel> MenuPanel::CreateWithAlignment(Painter* painter_, bool centred_)
{
    return std::make_unique<MenuPanel>(painter_, centred_);
}

MenuPanel::MenuPanel(Painter* painter_, bool centred_) : BaseUIComponent(painter_), centred(centred_) {}

MenuPanel::~MenuPanel() = default;

void MenuPanel::Update()
{
    const Vector2 rowSize(painter->unitSize.x * RowWidthUnits, painter->unitSize.y * rowScale);
    const float totalHeight = static_cast<float>(rows.size()) * rowSize.y;
    Vector2 cursor = centred ? painter->GetAnchorPoint(ScreenCentre, -rowSize.x * 0.5f, -totalHeight * 0.5f)
                             : painter->GetAnchorPoint(BottomLeft, painter->margin, -painter->margin - totalHeight);
    const float margin = painter->margin;
    const float screenRight = painter->GetAnchorPoint(BottomRight).x;
    for (size_t i = 0; i < rows.size(); ++i) {
        items[i]->SetSize(rowSize);
        items[i]->SetPosition(cursor);
        float left = margin;
        float right = screenRight - margin;
        const float centre = cursor.x + rowSize.x * 0.5f;
        if (besideAreas) {
            for (const ScreenArea& area : *besideAreas) {
                if (area.top >= cursor.y + rowSize.y || area.bottom <= cursor.y)
                    continue; // above or below the row
                if (area.left >= centre)
                    right = std::min(right, area.left - margin);
                else if (area.right <= centre)
                    left = std::max(left, area.right + margin);
            }
        }
        items[i]->SetTextSpan(left, right);
        if (visible)
            rows[i]->Update();
        cursor.y += rowSize.y;
    }
    for (const auto& page : subPages) {
        if (auto* panel = dynamic_cast<MenuPanel*>(page.get()))
            panel->besideAreas = besideAreas;
        page->Update();
    }
}

void MenuPanel::Draw()
{
    if (visible) {
        for (const auto& row : rows)
            row->Draw();
    }
    for (const auto& page : subPages)
        page->Draw();
}

void MenuPanel::Show()
{
    for (const auto& row : rows)
        row->ResetHover();
    visible = true;
}

void MenuPanel::SwitchTo(BaseUIComponent& target)
{
    Hide();
    target.Show();
}

template <class Row> Row* MenuPanel::AddRow(std::unique_ptr<Row> row)
{
    Row* raw = row.get();
    items.push_back(raw);
    rows.push_back(std::move(row));
    return raw;
}

void MenuPanel::AddBlank()
{
    AddRow(std::make_unique<MenuBlank>(painter));
}

MenuLabel* MenuPanel::AddLabel(std::wstring text)
{
    auto label = std::make_unique<MenuLabel>(painter);
    label->text = std::move(text);
    label->alignment = centred ? MenuAlignCentre : MenuAlignLeft;
    label->textSize = textSize;
    label->scaleText = scaleText;
    return AddRow(std::move(label));
}

MenuButton* MenuPanel::AddButton(std::wstring text, std::function<void()> onClick)
{
    auto button = std::make_unique<MenuButton>(painter);
    button->text = std::move(text);
    button->alignment = centred ? MenuAlignCentre : MenuAlignLeft;
    button->textSize = textSize;
    button->scaleText = scaleText;
    button->onClick = std::move(onClick);
    return AddRow(std::move(button));
}

MenuSlider* MenuPanel::AddSlider(std::wstring caption, std::function<std::wstring()> valueText,
                                 std::function<void()> onDecrease, std::function<void()> onIncrease)
{
    auto slider = std::make_unique<MenuSlider>(painter, std::move(valueText));
    slider->text = std::move(caption);
    slider->onDecrease = std::move(onDecrease);
    slider->onIncrease = std::move(onIncrease);
    slider->textSize = textSize;
    slider->scaleText = scaleText;
    return AddRow(std::move(slider));
}

MenuToggle* MenuPanel::AddToggle(std::wstring caption, std::function<bool()> isChecked, std::function<void()> onToggle)
{
    auto toggle = std::make_unique<MenuToggle>(painter, std::move(isChecked));
    toggle->text = std::move(caption);
    toggle->onToggle = std::move(onToggle);
    toggle->textSize = textSize;
    toggle->scaleText = scaleText;
    return AddRow(std::move(toggle));
}

void MenuPanel::AddSubPage(std::unique_ptr<BaseUIComponent> page)
{
    subPages.push_back(std::move(page));
}

} // namespace mirefell
