// The menus drawn on the headless GPU at 1280 x 720, with screenshots in
// "test-output/": the title's main menu with a hovered row and its corner
// lines, and option rows with a disabled one. The title scene is not drawn
// here: the menus stand on a grey background, and "white" keeps its own
// texture, so the hover rectangle shows in its own colour.
#include <gtest/gtest.h>

#include <filesystem>

#include "MenuFixture.h"
#include "shell/Config.h"

namespace mirefell::testing
{
namespace
{

constexpr Color Grey{0.25f, 0.25f, 0.25f, 1.0f}; // 64 in the target

class MenuDrawTest : public testing::MenuDrawTest
{
protected:
    void DrawFrame()
    {
        ui->Draw();
        Capture();
    }
};

TEST_F(MenuDrawTest, TheTitleMenuShowsItsRowsAHoveredRowAndTheCornerLines)
{
    StartScreen(1280, 720, Grey);
    std::filesystem::remove_all("saves"); // the level start saved: no game to continue here
    ShowTitle();
    MenuButton& newGame = FindRow(*Title().mainPanel, L"New game");
    MoveMouse(CentreOf(newGame) + Vector2(200.0f, 0.0f)); // over the row, right of its text
    UiStep();
    DrawFrame();
    Save("ui/title_main_menu");

    // Four rows, 48 high, ending 12 above the bottom: "New game" at y 516.
    EXPECT_EQ(newGame.GetPosition(), Vector2(12.0f, 516.0f));
    ASSERT_TRUE(newGame.hovered);
    const Rgba8 hover = At(400, 520); // inside the row, away from its text
    EXPECT_EQ(hover.r, 3);            // display red 0.125, stored linear
    EXPECT_EQ(hover.g, 0);
    const Rgba8 otherRow = At(400, 570);
    EXPECT_EQ(otherRow.r, 64);
}

} // namespace
} // namespace mirefell::testing
