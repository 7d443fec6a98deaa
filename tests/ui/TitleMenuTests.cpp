// The title's main menu and the game pickers with no GPU, driven by clicks
// at the rows' centres: which rows the saves on disk give, the new-game
// chain into the loading state, "Back" forgetting the choice, the slot
// captions and which slots can be chosen, the level page's locks, loading a
// slot that went bad after the list was read, and "Exit".
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "MenuFixture.h"
#include "platform/EventPump.h"
#include "platform/VideoSystem.h"
#include "shell/TitleSubPageFlag.h"
#include "ui/GamePickers.h"

namespace mirefell::testing
{
namespace
{

using Texts = std::vector<std::wstring>;

class TitleMenuTest : public MenuTest
{
protected:
    void SetUp() override
    {
        MenuTest::SetUp();
        std::filesystem::remove_all("saves"); // the level start saved one
    }

    MenuPanel& Visible(MenuPanel* page)
    {
        EXPECT_TRUE(page->IsVisible());
        return *page;
    }
    // The page shown after the slot page: its only sub-page.
    static MenuPanel& NextPage(MenuPanel* slotPage) { return static_cast<MenuPanel&>(*slotPage->subPages.at(0)); }
    static bool Disabled(const MenuPanel& page, const std::wstring& text) { return FindRow(page, text).IsDisabled(); }
};

TEST_F(TitleMenuTest, TheMainPanelOffersContinueAndLevelSelectOnlyForAGameThatCanGoOn)
{
    ShowTitle();
    EXPECT_EQ(RowTexts(*Title().mainPanel), (Texts{L"New game", L"Load game", L"Options", L"Exit"}));

    WriteSave(2, GameDifficulty::Hard, false, true, 1, true); // a permadeath game that ended in death
    ShowTitle();
    EXPECT_EQ(RowTexts(*Title().mainPanel), (Texts{L"New game", L"Load game", L"Options", L"Exit"}));

    WriteSave(4, GameDifficulty::Easy, false, false);
    ShowTitle();
    EXPECT_EQ(RowTexts(*Title().mainPanel),
              (Texts{L"Continue", L"New game", L"Load game", L"Level select", L"Options", L"Exit"}));
    ClickRow(*Title().mainPanel, L"Continue");
    EXPECT_EQ(State(), GameState::Loading);
    EXPECT_EQ(GameSaveManager::GetInstance().current.slot, 4);
}

TEST_F(TitleMenuTest, ANewGameGoesThroughSlotDifficultyAndModifiersIntoTheLoadingState)
{
    ShowTitle();
    ClickRow(*Title().mainPanel, L"New game");
    EXPECT_TRUE(titleSubPageOpen);
    EXPECT_FALSE(Title().mainPanel->IsVisible());
    MenuPanel& slots = Visible(Title().newGamePage);
    EXPECT_EQ(RowTexts(slots), (Texts{L"Pick save slot", L"", L"1 - <blank>", L"2 - <blank>", L"3 - <blank>",
                                      L"4 - <blank>", L"5 - <blank>", L"", L"Back"}));
    EXPECT_FALSE(Disabled(slots, L"1 - <blank>")); // a new game may go into any slot

    ClickRow(slots, L"3 - <blank>");
    MenuPanel& difficulty = Visible(&NextPage(Title().newGamePage));
    EXPECT_FALSE(slots.IsVisible());
    Click(*FindRow<MenuToggle>(difficulty, L"Blackout").checkBox);
    ClickRow(difficulty, L"Masochistic");

    EXPECT_EQ(State(), GameState::Loading);
    const GameSave& game = GameSaveManager::GetInstance().current;
    EXPECT_EQ(game.slot, 2);
    EXPECT_EQ(game.difficulty, GameDifficulty::Masochistic);
    EXPECT_TRUE(game.blackout);
    EXPECT_FALSE(game.permadeath);
    EXPECT_TRUE(game.freshGame);
    EXPECT_EQ(NewGameSelection::Get().slot, 0); // the choice starts afresh next time
    EXPECT_FALSE(NewGameSelection::Get().blackout);
}

TEST_F(TitleMenuTest, BackForgetsTheChoiceAndTheFirstBackLeavesTheSubPages)
{
    ShowTitle();
    ClickRow(*Title().mainPanel, L"New game");
    ClickRow(*Title().newGamePage, L"4 - <blank>");
    MenuPanel& difficulty = NextPage(Title().newGamePage);
    MenuToggle& blackout = FindRow<MenuToggle>(difficulty, L"Blackout");
    Click(*blackout.checkBox);
    ClickRow(difficulty, L"Back");
    Visible(Title().newGamePage);
    ClickRow(*Title().newGamePage, L"2 - <blank>");
    UiStep();
    EXPECT_EQ(blackout.checkBox->iconName, "unchecked");
    EXPECT_EQ(NewGameSelection::Get().slot, 1);

    ClickRow(difficulty, L"Back");
    ClickRow(*Title().newGamePage, L"Back");
    Visible(Title().mainPanel);
    EXPECT_FALSE(titleSubPageOpen);
    EXPECT_EQ(NewGameSelection::Get().slot, 0);
}

TEST_F(TitleMenuTest, SlotRowsNameTheGameAndOnlyGamesThatCanGoOnMayBeLoaded)
{
    WriteSave(1, GameDifficulty::Hard, true, true);
    ShowTitle();
    const MenuPanel& load = *Title().loadGamePage;
    EXPECT_EQ(RowTexts(load)[3], L"2 - Hard Blackout Permadeath");
    EXPECT_TRUE(Disabled(load, L"1 - <blank>"));
    EXPECT_FALSE(Disabled(load, L"2 - Hard Blackout Permadeath"));
    EXPECT_TRUE(Disabled(*Title().levelSelectPage, L"3 - <blank>"));
    EXPECT_FALSE(Disabled(*Title().newGamePage, L"2 - Hard Blackout Permadeath"));

    WriteSave(1, GameDifficulty::Hard, true, true, 1, true); // that player died
    ShowTitle();
    EXPECT_TRUE(Disabled(*Title().loadGamePage, L"2 - Hard Blackout Permadead"));
    EXPECT_TRUE(Disabled(*Title().levelSelectPage, L"2 - Hard Blackout Permadead"));
    EXPECT_FALSE(Disabled(*Title().newGamePage, L"2 - Hard Blackout Permadead"));
}

TEST_F(TitleMenuTest, AnUnreadableSlotIsShownAsSuchAndOnlyANewGameMayGoIntoIt)
{
    std::filesystem::create_directories("saves");
    std::ofstream(GameSaveManager::GetInstance().SlotPath(2), std::ios::trunc) << "not a save";
    ::testing::internal::CaptureStderr();
    ShowTitle();
    ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(RowTexts(*Title().loadGamePage)[4], L"3 - <unreadable>");
    EXPECT_TRUE(Disabled(*Title().loadGamePage, L"3 - <unreadable>"));
    EXPECT_TRUE(Disabled(*Title().levelSelectPage, L"3 - <unreadable>"));
    EXPECT_FALSE(Disabled(*Title().newGamePage, L"3 - <unreadable>"));
    EXPECT_FALSE(Disabled(*Title().newGamePage, L"2 - <blank>"));
}

TEST_F(TitleMenuTest, TheLevelPageUnlocksTheLevelsReachedInTheChosenSlot)
{
    WriteSave(0, GameDifficulty::Normal, false, false, 2);
    WriteSave(3, GameDifficulty::Normal, false, false, 0); // a record that reached no level at all
    ShowTitle();
    ClickRow(*Title().mainPanel, L"Level select");
    ClickRow(*Title().levelSelectPage, L"4 - Normal");
    MenuPanel& levels = Visible(&NextPage(Title().levelSelectPage));
    EXPECT_TRUE(Disabled(levels, L"Level 1 - Pentagram")); // nothing selectable
    ClickRow(levels, L"Level 1 - Pentagram");
    EXPECT_EQ(State(), GameState::MainMenu);

    ClickRow(levels, L"Back");
    ClickRow(*Title().levelSelectPage, L"1 - Normal");
    EXPECT_FALSE(Disabled(levels, L"Level 1 - Pentagram"));
    EXPECT_FALSE(Disabled(levels, L"Level 2 - Descent"));
    EXPECT_TRUE(Disabled(levels, L"Level 3 - Mouth"));
    EXPECT_FLOAT_EQ(FindRow(levels, L"Level 2 - Descent").GetSize().y, 36.0f); // three-quarter rows

    ClickRow(levels, L"Level 2 - Descent");
    EXPECT_EQ(State(), GameState::Loading);
    EXPECT_EQ(GameSaveManager::GetInstance().current.levelId, "descent");
    EXPECT_EQ(GameSaveManager::GetInstance().current.highestLevel, 2);
}

TEST_F(TitleMenuTest, ASlotThatNoLongerReadsStartsNothing)
{
    WriteSave(0, GameDifficulty::Easy, false, false);
    WriteSave(1, GameDifficulty::Hard, false, false);
    ShowTitle();
    std::ofstream(GameSaveManager::GetInstance().SlotPath(1), std::ios::trunc) << "broken";

    ClickRow(*Title().mainPanel, L"Load game");
    ClickRow(*Title().loadGamePage, L"2 - Hard");
    EXPECT_EQ(State(), GameState::MainMenu);
    EXPECT_TRUE(Title().loadGamePage->IsVisible());

    ClickRow(*Title().loadGamePage, L"1 - Easy");
    EXPECT_EQ(State(), GameState::Loading);
    EXPECT_EQ(GameSaveManager::GetInstance().current.difficulty, GameDifficulty::Easy);
}

TEST_F(TitleMenuTest, ExitPostsAQuitToTheMessageLoop)
{
    VideoSystem video;
    EventPump events;
    PlatformEvent event;
    while (events.PollEvent(event)) {
    }
    ShowTitle();
    ClickRow(*Title().mainPanel, L"Exit");
    bool quit = false;
    while (events.PollEvent(event))
        quit = quit || event.type == PlatformEventType::Quit;
    EXPECT_TRUE(quit);
}

} // namespace
} // namespace mirefell::testing
