// The player's movement in a built level: falling and landing, jumping with
// the boots, the query margin of a jump, stomping, step smoothing, teleports
// and telefrags, pickups (never by a corpse), falling out of the level,
// noclip and the crosshair target.
#include <cmath>
#include <memory>

#include <gtest/gtest.h>

#include "gameplay/FirstPersonController.h"
#include "gameplay/ItemMakers.h"
#include "gameplay/Player.h"
#include "gameplay/Powerup.h"
#include "gameplay/WeaponView.h"
#include "render/ParticleSimulator.h"
#include "render/PointLight.h"
#include "shell/GameStateManager.h"
#include "support/GameplayFixture.h"
#include "support/WorldFixture.h"
#include "world/Collision.h"
#include "world/WorldCollision.h"

namespace mirefell::testing
{
namespace
{

// Centre height over a floor at rest: half the body, plus at most the gap
// the slide keeps to surfaces (the exact gap depends on the last fall).
constexpr float Standing = 7.0f * 1.005f;

class PlayerMovement : public TestMapTest
{
protected:
    void Build() { BuildLevel(map); }

    void Place(const Vector3& at) { world->collision->PlaceObject(player, at); }

    // A stand-in monster with its box as collision geometry.
    TestMonster* AddMonster(const Vector3& at)
    {
        TestMonster* monster = AddTestMonster(at);
        monster->BuildBoxTriangles();
        return monster;
    }

    void GiveBoots()
    {
        auto boots = MakeArtifactBoots();
        player->artifacts[Player::ArtifactBoots] = boots.get();
        player->inventory.AddItem(std::move(boots));
    }

    size_t Particles() const { return world->particles->motions.size(); }
};

TEST_F(PlayerMovement, AFallAcceleratesTowardsItsLimitAndALandingPressesOnTheFloor)
{
    Build();
    Place({64, 100, 64});
    Step(); // no contact: from now on in the air
    ASSERT_TRUE(player->inAir);

    float expected = 0.0f;
    for (int n = 1; n <= 20; ++n) {
        const float y = player->position.y;
        Step();
        expected += 0.125f * std::pow(0.95f, static_cast<float>(n));
        ASSERT_NEAR(player->verticalSpeed, expected, 1e-5f) << "after " << n << " steps in the air";
        ASSERT_NEAR(y - player->position.y, Collision::GravityStep * player->verticalSpeed, 1e-3f);
    }
    while (player->inAir)
        Step();
    EXPECT_NEAR(player->position.y, Standing, 1e-3f);
    EXPECT_FLOAT_EQ(player->verticalSpeed, Player::GroundSpeed);

    // The speed tends to 0.125 x 0.95 / 0.05 = 2.375 (noclip: nothing lands).
    player->noclip = true;
    player->inAir = true;
    Step(400);
    EXPECT_NEAR(player->verticalSpeed, 2.375f, 1e-4f);
    EXPECT_NEAR(player->position.y, Standing, 1e-3f); // noclip does not fall
}

TEST_F(PlayerMovement, OnlyTheBootsJumpAndOnlyFromTheFloor)
{
    Build();
    Step(2);
    const float ground = player->position.y;
    Hold(KeybindAction::UseAntiGravBoots, true);
    Step();
    Hold(KeybindAction::UseAntiGravBoots, false);
    Step();
    EXPECT_NEAR(player->position.y, ground, 1e-3f);

    GiveBoots();
    Hold(KeybindAction::UseAntiGravBoots, true);
    Step();
    EXPECT_FLOAT_EQ(player->verticalSpeed, Player::JumpSpeed);
    Hold(KeybindAction::UseAntiGravBoots, false);
    Step();
    EXPECT_NEAR(player->position.y - ground, -Collision::GravityStep * Player::JumpSpeed * Player::FallDrag, 1e-3f);
    EXPECT_TRUE(player->inAir);

    // Pressed again in the air: no second jump.
    Hold(KeybindAction::UseAntiGravBoots, true);
    Step();
    EXPECT_GT(player->verticalSpeed, Player::JumpSpeed * Player::FallDrag);
}

TEST_F(PlayerMovement, AJumpMeetsACeilingJustAboveTheHead)
{
    // Room A's ceiling is at 128; the head starts 11 below it and the jump's
    // gravity pass would carry it 12 up.
    EXPECT_FLOAT_EQ(WorldCollision::QueryMargin(-8.0f), 16.0f);
    EXPECT_FLOAT_EQ(WorldCollision::QueryMargin(8.0f), 16.0f);
    EXPECT_FLOAT_EQ(WorldCollision::QueryMargin(0.0f), WorldCollision::MinQueryMargin);
    Build();
    Place({64, 110, 64});
    player->inAir = false;
    player->verticalSpeed = -8.0f / Player::FallDrag;
    Step();
    EXPECT_NEAR(player->position.y, 128.0f - Standing, 1e-3f);
    EXPECT_FALSE(player->inAir); // a contact, like any other
}

TEST_F(PlayerMovement, LandingOnAMonsterWithTheBootsKillsItAndBounces)
{
    Build();
    TestMonster* monster = AddMonster({64, 8, 64});
    Place({64, 16 + Standing + 0.5f, 64});
    const size_t particles = Particles();
    Step(6); // without the boots: lands and stands on it
    EXPECT_NEAR(player->position.y, 16.0f + Standing, 0.04f);
    EXPECT_EQ(monster->damageTaken, 0.0f);
    EXPECT_FLOAT_EQ(player->verticalSpeed, Player::GroundSpeed);

    GiveBoots();
    Step();
    EXPECT_FLOAT_EQ(monster->damageTaken, monster->maxHealth);
    EXPECT_EQ(monster->lastAttacker, player);
    EXPECT_TRUE(monster->dead);
    EXPECT_FLOAT_EQ(player->verticalSpeed, Player::JumpSpeed);
    EXPECT_EQ(Particles(), particles + 20);

    // After the bounce the corpse no longer holds the player up.
    Step();
    for (int i = 0; i < 200 && player->inAir; ++i)
        Step();
    EXPECT_NEAR(player->position.y, Standing, 0.04f);
}

TEST_F(PlayerMovement, TheEyeIsSmoothedOnlyForStepsTakenOnFoot)
{
    Build();
    GridObject* wall = nullptr;
    GridObject* elevator = nullptr;
    for (const auto& object : world->objects) {
        if (object->typeMask == GridObjectType::Concrete && object->name == SegmentLayerKey)
            wall = object.get();
        if (object->typeMask == GridObjectType::Elevator)
            elevator = object.get();
    }
    ASSERT_TRUE(wall && elevator);

    CollisionResult stepUp;
    stepUp.collided = true;
    stepUp.movedUp = true;
    stepUp.hitObject = wall;
    player->OnVerticalContact(stepUp, true);
    EXPECT_EQ(player->stepSmoothingLeft, 0); // teleported
    stepUp.hitObject = elevator;
    player->OnVerticalContact(stepUp, false);
    EXPECT_EQ(player->stepSmoothingLeft, 0); // on a platform
    stepUp.hitObject = wall;
    player->OnVerticalContact(stepUp, false);
    EXPECT_EQ(player->stepSmoothingLeft, Player::StepSmoothingSteps);
    EXPECT_FLOAT_EQ(player->verticalSpeed, Player::GroundSpeed);
    EXPECT_FALSE(player->inAir);

    // The countdown drives the controller's smoothing.
    Step();
    EXPECT_EQ(player->stepSmoothingLeft, Player::StepSmoothingSteps - 1);
    EXPECT_TRUE(player->controller->smoothEye);

    CollisionResult rising; // moved up without a contact at the end
    rising.movedUp = true;
    player->OnVerticalContact(rising, false);
    EXPECT_TRUE(player->inAir);
}

TEST_F(PlayerMovement, ATeleportSectorSendsThePlayerToItsDestinationAndTelefrags)
{
    map.sectors[2].teleportInID = 5;  // the hall sends ...
    map.sectors[4].teleportOutID = 5; // ... to the ledge
    Build();
    TestMonster* monster = AddMonster({384, 72, 64});
    TestMonster* farMonster = AddMonster({420, 72, 100});
    Place({216, Standing, 100});
    const size_t particles = Particles();
    Step();
    EXPECT_NEAR(player->position.x, 384.0f, 1e-3f);
    EXPECT_NEAR(player->position.z, 64.0f, 1e-3f);
    EXPECT_NEAR(player->position.y, 64.0f + Standing, 0.04f);
    EXPECT_GT(player->weaponView->teleportFlash, 0.25f);
    EXPECT_FLOAT_EQ(player->weaponView->teleportLight->colour.g, 1.0f);
    EXPECT_TRUE(monster->dead);
    EXPECT_FLOAT_EQ(monster->damageTaken, monster->maxHealth);
    EXPECT_FALSE(farMonster->dead);
    EXPECT_EQ(Particles(), particles + 20);
    EXPECT_EQ(player->stepSmoothingLeft, 0);
}

TEST_F(PlayerMovement, ATeleportIdWithoutDestinationIsNoTeleport)
{
    map.sectors[2].teleportInID = 9; // no sector sends to 9
    Build();
    EXPECT_TRUE(world->teleportDestinations.empty());
    Place({216, Standing, 100});
    Step(3);
    EXPECT_NEAR(player->position.x, 216.0f, 1e-3f);
    EXPECT_NEAR(player->position.z, 100.0f, 1e-3f);
    EXPECT_EQ(player->weaponView->teleportFlash, 0.0f);
}

TEST_F(PlayerMovement, PickupsAreTakenOnTouchButNeverByACorpse)
{
    Build();
    Powerup* ammo = FindPickup(2); // box 95..105 x 95..105
    Powerup* exit = FindPickup(8); // the level exit in the closet
    ASSERT_TRUE(ammo && exit);
    Place({92, Standing, 100}); // boxes touching at x = 95
    Step();
    EXPECT_EQ(FindPickup(2), nullptr); // gone from the world after the step
    EXPECT_EQ(player->itemsCollected, 1);

    player->Kill();
    Place({496, 64 + Standing, 64});
    Step();
    EXPECT_EQ(FindPickup(8), exit);
    EXPECT_FALSE(exit->removed);
    EXPECT_NE(GameStateManager::GetInstance().current, GameState::LevelComplete);
}

TEST_F(PlayerMovement, FallingOutOfTheLevelKillsAndTheCorpseOnlyTurns)
{
    Build();
    Place({64, -300, 64}); // below the floor, which faces away from it
    Step();
    EXPECT_TRUE(player->dead);
    EXPECT_EQ(player->health, 0.0f);
    EXPECT_TRUE(player->controller->locked);
    EXPECT_FALSE(player->weaponView->ready);
    Step();
    EXPECT_TRUE(player->dead);

    // The corpse still turns its view but no longer walks.
    const Vector3 at = player->position;
    const float yaw = player->controller->yaw;
    Hold(KeybindAction::MoveForward, true);
    MoveMouse(30, 0);
    Step(5);
    EXPECT_FLOAT_EQ(player->position.x, at.x);
    EXPECT_FLOAT_EQ(player->position.z, at.z);
    EXPECT_NE(player->controller->yaw, yaw);
}

TEST_F(PlayerMovement, OffTheGridThePlayerFallsFreelyAndDiesBelowTheLevel)
{
    Build();
    Place({-40, Standing, 64}); // beyond the map's west edge
    Step();                     // nothing under it: in the air from now on
    EXPECT_TRUE(player->inAir);
    float y = player->position.y;
    int steps = 0;
    while (!player->dead && steps < 300) {
        Step();
        ++steps;
        ASSERT_TRUE(player->dead || player->position.y < y) << "step " << steps;
        y = player->position.y;
    }
    EXPECT_TRUE(player->dead);
    EXPECT_TRUE(player->inAir);
    EXPECT_LT(player->position.y, WorldCollision::FallOutHeight);
    EXPECT_GT(steps, 60); // a fall, not a jump to the bottom
}

TEST_F(PlayerMovement, NoclipWalksThroughWalls)
{
    Build();
    Place({120, Standing, 32});
    player->noclip = true;
    player->controller->sensitivity = 1.0f;
    MoveMouse(90, 0); // face +X
    Hold(KeybindAction::MoveForward, true);
    Step(10);
    EXPECT_NEAR(player->position.x, 120.0f + 10 * Player::WalkSpeed, 1e-3f);
    EXPECT_NEAR(player->position.y, Standing, 1e-3f);
}

TEST_F(PlayerMovement, TheCrosshairFindsLivingMonstersOnly)
{
    Build();
    Step();
    TestMonster* monster = AddMonster({32, 8, 5}); // straight ahead (-Z)
    Step();
    EXPECT_EQ(player->crosshairMonster, monster);
    monster->dead = true;
    Step();
    EXPECT_EQ(player->crosshairMonster, nullptr);
}

} // namespace
} // namespace mirefell::testing
