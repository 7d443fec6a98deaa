// End to end, played: the real game under a virtual X server from the title
// through "New game" on "Normal" into "pentagram", walked to its exit with
// the god-mode cheat typed on the keyboard, past the level-complete screen
// into "descent", saved and exited through the in-game menu, and continued
// from the title back into "descent". A second game on "Normal", mortal and
// unarmed, stands among the courtyard's noms until the death screen shows.
//
// The menus are clicked and the keys pressed with xdotool; the route is
// walked by the game's developer autopilot (MIREFELL_AUTOPILOT), which plays
// each step closed-loop from inside the frame loop, however slow the frames
// come, and reports what it sees to the game's log, where the test waits
// for it. Every picture is kept in "test-output/e2e/" and checked: more than
// a flat colour, and text, icons and panels where the game lays them out.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "GameSession.h"
#include "app/Autopilot.h"
#include "app/Route.h"
#include "support/TempDir.h"
#include "ui/IngameMenu.h"
#include "ui/MainMenu.h"
#include "ui/MenuPanel.h"

namespace mirefell::testing
{
namespace
{

using namespace std::chrono_literals;

const std::filesystem::path Pictures = std::filesystem::path(MIREFELL_RUN_DIR) / "test-output" / "e2e";

// The smallest screen the game's screens are laid out for (below it the
// level-complete screen and the inventory run off the edges), without
// ambient occlusion, bloom and FXAA: the frames come fast enough on llvmpipe
// for a whole level in a few minutes.
constexpr int32_t Width = 800;
constexpr int32_t Height = 600;
// Before walking, the autopilot stands still this long (steps) while the
// test types the cheat code and opens the inventory: its own key presses
// would mix into the typed word.
constexpr int32_t StandingSteps = 900;
// Far more than the walk takes on a loaded machine (about three minutes).
constexpr auto WalkTime = 20min;

const std::vector<std::string> WalkFailures = {"autopilot: stopped", "autopilot: the player died",
                                               "autopilot: the route ended"};

// A picture of the level, not a flat fill: a drawn frame has thousands of
// colours, even darkened under the in-game menu.
constexpr size_t LeastColours = 300;

bool Reddish(int r, int g, int b)
{
    return r > 140 && g < r / 2 && b < r / 2;
}
bool Greenish(int r, int g, int b)
{
    return g > 140 && r < g / 2 && b < g / 2;
}

class PlayThrough : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!GameSession::HaveDisplay())
            GTEST_SKIP() << "needs an X display: run it through xvfb-run (CTest does)";
    }

    // A game at the test's window size, the autopilot flying `route`.
    std::unique_ptr<GameSession> StartGame(const Route& route)
    {
        auto game = std::make_unique<GameSession>(dir.Path() / "run",
                                                  "{\"screenWidth\": " + std::to_string(Width) +
                                                      ", \"screenHeight\": " + std::to_string(Height) +
                                                      ", \"windowed\": true, \"borderless\": false, \"ssao\": -1, "
                                                      "\"bloom\": false, \"fxaa\": false}");
        const std::filesystem::path routeFile = game->Folder() / "route.json";
        std::ofstream(routeFile, std::ios::binary) << route.ToJson();
        game->SetEnvironment(Autopilot::Variable, routeFile.string());
        EXPECT_TRUE(game->Start()) << game->StartFailure();
        return game;
    }

    // The shipped level's authored route, as the build writes it.
    static Route Pentagram() { return Route::Load(std::string(MIREFELL_RUN_DIR) + "/routes/pentagram.json"); }
    static RouteStep Stand(int32_t steps)
    {
        RouteStep stand;
        stand.action = RouteAction::Wait;
        stand.steps = steps;
        return stand;
    }

    // Clicks a row, again while the page it leads to (`shown`) has not
    // come; false when it never does.
    static bool ClickThrough(GameSession& game, const Rect& row, const std::function<bool()>& shown)
    {
        if (game.ClickUntil(row.Centre(), shown))
            return true;
        game.Screenshot(Pictures / "play_failed_click.png"); // what showed instead
        return false;
    }
    static bool ClickThrough(GameSession& game, const Rect& row, const Rect& shown)
    {
        return ClickThrough(game, row, [&] { return HasWhiteText(game.Screenshot(), shown); });
    }

    // From the title through "New game", the first slot and "Normal" until
    // the autopilot reports the level.
    static void StartNewGameOnNormal(GameSession& game, const MenuLayout& menus)
    {
        const MenuPanel& main = *menus.title->mainPanel;
        const MenuPanel& slots = *menus.title->newGamePage;
        const MenuPanel& difficulty = MenuLayout::SubPage(slots, 0);
        ASSERT_TRUE(ClickThrough(game, MenuLayout::Row(main, L"New game"), MenuLayout::Row(slots, L"Pick save slot")));
        // At this height the difficulty page's title is above the screen:
        // its first check box tells it from the slot page.
        ASSERT_TRUE(
            ClickThrough(game, MenuLayout::Row(slots, L"1 - <blank>"), MenuLayout::CheckBox(difficulty, L"Blackout")));
        ASSERT_TRUE(ClickThrough(game, MenuLayout::Row(difficulty, L"Normal"), [&] {
            return game.LogCount("autopilot: level pentagram started, walking its route") > 0;
        })) << game.Log();
    }

    static void ExpectAFrameOfTheLevel(const Image& picture)
    {
        ASSERT_EQ(picture.width, static_cast<uint32_t>(Width));
        ASSERT_EQ(picture.height, static_cast<uint32_t>(Height));
        EXPECT_GT(ColourCount(picture), LeastColours);
    }

    TempDir dir;
};

TEST_F(PlayThrough, PentagramIsWalkedToItsExitThenDescentIsSavedAndContinued)
{
    Route route = Pentagram();
    route.steps.insert(route.steps.begin(), Stand(StandingSteps));
    const auto game = StartGame(route);
    ASSERT_FALSE(HasFailure());

    // The title.
    MenuLayout menus(game->Folder(), Width, Height);
    const MenuPanel& main = *menus.title->mainPanel;
    ASSERT_TRUE(game->WaitForText(MenuLayout::Row(main, L"New game"))) << "no title menu";
    const Image title = game->Screenshot(Pictures / "play_title.png");
    ExpectAFrameOfTheLevel(title);
    for (const wchar_t* row : {L"New game", L"Load game", L"Options", L"Exit"})
        EXPECT_TRUE(HasWhiteText(title, MenuLayout::Row(main, row))) << "no \"" << std::string(row, row + 4) << "\"";
    ASSERT_NO_FATAL_FAILURE(StartNewGameOnNormal(*game, menus));

    // God mode, typed while the autopilot stands still.
    for (int attempt = 0; attempt < 3 && !game->LogCount("autopilot: god mode on"); ++attempt) {
        game->Type("pozim");
        game->WaitForLog("autopilot: god mode on", 5s);
    }
    ASSERT_GT(game->LogCount("autopilot: god mode on"), 0u) << game->Log();

    // The inventory with the automap: the level's outlines in the inset,
    // the empty grid of the inventory beside it.
    const HudLayout hud(Width, Height);
    ASSERT_TRUE(game->PressKeyUntil("Tab", [&] { return game->LogCount("autopilot: paused") > 0; }))
        << "the inventory did not open";
    const Image inventory =
        game->WaitForPicture([&](const Image& picture) { return HasWhiteText(picture, hud.automap, 40); }, 20s,
                             Pictures / "play_inventory_automap.png");
    ExpectAFrameOfTheLevel(inventory);
    EXPECT_TRUE(HasWhiteText(inventory, hud.automap, 40)) << "no map in the automap's inset";
    EXPECT_GT(CountPixels(inventory, hud.inventory, [](int r, int g, int b) { return r + g + b > 60; }),
              static_cast<int>(hud.inventory.size.x * hud.inventory.size.y / 20))
        << "no inventory grid";
    ASSERT_TRUE(game->PressKeyUntil("Tab", [&] { return game->LogCount("autopilot: walking on") > 0; }))
        << "the inventory did not close";

    // The HUD in play, once the alcoves by the start have armed the player:
    // each number's icon where the layout puts it (the red cross, the green
    // shield, the green shells).
    const auto hudShown = [&](const Image& picture) {
        const int least = static_cast<int>(hud.health.size.x * hud.health.size.y / 10);
        return CountPixels(picture, hud.health, Reddish) > least &&
               CountPixels(picture, hud.armour, Greenish) > least && CountPixels(picture, hud.ammo, Greenish) > least;
    };
    const Image playing = game->WaitForPicture(hudShown, 120s, Pictures / "play_hud.png");
    ExpectAFrameOfTheLevel(playing);
    EXPECT_TRUE(hudShown(playing)) << "the HUD's icons are not where the layout puts them";
    for (const Rect& icon : {hud.health, hud.armour, hud.ammo}) {
        const Rect number{icon.position + Vector2(icon.size.x, 0.0f), Vector2(2.5f * icon.size.x, icon.size.y)};
        EXPECT_TRUE(HasWhiteText(playing, number, 10)) << "no number beside the icon at " << icon.position.x;
    }

    // The walk to the exit and the level-complete screen: the title, the
    // seven statistics and, once every row has landed, the prompt.
    ASSERT_TRUE(game->WaitForLog("autopilot: reached the exit", WalkTime, WalkFailures)) << game->Log();
    const Rect middle{{Width * 0.2f, 0.0f}, {Width * 0.6f, static_cast<float>(Height)}};
    const Image complete = game->WaitForPicture([&](const Image& picture) { return TextLines(picture, middle) >= 9; },
                                                60s, Pictures / "play_level_complete.png");
    EXPECT_GE(TextLines(complete, middle), 9) << "not the whole level-complete screen";
    EXPECT_GT(ColourCount(complete), 2u);

    // Enter starts "descent".
    ASSERT_TRUE(game->PressKeyUntil(
        "Return", [&] { return game->LogCount("level descent started") > 0; }, 30s))
        << game->Log();
    ASSERT_GT(game->LogCount("autopilot: level descent started, not on the route"), 0u) << game->Log();

    // The in-game menu over the level, and its "Save and exit" back to a
    // title that offers to continue.
    const MenuPanel& pause = *menus.pause->panel;
    const Rect resume = MenuLayout::Row(pause, L"Resume");
    ASSERT_TRUE(game->PressKeyUntil("Escape", [&] { return HasWhiteText(game->Screenshot(), resume); }))
        << "no in-game menu";
    const Image menu = game->Screenshot(Pictures / "play_ingame_menu.png");
    ExpectAFrameOfTheLevel(menu);
    for (const wchar_t* row : {L"Resume", L"Options", L"Save and exit"})
        EXPECT_TRUE(HasWhiteText(menu, MenuLayout::Row(pause, row))) << "no \"" << std::string(row, row + 4) << "\"";
    MenuLayout saved(game->Folder(), Width, Height); // the title with the slot on disk
    const Rect resumeRow = MenuLayout::Row(*saved.title->mainPanel, L"Continue");
    ASSERT_TRUE(ClickThrough(*game, MenuLayout::Row(pause, L"Save and exit"), resumeRow)) << "not back at the title";
    game->Screenshot(Pictures / "play_title_continue.png");

    // "Continue" returns to "descent".
    ASSERT_TRUE(ClickThrough(*game, resumeRow, [&] { return game->LogCount("level descent started") >= 2; }))
        << game->Log();
    std::cout << game->Log();
}

TEST_F(PlayThrough, StandingAmongTheMonstersEndsOnTheDeathScreen)
{
    // Unarmed (past the weapons' alcoves) into the courtyard, in front of its
    // noms, then standing still among them, mortal.
    const auto step = [](RouteAction action, Vector2 at, int32_t id = 0) {
        RouteStep made;
        made.action = action;
        made.at = at;
        made.id = id;
        return made;
    };
    const Route route{"pentagram",
                      {step(RouteAction::Walk, {96.0f, 1720.0f}), step(RouteAction::Walk, {48.0f, 1640.0f}),
                       step(RouteAction::Use, {48.0f, 1592.0f}), step(RouteAction::Door, {}, 4),
                       step(RouteAction::Walk, {48.0f, 1560.0f}), step(RouteAction::Walk, {150.0f, 1100.0f}),
                       Stand(36000)}};
    const auto game = StartGame(route);
    ASSERT_FALSE(HasFailure());
    MenuLayout menus(game->Folder(), Width, Height);
    ASSERT_TRUE(game->WaitForText(MenuLayout::Row(*menus.title->mainPanel, L"New game"))) << "no title menu";
    ASSERT_NO_FATAL_FAILURE(StartNewGameOnNormal(*game, menus));

    ASSERT_TRUE(game->WaitForLog("autopilot: the player died", WalkTime, {"autopilot: stopped", "autopilot: reached"}))
        << game->Log();
    // "You died." over the level, centred.
    const Rect centre{{Width * 0.25f, Height * 0.3f}, {Width * 0.5f, Height * 0.3f}};
    const Image death = game->WaitForPicture([&](const Image& picture) { return HasWhiteText(picture, centre, 100); },
                                             20s, Pictures / "play_death.png");
    ExpectAFrameOfTheLevel(death);
    EXPECT_TRUE(HasWhiteText(death, centre, 100)) << "no \"You died.\"";
    // Centred across the screen, its lower edge above the middle (the restart
    // line below it may already show).
    const Rect text = FirstWhiteLine(death, centre);
    EXPECT_NEAR(text.Centre().x, Width / 2.0f, 12.0f);
    EXPECT_LT(text.position.y + text.size.y, Height / 2.0f);
    std::cout << game->Log();
}

} // namespace
} // namespace mirefell::testing
