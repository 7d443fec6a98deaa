// End to end: the real game under a virtual X server, driven by mouse clicks
// at the rows' places as the game's own menu code computes them and by
// held keys, with pictures of the window taken along the way ("test-output/
// e2e/"). Needs an X display: CTest runs this program through xvfb-run.
//
// The title through "New game" on "Normal" into "pentagram", the in-game
// menu's "Save and exit" back to a title that offers "Continue", and "Exit"
// ending the program cleanly with its settings and bindings written; then
// the options: a display change applied to the window, a key bound on the
// key-binding page and found in binds.bin after the game ended; a virtual
// display that does not reset between its clients; and a game that cannot
// start, reported at once with its own error.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "GameSession.h"
#include "platform/Lookup.h"
#include "shell/Config.h"
#include "shell/KeybindManager.h"
#include "support/TempDir.h"
#include "ui/IngameMenu.h"
#include "ui/MainMenu.h"
#include "ui/MenuPanel.h"

namespace mirefell::testing
{
namespace
{

const std::filesystem::path Pictures = std::filesystem::path(MIREFELL_RUN_DIR) / "test-output" / "e2e";

std::string ReadText(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class EndToEndTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!GameSession::HaveDisplay())
            GTEST_SKIP() << "needs an X display: run it through xvfb-run (CTest does)";
    }

    // Clicks a row, again while `shown` (a row of the page it leads to)
    // carries no text.
    static void ClickThrough(GameSession& game, const Rect& row, const Rect& shown)
    {
        ASSERT_TRUE(game.ClickUntil(row.Centre(), [&] { return HasWhiteText(game.Screenshot(), shown); }))
            << "the next page did not show";
    }

    // The game's config.json: a window of this size, borderless or framed,
    // and no ambient occlusion (the frames come faster on llvmpipe).
    static std::string WindowConfig(int32_t width, int32_t height, bool borderless)
    {
        return "{\"screenWidth\": " + std::to_string(width) + ", \"screenHeight\": " + std::to_string(height) +
               ", \"windowed\": true, \"borderless\": " + (borderless ? "true" : "false") + ", \"ssao\": -1}";
    }
    // Starts the game and checks its window has the size it was given.
    static void StartAt(GameSession& game, int32_t width, int32_t height)
    {
        ASSERT_TRUE(game.Start()) << game.StartFailure();
        int32_t shownWidth = 0, shownHeight = 0;
        ASSERT_TRUE(game.GetWindowSize(shownWidth, shownHeight));
        ASSERT_EQ(shownWidth, width);
        ASSERT_EQ(shownHeight, height);
    }

    TempDir dir;
};

TEST_F(EndToEndTest, ANewGameFromTheTitleIsSavedAndExitedThroughTheMenus)
{
    const int32_t width = 1280, height = 720;
    GameSession game(dir.Path() / "run", WindowConfig(width, height, true));
    ASSERT_NO_FATAL_FAILURE(StartAt(game, width, height));

    MenuLayout first(game.Folder(), width, height);
    const MenuPanel& main = *first.title->mainPanel;
    ASSERT_TRUE(game.WaitForText(MenuLayout::Row(main, L"New game"))) << "no title menu";
    const Image title = game.Screenshot(Pictures / "title_main_menu.png");
    EXPECT_TRUE(HasWhiteText(title, MenuLayout::Row(main, L"Exit")));
    // No save yet: four rows, nothing above "New game".
    const Rect newGame = MenuLayout::Row(main, L"New game");
    EXPECT_FALSE(HasWhiteText(title, {newGame.position - Vector2(0.0f, newGame.size.y), newGame.size}));

    const MenuPanel& slots = *first.title->newGamePage;
    const MenuPanel& difficulty = MenuLayout::SubPage(slots, 0);
    ClickThrough(game, newGame, MenuLayout::Row(slots, L"Pick save slot"));
    ClickThrough(game, MenuLayout::Row(slots, L"1 - <blank>"), MenuLayout::Row(difficulty, L"Pick difficulty"));
    // The level start saves the new game.
    const std::filesystem::path save = game.Folder() / "saves" / "save0.mfv";
    ASSERT_TRUE(game.ClickUntil(MenuLayout::Row(difficulty, L"Normal").Centre(), [&] {
        return std::filesystem::exists(save);
    })) << "the level did not start";
    const auto startSave = std::filesystem::last_write_time(save);
    // A frame of the level (the loading screen is text on black).
    const Image playing = game.WaitForPicture([](const Image& picture) { return ColourCount(picture) > 300; },
                                              std::chrono::seconds(90), Pictures / "pentagram_playing.png");
    EXPECT_GT(ColourCount(playing), 300u) << "no frame of the level";

    const MenuPanel& pause = *first.pause->panel;
    const Rect resume = MenuLayout::Row(pause, L"Resume");
    ASSERT_TRUE(game.PressKeyUntil("Escape", [&] { return HasWhiteText(game.Screenshot(), resume); }))
        << "no in-game menu";
    game.Screenshot(Pictures / "ingame_menu.png");

    // Back at the title, which now offers to continue the saved game.
    MenuLayout after(game.Folder(), width, height);
    const MenuPanel& mainAfter = *after.title->mainPanel;
    const Rect continueRow = MenuLayout::Row(mainAfter, L"Continue");
    ASSERT_EQ(continueRow.position.y, 420.0f);
    ASSERT_TRUE(game.ClickUntil(MenuLayout::Row(pause, L"Save and exit").Centre(), [&] {
        return HasWhiteText(game.Screenshot(), continueRow);
    })) << "not back at the title";
    game.Screenshot(Pictures / "title_after_save_and_exit.png");
    EXPECT_TRUE(std::filesystem::exists(save));
    EXPECT_GT(std::filesystem::last_write_time(save), startSave) << "\"Save and exit\" wrote no save";

    std::filesystem::remove(game.Folder() / "config.json");
    ASSERT_TRUE(game.ClickUntil(MenuLayout::Row(mainAfter, L"Exit").Centre(), [&] { return !game.IsRunning(); }))
        << "the game did not end";
    EXPECT_EQ(game.WaitForExit(), 0);
    EXPECT_TRUE(std::filesystem::exists(game.Folder() / "config.json"));
    EXPECT_TRUE(std::filesystem::exists(game.Folder() / "binds.bin"));
    // The virtual X server's OpenGL is Mesa's software rasteriser, which
    // cannot tell of a GPU reset: said once, at the start.
    EXPECT_EQ(game.LogCount("the graphics driver gives no reset notification"), 1u) << game.Log();
}

TEST_F(EndToEndTest, TheDisplayDoesNotResetWhenItsLastClientLeaves)
{
    // A display that resets each time its last client leaves (as the test's
    // own short-lived xdotool calls and every game's exit make it) refuses
    // a client that comes during the reset: a game starting just then ends
    // at once with "can't start the video system".
    EXPECT_TRUE(GameSession::DisplayOutlivesItsClients()) << "the X server resets: start it with -noreset";
}

TEST_F(EndToEndTest, AGameThatCannotStartIsReportedAtOnceInItsOwnWords)
{
    GameSession game(dir.Path() / "run", WindowConfig(800, 600, false));
    // Its sounds are read before its window opens. The folder holds every
    // file the game reads, so the game takes it for its own and does not
    // move to the executable's folder, but one sound is no wave file.
    const std::filesystem::path built = std::filesystem::path(MIREFELL_RUN_DIR) / "assets";
    const std::filesystem::path assets = game.Folder() / "assets";
    std::filesystem::remove(assets);
    std::filesystem::create_directory(assets);
    for (const auto& entry : std::filesystem::directory_iterator(built))
        if (entry.path().filename() != "sounds")
            std::filesystem::create_directory_symlink(entry.path(), assets / entry.path().filename());
    std::filesystem::create_directory(assets / "sounds");
    for (const auto& entry : std::filesystem::directory_iterator(built / "sounds"))
        std::filesystem::create_symlink(entry.path(), assets / "sounds" / entry.path().filename());
    std::filesystem::remove(assets / "sounds" / "door_close.wav");
    std::ofstream(assets / "sounds" / "door_close.wav", std::ios::binary) << "not a wave file";
    EXPECT_FALSE(game.Start());
    EXPECT_NE(game.StartFailure().find("ended with exit code 1 before it showed a window"), std::string::npos)
        << game.StartFailure();
    EXPECT_NE(game.StartFailure().find("invalid wave file (assets/sounds/door_close.wav"), std::string::npos)
        << game.StartFailure();
}

TEST_F(EndToEndTest, TheOptionsRestyleTheWindowAndABindingReachesBindsBin)
{
    int32_t width = 800, height = 600;
    GameSession game(dir.Path() / "run", WindowConfig(width, height, false));
    ASSERT_NO_FATAL_FAILURE(StartAt(game, width, height));

    // Display: a borderless window over the whole screen, applied.
    {
        MenuLayout small(game.Folder(), width, height);
        const MenuPanel& main = *small.title->mainPanel;
        const MenuPanel& options = *small.title->optionsPage;
        const MenuPanel& display = MenuLayout::SubPage(options, 3);
        ASSERT_TRUE(game.WaitForText(MenuLayout::Row(main, L"Options"))) << "no title menu";
        ClickThrough(game, MenuLayout::Row(main, L"Options"), MenuLayout::Row(options, L"Controls"));
        ClickThrough(game, MenuLayout::Row(options, L"Display"), MenuLayout::Row(display, L"Screen resolution"));
        game.Click(MenuLayout::CheckBox(display, L"Borderless window").Centre());
        game.Screenshot(Pictures / "display_page.png");
        ASSERT_TRUE(game.ClickUntil(MenuLayout::Row(display, L"Apply change").Centre(), [&] {
            return game.GetWindowSize(width, height) && width == 1280;
        })) << "the window kept its size";
    }
    EXPECT_EQ(height, 720);

    // The key-binding page, laid out for the new size.
    MenuLayout full(game.Folder(), width, height);
    const MenuPanel& options = *full.title->optionsPage;
    const MenuPanel& display = MenuLayout::SubPage(options, 3);
    const MenuPanel& controls = MenuLayout::SubPage(options, 0);
    const MenuPanel& keybinds = MenuLayout::SubPage(controls, 0);
    ASSERT_TRUE(game.WaitForText(MenuLayout::Row(display, L"Back"))) << "the page did not follow the new size";
    ClickThrough(game, MenuLayout::Row(display, L"Back"), MenuLayout::Row(options, L"Controls"));
    ClickThrough(game, MenuLayout::Row(options, L"Controls"), MenuLayout::Row(controls, L"Modify keybinds"));
    ClickThrough(game, MenuLayout::Row(controls, L"Modify keybinds"), MenuLayout::Row(keybinds, L"Back"));
    game.Click(MenuLayout::RowByValue(keybinds, L"Use Anti-Grav boots").Centre());
    game.PressKey("j");
    game.Screenshot(Pictures / "keybinds_page.png");

    ClickThrough(game, MenuLayout::Row(keybinds, L"Back"), MenuLayout::Row(controls, L"Back"));
    ClickThrough(game, MenuLayout::Row(controls, L"Back"), MenuLayout::Row(options, L"Back"));
    ClickThrough(game, MenuLayout::Row(options, L"Back"), MenuLayout::Row(*full.title->mainPanel, L"Exit"));
    ASSERT_TRUE(game.ClickUntil(MenuLayout::Row(*full.title->mainPanel, L"Exit").Centre(), [&] {
        return !game.IsRunning();
    })) << "the game did not end";
    ASSERT_EQ(game.WaitForExit(), 0);

    const auto bindings = KeybindManager::ReadBindingsFile((game.Folder() / "binds.bin").string());
    const Keybind& boots = MapAt(bindings, KeybindAction::UseAntiGravBoots);
    EXPECT_TRUE(boots.bound);
    EXPECT_EQ(boots.device, KeybindDevice::Keyboard);
    EXPECT_EQ(static_cast<int32_t>(boots.keyCode), 'J');
    const auto settings = Config::FromJson(ReadText(game.Folder() / "config.json"));
    ASSERT_TRUE(settings.has_value());
    EXPECT_TRUE(settings->windowed);
    EXPECT_TRUE(settings->borderless);
}

} // namespace
} // namespace mirefell::testing
