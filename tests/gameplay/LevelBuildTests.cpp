// Building a level from map data: what each sector gives, the update
// order, teleport destinations, the level statistics and skipped random
// pickups, the player's start, and an entity outside every sector.
#include <map>

#include <gtest/gtest.h>

#include "gameplay/Door.h"
#include "gameplay/Elevator.h"
#include "gameplay/FirstPersonController.h"
#include "gameplay/GameSaveManager.h"
#include "gameplay/Player.h"
#include "gameplay/Powerup.h"
#include "platform/GameError.h"
#include "render/Mesh.h"
#include "render/PointLight.h"
#include "render/PointLights.h"
#include "support/GameplayFixture.h"
#include "support/WorldFixture.h"
#include "world/Concrete.h"
#include "world/LightSource.h"

namespace mirefell::testing
{
namespace
{

class LevelBuild : public TestMapTest
{
protected:
    // One letter per object in update order: f floor, c ceiling, D door,
    // E elevator, w wall, p pickup, l light, P player.
    std::string Order() const
    {
        std::string order;
        for (const auto& object : world->objects) {
            if (auto* piece = dynamic_cast<Concrete*>(object.get()))
                order += piece->segment ? 'w'
                                        : (piece->mapSector && object->vertices.size() &&
                                                   object->vertices.front().y == piece->mapSector->floorTopY
                                               ? 'f'
                                               : 'c');
            else if (dynamic_cast<Door*>(object.get()))
                order += 'D';
            else if (dynamic_cast<Elevator*>(object.get()))
                order += 'E';
            else if (dynamic_cast<Powerup*>(object.get()))
                order += 'p';
            else if (dynamic_cast<LightSource*>(object.get()))
                order += 'l';
            else if (dynamic_cast<Player*>(object.get()))
                order += 'P';
        }
        return order;
    }
};

TEST_F(LevelBuild, SectorsSegmentsEntitiesLightsAndThePlayerComeInOrder)
{
    BuildLevel(map);
    // Sectors: room (f c), door (f D), hall (f c), elevator (c E), ledge
    // (f c), red door (f D), closet (f c); 35 plain walls (the switch
    // segment is no wall); seven pickups (the two monsters have no object);
    // four lights; the player.
    const std::string expected = "fcfDfccEfcfDfc" + std::string(35, 'w') + "ppppppp" + "llll" + "P";
    EXPECT_EQ(Order(), expected);
    EXPECT_EQ(world->objects.back().get(), player);

    // The door sector points at its door, which starts closed.
    const MapSector& doorSector = *world->map.sectorsById.at(2);
    ASSERT_NE(doorSector.doorObject, nullptr);
    EXPECT_EQ(doorSector.doorObject->GetState(), DoorStateClosed);
    EXPECT_EQ(doorSector.doorOpen, 0);

    // The player stands on the start room's floor, facing -Z.
    EXPECT_FLOAT_EQ(player->position.x, 32.0f);
    EXPECT_FLOAT_EQ(player->position.z, 32.0f - 0.0001f);
    EXPECT_FLOAT_EQ(player->position.y, 7.03f);
    EXPECT_FLOAT_EQ(player->controller->yaw, 270.0f);
    EXPECT_EQ(player->vertices.size(), 36u);
    EXPECT_EQ(player->inventory.GetAmmo(AmmoType::Shells), 6); // one pack at the start
}

TEST_F(LevelBuild, CountsItemsAndMonstersAndSkipsRandomPickupsAlreadyTaken)
{
    GameSave& save = GameSaveManager::GetInstance().current;
    save.levels[save.levelId].pickedUpItemIds[4] = true; // the random pickup "P"
    BuildLevel(map);
    // Medkit, two ammo packs and the armour shard; keys, the exit and the
    // random pickup do not count.
    EXPECT_EQ(world->itemCount, 4);
    EXPECT_EQ(world->monsterCount, 2);
    // Every random-pickup record counts towards the save's total, taken or not.
    EXPECT_EQ(save.levels[save.levelId].itemCount, 1u);
    for (const auto& object : world->objects) {
        if (auto* pickup = dynamic_cast<Powerup*>(object.get())) {
            EXPECT_NE(pickup->record->id, 4);
        }
    }
}

TEST_F(LevelBuild, EveryPickupIsAnInstanceOfItsMeshsBatchWithItsDebugBox)
{
    BuildLevel(map);
    std::map<int32_t, Powerup*> pickups;
    for (const auto& object : world->objects)
        if (auto* pickup = dynamic_cast<Powerup*>(object.get()))
            pickups[pickup->record->id] = pickup;
    ASSERT_EQ(pickups.size(), 7u);

    // The two ammo packs (ids 2 and 9) share one batch, instances 0 and 1.
    Powerup& ammo = *pickups.at(2);
    ASSERT_NE(ammo.instanceBatch, nullptr);
    EXPECT_EQ(ammo.instanceBatch->name, "ammo");
    EXPECT_EQ(ammo.instanceBatch->textureName, "ammo");
    EXPECT_EQ(ammo.instanceBatch->effectId, EffectIdInstancedTexture);
    EXPECT_EQ(pickups.at(9)->instanceBatch, ammo.instanceBatch);
    EXPECT_EQ(ammo.instanceIndex, 0u);
    EXPECT_EQ(pickups.at(9)->instanceIndex, 1u);
    EXPECT_EQ(pickups.at(8)->instanceBatch->name, "win_thing");
    EXPECT_EQ(pickups.at(6)->instanceBatch->name, "redkey");

    // The instance stands on the pickup (the record's point plus (4, 3, 4)),
    // scaled to 0.4, its box the pickup's; all batches hang under root.
    const MeshInstance& drawn = ammo.instanceBatch->instances[ammo.instanceIndex];
    EXPECT_EQ(ammo.position, Vector3(100, 3, 100));
    EXPECT_EQ(drawn.position, ammo.position);
    EXPECT_EQ(drawn.scale, Vector3(0.4f));
    EXPECT_EQ(drawn.bounds, ammo.BoxFloats());
    EXPECT_EQ(ammo.instanceBatch->parent->parent, &root);

    // The debug box: a white colour cube at the pickup, under debugRoot.
    ASSERT_NE(ammo.sceneNode, nullptr);
    EXPECT_EQ(ammo.sceneNode->parent, &debugRoot);
    EXPECT_EQ(ammo.sceneNode->effectId, EffectIdColor);
    EXPECT_EQ(ammo.sceneNode->position, ammo.position);
    EXPECT_EQ(ammo.sceneNode->scale, Vector3(10));
}

TEST_F(LevelBuild, ARandomPickupIsItsLootAndStaysTakenOnceCollected)
{
    GameSave& save = GameSaveManager::GetInstance().current;
    save.lootSeed = 12345; // list A: nightmare, boots, bloodlust, ...
    map.entities[3].lootTableId = 3;
    BuildLevel(map);
    Powerup* random = FindPickup(4);
    ASSERT_NE(random, nullptr);
    // The first random pickup takes list A's second entry.
    EXPECT_EQ(random->GetType(), PowerupType::Boots);
    EXPECT_EQ(random->instanceBatch->name, "boots");

    player->PickUpPowerup(random);
    EXPECT_TRUE(player->HasArtifact(Player::ArtifactBoots));
    EXPECT_TRUE(save.levels[save.levelId].pickedUpItemIds.contains(4));

    BuildLevel(map);
    for (const auto& object : world->objects)
        if (auto* pickup = dynamic_cast<Powerup*>(object.get())) {
            EXPECT_NE(pickup->record->id, 4) << "a collected random pickup is not placed again";
        }
    EXPECT_EQ(world->randomPickupCount, 1u);
}

TEST_F(LevelBuild, TheLevelExitGlowsRedUntilItIsTaken)
{
    BuildLevel(map);
    Powerup* exit = nullptr;
    for (const auto& object : world->objects)
        if (auto* pickup = dynamic_cast<Powerup*>(object.get()); pickup && pickup->GetType() == PowerupType::LevelExit)
            exit = pickup;
    ASSERT_NE(exit, nullptr);
    ASSERT_NE(exit->exitLight, nullptr);
    const PointLight* light = exit->exitLight;
    EXPECT_TRUE(light->enabled && light->drawFirst && light->shaderFlag);
    EXPECT_FALSE(light->remove);
    EXPECT_EQ(light->colour, Color(1, 0, 0, 1));
    EXPECT_FLOAT_EQ(light->range, 96.0f);
    EXPECT_EQ(light->position, exit->position);

    PointLights& lights = PointLights::GetInstance();
    const size_t count = lights.lights.size();
    lights.Update();
    EXPECT_EQ(lights.lights.size(), count) << "the light keeps itself";
    exit->Remove();
    lights.Update();
    EXPECT_EQ(lights.lights.size(), count - 1) << "and goes with its pickup";
}

TEST_F(LevelBuild, ARandomPickupWithoutLootEndsTheLoadNamingIt)
{
    map.entities[3].lootTableId = 0;
    try {
        BuildLevel(map);
        FAIL() << "the build went on";
    } catch (const GameError& error) {
        EXPECT_EQ(error.Describe(), "invalid map - pickup has no mesh (entity 4, loot table 0)");
    }
}

TEST_F(LevelBuild, TeleportDestinationsAreTheSendingSectorsCentreAtItsFloor)
{
    map.sectors[0].teleportInID = 5;
    map.sectors[4].teleportOutID = 5; // the ledge, 320..448 x 0..128, floor 64
    map.sectors[6].teleportOutID = 5; // a later one: the first in the map wins
    map.sectors[2].teleportInID = 6;  // nothing sends to 6
    BuildLevel(map);
    ASSERT_EQ(world->teleportDestinations.size(), 1u);
    EXPECT_EQ(world->teleportDestinations.at(5), Vector3(384, 64, 64));
}

TEST_F(LevelBuild, AnEntityOutsideEverySectorEndsTheLoad)
{
    map.entities[0].pos = {-500, -500};
    map.ComputeBounds();
    EXPECT_THROW(
        {
            try {
                BuildLevel(map);
            } catch (const std::exception& error) {
                EXPECT_STREQ(error.what(), World::EntityWithoutSector);
                throw;
            }
        },
        std::exception);
}

} // namespace
} // namespace mirefell::testing
