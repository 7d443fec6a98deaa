// MenuRows: what the menu tests read of a page's rows: the text a row shows
// now, and the row of a page that shows a given text.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ui/MenuButton.h"
#include "ui/MenuLabel.h"
#include "ui/MenuPanel.h"
#include "ui/MenuSlider.h"
#include "ui/MenuToggle.h"

namespace mirefell::testing
{

// A button's or label's text, a slider's or toggle's caption; empty for a
// blank.
inline std::wstring RowText(BaseUIComponent& row)
{
    if (auto* button = dynamic_cast<MenuButton*>(&row))
        return button->CurrentText();
    if (auto* label = dynamic_cast<MenuLabel*>(&row))
        return label->text;
    if (auto* slider = dynamic_cast<MenuSlider*>(&row))
        return slider->text;
    if (auto* toggle = dynamic_cast<MenuToggle*>(&row))
        return toggle->text;
    return L"";
}

// Every row's text, top first.
inline std::vector<std::wstring> RowTexts(const MenuPanel& page)
{
    std::vector<std::wstring> texts;
    for (const auto& row : page.rows)
        texts.push_back(RowText(*row));
    return texts;
}

// The row of a page showing `text`, of the given kind; fails the test (and
// throws) when there is none.
template <class Row = MenuButton> Row& FindRow(const MenuPanel& page, const std::wstring& text)
{
    for (const auto& row : page.rows) {
        if (RowText(*row) == text) {
            if (auto* found = dynamic_cast<Row*>(row.get()))
                return *found;
        }
    }
    ADD_FAILURE() << "no row reads \"" << std::string(text.begin(), text.end()) << "\"";
    throw std::runtime_error("row not found");
}

} // namespace mirefell::testing
