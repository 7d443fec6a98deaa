// The UIManager over a level with no GPU: the Inventory and Escape keys
// between play, the inventory and the in-game menu; the notification
// countdown by state; the HUD list a level load makes; the ways back to the
// title; the automap inset at two screen sizes.
#include <gtest/gtest.h>

#include <filesystem>

#include "UiFixture.h"
#include "gameplay/Player.h"
#include "platform/VirtualKey.h"
#include "shell/InventoryWindowFlag.h"
#include "shell/LevelBannerFlag.h"
#include "shell/Screen.h"
#include "shell/TitleSubPageFlag.h"
#include "ui/AmmoBar.h"
#include "ui/ArmorBar.h"
#include "ui/Automap.h"
#include "ui/Crosshair.h"
#include "ui/DeathScreen.h"
#include "ui/DraggedItem.h"
#include "ui/HealthBar.h"
#include "ui/InventoryWindow.h"
#include "ui/LevelNotification.h"
#include "ui/LevelTimer.h"
#include "ui/MonsterHealthBar.h"
#include "ui/UsePopup.h"

namespace mirefell::testing
{
namespace
{

// Stands in for the in-game menu: showing it requests the menu state and
// hiding it play, as the menu does; it counts its updates.
class RecordingMenu final : public BaseUIComponent
{
public:
    RecordingMenu() : BaseUIComponent(nullptr) { visible = false; }
    void Show() override
    {
        visible = true;
        GameStateManager::GetInstance().Request(GameState::IngameMenu);
    }
    void Hide() override
    {
        visible = false;
        GameStateManager::GetInstance().Request(GameState::Playing);
    }
    void Update() override { ++updates; }
    int updates = 0;
};

class UIManagerTest : public UiTest
{
protected:
    RecordingMenu& InstallMenu()
    {
        auto menu = std::make_unique<RecordingMenu>();
        RecordingMenu& raw = *menu;
        ui->ingameMenu = std::move(menu);
        return raw;
    }
};

TEST_F(UIManagerTest, EscapeClosesAnOpenInventoryFirstThenOpensAndClosesTheInGameMenu)
{
    RecordingMenu& menu = InstallMenu();
    Input& input = Input::GetInstance();
    ASSERT_EQ(input.mouseMode, Input::MouseModeRelative);

    PressAndStep(KeyTab); // Inventory
    EXPECT_TRUE(inventoryWindowOpen);
    EXPECT_EQ(input.mouseMode, Input::MouseModeAbsolute);

    PressAndStep(KeyEscape);
    EXPECT_FALSE(inventoryWindowOpen);
    EXPECT_EQ(input.mouseMode, Input::MouseModeRelative);
    EXPECT_EQ(State(), GameState::Playing);
    EXPECT_FALSE(menu.visible);
    EXPECT_EQ(menu.updates, 0);

    PressAndStep(KeyEscape);
    EXPECT_EQ(State(), GameState::IngameMenu);
    EXPECT_TRUE(menu.visible);
    EXPECT_EQ(menu.updates, 1); // once in the step that opened it

    UiStep();
    EXPECT_EQ(menu.updates, 2);
    PressAndStep(KeyEscape);
    EXPECT_EQ(State(), GameState::Playing);
    EXPECT_FALSE(menu.visible);
    EXPECT_EQ(menu.updates, 3); // the step's own update, before Escape closed it
}

TEST_F(UIManagerTest, TheInventoryKeyDoesNothingWhileThePlayerIsDead)
{
    player->dead = true;
    PressAndStep(KeyTab);
    EXPECT_FALSE(inventoryWindowOpen);

    player->dead = false;
    PressAndStep(KeyTab);
    ASSERT_TRUE(inventoryWindowOpen);
    player->dead = true;
    PressAndStep(KeyTab);
    EXPECT_TRUE(inventoryWindowOpen);
    EXPECT_EQ(Input::GetInstance().mouseMode, Input::MouseModeAbsolute);
}

TEST_F(UIManagerTest, MessagesCountDownOnlyInPlayAlsoWithTheInventoryOpen)
{
    auto& messages = NotificationBox::GetMessages();
    NotificationBox::AddMessage(messages, L"long", 5);
    NotificationBox::AddMessage(messages, L"short", 2);

    inventoryWindowOpen = true;
    UiStep();
    EXPECT_EQ(messages.front().ticks, 1);
    EXPECT_EQ(messages.back().ticks, 4);
    UiStep(); // "short" reaches 0 and goes
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages.front().ticks, 3);

    for (GameState paused : {GameState::LevelComplete, GameState::IngameMenu}) {
        GameStateManager::GetInstance().Request(paused);
        UiStep();
        UiStep();
        EXPECT_EQ(messages.front().ticks, 3);
    }
}

TEST_F(UIManagerTest, ALevelLoadMakesTheHudInDrawOrderAndEmptiesTheMessages)
{
    NotificationBox::AddMessage(NotificationBox::GetMessages(), L"from the last level", 300);
    GameSaveManager::GetInstance().current.levelId = "descent";
    showLevelBanner = true;
    StartLevel();

    EXPECT_TRUE(NotificationBox::GetMessages().empty());
    const std::vector<BaseUIComponent*> expected = {
        ui->monsterHealthBar, ui->healthBar,   ui->armorBar,   ui->ammoBar,         ui->notificationBox,
        ui->usePopup,         ui->crosshair,   ui->automap,    ui->inventoryWindow, ui->levelNotification,
        ui->levelTimer,       ui->deathScreen, ui->draggedItem};
    ASSERT_EQ(ui->hud.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(ui->hud[i].get(), expected[i]) << i;
        EXPECT_EQ(ui->hud[i]->context, world.get()) << i;
    }
    EXPECT_FALSE(ui->usePopup->visible);
    EXPECT_TRUE(ui->crosshair->visible);
    EXPECT_TRUE(ui->automap->visible);
    EXPECT_FALSE(ui->inventoryWindow->visible);
    EXPECT_FALSE(ui->draggedItem->visible);

    // The banner names the level and takes the flag, so a restart shows none.
    EXPECT_TRUE(ui->levelNotification->visible);
    EXPECT_EQ(ui->levelNotification->line1, L"Level 2");
    EXPECT_FALSE(showLevelBanner);
    StartLevel();
    EXPECT_FALSE(ui->levelNotification->visible);
}

TEST_F(UIManagerTest, SaveAndExitAndTheEndOfTheGameReturnToTheTitleWithTheSlotsReread)
{
    GameSaveManager& saves = GameSaveManager::GetInstance();
    saves.current.slot = 3;
    saves.current.levelId = "mouth"; // the last level
    titleSubPageOpen = true;
    std::filesystem::remove(saves.SlotPath(3));

    ui->SaveAndExit();
    EXPECT_TRUE(std::filesystem::exists(saves.SlotPath(3)));
    EXPECT_TRUE(saves.slots.contains(3)); // the title lists the save just written
    EXPECT_FALSE(titleSubPageOpen);
    EXPECT_EQ(State(), GameState::MainMenu);

    // Finishing the last level runs the end-of-game callback: the cursor
    // comes back for the menus.
    GameStateManager::GetInstance().Request(GameState::LevelComplete);
    Input::GetInstance().SetMouseMode(Input::MouseModeRelative);
    saves.AdvanceToNextLevel();
    EXPECT_EQ(State(), GameState::MainMenu);
    EXPECT_EQ(Input::GetInstance().mouseMode, Input::MouseModeAbsolute);
}

TEST_F(UIManagerTest, TheAutomapInsetFollowsTheScreenSize)
{
    Resize(1920, 1080);
    EXPECT_EQ(ui->automapViewport.topLeftX, 32.0f);
    EXPECT_EQ(ui->automapViewport.topLeftY, 112.0f);
    EXPECT_EQ(ui->automapViewport.width, 1184.0f);
    EXPECT_EQ(ui->automapViewport.height, 640.0f);

    Resize(1280, 720);
    EXPECT_EQ(ui->automapViewport.topLeftX, 24.0f);
    EXPECT_EQ(ui->automapViewport.topLeftY, 84.0f);
    EXPECT_EQ(ui->automapViewport.width, 728.0f);
    EXPECT_EQ(ui->automapViewport.height, 480.0f);
    EXPECT_EQ(ui->automapViewport.maxDepth, 1.0f);
}

} // namespace
} // namespace mirefell::testing
