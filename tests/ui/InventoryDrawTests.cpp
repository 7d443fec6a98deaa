// The inventory window and the automap drawn by the UIManager on the
// headless GPU at 1280 x 720 (u 48, m 12), over a grey background (64 in the
// target), with screenshots in test-output/: the grid at (776, 84), the map
// inset at (24, 84), 728 x 480, the player at (32, 32) facing +x. Points are
// worked out by hand from the layout; AutomapTests.cpp has the map's numbers.
#include <gtest/gtest.h>

#include <functional>

#include "UiFixture.h"
#include "gameplay/Inventory.h"
#include "gameplay/ItemMakers.h"
#include "gameplay/Player.h"
#include "gameplay/Weapons.h"
#include "platform/VirtualKey.h"
#include "shell/InventoryWindowFlag.h"
#include "ui/Automap.h"
#include "ui/DraggedItem.h"
#include "ui/InventoryModeButton.h"
#include "ui/InventoryModeLabel.h"
#include "ui/InventoryWindow.h"
#include "world/World.h"

namespace mirefell::testing
{
namespace
{

constexpr Color Grey{0.25f, 0.25f, 0.25f, 1.0f};

class InventoryDrawTest : public UiDrawTest
{
protected:
    // The items, the red key, the player at (32, 32) facing +x, the window
    // open and one update.
    void OpenWithItems()
    {
        shotgun = Weapons::MakeDoubleShotgun();
        Item* equipped = shotgun.get();
        player->inventory.AddItemAt(0, 0, std::move(shotgun));
        player->inventory.AddItemAt(2, 0, MakeArtifactBoots());
        player->inventory.AddItemAt(4, 6, MakeHealthCube());
        player->UseItem(equipped);
        player->hasRedKey = true;
        player->position = {32.0f, player->position.y, 32.0f};
        player->yaw = 0.0f;
        PressAndStep(KeyTab);
        ASSERT_TRUE(inventoryWindowOpen);
    }
    void DrawFrame(const Color& background = Grey)
    {
        StartScreen(1280, 720, background);
        ui->Draw();
        Capture();
    }
    // Whether some pixel of [left, right] x [top, bottom] passes.
    bool Any(int left, int top, int right, int bottom, const std::function<bool(const Rgba8&)>& test) const
    {
        for (int y = top; y <= bottom; ++y)
            for (int x = left; x <= right; ++x)
                if (test(At(x, y)))
                    return true;
        return false;
    }

    std::unique_ptr<Weapon> shotgun;
};

bool Near(const Rgba8& p, int r, int g, int b)
{
    return std::abs(p.r - r) <= 3 && std::abs(p.g - g) <= 3 && std::abs(p.b - b) <= 3;
}
bool IsWhite(const Rgba8& p)
{
    return p.r > 240 && p.g > 240 && p.b > 240;
}
bool IsYellow(const Rgba8& p)
{
    return p.r > 200 && p.g > 200 && p.b < 60;
}
bool IsMapGrey(const Rgba8& p) // (0.531, 0.531, 0.531)
{
    return Near(p, 135, 135, 135);
}

TEST_F(InventoryDrawTest, TheWindowAndTheMapOfThePausedLevelAt720p)
{
    OpenWithItems();
    PointAt(992, 396); // over the cube at (4, 6): its tooltip
    UiStep();
    DrawFrame();
    Save("inventory-automap-1280x720");

    // An empty cell: (0, 0, 0, 0.75) over 64 is 16, shifted 4 pixels in:
    // cell (9, 9) fills (1212, 520) to (1255, 563).
    EXPECT_TRUE(Near(At(1230, 540), 16, 16, 16));
    EXPECT_TRUE(Near(At(1211, 540), 64, 64, 64)) << "the gap left of the shifted fill";

    // The map: the inset darkened like an empty cell away from the lines;
    // room A's top edge along y 84 + 176 = 260 from x 324 to 580; the arrow's
    // tip at (24 + 364 + 9, 84 + 240); the random powerup's icon, 12 wide,
    // centred on (24 + 660, 84 + 232).
    EXPECT_TRUE(Near(At(124, 134), 16, 16, 16));
    EXPECT_TRUE(Near(At(24 + 727, 134), 16, 16, 16)) << "the inset's last column";
    EXPECT_TRUE(Near(At(24 + 728, 134), 64, 64, 64)) << "beyond the inset";
    EXPECT_TRUE(Any(440, 259, 460, 261, IsMapGrey));
    EXPECT_FALSE(Any(440, 250, 460, 256, IsMapGrey));
    EXPECT_TRUE(Any(392, 321, 398, 327, IsYellow));
    EXPECT_TRUE(Any(678, 310, 690, 322, [](const Rgba8& p) { return p.r > 200 && p.g > 120 && p.b < 30; }));
    EXPECT_FALSE(Any(678, 330, 690, 342, [](const Rgba8& p) { return p.r > 200 && p.g > 120 && p.b < 30; }));

    // The header above the inset (its top at 84 - 32 - 12 = 40) and the
    // legend below it (576), white text in font 0.
    EXPECT_TRUE(Any(24, 40, 300, 70, IsWhite));
    EXPECT_TRUE(Any(600, 40, 751, 70, IsWhite)) << "the mode, right-aligned on 752";
    EXPECT_TRUE(Any(64, 576, 400, 606, IsWhite));

    // The cube's tooltip: a black box whose right edge stands 10 pixels
    // left of the cube's corner (968, 372), centred on its y.
    EXPECT_TRUE(Near(At(957, 372), 0, 0, 0));
    EXPECT_TRUE(Near(At(958, 372), 64, 64, 64) || Near(At(958, 372), 16, 16, 16));
}

TEST_F(InventoryDrawTest, IconsCoverTheirCellsAndTheHeldItemFollowsTheMouse)
{
    WhiteTextures({"item_double_shotgun", "item_boots", "item_health_cube", "item_red_key", "item_blue_key",
                   "random_powerup", "mouse"});
    OpenWithItems();
    DrawFrame();
    Save("inventory-icons-1280x720");
    // The shotgun's icon covers (776, 84) to (871, 227); the ammunition strip
    // (20 high, black) runs along its bottom from x 776.
    EXPECT_TRUE(IsWhite(At(776, 84)));
    EXPECT_TRUE(IsWhite(At(871, 150)));
    EXPECT_TRUE(Near(At(778, 220), 0, 0, 0));
    EXPECT_TRUE(Near(At(778, 206), 255, 255, 255));
    // The red key slot at (1256 - 96, 36) is held: white; the blue one at
    // (1208, 36) only shows its shadow, 4 pixels in: 16.
    EXPECT_TRUE(IsWhite(At(1170, 50)));
    EXPECT_TRUE(Near(At(1230, 70), 16, 16, 16));
    EXPECT_TRUE(Near(At(1209, 37), 64, 64, 64));

    // Lifted and carried to (300, 600): drawn there with its top-left corner
    // at the mouse, 96 x 144, and its cells on the grid empty again.
    PointAt(800, 108);
    ClickAndStep(MouseButton::Left);
    PointAt(300, 500);
    UiStep();
    DrawFrame();
    EXPECT_TRUE(IsWhite(At(301, 501)));
    EXPECT_TRUE(IsWhite(At(395, 643)));
    EXPECT_TRUE(Near(At(790, 100), 16, 16, 16));
}

// With a hundred pages the label ("Page 1/100", as wide as "Page 1/201") is
// longer than the 100 pixels before "<": the buttons stand after it. Drawn
// once with the label alone and once with the buttons alone, the ink of the
// label (anything but the grey backdrop in the row above the grid, y 36 to
// 83) ends left of where the ink of "<" begins.
TEST_F(InventoryDrawTest, APageLabelOfManyPagesEndsBeforeThePageButtons)
{
    OpenWithItems();
    // With two pages the buttons keep their place 100 pixels in, "<" drawn
    // 2 pixels left of it.
    player->inventory.AddItemAt(0, Inventory::PageHeight, MakeBreastplate());
    UiStep();
    InventoryWindow& window = *ui->inventoryWindow;
    EXPECT_EQ(window.prevButton->GetPosition().x, 876.0f);

    player->inventory.AddItemAt(0, 99 * Inventory::PageHeight, MakeBreastplate());
    UiStep();
    ASSERT_EQ(window.PageLabelText(), L"Page 1/100");
    const auto inkColumns = [&](bool label) {
        window.pageLabel->visible = label;
        window.prevButton->visible = window.nextButton->visible = !label;
        DrawFrame();
        std::pair<int, int> columns{1280, -1};
        for (int x = 776; x < 1150; ++x)
            if (Any(x, 36, x, 83, [](const Rgba8& p) { return !Near(p, 64, 64, 64); }))
                columns = {std::min(columns.first, x), std::max(columns.second, x)};
        return columns;
    };
    const auto [labelLeft, labelRight] = inkColumns(true);
    Save("inventory-page-label-1280x720");
    const auto [buttonsLeft, buttonsRight] = inkColumns(false);
    Save("inventory-page-buttons-1280x720");
    EXPECT_GE(labelLeft, 776);
    EXPECT_GE(labelRight, 874) << "the label reaches where \"<\" usually stands";
    EXPECT_LT(labelRight, buttonsLeft) << "label x " << labelLeft << " to " << labelRight << ", buttons x "
                                       << buttonsLeft << " to " << buttonsRight;
    EXPECT_LT(buttonsRight, 1160) << "the buttons stay clear of the key slots";
    window.pageLabel->visible = true;
    DrawFrame();
    Save("inventory-many-pages-1280x720");
}

// Below the narrowest inset the map still draws, one pixel wide.
TEST_F(InventoryDrawTest, ANarrowWindowStillDrawsTheMap)
{
    OpenWithItems();
    StartScreen(400, 300, Grey);
    ASSERT_EQ(ui->automapViewport.width, 1.0f);
    EXPECT_NO_THROW(ui->Draw());
}

} // namespace
} // namespace mirefell::testing
