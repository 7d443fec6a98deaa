// The key-binding page with no GPU, driven as a player drives it: a click
// on a row starts the capture ("???" on that row only), then a key, Escape
// or a mouse button ends it; the click that started it never binds, the
// next press does, wherever it lands; a key taken from another action
// leaves that one "NOT BOUND"; "Revert to defaults" restores and writes the
// default table.
#include <gtest/gtest.h>

#include <filesystem>

#include "MenuFixture.h"
#include "platform/Lookup.h"
#include "platform/VirtualKey.h"
#include "shell/KeybindManager.h"
#include "ui/KeybindsPage.h"

namespace mirefell::testing
{
namespace
{

class KeybindsPageTest : public MenuTest
{
protected:
    void SetUp() override
    {
        MenuTest::SetUp();
        KeybindManager::GetInstance().Reset(KeybindManager::FileName); // in the test's folder
        ShowTitle();
        ClickRow(*Title().mainPanel, L"Options");
        ClickRow(*Title().optionsPage, L"Controls");
        controls = &static_cast<MenuPanel&>(*Title().optionsPage->subPages.at(0));
        ClickRow(*controls, L"Modify keybinds");
        page = &static_cast<MenuPanel&>(*controls->subPages.at(0));
        EXPECT_TRUE(page->IsVisible());
    }
    void TearDown() override
    {
        KeybindManager::GetInstance().Reset("");
        MenuTest::TearDown();
    }

    // The row of an action, by the label in its second column.
    MenuButton& Row(KeybindAction action)
    {
        for (const auto& row : page->rows) {
            auto* button = dynamic_cast<MenuButton*>(row.get());
            if (button && button->valueProvider && button->valueProvider() == KeybindManager::GetActionLabel(action))
                return *button;
        }
        throw std::runtime_error("no row for the action");
    }
    std::wstring Shown(KeybindAction action) { return Row(action).CurrentText(); }
    static const Keybind& Binding(KeybindAction action)
    {
        return MapAt(KeybindManager::GetInstance().bindings, action);
    }

    MenuPanel* controls = nullptr;
    MenuPanel* page = nullptr;
};

TEST_F(KeybindsPageTest, OneDenseRowPerActionInActionOrder)
{
    ASSERT_EQ(page->rows.size(), 13u + 4u);
    for (int32_t a = FirstKeybindAction; a <= LastKeybindAction; ++a) {
        auto& row = static_cast<MenuButton&>(*page->rows[a - 1]);
        EXPECT_EQ(row.valueProvider(), KeybindManager::GetActionLabel(static_cast<KeybindAction>(a)));
        EXPECT_TRUE(row.twoColumn);
        EXPECT_EQ(row.GetSize().y, 36.0f);
    }
    EXPECT_EQ(Shown(KeybindAction::Attack), L"LMB");
    EXPECT_EQ(Shown(KeybindAction::UseAntiGravBoots), L"SPACE");
    EXPECT_EQ(RowText(*page->rows[14]), L"Revert to defaults");
    EXPECT_EQ(RowText(*page->rows[16]), L"Back");
}

TEST_F(KeybindsPageTest, AClickedRowWaitsForAKeyAndEscapeKeepsTheOldOne)
{
    Click(Row(KeybindAction::Use));
    EXPECT_EQ(Shown(KeybindAction::Use), L"???");
    EXPECT_EQ(Shown(KeybindAction::Inventory), L"TAB");
    PressAndStep(KeyEscape);
    EXPECT_EQ(Shown(KeybindAction::Use), L"E");

    Click(Row(KeybindAction::Use));
    PressAndStep('W'); // Move forward's key
    EXPECT_EQ(Shown(KeybindAction::Use), L"W");
    EXPECT_EQ(Shown(KeybindAction::MoveForward), L"NOT BOUND");
}

TEST_F(KeybindsPageTest, TheClickThatStartsTheCaptureNeverBindsButTheNextOneDoes)
{
    MenuButton& block = Row(KeybindAction::Block);
    MoveMouse(CentreOf(block));
    LeftButton(true);
    UiStep();
    UiStep(); // held: still waiting for the release
    EXPECT_TRUE(KeybindManager::GetInstance().capturing);
    LeftButton(false);
    UiStep(); // the release clears the guard
    EXPECT_EQ(Shown(KeybindAction::Block), L"???");

    MoveMouse(CentreOf(Row(KeybindAction::Use))); // a press over another row binds, it does not click it
    LeftButton(true);
    UiStep();
    LeftButton(false);
    UiStep();
    EXPECT_FALSE(KeybindManager::GetInstance().capturing);
    EXPECT_EQ(Shown(KeybindAction::Block), L"LMB");
    EXPECT_EQ(Shown(KeybindAction::Attack), L"NOT BOUND");
    EXPECT_EQ(Shown(KeybindAction::Use), L"E");
}

TEST_F(KeybindsPageTest, WhileCapturingAClickIsTheBindingAndRevertRestoresEveryDefault)
{
    // A capture under way takes the next press, wherever it lands: "Back"
    // does not act, the left button becomes the binding.
    Click(Row(KeybindAction::Use));
    ClickRow(*page, L"Back");
    EXPECT_TRUE(page->IsVisible());
    EXPECT_EQ(Shown(KeybindAction::Use), L"LMB");
    Click(Row(KeybindAction::Sledgehammer));
    PressAndStep('E');
    EXPECT_EQ(Shown(KeybindAction::Sledgehammer), L"E");

    std::filesystem::remove(KeybindManager::FileName);
    ClickRow(*page, L"Revert to defaults");
    EXPECT_EQ(KeybindManager::GetInstance().bindings, KeybindManager::DefaultBindings());
    EXPECT_EQ(Shown(KeybindAction::Use), L"E");
    EXPECT_EQ(Shown(KeybindAction::Sledgehammer), L"1");
    EXPECT_EQ(KeybindManager::ReadBindingsFile(KeybindManager::FileName), KeybindManager::DefaultBindings());

    ClickRow(*page, L"Back");
    EXPECT_TRUE(controls->IsVisible());
    EXPECT_FALSE(page->IsVisible());
}

} // namespace
} // namespace mirefell::testing
