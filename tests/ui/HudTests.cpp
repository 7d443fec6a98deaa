// The HUD widgets' behaviour over a level, with no GPU: the counters of the
// number widgets, the ammunition on a weapon change, the monster bar's
// share, the use prompt's key name, the banner's fade, the level clock and
// the death screen's blink.
#include <gtest/gtest.h>

#include "UiFixture.h"
#include "gameplay/Door.h"
#include "gameplay/FirstPersonController.h"
#include "gameplay/Player.h"
#include "gameplay/Weapons.h"
#include "shell/Config.h"
#include "shell/KeybindManager.h"
#include "shell/LevelBannerFlag.h"
#include "support/AllocationCounter.h"
#include "ui/AmmoBar.h"
#include "ui/ArmorBar.h"
#include "ui/DeathScreen.h"
#include "ui/HealthBar.h"
#include "ui/LevelNotification.h"
#include "ui/LevelTimer.h"
#include "ui/MonsterHealthBar.h"
#include "ui/UsePopup.h"

namespace mirefell::testing
{
namespace
{

class HudTest : public UiTest
{
protected:
    void Steps(int count)
    {
        for (int i = 0; i < count; ++i)
            ui->Update();
    }
    Weapon* Give(std::unique_ptr<Weapon> weapon)
    {
        Weapon* raw = weapon.get();
        player->inventory.AddItem(std::move(weapon));
        return raw;
    }
};

TEST_F(HudTest, HealthAndArmourCountTowardThePlayerByOnePerStep)
{
    ASSERT_EQ(player->health, 100.0f);
    Steps(1);
    EXPECT_EQ(ui->healthBar->counter.Shown(), 1);
    Steps(98);
    EXPECT_EQ(ui->healthBar->counter.Shown(), 99);
    Steps(1);
    EXPECT_EQ(ui->healthBar->counter.Shown(), 100);

    player->health = 60.0f; // one hit
    Steps(10);
    EXPECT_EQ(ui->healthBar->counter.Shown(), 90);
    player->health = 85.5f; // a pickup during the count: on from 90
    Steps(4);
    EXPECT_EQ(ui->healthBar->counter.Shown(), 86);
    Steps(1);
    EXPECT_EQ(ui->healthBar->counter.displayed, 85.5f); // never past the value
    EXPECT_EQ(ui->healthBar->iconName, "hud_health");

    player->armor = 2.5f;
    Steps(2);
    EXPECT_EQ(ui->armorBar->counter.Shown(), 2);
    Steps(1);
    EXPECT_EQ(ui->armorBar->counter.displayed, 2.5f);

    GameSaveManager::GetInstance().current.permadeath = true;
    Steps(1);
    EXPECT_EQ(ui->healthBar->iconName, "hud_permadeath");
}

TEST_F(HudTest, AWeaponChangeShowsItsAmmunitionAtOnceAndFiringCountsDown)
{
    Weapon* shotgun = Give(Weapons::MakeDoubleShotgun());
    Weapon* blaster = Give(Weapons::MakeHyperBlaster());
    Weapon* hammer = Give(Weapons::MakeHammer());
    player->inventory.AddAmmo(AmmoType::Shells, 20 - player->inventory.GetAmmo(AmmoType::Shells));
    player->inventory.AddAmmo(AmmoType::Cells, 75 - player->inventory.GetAmmo(AmmoType::Cells));

    // A HUD made while a weapon is equipped starts from its ammunition.
    player->UseItem(shotgun);
    ui->ammoBar->Initialize(world.get());
    EXPECT_EQ(ui->ammoBar->counter.last, 20.0f);

    Steps(1);
    EXPECT_EQ(ui->ammoBar->counter.Shown(), 20);
    player->inventory.RemoveAmmo(AmmoType::Shells, 2);
    Steps(1);
    EXPECT_EQ(ui->ammoBar->counter.Shown(), 19);
    Steps(1);
    EXPECT_EQ(ui->ammoBar->counter.Shown(), 18);

    player->UseItem(blaster);
    Steps(1);
    EXPECT_EQ(ui->ammoBar->counter.Shown(), 75);

    // The hammer uses none: the counter keeps its state.
    player->UseItem(hammer);
    player->inventory.RemoveAmmo(AmmoType::Cells, 5);
    Steps(3);
    EXPECT_EQ(ui->ammoBar->counter.Shown(), 75);
}

TEST_F(HudTest, TheMonsterBarShowsTheTargetsShareInTwentieths)
{
    TestMonster monster(world.get(), Vector3(40.0f, 8.0f, 40.0f), Vector3(2.0f, 4.0f, 2.0f));
    monster.maxHealth = 100.0f;
    monster.health = 49.0f;
    player->crosshairMonster = &monster;
    Steps(1);
    EXPECT_TRUE(ui->monsterHealthBar->visible);
    EXPECT_EQ(ui->monsterHealthBar->value, 9); // trunc(9.8): ten segments lit

    monster.health = 100.0f;
    Steps(1);
    EXPECT_EQ(ui->monsterHealthBar->value, 20);

    // No maximum: no division into NaN, the first segment only.
    monster.maxHealth = 0.0f;
    Steps(1);
    EXPECT_EQ(ui->monsterHealthBar->value, 0);
    EXPECT_EQ(MonsterHealthBar::ValueOf(0.0f, 0.0f), 0);
    EXPECT_EQ(MonsterHealthBar::ValueOf(1e30f, 1e-30f), 20);

    player->crosshairMonster = nullptr;
    Steps(1);
    EXPECT_FALSE(ui->monsterHealthBar->visible);

    // On Masochistic the bar is never updated.
    GameSaveManager::GetInstance().current.difficulty = GameDifficulty::Masochistic;
    player->crosshairMonster = &monster;
    Steps(1);
    EXPECT_FALSE(ui->monsterHealthBar->visible);
    player->crosshairMonster = nullptr;
}

TEST_F(HudTest, TheUsePromptNamesTheKeyBoundToUseNowAndLeavesTheDead)
{
    Lever lever;
    player->usable = &lever;
    player->usableInReach = false;
    Steps(1);
    EXPECT_FALSE(ui->usePopup->visible);

    player->usableInReach = true;
    Steps(1);
    EXPECT_TRUE(ui->usePopup->visible);
    EXPECT_EQ(ui->usePopup->text, L"[E] Use");

    KeybindManager& keys = KeybindManager::GetInstance();
    keys.Assign(KeybindAction::Use, Keybind::ForMouse(MouseButton::Right));
    Steps(1);
    EXPECT_EQ(ui->usePopup->text, L"[RMB] Use");

    // Its button taken by another action, Use has no key to name.
    keys.Assign(KeybindAction::Block, Keybind::ForMouse(MouseButton::Right));
    Steps(1);
    EXPECT_EQ(ui->usePopup->text, L"[NOT BOUND] Use");

    // The dead use nothing: no prompt under the death screen's lines.
    player->dead = true;
    Steps(1);
    EXPECT_FALSE(ui->usePopup->visible);
    player->usable = nullptr;
}

TEST_F(HudTest, TheUsePromptShowsAtAClosedDoorWithinReachOnly)
{
    // Ten units before the door between the test map's first rooms (its
    // block spans x 128 to 144), facing it: within the 18 of the use reach.
    Door& door = *FindDoor(2);
    player->SetPosition({118.0f, player->position.y, 64.0f});
    player->controller->SetAngles(0.0f, FirstPersonController::DefaultPitch);
    const auto look = [&] {
        Step(); // the player's move finds what it aims at
        Steps(1);
        return ui->usePopup->visible;
    };
    EXPECT_TRUE(look());
    EXPECT_EQ(ui->usePopup->text, L"[E] Use");
    player->SetPosition({108.0f, player->position.y, 64.0f}); // 20 away: out of reach
    EXPECT_FALSE(look());
    player->SetPosition({118.0f, player->position.y, 64.0f});

    door.SetUsable(false); // held shut by a level script
    EXPECT_FALSE(look());
    door.SetUsable(true);
    EXPECT_TRUE(look());
    door.Use(); // opening: the key does nothing more
    EXPECT_FALSE(look());
}

TEST_F(HudTest, TheBannerWaitsFadesInStandsAndFadesOut)
{
    showLevelBanner = true;
    StartLevel();
    LevelNotification& banner = *ui->levelNotification;
    EXPECT_EQ(banner.line1, L"Level 1");
    EXPECT_EQ(banner.line2, L"'" + Levels::GetLevel("pentagram").displayName + L"'");

    Steps(30);
    EXPECT_EQ(banner.color.a, 0.0f); // transparent up to the 30th update
    Steps(1);
    EXPECT_FLOAT_EQ(banner.color.a, 1.0f / 150.0f);
    Steps(149);
    EXPECT_EQ(banner.color.a, 1.0f); // the 180th
    Steps(90);
    EXPECT_EQ(banner.color.a, 1.0f); // the 270th
    Steps(1);
    EXPECT_FLOAT_EQ(banner.color.a, 149.0f / 150.0f);
    Steps(149);
    EXPECT_EQ(banner.color.a, 0.0f); // the 420th
    EXPECT_TRUE(banner.visible);
    Steps(1);
    EXPECT_FALSE(banner.visible); // hidden 421 updates after it was made
}

TEST_F(HudTest, TheLevelClockTicksOverTheHourWhileShown)
{
    Config::GetInstance().settings.showLevelTimer = true;
    player->levelClock = Stopwatch();
    clock.Advance(clock.Frequency() * 3599);
    Steps(1);
    EXPECT_EQ(ui->levelTimer->text, L"00:59:59");

    // Switched off, the text stands still; on again, it is current.
    Config::GetInstance().settings.showLevelTimer = false;
    clock.Advance(clock.Frequency());
    Steps(1);
    EXPECT_EQ(ui->levelTimer->text, L"00:59:59");
    Config::GetInstance().settings.showLevelTimer = true;
    Steps(1);
    EXPECT_EQ(ui->levelTimer->text, L"01:00:00");
    clock.Advance(clock.Frequency() * 3600 * 99);
    Steps(1);
    EXPECT_EQ(ui->levelTimer->text, L"100:00:00");
}

TEST_F(HudTest, TheRestartPromptBlinksAboutOnceASecond)
{
    // sin(0.1 n) > 0 for n = 1 to 31, then not for n = 32 to 62.
    int on = 0;
    for (int step = 1; step <= 31; ++step) {
        Steps(1);
        on += ui->deathScreen->blinkOn;
    }
    EXPECT_EQ(on, 31);
    for (int step = 32; step <= 62; ++step) {
        Steps(1);
        EXPECT_FALSE(ui->deathScreen->blinkOn) << step;
    }
    Steps(1);
    EXPECT_TRUE(ui->deathScreen->blinkOn);
}

TEST_F(HudTest, AHudStepAllocatesNothingOnceRunning)
{
    // Everything shown at once: a target, a prompt, the clock, a banner,
    // messages counting down, a weapon with ammunition.
    showLevelBanner = true;
    StartLevel();
    Weapon* shotgun = Give(Weapons::MakeDoubleShotgun());
    player->UseItem(shotgun);
    TestMonster monster(world.get(), Vector3(40.0f, 8.0f, 40.0f), Vector3(2.0f, 4.0f, 2.0f));
    player->crosshairMonster = &monster;
    Lever lever;
    player->usable = &lever;
    player->usableInReach = true;
    Config::GetInstance().settings.showLevelTimer = true;
    NotificationBox::AddMessage(NotificationBox::GetMessages(), L"Picked up the red key.", 1000);
    Steps(2);

    const uint64_t before = AllocationCount();
    for (int i = 0; i < 100; ++i) {
        clock.Advance(clock.Frequency() / 60);
        if (i == 50)
            player->health = 40.0f;
        Steps(1);
    }
    EXPECT_EQ(AllocationCount(), before);
    player->crosshairMonster = nullptr;
    player->usable = nullptr;
}

} // namespace
} // namespace mirefell::testing
