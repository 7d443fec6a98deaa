// The inventory window on the player's real inventory, with the mouse fed
// as the message loop would, at 1280 x 720 (u 48, m 12): the grid's top-left
// corner is (1280 - 24 - 480, 36 + 48) = (776, 84), so cell (c, r) of the
// page is centred on (800 + 48c, 108 + 48r). Lifting, dropping and swapping,
// the use of items by right click, the page buttons and the layout at
// 1920 x 1080.
#include <gtest/gtest.h>

#include "UiFixture.h"
#include "gameplay/ItemMakers.h"
#include "gameplay/Player.h"
#include "gameplay/Weapons.h"
#include "platform/VirtualKey.h"
#include "shell/InventoryWindowFlag.h"
#include "support/SoundTestSupport.h"
#include "ui/DraggedItem.h"
#include "ui/InventoryModeButton.h"
#include "ui/InventoryModeLabel.h"
#include "ui/InventoryWindow.h"

namespace mirefell::testing
{
namespace
{

class InventoryWindowTest : public UiTest
{
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        ASSERT_TRUE(player->inventory.GetItems().empty());
    }

    // Puts the item on the grid and returns it (the inventory owns it).
    template <class Made> Item* Place(int32_t x, int32_t y, Made made)
    {
        Item* item = made.get();
        player->inventory.AddItemAt(x, y, std::move(made));
        return item;
    }
    void Open()
    {
        PressAndStep(KeyTab);
        ASSERT_TRUE(ui->inventoryWindow->visible);
    }
    // A press of the button over cell (c, r) of the page shown.
    void ClickCell(int32_t c, int32_t r, MouseButton button = MouseButton::Left)
    {
        PointAt(800.0f + 48.0f * c, 108.0f + 48.0f * r);
        ClickAndStep(button);
    }
    Item* At(int32_t c, int32_t row)
    {
        Item* item = nullptr;
        return player->inventory.ItemAtCell(c, row, item) ? item : nullptr;
    }
};

TEST_F(InventoryWindowTest, ALifted2x3ItemSwapsWithExactlyOneItemAndIsRefusedOverTwo)
{
    Item* hammer = Place(0, 0, Weapons::MakeHammer());         // cells (0-1, 0-2)
    Item* shotgun = Place(2, 0, Weapons::MakeDoubleShotgun()); // cells (2-3, 0-2)
    Item* cube = Place(4, 1, MakeHealthCube());                // cell (4, 1)
    player->UseItem(shotgun);
    ASSERT_EQ(player->equippedItem, shotgun);
    Open();

    ClickCell(1, 2); // anywhere on the hammer lifts it
    EXPECT_EQ(ui->draggedItem->GetItem(), hammer);
    EXPECT_TRUE(ui->draggedItem->visible);
    EXPECT_EQ(At(0, 0), nullptr);
    EXPECT_EQ(hammer->x, 0); // it keeps its old cell
    EXPECT_EQ(hammer->y, 0);

    // Columns 3-4 of rows 0-2: the shotgun's and the cube's cells.
    ClickCell(3, 0);
    EXPECT_EQ(ui->draggedItem->GetItem(), hammer);
    EXPECT_EQ(At(3, 0), shotgun);
    EXPECT_EQ(At(4, 1), cube);
    EXPECT_EQ(player->equippedItem, shotgun);

    // Exactly over the shotgun: they change places, and the shotgun, now in
    // the hand, is put away.
    ClickCell(2, 0);
    EXPECT_EQ(ui->draggedItem->GetItem(), shotgun);
    EXPECT_EQ(At(2, 0), hammer);
    EXPECT_EQ(At(3, 2), hammer);
    EXPECT_EQ(player->equippedItem, nullptr);

    // Off the page's bottom (rows 8-10) or the grid's right edge: refused.
    ClickCell(0, 8);
    ClickCell(9, 0);
    EXPECT_EQ(ui->draggedItem->GetItem(), shotgun);

    // Closing the window hands it back: its old cell is the hammer's now,
    // so it goes to the first free place.
    PressAndStep(KeyTab);
    EXPECT_FALSE(ui->draggedItem->visible);
    EXPECT_EQ(ui->draggedItem->GetItem(), nullptr);
    EXPECT_EQ(At(0, 0), shotgun);
    EXPECT_EQ(player->inventory.GetItems().size(), 3u);
}

TEST_F(InventoryWindowTest, RightClicksEquipAndPutAwayWeaponsAndUseUpConsumables)
{
    TempDir sounds;
    RecordingAudioDevice* device = StartRecordingSound(SoundManager::GetInstance(), sounds);
    Item* shotgun = Place(0, 0, Weapons::MakeDoubleShotgun());
    Item* boots = Place(2, 0, MakeArtifactBoots());
    Place(4, 0, MakeHealthCube());
    player->UseItem(shotgun);
    Open();

    ClickCell(1, 1, MouseButton::Right); // the equipped weapon
    EXPECT_EQ(player->equippedItem, nullptr);
    ClickCell(0, 0, MouseButton::Right);
    EXPECT_EQ(player->equippedItem, shotgun);
    ClickCell(2, 0, MouseButton::Right);
    EXPECT_EQ(player->artifacts[Player::ArtifactBoots], boots);
    ClickCell(3, 1, MouseButton::Right);
    EXPECT_EQ(player->artifacts[Player::ArtifactBoots], nullptr);

    ClickCell(4, 0, MouseButton::Right);
    EXPECT_EQ(player->health, 2.0f * player->maxHealth);
    EXPECT_EQ(At(4, 0), nullptr);
    EXPECT_EQ(player->inventory.GetItems().size(), 2u);
    EXPECT_EQ(device->CountStarted("inventory_click.wav"), 5u);

    // A right click on an empty cell does nothing.
    ClickCell(8, 8, MouseButton::Right);
    EXPECT_EQ(device->CountStarted("inventory_click.wav"), 5u);
    SoundManager::GetInstance().Reset();
}

TEST_F(InventoryWindowTest, HoveringShowsTheTooltipUnlessThePressLiftsTheItem)
{
    Item* shotgun = Place(3, 2, Weapons::MakeDoubleShotgun());
    player->UseItem(shotgun);
    Open();
    PointAt(800.0f + 48 * 4, 108.0f + 48 * 4);
    UiStep();
    EXPECT_EQ(ui->inventoryWindow->hoveredItem, shotgun);
    EXPECT_EQ(ui->inventoryWindow->tooltipAnchor, Vector2(776 + 144, 84 + 96));
    EXPECT_TRUE(ui->inventoryWindow->hoveredItemActive);

    ClickAndStep(MouseButton::Left);
    EXPECT_EQ(ui->inventoryWindow->hoveredItem, nullptr);
    EXPECT_EQ(ui->draggedItem->GetItem(), shotgun);
    // Put back where it lay, partly over its own former cells.
    ClickCell(3, 1);
    EXPECT_EQ(At(3, 1), shotgun);
    EXPECT_FALSE(ui->draggedItem->visible);
}

TEST_F(InventoryWindowTest, PageButtonsShowWithASecondPageAndKeepThePageAcrossClosing)
{
    Open();
    EXPECT_FALSE(ui->inventoryWindow->pageLabel->visible);
    EXPECT_FALSE(ui->inventoryWindow->nextButton->visible);

    Place(0, 10, MakeHealthCube()); // opens page 2
    UiStep();
    InventoryWindow& window = *ui->inventoryWindow;
    ASSERT_TRUE(window.pageLabel->visible);
    EXPECT_EQ(window.PageLabelText(), L"Page 1/2");
    // "<" at (776 + 100, 84 - 48 + 12), ">" 16 to its right, 16 x 24 each.
    EXPECT_EQ(window.prevButton->position, Vector2(876, 48));
    EXPECT_EQ(window.nextButton->position, Vector2(892, 48));
    EXPECT_EQ(window.nextButton->size, Vector2(16, 24));

    PointAt(880, 50);
    ClickAndStep(MouseButton::Left); // "<" is greyed and inert on the first page
    EXPECT_EQ(window.page, 0);
    PointAt(900, 60);
    ClickAndStep(MouseButton::Left);
    EXPECT_EQ(window.page, 1);
    EXPECT_EQ(window.PageLabelText(), L"Page 2/2");
    ClickAndStep(MouseButton::Left); // ">" is inert on the last
    EXPECT_EQ(window.page, 1);
    ClickCell(0, 0, MouseButton::Right); // row 10: the item on page 2
    EXPECT_EQ(At(0, 10), nullptr);

    PressAndStep(KeyTab);
    Open();
    EXPECT_EQ(window.page, 1);
}

// 1920 x 1080 (u 64, m 16): the grid covers x 1248 to 1888 and y 112 to 752;
// the label (1248, 48), 192 x 64; "<" (1348, 64) and ">" (1364, 64), 16 x
// 32. 1280 x 720: x 776 to 1256, y 84 to 564.
TEST_F(InventoryWindowTest, TheGridAndItsControlsStandWhereTheLayoutPutsThem)
{
    Place(0, 10, MakeHealthCube());
    Resize(1920, 1080);
    Open();
    InventoryWindow& window = *ui->inventoryWindow;
    EXPECT_EQ(window.GetPosition(), Vector2(1248, 112));
    EXPECT_EQ(window.GetPosition() + window.GetSize(), Vector2(1888, 752));
    EXPECT_EQ(window.pageLabel->position, Vector2(1248, 48));
    EXPECT_EQ(window.pageLabel->size, Vector2(192, 64));
    EXPECT_EQ(window.prevButton->position, Vector2(1348, 64));
    EXPECT_EQ(window.nextButton->position, Vector2(1364, 64));
    EXPECT_EQ(window.nextButton->size, Vector2(16, 32));

    Resize(1280, 720);
    EXPECT_EQ(window.GetPosition(), Vector2(776, 84));
    EXPECT_EQ(window.GetPosition() + window.GetSize(), Vector2(1256, 564));
}

} // namespace
} // namespace mirefell::testing
