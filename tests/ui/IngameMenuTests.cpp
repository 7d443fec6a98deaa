// The in-game menu through the UIManager with no GPU: Escape and "Resume"
// between play and the paused state with the matching mouse mode, the mouse
// mode left to an open inventory, the exit row's text, the page kept across
// a hide, and "Save and exit" back to a title rebuilt from the disk.
#include <gtest/gtest.h>

#include <filesystem>

#include "MenuFixture.h"
#include "platform/VirtualKey.h"
#include "shell/InventoryWindowFlag.h"
#include "shell/TitleSubPageFlag.h"

namespace mirefell::testing
{
namespace
{

class IngameMenuTest : public MenuTest
{
protected:
    void SetUp() override
    {
        MenuTest::SetUp();
        Input::GetInstance().SetMouseMode(Input::MouseModeRelative); // play
    }
    void OpenMenu()
    {
        PressAndStep(KeyEscape);
        UiStep(); // the cursor mode drops the first snapshot's position
    }
};

TEST_F(IngameMenuTest, EscapePausesWithTheCursorAndResumeReturnsToMouseLook)
{
    Input& input = Input::GetInstance();
    OpenMenu();
    EXPECT_EQ(State(), GameState::IngameMenu);
    EXPECT_EQ(input.mouseMode, Input::MouseModeAbsolute);
    EXPECT_EQ(RowTexts(*Pause().panel), (std::vector<std::wstring>{L"Resume", L"Options", L"Save and exit"}));

    ClickRow(*Pause().panel, L"Resume");
    EXPECT_EQ(State(), GameState::Playing);
    EXPECT_EQ(input.mouseMode, Input::MouseModeRelative);
    EXPECT_FALSE(Pause().IsVisible());

    inventoryWindowOpen = true; // the inventory keeps its cursor
    input.SetMouseMode(Input::MouseModeAbsolute);
    Pause().Show();
    Pause().Hide();
    EXPECT_EQ(input.mouseMode, Input::MouseModeAbsolute);
    inventoryWindowOpen = false;
}

TEST_F(IngameMenuTest, TheExitRowReadsExitOnlyOnceAPermadeathGameHasEndedInDeath)
{
    GameSave& game = GameSaveManager::GetInstance().current;
    game.permadeath = true;
    EXPECT_EQ(IngameMenu::GetExitLabel(), L"Save and exit");
    game.permadead = true;
    EXPECT_EQ(IngameMenu::GetExitLabel(), L"Exit");
    game.permadeath = false;
    EXPECT_EQ(IngameMenu::GetExitLabel(), L"Save and exit");
}

TEST_F(IngameMenuTest, ThePageOpenWhenTheMenuClosedIsTheOneShownNextTime)
{
    OpenMenu();
    ClickRow(*Pause().panel, L"Options");
    EXPECT_TRUE(Pause().optionsPage->IsVisible());
    PressAndStep(KeyEscape);
    EXPECT_EQ(State(), GameState::Playing);
    OpenMenu();
    EXPECT_TRUE(Pause().optionsPage->IsVisible());
    EXPECT_FALSE(Pause().panel->IsVisible());
}

TEST_F(IngameMenuTest, SaveAndExitWritesTheSlotAndShowsATitleRebuiltFromTheDisk)
{
    GameSaveManager& saves = GameSaveManager::GetInstance();
    std::filesystem::remove_all("saves");
    titleSubPageOpen = true;
    Title().Rebuild();
    ASSERT_EQ(RowTexts(*Title().mainPanel).front(), L"New game");
    Title().mainPanel->Hide();

    OpenMenu();
    ClickRow(*Pause().panel, L"Save and exit");
    EXPECT_EQ(State(), GameState::MainMenu);
    EXPECT_TRUE(std::filesystem::exists(saves.SlotPath(saves.current.slot)));
    EXPECT_FALSE(titleSubPageOpen);
    EXPECT_TRUE(Title().mainPanel->IsVisible());
    EXPECT_EQ(RowTexts(*Title().mainPanel).front(), L"Continue");
}

} // namespace
} // namespace mirefell::testing
