// An item's tooltip drawn by the painter on the headless GPU: the box's
// edges beside the anchor, its clamp below twice the margin, and the lines
// centred inside it in their colours, each with its shadow.
#include <gtest/gtest.h>

#include <algorithm>

#include "gameplay/Item.h"
#include "gameplay/ItemMakers.h"
#include "gameplay/Weapons.h"
#include "render/PainterFixture.h"

namespace mirefell::testing
{
namespace
{

class ItemTooltipDrawTest : public PainterFixture
{
protected:
    // Grey, so the black box shows.
    void SetUp() override
    {
        RenderFixture::SetUp();
        StartScreen(640, 360, Color(0.25f, 0.25f, 0.25f, 1.0f));
    }
    bool IsBox(int x, int y) const
    {
        const Rgba8 p = At(x, y);
        return p.r == 0 && p.g == 0 && p.b == 0;
    }
};

TEST_F(ItemTooltipDrawTest, BoxSitsLeftOfTheAnchorAndHoldsTheLines)
{
    const auto hammer = Weapons::MakeHammer();
    const auto lines = Item::GetTooltipLines(*hammer, false);
    ASSERT_EQ(lines.size(), 6u);
    float widest = 0.0f;
    for (const auto& line : lines)
        widest = std::max(widest, painter->fonts[0]->MeasureString(line.text.c_str()).x);
    const int width = static_cast<int>(widest + 20.0f);
    const int height = 6 * 32 + 20;

    PainterDrawLog log;
    painter->drawLog = &log;
    painter->BeginWithShader();
    Item::DrawTooltip(painter.get(), *hammer, false, {400.0f, 200.0f});
    painter->EndBatch();
    painter->drawLog = nullptr;
    Capture();
    Save("item-tooltip");

    // Every line has its shadow (black on the black box, so only the draw
    // says so).
    ASSERT_EQ(log.texts.size(), 6u);
    for (const PainterDrawLog::Text& text : log.texts)
        EXPECT_TRUE(text.outlined) << "line " << text.position.y;

    // Right edge 10 left of the anchor; centred on it: top 200 - 106 = 94.
    const int right = 390, top = 94, left = right - width, bottom = top + height;
    EXPECT_TRUE(IsBox(right - 1, top));
    EXPECT_FALSE(IsBox(right, top));
    EXPECT_FALSE(IsBox(right - 1, top - 1));
    EXPECT_TRUE(IsBox(left, bottom - 1));
    EXPECT_FALSE(IsBox(left - 1, bottom - 1));
    EXPECT_FALSE(IsBox(left, bottom));
    EXPECT_EQ(painter->lastRectangle, (PixelRectangle{left, top, width, height}));

    // The name, cyan, centred in the first line (10 below the top).
    int cyanLeft = 640, cyanRight = -1;
    for (int y = top + 10; y < top + 42; ++y)
        for (int x = left; x < right; ++x) {
            const Rgba8 p = At(x, y);
            if (p.g > 200 && p.b > 200 && p.r < 40) {
                cyanLeft = std::min(cyanLeft, x);
                cyanRight = std::max(cyanRight, x);
            }
        }
    ASSERT_GE(cyanRight, 0);
    EXPECT_NEAR((cyanLeft + cyanRight) / 2.0, (left + right) / 2.0, 3.0);
    // The last line, "Right-click to equip", is cyan too, 5 lines lower.
    bool lastLineCyan = false;
    for (int y = top + 10 + 5 * 32; y < top + 10 + 6 * 32; ++y)
        for (int x = left; x < right; ++x)
            lastLineCyan = lastLineCyan || (At(x, y).g > 200 && At(x, y).r < 40);
    EXPECT_TRUE(lastLineCyan);
}

TEST_F(ItemTooltipDrawTest, BoxNeverStartsAboveTwiceTheMargin)
{
    painter->BeginWithShader();
    Item::DrawTooltip(painter.get(), *MakeHealthCube(), false, {300.0f, 20.0f});
    painter->EndBatch();
    Capture();
    // Margin 9 at 640 x 360: the top is row 18, not 20 - 106.
    EXPECT_EQ(painter->lastRectangle.y, 18);
    EXPECT_TRUE(IsBox(289, 18));
    EXPECT_FALSE(IsBox(289, 17));
}

// A name read from a save may hold line breaks: it stays on its own line, in
// the box, and the line below keeps its white.
TEST_F(ItemTooltipDrawTest, ANameWithLineBreaksStaysOnItsLine)
{
    auto cube = MakeHealthCube();
    cube->name = L"Health\nCube\n\n\n\n\n\n\n\nX\r\tY";
    painter->BeginWithShader();
    Item::DrawTooltip(painter.get(), *cube, false, {400.0f, 200.0f});
    painter->EndBatch();
    Capture();
    Save("item-tooltip-line-breaks");

    // Six lines: the box spans rows 94 to 306, the name's line rows 104 to
    // 136, the white category line the 32 rows below it.
    const PixelRectangle box = painter->lastRectangle;
    ASSERT_EQ(box.y, 94);
    ASSERT_EQ(box.height, 6 * 32 + 20);
    const auto cyanIn = [&](int y0, int y1) {
        int count = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = 0; x < 640; ++x)
                count += At(x, y).g > 200 && At(x, y).b > 200 && At(x, y).r < 40 ? 1 : 0;
        return count;
    };
    EXPECT_GT(cyanIn(104, 136), 0) << "the name";
    EXPECT_EQ(cyanIn(136, 168), 0) << "the category line";
    EXPECT_EQ(cyanIn(box.y + box.height, 360), 0) << "below the box";
    // "Health Cube" and the rest side by side: wider than "Health" alone.
    int left = 640, right = -1;
    for (int y = 104; y < 136; ++y)
        for (int x = 0; x < 640; ++x)
            if (At(x, y).g > 200 && At(x, y).b > 200 && At(x, y).r < 40) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    EXPECT_GT(right - left, painter->fonts[0]->MeasureString(L"Health Cube").x - 4);
}

} // namespace
} // namespace mirefell::testing
