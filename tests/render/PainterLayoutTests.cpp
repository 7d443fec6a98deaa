// The painter's layout values and failures that need no GPU: font step, unit
// and margin by screen size, anchors, line heights, the font index rules, and
// the automap inset's projection.
#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

#include "render/Painter.h"
#include "render/UiProjection.h"
#include "shell/Screen.h"

namespace mirefell::testing
{
namespace
{

struct ScreenSize
{
    ScreenSize(int32_t w, int32_t h) : oldWidth(ScreenWidth), oldHeight(ScreenHeight)
    {
        ScreenWidth = w;
        ScreenHeight = h;
    }
    ~ScreenSize()
    {
        ScreenWidth = oldWidth;
        ScreenHeight = oldHeight;
    }
    int32_t oldWidth, oldHeight;
};

TEST(PainterLayout, StepUnitAndMarginFollowTheScreenSize)
{
    struct Case
    {
        int32_t w, h, step;
        float unit, margin;
    };
    const Case cases[] = {
        {1400, 1000, 2, 48, 12}, {1401, 1000, 3, 64, 16}, {1401, 999, 2, 48, 12},  {800, 680, 1, 36, 9},
        {1280, 720, 2, 48, 12},  {1920, 1080, 3, 64, 16}, {1400, 1050, 2, 48, 12}, {1024, 600, 1, 36, 9},
    };
    Painter painter;
    for (const Case& c : cases) {
        ScreenSize size(c.w, c.h);
        painter.UpdateScales();
        EXPECT_EQ(painter.fontStep, c.step) << c.w << "x" << c.h;
        EXPECT_EQ(painter.unitSize, Vector2(c.unit, c.unit)) << c.w << "x" << c.h;
        EXPECT_EQ(painter.margin, c.margin) << c.w << "x" << c.h;
    }
}

TEST(PainterLayout, AnchorsFollowTheKeypadFromTheTop)
{
    Painter painter;
    EXPECT_THROW(painter.GetAnchorPoint(5), std::out_of_range); // no layout yet
    {
        ScreenSize size(1280, 720);
        painter.UpdateScales();
        EXPECT_EQ(painter.GetAnchorPoint(5), Vector2(640, 360));
        EXPECT_EQ(painter.GetAnchorPoint(7), Vector2(0, 720));
        EXPECT_EQ(painter.GetAnchorPoint(3, 1.5f, 2.0f), Vector2(1281.5f, 2));
    }
    {
        ScreenSize size(1921, 1081); // halves stay exact
        painter.UpdateScales();
        EXPECT_EQ(painter.GetAnchorPoint(9, -10, -20), Vector2(1911, 1061));
        EXPECT_EQ(painter.GetAnchorPoint(5), Vector2(960.5f, 540.5f));
    }
    try {
        painter.GetAnchorPoint(10);
        FAIL();
    } catch (const std::out_of_range& error) {
        EXPECT_STREQ(error.what(), "invalid map<K, T> key");
    }
    EXPECT_THROW(painter.GetAnchorPoint(0), std::out_of_range);
}

TEST(PainterLayout, LineHeightsAreFixedAndOnlyForTheFourFonts)
{
    Painter painter;
    EXPECT_EQ(painter.GetLineHeight(0), 32.0f);
    EXPECT_EQ(painter.GetLineHeight(1), 47.0f);
    EXPECT_EQ(painter.GetLineHeight(2), 63.0f);
    EXPECT_EQ(painter.GetLineHeight(3), 94.0f);
    EXPECT_THROW(painter.GetLineHeight(4), std::out_of_range);
    EXPECT_THROW(painter.GetLineHeight(-1), std::out_of_range);
}

TEST(PainterLayout, TextInAFontThePainterDoesNotHoldIsRefused)
{
    // Without Initialize (or after Release) there are no fonts: both an
    // unscaled and a scaled draw name an index outside the list.
    Painter painter;
    try {
        painter.DrawText(0, false, {0, 0}, L"x", Color(), 1, 1, false);
        FAIL();
    } catch (const std::out_of_range& error) {
        EXPECT_STREQ(error.what(), "invalid vector<T> subscript");
    }
    EXPECT_THROW(painter.DrawText(1, true, {0, 0}, L"x", Color(), 1, 1, false), std::out_of_range);
}

// The row vector (x, y, 0, 1) times m.
Vector4 Project(float x, float y, const Matrix& m)
{
    return {x * m.m[0][0] + y * m.m[1][0] + m.m[3][0], x * m.m[0][1] + y * m.m[1][1] + m.m[3][1],
            x * m.m[0][2] + y * m.m[1][2] + m.m[3][2], x * m.m[0][3] + y * m.m[1][3] + m.m[3][3]};
}

TEST(UiProjection, InsetAndProjectionForTheAutomap)
{
    const UiProjection inset = MakeUiProjection(1280, 48, 12);
    EXPECT_EQ(inset.viewport.topLeftX, 24.0f);
    EXPECT_EQ(inset.viewport.topLeftY, 84.0f);
    EXPECT_EQ(inset.viewport.width, 728.0f);
    EXPECT_EQ(inset.viewport.height, 480.0f);
    // (0, 0) is the inset's top-left corner in clip space, (728, 480) its
    // bottom-right.
    const Vector4 topLeft = Project(0, 0, inset.projection);
    const Vector4 bottomRight = Project(728, 480, inset.projection);
    EXPECT_FLOAT_EQ(topLeft.x, -1.0f);
    EXPECT_FLOAT_EQ(topLeft.y, 1.0f);
    EXPECT_FLOAT_EQ(bottomRight.x, 1.0f);
    EXPECT_FLOAT_EQ(bottomRight.y, -1.0f);
    EXPECT_FLOAT_EQ(topLeft.z, 0.0f);
}

TEST(UiProjection, NarrowScreensKeepAOnePixelInset)
{
    // 414 = 10 x 36 + 6 x 9: the formula's width reaches zero here.
    for (int32_t width : {414, 400, 100}) {
        const UiProjection inset = MakeUiProjection(width, 36, 9);
        EXPECT_EQ(inset.viewport.width, 1.0f) << width;
        for (float value : inset.projection.m[0])
            EXPECT_TRUE(std::isfinite(value)) << width;
        EXPECT_FLOAT_EQ(inset.projection.m[0][0], 2.0f);
    }
    EXPECT_EQ(MakeUiProjection(415, 36, 9).viewport.width, 1.0f);
    EXPECT_EQ(MakeUiProjection(416, 36, 9).viewport.width, 2.0f);
}

} // namespace
} // namespace mirefell::testing
