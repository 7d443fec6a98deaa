// The first-person weapon view in a built level: raising, lowering and
// re-raising models, a kick cut short by a switch, the hammer's swing and
// its dark muzzle, the flashes' decay, the shield's blow, the models carried
// in front of the camera, the view's lights and ambient colour under the
// level scripts' light switch, and death.
#include <cmath>
#include <memory>

#include <gtest/gtest.h>

#include "gameplay/FirstPersonController.h"
#include "gameplay/GameSaveManager.h"
#include "gameplay/Player.h"
#include "gameplay/WeaponView.h"
#include "gameplay/Weapons.h"
#include "render/Mesh.h"
#include "render/PointLight.h"
#include "support/GameplayFixture.h"
#include "support/WorldFixture.h"
#include "world/MapScriptToolbox.h"

namespace mirefell::testing
{
namespace
{

class ViewTest : public GameplayTest
{
protected:
    void Build(bool blackout = false)
    {
        GameSaveManager::GetInstance().current.blackout = blackout;
        BuildLevel(LoadTestMap());
        view = player->weaponView.get();
        Step();
    }

    Item* Equip(std::unique_ptr<Item> item)
    {
        Item* given = item.get();
        player->GiveItem(nextMapId++, std::move(item));
        return given;
    }

    void Fire()
    {
        Hold(KeybindAction::Attack, true);
        Step();
        Hold(KeybindAction::Attack, false);
    }

    WeaponView* view = nullptr;
    uint32_t nextMapId = 1000;
};

TEST_F(ViewTest, AWeaponRisesInThirtyStepsAndTheSameOneIsLoweredAndRaisedAgain)
{
    Build();
    ASSERT_EQ(view->entries.size(), 5u);
    Equip(Weapons::MakeDoubleShotgun());
    const WeaponViewEntry& shotgun = view->entries.at(2);
    EXPECT_EQ(view->current, &view->entries.at(2));
    EXPECT_TRUE(shotgun.model->visible);
    EXPECT_TRUE(view->switching);
    EXPECT_EQ(view->modelPosition, shotgun.loweredOffset);
    EXPECT_EQ(shotgun.cooldownMs, 900);
    EXPECT_EQ(shotgun.model->textureName, "double_shotgun");
    Step(29);
    EXPECT_TRUE(view->switching);
    Step();
    EXPECT_FALSE(view->switching);
    EXPECT_TRUE(view->ready);
    EXPECT_EQ(view->modelPosition, shotgun.offset);

    // The same weapon again: down in 15 steps, then up from its lowered
    // offset in 30 more.
    view->Equip(player->equippedItem);
    EXPECT_FALSE(view->ready);
    Step(WeaponView::SwitchOutSteps);
    EXPECT_EQ(view->current, &view->entries.at(2));
    EXPECT_EQ(view->modelPosition, shotgun.loweredOffset);
    Step(WeaponView::SwitchInSteps - 1);
    EXPECT_FALSE(view->ready);
    Step();
    EXPECT_TRUE(view->ready);

    // Put away: lowered and hidden, nothing up.
    player->UseItem(player->equippedItem);
    Step(WeaponView::SwitchOutSteps);
    EXPECT_EQ(view->current, nullptr);
    EXPECT_FALSE(shotgun.model->visible);
    EXPECT_FALSE(view->switching);
}

TEST_F(ViewTest, TheShotgunKicksBackAndASwitchCutsTheKickShort)
{
    Build();
    Equip(Weapons::MakeDoubleShotgun());
    Step(WeaponView::SwitchInSteps);
    const WeaponViewEntry& shotgun = view->entries.at(2);
    Fire(); // t = 54: back 2 units in 5 steps, returning in 48
    EXPECT_FLOAT_EQ(view->fireLightLevel, WeaponView::FireLightLevel);
    Step(5);
    EXPECT_NEAR(view->modelPosition.z, shotgun.offset.z + 2.0f, 1e-5f);
    Step(24);
    EXPECT_NEAR(view->modelPosition.z, shotgun.offset.z + 1.0f, 1e-4f);

    Equip(Weapons::MakeHyperBlaster());
    EXPECT_TRUE(view->switching);
    Step(WeaponView::SwitchOutSteps);
    const WeaponViewEntry& blaster = view->entries.at(3);
    EXPECT_EQ(view->current, &view->entries.at(3));
    EXPECT_EQ(view->modelPosition, blaster.loweredOffset); // the new model rises from its lowered offset
    Step(WeaponView::SwitchInSteps);
    EXPECT_EQ(view->modelPosition, blaster.offset);                      // nothing of the kick is left
    EXPECT_EQ(view->fireLight->colour, Color(0.75f, 0.85f, 1.0f, 1.0f)); // the bolt's light
}

TEST_F(ViewTest, TheMuzzleFlashIsAnIntensityTwelveLightForGunsOnly)
{
    Build();
    Equip(Weapons::MakeHammer());
    Step(WeaponView::SwitchInSteps);
    Fire();
    EXPECT_TRUE(view->IsAttacking());
    EXPECT_EQ(view->fireLightLevel, 0.0f);
    EXPECT_EQ(view->fireLight->enabled, 0);
    // The thrust runs 12 degrees a step over the 30 steps of the cool-down.
    EXPECT_FLOAT_EQ(view->swingStep, 12.0f);
    Step(29);
    EXPECT_TRUE(view->IsAttacking());
    Step();
    EXPECT_FALSE(view->IsAttacking());
    // The rotation swings out in 3 steps and back in 27 (after a step's
    // wait for the chained tween).
    Step(2);
    EXPECT_EQ(view->modelRotation, view->entries.at(5).rotation);

    Equip(Weapons::MakeDoubleShotgun());
    Step(WeaponView::SwitchOutSteps + WeaponView::SwitchInSteps);
    Fire();
    EXPECT_FLOAT_EQ(view->fireLightLevel, 1.2f);
    Step();
    EXPECT_FLOAT_EQ(view->fireLight->intensity, 10.0f * (1.2f - 0.08f));
    int litSteps = 1;
    while (view->fireLight->enabled && litSteps < 30) {
        Step();
        ++litSteps;
    }
    // 1.2 in steps of 0.08 is 15 steps; in float a crumb is left for a 16th.
    EXPECT_EQ(litSteps, 16);
    EXPECT_EQ(view->fireLight->intensity, 0.0f);
}

TEST_F(ViewTest, FlashesDecayToNothingStepByStep)
{
    Build();
    view->hurtFlash = 0.95f;
    view->pickupFlash = 0.3f;
    view->teleportFlash = 0.3f;
    int hurtSteps = 0, pickupSteps = 0;
    for (int step = 1; step <= 60; ++step) {
        Step();
        if (view->hurtFlash > 0.0f)
            hurtSteps = step;
        if (view->pickupFlash > 0.0f)
            pickupSteps = step;
    }
    // 0.95 in steps of 0.02 is 47.5 steps: gone at the 48th. 0.3 - 15 x 0.02
    // leaves a float crumb above zero, gone at the 16th.
    EXPECT_EQ(hurtSteps + 1, 48);
    EXPECT_EQ(pickupSteps + 1, 16);
    EXPECT_NEAR(view->teleportFlash, 0.3f - 60 * 0.01f + 0.3f, 1e-4f); // 30 steps left
}

TEST_F(ViewTest, ABlowOnTheShieldPushesItBackAndLetsItDownToRest)
{
    Build();
    Equip(Weapons::MakeHammer());
    Step(WeaponView::SwitchInSteps);
    ASSERT_TRUE(view->shieldModel->visible);
    Hold(KeybindAction::Block, true);
    Step(WeaponView::ShieldMoveSteps + 1);
    ASSERT_EQ(view->shieldPosition, WeaponView::ShieldBlockPosition);

    player->TakeDamage(5.0f, nullptr, {});
    Step(6);
    // Half way through the blow: pushed 1.5 back and turned the full 15 degrees.
    EXPECT_NEAR(view->shieldPosition.z, WeaponView::ShieldBlockPosition.z + 1.5f, 1e-4f);
    EXPECT_NEAR(view->shieldRotation.y, -0.2617994f, 1e-4f);
    Step(6 + WeaponView::ShieldMoveSteps + 1);
    EXPECT_EQ(view->shieldPosition, WeaponView::ShieldRestPosition);
    EXPECT_EQ(view->shieldRotation, WeaponView::ShieldRestRotation);
    EXPECT_EQ(view->shieldHitTicks, 0);
}

TEST_F(ViewTest, ModelsAreCarriedInFrontOfTheCamera)
{
    Build();
    Equip(Weapons::MakeRocketLauncher());
    Step(WeaponView::SwitchInSteps);
    // Looking down -Z the camera's axes are the world's: the model's world
    // position is the camera's plus its camera-space offset.
    const Vector3 eye = camera.position;
    const Matrix& world = view->entries.at(4).model->world;
    const Vector3 offset = view->entries.at(4).offset + view->bobOffset;
    EXPECT_NEAR(world.m[3][0], eye.x + offset.x, 1e-3f);
    EXPECT_NEAR(world.m[3][1], eye.y + offset.y, 1e-3f);
    EXPECT_NEAR(world.m[3][2], eye.z + offset.z, 1e-3f);
    EXPECT_EQ(view->camera.position, eye);
    EXPECT_FLOAT_EQ(view->camera.fieldOfView, 75.0f);
    EXPECT_EQ(view->fireLight->position, eye);
}

TEST_F(ViewTest, TheLevelScriptsSwitchTheViewsLightAndAmbientUnlessBlackout)
{
    Build();
    EXPECT_EQ(world->viewLighting.ambient, &view->ambient);
    EXPECT_EQ(view->ambient, WeaponView::LitAmbient);
    EXPECT_EQ(view->playerLight->enabled, 0);
    MapScriptToolbox toolbox(world.get());
    toolbox.LightsOut();
    EXPECT_EQ(view->ambient, WeaponView::DarkAmbient);
    EXPECT_EQ(view->playerLight->enabled, 1);
    toolbox.LightsOn();
    EXPECT_EQ(view->ambient, WeaponView::LitAmbient);
    EXPECT_EQ(view->playerLight->enabled, 0);

    world.reset();
    Build(true);
    EXPECT_EQ(view->ambient, WeaponView::DarkAmbient);
    EXPECT_EQ(view->playerLight->enabled, 1);
    MapScriptToolbox(world.get()).LightsOn();
    EXPECT_EQ(view->ambient, WeaponView::DarkAmbient);
    EXPECT_EQ(view->playerLight->enabled, 1);
}

TEST_F(ViewTest, DeathHidesTheModelsAndTheDeadTakeNoMoreDamage)
{
    Build();
    Equip(Weapons::MakeHammer());
    Step(WeaponView::SwitchInSteps);
    const float eyeBefore = player->controller->position.y;
    player->TakeDamage(200.0f, nullptr, {});
    ASSERT_TRUE(player->dead);
    EXPECT_FALSE(view->ready);
    EXPECT_FALSE(view->entries.at(5).model->visible);
    EXPECT_FALSE(view->shieldModel->visible);
    EXPECT_FLOAT_EQ(player->controller->position.y, eyeBefore - 7.0f);

    // A second blow or kill changes nothing: no further drop or save.
    const auto saved = std::filesystem::last_write_time("saves/save0.mfv");
    EXPECT_FALSE(player->TakeDamage(50.0f, nullptr, {}));
    EXPECT_FALSE(player->Kill());
    EXPECT_FLOAT_EQ(player->controller->position.y, eyeBefore - 7.0f);
    EXPECT_EQ(std::filesystem::last_write_time("saves/save0.mfv"), saved);
}

} // namespace
} // namespace mirefell::testing
