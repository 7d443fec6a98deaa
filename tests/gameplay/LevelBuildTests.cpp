// Building a level from map data: what each sector gives, the update
// order, teleport destinations, the level statistics and skipped random
// pickups, the player's start, and an entity outside every sector.
#include <gtest/gtest.h>

#include "gameplay/Door.h"
#include "gameplay/Elevator.h"
#include "gameplay/FirstPersonController.h"
#include "gameplay/GameSaveManager.h"
#include "gameplay/Player.h"
#include "gameplay/Powerup.h"
#include "support/GameplayFixture.h"
#include "support/WorldFixture.h"
#include "world/Concrete.h"
#include "world/LightSource.h"

namespace mirefell::testing
{
namespace
{

class LevelBuild : public GameplayTest
{
protected:
    void SetUp() override
    {
        GameplayTest::SetUp();
        map = LoadTestMap();
    }
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
    MapData map;
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

TEST_F(LevelBuild, TeleportDestinationsAreTheSendingSectorsCentreAtItsFloor)
{
    map.sectors[0].teleportInID = 5;
    map.sectors[4].teleportOutID = 5; // the ledge, 320..448 x 0..128, floor 64
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
