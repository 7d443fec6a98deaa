// The painter on the headless GPU, with screenshots in "test-output/": text in
// every font inside its measured box, rectangles exact to the pixel at full
// HD and 720p, the shadowed box's layers, alignment and outlines, the line
// batch through the automap inset, the debug lines and the profiler overlay.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "PainterFixture.h"
#include "render/Camera.h"
#include "render/DebugLines.h"
#include "render/UiProjection.h"
#include "shell/Profiler.h"

namespace mirefell::testing
{
namespace
{

constexpr Color White{1.0f, 1.0f, 1.0f, 1.0f};
constexpr Color Red{1.0f, 0.0f, 0.0f, 1.0f};
constexpr Color Green{0.0f, 1.0f, 0.0f, 1.0f};

// The box of pixels whose red channel is above the background's, within
// rows [top, bottom).
struct Ink
{
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1; // right and bottom inclusive
    bool Empty() const { return right < 0; }
};

class PainterDrawTest : public PainterFixture
{
protected:
    Ink InkIn(int top, int bottom, int background = 0) const
    {
        Ink ink;
        for (int y = std::max(0, top); y < std::min<int>(bottom, screenHeight); ++y)
            for (int x = 0; x < static_cast<int>(screenWidth); ++x)
                if (At(x, y).r > background) {
                    ink.left = std::min(ink.left, x);
                    ink.right = std::max(ink.right, x);
                    ink.top = std::min(ink.top, y);
                    ink.bottom = std::max(ink.bottom, y);
                }
        return ink;
    }
};

TEST_F(PainterDrawTest, TextInEveryFontStaysInsideItsMeasuredBox)
{
    StartScreen(1024, 300);
    const wchar_t* text = L"Quick mire, 42 jumps!";
    const float x = 10.0f;
    float y = 4.0f;
    struct Band
    {
        const SpriteFont* font;
        float top;
        Vector2 size;
    };
    std::vector<Band> bands;
    painter->BeginWithShader();
    for (const auto& font : painter->fonts) {
        bands.push_back({font.get(), y, font->MeasureString(text)});
        font->DrawString(painter->spriteBatch.get(), text, Vector2(x, y), White);
        y += font->GetLineSpacing() + 6.0f;
    }
    bands.push_back({painter->smallFont.get(), y, painter->smallFont->MeasureString(text)});
    painter->smallFont->DrawString(painter->spriteBatch.get(), text, Vector2(x, y), White);
    painter->EndBatch();
    Capture();
    Save("painter-fonts");

    for (const Band& band : bands) {
        const int top = static_cast<int>(band.top);
        const Ink ink = InkIn(top, top + static_cast<int>(band.size.y) + 5);
        ASSERT_FALSE(ink.Empty()) << band.size.y;
        EXPECT_EQ(band.size.y, band.font->GetLineSpacing());
        // Inside the measured box...
        EXPECT_GE(ink.left, 10);
        EXPECT_LT(ink.right, 10 + static_cast<int>(band.size.x));
        EXPECT_GE(ink.top, top);
        EXPECT_LT(ink.bottom, top + static_cast<int>(band.size.y));
        // ...and reaching its right edge: the measured width is the text's.
        EXPECT_GE(ink.right, 10 + static_cast<int>(band.size.x) - 2) << band.size.x;
        EXPECT_LE(ink.left, 10 + 4); // a glyph may start a few pixels into its cell
    }
}

TEST_F(PainterDrawTest, RectanglesAreExactToThePixelAtFullHdAnd720p)
{
    for (const auto& [w, h] : {std::pair{1920, 1080}, std::pair{1280, 720}}) {
        StartScreen(w, h);
        painter->BeginWithShader();
        // Truncated to (10, 20) 5 x 3, and to (w - 21, h - 16) 12 x 7: each
        // value on its own, toward zero.
        painter->FillRectangle({10.9f, 20.2f}, {5.7f, 3.99f}, Red);
        EXPECT_EQ(painter->lastRectangle, (PixelRectangle{10, 20, 5, 3}));
        painter->FillRectangle({w - 20.5f, h - 15.2f}, {12.9f, 7.6f}, Green);
        EXPECT_EQ(painter->lastRectangle, (PixelRectangle{w - 21, h - 16, 12, 7}));
        painter->EndBatch();
        Capture();
        if (w == 1280)
            Save("painter-rectangles-720p");

        EXPECT_EQ(At(10, 20).r, 255);
        EXPECT_EQ(At(14, 22).r, 255);
        for (const auto& [x, y] : {std::pair{9, 20}, {15, 20}, {10, 19}, {10, 23}})
            EXPECT_EQ(At(x, y).r, 0) << w << ": " << x << "," << y;
        EXPECT_EQ(At(w - 21, h - 16).g, 255);
        EXPECT_EQ(At(w - 10, h - 10).g, 255);
        for (const auto& [x, y] : {std::pair{w - 22, h - 16}, {w - 9, h - 10}, {w - 21, h - 17}, {w - 10, h - 9}})
            EXPECT_EQ(At(x, y).g, 0) << w << ": " << x << "," << y;
    }
}

TEST_F(PainterDrawTest, ShadowedBoxHasAFaintHaloAndATwoPixelBorder)
{
    painter->BeginWithShader();
    painter->DrawShadowedBox({100, 100}, {50, 20}, Color(0.0f, 0.0f, 1.0f, 1.0f));
    painter->EndBatch();
    Capture();
    const int halo = At(97, 97).r; // white at alpha 0.05 over black
    EXPECT_NEAR(halo, 13, 1);
    EXPECT_EQ(At(97, 97).b, halo);
    EXPECT_EQ(At(152, 122).r, halo);
    EXPECT_EQ(At(98, 98).b, 255);
    EXPECT_EQ(At(151, 121).b, 255);
    EXPECT_EQ(At(98, 98).r, 0);
    EXPECT_EQ(At(96, 96).r, 0);
    EXPECT_EQ(At(153, 123).r, 0);
    EXPECT_EQ(painter->lastRectangle, (PixelRectangle{98, 98, 54, 24}));
}

TEST_F(PainterDrawTest, AlignmentOutlineAndShadowsPlaceTheText)
{
    StartScreen(320, 180, Color(0.5f, 0.5f, 0.5f, 1.0f));
    const int grey = 128;
    const float width = painter->fonts[0]->MeasureString(L"Wq").x;
    painter->BeginWithShader();
    // Right-aligned at x 300, centred on y 40 (16 up for font 0).
    painter->DrawText(0, false, {300.4f, 40.0f}, L"Wq", White, 3, 2, false);
    // Centred at x 100 with an outline.
    painter->DrawText(0, false, {100.0f, 100.0f}, L"Wq", White, 2, 1, true);
    painter->EndBatch();
    Capture();
    Save("painter-alignment");

    const Ink right = InkIn(0, 80, grey);
    EXPECT_LT(right.right, 300);
    EXPECT_GE(right.right, 297);
    EXPECT_GE(right.left, static_cast<int>(300 - width) - 1);
    EXPECT_GE(right.top, 24);
    EXPECT_LT(right.bottom, 24 + 32);
    // The outline darkens pixels below and right of the text only.
    int darker = 0;
    for (int y = 100; y < 140; ++y)
        for (int x = 60; x < 140; ++x)
            darker += At(x, y).r < grey;
    EXPECT_GT(darker, 20);
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 320; ++x)
            ASSERT_GE(At(x, y).r, grey) << x << "," << y;
    const Ink centred = InkIn(90, 140, grey);
    EXPECT_NEAR((centred.left + centred.right) / 2.0, 100.0, 3.0);
}

TEST_F(PainterDrawTest, SmallTextHasAOnePixelShadow)
{
    StartScreen(320, 180, Color(0.5f, 0.5f, 0.5f, 1.0f));
    painter->BeginWithShader();
    painter->DrawSmallText({20.7f, 30.2f}, L"I", White, 1);
    painter->EndBatch();
    Capture();
    // The stem of "I": white pixels, and black ones one pixel right and down.
    const Ink ink = InkIn(0, 180, 200);
    ASSERT_FALSE(ink.Empty());
    EXPECT_GE(ink.left, 20);
    EXPECT_LT(At(ink.right + 1, ink.bottom + 1).r, 30);
}

TEST_F(PainterDrawTest, LineBatchDrawsThroughTheAutomapInsetAndFlushesLongLists)
{
    StartScreen(1280, 720);
    const UiProjection inset = ApplyUiProjection(*painter);
    context->RSSetViewports(1, &inset.viewport);
    LineBatch& lines = *painter->lineBatch;

    const uint64_t before = lines.DrawCallCount();
    lines.Draw(); // an empty list draws nothing
    EXPECT_EQ(lines.DrawCallCount(), before);

    // 1200 lines (2400 vertices, more than one fill) down the inset's left
    // side, then one across it 10.5 pixels below its top.
    for (int i = 0; i < 1200; ++i)
        lines.AddLine({0.5f + i * 0.1f, 20.0f}, {0.5f + i * 0.1f, 470.0f}, Green);
    lines.AddLine({0.0f, 10.5f}, {728.0f, 10.5f}, Red);
    lines.Draw();
    EXPECT_EQ(lines.DrawCallCount(), before + 2);
    lines.Draw(); // the list stays until its user clears it
    EXPECT_EQ(lines.DrawCallCount(), before + 4);
    context->RSSetViewports(1, &FrameViewport);
    Capture();
    Save("painter-automap-lines");

    // The inset is at (24, 84), 728 x 480.
    EXPECT_EQ(At(24, 94).r, 255);
    EXPECT_EQ(At(751, 94).r, 255);
    EXPECT_EQ(At(23, 94).r, 0);
    EXPECT_EQ(At(752, 94).r, 0);
    // The vertical lines fill inset x 0 to 120.4; those past x 102.9 (line
    // 1024 on) came in the second fill.
    EXPECT_EQ(At(24, 300).g, 255);
    EXPECT_EQ(At(24 + 110, 300).g, 255);
    EXPECT_EQ(At(24 + 125, 300).g, 0);
    lines.lines.clear();
}

TEST_F(PainterDrawTest, DebugLinesDrawWorldLinesWithTheCamera)
{
    DebugLines& debug = DebugLines::GetInstance();
    debug.Initialize();
    Camera camera; // at the origin looking down -Z
    camera.aspectRatio = 320.0f / 180.0f;
    camera.UpdateProjection();
    debug.Draw(camera); // nothing queued: nothing drawn
    Capture();
    EXPECT_TRUE(InkIn(0, 180).Empty());

    debug.AddLine({-100.0f, 0.01f, -5.0f}, {100.0f, 0.01f, -5.0f}, Red);
    debug.Draw(camera);
    Capture();
    const Ink ink = InkIn(0, 180);
    EXPECT_EQ(ink.left, 0);
    EXPECT_EQ(ink.right, 319);
    EXPECT_NEAR(ink.top, 89, 1);
    EXPECT_EQ(ink.top, ink.bottom);
    debug.Lines().clear();
    debug.Release();
}

TEST_F(PainterDrawTest, ProfilerOverlayDrawsItsLinesOnlyWhileVisible)
{
    StartScreen(1280, 720);
    Profiler& profiler = Profiler::GetInstance();
    profiler.ClearStatistics();
    profiler.AddSample(L"fps", 60.0f);
    profiler.AddSample(L"update time", 1.25f);
    profiler.painter = std::move(painter);
    Painter& overlay = static_cast<Painter&>(*profiler.painter);

    profiler.visible = false;
    profiler.Draw();
    Capture();
    EXPECT_TRUE(InkIn(0, 720).Empty());

    profiler.visible = true;
    profiler.Draw();
    Capture();
    Save("profiler-overlay");
    // Lines from (margin, margin) = (12, 12), one per 32 pixels, in name
    // order; "update time - 1.25, ..." is the longer one.
    const Ink first = InkIn(12, 44);
    const Ink second = InkIn(44, 76);
    EXPECT_GE(first.left, 12);
    EXPECT_GE(first.top, 12);
    EXPECT_GT(second.right, first.right);
    EXPECT_LT(second.bottom, 76);
    EXPECT_TRUE(InkIn(76, 720).Empty());
    EXPECT_NEAR(first.right, 12 + overlay.fonts[0]->MeasureString(profiler.GetStats().at(L"fps").line.c_str()).x, 2);

    profiler.visible = false;
    profiler.ClearStatistics();
    painter.reset(static_cast<Painter*>(profiler.painter.release()));
}

} // namespace
} // namespace mirefell::testing
