// The menus drawn on the headless GPU at 1280 x 720, with screenshots in
// "test-output/": the title's main menu with a hovered row and its corner
// lines, option rows with a disabled one, slider values beyond their range,
// and where a long row text keeps its font. The title scene is not drawn
// here: the menus stand on a grey background, and "white" keeps its own
// texture, so the hover rectangle shows in its own colour.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "MenuFixture.h"
#include "render/PainterDrawLog.h"
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

TEST_F(MenuDrawTest, OptionRowsShowTheirValuesAndDisabledRowsAreGrey)
{
    StartScreen(1280, 720, Grey);
    Config::GetInstance().Reset();
    Config::GetInstance().settings.screenWidth = 1280;
    Config::GetInstance().settings.screenHeight = 720;
    ShowTitle();
    ClickRow(*Title().mainPanel, L"Options");
    ClickRow(*Title().optionsPage, L"Display");
    auto& display = static_cast<MenuPanel&>(*Title().optionsPage->subPages.at(3));
    MoveMouse(Vector2(1200.0f, 100.0f)); // over no row
    UiStep();
    DrawFrame();
    Save("ui/options_display_page");

    // Twelve rows of 48 from y 132, in the bottom-left corner like the
    // title's panel. "Frame limiter" (disabled while vsync is on) and "Apply
    // change" (nothing to apply) are written in grey 0.25, stored linear (12),
    // with nothing brighter than the background; enabled rows in white.
    struct Shades
    {
        int grey = 0;
        int brightest = 0;
    };
    const auto shades = [&](BaseUIComponent& row) {
        Shades found;
        const Vector2 p = row.GetPosition();
        for (int y = static_cast<int>(p.y); y < static_cast<int>(p.y) + 48; ++y) {
            for (int x = 12; x < 300; ++x) {
                found.grey += At(x, y).g == 12 ? 1 : 0;
                found.brightest = std::max<int>(found.brightest, At(x, y).g);
            }
        }
        return found;
    };
    MenuToggle& limiter = FindRow<MenuToggle>(display, L"Frame limiter");
    EXPECT_EQ(limiter.GetPosition().y, 132.0f + 9 * 48.0f);
    for (BaseUIComponent* row :
         {static_cast<BaseUIComponent*>(&limiter), static_cast<BaseUIComponent*>(&FindRow(display, L"Apply change"))}) {
        EXPECT_GT(shades(*row).grey, 100);
        EXPECT_EQ(shades(*row).brightest, 64);
    }
    EXPECT_EQ(shades(FindRow<MenuToggle>(display, L"Vertical sync")).brightest, 255);
    // The field of view's value, white, is centred at 0.875 of the row: x 432.
    const float y = FindRow<MenuSlider>(display, L"Field of view").GetPosition().y + 24.0f;
    int left = 1280, right = 0;
    for (int x = 380; x < 470; ++x) {
        if (At(x, static_cast<int>(y)).r == 255) {
            left = std::min(left, x);
            right = std::max(right, x);
        }
    }
    EXPECT_NEAR((left + right) * 0.5f, 432.0f, 3.0f);
}

// A volume the file holds beyond a float's reach once multiplied for the
// page (3e38) is written out as the number it is, not as an infinity, and an
// "ssao" below -1 reads "off". Both pages lie in the bottom-left corner with
// rows 480 x 48 from x 12; the pictures are options_audio_beyond.png and
// options_graphics_beyond.png.
TEST_F(MenuDrawTest, SliderValuesBeyondTheirRangeAreWrittenOut)
{
    StartScreen(1280, 720, Grey);
    Settings& settings = Config::GetInstance().settings;
    settings.soundVolume = 3e38f;
    settings.musicVolume = -3e38f;
    settings.ssao = -2;
    ShowTitle();
    ClickRow(*Title().mainPanel, L"Options");
    MenuPanel& options = *Title().optionsPage;
    // The options page at `index`, opened and drawn alone.
    const auto drawPage = [&](const wchar_t* caption, size_t index, const char* picture) -> MenuPanel& {
        ClickRow(options, caption);
        MoveMouse(Vector2(1200.0f, 100.0f)); // over no row
        UiStep();
        const float clear[4] = {Grey.r, Grey.g, Grey.b, Grey.a};
        context->ClearRenderTargetView(view.get(), clear);
        DrawFrame();
        Save(picture);
        return static_cast<MenuPanel&>(*options.subPages.at(index));
    };
    // White text pixels in the row from x `from` to `to`.
    const auto whiteIn = [&](BaseUIComponent& row, int from, int to) {
        int white = 0;
        const int top = static_cast<int>(row.GetPosition().y);
        for (int y = top; y < top + 48; ++y)
            for (int x = from; x < to; ++x)
                white += At(x, y).r == 255 ? 1 : 0;
        return white;
    };

    // Forty digits are too wide for the value column (centred at x 432
    // between the arrows at 372 and 468): they are written in the small font
    // and reach well left of the "<", where an "inf" would not.
    MenuPanel& audio = drawPage(L"Audio", 2, "ui/options_audio_beyond");
    EXPECT_GT(whiteIn(FindRow<MenuSlider>(audio, L"Sound volume"), 240, 360), 100);
    EXPECT_GT(whiteIn(FindRow<MenuSlider>(audio, L"Music volume"), 240, 360), 100);

    // The quality's value stands between the arrows at x 324 and 468 of its
    // wide value column.
    ClickRow(audio, L"Back");
    MenuPanel& graphics = drawPage(L"Graphics", 4, "ui/options_graphics_beyond");
    EXPECT_GT(whiteIn(FindRow<MenuSlider>(graphics, L"Adaptive SSAO"), 360, 456), 50);
}

TEST_F(MenuDrawTest, ARowTextRunsPastItsRowOverEmptyScreenAndStepsDownOnlyBeforeAWidgetOrTheEdge)
{
    // 1280 x 720: a bottom-left page of one row, 480 x 48 at (12, 660), its
    // label from x 24 in font 1 (a 47-pixel line fits the row). The caption
    // is 505 pixels wide in font 1: past the row's end at 492.
    StartScreen(1280, 720, Grey);
    Painter& painter = *ui->painter;
    auto page = MenuPanel::CreateWithAlignment(&painter, false);
    MenuLabel* label = page->AddLabel(L"5 - Masochistic Blackout Permadeath");
    std::vector<ScreenArea> beside;
    page->besideAreas = &beside;
    // The font id of the page's one text, as laid out and drawn now.
    const auto fontDrawn = [&] {
        page->Update();
        PainterDrawLog log;
        painter.drawLog = &log;
        painter.BeginWithShader();
        page->Draw();
        painter.EndBatch();
        painter.drawLog = nullptr;
        for (size_t id = 0; id < painter.fonts.size() && log.texts.size() == 1; ++id)
            if (painter.fonts[id].get() == log.texts[0].font)
                return static_cast<int>(id);
        return -1;
    };

    EXPECT_EQ(fontDrawn(), 1) << "nothing beside the row";
    Capture();
    Save("ui/long_row_text");
    beside.push_back({600.0f, 0.0f, 700.0f, 650.0f}); // a widget beside the row, but above it
    EXPECT_EQ(fontDrawn(), 1);
    beside.push_back({541.0f, 690.0f, 700.0f, 720.0f}); // beside it, a margin (12) after the text's end at 529
    EXPECT_EQ(fontDrawn(), 1);
    beside.back().left = 540.0f; // less than a margin after it
    EXPECT_EQ(fontDrawn(), 0);

    // A text wider than the screen less its margins (1244 from x 24; three
    // captions are over 1500 in font 1) steps down too.
    beside.clear();
    label->text = label->text + L" " + label->text + L" " + label->text;
    EXPECT_EQ(fontDrawn(), 0);
}

} // namespace
} // namespace mirefell::testing
