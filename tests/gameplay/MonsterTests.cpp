// Monsters in the test map: what the level build makes of the records, the
// dormancy behind a closed door, waking, wandering when the player is dead,
// the turn away from a wall, and riding an elevator.
#include <gtest/gtest.h>

#include <cmath>

#include "gameplay/Elevator.h"
#include "gameplay/MonsterFixture.h"
#include "platform/Random.h"
#include "render/Mesh.h"
#include "world/AIRegion.h"

namespace mirefell::testing
{
namespace
{

void ExpectNear(const Vector3& actual, const Vector3& expected)
{
    EXPECT_NEAR(actual.x, expected.x, 1e-4f);
    EXPECT_NEAR(actual.y, expected.y, 1e-4f);
    EXPECT_NEAR(actual.z, expected.z, 1e-4f);
}

TEST_F(MonsterTest, RecordsBecomeMonstersWithSpriteFramesInTheirRegion)
{
    Build();
    EXPECT_EQ(world->monsterCount, 2);

    // "N" at map (216, 64), y 0, raised by its offset; facing rotation 180.
    EXPECT_EQ(nom->name, "nom");
    EXPECT_EQ(nom->typeMask, GridObjectType::Monster);
    EXPECT_EQ(nom->kind, MonsterType::Nom);
    EXPECT_EQ(nom->position, Vector3(219.6f, 8.03f, 67.6f));
    EXPECT_FLOAT_EQ(nom->yaw, 180.0f * 0.017453292f);
    EXPECT_FLOAT_EQ(nom->health, 50.0f);
    EXPECT_EQ(nom->state, MonsterState::Asleep);
    EXPECT_EQ(nom->sector->id, 3);
    // Its collision cube around it, as the player's sweep sees it.
    ASSERT_EQ(nom->vertices.size(), 36u);
    ExpectNear(nom->vertices[0], {226.8f, 16.03f, 60.4f}); // corner (1, 1, -1)
    ExpectNear(nom->box.min, {212.4f, 0.03f, 60.4f});

    // Two walk, four death and two attack frames, made in that order, each
    // an instance of its frame's batch; one (idle) frame shown after set-up.
    EXPECT_EQ(nom->animationFrames[MonsterAnimation::Walk].size(), 2u);
    EXPECT_EQ(nom->animationFrames[MonsterAnimation::Death].size(), 4u);
    EXPECT_EQ(nom->animationFrames[MonsterAnimation::Attack].size(), 2u);
    EXPECT_EQ(eye->animationFrames[MonsterAnimation::Walk].size(), 4u);
    std::vector<std::string> nomBatches;
    for (const auto& node : root.children)
        for (const auto& batch : node->children)
            if (batch->name.starts_with("nom_")) {
                nomBatches.push_back(batch->name);
                EXPECT_EQ(batch->textureName, "nom");
                EXPECT_EQ(batch->effectId, EffectIdInstancedTexture);
            }
    EXPECT_EQ(nomBatches, (std::vector<std::string>{"nom_walk0", "nom_walk1", "nom_death0", "nom_death1", "nom_death2",
                                                    "nom_death3", "nom_attack0", "nom_attack1"}));
    int shown = 0;
    for (const auto& [id, frames] : nom->animationFrames)
        for (const SpriteFrame& frame : frames)
            shown += frame.Instance().shown ? 1 : 0;
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(nom->animator->currentFrame, &nom->animationFrames[MonsterAnimation::Walk][0]);

    // Both stand in the hall's region (hall, elevator, ledge) and the
    // scripts find them by their record ids.
    const std::vector<GridObject*>& listed = world->aiRegions->RegionForSector(3)->monsters;
    EXPECT_EQ(listed, (std::vector<GridObject*>{nom, eye}));
    EXPECT_EQ(world->aiRegions->objects.monsters.at(3), static_cast<IMonster*>(nom));
    EXPECT_EQ(world->aiRegions->objects.monsters.at(7), static_cast<IMonster*>(eye));
}

TEST_F(MonsterTest, BehindAClosedDoorAMonsterIsFrozenAndHiddenAndResumesWithItsTimers)
{
    Build();
    // The player has been in the hall before; it stands in the start room now.
    world->aiRegions->RegionForSector(3)->awakened = true;
    nom->Roar(true);
    nom->direction = Vector3(1, 0, 0);
    nom->turnCountdown = 10;
    const Vector3 start = nom->position;

    Step(3);
    EXPECT_TRUE(nom->dormant);
    EXPECT_EQ(nom->turnCountdown, 10);
    EXPECT_EQ(nom->position, start);
    EXPECT_FALSE(nom->animator->currentFrame->Instance().shown);

    hallDoor->Open();
    Step(); // the player's move of this step finds the hall reachable
    EXPECT_TRUE(nom->dormant);
    Step();
    EXPECT_FALSE(nom->dormant);
    EXPECT_EQ(nom->state, MonsterState::Hunting);
    EXPECT_EQ(nom->turnCountdown, 9);
    EXPECT_FLOAT_EQ(nom->position.x, start.x + 0.75f);
    // Drawn again where it stands, bobbing, turned by the sprite's offset.
    const MeshInstance& drawn = nom->animator->currentFrame->Instance();
    EXPECT_TRUE(drawn.shown);
    EXPECT_EQ(drawn.position, Vector3(nom->position.x, nom->position.y + nom->animator->bobOffset, nom->position.z));
    EXPECT_FLOAT_EQ(drawn.rotation.y, nom->yaw + 3.1415927f + nom->animator->turnOffset);
    EXPECT_EQ(drawn.scale, Vector3(0.9f, 0.9f, 0.9f));
}

TEST_F(MonsterTest, AWatcherWakesForATargetAheadAtAnyDistanceAndBehindOnlyWithinMeleeRange)
{
    Build();
    nom->Awaken();
    ASSERT_EQ(nom->state, MonsterState::Watching);

    // The nom at z 67.6 faces +z: 17.6 behind it is too far, 12.6 is near.
    PlacePlayer(219.6f, 0.0f, 50.0f);
    Run(*nom, 1);
    EXPECT_EQ(nom->state, MonsterState::Watching);
    PlacePlayer(219.6f, 0.0f, 55.0f);
    Run(*nom, 1);
    EXPECT_EQ(nom->state, MonsterState::Hunting);

    // Ahead of it, on the ledge behind the hall's east wall, 190 away.
    nom->SetState(static_cast<uint32_t>(MonsterState::Watching));
    PlacePlayer(400.0f, 64.0f, 120.0f);
    Run(*nom, 1);
    EXPECT_EQ(nom->state, MonsterState::Hunting);

    // Awakening turns a hunter into a watcher; a held monster ignores it and
    // an unforced roar, and a forced roar releases it.
    nom->Awaken();
    EXPECT_EQ(nom->state, MonsterState::Watching);
    nom->SetState(static_cast<uint32_t>(MonsterState::Held));
    nom->Awaken();
    nom->Roar(false);
    EXPECT_EQ(nom->state, MonsterState::Held);
    nom->Roar(true);
    EXPECT_EQ(nom->state, MonsterState::Hunting);
}

TEST_F(MonsterTest, WithThePlayerDeadAHunterWandersANewWayEveryThirtyOneSteps)
{
    Build();
    PlacePlayer(160.0f, 0.0f, 110.0f);
    player->Kill();
    nom->Roar(true);

    SeedRand(1); // draws 41, 18467, then 6334, 26500
    std::vector<int> turns;
    Vector3 heading = nom->direction;
    for (int step = 1; step <= 63; ++step) {
        nom->Update();
        if (nom->direction != heading)
            turns.push_back(step);
        if (step == 1) {
            EXPECT_NEAR(nom->direction.x, 0.126466f, 1e-5f);
            EXPECT_NEAR(nom->direction.z, -0.991971f, 1e-5f);
            EXPECT_NEAR(nom->yaw, 6.156380f, 1e-5f);
        }
        if (step == 32) {
            EXPECT_NEAR(nom->direction.x, 0.709452f, 1e-5f);
            EXPECT_NEAR(nom->direction.z, -0.704754f, 1e-5f);
        }
        heading = nom->direction;
    }
    EXPECT_EQ(turns, (std::vector<int>{1, 32, 63}));
}

TEST_F(MonsterTest, AMonsterPushingAWallTurnsOnlyWhenItsTargetIsFarOff)
{
    Build();
    PlacePlayer(200.0f, 0.0f, 30.0f);
    nom->SetTarget(player);
    // Against the hall's west wall (x 144), walking into it.
    PlaceMonster(*nom, 151.3f, 0.0f, 30.0f);
    const auto pushWest = [&] {
        nom->direction = Vector3(-1, 0, 0);
        nom->turnCountdown = 0;
        for (int i = 0; i < 3 && nom->direction == Vector3(-1, 0, 0); ++i)
            nom->Move();
    };
    pushWest();
    EXPECT_NEAR(nom->position.x, 151.2f, 0.01f);
    EXPECT_NE(nom->direction, Vector3(-1, 0, 0)); // 49 away: turned
    EXPECT_EQ(nom->turnCountdown, 30);

    // 18 away it keeps pushing; 20 away it turns.
    PlacePlayer(nom->position.x + 18.0f, 0.0f, 30.0f);
    pushWest();
    EXPECT_EQ(nom->direction, Vector3(-1, 0, 0));
    PlacePlayer(nom->position.x + 20.0f, 0.0f, 30.0f);
    pushWest();
    EXPECT_NE(nom->direction, Vector3(-1, 0, 0));

    // The eye's distance is 15: (sprite scale 0.5 + 1) x 10.
    eye->SetTarget(player);
    eye->direction = Vector3(1, 0, 0);
    PlacePlayer(eye->position.x, 64.0f, eye->position.z + 14.0f);
    eye->Wander();
    EXPECT_EQ(eye->direction, Vector3(1, 0, 0));
    PlacePlayer(eye->position.x, 64.0f, eye->position.z + 16.0f);
    eye->Wander();
    EXPECT_NE(eye->direction, Vector3(1, 0, 0));
}

TEST_F(MonsterTest, AMonsterOnAnElevatorRidesItAliveAndDead)
{
    Build();
    Elevator* elevator = FindElevator(4);
    ASSERT_NE(elevator, nullptr);
    PlacePlayer(200.0f, 0.0f, 64.0f);
    PlaceMonster(*nom, 304.0f, 0.0f, 64.0f);
    ASSERT_EQ(nom->sector->id, 4);

    elevator->MoveUp();
    Step(20);
    EXPECT_GT(nom->sector->floorTopY, 0.0f);
    EXPECT_FLOAT_EQ(nom->position.y, nom->sector->floorTopY + 8.0f);
    EXPECT_FLOAT_EQ(nom->box.min.y, nom->sector->floorTopY);

    // A corpse lies on the floor, a quarter of the living height.
    nom->Kill();
    Step(20);
    const float floor = nom->sector->floorTopY;
    EXPECT_FLOAT_EQ(nom->position.y, floor + 8.0f);
    EXPECT_FLOAT_EQ(nom->box.min.y, floor - 1.0f); // floor + 1 - 2
    EXPECT_FLOAT_EQ(nom->box.max.y, floor + 3.0f);
}

} // namespace
} // namespace mirefell::testing
