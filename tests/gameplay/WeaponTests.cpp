// The player's weapons in the test map: the cool-down and ammunition of a
// burst and its one alert, doubled damage under the nightmare artifact, the
// weapon keys and the wheel, the hammer's shield, and the interface's claim
// on a click.
#include <memory>

#include <gtest/gtest.h>

#include "gameplay/FirstPersonController.h"
#include "gameplay/GameSaveManager.h"
#include "gameplay/ItemMakers.h"
#include "gameplay/Player.h"
#include "gameplay/Projectile.h"
#include "gameplay/WeaponView.h"
#include "gameplay/Weapons.h"
#include "shell/Input.h"
#include "support/GameplayFixture.h"
#include "support/WorldFixture.h"
#include "world/AIRegionGraph.h"
#include "world/WorldCollision.h"

namespace mirefell::testing
{
namespace
{

class PlayerWeapons : public GameplayTest
{
protected:
    void SetUp() override
    {
        GameplayTest::SetUp();
        BuildLevel(LoadTestMap());
        Step();
    }

    // Picked up (and so equipped) like a pickup would give it; returns it
    // once the view has raised it.
    Item* Give(std::unique_ptr<Item> item)
    {
        Item* given = item.get();
        player->GiveItem(nextMapId++, std::move(item));
        Step(WeaponView::SwitchInSteps);
        return given;
    }

    TestMonster* AddMonster(const Vector3& at)
    {
        TestMonster* monster = AddTestMonster(at);
        monster->maxHealth = monster->health = 1000.0f;
        return monster;
    }

    // Faces +X from (40, y, 64) in the start room.
    void FaceEast()
    {
        world->collision->PlaceObject(player, {40, player->position.y, 64});
        player->controller->SetAngles(0.0f, 90.0f);
        Step();
    }

    int32_t Shells() { return player->inventory.GetAmmo(AmmoType::Shells); }

    uint32_t nextMapId = 1000;
};

TEST_F(PlayerWeapons, TheDoubleShotgunFiresEveryFiftyFiveStepsAlertsOnceAndStopsWhenShellsRunOut)
{
    Give(Weapons::MakeDoubleShotgun());
    TestMonster* listener = AddMonster({100, 8, 100});
    AIRegion* region = world->aiRegions->RegionForSector(1);
    region->monsters.push_back(listener);
    ASSERT_EQ(Shells(), 6); // the level's starting pack

    Hold(KeybindAction::Attack, true);
    std::vector<int> shots;
    for (int step = 0; step < 400; ++step) {
        const int32_t before = Shells();
        Step();
        if (Shells() < before)
            shots.push_back(step);
        region->alerted = false; // so that every alert would be heard
    }
    EXPECT_EQ(shots, (std::vector<int>{0, 55, 110, 165, 220, 275}));
    EXPECT_EQ(listener->roars, 1);
    EXPECT_EQ(Shells(), 0);
    EXPECT_TRUE(player->firing); // out of shells the burst is not over

    // Let go and pull again: a new burst alerts again, but there is nothing
    // to fire.
    Hold(KeybindAction::Attack, false);
    Step();
    EXPECT_FALSE(player->firing);
    player->inventory.AddAmmo(AmmoType::Shells, 1);
    Hold(KeybindAction::Attack, true);
    Step();
    EXPECT_EQ(listener->roars, 2);
}

TEST_F(PlayerWeapons, TheNightmareArtifactDoublesTheHammerAndTheRocket)
{
    auto nightmare = MakeArtifactNightmare();
    player->artifacts[Player::ArtifactNightmare] = nightmare.get();
    player->inventory.AddItem(std::move(nightmare));
    Give(Weapons::MakeHammer());
    FaceEast();
    TestMonster* monster = AddMonster({52, player->position.y, 64}); // face 8 from the eye
    Hold(KeybindAction::Attack, true);
    Step();
    Hold(KeybindAction::Attack, false);
    EXPECT_FLOAT_EQ(monster->damageTaken, 25.0f);
    EXPECT_EQ(monster->lastAttacker, player);
    EXPECT_EQ(player->cooldownSteps, 30);

    Give(Weapons::MakeRocketLauncher());
    Step(WeaponView::SwitchOutSteps);
    ASSERT_TRUE(player->weaponView->ready);
    Hold(KeybindAction::Attack, true);
    Step();
    Hold(KeybindAction::Attack, false);
    ASSERT_FALSE(world->objects.empty());
    auto* rocket = dynamic_cast<Projectile*>(world->objects.back().get());
    ASSERT_NE(rocket, nullptr);
    EXPECT_FLOAT_EQ(rocket->damage, 170.0f);
    EXPECT_EQ(rocket->owner, player);
    EXPECT_EQ(rocket->type, ProjectileType::Rocket);
    EXPECT_EQ(player->inventory.GetAmmo(AmmoType::Rockets), 4);
}

TEST_F(PlayerWeapons, TheNightmareDrainStopsAtOneHealth)
{
    auto nightmare = MakeArtifactNightmare();
    player->artifacts[Player::ArtifactNightmare] = nightmare.get();
    player->inventory.AddItem(std::move(nightmare));
    player->health = 1.02f;
    Step();
    EXPECT_FLOAT_EQ(player->health, 1.0f);
    Step(10);
    EXPECT_FLOAT_EQ(player->health, 1.0f);
    player->health = 0.5f; // below the floor already: left alone
    Step();
    EXPECT_FLOAT_EQ(player->health, 0.5f);
}

TEST_F(PlayerWeapons, TheSavedWeaponIsRaisedWhenTheNextLevelStarts)
{
    GameSaveManager::GetInstance().current.difficulty = GameDifficulty::Normal;
    Give(Weapons::MakeRocketLauncher());
    player->SaveToGameSave();
    world.reset();
    ASSERT_TRUE(GameSaveManager::GetInstance().LoadSlot(0));
    BuildLevel(LoadTestMap());
    ASSERT_NE(player->equippedItem, nullptr);
    EXPECT_EQ(player->equippedItem->textureId, "item_rocket_launcher");
    WeaponView& view = *player->weaponView;
    EXPECT_EQ(view.current, &view.entries.at(4));
    EXPECT_TRUE(view.switching);
    // Later changes reach the view through the equipped-item callback.
    player->UseItem(player->equippedItem);
    Step(WeaponView::SwitchOutSteps);
    EXPECT_EQ(view.current, nullptr);
}

TEST_F(PlayerWeapons, WeaponKeysEquipWhatIsCarriedAndLeaveTheEquippedOneAlone)
{
    Item* hammer = Give(Weapons::MakeHammer());
    Item* shotgun = Give(Weapons::MakeDoubleShotgun());
    Step(WeaponView::SwitchOutSteps);
    ASSERT_EQ(player->equippedItem, shotgun);

    HoldKey('1', true); // the hammer's key
    Step();
    HoldKey('1', false);
    EXPECT_EQ(player->equippedItem, hammer);
    EXPECT_TRUE(player->weaponView->switching);
    Step(WeaponView::SwitchOutSteps + WeaponView::SwitchInSteps);
    ASSERT_FALSE(player->weaponView->switching);

    HoldKey('1', true); // again: nothing happens
    Step();
    HoldKey('1', false);
    EXPECT_EQ(player->equippedItem, hammer);
    EXPECT_FALSE(player->weaponView->switching);

    HoldKey('4', true); // no rocket launcher carried, and the wheel is still
    Step();
    HoldKey('4', false);
    EXPECT_EQ(player->equippedItem, hammer);
}

TEST_F(PlayerWeapons, TheWheelCyclesAndWrapsButLeavesALoneEquippedWeapon)
{
    Item* hammer = Give(Weapons::MakeHammer());
    TurnWheel(1);
    Step();
    EXPECT_EQ(player->equippedItem, hammer); // one weapon, equipped

    player->UseItem(hammer); // put away
    ASSERT_EQ(player->equippedItem, nullptr);
    Step(WeaponView::SwitchOutSteps + 1);
    TurnWheel(-1);
    Step();
    EXPECT_EQ(player->equippedItem, hammer); // none equipped: the first

    Step(WeaponView::SwitchOutSteps + WeaponView::SwitchInSteps);
    Item* shotgun = Give(Weapons::MakeDoubleShotgun());
    Step(WeaponView::SwitchOutSteps);
    TurnWheel(1);
    Step();
    EXPECT_EQ(player->equippedItem, hammer); // past the end: back to the first
    Step(WeaponView::SwitchOutSteps + WeaponView::SwitchInSteps);
    TurnWheel(-1);
    Step();
    EXPECT_EQ(player->equippedItem, shotgun); // before the first: the last
}

TEST_F(PlayerWeapons, TheShieldNeedsTheHammerTakesOneBlowAndSlowsTheWalkWhileRaised)
{
    Hold(KeybindAction::Block, true);
    Step();
    Hold(KeybindAction::Block, false);
    EXPECT_FALSE(player->blocking); // no weapon

    Give(Weapons::MakeHammer());
    Hold(KeybindAction::Block, true);
    Step();
    EXPECT_TRUE(player->blocking);
    EXPECT_FLOAT_EQ(player->controller->speed, Player::BlockingSpeed);
    Step(WeaponView::ShieldMoveSteps + 1);
    EXPECT_EQ(player->weaponView->shieldPosition, WeaponView::ShieldBlockPosition);

    // The raised shield takes a blow and drops; no attack is made meanwhile.
    EXPECT_FALSE(player->TakeDamage(10.0f, nullptr, {}));
    EXPECT_EQ(player->health, 100.0f);
    EXPECT_FALSE(player->blocking);
    EXPECT_EQ(player->weaponView->shieldHitTicks, WeaponView::ShieldHitSteps);
    EXPECT_FLOAT_EQ(player->controller->speed, Player::WalkSpeed);
    EXPECT_TRUE(player->TakeDamage(10.0f, nullptr, {}));

    // Held on, Block does not raise it again; pressed anew it does, and
    // letting go restores the walk at once.
    Step(WeaponView::ShieldHitSteps + WeaponView::ShieldMoveSteps + 2);
    EXPECT_FALSE(player->blocking);
    EXPECT_EQ(player->weaponView->shieldPosition, WeaponView::ShieldRestPosition);
    Hold(KeybindAction::Block, false);
    Step();
    Hold(KeybindAction::Block, true);
    Step();
    EXPECT_TRUE(player->blocking);
    Hold(KeybindAction::Block, false);
    Step();
    EXPECT_FALSE(player->blocking);
    EXPECT_FLOAT_EQ(player->controller->speed, Player::WalkSpeed);
}

TEST_F(PlayerWeapons, AClickTheInterfaceTookFiresNothing)
{
    Give(Weapons::MakeDoubleShotgun());
    Input::GetInstance().clickConsumed = true;
    Hold(KeybindAction::Attack, true);
    Input::GetInstance().Update();
    Input::GetInstance().clickConsumed = true; // the interface claims the press
    world->Update();
    EXPECT_EQ(Shells(), 6);
    EXPECT_FALSE(player->firing);
    Hold(KeybindAction::Attack, false);
    Step(); // released: the claim ends
    EXPECT_FALSE(Input::GetInstance().clickConsumed);
    Hold(KeybindAction::Attack, true);
    Step();
    EXPECT_EQ(Shells(), 5);
}

} // namespace
} // namespace mirefell::testing
